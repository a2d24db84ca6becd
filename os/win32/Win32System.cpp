#include "os/win32/Win32System.h"

#include "os/win32/ScopedHandle.h"
#include "os/win32/StructuredExceptions.h"

namespace os::win32 {
namespace {

class Win32Clock final : public Clock {
 public:
  std::uint32_t TickCount() override { return GetTickCount(); }
  void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

class Win32Prompts final : public Prompts {
 public:
  int Show(WindowId owner, std::wstring_view text, std::wstring_view caption, std::uint32_t style) override {
    // A box without owner is the worker thread's: nothing ties it to the
    // dialog, whose thread holds the foreground, so it could open behind
    // the dialog and leave the user a greyed-out window and nothing to
    // answer. MB_SETFOREGROUND makes the box call SetForegroundWindow for
    // itself; a background thread may, because the right belongs to the
    // foreground process, not to one of its threads. When the user has
    // gone to another program meanwhile, Windows flashes the box's taskbar
    // button instead, as it should. Not MB_TOPMOST: that would keep the box
    // above every program's windows, and above the About window the dialog
    // may still open, until it is answered.
    if (owner == 0) style |= MB_SETFOREGROUND;
    return MessageBoxW(reinterpret_cast<HWND>(owner), std::wstring(text).c_str(), std::wstring(caption).c_str(), style);
  }
};

class Win32Faults final : public Faults {
 public:
  void InstallTranslatorOnThisThread() override { win32::InstallTranslatorOnThisThread(); }
};

}  // namespace

Clock& TheClock() {
  static Win32Clock clock;
  return clock;
}

Prompts& ThePrompts() {
  static Win32Prompts prompts;
  return prompts;
}

Faults& TheFaults() {
  static Win32Faults faults;
  return faults;
}

System MakeSystem() {
  return System{TheRegistry(), TheSpooler(), TheServices(), TheFiles(), TheProcesses(),
                TheEnvironment(), TheClock(), ThePrompts(), TheFaults()};
}

}  // namespace os::win32
