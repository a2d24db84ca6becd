// What the user meets first: the question to close other applications, and
// the message on a machine without printers.
#include "tools/e2e/Scenario.h"

namespace e2e {
namespace {

bool MainDialogShown(TessalyUnderTest& program) { return program.WaitForMainDialog(0ms) != nullptr; }

TEST_F(Scenario, TheFirstQuestionAsksToCloseApplicationsAndCancelEndsTheProgram) {
  Seed(kTwoOffices);
  TessalyUnderTest& program = Start();
  HWND box = program.WaitForMessageBox();
  ASSERT_NE(box, nullptr) << program.failure;
  EXPECT_FALSE(MainDialogShown(program)) << "the dialog must not be usable before the question is answered";
  ASSERT_TRUE(program.Answer(EnglishText(1010), IDCANCEL, L"01-start-close-applications")) << program.failure;
  EXPECT_TRUE(program.Ended()) << "Cancel must end the program";
  EXPECT_TRUE(Contains(InstalledPrinters(), L"Office Laser"));
  EXPECT_TRUE(Contains(InstalledPrinters(), L"Office Color"));
}

TEST_F(Scenario, WithoutPrintersTheOnlyThingShownIsTheMessage) {
  ASSERT_TRUE(InstalledPrinters().empty()) << "the suite's prefix must start without printers";
  TessalyUnderTest& program = Start();
  ASSERT_NE(program.WaitForMessageBox(), nullptr) << program.failure;
  EXPECT_FALSE(MainDialogShown(program));
  ASSERT_TRUE(program.Answer(L"There are no Printers installed on the system.", IDOK, L"02-no-printers"))
      << program.failure;
  EXPECT_TRUE(program.Ended());
}

}  // namespace
}  // namespace e2e
