#include "cleanup/FormRegistryCleanup.h"

#include <string>
#include <tuple>

#include "sysaccess/EnvironmentProbes.h"

namespace cleanup {
namespace {

constexpr const wchar_t* kFormsKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";

}  // namespace

void CleanFormRegistry(sysaccess::SystemAccess& sys, std::wstring_view formName) {
  // An empty name is the forms key's default value, and as a key path it
  // would be the forms key itself: every form of the machine.
  if (formName.empty()) return;
  auto& registry = sys.os().registry;
  auto forms = registry.OpenKey(os::RootKey::LocalMachine, kFormsKey, os::regaccess::kAllAccess);
  if (forms.ok()) std::ignore = forms.value->DeleteValue(formName);
  forms.value.reset();

  if (!sys.IsVistaOrLater()) return;
  // A backslash would make the name a path to some other key below the
  // forms key; no form can have such a key of its own.
  if (formName.find(L'\\') != std::wstring_view::npos) return;
  std::ignore = registry.DeleteTree(os::RootKey::LocalMachine, std::wstring(kFormsKey) + L"\\" + std::wstring(formName));
}

}  // namespace cleanup
