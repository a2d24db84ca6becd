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
#include "tests/soak/GeneratedWorkstation.h"

namespace soak {
namespace {

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
