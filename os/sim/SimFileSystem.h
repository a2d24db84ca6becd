#pragma once
// The simulated file system: drives of folders and files with
// case-insensitive, case-preserving names, listed in upper-cased name order
// as NTFS lists them, each with the 8.3 short name NTFS would give it. Paths
// are normalised as Win32 does it (trailing dots and blanks dropped), and an
// entry answers to its short name as well as its long one. A read-only file
// refuses deletion, a folder that is not empty refuses removal, an open
// (locked) file refuses deletion with a sharing violation.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "os/Files.h"
#include "os/sim/Gate.h"

namespace os::sim {

struct SimEntry {
  std::wstring name;
  std::wstring shortName;  // upper-cased; empty when the name is a valid 8.3 name itself
  std::weak_ptr<SimEntry> parent;
  bool folder = false;
  std::uint32_t attributes = 0;  // without the directory bit; folders report it
  bool locked = false;
  std::string content;  // bytes of a file
  std::map<std::wstring, std::shared_ptr<SimEntry>> children;  // by upper-cased name
};

class SimFileSystem final : public Files {
 public:
  explicit SimFileSystem(Gate& gate);

  // os::Files
  Result<std::vector<FileEntry>> Find(std::wstring_view pattern) override;
  Result<std::uint32_t> GetAttributes(std::wstring_view path) override;
  Status SetAttributes(std::wstring_view path, std::uint32_t attributes) override;
  Status Delete(std::wstring_view path) override;
  Status RemoveFolder(std::wstring_view path) override;
  Result<std::unique_ptr<TextFile>> OpenText(std::wstring_view path, std::wstring_view mode) override;

  // Model access.
  void AddFolder(std::wstring_view path, std::uint32_t attributes = 0);
  void AddFile(std::wstring_view path, std::uint32_t attributes = attr::kArchive, std::string content = {},
               bool locked = false);
  bool Exists(std::wstring_view path) const;
  std::shared_ptr<SimEntry> Lookup(std::wstring_view path) const;
  void SetCurrentDirectory(std::wstring path) { currentDirectory_ = std::move(path); }
  const std::wstring& currentDirectory() const { return currentDirectory_; }
  int openTextFiles() const { return *openTextFiles_; }
  // Every entry below the drive roots, depth first, with its full path.
  void ForEach(const std::function<void(const std::wstring& fullPath, const SimEntry& entry)>& visit) const;

  // The absolute form of a path as Win32 would make it (current directory,
  // "." and ".." resolved); empty when it names no drive.
  std::wstring FullPath(std::wstring_view path) const;

 private:
  std::shared_ptr<SimEntry> Resolve(std::wstring_view fullPath, bool createFolders, Status& status) const;
  std::shared_ptr<SimEntry> Drive(wchar_t letter, bool create) const;
  // A child by its long name or, failing that, by its short name.
  static std::shared_ptr<SimEntry> Child(const SimEntry& folder, std::wstring_view name);
  // Puts a new entry into a folder, with the short name it gets there.
  static void Attach(const std::shared_ptr<SimEntry>& folder, const std::shared_ptr<SimEntry>& child);

  Gate& gate_;
  mutable std::map<wchar_t, std::shared_ptr<SimEntry>> drives_;
  std::wstring currentDirectory_ = L"C:\\";
  std::shared_ptr<int> openTextFiles_ = std::make_shared<int>(0);
};

}  // namespace os::sim
