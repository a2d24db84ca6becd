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
      : state_(state), inner_(std::move(inner)), access_(access), label_(std::move(label)) {
    if (state_.planning()) canonical_ = state_.CanonicalKey(label_);
  }

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

  Result<RegistryValue> QueryValue(std::wstring_view name) override {
    if (state_.planning()) {
      if (Gone()) return Result<RegistryValue>::Fail(error::kKeyDeleted);
      if (state_.ValueGone(canonical_, name)) return Result<RegistryValue>::Fail(error::kFileNotFound);
    }
    return inner_->QueryValue(name);
  }

  Result<std::wstring> EnumKey(std::uint32_t index, std::uint32_t maxChars) override {
    if (!state_.planning() || state_.goneKeys.empty()) return inner_->EnumKey(index, maxChars);
    if (Gone()) return Result<std::wstring>::Fail(error::kKeyDeleted);
    // The index counts the sub-keys still there, as it would after the
    // deletions. Nothing real changes during a plan, so the list is read
    // once and filtered again only after a new planned deletion.
    if (keysSeen_ != state_.goneKeys.size()) {
      if (const Status s = Visible(keys_, [&](std::uint32_t i) { return inner_->EnumKey(i, kLongestName); },
                                   [&](const std::wstring& n) { return state_.KeyGone(canonical_ + L"\\" + base::Upcase(n)); })) {
        return Result<std::wstring>::Fail(s);
      }
      keysSeen_ = state_.goneKeys.size();
    }
    return At(keys_, index, maxChars);
  }

  Result<std::wstring> EnumValue(std::uint32_t index, std::uint32_t maxChars) override {
    if (!state_.planning()) return inner_->EnumValue(index, maxChars);
    if (Gone()) return Result<std::wstring>::Fail(error::kKeyDeleted);
    if (state_.goneValues.empty()) return inner_->EnumValue(index, maxChars);
    if (valuesSeen_ != state_.goneValues.size()) {
      if (const Status s = Visible(values_, [&](std::uint32_t i) { return inner_->EnumValue(i, kLongestName); },
                                   [&](const std::wstring& n) { return state_.ValueGone(canonical_, n); })) {
        return Result<std::wstring>::Fail(s);
      }
      valuesSeen_ = state_.goneValues.size();
    }
    return At(values_, index, maxChars);
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
      status = QueryValue(name).status;
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
  bool Gone() const { return state_.KeyGone(canonical_); }

  // Every name the real key lists, without those the plan has removed.
  template <class Enumerate, class Removed>
  static Status Visible(std::vector<std::wstring>& out, Enumerate enumerate, Removed removed) {
    out.clear();
    for (std::uint32_t i = 0;; ++i) {
      auto n = enumerate(i);
      if (n.status == error::kNoMoreItems) return error::kSuccess;
      if (!n.ok()) return n.status;
      if (!removed(n.value)) out.push_back(std::move(n.value));
    }
  }
  static Result<std::wstring> At(const std::vector<std::wstring>& names, std::uint32_t index, std::uint32_t maxChars) {
    if (index >= names.size()) return Result<std::wstring>::Fail(error::kNoMoreItems);
    if (names[index].size() + 1 > maxChars) return Result<std::wstring>::Fail(error::kMoreData);
    return Result<std::wstring>::Ok(names[index]);
  }

  PlanState& state_;
  std::unique_ptr<RegistryKey> inner_;
  std::uint32_t access_;
  std::wstring label_;
  std::wstring canonical_;  // planning only
  std::vector<std::wstring> keys_, values_;
  std::size_t keysSeen_ = static_cast<std::size_t>(-1), valuesSeen_ = static_cast<std::size_t>(-1);
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
