#include "cleanup/FileCleanup.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <tuple>

#include "base/WideText.h"
#include "cleanup/TargetNames.h"
#include "sysaccess/EnvironmentProbes.h"

namespace cleanup {
namespace {

std::array<std::wstring, 2> TempFolders(sysaccess::SystemAccess& sys) {
  return {sysaccess::GetUserTempFolder(sys), sysaccess::GetWindowsTempFolder(sys)};
}

constexpr std::array<const wchar_t*, 2> kArchitectureFolders = {L"w32x86", L"x64"};

// Folders the spooler itself keeps in an architecture folder: the installed
// drivers of each version ("0" to "4" so far: any number), colour profiles,
// the package compatibility data ("PCC"), the staging folders of a driver
// upgrade ("New", "Old") and the GUID-named folders of an installation in
// progress. A hardware id that ends in one of these names is not a folder of
// its own driver.
bool IsSpoolerOwnFolder(std::wstring_view name) {
  if (std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) return true;
  if (name.front() == L'{') return true;
  for (const wchar_t* own : {L"PCC", L"Color", L"New", L"Old"}) {
    if (base::EqualsIgnoreCase(name, own)) return true;
  }
  return false;
}

// An entry's attributes as a directory search for its path reports them (for
// a pattern: those of the first match). A search, not GetFileAttributesW,
// because a pattern ending in wildcards "exists" when anything matches.
std::optional<std::uint32_t> ReadStatus(sysaccess::SystemAccess& sys, std::wstring_view path) {
  auto found = sys.os().files.Find(path);
  if (!found.ok() || found.value.empty()) return std::nullopt;
  return found.value.front().attributes;
}

bool Exists(sysaccess::SystemAccess& sys, std::wstring_view path) { return ReadStatus(sys, path).has_value(); }

bool IsFolder(sysaccess::SystemAccess& sys, std::wstring_view path) {
  const auto attributes = ReadStatus(sys, path);
  return attributes && (*attributes & os::attr::kDirectory);
}

// "<parent>\<name>" is a folder whose long name is name: a path component
// also answers to an 8.3 short name, so "HWLONG~1" could be the folder of
// another driver altogether.
bool IsFolderNamed(sysaccess::SystemAccess& sys, std::wstring_view path, std::wstring_view name) {
  auto found = sys.os().files.Find(path);
  return found.ok() && found.value.size() == 1 && base::EqualsIgnoreCase(found.value.front().name, name) &&
         (found.value.front().attributes & os::attr::kDirectory);
}

// The folder part of a pattern, as the search reports its matches' paths.
std::wstring_view FolderOf(std::wstring_view pattern) {
  const auto sep = pattern.rfind(L'\\');
  return sep == std::wstring_view::npos ? std::wstring_view() : pattern.substr(0, sep);
}

// "<folder>\<name>\*" less its last two characters: the folder whose files
// the pattern named.
std::wstring_view WithoutWildcardTail(std::wstring_view pattern) { return pattern.substr(0, pattern.size() - 2); }

void RemoveFolderIfPresent(sysaccess::SystemAccess& sys, std::wstring_view folder) {
  // RemoveDirectoryW refuses a folder that still holds anything, which is what
  // keeps this from ever going deeper than the files just deleted.
  if (Exists(sys, folder)) std::ignore = sys.os().files.RemoveFolder(folder);
}

}  // namespace

void DeleteMatchingFiles(sysaccess::SystemAccess& sys, std::wstring_view pattern) {
  auto& files = sys.os().files;
  auto found = files.Find(pattern);
  if (!found.ok()) return;
  const std::wstring_view folder = FolderOf(pattern);
  const std::wstring_view intended = folder.empty() ? pattern : pattern.substr(folder.size() + 1);
  for (const auto& entry : found.value) {
    if (entry.name == L"." || entry.name == L"..") continue;
    // The search also matched 8.3 short names and DOS wildcards; only what
    // the step names by its long name goes, through a path that reaches it.
    if (!MatchesIntendedPattern(intended, entry.name) || !IsAddressableName(entry.name)) continue;
    // A folder that matched is neither deleted nor unmarked: the spooler's
    // own folders keep their hidden, system and read-only marks.
    if (entry.attributes & os::attr::kDirectory) continue;
    const std::wstring path = folder.empty() ? entry.name : base::FormatText(L"%s\\%s", {folder, entry.name});
    if (!ReadStatus(sys, path)) continue;
    // A read-only mark makes DeleteFileW fail. When the mark cannot be
    // cleared (a file another process holds open) the deletion is still
    // tried: the mark may not have been there, and the next entry must not
    // depend on this one.
    std::ignore = files.SetAttributes(path, os::attr::kNormal);
    std::ignore = files.Delete(path);
  }
}

void CleanPrinterTempFiles(sysaccess::SystemAccess& sys, std::wstring_view printerName, std::wstring_view serverName) {
  // Only a connection leaves "<Temp>\,,server,printer.tmp" behind.
  if (serverName.empty()) return;
  std::wstring searchName(printerName);
  for (auto& c : searchName) {
    if (c == L'\\') c = L',';
  }
  if (!IsPlainFileName(searchName)) return;
  for (const auto& temp : TempFolders(sys)) {
    if (!IsKnownFolder(temp) || !IsFolder(sys, temp)) continue;
    DeleteMatchingFiles(sys, base::FormatText(L"%s\\%s.tmp", {temp, searchName}));
  }
}

void CleanDriverFiles(sysaccess::SystemAccess& sys, std::wstring_view pnpFolderName, std::wstring_view dataFileStem,
                      std::wstring_view dsDriverName) {
  const bool stemUsable = IsPlainFileName(dataFileStem);
  const bool dsNameUsable = IsPlainFileName(dsDriverName);
  for (const auto& temp : TempFolders(sys)) {
    if (!IsKnownFolder(temp) || !IsFolder(sys, temp)) continue;
    if (stemUsable) DeleteMatchingFiles(sys, base::FormatText(L"%s\\%s.wmk", {temp, dataFileStem}));
    if (dsNameUsable) {
      DeleteMatchingFiles(sys, base::FormatText(L"%s\\%s.tmp", {temp, dsDriverName}));
      DeleteMatchingFiles(sys, base::FormatText(L"%s\\,,%s.tmp", {temp, dsDriverName}));
    }
  }

  if (!IsPlainFileName(pnpFolderName) || IsSpoolerOwnFolder(pnpFolderName)) return;
  const std::wstring systemDirectory = sys.os().environment.SystemDirectory();
  if (!IsKnownFolder(systemDirectory)) return;
  for (const wchar_t* architecture : kArchitectureFolders) {
    if (!Exists(sys, base::FormatText(L"%s\\spool\\drivers\\%s", {systemDirectory, architecture}))) continue;
    const std::wstring pattern =
        base::FormatText(L"%s\\spool\\drivers\\%s\\%s\\*", {systemDirectory, architecture, pnpFolderName});
    const std::wstring_view folder = WithoutWildcardTail(pattern);
    if (!IsFolderNamed(sys, folder, pnpFolderName)) continue;
    DeleteMatchingFiles(sys, pattern);
    RemoveFolderIfPresent(sys, folder);
  }
}

void SweepDriverFiles(sysaccess::SystemAccess& sys) {
  const std::wstring systemDirectory = sys.os().environment.SystemDirectory();
  if (IsKnownFolder(systemDirectory)) {
    for (const wchar_t* architecture : kArchitectureFolders) {
      const std::wstring folder = base::FormatText(L"%s\\spool\\drivers\\%s", {systemDirectory, architecture});
      // Only the files lying in the folder itself: the version folders below
      // hold the drivers that are still installed.
      if (Exists(sys, folder)) DeleteMatchingFiles(sys, folder + L"\\*");
    }
  }

  // Without a user Temp folder these paths would lead to the root of the
  // current drive.
  const std::wstring temp = sysaccess::GetUserTempFolder(sys);
  if (!IsKnownFolder(temp)) return;

  const std::wstring authFile = temp + L"\\NVUserAuth";
  if (Exists(sys, authFile)) std::ignore = sys.os().files.Delete(authFile);

  const std::wstring companion = temp + L"\\Quellix\\*";
  if (Exists(sys, companion)) {
    DeleteMatchingFiles(sys, companion);
    RemoveFolderIfPresent(sys, WithoutWildcardTail(companion));
  }
}

}  // namespace cleanup
