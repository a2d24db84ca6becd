#include "bench/GeneratedOffice.h"

namespace bench {

std::unique_ptr<os::sim::SimMachine> GenerateOffice(int printers) {
  auto m = os::sim::SimMachine::FromImage(R"({"base": "workstation"})");
  auto& reg = m->registry();
  auto& files = m->files();
  const std::wstring userTemp = L"C:\\Users\\Admin\\AppData\\Local\\Temp\\";
  const std::wstring windowsTemp = L"C:\\Windows\\Temp\\";

  const int drivers = (printers + 7) / 8;
  for (int d = 0; d < drivers; ++d) {
    os::sim::SimDriver driver;
    driver.name = L"Office Driver " + std::to_wstring(d);
    driver.dataFile = L"ODRV" + std::to_wstring(d) + L".PPD";
    driver.infPath = L"C:\\Windows\\INF\\odrv" + std::to_wstring(d) + L".inf";
    m->spooler().AddDriver(driver);
    m->spooler().AddPackage(driver.infPath);
    files.AddFile(userTemp + L"ODRV" + std::to_wstring(d) + L".wmk", os::attr::kReadOnly);
    reg.CreateKey(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\ODRV" + std::to_wstring(d));
  }
  for (int f = 0; f < printers / 10; ++f) m->spooler().AddForm({L"Office Form " + std::to_wstring(f), os::spool::kFormUser});

  for (int p = 0; p < printers; ++p) {
    os::sim::SimPrinter printer;
    const std::wstring number = std::to_wstring(p);
    printer.driverName = L"Office Driver " + std::to_wstring(p / 8);
    std::wstring searchName;
    if (p % 4 == 3) {
      printer.serverName = L"\\\\print" + std::to_wstring(p % 16);
      printer.name = printer.serverName + L"\\Shared " + number;
      searchName = L",,print" + std::to_wstring(p % 16) + L",Shared " + number;
    } else {
      printer.name = L"Office Printer " + number;
      printer.hardwareId = L"USBPRINT\\Maker-Model" + number;
      printer.media = {L"Office Form " + std::to_wstring(p / 10)};
      searchName = printer.name;
      files.AddFile(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Model" + number + L"\\model.gpd");
    }
    m->spooler().AddPrinter(printer);
    reg.SetString(L"HKCU\\Printers\\Settings\\Printers\\" + printer.name, L"DevMode", L"x");
    reg.SetString(L"HKCU\\Printers\\Settings", printer.name, L"x");
    files.AddFile(userTemp + searchName + L".tmp");
    files.AddFile(windowsTemp + searchName + L".tmp");
    for (int t = 0; t < 18; ++t) {
      files.AddFile((t % 2 ? userTemp : windowsTemp) + L"~spool" + number + L"_" + std::to_wstring(t) + L".tmp");
    }
  }
  return m;
}

}  // namespace bench
