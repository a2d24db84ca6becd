#pragma once
// One move-only owner for every kind of Win32 handle: the system's here, the
// drawing ones (GDI objects, device contexts) in ScopedGdi.h. A traits class
// names the handle type, its invalid value (INVALID_HANDLE_VALUE for find
// handles and snapshots, null for the rest) and how it is closed; a handle
// whose closing needs more than the handle (a window's device context needs
// its window) keeps that in its traits object.
#include <windows.h>
#include <winspool.h>
#include <tlhelp32.h>

#include <cstdio>
#include <utility>

namespace os::win32 {

template <class Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle h, Traits traits = Traits{}) : handle_(h), traits_(traits) {}
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()), traits_(other.traits_) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      reset(other.release());
      traits_ = other.traits_;
    }
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() { reset(); }

  Handle get() const { return handle_; }
  bool valid() const { return handle_ != Traits::Invalid(); }
  explicit operator bool() const { return valid(); }
  // The caller owns what this returns: dropping it would leak the handle.
  [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) {
    if (valid()) {
      // A failed call's clean-up closes handles on its way out, and the
      // caller reads GetLastError afterwards: a close that succeeds may
      // still overwrite the error (or fail and set its own).
      const DWORD error = GetLastError();
      traits_.Close(handle_);
      SetLastError(error);
    }
    handle_ = h;
  }
  // For APIs that return the handle through an out parameter.
  Handle* receive() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
  [[no_unique_address]] Traits traits_{};
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};
struct ServiceHandleTraits {
  using Handle = SC_HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseServiceHandle(h); }
};
struct ServiceLockTraits {
  using Handle = SC_LOCK;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { UnlockServiceDatabase(h); }
};
struct PrinterTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ClosePrinter(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};
struct SnapshotTraits {  // CreateToolhelp32Snapshot
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct KernelObjectTraits {  // OpenProcess, CreateFileW for held files, threads
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct StdioFileTraits {
  using Handle = FILE*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { std::fclose(h); }
};

using ScopedRegistryKey = ScopedHandle<RegistryKeyTraits>;
using ScopedServiceHandle = ScopedHandle<ServiceHandleTraits>;
using ScopedServiceLock = ScopedHandle<ServiceLockTraits>;
using ScopedPrinter = ScopedHandle<PrinterTraits>;
using ScopedFind = ScopedHandle<FindTraits>;
using ScopedSnapshot = ScopedHandle<SnapshotTraits>;
using ScopedKernelObject = ScopedHandle<KernelObjectTraits>;
using ScopedStdioFile = ScopedHandle<StdioFileTraits>;

}  // namespace os::win32
