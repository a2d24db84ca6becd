#pragma once
// What the Windows tests share: the real registry and files asked directly,
// a real fault inside the spooler, a worker thread that installed the fault
// translator as the deletion worker does, and a fixture that seeds the Wine
// prefix for one case.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <thread>

#include "os/image/MachineImage.h"
#include "os/win32/StructuredExceptions.h"
#include "os/win32/Win32System.h"
#include "tools/seed/Seeder.h"

namespace realsystem {

inline bool RunningOnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

inline bool KeyExists(os::RootKey root, const std::wstring& path) {
  return os::win32::TheRegistry().OpenKey(root, path, os::regaccess::kRead).ok();
}

inline bool ValueExists(os::RootKey root, const std::wstring& path, const std::wstring& name) {
  auto key = os::win32::TheRegistry().OpenKey(root, path, os::regaccess::kRead);
  return key.ok() && key.value->QueryValue(name).ok();
}

inline bool FileExists(const std::wstring& path) { return os::win32::TheFiles().Find(path).ok(); }

// A real fault inside the spooler: it writes the printer list through a
// buffer pointer into nowhere.
inline void EnumPrintersIntoNowhere() {
  DWORD needed = 0, returned = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<BYTE*>(16), 1 << 20, &needed, &returned);
}

inline void FaultInsideTheSpooler() {
  os::win32::CallTranslatingFaults([] { EnumPrintersIntoNowhere(); });
}

template <class F>
void OnWorkerThread(F&& work) {
  std::thread worker([&] {
    os::win32::InstallTranslatorOnThisThread();
    work();
  });
  worker.join();
}

// The prefix is shared by every case: the seeder undoes what it added when
// the case ends, and a failing case lists what was seeded.
class SeededPrefix : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure()) {
      for (const auto& line : seeder_.log()) std::cerr << "seeded " << line << "\n";
    }
  }
  void Seed(const std::string& imageJson) { seeder_.Apply(os::image::ParseMachineImage(imageJson, "seed")); }

 private:
  seed::Seeder seeder_{true};
};

}  // namespace realsystem
