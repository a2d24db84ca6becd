#pragma once
// A simulated workstation, the engine on it and the dialog in memory: each
// scenario states a machine image and what the user does, and checks what is
// gone, what stays, which questions were asked and in which order.
#include <memory>
#include <string>
#include <vector>

#include "engine/DeletionEngine.h"
#include "res/Texts.h"
#include "tests/engine/FakeDialog.h"
#include "tests/sysaccess/SimScenario.h"

namespace engine {

class EngineFixture : public scenario::SimScenario {
 protected:
  void Load(const std::string& image) {
    Given(image);
    engine_ = std::make_unique<DeletionEngine>(*sys_, dialog_, texts_);
    refill_ = engine_->RefillPrinterList();
    machine_->gate().ClearJournal();
  }
  // Each expected prefix is found in the journal, after the one before it.
  ::testing::AssertionResult InOrder(std::initializer_list<const char*> expected) const {
    const auto& journal = machine_->gate().journal();
    size_t at = 0;
    for (const char* e : expected) {
      while (at < journal.size() && base::WideToUtf8(journal[at]).rfind(e, 0) != 0) ++at;
      if (at == journal.size()) return ::testing::AssertionFailure() << "missing or out of order: " << e;
      ++at;
    }
    return ::testing::AssertionSuccess();
  }
  std::vector<std::wstring> Questions() const {
    std::vector<std::wstring> out;
    for (const auto& p : machine_->prompts().log()) out.push_back(p.text);
    return out;
  }
  bool PrinterExists(const wchar_t* name) { return machine_->spooler().FindPrinter(name) != nullptr; }
  bool DriverExists(const wchar_t* name, const wchar_t* env = L"Windows x64") {
    for (const auto& d : machine_->spooler().drivers()) {
      if (d.name == name && d.environment == env) return true;
    }
    return false;
  }
  bool FormExists(const wchar_t* name) {
    for (const auto& f : machine_->spooler().forms()) {
      if (f.name == name) return true;
    }
    return false;
  }

  FakeDialog dialog_;
  res::EnglishTexts texts_;
  std::unique_ptr<DeletionEngine> engine_;
  int refill_ = -1;
};

}  // namespace engine
