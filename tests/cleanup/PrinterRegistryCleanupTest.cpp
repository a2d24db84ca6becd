// The registry entries named after a deleted printer.
#include "cleanup/PrinterRegistryCleanup.h"

#include "tests/cleanup/CleanupScenario.h"

namespace cleanup::testing {
namespace {

using V = std::vector<std::wstring>;

class PrinterRegistryCleanupTest : public CleanupScenario {};

// Office and its neighbour Office 2 everywhere the cleanup looks, and Office
// in another user's hive.
constexpr const char* kOfficeEverywhere = R"({"base": "workstation", "registry": {
  "HKCU\\Printers\\Settings": {"Office": "x", "Office 2": "y", "": "default"},
  "HKCU\\Printers\\Settings\\Printers\\Office": {"DevMode": "1"},
  "HKCU\\Printers\\Settings\\Printers\\Office\\Sub": {},
  "HKCU\\Printers\\Settings\\Printers\\Office 2": {},
  "HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Office": {},
  "HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Office 2": {},
  "HKLM\\Software\\NVL\\Quellix\\printers\\Office": {"Port": "9100"},
  "HKLM\\Software\\NVL\\Quellix\\printers\\Office 2": {},
  "HKCU\\Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Office": {},
  "HKCU\\Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Office 2": {},
  "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark\\Confidential": {},
  "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings": {"Office": "theirs"},
  "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings\\Printers\\Office": {}}})";

TEST_F(PrinterRegistryCleanupTest, SixStepsRunInOrderOnTheirExactPaths) {
  Load(kOfficeEverywhere);
  CleanPrinterRegistry(sys(), L"Office");
  EXPECT_EQ(Journal(), (V{
                           L"registry.DeleteTree HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Office -> 0",
                           L"registry.DeleteTree HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Printers\\Office -> 0",
                           L"registry.DeleteValue HKEY_CURRENT_USER\\Printers\\Settings:Office -> 0",
                           L"registry.DeleteTree HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\Office -> 0",
                           L"registry.DeleteTree HKEY_CURRENT_USER\\Software\\NVL\\Job "
                           L"Properties\\LocalWaterMarkData\\Printers\\Office -> 0",
                           L"registry.DeleteTree HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark -> 0",
                       }));
  // The neighbours stay, and so does the settings key's default value.
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\Office 2"));
  EXPECT_TRUE(KeyExists(L"HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Office 2"));
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\Settings", L"Office 2"));
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\Settings", L""));
  EXPECT_TRUE(KeyExists(L"HKLM\\Software\\NVL\\Quellix\\printers\\Office 2"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Office 2"));
  EXPECT_TRUE(KeyExists(L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print"));
  // Another user's hive is not one the cleanup knows.
  EXPECT_TRUE(ValueExists(L"HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings", L"Office"));
  EXPECT_TRUE(KeyExists(L"HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings\\Printers\\Office"));
}

TEST_F(PrinterRegistryCleanupTest, StepsFailQuietlyAndTheWatermarkGoesWithTheFirstPrinter) {
  Load(R"({"base": "workstation", "registry": {
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark": {"Text": "Draft"}}})");
  CleanPrinterRegistry(sys(), L"Office");
  CleanPrinterRegistry(sys(), L"Lobby");
  const V results = Journal();
  ASSERT_EQ(results.size(), 12u);
  EXPECT_EQ(results[5],
            L"registry.DeleteTree HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark -> 0");
  EXPECT_EQ(results[11],
            L"registry.DeleteTree HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark -> 2");
  for (size_t i : {0u, 1u, 2u, 3u, 4u, 6u, 7u, 8u, 9u, 10u}) EXPECT_TRUE(results[i].ends_with(L" -> 2")) << i;
}

TEST_F(PrinterRegistryCleanupTest, ConnectionNameLeadsDownPastItsBackslashesAndNamesTheWholeValue) {
  Load(R"({"base": "workstation", "registry": {
    "HKCU\\Printers\\Settings": {"\\\\srv\\lp": "x", "lp": "local"},
    "HKCU\\Printers\\Settings\\Printers\\lp": {},
    "HKCU\\Printers\\Settings\\Printers\\srv\\lp": {},
    "HKCU\\Printers\\Settings\\Printers\\srv\\other": {}}})");
  CleanPrinterRegistry(sys(), L"\\\\srv\\lp");
  EXPECT_EQ(Attempts(), (V{
                            L"registry.DeleteTree HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\\\\\srv\\lp",
                            L"registry.DeleteTree HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Printers\\\\\\srv\\lp",
                            L"registry.DeleteValue HKEY_CURRENT_USER\\Printers\\Settings:\\\\srv\\lp",
                            L"registry.DeleteTree HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\\\\\srv\\lp",
                            L"registry.DeleteTree HKEY_CURRENT_USER\\Software\\NVL\\Job "
                            L"Properties\\LocalWaterMarkData\\Printers\\\\\\srv\\lp",
                            L"registry.DeleteTree HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark",
                        }));
  EXPECT_FALSE(ValueExists(L"HKCU\\Printers\\Settings", L"\\\\srv\\lp"));
  // The backslashes lead down through the server's name; a doubled one names
  // no key at all, so nothing at or above the server goes, and a local
  // printer of the same short name keeps its entries.
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\srv\\other"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\lp"));
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\Settings", L"lp"));
}

TEST_F(PrinterRegistryCleanupTest, SettingsKeyThatCannotBeOpenedForWritingKeepsItsValue) {
  Load(R"({"base": "workstation", "registry": {"HKCU\\Printers\\Settings": {"Office": "x"}},
           "protectedKeys": ["HKCU\\Printers\\Settings"]})");
  CleanPrinterRegistry(sys(), L"Office");
  EXPECT_TRUE(EffectsOn(L"DeleteValue").empty());
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\Settings", L"Office"));
  EXPECT_EQ(Journal().size(), 5u) << "the other five steps still run";
}

}  // namespace
}  // namespace cleanup::testing
