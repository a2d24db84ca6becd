// Files left behind by printers and drivers: what goes, in which order, and
// what must stay.
#include "cleanup/FileCleanup.h"

#include "tests/cleanup/CleanupScenario.h"

namespace cleanup::testing {
namespace {

using V = std::vector<std::wstring>;

const std::wstring kUserTemp = L"C:\\Users\\Admin\\AppData\\Local\\Temp";
const std::wstring kWindowsTemp = L"C:\\Windows\\Temp";
const std::wstring kDrivers = L"C:\\Windows\\system32\\spool\\drivers";

class FileCleanupTest : public CleanupScenario {};

// ---- DeleteMatchingFiles ---------------------------------------------------

TEST_F(FileCleanupTest, MatchingFilesLoseTheirMarksAndGoWhileMatchingFoldersStayWithTheirContents) {
  Load(R"({"base": "workstation", "files": {
    "C:\\Data\\a.tmp": {"attributes": ["readonly", "hidden", "system", "archive"]},
    "C:\\Data\\b.tmp": {},
    "C:\\Data\\keep.dat": {},
    "C:\\Data\\sub.tmp": {"folder": true},
    "C:\\Data\\sub.tmp\\inner.tmp": {}}})");
  DeleteMatchingFiles(sys(), L"C:\\Data\\*.tmp");
  EXPECT_EQ(Journal(), (V{
                           L"files.SetAttributes C:\\Data\\a.tmp -> 0",
                           L"files.Delete C:\\Data\\a.tmp -> 0",
                           L"files.SetAttributes C:\\Data\\b.tmp -> 0",
                           L"files.Delete C:\\Data\\b.tmp -> 0",
                           L"files.SetAttributes C:\\Data\\sub.tmp -> 0",
                           L"files.Delete C:\\Data\\sub.tmp -> 5",
                       }));
  EXPECT_TRUE(FileExists(L"C:\\Data\\keep.dat"));
  EXPECT_TRUE(FileExists(L"C:\\Data\\sub.tmp\\inner.tmp")) << "no descent into a folder that matched";
}

TEST_F(FileCleanupTest, AnEntryThatCannotBeRewrittenOrReadDoesNotStopTheSearch) {
  Load(R"({"base": "workstation", "files": {
    "C:\\Data\\a.tmp": {},
    "C:\\Data\\b.tmp": {"attributes": ["readonly"]},
    "C:\\Data\\c.tmp": {},
    "C:\\Data\\d.tmp": {},
    "C:\\Data\\e.tmp": {"locked": true},
    "C:\\Data\\f.tmp": {}}})");
  // b keeps its read-only mark, so its deletion fails; c's mark could not be
  // cleared either, but it had none and goes; d's status cannot be read.
  machine().FailWith("Files.SetAttributes", os::error::kAccessDenied, L"C:\\Data\\b.tmp");
  machine().FailWith("Files.SetAttributes", os::error::kSharingViolation, L"C:\\Data\\c.tmp");
  machine().FailWith("Files.Find", os::error::kAccessDenied, L"C:\\Data\\d.tmp");
  DeleteMatchingFiles(sys(), L"C:\\Data\\*.tmp");
  EXPECT_EQ(Journal(), (V{
                           L"files.SetAttributes C:\\Data\\a.tmp -> 0",
                           L"files.Delete C:\\Data\\a.tmp -> 0",
                           L"files.SetAttributes C:\\Data\\b.tmp -> 5",
                           L"files.Delete C:\\Data\\b.tmp -> 5",
                           L"files.SetAttributes C:\\Data\\c.tmp -> 32",
                           L"files.Delete C:\\Data\\c.tmp -> 0",
                           L"files.SetAttributes C:\\Data\\e.tmp -> 0",
                           L"files.Delete C:\\Data\\e.tmp -> 32",
                           L"files.SetAttributes C:\\Data\\f.tmp -> 0",
                           L"files.Delete C:\\Data\\f.tmp -> 0",
                       }));
  EXPECT_TRUE(FileExists(L"C:\\Data\\b.tmp"));
  EXPECT_TRUE(FileExists(L"C:\\Data\\d.tmp"));
  EXPECT_TRUE(FileExists(L"C:\\Data\\e.tmp"));
}

