// Files left behind by printers and drivers: the order of the effects and
// what a refusal leaves. What goes and what stays on a real file system is
// the contract suite's (CleanupFileContract).
#include "cleanup/FileCleanup.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace cleanup;

const std::wstring kUserTemp = L"C:\\Users\\Admin\\AppData\\Local\\Temp";

using FileCleanupTest = SimScenario;

TEST_F(FileCleanupTest, EveryMatchIsUnmarkedThenDeletedAndNoEntryStopsTheSearch) {
  Given(R"({"base": "workstation", "files": {
    "C:\\Data\\a.tmp": {"attributes": ["readonly", "hidden", "system", "archive"]},
    "C:\\Data\\b.tmp": {"attributes": ["readonly"]},
    "C:\\Data\\c.tmp": {},
    "C:\\Data\\d.tmp": {},
    "C:\\Data\\e.tmp": {"locked": true},
    "C:\\Data\\keep.dat": {},
    "C:\\Data\\sub.tmp": {"folder": true, "attributes": ["hidden", "system"]},
    "C:\\Data\\sub.tmp\\inner.tmp": {}}})");
  // b keeps its read-only mark, so its deletion fails; c's mark could not be
  // cleared either, but it had none and goes; d's status cannot be read.
  machine().FailWith(os::sim::Op::FilesSetAttributes, os::error::kAccessDenied, L"C:\\Data\\b.tmp");
  machine().FailWith(os::sim::Op::FilesSetAttributes, os::error::kSharingViolation, L"C:\\Data\\c.tmp");
  machine().FailWith(os::sim::Op::FilesFind, os::error::kAccessDenied, L"C:\\Data\\d.tmp");
  DeleteMatchingFiles(sys(), L"C:\\Data\\*.none");
  DeleteMatchingFiles(sys(), L"C:\\NoSuchFolder\\*");
  DeleteMatchingFiles(sys(), L"C:\\Data\\*.tmp");
  EXPECT_EQ(Journal(), (Lines{
                           L"files.SetAttributes C:\\Data\\a.tmp -> 0",
                           L"files.Delete C:\\Data\\a.tmp -> 0",
                           L"files.SetAttributes C:\\Data\\b.tmp -> 5",
                           L"files.Delete C:\\Data\\b.tmp -> 5",
                           L"files.SetAttributes C:\\Data\\c.tmp -> 32",
                           L"files.Delete C:\\Data\\c.tmp -> 0",
                           L"files.SetAttributes C:\\Data\\e.tmp -> 0",
                           L"files.Delete C:\\Data\\e.tmp -> 32",
                       }));
  EXPECT_TRUE(FileExists(L"C:\\Data\\d.tmp"));
  // A folder that matched is neither entered nor unmarked.
  EXPECT_TRUE(FileExists(L"C:\\Data\\sub.tmp\\inner.tmp"));
  EXPECT_EQ(machine().files().Lookup(L"C:\\Data\\sub.tmp")->attributes, os::attr::kHidden | os::attr::kSystem);
}

TEST_F(FileCleanupTest, TheCompanionFolderWithASubFolderLosesItsFilesAndStays) {
  Given(R"({"base": "workstation", "files": {
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\NVUserAuth": {"attributes": ["readonly"]},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Quellix\\jobs.dat": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Quellix\\cache\\page.dat": {}}})");
  SweepDriverFiles(sys());
  // The companion's marker file is deleted as it is, without clearing a mark.
  EXPECT_EQ(EffectsOn(L"NVUserAuth"), (Lines{L"files.Delete " + kUserTemp + L"\\NVUserAuth -> 5"}));
  EXPECT_FALSE(FileExists(kUserTemp + L"\\Quellix\\jobs.dat"));
  EXPECT_TRUE(FileExists(kUserTemp + L"\\Quellix\\cache\\page.dat"));
  EXPECT_EQ(EffectsOn(L"RemoveFolder"), (Lines{L"files.RemoveFolder " + kUserTemp + L"\\Quellix -> 145"}));
}

}  // namespace
}  // namespace scenario
