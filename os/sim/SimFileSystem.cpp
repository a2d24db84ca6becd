#include "os/sim/SimFileSystem.h"

#include <vector>

#include "base/Utf.h"
#include "base/WideText.h"
#include "os/sim/ShortName.h"
#include "os/sim/Wildcard.h"

namespace os::sim {
namespace {

constexpr std::uint32_t kDirectoryError = 267;  // ERROR_DIRECTORY

std::vector<std::wstring> Components(std::wstring_view path) { return base::Split(path, L'\\'); }

std::wstring Parent(const std::wstring& full) {
  const auto sep = full.rfind(L'\\');
  if (sep == std::wstring::npos) return full;
  if (sep == 2) return full.substr(0, 3);  // "C:\"
  return full.substr(0, sep);
}

// Win32 path normalisation: the last component loses its trailing dots and
// blanks, any other component a single trailing dot ("name." is "name").
// A name that ends in either can only be reached through a "\\?\" path.
std::wstring TrimComponent(const std::wstring& part, bool last) {
  if (part == L"." || part == L"..") return part;
  std::wstring out = part;
  if (last) {
    while (!out.empty() && (out.back() == L'.' || out.back() == L' ')) out.pop_back();
  } else if (out.size() >= 2 && out.back() == L'.' && out[out.size() - 2] != L'.') {
    out.pop_back();
  }
  return out;
}

std::wstring LastComponent(const std::wstring& full) {
  const auto sep = full.rfind(L'\\');
  return sep == std::wstring::npos ? full : full.substr(sep + 1);
}

class SimTextFile final : public TextFile {
 public:
  SimTextFile(std::string content, std::shared_ptr<int> openCount)
      : content_(std::move(content)), openCount_(std::move(openCount)) {
    ++*openCount_;
  }
  ~SimTextFile() override { --*openCount_; }

  std::optional<std::wstring> ReadLine(std::size_t maxChars) override {
    if (pos_ >= content_.size() || maxChars < 2) return std::nullopt;
    std::wstring line;
    while (pos_ < content_.size() && line.size() + 1 < maxChars) {
      char c = content_[pos_++];
      // Text mode: a carriage return before a line feed is dropped.
      if (c == '\r' && pos_ < content_.size() && content_[pos_] == '\n') c = content_[pos_++];
      line.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
      if (c == '\n') break;
    }
    return line;
  }

