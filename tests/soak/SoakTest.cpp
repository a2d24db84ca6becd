// Runs on generated workstations with hostile names, random selections,
// random answers and random failures and faults at the OS boundary. Every
// artefact is labelled with its owner when it is made; the oracle judges a
// run from those labels alone, never from the engine's rules:
//   - a bystander (named like something of a printer or driver, but no
//     printer's or driver's) is never touched;
//   - what belongs to a printer that is still installed afterwards is intact,
//     and so is what belongs to a data file or driver such a printer uses;
//   - the Spooler runs afterwards if it ran before;
//   - a checked printer still installed is reported, unless a question about
//     the driver was not answered Yes (No keeps a printer by design);
//   - the run ends (the virtual clock bounds every wait).
// TESSALY_SOAK_RUNS sets how many runs (500 by default), TESSALY_SOAK_SEED
// replays one; a failing run prints its seed and its machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/Utf.h"
#include "base/WideText.h"
#include "engine/DeletionEngine.h"
#include "os/sim/SimMachine.h"
#include "res/Texts.h"
#include "tests/engine/FakeDialog.h"

namespace soak {
namespace {

enum class Owner { Bystander, Printer, Stem, Driver };

struct Artefact {
  Owner owner;
  std::wstring ownerName;  // printer name, upper-cased stem or driver name
  bool isFile = false;
  std::wstring path;       // file or key path
  std::wstring valueName;  // a value of the key, when not empty
  bool sweptByDeleteAll = false;
};

const std::wstring kUserTemp = L"C:\\Users\\Admin\\AppData\\Local\\Temp\\";
const std::wstring kWindowsTemp = L"C:\\Windows\\Temp\\";
const std::wstring kX64 = L"C:\\Windows\\system32\\spool\\drivers\\x64\\";
const std::wstring kX86 = L"C:\\Windows\\system32\\spool\\drivers\\W32X86\\";

struct Printer {
  std::wstring name;
  std::wstring driver;
  bool connection = false;
};

struct Workstation {
  std::unique_ptr<os::sim::SimMachine> machine;
  std::vector<Printer> printers;
  std::vector<std::pair<std::wstring, std::wstring>> drivers;  // name, upper-cased stem ("" when unusable)
  std::vector<Artefact> artefacts;
  std::vector<os::sim::Injection> injections;  // applied once the list is filled
};

// Names a printer may really have, hostile ones among them: DOS wildcards,
// a trailing dot or blank, characters beyond the BMP, long names, names that
// are the start of another's.
std::wstring PrinterName(std::mt19937& rng, int index) {
  static const std::vector<std::wstring> kHostile = {
      L"Lab <2>", L"Lab ?", L"Lab *", L"Lab 2.", L"Lab 2 ", L"Lab \"2\"", L"Lab", L"Büro \U0001F5A8 Drucker",
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
    if (chance(50)) driver.infPath = L"C:\\Windows\\INF\\drv" + std::to_wstring(d) + L".inf";
    m.spooler().AddDriver(driver);
    if (!driver.infPath.empty()) m.spooler().AddPackage(driver.infPath);
    if (chance(30)) {
      driver.environment = L"Windows NT x86";
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

std::uint32_t SoakRuns() {
  const char* runs = std::getenv("TESSALY_SOAK_RUNS");
  return runs ? static_cast<std::uint32_t>(std::strtoul(runs, nullptr, 10)) : 500u;
}

std::string Describe(const Workstation& w) {
  std::string out;
  for (const auto& i : w.injections) {
    out += (i.fault ? "  fault " : "  fail ") + std::string(os::sim::NameOf(i.operation)) + (i.fault ? "" : " " + std::to_string(i.error)) + " x" +
           std::to_string(i.remaining) + "\n";
  }
  return out;
}

bool Intact(os::sim::SimMachine& m, const Artefact& a) {
  if (a.isFile) return m.files().Exists(a.path);
  if (a.valueName.empty()) return m.registry().KeyExists(a.path);
  return m.registry().GetValue(a.path, a.valueName).has_value();
}

// One run and its verdict: empty when the oracle has nothing to say.
std::vector<std::string> RunAndJudge(std::uint32_t seed, std::string& image, std::string& injected) {
  Workstation w = Generate(seed);
  auto& m = *w.machine;
  image = m.Dump();
  injected = Describe(w);
  std::mt19937 rng(seed ^ 0x5EEDu);

  sysaccess::SystemAccess sys(m.system());
  engine::FakeDialog dialog;
  res::EnglishTexts texts;
  engine::DeletionEngine engine(sys, dialog, texts);
  engine.RefillPrinterList();  // as the user saw it, before anything fails
  std::vector<std::wstring> checked;
  for (const auto& p : w.printers) {
    if (std::uniform_int_distribution<int>(0, 1)(rng)) {
      dialog.Check(p.name);
      checked.push_back(p.name);
    }
  }
  dialog.deleteAll = std::uniform_int_distribution<int>(0, 5)(rng) == 0;
  bool answeredOtherThanYes = false;
  m.prompts().SetResponder([&](const os::sim::PromptRecord& box) {
    if ((box.style & 0xF) != os::mb::kYesNo) return os::mb::kIdOk;
    const int answer = std::uniform_int_distribution<int>(0, 1)(rng) ? os::mb::kIdYes : os::mb::kIdNo;
    if (answer != os::mb::kIdYes) answeredOtherThanYes = true;
    return answer;
  });
  const bool spoolerRanBefore = m.services().StateOf(L"Spooler") == os::svc::kRunning;
  for (const auto& i : w.injections) m.Inject(i);
  const std::uint64_t sleptBefore = m.clock().totalSlept();

  // As in the program: the run's thread asks for faults as exceptions first.
  std::thread worker([&] {
    m.system().faults.InstallTranslatorOnThisThread();
    engine.RunDeletion();
  });
  worker.join();
  m.gate().ClearInjections();

  std::vector<std::string> verdict;
  auto installed = [&](const std::wstring& name) { return m.spooler().FindPrinter(name) != nullptr; };
  std::vector<std::wstring> stayingDrivers, stayingStems;
  for (const auto& p : w.printers) {
    if (!installed(p.name)) continue;
    stayingDrivers.push_back(p.driver);
    for (const auto& [driver, stem] : w.drivers) {
      if (driver == p.driver && !stem.empty()) stayingStems.push_back(stem);
    }
  }
  auto among = [](const std::vector<std::wstring>& list, const std::wstring& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  for (const auto& a : w.artefacts) {
    bool mustStay = false;
    switch (a.owner) {
      case Owner::Bystander: mustStay = true; break;
      case Owner::Printer: mustStay = installed(a.ownerName) && !(dialog.deleteAll && a.sweptByDeleteAll); break;
      case Owner::Stem: mustStay = among(stayingStems, a.ownerName); break;
      case Owner::Driver: mustStay = among(stayingDrivers, a.ownerName); break;
    }
    if (mustStay && !Intact(m, a)) {
      static const char* kOwners[] = {"a bystander", "a printer that stays", "a data file in use", "a driver in use"};
      verdict.push_back(std::string("gone, though it belongs to ") + kOwners[static_cast<int>(a.owner)] + ": " +
                        base::WideToUtf8(a.path) + (a.valueName.empty() ? "" : " : " + base::WideToUtf8(a.valueName)));
    }
  }
  // The bounded waits: a few restarts of ten seconds each at most.
  if (m.clock().totalSlept() - sleptBefore > 120'000) {
    verdict.push_back("waited " + std::to_string(m.clock().totalSlept() - sleptBefore) + " ms");
  }
  const bool startBrokenForGood = std::any_of(w.injections.begin(), w.injections.end(), [](const auto& i) {
    return i.operation == os::sim::Op::ServicesStart || i.operation == os::sim::Op::ServicesQueryState;
  });
  if (spoolerRanBefore && !startBrokenForGood && m.services().StateOf(L"Spooler") != os::svc::kRunning) {
    verdict.push_back("the Spooler was left in state " + std::to_string(m.services().StateOf(L"Spooler")));
  }
  if (!answeredOtherThanYes) {
    for (const auto& name : checked) {
      if (!installed(name)) continue;
      const auto& reported = engine.printersNotDeleted();
      const bool said = std::any_of(reported.begin(), reported.end(), [&](const auto& r) { return r.printerName == name; });
      if (!said) verdict.push_back("checked, still installed and not reported: " + base::WideToUtf8(name));
    }
  }
  if (!verdict.empty()) {
    for (const auto& line : m.gate().journal()) verdict.push_back("  did: " + base::WideToUtf8(line));
    verdict.push_back(std::string("  delete all: ") + (dialog.deleteAll ? "yes" : "no"));
  }
  return verdict;
}

TEST(Soak, NoRunTouchesWhatItWasNotAskedToDeleteOnHostileMachines) {
  std::uint32_t first = 1, runs = SoakRuns();
  if (const char* seed = std::getenv("TESSALY_SOAK_SEED")) {
    first = static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10));
    runs = 1;
  }
  const auto started = std::chrono::steady_clock::now();
  int failed = 0;
  for (std::uint32_t seed = first; seed < first + runs; ++seed) {
    std::string image, injected;
    const auto verdict = RunAndJudge(seed, image, injected);
    if (verdict.empty()) continue;
    ++failed;
    std::string text;
    for (const auto& v : verdict) text += "  " + v + "\n";
    ADD_FAILURE() << "seed " << seed << " (replay: TESSALY_SOAK_SEED=" << seed << ")\n"
                  << text << "injected:\n" << injected << "machine before the run:\n" << image;
    if (failed >= 3) break;  // the first few say enough
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("soak: %u runs, %d failed, %.0f runs per second\n", runs, failed, seconds > 0 ? runs / seconds : 0.0);
}

}  // namespace
}  // namespace soak
