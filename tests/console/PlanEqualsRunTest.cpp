// The plan is the run: over generated workstations, /plan changes nothing at
// all, and the real run that follows makes exactly the planned effects, item
// for item and in order, with the same outcomes and exit code. The machine's
// own journal is the oracle for what the run did.
#include <random>

#include "tests/console/ConsoleFixture.h"

namespace console {
namespace {

constexpr int kWorkstations = 240;

struct Workstation {
  std::string image;
  std::vector<std::wstring> arguments;  // without /plan, /yes and /report
};

// A workstation drawn from the seed: printers and connections, drivers that
// share data files and packages, forms the printers name, leftovers in the
// Temp folders and the registry, now and then a companion process or a
// service that depends on the Spooler; and what the administrator asks for.
Workstation Generate(unsigned seed) {
  std::mt19937 rng(seed);
  const auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::vector<std::string> stems = {"ALPHA", "BETA", "GAMMA", "DELTA"};
  const std::string userTemp = "C:\\Users\\Admin\\AppData\\Local\\Temp\\";
  const std::string windowsTemp = "C:\\Windows\\Temp\\";
  const std::string x64 = "C:\\Windows\\system32\\spool\\drivers\\x64\\";

  nlohmann::json image = {{"base", "workstation"}};
  nlohmann::json registry = nlohmann::json::object();
  nlohmann::json files = nlohmann::json::object();
  nlohmann::json drivers = nlohmann::json::array();
  nlohmann::json printers = nlohmann::json::array();
  nlohmann::json forms = nlohmann::json::array();
  nlohmann::json packages = nlohmann::json::array();

  const int driverCount = 1 + pick(5);
  std::vector<std::string> driverNames;
  for (int d = 0; d < driverCount; ++d) {
    const std::string name = "Driver " + std::to_string(d);
    const std::string stem = stems[pick(static_cast<int>(stems.size()))];
    driverNames.push_back(name);
    nlohmann::json driver = {{"name", name}, {"dataFile", stem + (chance(50) ? ".PPD" : ".GPD")}};
    if (chance(60)) {
      const std::string inf = "C:\\Windows\\INF\\pkg" + std::to_string(pick(3)) + ".inf";
      driver["infPath"] = inf;
      if (std::find(packages.begin(), packages.end(), inf) == packages.end()) packages.push_back(inf);
    }
    if (chance(50)) {
      const std::string dll = x64 + "3\\DRV" + std::to_string(d) + ".DLL";
      driver["driverPath"] = dll;
      driver["files"] = {dll};
    }
    drivers.push_back(driver);
    if (chance(30)) {
      nlohmann::json x86 = driver;
      x86["environment"] = "Windows NT x86";
      x86.erase("files");
      x86.erase("driverPath");
      drivers.push_back(x86);
    }
    files[userTemp + stem + ".wmk"] = chance(30) ? nlohmann::json{{"attributes", {"readonly"}}} : nlohmann::json::object();
    registry["HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\" + stem] = {{"Copies", "1"}};
    registry["HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\" + name] = nlohmann::json::object();
  }
  if (chance(20)) registry["HKEY_CURRENT_USER\\Printers\\Settings\\Wizard"] = {{"Driver Name", driverNames[0]}};
  // Reached through CurrentControlSet and again through the control set it
  // links to: the second deletion finds nothing.
  if (chance(30)) registry["HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark\\Mark"] = {{"Text", "DRAFT"}};

  const int formCount = pick(4);
  std::vector<std::string> formNames;
  for (int f = 0; f < formCount; ++f) {
    formNames.push_back("Form " + std::to_string(f));
    forms.push_back({{"name", formNames.back()}});
  }
  if (chance(30)) forms.push_back({{"name", "Letter"}, {"kind", "builtin"}});

  const int printerCount = pick(7);
  std::vector<std::wstring> printerNames;
  nlohmann::json settings = nlohmann::json::object();
  for (int p = 0; p < printerCount; ++p) {
    nlohmann::json printer = {{"driver", driverNames[pick(driverCount)]}};
    std::string name;
    std::string searchName;
    if (chance(30)) {
      const std::string server = "\\\\srv" + std::to_string(pick(3));
      name = server + "\\Share " + std::to_string(p);
      searchName = ",,srv" + server.substr(5) + ",Share " + std::to_string(p);
      printer["server"] = server;
    } else {
      name = "Printer " + std::to_string(p);
      searchName = name;
      if (chance(50)) {
        printer["hardwareId"] = "USBPRINT\\Maker-Model" + std::to_string(p);
        files[x64 + "Maker_Model" + std::to_string(p) + "\\model.gpd"] = nlohmann::json::object();
      }
      nlohmann::json media = nlohmann::json::array();
      for (const auto& form : formNames) {
        if (chance(40)) media.push_back(form);
      }
      if (!media.empty()) printer["media"] = media;
    }
    printer["name"] = name;
    printers.push_back(printer);
    printerNames.push_back(base::Utf8ToWide(name));
    registry["HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\" + name] = {{"DevMode", "x"}};
    settings[name] = "x";
    files[(chance(50) ? userTemp : windowsTemp) + searchName + ".tmp"] = nlohmann::json::object();
  }
  if (!settings.empty()) registry["HKEY_CURRENT_USER\\Printers\\Settings"] = settings;
  if (!settings.empty() && chance(30)) registry["HKEY_CURRENT_USER\\Printers\\DevModes2"] = settings;
  files[windowsTemp + "unrelated.tmp"] = nlohmann::json::object();

  image["registry"] = registry;
  image["files"] = files;
  image["spooler"] = {{"drivers", drivers}, {"printers", printers}, {"forms", forms}, {"packages", packages}};
  if (chance(30)) image["processes"] = {{{"pid", 4242}, {"name", "Quellix.exe"}}};
  if (chance(20)) {
    image["services"] = {{{"name", "Fax"}, {"displayName", "Fax"}, {"state", "running"}, {"dependsOn", {"Spooler"}},
                          {"stopDelayMs", 200}}};
  }

  Workstation w;
  w.image = image.dump();
  if (printerNames.empty() || chance(25)) {
    w.arguments = {L"/all"};
  } else {
    w.arguments = {L"/delete"};
    for (const auto& name : printerNames) {
      if (chance(50)) w.arguments.push_back(name);
    }
    if (w.arguments.size() == 1) w.arguments.push_back(printerNames[pick(static_cast<int>(printerNames.size()))]);
    if (chance(50)) w.arguments.push_back(L"/shared:delete");
  }
  if (chance(30)) w.arguments.push_back(L"/quiet");
  return w;
}

using PlanEqualsRun = ConsoleFixture;

TEST_F(PlanEqualsRun, OnGeneratedWorkstationsThePlanChangesNothingAndIsExactlyWhatTheRunDoes) {
  int withQuestions = 0;
  int withEffects = 0;
  int allRuns = 0;
  for (unsigned seed = 1; seed <= kWorkstations; ++seed) {
    SCOPED_TRACE("workstation " + std::to_string(seed));
    const Workstation w = Generate(seed);
    Load(w.image);
    const std::string before = machine_->SaveImage();

    const std::wstring planReport = ReportPath("plan-" + std::to_string(seed) + ".json");
    auto planArguments = w.arguments;
    planArguments.insert(planArguments.end(), {L"/plan", L"/report:" + planReport});
    const int planExit = Run(planArguments);
    ASSERT_TRUE(MachineEffects().empty()) << "the plan wrote to the machine: " << MachineEffects().front();
    ASSERT_EQ(machine_->SaveImage(), before) << w.image;

    const std::wstring runReport = ReportPath("run-" + std::to_string(seed) + ".json");
    auto runArguments = w.arguments;
    runArguments.insert(runArguments.end(), {L"/yes", L"/report:" + runReport});
    const int runExit = Run(runArguments);

    const auto plan = ReadReport(planReport);
    const auto run = ReadReport(runReport);
    const auto planned = ReportEffects(plan);
    const auto done = MachineEffects();
    ASSERT_EQ(planned, done) << w.image;
    ASSERT_EQ(ReportEffects(run), done) << "the run's report holds every effect";
    EXPECT_EQ(plan["printers"], run["printers"]) << w.image;
    EXPECT_EQ(plan["drivers"], run["drivers"]) << w.image;
    EXPECT_EQ(plan["answers"], run["answers"]) << w.image;
    EXPECT_EQ(planExit, runExit) << w.image;
    EXPECT_TRUE(machine_->prompts().log().empty()) << "no message box, ever";
    withQuestions += plan["answers"].empty() ? 0 : 1;
    withEffects += done.empty() ? 0 : 1;
    allRuns += w.arguments.front() == L"/all" ? 1 : 0;
  }
  // The generator reaches what the property is about.
  EXPECT_GT(withQuestions, kWorkstations / 20);
  EXPECT_GT(allRuns, kWorkstations / 10);
  EXPECT_EQ(withEffects, kWorkstations);
}

}  // namespace
}  // namespace console
