// No cleanup step may reach beyond its named target: names that are empty or
// carry path syntax switch their step off, and the rest of the cleanup runs.
#include "cleanup/DriverRegistryCleanup.h"
#include "cleanup/FileCleanup.h"
#include "cleanup/PrinterRegistryCleanup.h"
#include "cleanup/TargetNames.h"
#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace cleanup;
using V = Lines;

TEST(TargetNamesTest, APlainFileNameNamesOneEntryAndAKeyNameLeadsBelowItsParent) {
  for (const wchar_t* good : {L"LASER", L"Laser DS", L",,srv,lp", L"a.b", L"..a", L"HWLASER_1"}) {
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  }
  for (const wchar_t* bad : {L"", L"*", L"LA?ER", L"*.*", L"a\\b", L"HP 4/4M", L"..", L".", L"...", L" ", L". .",
                             L"C:", L"file:stream"}) {
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  }
  for (const wchar_t* good : {L"Office", L"\\\\srv\\lp", L"a/b", L"*"}) EXPECT_TRUE(NamesKeyBelow(good)) << good;
  for (const wchar_t* bad : {L"", L"\\", L"\\\\srv\\", L"Office\\"}) EXPECT_FALSE(NamesKeyBelow(bad)) << bad;
}

using TargetGuardTest = SimScenario;

// ---- registry --------------------------------------------------------------

constexpr const char* kDriverKeys = R"({"base": "workstation", "registry": {
  "HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser": {},
  "HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER": {},
  "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser": {},
  "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Other": {}}})";

TEST_F(TargetGuardTest, AnEmptyOrSeparatorEndedDriverNameKeepsEveryDriversKeys) {
  for (const wchar_t* name : {L"", L"\\", L"Laser\\"}) {
    SCOPED_TRACE(::testing::Message() << "driver name \"" << std::wstring(name) << "\"");
    Given(kDriverKeys);
    CleanDriverRegistry(sys(), name, L"LASER");
    EXPECT_EQ(Attempts(), (V{L"registry.DeleteTree HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER"}));
    EXPECT_TRUE(KeyExists(L"HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser"));
    EXPECT_TRUE(KeyExists(L"HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Other"));
  }
}

const std::wstring kWatermark =
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark";

constexpr const char* kPrinterKeys = R"({"base": "workstation", "registry": {
  "HKCU\\Printers\\Settings": {"": "default", "Office": "x", "\\\\srv\\": "x"},
  "HKCU\\Printers\\Settings\\Printers\\Office": {},
  "HKCU\\Printers\\Settings\\Printers\\srv\\lp": {},
  "HKLM\\Software\\NVL\\Quellix\\printers\\Office": {}}})";

// The empty name is the settings key's default value; a name ending in "\"
// names a value of its own but, as a key path, the parent key.
TEST_F(TargetGuardTest, AnEmptyOrSeparatorEndedPrinterNameRunsOnlyTheStepsItCannotWiden) {
  Given(kPrinterKeys);
  CleanPrinterRegistry(sys(), L"");
  CleanPrinterRegistry(sys(), L"\\\\srv\\");
  EXPECT_EQ(Attempts(), (V{kWatermark, L"registry.DeleteValue HKEY_CURRENT_USER\\Printers\\Settings:\\\\srv\\", kWatermark}));
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\Settings", L""));
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\Office"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\srv\\lp"));
}

// ---- files -----------------------------------------------------------------

// Files a widened pattern would reach: in both Temp folders, on the drive
// root and in the driver directory.
constexpr const char* kBystanders = R"({"base": "workstation", "files": {
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\a.tmp": {},
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\,,srv,a.tmp": {},
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk": {},
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\b\\c.tmp": {},
  "C:\\Users\\Admin\\AppData\\Local\\Temp\\Laser DS.tmp": {},
  "C:\\Windows\\Temp\\a.tmp": {},
  "C:\\Windows\\Temp\\OTHER.wmk": {},
  "C:\\NVUserAuth": {},
  "C:\\Quellix\\jobs.dat": {},
  "C:\\.tmp": {},
  "C:\\,,srv,lp.tmp": {},
  "C:\\Windows\\system32\\spool\\drivers\\loose.dll": {},
  "C:\\Windows\\system32\\spool\\drivers\\w32x86\\loose.dll": {},
  "C:\\Windows\\system32\\spool\\drivers\\x64\\HW\\sub\\x.dll": {},
  "C:\\Windows\\system32\\spool\\drivers\\x64\\HW\\x.dll": {}}})";

struct FileFields {
  const wchar_t *printerName, *pnpFolderName, *dataFileStem, *dsDriverName;
};