TEST_F(FileCleanupTest, APatternThatMatchesNothingOrNamesNoFolderHasNoEffect) {
  Load(R"({"base": "workstation", "files": {"C:\\Data\\a.dat": {}}})");
  DeleteMatchingFiles(sys(), L"C:\\Data\\*.tmp");
  DeleteMatchingFiles(sys(), L"C:\\NoSuchFolder\\*");
  EXPECT_TRUE(Journal().empty());
}

// ---- CleanPrinterTempFiles -------------------------------------------------

constexpr const char* kTempFiles = R"({"base": "workstation", "files": {
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\,,srv,lp.tmp": {"attributes": ["readonly"]},
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\,,srv,lp2.tmp": {},
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\lp.tmp": {},
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\Office.tmp": {},
  "C:\\Windows\\Temp\\,,srv,lp.tmp": {},
  "C:\\Windows\\Temp\\Office.tmp": {}}})";

TEST_F(FileCleanupTest, ALocalPrinterLeavesTheTempFoldersAlone) {
  Load(kTempFiles);
  CleanPrinterTempFiles(sys(), L"Office", L"");
  EXPECT_TRUE(Journal().empty());
  EXPECT_TRUE(FileExists(kUserTemp + L"\\Office.tmp"));
  EXPECT_TRUE(FileExists(kWindowsTemp + L"\\Office.tmp"));
}

TEST_F(FileCleanupTest, AConnectionsCommaNameGoesFromTheUsersThenTheWindowsTempFolder) {
  Load(kTempFiles);
  CleanPrinterTempFiles(sys(), L"\\\\srv\\lp", L"\\\\srv");
  EXPECT_EQ(Attempts(), (V{
                            L"files.SetAttributes " + kUserTemp + L"\\,,srv,lp.tmp",
                            L"files.Delete " + kUserTemp + L"\\,,srv,lp.tmp",
                            L"files.SetAttributes " + kWindowsTemp + L"\\,,srv,lp.tmp",
                            L"files.Delete " + kWindowsTemp + L"\\,,srv,lp.tmp",
                        }));
  EXPECT_FALSE(FileExists(kUserTemp + L"\\,,srv,lp.tmp")) << "its read-only mark was cleared first";
  EXPECT_FALSE(FileExists(kWindowsTemp + L"\\,,srv,lp.tmp"));
  EXPECT_TRUE(FileExists(kUserTemp + L"\\,,srv,lp2.tmp"));
  EXPECT_TRUE(FileExists(kUserTemp + L"\\lp.tmp"));
}

TEST_F(FileCleanupTest, ATempFolderThatIsMissingOrNoFolderIsSkipped) {
  Load(R"({"base": "workstation",
    "registry": {"HKEY_CURRENT_USER\\Environment": {"TEMP": "C:\\Users\\Admin\\TempFile"}},
    "files": {"C:\\Users\\Admin\\TempFile": {}, "C:\\Windows\\Temp\\,,srv,lp.tmp": {}}})");
  CleanPrinterTempFiles(sys(), L"\\\\srv\\lp", L"\\\\srv");
  EXPECT_EQ(Attempts(), (V{L"files.SetAttributes " + kWindowsTemp + L"\\,,srv,lp.tmp",
                           L"files.Delete " + kWindowsTemp + L"\\,,srv,lp.tmp"}));
}

// ---- CleanDriverFiles ------------------------------------------------------

