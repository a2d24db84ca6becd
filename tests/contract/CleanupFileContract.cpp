// The file cleanups on seeded files, on the simulated machine and on Wine's
// C: drive: marks are cleared before a deletion, folders are never deleted
// recursively, and what does not match stays.
#include <algorithm>

#include "cleanup/FileCleanup.h"
#include "tests/contract/ContractMachine.h"

namespace contract {
namespace {

// The user's Temp folder of these cases: a folder of our own, so nothing of
// the prefix's real Temp folder is touched.
constexpr const char* kOwnUserTemp = R"({"registry": {"HKEY_CURRENT_USER\\Environment": {
  "Temp": "C:\\Tessaly Cleanup\\User Temp"}}, "files": {"C:\\Tessaly Cleanup\\User Temp": {"folder": true}}})";
const std::wstring kUserTemp = L"C:\\Tessaly Cleanup\\User Temp";

class CleanupFiles : public Contract {
 protected:
  bool Exists(const std::wstring& path) { return sys().files.Find(path).ok(); }
  std::wstring DriverDirectory(const wchar_t* architecture) {
    return sys().environment.SystemDirectory() + L"\\spool\\drivers\\" + architecture;
  }
};

TEST_F(CleanupFiles, MatchingFilesGoWhateverTheirMarksAndAFileHeldOpenDoesNotStopTheSearch) {
  machine().Seed(R"({"files": {
    "C:\\Tessaly Cleanup\\Match\\a.tmp": {"attributes": ["readonly", "hidden", "system", "archive"]},
    "C:\\Tessaly Cleanup\\Match\\b.tmp": {"locked": true},
    "C:\\Tessaly Cleanup\\Match\\c.tmp": {"attributes": ["readonly"]},
    "C:\\Tessaly Cleanup\\Match\\keep.dat": {},
    "C:\\Tessaly Cleanup\\Match\\sub.tmp\\inner.tmp": {}}})");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::DeleteMatchingFiles(sys, L"C:\\Tessaly Cleanup\\Match\\*.tmp");
  EXPECT_FALSE(Exists(L"C:\\Tessaly Cleanup\\Match\\a.tmp"));
  EXPECT_TRUE(Exists(L"C:\\Tessaly Cleanup\\Match\\b.tmp")) << "held open by another process";
  EXPECT_FALSE(Exists(L"C:\\Tessaly Cleanup\\Match\\c.tmp")) << "after the file that could not go";
  EXPECT_TRUE(Exists(L"C:\\Tessaly Cleanup\\Match\\keep.dat"));
  EXPECT_TRUE(Exists(L"C:\\Tessaly Cleanup\\Match\\sub.tmp\\inner.tmp")) << "a matching folder keeps its contents";
}

TEST_F(CleanupFiles, AConnectionsTempFilesGoFromBothTempFoldersAndALocalPrintersStay) {
  machine().Seed(kOwnUserTemp);
  machine().Seed(R"({"files": {
    "C:\\Tessaly Cleanup\\User Temp\\,,tessaly-srv,Tessaly Cleanup lp.tmp": {"attributes": ["readonly"]},
    "C:\\Tessaly Cleanup\\User Temp\\,,tessaly-srv,Tessaly Cleanup lp2.tmp": {},
    "C:\\Tessaly Cleanup\\User Temp\\Tessaly Cleanup Local.tmp": {},
    "C:\\Windows\\Temp\\,,tessaly-srv,Tessaly Cleanup lp.tmp": {},
    "C:\\Windows\\Temp\\Tessaly Cleanup Local.tmp": {}}})");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::CleanPrinterTempFiles(sys, L"Tessaly Cleanup Local", L"");
  cleanup::CleanPrinterTempFiles(sys, L"\\\\tessaly-srv\\Tessaly Cleanup lp", L"\\\\tessaly-srv");
  EXPECT_FALSE(Exists(kUserTemp + L"\\,,tessaly-srv,Tessaly Cleanup lp.tmp"));
  EXPECT_FALSE(Exists(L"C:\\Windows\\Temp\\,,tessaly-srv,Tessaly Cleanup lp.tmp"));
  EXPECT_TRUE(Exists(kUserTemp + L"\\,,tessaly-srv,Tessaly Cleanup lp2.tmp"));
  EXPECT_TRUE(Exists(kUserTemp + L"\\Tessaly Cleanup Local.tmp"));
  EXPECT_TRUE(Exists(L"C:\\Windows\\Temp\\Tessaly Cleanup Local.tmp"));
}

