// TessalyCmd.exe under Wine: started as a deployment tool starts it, with
// its output captured and its exit code checked every time; no window of
// its own may ever appear. The machine is checked through the real APIs.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "base/Utf.h"
#include "tools/e2e/Scenario.h"

namespace e2e {
namespace {

struct CmdResult {
  DWORD exitCode = 0xFFFFFFFF;
  std::wstring out;
  std::wstring err;
  bool windowSeen = false;
  std::wstring failure;
};

std::wstring ReadText(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return base::Utf8ToWide(text.str());
}

std::wstring TempFile(const std::wstring& name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"tessalycmd-" + name;
}

// Runs TessalyCmd.exe with the arguments (each quoted), output redirected
// to files as a scheduler or a remoting session would, and watches for any
// window of the process until it ends.
CmdResult RunCmd(const std::vector<std::wstring>& arguments) {
  CmdResult r;
  const std::wstring exe = ProgramFolder() + L"TessalyCmd.exe";
  std::wstring commandLine = L"\"" + exe + L"\"";
  for (const auto& a : arguments) commandLine += L" \"" + a + L"\"";
  // New files for every run: under Wine the handles of a process that has
  // just ended may still be open for a moment, and reusing a name would
  // read the previous run's output.
  static int runs = 0;
  ++runs;
  const std::wstring outPath = TempFile(L"out-" + std::to_wstring(runs) + L".txt");
  const std::wstring errPath = TempFile(L"err-" + std::to_wstring(runs) + L".txt");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
    r.failure = L"the output files could not be created: error " + std::to_wstring(GetLastError());
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
    return r;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &info)) {
    r.failure = L"TessalyCmd.exe did not start: error " + std::to_wstring(GetLastError());
  } else {
    // A run stops and starts the Spooler service: give it time.
    for (int waited = 0; waited < 120000; waited += 50) {
      if (!TopLevelWindows(info.dwProcessId).empty()) r.windowSeen = true;
      if (WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    if (WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) {
      r.failure = L"TessalyCmd.exe did not end";
      TerminateProcess(info.hProcess, 99);
      WaitForSingleObject(info.hProcess, 5000);
    }
    GetExitCodeProcess(info.hProcess, &r.exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  r.out = ReadText(outPath);
  r.err = ReadText(errPath);
  return r;
}

nlohmann::json ReadReport(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return nlohmann::json::parse(text.str(), nullptr, false);
}

std::string Narrow(const std::wstring& text) { return base::WideToUtf8(text); }

// What the suite checks of the machine before and after: what kTwoOffices
// seeds and a run could take away.
std::vector<std::string> MachineState() {
  std::vector<std::string> state;
  for (const auto& p : InstalledPrinters()) state.push_back("printer " + Narrow(p));
  for (const auto& d : InstalledDrivers(L"Windows x64")) state.push_back("driver " + Narrow(d));
  for (const wchar_t* key : {L"Printers\\Settings\\Printers\\Office Color", L"Printers\\Settings\\Printers\\Office Laser",
                             L"Software\\NVL\\Job Properties\\Driver\\E2ECOLR",
                             L"Software\\NVL\\Job Properties\\Driver\\E2ELASR"}) {
    if (RegistryKeyExists(HKEY_CURRENT_USER, key)) state.push_back("key " + Narrow(key));
  }
  for (const wchar_t* value : {L"Office Color", L"Office Laser"}) {
    if (RegistryValueExists(HKEY_CURRENT_USER, L"Printers\\Settings", value)) state.push_back("value " + Narrow(value));
  }
  for (const wchar_t* file : {L"C:\\Tessaly E2E\\Temp\\E2ELASR.wmk", L"C:\\Tessaly E2E\\Temp\\E2ECOLR.wmk"}) {
    if (FileExists(file)) state.push_back("file " + Narrow(file));
  }
  return state;
}

// A report's effects without what Wine answers differently from the
// Windows the plan reads: DeletePrinterDriverExW refuses the unused-files
// flag with 87 (the run then retries without it, a second line for the same
// driver), and answers a driver that is not installed with 0 or 87 instead
// of 1797. So driver deletions are compared by driver, once each, without
// their status; every other effect keeps its status.
std::vector<std::string> ComparableEffects(const nlohmann::json& report) {
  std::vector<std::string> out;
  for (const auto& e : report["effects"]) {
    std::string line = e.get<std::string>();
    if (line.rfind("spooler.DeleteDriver ", 0) == 0) {
      line = line.substr(0, line.rfind(" -> "));
      if (!out.empty() && out.back() == line) continue;
    }
    out.push_back(line);
  }
  return out;
}

// Wine's only user has the SID of the fixed account whose hive a delete-all
// run sweeps (HKEY_USERS\S-1-5-21-0-0-0-1000), so there that hive is
// HKEY_CURRENT_USER under a second name. A plan reads each root on its own:
// it cannot know that the per-user keys it planned to delete under
// HKEY_CURRENT_USER are the ones the sweep then finds under the SID, and
// plans them twice where the run finds them gone. On Windows the fixed
// account is another account.
std::vector<std::string> WithoutTheFixedAccountHive(std::vector<std::string> effects) {
  effects.erase(std::remove_if(effects.begin(), effects.end(),
                               [](const std::string& line) {
                                 return line.find(" HKEY_USERS\\S-1-5-21-0-0-0-1000\\") != std::string::npos;
                               }),
                effects.end());
  return effects;
}

using ConsoleScenario = Scenario;

TEST_F(ConsoleScenario, ListShowsEveryPrinterAndPrintsJsonOnRequest) {
  Seed(kTwoOffices);
  const CmdResult list = RunCmd({L"/list"});
  ASSERT_TRUE(list.failure.empty()) << Narrow(list.failure);
  EXPECT_EQ(list.exitCode, 0u) << Narrow(list.err);
  EXPECT_NE(list.out.find(L"Office Laser\tlocal\tTessaly E2E Laser\t0 jobs"), std::wstring::npos) << Narrow(list.out);
  EXPECT_NE(list.out.find(L"Office Color\tlocal\tTessaly E2E Color\t0 jobs"), std::wstring::npos) << Narrow(list.out);
  EXPECT_FALSE(list.windowSeen);

  const CmdResult json = RunCmd({L"-LIST", L"-Json"});
  EXPECT_EQ(json.exitCode, 0u);
  const auto parsed = nlohmann::json::parse(Narrow(json.out), nullptr, false);
  ASSERT_TRUE(parsed.is_array()) << Narrow(json.out);
  std::set<std::string> names;
  for (const auto& p : parsed) names.insert(p["name"].get<std::string>());
  EXPECT_TRUE(names.count("Office Laser") && names.count("Office Color")) << Narrow(json.out) << Narrow(json.err);
}

TEST_F(ConsoleScenario, APlanChangesNothingAndTheRealRunThenDoesWhatItPlanned) {
  Seed(kTwoOffices);
  const auto before = MachineState();
  const bool spoolerRan = ServiceRunning(L"Spooler");
  const std::wstring planPath = TempFile(L"plan.json");
  const CmdResult plan = RunCmd({L"/delete", L"Office Color", L"/plan", L"/report:" + planPath});
  ASSERT_TRUE(plan.failure.empty()) << Narrow(plan.failure);
  EXPECT_EQ(plan.exitCode, 0u) << Narrow(plan.err);
  EXPECT_NE(plan.out.find(L"Would delete printer Office Color"), std::wstring::npos) << Narrow(plan.out);
  EXPECT_NE(plan.out.find(L"nothing was changed"), std::wstring::npos);
  EXPECT_FALSE(plan.windowSeen);
  EXPECT_EQ(MachineState(), before) << "a plan changes nothing";
  EXPECT_EQ(ServiceRunning(L"Spooler"), spoolerRan) << "not even the Spooler's state";

  const std::wstring runPath = TempFile(L"run.json");
  const CmdResult run = RunCmd({L"/delete", L"Office Color", L"/yes", L"/report:" + runPath});
  ASSERT_TRUE(run.failure.empty()) << Narrow(run.failure);
  EXPECT_EQ(run.exitCode, 0u) << Narrow(run.err) << Narrow(run.out);
  EXPECT_FALSE(run.windowSeen);
  std::cout << "--- /plan output ---\n" << Narrow(plan.out) << "--- /yes output ---\n" << Narrow(run.out) << std::flush;

  const auto planned = ReadReport(planPath);
  const auto done = ReadReport(runPath);
  ASSERT_TRUE(planned.is_object() && done.is_object());
  EXPECT_EQ(planned["mode"], "plan");
  EXPECT_EQ(done["mode"], "run");
  EXPECT_EQ(planned["printers"], done["printers"]);
  EXPECT_EQ(ComparableEffects(planned), ComparableEffects(done));

  const auto after = MachineState();
  EXPECT_FALSE(Contains(InstalledPrinters(), L"Office Color"));
  EXPECT_TRUE(Contains(InstalledPrinters(), L"Office Laser"));
  EXPECT_FALSE(Contains(InstalledDrivers(L"Windows x64"), L"Tessaly E2E Color"));
  EXPECT_TRUE(Contains(InstalledDrivers(L"Windows x64"), L"Tessaly E2E Laser"));
  EXPECT_FALSE(FileExists(L"C:\\Tessaly E2E\\Temp\\E2ECOLR.wmk"));
  EXPECT_TRUE(FileExists(L"C:\\Tessaly E2E\\Temp\\E2ELASR.wmk"));
  EXPECT_TRUE(ServiceRunning(L"Spooler"));
}

TEST_F(ConsoleScenario, DeleteAllPlannedThenRunTakesEveryPrinterDriverAndLeftover) {
  Seed(kTwoOffices);
  const auto before = MachineState();
  const std::wstring planPath = TempFile(L"all-plan.json");
  const CmdResult plan = RunCmd({L"/all", L"/plan", L"/report:" + planPath});
  ASSERT_TRUE(plan.failure.empty()) << Narrow(plan.failure);
  EXPECT_EQ(plan.exitCode, 0u) << Narrow(plan.err);
  EXPECT_EQ(MachineState(), before) << "a plan changes nothing";

  const std::wstring runPath = TempFile(L"all-run.json");
  const CmdResult run = RunCmd({L"/ALL", L"-yes", L"/quiet", L"/report:" + runPath});
  ASSERT_TRUE(run.failure.empty()) << Narrow(run.failure);
  EXPECT_EQ(run.exitCode, 0u) << Narrow(run.err) << Narrow(run.out);
  EXPECT_FALSE(plan.windowSeen || run.windowSeen);
  // Quiet: the summary line and nothing else.
  EXPECT_EQ(run.out.rfind(L"Done: 2 printer(s) deleted, 0 kept, 2 driver(s) deleted, 0 failure(s).", 0), 0u)
      << Narrow(run.out);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), L'\n'), 1) << Narrow(run.out);
  std::cout << "--- /all /plan output ---\n" << Narrow(plan.out) << std::flush;

  EXPECT_EQ(MachineState(), std::vector<std::string>{}) << "every seeded printer, driver, key, value and file is gone";
  EXPECT_TRUE(ServiceRunning(L"Spooler"));
  const auto planned = ReadReport(planPath);
  const auto done = ReadReport(runPath);
  ASSERT_TRUE(planned.is_object() && done.is_object());
  EXPECT_EQ(done["request"]["command"], "all");
  EXPECT_EQ(done["exitCode"], 0);
  EXPECT_EQ(planned["printers"], done["printers"]);
  EXPECT_EQ(WithoutTheFixedAccountHive(ComparableEffects(planned)), WithoutTheFixedAccountHive(ComparableEffects(done)));
}

TEST_F(ConsoleScenario, RefusalsEndWithTheirCodesAndLeaveTheMachineAsItWas) {
  Seed(kTwoOffices);
  const auto before = MachineState();

  const CmdResult unknown = RunCmd({L"/delete", L"office color", L"/yes"});
  EXPECT_EQ(unknown.exitCode, 2u);
  EXPECT_NE(unknown.err.find(L"Unknown printer: office color"), std::wstring::npos) << Narrow(unknown.err);
  EXPECT_NE(unknown.err.find(L"Office Color"), std::wstring::npos) << "the known names are listed";

  const CmdResult noYes = RunCmd({L"/delete", L"Office Color"});
  EXPECT_EQ(noYes.exitCode, 2u);
  EXPECT_NE(noYes.err.find(L"/plan shows what would be done"), std::wstring::npos) << Narrow(noYes.err);

  const CmdResult usage = RunCmd({L"/delete"});
  EXPECT_EQ(usage.exitCode, 2u);

  const CmdResult unwritable = RunCmd({L"/all", L"/plan", L"/report:C:\\no such folder\\deeper\\report.json"});
  EXPECT_EQ(unwritable.exitCode, 1u);
  EXPECT_NE(unwritable.err.find(L"could not be written"), std::wstring::npos)
      << Narrow(unwritable.err) << " / " << Narrow(unwritable.out) << " / " << unwritable.exitCode;

  for (const auto* r : {&unknown, &noYes, &usage, &unwritable}) {
    EXPECT_TRUE(r->failure.empty()) << Narrow(r->failure);
    EXPECT_FALSE(r->windowSeen);
  }
  EXPECT_EQ(MachineState(), before);
}

TEST_F(ConsoleScenario, QueuedJobsRefuseTheRun) {
  GTEST_SKIP() << "EnumJobsW under Wine always reports no jobs, so exit code 4 is proved on the simulated machine "
                  "(TessalyCmd.QueuedJobsOnAnyListedPrinterRefuseTheRunWithFour)";
}

TEST_F(ConsoleScenario, WithoutTheServiceDatabaseLockItEndsWithThree) {
  GTEST_SKIP() << "Wine grants every process the service database lock, so exit code 3 is proved on the simulated "
                  "machine (TessalyCmd.WithoutTheRightToLockTheServiceDatabaseNothingRunsAndItEndsWithThree)";
}

}  // namespace
}  // namespace e2e