TEST_F(FileCleanupTest, ADriversWatermarkAndTempFilesGoFromBothTempFoldersInOrder) {
  Load(R"({"base": "workstation", "files": {
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk": {"attributes": ["readonly", "hidden"]},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Laser DS.tmp": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\,,Laser DS.tmp": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER2.wmk": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.tmp": {},
    "C:\\Windows\\Temp\\LASER.wmk": {"attributes": ["readonly"]},
    "C:\\Windows\\Temp\\,,Laser DS.tmp": {}}})");
  CleanDriverFiles(sys(), L"", L"LASER", L"Laser DS");
  EXPECT_EQ(Attempts(), (V{
                            L"files.SetAttributes " + kUserTemp + L"\\LASER.wmk",
                            L"files.Delete " + kUserTemp + L"\\LASER.wmk",
                            L"files.SetAttributes " + kUserTemp + L"\\Laser DS.tmp",
                            L"files.Delete " + kUserTemp + L"\\Laser DS.tmp",
                            L"files.SetAttributes " + kUserTemp + L"\\,,Laser DS.tmp",
                            L"files.Delete " + kUserTemp + L"\\,,Laser DS.tmp",
                            L"files.SetAttributes " + kWindowsTemp + L"\\LASER.wmk",
                            L"files.Delete " + kWindowsTemp + L"\\LASER.wmk",
                            L"files.SetAttributes " + kWindowsTemp + L"\\,,Laser DS.tmp",
                            L"files.Delete " + kWindowsTemp + L"\\,,Laser DS.tmp",
                        }));
  EXPECT_FALSE(FileExists(kUserTemp + L"\\LASER.wmk")) << "a read-only watermark is deleted";
  EXPECT_FALSE(FileExists(kWindowsTemp + L"\\LASER.wmk"));
  EXPECT_TRUE(FileExists(kUserTemp + L"\\LASER2.wmk"));
  EXPECT_TRUE(FileExists(kUserTemp + L"\\LASER.tmp"));
}

TEST_F(FileCleanupTest, AHardwareFolderWithOnlyFilesGoesOneWithASubFolderKeepsItAndStays) {
  Load(R"({"base": "workstation", "files": {
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\HWLASER\\a.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\HWLASER\\nested\\b.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\HWLASER\\a.dll": {"attributes": ["readonly"]},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\HWLASER\\a.ini": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\HWOTHER\\a.dll": {}}})");
  CleanDriverFiles(sys(), L"HWLASER", L"", L"");
  const std::wstring x86 = kDrivers + L"\\w32x86\\HWLASER";
  const std::wstring x64 = kDrivers + L"\\x64\\HWLASER";
  EXPECT_EQ(Journal(), (V{
                           L"files.SetAttributes " + x86 + L"\\a.dll -> 0",
                           L"files.Delete " + x86 + L"\\a.dll -> 0",
                           L"files.SetAttributes " + x86 + L"\\nested -> 0",
                           L"files.Delete " + x86 + L"\\nested -> 5",
                           L"files.RemoveFolder " + x86 + L" -> 145",
                           L"files.SetAttributes " + x64 + L"\\a.dll -> 0",
                           L"files.Delete " + x64 + L"\\a.dll -> 0",
                           L"files.SetAttributes " + x64 + L"\\a.ini -> 0",
                           L"files.Delete " + x64 + L"\\a.ini -> 0",
                           L"files.RemoveFolder " + x64 + L" -> 0",
                       }));
  EXPECT_TRUE(FileExists(x86 + L"\\nested\\b.dll"));
  EXPECT_FALSE(FileExists(x64));
  EXPECT_TRUE(FileExists(kDrivers + L"\\x64\\HWOTHER\\a.dll"));
}

TEST_F(FileCleanupTest, AMissingArchitectureFolderIsSkipped) {
  Load(R"({"base": "xp-workstation", "files": {
    "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\HWLASER\\a.dll": {}}})");
  CleanDriverFiles(sys(), L"HWLASER", L"", L"");
  EXPECT_EQ(Attempts(), (V{
                            L"files.SetAttributes C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\HWLASER\\a.dll",
                            L"files.Delete C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\HWLASER\\a.dll",
                            L"files.RemoveFolder C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\HWLASER",
                        }));
}

TEST_F(FileCleanupTest, AnEmptyHardwareFolderNameTouchesNothingUnderTheDriverDirectory) {
  Load(R"({"base": "workstation", "files": {
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\loose.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\loose.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\HWLASER\\a.dll": {}}})");
  CleanDriverFiles(sys(), L"", L"LASER", L"Laser DS");
  EXPECT_TRUE(EffectsOn(L"spool").empty());
  EXPECT_EQ(machine().gate().calls("Environment.SystemDirectory"), 0u);
  EXPECT_TRUE(FileExists(kDrivers + L"\\w32x86\\loose.dll"));
  EXPECT_TRUE(FileExists(kDrivers + L"\\x64\\loose.dll"));
  EXPECT_TRUE(FileExists(kDrivers + L"\\x64\\HWLASER\\a.dll"));
}

// ---- SweepDriverFiles ------------------------------------------------------

