#include "app/TessalyApp.h"

#include <windows.h>
#include <commctrl.h>

#include "framework/ModuleTexts.h"
#include "framework/ResourceModule.h"
#include "os/win32/Win32System.h"
#include "sysaccess/SystemAccess.h"
#include "ui/TessalyDlg.h"

// The one application object, constructed before the entry point runs.
CTessalyApp theApp;

CTessalyApp::CTessalyApp() : CWinApp(nullptr) {}

BOOL CTessalyApp::InitInstance() {
  // Before anything loads a library by name: an elevated process must not
  // take a DLL from whatever folder it was started in.
  AfxRemoveCurrentFolderFromDllSearch();
  // dwSize 8, the structure's size: the list box, buttons and statics of
  // the dialog are among the Windows 95 classes.
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  CWinApp::InitInstance();
  // The language file lives on drive E:, which on many workstations is an
  // optical drive: without this, an empty one would stop the start with a
  // "no disk" box instead of failing the open quietly.
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS);
  // No ActiveX control is hosted, so there is no control container to
  // enable; the vendor key only names where profile values would go.
  SetRegistryKey(L"NVL");

  os::System system = os::win32::MakeSystem();
  return app::RunStartUp(system, *this);
}

bool CTessalyApp::LoadAndInstall(const std::wstring& path) {
  // Never freed: the module is the resource source until the process ends.
  HINSTANCE module = AfxLoadResourceModule(path.c_str());
  if (!module) return false;
  AfxSetResourceHandle(module);
  return true;
}

void CTessalyApp::RunMainDialog() {
  sysaccess::SystemAccess sys(os::win32::MakeSystem());
  CModuleTexts texts;
  CTessalyDlg dialog(sys, texts);
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
}
