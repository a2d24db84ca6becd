#include <cerrno>
#include <cwchar>
#include <string>
#include <vector>

#include "os/win32/ScopedHandle.h"
#include "os/win32/Win32System.h"

namespace os::win32 {
namespace {

Status FromErrno(int e) {
  switch (e) {
    case ENOENT: return error::kFileNotFound;
    case EACCES: return error::kAccessDenied;
    case EINVAL: return error::kInvalidParameter;
    default: return error::kInvalidHandle;
  }
}

class Win32TextFile final : public TextFile {
 public:
  explicit Win32TextFile(FILE* f) : file_(f) {}
  std::optional<std::wstring> ReadLine(std::size_t maxChars) override {
    std::vector<wchar_t> buffer(maxChars ? maxChars : 1, L'\0');
    if (!std::fgetws(buffer.data(), static_cast<int>(buffer.size()), file_.get())) return std::nullopt;
    return std::wstring(buffer.data());
  }

 private:
  ScopedStdioFile file_;
};

class Win32Files final : public Files {
 public:
  Result<std::vector<FileEntry>> Find(std::wstring_view pattern) override {
    using R = Result<std::vector<FileEntry>>;
    WIN32_FIND_DATAW data{};
    ScopedFind find(FindFirstFileW(std::wstring(pattern).c_str(), &data));
    if (!find) return R::Fail(GetLastError());
    std::vector<FileEntry> entries;
    do {
      entries.push_back(FileEntry{data.cFileName, data.dwFileAttributes});
    } while (FindNextFileW(find.get(), &data));
    return R::Ok(std::move(entries));
  }

  Result<std::uint32_t> GetAttributes(std::wstring_view path) override {
    const DWORD a = GetFileAttributesW(std::wstring(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return Result<std::uint32_t>::Fail(GetLastError());
    return Result<std::uint32_t>::Ok(a);
  }

  Status SetAttributes(std::wstring_view path, std::uint32_t attributes) override {
    return SetFileAttributesW(std::wstring(path).c_str(), attributes) ? error::kSuccess : GetLastError();
  }

  Status Delete(std::wstring_view path) override {
    return DeleteFileW(std::wstring(path).c_str()) ? error::kSuccess : GetLastError();
  }

  Status RemoveFolder(std::wstring_view path) override {
    return RemoveDirectoryW(std::wstring(path).c_str()) ? error::kSuccess : GetLastError();
  }

  Result<std::unique_ptr<TextFile>> OpenText(std::wstring_view path, std::wstring_view mode) override {
    using R = Result<std::unique_ptr<TextFile>>;
    errno = 0;
    FILE* f = _wfopen(std::wstring(path).c_str(), std::wstring(mode).c_str());
    if (!f) return R::Fail(FromErrno(errno));
    return R::Ok(std::make_unique<Win32TextFile>(f));
  }
};

}  // namespace

Files& TheFiles() {
  static Win32Files files;
  return files;
}

}  // namespace os::win32