TEST_F(FileCleanupTest, TheSweepTakesLooseDriverFilesAndTheCompanionDataAndLeavesVersionFolders) {
  Load(R"({"base": "workstation", "files": {
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\loose.dll": {"attributes": ["readonly"]},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\driver.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\loose.ppd": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\driver.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\sub\\more.dll": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\NVUserAuth": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Quellix\\jobs.dat": {"attributes": ["readonly"]},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Quellix\\state.ini": {}}})");
  SweepDriverFiles(sys());
  EXPECT_EQ(Attempts(), (V{
                            L"files.SetAttributes " + kDrivers + L"\\w32x86\\3",
                            L"files.Delete " + kDrivers + L"\\w32x86\\3",
                            L"files.SetAttributes " + kDrivers + L"\\w32x86\\loose.dll",
                            L"files.Delete " + kDrivers + L"\\w32x86\\loose.dll",
                            L"files.SetAttributes " + kDrivers + L"\\x64\\3",
                            L"files.Delete " + kDrivers + L"\\x64\\3",
                            L"files.SetAttributes " + kDrivers + L"\\x64\\loose.ppd",
                            L"files.Delete " + kDrivers + L"\\x64\\loose.ppd",
                            L"files.Delete " + kUserTemp + L"\\NVUserAuth",
                            L"files.SetAttributes " + kUserTemp + L"\\Quellix\\jobs.dat",
                            L"files.Delete " + kUserTemp + L"\\Quellix\\jobs.dat",
                            L"files.SetAttributes " + kUserTemp + L"\\Quellix\\state.ini",
                            L"files.Delete " + kUserTemp + L"\\Quellix\\state.ini",
                            L"files.RemoveFolder " + kUserTemp + L"\\Quellix",
                        }));
  EXPECT_FALSE(FileExists(kDrivers + L"\\w32x86\\loose.dll"));
  EXPECT_FALSE(FileExists(kDrivers + L"\\x64\\loose.ppd"));
  EXPECT_TRUE(FileExists(kDrivers + L"\\w32x86\\3\\driver.dll"));
  EXPECT_TRUE(FileExists(kDrivers + L"\\x64\\3\\driver.dll"));
  EXPECT_TRUE(FileExists(kDrivers + L"\\x64\\3\\sub\\more.dll"));
  EXPECT_FALSE(FileExists(kUserTemp + L"\\NVUserAuth"));
  EXPECT_FALSE(FileExists(kUserTemp + L"\\Quellix")) << "a companion folder of only files is removed";
  EXPECT_TRUE(FileExists(kUserTemp));
}

TEST_F(FileCleanupTest, TheCompanionFolderWithASubFolderLosesItsFilesAndStays) {
  Load(R"({"base": "workstation", "files": {
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\NVUserAuth": {"attributes": ["readonly"]},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Quellix\\jobs.dat": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Quellix\\cache\\page.dat": {}}})");
  SweepDriverFiles(sys());
  // The companion's marker file is deleted as it is, without clearing a mark.
  EXPECT_EQ(EffectsOn(L"NVUserAuth"), (V{L"files.Delete " + kUserTemp + L"\\NVUserAuth -> 5"}));
  EXPECT_FALSE(FileExists(kUserTemp + L"\\Quellix\\jobs.dat"));
  EXPECT_TRUE(FileExists(kUserTemp + L"\\Quellix\\cache\\page.dat"));
  EXPECT_EQ(EffectsOn(L"RemoveFolder"), (V{L"files.RemoveFolder " + kUserTemp + L"\\Quellix -> 145"}));
}

TEST_F(FileCleanupTest, AnEmptyCompanionFolderIsRemovedAndAMissingOneCostsNothing) {
  Load(R"({"base": "workstation", "files": {"C:\\Users\\Admin\\AppData\\Local\\Temp\\Quellix": {"folder": true}}})");
  SweepDriverFiles(sys());
  EXPECT_EQ(EffectsOn(kUserTemp), (V{L"files.RemoveFolder " + kUserTemp + L"\\Quellix -> 0"}));
  machine().gate().ClearJournal();
  SweepDriverFiles(sys());
  EXPECT_TRUE(EffectsOn(kUserTemp).empty());
}

}  // namespace
}  // namespace cleanup::testing
