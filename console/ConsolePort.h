#pragma once
// The engine's port for the console program: the printers come from the
// command line, and each deletion is a progress line.
#include <string>
#include <vector>

#include "console/Output.h"
#include "engine/DialogPort.h"

namespace console {

class ConsolePort final : public engine::DialogPort {
 public:
  ConsolePort(Output& out, bool quiet, bool plan) : out_(out), quiet_(quiet), plan_(plan) {}

  // The run to come: every listed printer, or these names.
  void ChooseAll() { all_ = true; }
  void Choose(std::vector<std::wstring> names) { chosen_ = std::move(names); }

  bool AllDriversGo() override { return all_; }
  std::vector<std::wstring> ChosenPrinters() override { return all_ ? listed_ : chosen_; }
  std::vector<std::wstring> ListedPrinters() override { return listed_; }
  void ShowPrinters(const std::vector<std::wstring>& names) override { listed_ = names; }
  void PrinterDeleted(const std::wstring& name) override {
    deleted_.push_back(name);
    if (!quiet_) out_.Line((plan_ ? L"Would delete printer " : L"Deleted printer ") + name);
  }

  const std::vector<std::wstring>& deleted() const { return deleted_; }

 private:
  Output& out_;
  bool quiet_;
  bool plan_;
  bool all_ = false;
  std::vector<std::wstring> chosen_;
  std::vector<std::wstring> listed_;
  std::vector<std::wstring> deleted_;
};

}  // namespace console
