#include "app/TessalyApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/NativeHandoff.h"

#include "framework/ModuleTexts.h"
#include "framework/ResourceModule.h"
#include "os/win32/Win32System.h"
#include "sysaccess/SystemAccess.h"
#include "ui/TessalyDlg.h"

namespace {

class Win32Handoff final : public app::HandoffPort {
 public:
  bool RunsUnderWow64() override {
    // Looked up: Windows 2000 and XP before SP2 have no IsWow64Process, and
    // none of them runs 32-bit programs on a 64-bit system.
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = reinterpret_cast<IsWow64>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
  }
  std::wstring ModulePath() override {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
  }
  bool FileExists(const std::wstring& path) override {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  std::optional<std::uint32_t> RunAndWait(const std::wstring& program, const std::wstring& arguments) override {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // This process is elevated by its manifest already, so the 64-bit
    // program's request for administrator rights needs no second prompt.
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
      return std::nullopt;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return code;
  }
  void ShowError(const std::wstring& text, const std::wstring& caption) override {
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR);
  }
};

}  // namespace

// The one application object, constructed before the entry point runs.
CTessalyApp theApp;

CTessalyApp::CTessalyApp() : CWinApp(nullptr) {}

BOOL CTessalyApp::InitInstance() {
  // Before anything loads a library by name: an elevated process must not
  // take a DLL from whatever folder it was started in.
  AfxRemoveCurrentFolderFromDllSearch();
  Win32Handoff handoff;
  if (auto exitCode = app::HandOffToNativeProgram(handoff, GetCommandLineW())) {
    m_exitCode = static_cast<int>(*exitCode);
    return FALSE;
  }
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

int CTessalyApp::ExitInstance() { return m_exitCode; }

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
