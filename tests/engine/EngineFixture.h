#pragma once
// A simulated workstation, the engine on it and the dialog in memory: each
// scenario states a machine image and what the user does, and checks what is
// gone, what stays, which questions were asked and in which order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Utf.h"
#include "engine/DeletionEngine.h"
#include "os/sim/SimMachine.h"
#include "res/Texts.h"
#include "tests/engine/FakeDialog.h"

namespace engine {

class EngineFixture : public ::testing::Test {
 protected:
  void Load(const std::string& image) {
    machine_ = os::sim::SimMachine::FromImage(image, "scenario");
    sys_ = std::make_unique<sysaccess::SystemAccess>(machine_->system());
    engine_ = std::make_unique<DeletionEngine>(*sys_, dialog_, texts_);
    refill_ = engine_->RefillPrinterList();
    machine_->gate().ClearJournal();
  }
  void TearDown() override {
    if (HasFailure() && machine_) std::cerr << machine_->Dump();
  }

  // The journal lines that start with one of the prefixes, in order.
  std::vector<std::string> Effects(std::initializer_list<const char*> prefixes) const {
    std::vector<std::string> out;
    for (const auto& line : machine_->gate().journal()) {
      const std::string text = base::WideToUtf8(line);
      for (const char* p : prefixes) {
        if (text.rfind(p, 0) == 0) {
          out.push_back(text);
          break;
        }
      }
    }
    return out;
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
  bool KeyExists(const std::wstring& path) { return machine_->registry().KeyExists(path); }
  bool FileExists(const std::wstring& path) { return machine_->files().Exists(path); }

  std::unique_ptr<os::sim::SimMachine> machine_;
  std::unique_ptr<sysaccess::SystemAccess> sys_;
  FakeDialog dialog_;
  res::EnglishTexts texts_;
  std::unique_ptr<DeletionEngine> engine_;
  int refill_ = -1;
};

}  // namespace engine
