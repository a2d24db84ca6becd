// The check list and the printer table, and the queued-jobs check.
#include <thread>

#include "tests/engine/EngineFixture.h"

namespace engine {
namespace {

using PrinterListTest = EngineFixture;

TEST_F(PrinterListTest, NoPrintersGiveAnEmptyListAndOnlyConnectionsNoFormPrinter) {
  Load(R"({"base": "workstation"})");
  EXPECT_EQ(refill_, kRefillFoundNoPrinters);
  EXPECT_EQ(dialog_.PrinterItemCount(), 0);
  Load(R"({"base": "workstation", "spooler": {"drivers": [{"name": "D"}],
           "printers": [{"name": "\\\\srv\\lp", "server": "\\\\srv", "driver": "D"}]}})");
  EXPECT_EQ(refill_, 0);
  EXPECT_EQ(engine_->formPrinterName(), L"");
}

TEST_F(PrinterListTest, AFaultInsideTheSpoolerWhileListingLeavesTheListEmptyInsteadOfEndingTheProgram) {
  Load(R"({"base": "workstation", "spooler": {"drivers": [{"name": "D"}], "printers": [{"name": "Zeta", "driver": "D"}]}})");
  machine_->FaultOn(os::sim::Op::SpoolerPrinters);
  int refill = -1;
  std::thread ui([&] {
    machine_->system().faults.InstallTranslatorOnThisThread();
    refill = engine_->RefillPrinterList();
  });
  ui.join();
  EXPECT_EQ(refill, kRefillFoundNoPrinters);
  EXPECT_EQ(dialog_.PrinterItemCount(), 0);
}

TEST_F(PrinterListTest, TheFormPrinterIsChosenAgainOnceItIsGone) {
  Load(R"({"base": "workstation", "spooler": {"drivers": [{"name": "A", "dataFile": "A.PPD"}, {"name": "B", "dataFile": "B.PPD"}],
    "printers": [{"name": "First", "driver": "A"}, {"name": "Second", "driver": "B"}],
    "forms": [{"name": "Label"}]}})");
  dialog_.Check(L"First");
  engine_->RunDeletion();
  engine_->RefillPrinterList();
  EXPECT_EQ(engine_->formPrinterName(), L"Second");
  // A later run of the same session still sees the forms.
  dialog_.Check(L"Second");
  engine_->RunDeletion();
  EXPECT_FALSE(FormExists(L"Label"));
}

TEST_F(PrinterListTest, ANameThatBeginsWithABlankOrIsVeryLongStaysSelectable) {
  const std::wstring longName(259, L'L');
  Load(R"({"base": "workstation", "spooler": {"drivers": [{"name": "D"}], "printers": [
    {"name": " Lobby", "driver": "D"}, {"name": ")" + base::WideToUtf8(longName) + R"(", "driver": "D"},
    {"name": ")" + base::WideToUtf8(longName + L"M") + R"(", "driver": "D"},
    {"name": ")" + base::WideToUtf8(longName.substr(0, 254)) + R"(", "driver": "D"}]}})");
  EXPECT_EQ(dialog_.PrinterItemCount(), 3) << "a name that does not fit a record is not listed, and the next one is";
  EXPECT_EQ(dialog_.PrinterItemText(0), L"  Lobby");
  dialog_.Check(L" Lobby");
  dialog_.Check(longName);
  engine_->RunDeletion();
  EXPECT_FALSE(PrinterExists(L" Lobby"));
  EXPECT_FALSE(PrinterExists(longName.c_str()));
  EXPECT_TRUE(PrinterExists(longName.substr(0, 254).c_str())) << "a shorter name is another printer";
}

}  // namespace
}  // namespace engine
