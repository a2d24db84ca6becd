// The 32-bit program on a 64-bit Windows: it hands the run to the 64-bit
// program of its package, or refuses; it never goes on itself.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/NativeHandoff.h"

namespace app {
namespace {

class FakeSystem final : public HandoffPort {
 public:
  bool RunsUnderWow64() override { return wow64; }
  std::wstring ModulePath() override { return self; }
  bool FileExists(const std::wstring& path) override { return files.count(path) > 0; }
  std::optional<std::uint32_t> RunAndWait(const std::wstring& program, const std::wstring& arguments) override {
    started.push_back(program + L" | " + arguments);
    return startFails ? std::nullopt : std::optional<std::uint32_t>(exitCode);
  }
  void ShowError(const std::wstring& text, const std::wstring& caption) override {
    messages.push_back(caption + L": " + text);
  }

  bool wow64 = true;
  std::wstring self = L"C:\\Tools\\Tessaly-3.3.0.21\\x86\\Tessaly.exe";
  std::set<std::wstring> files;
  bool startFails = false;
  std::uint32_t exitCode = 0;
  std::vector<std::wstring> started, messages;
};

const std::wstring kNative = L"C:\\Tools\\Tessaly-3.3.0.21\\x64\\Tessaly.exe";
const std::wstring kRefusal = std::wstring(L"Error: ") + kWow64RefusalText;

TEST(NativeHandoffTest, UnderWow64TheX64ProgramRunsWithTheSameArgumentsAndItsExitCodeIsPassedOn) {
  FakeSystem system;
  system.files = {kNative};
  system.exitCode = 7;
  EXPECT_EQ(HandOffToNativeProgram(system, L"\"C:\\Tools\\Tessaly-3.3.0.21\\x86\\Tessaly.exe\"  /a \"b c\""), 7u);
  EXPECT_EQ(system.started, std::vector<std::wstring>{kNative + L" | /a \"b c\""});
  EXPECT_TRUE(system.messages.empty());
}

TEST(NativeHandoffTest, UnderWow64WithoutARunnableX64ProgramItRefusesAndStartsNothingElse) {
  // None beside it; one that does not start; the program itself in a folder
  // named x64 (it would start itself for ever); a program in a root folder.
  struct Case {
    const wchar_t* self;
    bool nativePresent, startFails;
    std::size_t startsTried;
  };
  for (const Case& c : {Case{L"C:\\Tools\\Tessaly-3.3.0.21\\x86\\Tessaly.exe", false, false, 0},
                        Case{L"C:\\Tools\\Tessaly-3.3.0.21\\x86\\Tessaly.exe", true, true, 1},
                        Case{L"C:\\Tools\\Tessaly-3.3.0.21\\X64\\TESSALY.EXE", true, false, 0},
                        Case{L"C:\\Tessaly.exe", true, false, 0}}) {
    SCOPED_TRACE(c.self);
    FakeSystem system;
    system.self = c.self;
    if (c.nativePresent) system.files = {kNative, L"C:\\Tools\\Tessaly-3.3.0.21\\x64\\TESSALY.EXE", L"x64\\Tessaly.exe"};
    system.startFails = c.startFails;
    EXPECT_EQ(HandOffToNativeProgram(system, L"Tessaly.exe"), kRefusedExitCode);
    EXPECT_EQ(system.started.size(), c.startsTried);
    EXPECT_EQ(system.messages, std::vector<std::wstring>{kRefusal});
  }
}

TEST(NativeHandoffTest, TheArgumentsAreWhatFollowsTheProgramsNameAsWindowsSplitsIt) {
  EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\Tessaly\\Tessaly.exe\" /quiet"), L"/quiet");
  EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\Tessaly\\Tessaly.exe\""), L"");
  EXPECT_EQ(ArgumentsOf(L"Tessaly.exe\t a  b "), L"a  b ");
  EXPECT_EQ(ArgumentsOf(L"Tessaly.exe"), L"");
  EXPECT_EQ(ArgumentsOf(L"\"unterminated name"), L"");
  EXPECT_EQ(ArgumentsOf(L""), L"");
}

}  // namespace
}  // namespace app
