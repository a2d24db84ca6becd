#include "app/StartUp.h"

namespace app {

bool MayAdministerServices(os::Services& services) {
  auto manager = services.OpenManager(os::svc::kManagerLock);
  if (!manager.ok()) return false;
  // The lock, if taken, goes at the end of this statement, and the
  // manager's handle when the function returns: nothing is held while the
  // dialog runs.
  const os::Status locked = manager.value->LockDatabase().status;
  return locked == os::error::kSuccess || locked == os::error::kServiceDatabaseLocked;
}

bool RunStartUp(os::System& system, StartUpShell& shell) {
  if (!MayAdministerServices(system.services)) {
    system.prompts.Show(0, kRefusalText, kRefusalCaption, os::mb::kIconError);
    return false;
  }
  // Without a module the resources stay those of the executable (English).
  SelectInterfaceLanguage(system.files, system.environment, shell);
  shell.RunMainDialog();
  return false;
}

}  // namespace app
