#include "framework/WinApp.h"

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(LPCWSTR appName) : m_pszAppName(appName) { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetRegistryKey(LPCWSTR vendor) {
  std::wstring application = m_pszAppName ? m_pszAppName : L"";
  if (application.empty()) {
    // Without a name, the executable's base name, as the key would be.
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    application = path;
    application = application.substr(application.find_last_of(L'\\') + 1);
    application = application.substr(0, application.rfind(L'.'));
  }
  m_registryKey = std::wstring(L"Software\\") + vendor + L"\\" + application;
}

CWinApp* AfxGetApp() { return g_app; }
