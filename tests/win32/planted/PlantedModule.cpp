// A DLL with code in it, standing for a planted or damaged language module:
// if anything runs it, it leaves a mark in the process's environment.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableW(L"TESSALY_PLANTED_MODULE_RAN", L"1");
  return TRUE;
}
