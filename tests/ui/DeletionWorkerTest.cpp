// The worker thread's work as the dialog depends on it: whatever the run
// does, the dialog hears once that it has ended, and only after the run.
#include <gtest/gtest.h>

#include <new>

#include "tests/engine/EngineFixture.h"
#include "ui/DeletionWorker.h"

namespace ui {
namespace {

// Two printers on one driver: deleting one asks about the other.
constexpr const char* kLobbies = R"({
  "base": "workstation",
  "spooler": {
    "drivers": [{"name": "Shared", "dataFile": "SHARED.PPD"}],
    "printers": [{"name": "Lobby North", "driver": "Shared"}, {"name": "Lobby South", "driver": "Shared"}]
  }
})";

using DeletionWorkerTest = engine::EngineFixture;

TEST_F(DeletionWorkerTest, TheEndIsReportedOnceAfterTheRunAndAlsoWhenTheRunThrows) {
  Load(kLobbies);
  dialog_.Check(L"Lobby North");
  machine_->prompts().Answer(6);  // Yes: both printers and their driver go
  int reports = 0;
  bool deletedBeforeReport = false;
  RunDeletionThenReport(*engine_, [&] {
    ++reports;
    deletedBeforeReport = !PrinterExists(L"Lobby North") && !PrinterExists(L"Lobby South");
  });
  EXPECT_EQ(reports, 1);
  EXPECT_TRUE(deletedBeforeReport) << "the end was reported before the run had deleted the printers";

  // The run throws out of its question (memory ran out while it was asked):
  // the dialog, disabled for the run, must still hear that it has ended.
  Load(kLobbies);
  dialog_.Check(L"Lobby North");
  machine_->prompts().SetResponder([](const os::sim::PromptRecord&) -> int { throw std::bad_alloc(); });
  reports = 0;
  EXPECT_NO_THROW(RunDeletionThenReport(*engine_, [&] { ++reports; }));
  EXPECT_EQ(reports, 1) << "a run that threw left the dialog waiting for ever";
}

}  // namespace
}  // namespace ui
