// The registry with its deletions recorded, or in Plan mode only recorded.
#include "os/record/RecordingAreas.h"

#include "base/WideText.h"

namespace os::record {
namespace {

constexpr std::uint32_t kLongestName = 16384;  // a key name's limit on Windows, terminator included
constexpr std::uint32_t kSetValue = 0x0002;      // KEY_SET_VALUE

using KeyResult = Result<std::unique_ptr<RegistryKey>>;

class RecordingKey final : public RegistryKey {
 public:
  RecordingKey(PlanState& state, std::unique_ptr<RegistryKey> inner, std::uint32_t access, std::wstring label)
      : state_(state), inner_(std::move(inner)), access_(access), label_(std::move(label)) {}

  KeyResult OpenSubKey(std::wstring_view path, std::uint32_t access) override {
    const std::wstring label = label_ + L"\\" + std::wstring(path);
    if (state_.planning()) {
      if (Gone()) return KeyResult::Fail(error::kKeyDeleted);
      if (state_.KeyGone(state_.CanonicalKey(label))) return KeyResult::Fail(error::kFileNotFound);
    }
    auto opened = inner_->OpenSubKey(path, access);
    if (!opened.ok()) return opened;
    return KeyResult::Ok(std::make_unique<RecordingKey>(state_, std::move(opened.value), access, label));
  }

  Status QueryValue(std::wstring_view name, RegistryValue& out) override {
    if (state_.planning()) {
      if (Gone()) return error::kKeyDeleted;
      if (state_.ValueGone(Canonical(), name)) return error::kFileNotFound;
    }
    return inner_->QueryValue(name, out);
  }

  Status EnumKey(std::uint32_t index, std::wstring& name, std::uint32_t maxChars) override {
    if (!state_.planning() || state_.goneKeys.empty()) return inner_->EnumKey(index, name, maxChars);
    if (Gone()) return error::kKeyDeleted;
    // The index counts the sub-keys still there, as it would after the deletions.
    std::uint32_t visible = 0;
    std::wstring sub;
    for (std::uint32_t i = 0;; ++i) {
      const Status s = inner_->EnumKey(i, sub, kLongestName);
      if (s != error::kSuccess) return s;
      if (state_.KeyGone(state_.CanonicalKey(label_ + L"\\" + sub))) continue;
      if (visible++ < index) continue;
      if (sub.size() + 1 > maxChars) return error::kMoreData;
      name = sub;
      return error::kSuccess;
    }
  }

  Status EnumValue(std::uint32_t index, std::wstring& name, std::uint32_t maxChars) override {
    if (!state_.planning()) return inner_->EnumValue(index, name, maxChars);
    if (Gone()) return error::kKeyDeleted;
    if (state_.goneValues.empty()) return inner_->EnumValue(index, name, maxChars);
    const std::wstring canonical = Canonical();
    std::uint32_t visible = 0;
    std::wstring value;
    for (std::uint32_t i = 0;; ++i) {
      const Status s = inner_->EnumValue(i, value, kLongestName);
      if (s != error::kSuccess) return s;
      if (state_.ValueGone(canonical, value)) continue;
      if (visible++ < index) continue;
      if (value.size() + 1 > maxChars) return error::kMoreData;
      name = value;
      return error::kSuccess;
    }
  }

  Status DeleteValue(std::wstring_view name) override {
    const std::wstring target = label_ + L":" + std::wstring(name);
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_->DeleteValue(name);
    } else if (Gone()) {
      status = error::kKeyDeleted;
    } else if (!(access_ & kSetValue)) {
      status = error::kAccessDenied;
    } else {
      RegistryValue ignored;
      status = QueryValue(name, ignored);
      if (status == error::kSuccess) state_.RemoveValue(label_, name);
    }
    state_.Record(L"registry.DeleteValue", target, status);
    return status;
  }

  Status DeleteTree(std::wstring_view subKey) override {
    const std::wstring label = label_ + L"\\" + std::wstring(subKey);
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_->DeleteTree(subKey);
    } else if (Gone()) {
      status = error::kKeyDeleted;
    } else {
      status = PlanTreeDeletion(state_, label, [&] { return inner_->OpenSubKey(subKey, regaccess::kRead).status; });
    }
    state_.Record(L"registry.DeleteTree", label, status);
    return status;
  }

 private:
  std::wstring Canonical() { return state_.CanonicalKey(label_); }
  bool Gone() { return state_.KeyGone(Canonical()); }

  PlanState& state_;
  std::unique_ptr<RegistryKey> inner_;
  std::uint32_t access_;
  std::wstring label_;
};

class RecordingRegistry final : public Registry {
 public:
  explicit RecordingRegistry(PlanState& state) : state_(state) {}

  KeyResult OpenKey(RootKey root, std::wstring_view path, std::uint32_t access) override {
    const std::wstring label = std::wstring(RootKeyName(root)) + L"\\" + std::wstring(path);
    if (state_.planning() && state_.KeyGone(state_.CanonicalKey(label))) return KeyResult::Fail(error::kFileNotFound);
    auto opened = state_.inner.registry.OpenKey(root, path, access);
    if (!opened.ok()) return opened;
    return KeyResult::Ok(std::make_unique<RecordingKey>(state_, std::move(opened.value), access, label));
  }

  Status DeleteTree(RootKey root, std::wstring_view path) override {
    const std::wstring label = std::wstring(RootKeyName(root)) + L"\\" + std::wstring(path);
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = state_.inner.registry.DeleteTree(root, path);
    } else {
      status = PlanTreeDeletion(state_, label,
                                [&] { return state_.inner.registry.OpenKey(root, path, regaccess::kRead).status; });
    }
    state_.Record(L"registry.DeleteTree", label, status);
    return status;
  }

 private:
  PlanState& state_;
};

}  // namespace

Status PlanTreeDeletion(PlanState& state, const std::wstring& label, const std::function<Status()>& openStatus) {
  const std::wstring canonical = state.CanonicalKey(label);
  if (state.KeyGone(canonical)) return error::kFileNotFound;
  const Status opened = openStatus();
  if (opened != error::kSuccess) return opened;
  state.goneKeys.insert(canonical);
  return error::kSuccess;
}

std::unique_ptr<Registry> MakeRecordingRegistry(PlanState& state) { return std::make_unique<RecordingRegistry>(state); }

}  // namespace os::record
