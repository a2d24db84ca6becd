#pragma once
// Where resources come from: the executable, or a language module installed
// in its place. A resource that the installed module lacks is looked for in
// the executable.
#include <windows.h>

HINSTANCE AfxGetInstanceHandle();  // the executable
HINSTANCE AfxGetResourceHandle();  // the current resource module
void AfxSetResourceHandle(HINSTANCE module);
// The current resource module if it holds the resource, else the executable.
HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);
