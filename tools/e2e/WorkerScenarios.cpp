// The worker thread's edges, with a run held open at its question: the
// question in front of the dialog, a message from outside that looks like
// the end of the run, and the end of the message loop before the run ends.
#include "tools/e2e/Scenario.h"

namespace e2e {
namespace {

// Two printers on one driver: deleting one asks whether the driver may go,
// and the run waits for the answer on its worker thread.
constexpr char kLobbies[] = R"({
  "spooler": {
    "drivers": [{"name": "Tessaly E2E Shared", "dataFile": "E2ESHRD.PPD"}],
    "printers": [{"name": "Lobby North", "driver": "Tessaly E2E Shared"},
                 {"name": "Lobby South", "driver": "Tessaly E2E Shared"}]
  }
})";

const std::wstring kSharedQuestion =
    L"Deleting driver: Tessaly E2E Shared will affect driver: Tessaly E2E Shared. Do you wish to continue?";

bool RunControlsDisabled(TessalyUnderTest& program) {
  for (int id : {IDC_PRINTER_LIST, IDC_DELETE, IDOK, IDC_DELETE_ALL}) {
    if (IsWindowEnabled(program.Control(id))) return false;
  }
  return true;
}

bool RunControlsEnabled(TessalyUnderTest& program) {
  for (int id : {IDC_PRINTER_LIST, IDC_DELETE, IDOK, IDC_DELETE_ALL}) {
    if (!IsWindowEnabled(program.Control(id))) return false;
  }
  return true;
}

class WorkerScenario : public Scenario {
 protected:
  // Lobby North checked and deleted: the run stops at the question about
  // Lobby South. The question's window, or null.
  HWND StartRunHeldAtQuestion() {
    Seed(kLobbies);
    Start();
    if (!OpenMainDialog()) return nullptr;
    program().ClickCheckBox(0);
    ClickCentre(program().Control(IDC_DELETE));
    HWND question = program().WaitForMessageBox(30s);
    if (question && program().MessageText(question) != kSharedQuestion) return nullptr;
    return question;
  }
};

TEST_F(WorkerScenario, TheWorkersQuestionComesToTheFrontOfTheDialog) {
  HWND question = StartRunHeldAtQuestion();
  ASSERT_NE(question, nullptr) << "the run asked nothing";
  // Seen before anything of the driver's touches the windows: the box has no
  // owner, so nothing but its own style keeps it above the dialog, whose
  // controls are grey while the run waits.
  const bool inFront = WaitUntil([&] { return GetForegroundWindow() == question; }, 5s);
  program().Screenshot(L"21-question-in-front");
  EXPECT_TRUE(inFront) << "the question is not the foreground window";
  EXPECT_EQ(GetWindow(question, GW_OWNER), nullptr) << "the question must stay ownerless";
  EXPECT_TRUE(IsWindowEnabled(program().MainDialog())) << "the dialog stays usable behind the question";

  ASSERT_TRUE(program().Answer(kSharedQuestion, IDNO)) << program().failure;
  EXPECT_TRUE(WaitUntil([&] { return RunControlsEnabled(program()); }, 90s)) << "the run did not end";
}

TEST_F(WorkerScenario, AQuestionThatWouldOpenBehindTheDialogComesToTheFront) {
  GTEST_SKIP() << "Wine cannot show a worker's box opening behind the dialog: its MessageBoxW ignores "
                  "MB_SETFOREGROUND (and MB_TOPMOST), and every window it shows activated becomes the "
                  "foreground window whichever thread or process held it, with no foreground lock. So the "
                  "question is in front with or without the style (the scenario above checks it is), and "
                  "the style's effect is Windows' own.";
}

TEST_F(WorkerScenario, TheDialogManagersSetDefaultButtonMessageIsNotTheEndOfTheRun) {
  HWND question = StartRunHeldAtQuestion();
  ASSERT_NE(question, nullptr) << "the run asked nothing";
  HWND dialog = program().MainDialog();
  ASSERT_TRUE(RunControlsDisabled(program()));

  // DM_SETDEFID, which any program may send to a dialog, while the worker
  // still reads the check list.
  SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
  EXPECT_TRUE(RunControlsDisabled(program())) << "the run's controls came back during the run";
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{1, 0})) << "the list was refilled under the worker";
  // The message reached the dialog manager, which now names Exit as default.
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
  SendMessageW(dialog, DM_SETDEFID, IDC_ABOUT, 0);

  ASSERT_TRUE(program().Answer(kSharedQuestion, IDNO)) << program().failure;
  EXPECT_TRUE(WaitUntil([&] { return RunControlsEnabled(program()); }, 90s)) << "the run did not end";
  EXPECT_EQ(InstalledPrinters().size(), 2u) << "No keeps the printer whose driver another one uses";
}

TEST_F(WorkerScenario, AQuitMessageDuringARunEndsTheProgramOnlyAfterTheRun) {
  HWND question = StartRunHeldAtQuestion();
  ASSERT_NE(question, nullptr) << "the run asked nothing";
  HWND dialog = program().MainDialog();

  // The message loop of the dialog's thread ends while the worker waits for
  // the answer; the dialog, its controls and its engine must outlive it.
  const DWORD dialogThread = GetWindowThreadProcessId(dialog, nullptr);
  ASSERT_TRUE(PostThreadMessageW(dialogThread, WM_QUIT, 0, 0));
  EXPECT_FALSE(program().Ended(1500ms)) << "the program ended under its worker";
  ASSERT_TRUE(IsShown(question)) << "the question went away unanswered";
  EXPECT_TRUE(IsWindow(dialog)) << "the dialog was destroyed under its worker";

  // Yes: both printers go, and the run restarts the Spooler service.
  ASSERT_TRUE(program().Answer(kSharedQuestion, IDYES, L"22-answered-after-quit")) << program().failure;
  EXPECT_TRUE(program().Ended(90s)) << "the quit was lost: the program goes on after the run";
  EXPECT_FALSE(Contains(InstalledPrinters(), L"Lobby North"));
  EXPECT_FALSE(Contains(InstalledPrinters(), L"Lobby South"));
  EXPECT_TRUE(ServiceRunning(L"Spooler")) << "the run ended with the Spooler service stopped";
}

TEST_F(WorkerScenario, AFailingMessageLoopDuringARunEndsTheProgramOnlyAfterTheRun) {
  GTEST_SKIP() << "GetMessageW fails only for a bad window handle or message range among its own arguments, "
                  "and the dialog's loop passes none, so no program can make it fail from outside. The loop "
                  "ends there as it ends on WM_QUIT, into the same wait for the worker that the quit "
                  "scenario above proves.";
}

}  // namespace
}  // namespace e2e