TEST_F(CleanupFiles, ADriversWatermarksTempFilesAndHardwareFoldersGoButNotTheirSubFolders) {
  machine().Seed(kOwnUserTemp);
  machine().Seed(R"({"files": {
    "C:\\Tessaly Cleanup\\User Temp\\TESSALYCLEANUP.wmk": {"attributes": ["readonly", "hidden"]},
    "C:\\Tessaly Cleanup\\User Temp\\TESSALYCLEANUP2.wmk": {},
    "C:\\Tessaly Cleanup\\User Temp\\Tessaly Cleanup DS.tmp": {},
    "C:\\Tessaly Cleanup\\User Temp\\,,Tessaly Cleanup DS.tmp": {},
    "C:\\Windows\\Temp\\TESSALYCLEANUP.wmk": {"attributes": ["readonly"]},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\Tessaly Cleanup HW\\a.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\Tessaly Cleanup HW\\nested\\b.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\Tessaly Cleanup HW\\a.dll": {"attributes": ["readonly"]},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\Tessaly Cleanup HW\\a.ini": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\Tessaly Cleanup HW2\\a.dll": {}}})");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::CleanDriverFiles(sys, L"Tessaly Cleanup HW", L"TESSALYCLEANUP", L"Tessaly Cleanup DS");
  EXPECT_FALSE(Exists(kUserTemp + L"\\TESSALYCLEANUP.wmk")) << "a read-only watermark is deleted";
  EXPECT_FALSE(Exists(L"C:\\Windows\\Temp\\TESSALYCLEANUP.wmk"));
  EXPECT_FALSE(Exists(kUserTemp + L"\\Tessaly Cleanup DS.tmp"));
  EXPECT_FALSE(Exists(kUserTemp + L"\\,,Tessaly Cleanup DS.tmp"));
  EXPECT_TRUE(Exists(kUserTemp + L"\\TESSALYCLEANUP2.wmk"));

  const std::wstring x86 = DriverDirectory(L"w32x86") + L"\\Tessaly Cleanup HW";
  EXPECT_FALSE(Exists(x86 + L"\\a.dll"));
  EXPECT_TRUE(Exists(x86 + L"\\nested\\b.dll")) << "a sub-folder and its files stay";
  EXPECT_TRUE(Exists(x86));
  EXPECT_FALSE(Exists(DriverDirectory(L"x64") + L"\\Tessaly Cleanup HW")) << "a folder of only files goes";
  EXPECT_TRUE(Exists(DriverDirectory(L"x64") + L"\\Tessaly Cleanup HW2\\a.dll"));
}

TEST_F(CleanupFiles, TheDeleteAllSweepTakesLooseDriverFilesAndTheCompanionDataButNoVersionFolder) {
  SKIP_UNLESS_DISPOSABLE();
  machine().Seed(kOwnUserTemp);
  machine().Seed(R"({"files": {
    "C:\\Tessaly Cleanup\\User Temp\\NVUserAuth": {},
    "C:\\Tessaly Cleanup\\User Temp\\Quellix\\jobs.dat": {"attributes": ["readonly"]},
    "C:\\Tessaly Cleanup\\User Temp\\Quellix\\state.ini": {},
    "C:\\Tessaly Cleanup\\User Temp\\Tessaly Cleanup.tmp": {},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\tessaly-cleanup-loose.dll": {"attributes": ["readonly"]},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\tessaly-cleanup.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\tessaly-cleanup-loose.ppd": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\sub\\tessaly-cleanup.dll": {}}})");
  const std::wstring x86 = DriverDirectory(L"w32x86"), x64 = DriverDirectory(L"x64");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::SweepDriverFiles(sys);
  EXPECT_FALSE(Exists(x86 + L"\\tessaly-cleanup-loose.dll"));
  EXPECT_FALSE(Exists(x64 + L"\\tessaly-cleanup-loose.ppd"));
  EXPECT_TRUE(Exists(x86 + L"\\3\\tessaly-cleanup.dll")) << "a version folder matches the sweep's * and stays whole";
  EXPECT_TRUE(Exists(x64 + L"\\3\\sub\\tessaly-cleanup.dll"));
  EXPECT_FALSE(Exists(kUserTemp + L"\\NVUserAuth"));
  EXPECT_FALSE(Exists(kUserTemp + L"\\Quellix")) << "a companion folder of only files goes";
  EXPECT_TRUE(Exists(kUserTemp + L"\\Tessaly Cleanup.tmp"));
}

// How FindFirstFileW matches, which the cleanups must not be caught out by:
// a trailing dot of the pattern is dropped. Windows also takes "<", ">" and
// '"' as wildcards and matches 8.3 names, which Wine does not: the simulated
// machine's own tests (WildcardTest, ShortNameTest) hold those, and the
// target guard's tests show no cleanup reaches a file through them.
class FileSearch : public CleanupFiles {
 protected:
  std::vector<std::wstring> Names(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    auto found = sys().files.Find(L"C:\\Tessaly Search\\" + pattern);
    if (found.ok()) {
      for (const auto& e : found.value) names.push_back(e.name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void SeedFolder() {
    machine().Seed(R"({"files": {
      "C:\\Tessaly Search\\Lab 2.tmp": {}, "C:\\Tessaly Search\\Lab 22.tmp": {},
      "C:\\Tessaly Search\\report.wmk": {}}})");
  }
  using Names_ = std::vector<std::wstring>;
};

TEST_F(FileSearch, ATrailingDotOfThePatternIsDropped) {
  SeedFolder();
  EXPECT_EQ(Names(L"report.wmk."), Names_{L"report.wmk"});
  EXPECT_EQ(Names(L"Lab ?.tmp"), Names_{L"Lab 2.tmp"});
}

}  // namespace
}  // namespace contract
