#pragma once
// TessalyCmd's logic on a simulated workstation: each scenario states a
// machine image and a command line, and checks what was printed, what the
// machine looks like afterwards and the exit code.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/Utf.h"
#include "console/CommandLine.h"
#include "console/Output.h"
#include "tests/sysaccess/SimScenario.h"

namespace console {

class CapturedOutput final : public Output {
 public:
  void Line(const std::wstring& text) override { lines.push_back(text); }
  void Error(const std::wstring& text) override { errors.push_back(text); }
  std::vector<std::wstring> lines;
  std::vector<std::wstring> errors;

  bool Printed(const std::wstring& part) const { return Has(lines, part); }
  bool Complained(const std::wstring& part) const { return Has(errors, part); }

 private:
  static bool Has(const std::vector<std::wstring>& texts, const std::wstring& part) {
    for (const auto& t : texts) {
      if (t.find(part) != std::wstring::npos) return true;
    }
    return false;
  }
};

class ConsoleFixture : public scenario::SimScenario {
 protected:
  void Load(const std::string& image) { Given(image); }
  void TearDown() override {
    SimScenario::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  int Run(std::vector<std::wstring> arguments) {
    out_ = CapturedOutput{};
    os::System system = machine_->system();
    Host host{L"3.3.0.21", L"WORKSTATION", [] { return std::string("2026-12-07T11:00:00Z"); }};
    return RunCommandLine(arguments, system, out_, host);
  }

  // A report path in a fresh folder of this test's own.
  std::wstring ReportPath(const std::string& name = "report.json") {
    if (dir_.empty()) {
      dir_ = std::filesystem::temp_directory_path() /
             ("tessalycmd-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
      std::filesystem::create_directories(dir_);
    }
    return base::Utf8ToWide((dir_ / name).string());
  }
  static nlohmann::json ReadReport(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(base::WideToUtf8(path)));
    std::stringstream text;
    text << in.rdbuf();
    return nlohmann::json::parse(text.str());
  }

  // The journal's effects on the machine, without counting or prompts.
  std::vector<std::string> MachineEffects() const {
    return Effects({"registry.", "files.", "spooler.", "services.", "processes."});
  }
  // Whether an entry of a report's list has every field of want.
  static bool Holds(const nlohmann::json& list, const nlohmann::json& want) {
    for (const auto& entry : list) {
      bool all = true;
      for (const auto& [field, value] : want.items()) all = all && entry.contains(field) && entry[field] == value;
      if (all) return true;
    }
    return false;
  }
  static std::vector<std::string> ReportEffects(const nlohmann::json& report) {
    std::vector<std::string> out;
    for (const auto& e : report["effects"]) out.push_back(e.get<std::string>());
    return out;
  }

  bool PrinterStillThere(const wchar_t* name) { return machine_->spooler().FindPrinter(name) != nullptr; }

  CapturedOutput out_;
  std::filesystem::path dir_;
};

}  // namespace console
