#pragma once
// CWinApp: the one application object, a global constructed before the
// entry point runs. The entry point hands the process to InitInstance; a
// dialog program runs its dialog there and returns FALSE, so there is no
// application message loop.
#include <string>

#include <windows.h>

class CWnd;

class CWinApp {
 public:
  explicit CWinApp(LPCWSTR appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance();
  // The process's exit code.
  virtual int ExitInstance();

  // Names the vendor key under HKEY_CURRENT_USER\Software where profile
  // settings would be kept; nothing is written by naming it.
  void SetRegistryKey(LPCWSTR vendor);
  const std::wstring& RegistryKey() const { return m_registryKey; }

  LPCWSTR m_pszAppName;
  CWnd* m_pMainWnd = nullptr;

 private:
  std::wstring m_registryKey;
};

CWinApp* AfxGetApp();
