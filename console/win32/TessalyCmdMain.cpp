// TessalyCmd.exe: the Windows side of the console program. Everything it
// decides lives in console/ (tested natively); this file only reaches the
// command line, the console, the clock and the machine's name.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "console/CommandLine.h"
#include "console/Report.h"
#include "os/win32/Win32System.h"

namespace {

// Written as it goes, so a deployment tool that streams the output sees a
// long run's progress.
class StandardStreams final : public console::Output {
 public:
  void Line(const std::wstring& text) override { Write(STD_OUTPUT_HANDLE, text); }
  void Error(const std::wstring& text) override { Write(STD_ERROR_HANDLE, text); }

 private:
  static void Write(DWORD which, const std::wstring& text) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    std::wstring lines;
    for (wchar_t c : text) {
      if (c == L'\n') lines += L'\r';
      lines += c;
    }
    lines += L"\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
      // A console shows every script this way, whatever its code page.
      WriteConsoleW(handle, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
      return;
    }
    // Redirected to a file or a pipe: UTF-8, which log collectors read (a
    // lone surrogate of a name as U+FFFD, as in the report).
    const std::string bytes = console::JsonText(lines);
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
};

std::string UtcNow() {
  SYSTEMTIME t{};
  GetSystemTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  return text;
}

std::wstring MachineName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &size) ? std::wstring(name, size) : std::wstring();
}

void RemoveCurrentFolderFromDllSearch() {
  // Looked up at run time: Windows 2000 and XP before SP1 lack it. An
  // elevated process must not take a DLL from the folder it was started in.
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto setDllDirectory =
      kernel ? reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryW")))
             : nullptr;
  if (setDllDirectory) setDllDirectory(L"");
}

}  // namespace

int main() {
  RemoveCurrentFolderFromDllSearch();
  // No "insert a disk" box for an empty drive, nor any other system box:
  // nobody is there to answer it.
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; argv && i < count; ++i) arguments.emplace_back(argv[i]);
  if (argv) LocalFree(argv);

  StandardStreams out;
  os::System system = os::win32::MakeSystem();
  console::Host host{TESSALY_VERSION, MachineName(), UtcNow};
  return console::RunCommandLine(arguments, system, out, host);
}
