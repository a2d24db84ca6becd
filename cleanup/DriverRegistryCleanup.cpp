#include "cleanup/DriverRegistryCleanup.h"

#include <array>
#include <tuple>

#include "base/WideText.h"
#include "cleanup/TargetNames.h"

namespace cleanup {
namespace {

struct DriverTree {
  const wchar_t* environment;
  const wchar_t* version;
};

// The 32-bit trees of both driver versions and the 64-bit tree of version 3;
// there never was a 64-bit version-2 driver.
constexpr auto kDriverTrees = std::to_array<DriverTree>({
    {L"Windows NT x86", L"Version-3"},
    {L"Windows NT x86", L"Version-2"},
    {L"Windows x64", L"Version-3"},
});

// The spooler's own deletion reaches only the current control set; the
// numbered sets are the copies Windows keeps (the last known good
// configuration among them), and they still hold the driver's key.
constexpr std::array<const wchar_t*, 4> kControlSets = {L"CurrentControlSet", L"ControlSet001", L"ControlSet002",
                                                        L"ControlSet003"};

}  // namespace

void CleanDriverRegistry(sysaccess::SystemAccess& sys, std::wstring_view driverName, std::wstring_view dataFileStem) {
  auto& registry = sys.os().registry;
  // An empty (or "\"-ended) name would make each path name the parent key:
  // every driver's settings, job properties or driver key.
  const bool driverUsable = NamesKeyBelow(driverName);

  if (driverUsable) {
    std::ignore = registry.DeleteTree(os::RootKey::Users,
                        base::FormatText(L".DEFAULT\\Printers\\Settings\\Drivers\\%s", {driverName}));
  }
  if (NamesKeyBelow(dataFileStem)) {
    std::ignore = registry.DeleteTree(os::RootKey::CurrentUser,
                        base::FormatText(L"Software\\NVL\\Job Properties\\Driver\\%s", {dataFileStem}));
  }
  if (!driverUsable) return;
  for (const auto& tree : kDriverTrees) {
    for (const wchar_t* controlSet : kControlSets) {
      std::ignore = registry.DeleteTree(os::RootKey::LocalMachine,
                          base::FormatText(L"System\\%s\\Control\\Print\\Environments\\%s\\Drivers\\%s\\%s",
                                           {controlSet, tree.environment, tree.version, driverName}));
    }
  }
}

}  // namespace cleanup
