// Files with their deletions and attribute changes recorded, or in Plan mode
// only recorded.
#include "base/WideText.h"
#include "os/record/RecordingAreas.h"

namespace os::record {
namespace {

constexpr Status kDirectoryError = 267;  // ERROR_DIRECTORY: RemoveDirectoryW on a file

std::wstring ParentOf(const std::wstring& canonical) {
  const std::size_t slash = canonical.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : canonical.substr(0, slash);
}

class RecordingFiles final : public Files {
 public:
  explicit RecordingFiles(PlanState& state) : state_(state), inner_(state.inner.files) {}

  Result<std::vector<FileEntry>> Find(std::wstring_view pattern) override {
    using R = Result<std::vector<FileEntry>>;
    if (!state_.planning() || (state_.goneFiles.empty() && state_.attributes.empty())) return inner_.Find(pattern);
    const std::wstring folder = ParentOf(PlanState::CanonicalPath(pattern));
    if (!folder.empty() && state_.FileGone(folder)) return R::Fail(error::kPathNotFound);
    auto found = inner_.Find(pattern);
    if (!found.ok()) return found;
    std::vector<FileEntry> visible;
    for (auto& entry : found.value) {
      if (entry.name != L"." && entry.name != L"..") {
        const std::wstring path = folder + L"\\" + base::Upcase(entry.name);
        if (state_.FileGone(path)) continue;
        if (auto a = state_.attributes.find(path); a != state_.attributes.end()) entry.attributes = Reported(a->second, entry.attributes);
      }
      visible.push_back(std::move(entry));
    }
    if (visible.empty()) return R::Fail(error::kFileNotFound);
    return R::Ok(std::move(visible));
  }

  Result<std::uint32_t> GetAttributes(std::wstring_view path) override {
    if (!state_.planning()) return inner_.GetAttributes(path);
    const std::wstring canonical = PlanState::CanonicalPath(path);
    if (Status gone = GoneStatus(canonical)) return Result<std::uint32_t>::Fail(gone);
    auto real = inner_.GetAttributes(path);
    if (!real.ok()) return real;
    if (auto a = state_.attributes.find(canonical); a != state_.attributes.end()) real.value = Reported(a->second, real.value);
    return real;
  }

  Status SetAttributes(std::wstring_view path, std::uint32_t attributes) override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_.SetAttributes(path, attributes);
    } else {
      auto now = GetAttributes(path);
      status = now.status;
      if (now.ok()) state_.attributes[PlanState::CanonicalPath(path)] = attributes & ~(attr::kDirectory | attr::kNormal);
    }
    state_.Record(L"files.SetAttributes", path, status);
    return status;
  }

  Status Delete(std::wstring_view path) override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_.Delete(path);
    } else {
      auto now = GetAttributes(path);
      status = now.status;
      if (now.ok() && (now.value & (attr::kDirectory | attr::kReadOnly))) status = error::kAccessDenied;
      if (status == error::kSuccess) state_.goneFiles.insert(PlanState::CanonicalPath(path));
    }
    state_.Record(L"files.Delete", path, status);
    return status;
  }

  Status RemoveFolder(std::wstring_view path) override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_.RemoveFolder(path);
    } else {
      auto now = GetAttributes(path);
      status = now.status;
      if (now.ok() && !(now.value & attr::kDirectory)) status = kDirectoryError;
      else if (now.ok() && (now.value & attr::kReadOnly)) status = error::kAccessDenied;
      else if (now.ok() && !IsEmptyFolder(path)) status = error::kDirNotEmpty;
      if (status == error::kSuccess) state_.goneFiles.insert(PlanState::CanonicalPath(path));
    }
    state_.Record(L"files.RemoveFolder", path, status);
    return status;
  }

  Result<std::unique_ptr<TextFile>> OpenText(std::wstring_view path, std::wstring_view mode) override {
    if (state_.planning()) {
      if (Status gone = GoneStatus(PlanState::CanonicalPath(path))) return Result<std::unique_ptr<TextFile>>::Fail(gone);
    }
    return inner_.OpenText(path, mode);
  }

 private:
  // A recorded SetAttributes, as the system reports it: a file with none
  // left is "normal", a folder stays a folder.
  static std::uint32_t Reported(std::uint32_t set, std::uint32_t real) {
    if (real & attr::kDirectory) return set | attr::kDirectory;
    return set ? set : attr::kNormal;
  }

  // 0 when the entry is still there as far as the plan knows.
  Status GoneStatus(const std::wstring& canonical) const {
    // A folder gone above it comes first, as Windows walks the path.
    const std::wstring folder = ParentOf(canonical);
    if (!folder.empty() && state_.FileGone(folder)) return error::kPathNotFound;
    if (state_.goneFiles.count(canonical)) return error::kFileNotFound;
    return error::kSuccess;
  }

  bool IsEmptyFolder(std::wstring_view path) {
    auto inside = Find(std::wstring(path) + L"\\*");
    if (!inside.ok()) return true;
    for (const auto& e : inside.value) {
      if (e.name != L"." && e.name != L"..") return false;
    }
    return true;
  }

  PlanState& state_;
  Files& inner_;
};

}  // namespace

std::unique_ptr<Files> MakeRecordingFiles(PlanState& state) { return std::make_unique<RecordingFiles>(state); }

}  // namespace os::record
