#pragma once
// The application object: everything happens in InitInstance, which runs
// the main dialog and answers FALSE, so the process ends when the dialog
// does.
#include <string>

#include "app/StartUp.h"
#include "framework/WinApp.h"

class CTessalyApp : public CWinApp, private app::StartUpShell {
 public:
  CTessalyApp();
  BOOL InitInstance() override;
  int ExitInstance() override;

 private:
  bool LoadAndInstall(const std::wstring& path) override;
  void RunMainDialog() override;

  int m_exitCode = 0;
};
