// Folder and version probes: the same cases on the simulated machine and on Wine.
#include "base/WideText.h"
#include "sysaccess/EnvironmentProbes.h"
#include "tests/contract/ContractMachine.h"

namespace contract {
namespace {

using namespace sysaccess;

TEST_F(Contract, WindowsTempIsTheTempFolderOfTheWindowsDirectory) {
  SystemAccess sys(this->sys());
  const std::wstring windows = sys.os().environment.WindowsDirectory();
  ASSERT_FALSE(windows.empty());
  EXPECT_EQ(GetWindowsTempFolder(sys), windows + L"\\Temp");
}

TEST_F(Contract, UserTempExpandsTheProfileVariable) {
  machine().Seed(R"({"registry": {"HKEY_CURRENT_USER\\Environment": {
      "Temp": {"type": "REG_EXPAND_SZ", "data": "%USERPROFILE%\\Tessaly Temp"}}}})");
  SystemAccess sys(this->sys());
  const std::wstring profile = machine().Variable(L"USERPROFILE");
  ASSERT_FALSE(profile.empty());
  EXPECT_EQ(GetUserTempFolder(sys), profile + L"\\Tessaly Temp");
}

TEST_F(Contract, DriverInfPathFollowsTheProcessorArchitecture) {
  const char* infs = R"({"registry": {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Tessaly Inf Probe": {"InfPath": "C:\\inf\\x86.inf"},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Tessaly Inf Probe": {"InfPath": "C:\\inf\\x64.inf"}}})";
  machine().Seed(infs);
  const char* archKey = "HKEY_LOCAL_MACHINE\\\\SYSTEM\\\\CurrentControlSet\\\\Control\\\\Session Manager\\\\Environment";
  SystemAccess sys(this->sys());

  machine().Seed(std::string(R"({"registry": {")") + archKey + R"(": {"PROCESSOR_ARCHITECTURE": "x86"}}})");
  EXPECT_EQ(ReadProcessorArchitecture(sys), L"x86");
  EXPECT_EQ(ReadDriverInfPath(sys, L"Tessaly Inf Probe"), L"C:\\inf\\x86.inf");

  machine().Seed(std::string(R"({"registry": {")") + archKey + R"(": {"PROCESSOR_ARCHITECTURE": "AMD64"}}})");
  EXPECT_EQ(ReadDriverInfPath(sys, L"Tessaly Inf Probe"), L"C:\\inf\\x64.inf");

  // Anything that is not exactly "x86" reads the 64-bit key, even another spelling of it.
  machine().Seed(std::string(R"({"registry": {")") + archKey + R"(": {"PROCESSOR_ARCHITECTURE": "X86"}}})");
  EXPECT_EQ(ReadDriverInfPath(sys, L"Tessaly Inf Probe"), L"C:\\inf\\x64.inf");
  EXPECT_EQ(ReadDriverInfPath(sys, L"Tessaly No Such Driver"), L"");
}

TEST_F(Contract, VersionIsReadOnce) {
  SystemAccess sys(this->sys());
  const auto& first = GetOsVersion(sys);
  EXPECT_GE(first.majorVersion, 5u);
  EXPECT_EQ(&GetOsVersion(sys), &first);
}

}  // namespace
}  // namespace contract
