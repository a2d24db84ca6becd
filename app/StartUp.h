#pragma once
// The start-up after the framework's own set-up: the privilege check through
// the Service Control Manager, the refusal, the interface language and the
// main dialog. Portable: the Windows application object supplies the two
// things only it can do (install a language module, run the dialog).
#include "app/InterfaceLanguage.h"
#include "os/System.h"

namespace app {

// Fixed text, not a string resource: the refusal reads the same whatever
// the interface language.
inline constexpr wchar_t kRefusalText[] =
    L"You do not have sufficient security privileges to Uninstall Printers. Please contact your site "
    L"administrator, or logout and log in again as an administrator and try again...";
inline constexpr wchar_t kRefusalCaption[] = L"Error";

class StartUpShell : public LanguageModuleInstaller {
 public:
  // Constructs the main dialog, runs it modally and destroys it.
  virtual void RunMainDialog() = 0;
};

// Whether the user may administer services: the service database can be
// locked, or is locked by another process already. A lock taken here is
// released at once.
bool MayAdministerServices(os::Services& services);

// Refuses with a message, or selects the language and runs the dialog.
// Answers what InitInstance answers: false on every path, so the framework
// ends the process without a message loop of its own.
bool RunStartUp(os::System& system, StartUpShell& shell);

}  // namespace app