 private:
  std::string content_;
  std::size_t pos_ = 0;
  std::shared_ptr<int> openCount_;
};

}  // namespace

SimFileSystem::SimFileSystem(Gate& gate) : gate_(gate) { Drive(L'C', true); }

std::shared_ptr<SimEntry> SimFileSystem::Drive(wchar_t letter, bool create) const {
  letter = base::UpcaseChar(letter);
  auto it = drives_.find(letter);
  if (it != drives_.end()) return it->second;
  if (!create) return nullptr;
  auto root = std::make_shared<SimEntry>();
  root->name = std::wstring(1, letter) + L":";
  root->folder = true;
  drives_.emplace(letter, root);
  return root;
}

std::wstring SimFileSystem::FullPath(std::wstring_view input) const {
  std::wstring path(input);
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  std::wstring drive;
  std::wstring rest;
  if (path.size() >= 2 && path[1] == L':') {
    drive = path.substr(0, 2);
    rest = path.substr(2);
    if (rest.empty() || rest.front() != L'\\') rest = L"\\" + rest;
  } else if (!path.empty() && path.front() == L'\\') {
    if (path.size() >= 2 && path[1] == L'\\') return {};  // UNC paths are not simulated
    drive = currentDirectory_.substr(0, 2);
    rest = path;
  } else {
    drive = currentDirectory_.substr(0, 2);
    rest = currentDirectory_.substr(2) + L"\\" + path;
  }
  std::vector<std::wstring> out;
  const auto parts = Components(rest);
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::wstring p = TrimComponent(parts[i], i + 1 == parts.size());
    if (p.empty() && !parts[i].empty() && i + 1 == parts.size()) continue;  // "dir\..." names dir
    if (p == L".") continue;
    if (p == L"..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    if (p.empty() && i + 1 != parts.size()) continue;
    out.push_back(p);
  }
  std::wstring full = std::wstring(1, base::UpcaseChar(drive[0])) + L":";
  if (out.empty()) return full + L"\\";
  for (const auto& p : out) full += L"\\" + p;
  return full;  // a trailing separator survives as an empty last component
}

std::shared_ptr<SimEntry> SimFileSystem::Resolve(std::wstring_view fullPath, bool createFolders, Status& status) const {
  if (fullPath.size() < 3) {
    status = error::kPathNotFound;
    return nullptr;
  }
  auto node = Drive(fullPath[0], createFolders);
  if (!node) {
    status = error::kPathNotFound;
    return nullptr;
  }
  const auto parts = Components(fullPath.substr(3));
  for (size_t i = 0; i < parts.size(); ++i) {
    const auto& part = parts[i];
    if (part.empty()) {
      if (i + 1 == parts.size() && node->folder) break;  // "C:\dir\" names the folder
      status = error::kFileNotFound;
      return nullptr;
    }
    if (!node->folder) {
      status = error::kPathNotFound;
      return nullptr;
    }
    auto child = Child(*node, part);
    if (!child) {
      if (!createFolders) {
        status = i + 1 == parts.size() ? error::kFileNotFound : error::kPathNotFound;
        return nullptr;
      }
      child = std::make_shared<SimEntry>();
      child->name = part;
      child->folder = true;
      Attach(node, child);
    }
    node = child;
  }
  status = error::kSuccess;
  return node;
}

std::shared_ptr<SimEntry> SimFileSystem::Child(const SimEntry& folder, std::wstring_view name) {
  const std::wstring upper = base::Upcase(name);
  if (auto it = folder.children.find(upper); it != folder.children.end()) return it->second;
  for (const auto& [_, child] : folder.children) {
    if (!child->shortName.empty() && child->shortName == upper) return child;
  }
  return nullptr;
}

void SimFileSystem::Attach(const std::shared_ptr<SimEntry>& folder, const std::shared_ptr<SimEntry>& child) {
  child->parent = folder;
  child->shortName = MakeShortName(child->name, [&](const std::wstring& candidate) { return Child(*folder, candidate) != nullptr; });
  folder->children[base::Upcase(child->name)] = child;
}

std::shared_ptr<SimEntry> SimFileSystem::Lookup(std::wstring_view path) const {
  Status status = 0;
  return Resolve(FullPath(path), false, status);
}

bool SimFileSystem::Exists(std::wstring_view path) const { return Lookup(path) != nullptr; }

void SimFileSystem::AddFolder(std::wstring_view path, std::uint32_t attributes) {
  Status status = 0;
  if (auto node = Resolve(FullPath(path), true, status)) node->attributes = attributes & ~attr::kDirectory;
}

void SimFileSystem::AddFile(std::wstring_view path, std::uint32_t attributes, std::string content, bool locked) {
  const std::wstring full = FullPath(path);
  Status status = 0;
  auto parent = Resolve(Parent(full), true, status);
  if (!parent || !parent->folder) return;
  const std::wstring name = LastComponent(full);
  auto child = Child(*parent, name);
  if (!child) {
    child = std::make_shared<SimEntry>();
    child->name = name;
    Attach(parent, child);
  }
  child->folder = false;
  child->attributes = attributes & ~attr::kDirectory;
  child->content = std::move(content);
  child->locked = locked;
}

Result<std::vector<FileEntry>> SimFileSystem::Find(std::wstring_view pattern) {
  using R = Result<std::vector<FileEntry>>;
  const std::wstring full = FullPath(pattern);
  if (auto e = gate_.Enter(Op::FilesFind, full)) return R::Fail(*e);
  if (full.empty()) return R::Fail(error::kPathNotFound);
  const std::wstring last = LastComponent(full);
  if (last.empty()) return R::Fail(error::kFileNotFound);
  Status status = 0;
  auto dir = Resolve(Parent(full), false, status);
  if (!dir || !dir->folder) return R::Fail(error::kPathNotFound);

  std::vector<FileEntry> found;
  auto report = [](const SimEntry& e) {
    return FileEntry{e.name, e.folder ? (e.attributes | attr::kDirectory) : (e.attributes ? e.attributes : attr::kNormal)};
  };
  if (!HasWildcards(last)) {
    auto child = Child(*dir, last);
    if (!child) return R::Fail(error::kFileNotFound);
    found.push_back(report(*child));
    return R::Ok(std::move(found));
  }
  const std::wstring expression = ToFileSystemExpression(last);
  const bool isRoot = dir->parent.expired();
  if (!isRoot) {
    for (const wchar_t* dots : {L".", L".."}) {
      if (MatchesExpression(expression, dots)) found.push_back(FileEntry{dots, attr::kDirectory});
    }
  }
  for (const auto& [_, child] : dir->children) {
    if (MatchesExpression(expression, child->name) ||
        (!child->shortName.empty() && MatchesExpression(expression, child->shortName))) {
      found.push_back(report(*child));
    }
  }
  if (found.empty()) return R::Fail(error::kFileNotFound);
  return R::Ok(std::move(found));
}

Result<std::uint32_t> SimFileSystem::GetAttributes(std::wstring_view path) {
  const std::wstring full = FullPath(path);
  if (auto e = gate_.Enter(Op::FilesGetAttributes, full)) return Result<std::uint32_t>::Fail(*e);
  Status status = 0;
  auto node = Resolve(full, false, status);
  if (!node) return Result<std::uint32_t>::Fail(status);
  if (node->folder) return Result<std::uint32_t>::Ok(node->attributes | attr::kDirectory);
  return Result<std::uint32_t>::Ok(node->attributes ? node->attributes : attr::kNormal);
}

Status SimFileSystem::SetAttributes(std::wstring_view path, std::uint32_t attributes) {
  const std::wstring full = FullPath(path);
  Status status = 0;
  if (auto e = gate_.Enter(Op::FilesSetAttributes, full)) {
    status = *e;
  } else if (auto node = Resolve(full, false, status)) {
    node->attributes = attributes & ~(attr::kDirectory | attr::kNormal);
  }
  gate_.RecordEffect(L"files.SetAttributes", full, status);
  return status;
}

Status SimFileSystem::Delete(std::wstring_view path) {
  const std::wstring full = FullPath(path);
  Status status = 0;
  if (auto e = gate_.Enter(Op::FilesDelete, full)) {
    status = *e;
  } else if (auto node = Resolve(full, false, status)) {
    if (node->folder || (node->attributes & attr::kReadOnly)) {
      status = error::kAccessDenied;
    } else if (node->locked) {
      status = error::kSharingViolation;
    } else {
      node->parent.lock()->children.erase(base::Upcase(node->name));
    }
  }
  gate_.RecordEffect(L"files.Delete", full, status);
  return status;
}

Status SimFileSystem::RemoveFolder(std::wstring_view path) {
  const std::wstring full = FullPath(path);
  Status status = 0;
  if (auto e = gate_.Enter(Op::FilesRemoveFolder, full)) {
    status = *e;
  } else if (auto node = Resolve(full, false, status)) {
    auto parent = node->parent.lock();
    if (!node->folder) status = kDirectoryError;
    else if (!parent || (node->attributes & attr::kReadOnly)) status = error::kAccessDenied;
    else if (!node->children.empty()) status = error::kDirNotEmpty;
    else parent->children.erase(base::Upcase(node->name));
  }
  gate_.RecordEffect(L"files.RemoveFolder", full, status);
  return status;
}

Result<std::unique_ptr<TextFile>> SimFileSystem::OpenText(std::wstring_view path, std::wstring_view mode) {
  using R = Result<std::unique_ptr<TextFile>>;
  const std::wstring full = FullPath(path);
  if (auto e = gate_.Enter(Op::FilesOpenText, full)) return R::Fail(*e);
  if (mode.empty() || mode.front() != L'r') return R::Fail(error::kInvalidParameter);
  Status status = 0;
  auto node = Resolve(full, false, status);
  if (!node) return R::Fail(status);
  if (node->folder) return R::Fail(error::kAccessDenied);
  const bool update = mode.find(L'+') != std::wstring_view::npos;
  if (update && ((node->attributes & attr::kReadOnly) || node->locked)) return R::Fail(error::kAccessDenied);
  return R::Ok(std::make_unique<SimTextFile>(node->content, openTextFiles_));
}

void SimFileSystem::ForEach(const std::function<void(const std::wstring&, const SimEntry&)>& visit) const {
  std::function<void(const std::wstring&, const SimEntry&)> walk = [&](const std::wstring& path, const SimEntry& e) {
    for (const auto& [_, child] : e.children) {
      const std::wstring childPath = path + L"\\" + child->name;
      visit(childPath, *child);
      if (child->folder) walk(childPath, *child);
    }
  };
  for (const auto& [letter, root] : drives_) walk(std::wstring(1, letter) + L":", *root);
}

}  // namespace os::sim
