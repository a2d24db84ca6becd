// The entry point of a program built on CWinApp. A dialog program runs its
// dialog inside InitInstance and answers FALSE; none of ours asks for an
// application message loop afterwards, so the process ends here either way.
#include <windows.h>

#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  app->InitInstance();
  return app->ExitInstance();
}
