// What "Delete the Selected Printers" refuses before a run, on the simulated
// machine: queued jobs are seen here although Wine never reports any.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/DeletionEngine.h"
#include "os/sim/SimMachine.h"
#include "tests/engine/FakeDialog.h"
#include "ui/DeleteCommand.h"

namespace ui {
namespace {

// The engine's dialog and the selection rules' view over the same lists.
class Dialog final : public SelectionView {
 public:
  explicit Dialog(engine::FakeDialog& lists) : lists_(lists) {}
  int PrinterItemCount() override { return lists_.PrinterItemCount(); }
  bool IsItemFullyChecked(int index) override { return lists_.IsPrinterItemChosen(index); }
  void SetPrinterItemChecked(int index, bool checked) override { lists_.SetPrinterItemChecked(index, checked); }
  bool IsDeleteAllChecked() override { return false; }
  void SetDeleteAllChecked(bool) override {}
  int ShowMessage(const std::wstring& text, std::uint32_t style) override {
    shown.push_back(text);
    styles.push_back(style);
    return 1;
  }
  std::vector<std::wstring> shown;
  std::vector<std::uint32_t> styles;

 private:
  engine::FakeDialog& lists_;
};

class DeleteCommandTest : public ::testing::Test {
 protected:
  void Given(const std::string& printers) {
    machine_ = os::sim::SimMachine::FromImage(R"({"base": "workstation", "spooler": {
      "drivers": [{"name": "Office Laser PS"}], "printers": )" + printers + "}}");
    sys_ = std::make_unique<sysaccess::SystemAccess>(machine_->system());
    engine_ = std::make_unique<engine::DeletionEngine>(*sys_, lists_, texts_);
    ASSERT_EQ(engine_->RefillPrinterList(), 0);
  }
  void TearDown() override {
    if (HasFailure() && machine_) std::cerr << machine_->Dump();
  }

  res::EnglishTexts texts_;
  engine::FakeDialog lists_;
  Dialog view_{lists_};
  std::unique_ptr<os::sim::SimMachine> machine_;
  std::unique_ptr<sysaccess::SystemAccess> sys_;
  std::unique_ptr<engine::DeletionEngine> engine_;
};

TEST_F(DeleteCommandTest, NothingCheckedIsRefusedFirstThenAJobOnAnyListedPrinterBlocksTheRun) {
  Given(R"([{"name": "zeta", "driver": "Office Laser PS", "jobs": 3},
            {"name": "100% Draft %s", "driver": "Office Laser PS", "jobs": [7]},
            {"name": "Back Office", "driver": "Office Laser PS"}])");
  machine_->gate().ResetCounts();
  EXPECT_EQ(CheckBeforeDeletion(view_, *engine_, texts_), DeleteCheck::NothingSelected);
  EXPECT_EQ(view_.shown, std::vector<std::wstring>{L"No Printer has been selected for deletion, please select it."});
  EXPECT_EQ(view_.styles, std::vector<std::uint32_t>{0u});
  EXPECT_EQ(machine_->gate().calls(os::sim::Op::SpoolerOpen), 0u) << "no printer is asked about its jobs";

  // The run restarts the Spooler, which would lose the jobs, so an
  // unchecked printer's queue counts as much as a checked one's. Each is
  // named in list order, as text and not as a format.
  lists_.Check(L"Back Office");
  EXPECT_EQ(CheckBeforeDeletion(view_, *engine_, texts_), DeleteCheck::JobsQueued);
  ASSERT_EQ(view_.shown.size(), 2u);
  EXPECT_EQ(view_.shown[1],
            L"The following Printers cannot be deleted, because they still have Print Jobs queued to them.\n\n"
            L"-> 100% Draft %s\n\n-> zeta\n\n");
  EXPECT_EQ(view_.styles[1], 0x10u);
  EXPECT_EQ(machine_->spooler().Printers(os::spool::kEnumLocal).value.size(), 3u);
}

TEST_F(DeleteCommandTest, WithoutJobsTheRunMayStartSilently) {
  Given(R"([{"name": "Front Desk", "driver": "Office Laser PS"}, {"name": "Back Office", "driver": "Office Laser PS"}])");
  lists_.Check(L"Front Desk");
  EXPECT_EQ(CheckBeforeDeletion(view_, *engine_, texts_), DeleteCheck::Start);
  EXPECT_TRUE(view_.shown.empty());
}

}  // namespace
}  // namespace ui
