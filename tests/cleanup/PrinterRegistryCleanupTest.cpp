// The registry entries named after a deleted printer: a step that finds
// nothing or is refused does not stop the others. Which entries go and which
// neighbours stay on a real registry is the contract suite's
// (CleanupRegistryContract).
#include "cleanup/PrinterRegistryCleanup.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace cleanup;
using PrinterRegistryCleanupTest = SimScenario;

const std::wstring kWatermark =
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark";

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