TEST_F(TargetGuardTest, ARecordFieldThatIsEmptyOrCarriesPathSyntaxSwitchesItsFilePatternOff) {
  const FileFields cases[] = {
      // A connection's search name: "\\srv\x" becomes ",,srv,x".
      {L"\\\\srv\\*", L"", L"", L""},
      {L"\\\\srv\\a?tmp", L"", L"", L""},
      {L"\\\\srv\\b/c", L"", L"", L""},
      {L"", L"", L"", L""},
      // The data-file stem of the watermark pattern.
      {L"", L"", L"*", L""},
      {L"", L"", L"LASE?", L""},
      {L"", L"", L"b\\c", L""},
      {L"", L"", L"..", L""},
      // The directory-service name of the two temporary-file patterns.
      {L"", L"", L"", L"*"},
      {L"", L"", L"", L"b/c"},
      {L"", L"", L"", L"b\\c"},
      // The hardware-specific folder under the driver directory.
      {L"", L"*", L"", L""},
      {L"", L"..", L"", L""},
      {L"", L".", L"", L""},
      {L"", L"HW\\sub", L"", L""},
      {L"", L"HW/sub", L"", L""},
      {L"", L"C:", L"", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "printer \"" << c.printerName << "\" pnp \"" << c.pnpFolderName << "\" stem \""
                                      << c.dataFileStem << "\" ds \"" << c.dsDriverName << "\"");
    Given(kBystanders);
    CleanPrinterTempFiles(sys(), c.printerName, L"\\\\srv");
    CleanDriverFiles(sys(), c.pnpFolderName, c.dataFileStem, c.dsDriverName);
    EXPECT_EQ(Journal(), V{});
  }
}

TEST_F(TargetGuardTest, ABadFieldSwitchesOffOnlyItsOwnPatterns) {
  Given(kBystanders);
  CleanDriverFiles(sys(), L"..", L"*", L"Laser DS");
  EXPECT_EQ(Attempts(), (V{L"files.SetAttributes C:\\Users\\Admin\\AppData\\Local\\Temp\\Laser DS.tmp",
                           L"files.Delete C:\\Users\\Admin\\AppData\\Local\\Temp\\Laser DS.tmp"}));
}

// A user Temp setting that is empty, or names a file: only the Windows Temp
// folder is a place to clean, and nothing on the drive root is touched.
TEST_F(TargetGuardTest, WithoutAUserTempFolderOnlyTheWindowsTempFolderIsCleanedAndTheDriveRootIsLeftAlone) {
  for (const char* temp : {"", "C:\\\\Users\\\\Admin\\\\TempFile"}) {
    SCOPED_TRACE(::testing::Message() << "Temp \"" << temp << "\"");
    Given(std::string(R"({"base": "workstation",
      "registry": {"HKEY_CURRENT_USER\\Environment": {"TEMP": ")") + temp + R"("}},
      "files": {
        "C:\\Users\\Admin\\TempFile": {},
        "C:\\NVUserAuth": {},
        "C:\\Quellix\\jobs.dat": {},
        "C:\\,,srv,lp.tmp": {},
        "C:\\LASER.wmk": {},
        "C:\\Windows\\Temp\\,,srv,lp.tmp": {},
        "C:\\Windows\\system32\\spool\\drivers\\x64\\loose.dll": {}}})");
    CleanPrinterTempFiles(sys(), L"\\\\srv\\lp", L"\\\\srv");
    CleanDriverFiles(sys(), L"", L"LASER", L"");
    EXPECT_EQ(Attempts(), (V{L"files.SetAttributes C:\\Windows\\Temp\\,,srv,lp.tmp",
                             L"files.Delete C:\\Windows\\Temp\\,,srv,lp.tmp"}));
    machine().gate().ClearJournal();
    SweepDriverFiles(sys());
    EXPECT_EQ(EffectsOn(L"\\loose.dll").size(), 2u) << "the driver folders are still swept";
    EXPECT_EQ(EffectsOn(L"C:\\Windows\\system32\\spool\\drivers\\"), Journal()) << "and nothing else";
    EXPECT_TRUE(FileExists(L"C:\\NVUserAuth"));
    EXPECT_TRUE(FileExists(L"C:\\Quellix\\jobs.dat"));
    EXPECT_TRUE(FileExists(L"C:\\,,srv,lp.tmp"));
    EXPECT_TRUE(FileExists(L"C:\\LASER.wmk"));
  }
}

TEST_F(TargetGuardTest, WithoutASystemDirectoryNothingUnderADriverDirectoryIsTouched) {
  Given(R"({"base": "workstation", "files": {
    "C:\\spool\\drivers\\w32x86\\HW\\a.dll": {},
    "C:\\spool\\drivers\\x64\\loose.dll": {},
    "C:\\Program Files\\Tessaly\\spool\\drivers\\x64\\loose.dll": {}}})");
  machine().FailWith("Environment.SystemDirectory", os::error::kInsufficientBuffer);
  CleanDriverFiles(sys(), L"HW", L"", L"");
  SweepDriverFiles(sys());
  EXPECT_TRUE(EffectsOn(L"spool").empty());
  EXPECT_TRUE(FileExists(L"C:\\spool\\drivers\\w32x86\\HW\\a.dll"));
  EXPECT_TRUE(FileExists(L"C:\\spool\\drivers\\x64\\loose.dll"));
}

}  // namespace
}  // namespace scenario
