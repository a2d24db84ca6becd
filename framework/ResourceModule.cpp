#include "framework/ResourceModule.h"

#include <atomic>

namespace {

// Set once on the main thread before the dialog exists, read by the worker
// thread when it loads a text.
std::atomic<HINSTANCE> g_resourceModule{nullptr};

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
