#include "tests/soak/GeneratedWorkstation.h"

#include <algorithm>
#include <random>

#include "base/WideText.h"

namespace soak {
namespace {

const std::wstring kUserTemp = L"C:\\Users\\Admin\\AppData\\Local\\Temp\\";
const std::wstring kWindowsTemp = L"C:\\Windows\\Temp\\";
const std::wstring kX64 = L"C:\\Windows\\system32\\spool\\drivers\\x64\\";
const std::wstring kX86 = L"C:\\Windows\\system32\\spool\\drivers\\W32X86\\";

// Names a printer may really have, hostile ones among them: DOS wildcards,
// a trailing dot or blank, characters beyond the BMP (as the surrogate pair
// Windows holds, not as one wchar_t of this 32-bit build), long names, names
// that are the start of another's.
std::wstring PrinterName(std::mt19937& rng, int index) {
  static const std::vector<std::wstring> kHostile = {
      L"Lab <2>", L"Lab ?", L"Lab *", L"Lab 2.", L"Lab 2 ", L"Lab \"2\"", L"Lab", L"Büro \xD83D\xDDA8 Drucker",
      L"Ωmega~1", L"LAB2~1", L"Lab 2", L"Lab 22"};
  std::uniform_int_distribution<int> pick(0, 3);
  if (pick(rng) == 0) return kHostile[std::uniform_int_distribution<std::size_t>(0, kHostile.size() - 1)(rng)];
  if (pick(rng) == 0) return std::wstring(150 + index, L'P') + std::to_wstring(index);
  return L"Printer " + std::to_wstring(index);
}

bool FileNameAllowed(const std::wstring& name) {
  if (name.empty() || name.back() == L'.' || name.back() == L' ') return false;
  return name.find_first_of(L"<>\"|*?:/\\") == std::wstring::npos;
}

}  // namespace

Workstation Generate(std::uint32_t seed) {
  std::mt19937 rng(seed);
  auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(rng) < percent; };
  Workstation w;
  w.machine = os::sim::SimMachine::FromImage(R"({"base": "workstation"})", "soak");
  auto& m = *w.machine;
  auto addFile = [&](Owner owner, const std::wstring& ownerName, const std::wstring& path) {
    m.files().AddFile(path, chance(30) ? os::attr::kReadOnly : os::attr::kArchive);
    w.artefacts.push_back({owner, ownerName, true, path, L"", false});
  };
  auto addKey = [&](Owner owner, const std::wstring& ownerName, const std::wstring& path, bool swept = false) {
    m.registry().SetString(path, L"Setting", L"x");
    w.artefacts.push_back({owner, ownerName, false, path, L"", swept});
  };
  auto addValue = [&](Owner owner, const std::wstring& ownerName, const std::wstring& key, const std::wstring& name) {
    m.registry().SetString(key, name, L"x");
    w.artefacts.push_back({owner, ownerName, false, key, name, false});
  };

  // The spooler's own folders beside the hardware folders: never a printer's.
  for (const auto& folder : {L"3", L"PCC", L"Color", L"New", L"Old"}) {
    addFile(Owner::Bystander, L"", kX64 + folder + L"\\core.dat");
    addFile(Owner::Bystander, L"", kX86 + folder + L"\\core.dat");
  }

