// No cleanup step may reach beyond its named target: names that are empty or
// carry path syntax switch their step off, and the rest of the cleanup runs.
#include "base/Utf.h"
#include "cleanup/DriverRegistryCleanup.h"
#include "cleanup/FileCleanup.h"
#include "cleanup/PrinterRegistryCleanup.h"
#include "cleanup/TargetNames.h"
#include "sysaccess/EnvironmentProbes.h"
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
                             L"C:", L"file:stream", L"a<b", L"a>b", L"a\"b", L"a|b", L"a\tb", L"LASER.", L"LASER "}) {
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  }
  for (const wchar_t* good : {L"Office", L"\\\\srv\\lp", L"a/b", L"*"}) EXPECT_TRUE(NamesKeyBelow(good)) << good;
  for (const wchar_t* bad : {L"", L"\\", L"\\\\srv\\", L"Office\\"}) EXPECT_FALSE(NamesKeyBelow(bad)) << bad;
}

TEST(TargetNamesTest, TheProgramsOwnMatchTakesStarAndQuestionMarkOnlyAndIgnoresCase) {
  EXPECT_TRUE(MatchesIntendedPattern(L",,srv,lp.tmp", L",,SRV,LP.TMP")) << "file names ignore case";
  EXPECT_TRUE(MatchesIntendedPattern(L"*.wmk", L"laser.WMK"));
  EXPECT_TRUE(MatchesIntendedPattern(L"LA?ER.wmk", L"LASER.wmk"));
  EXPECT_FALSE(MatchesIntendedPattern(L"LA?ER.wmk", L"LAER.wmk")) << "'?' is exactly one character";
  EXPECT_FALSE(MatchesIntendedPattern(L"Lab 2.tmp", L"Lab 2")) << "a name that is only the start of the pattern";
  EXPECT_FALSE(MatchesIntendedPattern(L"Lab <2>.tmp", L"Lab 22.tmp")) << "'<' and '>' are no wildcards here";
  EXPECT_FALSE(MatchesIntendedPattern(L"LASER.wmk", L"LASER.wmk.bak"));
  EXPECT_TRUE(MatchesIntendedPattern(L"LA*R*.wmk", L"laser2.wmk")) << "a star within the pattern";
  EXPECT_TRUE(MatchesIntendedPattern(L"LA*SER*.wmk", L"LASER.wmk")) << "a star may stand for nothing";
  EXPECT_FALSE(MatchesIntendedPattern(L"LA*R*.wmk", L"LASE.wmk"));
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

// On Windows a search pattern reaches further than the name it was built
// from: "<", ">" and '"' are wildcards too, an entry answers to its 8.3 short
// name, and a path component loses its trailing dots and blanks. Each field
// below would reach one of the bystanders; none may.
TEST_F(TargetGuardTest, ANameThatWindowsWouldMatchBeyondItselfReachesNothingElse) {
  constexpr const char* kLookalikes = R"({"base": "workstation", "files": {
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\,,srv,Lab 2.tmp": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\OTHER.wmk": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Tessaly Long Name.tmp": {},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\Laser\u0001.tmp": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\HW Long Folder\\a.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\HW\\x.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\Empty": {"folder": true}}})";
  const FileFields cases[] = {
      {L"\\\\srv\\Lab <2>", L"", L"", L""},       // DOS_STAR and DOS_QM
      {L"\\\\srv\\Lab \"2\"", L"", L"", L""},     // DOS_DOT
      {L"\\\\srv\\Lab|2", L"", L"", L""},
      {L"", L"", L"<", L""},                     // "<.wmk" is every watermark
      {L"", L"", L"", L"TESSAL~1"},              // the short name of another file
      {L"", L"", L"", L"Laser\x01"},              // a control character
      {L"", L"HWLONG~1", L"", L""},              // the short name of another folder
      {L"", L"HW.", L"", L""},                   // "HW.\\*" is "HW\\*"
      {L"", L"Empty ", L"", L""},                // removing "Empty " removes "Empty"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "printer \"" << c.printerName << "\" pnp \"" << c.pnpFolderName << "\" stem \""
                                      << c.dataFileStem << "\" ds \"" << c.dsDriverName << "\"");
    Given(kLookalikes);
    CleanPrinterTempFiles(sys(), c.printerName, L"\\\\srv");
    CleanDriverFiles(sys(), c.pnpFolderName, c.dataFileStem, c.dsDriverName);
    EXPECT_EQ(Journal(), V{});
  }
}

