#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/Status.h"

namespace os {

namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kInvalid = 0xFFFFFFFF;
}  // namespace attr

struct FileEntry {  // one WIN32_FIND_DATAW
  std::wstring name;
  std::uint32_t attributes = 0;
};

// A text file opened with _wfopen. Destroying it closes it.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // fgetws: up to maxChars - 1 characters or through the next line feed,
  // whichever comes first; nothing at the end of the file.
  virtual std::optional<std::wstring> ReadLine(std::size_t maxChars) = 0;
};

class Files {
 public:
  virtual ~Files() = default;
  // FindFirstFileW/FindNextFileW: the entries of one folder that match the
  // last component of the pattern ("." and ".." included when they match), in
  // the order the file system lists them. kFileNotFound when nothing matches.
  virtual Result<std::vector<FileEntry>> Find(std::wstring_view pattern) = 0;
  virtual Result<std::uint32_t> GetAttributes(std::wstring_view path) = 0;
  [[nodiscard]] virtual Status SetAttributes(std::wstring_view path, std::uint32_t attributes) = 0;
  [[nodiscard]] virtual Status Delete(std::wstring_view path) = 0;           // DeleteFileW
  [[nodiscard]] virtual Status RemoveFolder(std::wstring_view path) = 0;     // RemoveDirectoryW
  // _wfopen with a C mode such as "r+t".
  virtual Result<std::unique_ptr<TextFile>> OpenText(std::wstring_view path, std::wstring_view mode) = 0;
};

}  // namespace os
