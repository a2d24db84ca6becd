// The registry lookups behind the driver decisions.
#include <gtest/gtest.h>

#include "engine/DriverLookups.h"
#include "os/sim/SimMachine.h"

namespace engine {
namespace {

struct Lookups {
  explicit Lookups(const std::string& image) : machine(os::sim::SimMachine::FromImage(image)), sys(machine->system()) {}
  std::unique_ptr<os::sim::SimMachine> machine;
  sysaccess::SystemAccess sys;
};

sysaccess::PrinterRecord Local() { return sysaccess::PrinterRecord{}; }
sysaccess::PrinterRecord Connection(const wchar_t* server) {
  sysaccess::PrinterRecord r;
  r.serverName = server;
  return r;
}

TEST(DriverLookupsTest, TheDataFileStemIsTheNameBeforeTheFirstDot) {
  Lookups l(R"({"base": "workstation", "spooler": {"drivers": [
    {"name": "Dotted", "dataFile": "Driver.Ppd"}, {"name": "TwoDots", "dataFile": "a.b.c"},
    {"name": "NoDot", "dataFile": "DRIVER"}, {"name": "None"}]}})");
  EXPECT_EQ(ReadDataFileStem(l.sys, Local(), L"Dotted"), L"Driver");
  EXPECT_EQ(ReadDataFileStem(l.sys, Local(), L"TwoDots"), L"a");
  EXPECT_EQ(ReadDataFileStem(l.sys, Local(), L"NoDot"), L"");
  EXPECT_EQ(ReadDataFileStem(l.sys, Local(), L"None"), L"");
  EXPECT_EQ(ReadDataFileStem(l.sys, Local(), L"Unknown"), L"");
}

TEST(DriverLookupsTest, TheDriverKeyFollowsTheArchitectureAndAConnectionsItsProvider) {
  Lookups xp(R"({"base": "xp-workstation", "spooler": {"drivers": [{"name": "Old", "environment": "Windows NT x86", "dataFile": "OLD.PPD"}]},
    "registry": {"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers\\srv\\Printers\\Old\\PrinterDriverData": {"Data File": "LANMAN.PPD", "driverName": "Old DS"}}})");
  EXPECT_EQ(ReadDataFileStem(xp.sys, Local(), L"Old"), L"OLD");
  // The server name goes into the provider's key exactly as the record holds it.
  EXPECT_EQ(ReadDataFileStem(xp.sys, Connection(L"srv"), L"Old"), L"LANMAN");
  EXPECT_EQ(ReadDsDriverName(xp.sys, Connection(L"srv"), L"Old"), L"Old DS");
  // As the spooler reports it ("\\srv") it doubles a separator, which the
  // registry refuses: the lookup degrades to nothing.
  EXPECT_EQ(ReadDataFileStem(xp.sys, Connection(L"\\\\srv"), L"Old"), L"");

  Lookups arm(R"({"base": "workstation", "spooler": {"drivers": [{"name": "New", "dataFile": "NEW.PPD"}]},
    "registry": {"HKLM\\SYSTEM\\ControlSet001\\Control\\Session Manager\\Environment": {"PROCESSOR_ARCHITECTURE": "ARM64"}}})");
  EXPECT_EQ(ReadDataFileStem(arm.sys, Local(), L"New"), L"") << "no driver key is known for this architecture";
}

TEST(DriverLookupsTest, APrintersHardwareFolderDsNameAndMediaComeFromItsKeysAndTheMediaEndAtAnEmptyName) {
  Lookups l(R"({"base": "workstation", "spooler": {"drivers": [{"name": "D"}], "printers": [
    {"name": "Usb", "driver": "D", "hardwareId": "LPTENUM\\Maker-Model&A.1"},
    {"name": "Bare", "driver": "D", "hardwareId": "Maker-Model.2"}, {"name": "Plain", "driver": "D"}]},
    "registry": {"HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Printers\\Plain\\DsSpooler": {"driverName": "Plain DS"},
      "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Printers\\Plain\\DsDriver": {
      "printMediaSupported": {"type": 7, "hex": "4100000042000000000043000000"}}}})");
  EXPECT_EQ(ReadPnpFolderName(l.sys, L"Usb"), L"Maker_Model_A_1");
  EXPECT_EQ(ReadPnpFolderName(l.sys, L"Bare"), L"Maker_Model_2");
  EXPECT_EQ(ReadPnpFolderName(l.sys, L"Plain"), L"");
  EXPECT_EQ(ReadDsDriverName(l.sys, Local(), L"Plain"), L"Plain DS");
  std::vector<std::wstring> media{L"stale"};
  ReadMediaSupported(l.sys, L"Plain", media);
  EXPECT_EQ(media, (std::vector<std::wstring>{L"A", L"B"}));
  ReadMediaSupported(l.sys, L"Usb", media);
  EXPECT_TRUE(media.empty());
}

}  // namespace
}  // namespace engine