// The architecture folders hold the spooler's own folders: the installed
// drivers of each version, colour and compatibility data, and the staging
// folders of an installation. A hardware id that ends in such a name must not
// empty it.
TEST_F(TargetGuardTest, AHardwareFolderNameThatIsOneOfTheSpoolersOwnFoldersCleansNothing) {
  Given(R"({"base": "workstation", "files": {
    "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\unidrv.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\4\\driver.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\PCC\\pack.cab": {},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\2\\old.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\0\\win95.drv": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\Color\\profile.icm": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\{6A1E3B42-0000-4C1D-8F00-000000000001}\\setup.inf": {}}})");
  for (const wchar_t* name : {L"3", L"4", L"2", L"0", L"PCC", L"pcc", L"Color", L"New", L"Old",
                              L"{6A1E3B42-0000-4C1D-8F00-000000000001}"}) {
    CleanDriverFiles(sys(), name, L"", L"");
  }
  EXPECT_EQ(Journal(), V{});
}

// A user Temp setting that is empty, or names a file: only the Windows Temp
// folder is a place to clean, and nothing on the drive root is touched.
TEST_F(TargetGuardTest, WithoutAUserTempFolderOnlyTheWindowsTempFolderIsCleanedAndTheDriveRootIsLeftAlone) {
  // Empty, a file, or a folder that is not a full path: relative to the
  // current folder ("Temp") or to the current drive ("\\Temp").
  for (const char* temp : {"", "C:\\\\Users\\\\Admin\\\\TempFile", "Temp", "\\\\Temp"}) {
    SCOPED_TRACE(::testing::Message() << "Temp \"" << temp << "\"");
    Given(std::string(R"({"base": "workstation",
      "registry": {"HKEY_CURRENT_USER\\Environment": {"TEMP": ")") + temp + R"("}},
      "files": {
        "C:\\Users\\Admin\\TempFile": {},
        "C:\\NVUserAuth": {},
        "C:\\Quellix\\jobs.dat": {},
        "C:\\,,srv,lp.tmp": {},
        "C:\\LASER.wmk": {},
        "C:\\Temp\\,,srv,lp.tmp": {},
        "C:\\Program Files\\Tessaly\\Temp\\LASER.wmk": {},
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
  // A drive from A to Z in either case, or a share: a full path.
  for (const wchar_t* path : {L"A:\\", L"Z:\\Temp", L"z:\\Temp", L"\\\\srv\\tmp"}) {
    EXPECT_TRUE(sysaccess::IsAbsolutePath(path)) << base::WideToUtf8(path);
  }
  EXPECT_FALSE(sysaccess::IsAbsolutePath(L"1:\\Temp"));
}

TEST_F(TargetGuardTest, WithoutASystemDirectoryNothingUnderADriverDirectoryIsTouched) {
  Given(R"({"base": "workstation", "files": {
    "C:\\spool\\drivers\\w32x86\\HW\\a.dll": {},
    "C:\\spool\\drivers\\x64\\loose.dll": {},
    "C:\\Program Files\\Tessaly\\spool\\drivers\\x64\\loose.dll": {}}})");
  machine().FailWith(os::sim::Op::EnvironmentSystemDirectory, os::error::kInsufficientBuffer);
  CleanDriverFiles(sys(), L"HW", L"", L"");
  SweepDriverFiles(sys());
  EXPECT_TRUE(EffectsOn(L"spool").empty());
  EXPECT_TRUE(FileExists(L"C:\\spool\\drivers\\w32x86\\HW\\a.dll"));
  EXPECT_TRUE(FileExists(L"C:\\spool\\drivers\\x64\\loose.dll"));
}

}  // namespace
}  // namespace scenario
