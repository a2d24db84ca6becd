// The registry entries named after a deleted printer: the order of the steps
// and their failures. Which neighbours stay on a real registry is the
// contract suite's (CleanupRegistryContract).
#include "cleanup/PrinterRegistryCleanup.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace cleanup;
using PrinterRegistryCleanupTest = SimScenario;

const std::wstring kWatermark =
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark";

// Another user's hive holds the same entries: the journal shows that the
// steps never reach it.
TEST_F(PrinterRegistryCleanupTest, SixStepsRunInOrderAndOtherUsersKeepTheirEntries) {
  Given(R"({"base": "workstation", "registry": {
    "HKCU\\Printers\\Settings": {"Office": "x", "": "default"},
    "HKCU\\Printers\\Settings\\Printers\\Office\\Sub": {},
    "HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Office": {},
    "HKLM\\Software\\NVL\\Quellix\\printers\\Office": {"Port": "9100"},
    "HKCU\\Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Office": {},
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark\\Confidential": {},
    "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings": {"Office": "theirs"},
    "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings\\Printers\\Office": {}}})");
  CleanPrinterRegistry(sys(), L"Office");
  EXPECT_EQ(Journal(), (Lines{
                           L"registry.DeleteTree HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Office -> 0",
                           L"registry.DeleteTree HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Printers\\Office -> 0",
                           L"registry.DeleteValue HKEY_CURRENT_USER\\Printers\\Settings:Office -> 0",
                           L"registry.DeleteTree HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\Office -> 0",
                           L"registry.DeleteTree HKEY_CURRENT_USER\\Software\\NVL\\Job "
                           L"Properties\\LocalWaterMarkData\\Printers\\Office -> 0",
                           kWatermark + L" -> 0",
                       }));
}

// Nothing to delete, a settings key that cannot be opened for writing, and
// two printers in one run.
TEST_F(PrinterRegistryCleanupTest, StepsFailQuietlyAndTheWatermarkGoesWithTheFirstPrinter) {
  Given(R"({"base": "workstation", "protectedKeys": ["HKCU\\Printers\\Settings"], "registry": {
    "HKCU\\Printers\\Settings": {"Office": "x"},
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark": {"Text": "Draft"}}})");
  CleanPrinterRegistry(sys(), L"Office");
  CleanPrinterRegistry(sys(), L"Lobby");
  EXPECT_EQ(Journal().size(), 10u) << "every other step runs for both printers, whatever the others found";
  EXPECT_TRUE(EffectsOn(L"DeleteValue").empty());
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\Settings", L"Office"));
  EXPECT_EQ(EffectsOn(L"\\Watermark"), (Lines{kWatermark + L" -> 0", kWatermark + L" -> 2"}));
}

}  // namespace
}  // namespace scenario