  const int driverCount = std::uniform_int_distribution<int>(1, 5)(rng);
  static const std::vector<std::wstring> kStems = {L"LASER", L"INK", L"<", L"", L"LAS?R", L"LASER2", L"A B"};
  for (int d = 0; d < driverCount; ++d) {
    os::sim::SimDriver driver;
    driver.name = L"Driver " + std::to_wstring(d) + (chance(20) ? L" " : L"");
    const std::wstring stem = kStems[std::uniform_int_distribution<std::size_t>(0, kStems.size() - 1)(rng)];
    driver.dataFile = stem + L".PPD";
    if (chance(50)) driver.infPath = L"C:\\Windows\\INF\\drv" + std::to_wstring(d % 3) + L".inf";
    if (chance(50)) {
      driver.driverPath = kX64 + L"3\\DRV" + std::to_wstring(d) + L".DLL";
      driver.files = {driver.driverPath};
      m.files().AddFile(driver.driverPath, os::attr::kArchive);
    }
    m.spooler().AddDriver(driver);
    const auto& packages = m.spooler().packages();
    if (!driver.infPath.empty() && std::find(packages.begin(), packages.end(), driver.infPath) == packages.end()) {
      m.spooler().AddPackage(driver.infPath);
    }
    if (chance(30)) {
      driver.environment = L"Windows NT x86";
      driver.driverPath.clear();
      driver.files.clear();
      m.spooler().AddDriver(driver);
    }
    const bool stemUsable = FileNameAllowed(stem);
    w.drivers.push_back({driver.name, stemUsable ? base::Upcase(stem) : L""});
    if (stemUsable) {
      addFile(Owner::Stem, base::Upcase(stem), kUserTemp + stem + L".wmk");
      addKey(Owner::Stem, base::Upcase(stem), L"HKCU\\Software\\NVL\\Job Properties\\Driver\\" + stem);
      addFile(Owner::Bystander, L"", kUserTemp + stem + L"X.wmk");
      addFile(Owner::Bystander, L"", kUserTemp + L"X" + stem + L".wmk");
    }
    addKey(Owner::Driver, driver.name, L"HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\" + driver.name);
  }

  std::vector<std::wstring> forms;
  for (int f = std::uniform_int_distribution<int>(0, 3)(rng); f > 0; --f) {
    forms.push_back(L"Form " + std::to_wstring(f));
    m.spooler().AddForm(os::sim::SimForm{forms.back()});
  }
  if (chance(30)) m.spooler().AddForm(os::sim::SimForm{L"Letter", os::spool::kFormBuiltin});

  const int printerCount = std::uniform_int_distribution<int>(1, 7)(rng);
  for (int p = 0; p < printerCount; ++p) {
    Printer printer;
    std::wstring share = PrinterName(rng, p);
    printer.connection = chance(30);
    printer.name = printer.connection ? L"\\\\srv" + std::to_wstring(p % 2) + L"\\" + share : share;
    bool taken = false;
    for (const auto& other : w.printers) taken = taken || base::EqualsIgnoreCase(other.name, printer.name);
    if (taken) continue;
    printer.driver = w.drivers[std::uniform_int_distribution<std::size_t>(0, w.drivers.size() - 1)(rng)].first;

    os::sim::SimPrinter spec;
    spec.name = printer.name;
    spec.driverName = printer.driver;
    if (printer.connection) spec.serverName = L"\\\\srv" + std::to_wstring(p % 2);
    if (!printer.connection && chance(60)) {
      // A hardware ID that ends in one of the spooler's own folders must not
      // make them look like this printer's.
      static const std::vector<std::wstring> kIds = {L"3", L"PCC", L"Color", L"Model" + std::to_wstring(p)};
      const std::wstring id = kIds[std::uniform_int_distribution<std::size_t>(0, kIds.size() - 1)(rng)];
      spec.hardwareId = L"USBPRINT\\" + id;
      if (id.rfind(L"Model", 0) == 0) addFile(Owner::Printer, printer.name, kX64 + id + L"\\model.gpd");
    }
    if (!printer.connection) {
      for (const auto& form : forms) {
        if (chance(40)) spec.media.push_back(form);
      }
    }
    m.spooler().AddPrinter(spec);
    w.printers.push_back(printer);

    // A key name holds no backslash: Windows keeps a connection's data under
    // its name with commas, as it names its temporary files.
    const std::wstring searchName =
        printer.connection ? L",,srv" + std::to_wstring(p % 2) + L"," + share : share;
    addKey(Owner::Printer, printer.name, L"HKCU\\Printers\\Settings\\Printers\\" + searchName, true);
    addValue(Owner::Printer, printer.name, L"HKCU\\Printers\\Settings", printer.name);
    addKey(Owner::Printer, printer.name, L"HKLM\\Software\\NVL\\Quellix\\printers\\" + searchName);
    addValue(Owner::Bystander, L"", L"HKCU\\Printers\\Settings", printer.name + L"2");
    addKey(Owner::Bystander, L"", L"HKLM\\Software\\NVL\\Quellix\\printers\\" + searchName + L" Old");
    if (FileNameAllowed(searchName)) {
      addFile(Owner::Printer, printer.name, kUserTemp + searchName + L".tmp");
      addFile(Owner::Printer, printer.name, kWindowsTemp + searchName + L".tmp");
    }
    // What the printer's name would reach if its wildcards or a dropped
    // trailing character counted.
    std::wstring literal;
    for (wchar_t c : searchName) {
      if (c != L'<' && c != L'>' && c != L'"' && c != L'*' && c != L'?') literal += c;
    }
    while (!literal.empty() && (literal.back() == L' ' || literal.back() == L'.')) literal.pop_back();
    if (FileNameAllowed(literal + L"2") && literal != searchName) {
      addFile(Owner::Bystander, L"", kUserTemp + literal + L"2.tmp");
      addFile(Owner::Bystander, L"", kUserTemp + literal + L".tmp");
    }
  }
  // What a whole machine holds besides: a bystander file, the last driver
  // the wizard used, a watermark, and now and then the companion process or
  // a service that depends on the Spooler.
  addFile(Owner::Bystander, L"", kWindowsTemp + L"unrelated.tmp");
  if (chance(20)) m.registry().SetString(L"HKCU\\Printers\\Settings\\Wizard", L"Driver Name", w.drivers[0].first);
  if (chance(30)) m.registry().SetString(L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark\\Mark", L"Text", L"DRAFT");
  if (chance(30)) m.Apply(R"({"processes": [{"pid": 4242, "name": "Quellix.exe"}]})");
  if (chance(20)) m.Apply(R"({"services": [{"name": "Fax", "dependsOn": ["Spooler"], "stopDelayMs": 200}]})");

  // Files and keys may have been named twice (two printers on one stem): an
  // artefact's owners are all of its labels, so a bystander label on a path a
  // printer owns is dropped.
  std::vector<Artefact> kept;
  for (const auto& a : w.artefacts) {
    const bool ownedElsewhere = a.owner == Owner::Bystander &&
        std::any_of(w.artefacts.begin(), w.artefacts.end(), [&](const Artefact& b) {
          return b.owner != Owner::Bystander && b.isFile == a.isFile && base::EqualsIgnoreCase(b.path, a.path) &&
                 base::EqualsIgnoreCase(b.valueName, a.valueName);
        });
    if (!ownedElsewhere) kept.push_back(a);
  }
  w.artefacts = std::move(kept);

  // Failures and faults at random boundary calls, a few times each.
  using os::sim::Op;
  static const std::vector<Op> kOperations = {
      Op::SpoolerDeletePrinter, Op::SpoolerDeleteConnection, Op::SpoolerDeleteDriver, Op::SpoolerDeleteDriverPackage,
      Op::SpoolerOpen,          Op::SpoolerForms,            Op::SpoolerRemoveForm,   Op::SpoolerDrivers,
      Op::RegistryOpenKey,      Op::RegistryQueryValue,      Op::RegistryDeleteTree,  Op::RegistryDeleteValue,
      Op::RegistryEnumKey,      Op::FilesFind,               Op::FilesDelete,         Op::FilesSetAttributes,
      Op::ServicesControl,      Op::ServicesStart,           Op::ServicesQueryState,  Op::ProcessesSnapshot};
  static const std::vector<os::Status> kErrors = {5, 2, 6, 32, 87, 1797, 1801, 1287, 1061};
  const int injections = std::uniform_int_distribution<int>(0, 4)(rng);
  for (int i = 0; i < injections; ++i) {
    const Op op = kOperations[std::uniform_int_distribution<std::size_t>(0, kOperations.size() - 1)(rng)];
    const int times = std::uniform_int_distribution<int>(1, 3)(rng);
    // Faults only where the program guards: inside the spooler's calls.
    const bool fault = os::sim::NameOf(op).rfind("Spooler.", 0) == 0 && chance(30);
    const os::Status error = kErrors[std::uniform_int_distribution<std::size_t>(0, kErrors.size() - 1)(rng)];
    w.injections.push_back(os::sim::Injection{op, {}, fault ? 0 : error, fault, times});
  }
  return w;
}

}  // namespace soak
