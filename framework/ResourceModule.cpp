#include "framework/ResourceModule.h"

#include <atomic>

#include "base/WideText.h"

namespace {

// Set once on the main thread before the dialog exists, read by the worker
// thread when it loads a text.
std::atomic<HINSTANCE> g_resourceModule{nullptr};

// Not in the headers of every toolchain that builds for Windows XP.
constexpr DWORD kLoadAsImageResource = 0x00000020;  // LOAD_LIBRARY_AS_IMAGE_RESOURCE, Vista and later

}  // namespace

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleW(nullptr); }

HINSTANCE AfxGetResourceHandle() {
  HINSTANCE module = g_resourceModule.load();
  return module ? module : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module) { g_resourceModule.store(module); }

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) {
  HINSTANCE current = AfxGetResourceHandle();
  if (FindResourceW(current, name, type)) return current;
  return AfxGetInstanceHandle();
}

HINSTANCE AfxLoadResourceModule(LPCWSTR fullPath) {
  // A bare or relative name would make LoadLibraryEx search the current
  // folder and PATH, in a process that runs elevated.
  if (!fullPath || !base::IsFullPath(fullPath)) return nullptr;
  // As data, a planted or damaged file cannot run code in this process: no
  // DllMain, no imports resolved. As an image resource too where the system
  // knows the flag (Vista on), so that the resources' image-relative
  // offsets resolve as in a loaded module; Windows XP refuses the flag as an
  // invalid parameter and maps the file as plain data, which the resource
  // functions read as well.
  HMODULE module = LoadLibraryExW(fullPath, nullptr, LOAD_LIBRARY_AS_DATAFILE | kLoadAsImageResource);
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    module = LoadLibraryExW(fullPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  return module;
}

HICON AfxLoadIcon(LPCWSTR name) {
  // A shared icon is cached under its module's file name, which a module
  // mapped as data does not have on Windows: LoadIcon may refuse it there.
  // The executable carries the same icon.
  if (HICON icon = LoadIconW(AfxFindResourceHandle(name, RT_GROUP_ICON), name)) return icon;
  return LoadIconW(AfxGetInstanceHandle(), name);
}

bool AfxRemoveCurrentFolderFromDllSearch() {
  // Looked up at run time: Windows 2000 and XP before SP1 lack it, and an
  // import they lack would stop the program before it starts.
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto setDllDirectory =
      kernel ? reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryW")))
             : nullptr;
  // An empty string, not null: null would restore the current folder.
  return setDllDirectory && setDllDirectory(L"");
}
