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

// Maps a resource-only module at this full path as data: none of its code
// runs, now or later. Null for anything but a full path ("X:\..." or
// "\\server\..."), or when the file cannot be mapped. Never freed.
HINSTANCE AfxLoadResourceModule(LPCWSTR fullPath);

// An icon of the current resource module, or of the executable.
HICON AfxLoadIcon(LPCWSTR name);

// Takes the current folder out of the search path of every later
// LoadLibrary of the process. False where the system cannot (Windows XP
// before SP1, Windows 2000).
bool AfxRemoveCurrentFolderFromDllSearch();
