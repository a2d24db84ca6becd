#include "cleanup/GlobalRegistrySweep.h"

#include <array>
#include <string>
#include <vector>
#include <tuple>

#include "base/WideText.h"
#include "cleanup/TargetNames.h"

namespace cleanup {
namespace {

// The one account whose hive the sweep enters by name besides the default
// user's and LocalSystem's. Its machine part (21-0-0-0) is one that no real
// Windows installation assigns: those are random per machine or domain. So on
// a customer's machine these steps can never reach an unrelated account,
// while in a Wine prefix, whose default user this is, they are provable.
constexpr const wchar_t* kFixedAccountSid = L"S-1-5-21-0-0-0-1000";

// Each name is read into 259 characters and a terminator; a longer name ends
// the enumeration.
constexpr std::uint32_t kNameBufferChars = 260;

enum class SweepRoot { CurrentUser, LocalMachine, Users, FixedAccountHive };

enum class SweepKind {
  NamedValue,  // one value of the key
  KeyTree,     // the key with everything below it
  AllValues,   // every value of the key; the key stays
  AllSubKeys,  // every sub-key tree of the key; the key stays
};

struct SweepStep {
  SweepRoot root;
  const wchar_t* path;
  SweepKind kind;
  const wchar_t* valueName = nullptr;  // for NamedValue
};

constexpr auto kSweepSteps = std::to_array<SweepStep>({
    {SweepRoot::CurrentUser, L"Printers\\Settings\\Wizard", SweepKind::NamedValue, L"Driver Name"},
    {SweepRoot::LocalMachine, L"System\\CurrentControlSet\\Control\\Print\\Watermark", SweepKind::KeyTree},
    {SweepRoot::LocalMachine, L"System\\ControlSet001\\Control\\Print\\Watermark", SweepKind::KeyTree},
    {SweepRoot::LocalMachine, L"System\\ControlSet002\\Control\\Print\\Watermark", SweepKind::KeyTree},
    {SweepRoot::LocalMachine, L"System\\ControlSet003\\Control\\Print\\Watermark", SweepKind::KeyTree},
    {SweepRoot::LocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Setup", SweepKind::NamedValue,
     L"Installation Sources"},
    {SweepRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\INF",
     SweepKind::KeyTree},
    {SweepRoot::FixedAccountHive, L"Printers\\DevModes2", SweepKind::KeyTree},
    {SweepRoot::FixedAccountHive, L"Printers\\DevModePerUser", SweepKind::KeyTree},
    {SweepRoot::FixedAccountHive, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg\\INF",
     SweepKind::KeyTree},
    {SweepRoot::LocalMachine, L"SOFTWARE\\PPML\\PostScript", SweepKind::AllValues},
    {SweepRoot::Users, L".Default\\Printers\\Settings\\Printers", SweepKind::AllSubKeys},
    {SweepRoot::Users, L"S-1-5-18\\Printers\\Settings\\Printers", SweepKind::AllSubKeys},
    {SweepRoot::FixedAccountHive, L"Printers\\Settings\\Printers", SweepKind::AllSubKeys},
    {SweepRoot::CurrentUser, L"Printers\\Settings\\Printers", SweepKind::AllSubKeys},
    {SweepRoot::CurrentUser, L"Printers\\DevModes2", SweepKind::AllValues},
    {SweepRoot::CurrentUser, L"Printers\\DevModePerUser", SweepKind::AllValues},
    {SweepRoot::Users, L".DEFAULT\\Printers\\DevModes2", SweepKind::AllValues},
    {SweepRoot::Users, L".DEFAULT\\Printers\\DevModePerUser", SweepKind::AllValues},
    {SweepRoot::LocalMachine,
     L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side Rendering Print "
     L"Provider\\Servers",
     SweepKind::AllSubKeys},
    {SweepRoot::LocalMachine,
     L"System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3",
     SweepKind::AllSubKeys},
    {SweepRoot::LocalMachine,
     L"System\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3",
     SweepKind::AllSubKeys},
    {SweepRoot::LocalMachine,
     L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers",
     SweepKind::AllSubKeys},
});

os::RootKey RootOf(SweepRoot root) {
  switch (root) {
    case SweepRoot::CurrentUser: return os::RootKey::CurrentUser;
    case SweepRoot::LocalMachine: return os::RootKey::LocalMachine;
    case SweepRoot::Users:
    case SweepRoot::FixedAccountHive: return os::RootKey::Users;
  }
  return os::RootKey::LocalMachine;
}

std::wstring PathOf(const SweepStep& step) {
  if (step.root == SweepRoot::FixedAccountHive) return base::FormatText(L"%s\\%s", {kFixedAccountSid, step.path});
  return step.path;
}

// The names an enumeration gives from index 0 until its first failure.
template <class Enumerate>
std::vector<std::wstring> NamesUntilFailure(Enumerate enumerate) {
  std::vector<std::wstring> names;
  for (std::uint32_t index = 0;; ++index) {
    auto name = enumerate(index);
    if (!name.ok()) return names;
    names.push_back(std::move(name.value));
  }
}

}  // namespace

void DeleteAllSubKeys(std::unique_ptr<os::RegistryKey> key) {
  if (!key) return;
  // Every name first: deleting while enumerating shifts the indexes and
  // skips every other key.
  const auto names = NamesUntilFailure([&](std::uint32_t index) { return key->EnumKey(index, kNameBufferChars); });
  for (const auto& subKey : names) {
    // SHDeleteKeyW with an empty sub-key empties the open key itself; no
    // real sub-key has an empty name, so such a report is not one to act on.
    if (!NamesKeyBelow(subKey)) continue;
    std::ignore = key->DeleteTree(subKey);
  }
  key.reset();
}

void DeleteAllValues(sysaccess::SystemAccess& sys, os::RootKey root, std::wstring_view path) {
  auto& registry = sys.os().registry;
  auto key = registry.OpenKey(root, path, os::regaccess::kAllAccess);
  if (!key.ok()) return;
  const auto names =
      NamesUntilFailure([&](std::uint32_t index) { return key.value->EnumValue(index, kNameBufferChars); });
  // The empty name is the default value, deleted like the others.
  for (const auto& valueName : names) {
    auto again = registry.OpenKey(root, path, os::regaccess::kAllAccess);
    if (again.ok()) std::ignore = again.value->DeleteValue(valueName);
  }
}

void SweepPrintRegistry(sysaccess::SystemAccess& sys) {
  auto& registry = sys.os().registry;
  for (const auto& step : kSweepSteps) {
    const os::RootKey root = RootOf(step.root);
    const std::wstring path = PathOf(step);
    switch (step.kind) {
      case SweepKind::NamedValue: {
        auto key = registry.OpenKey(root, path, os::regaccess::kAllAccess);
        if (key.ok()) std::ignore = key.value->DeleteValue(step.valueName);
        break;
      }
      case SweepKind::KeyTree: std::ignore = registry.DeleteTree(root, path); break;
      case SweepKind::AllValues: DeleteAllValues(sys, root, path); break;
      case SweepKind::AllSubKeys: {
        auto key = registry.OpenKey(root, path, os::regaccess::kAllAccess);
        if (key.ok()) DeleteAllSubKeys(std::move(key.value));
        break;
      }
    }
  }
}

}  // namespace cleanup
