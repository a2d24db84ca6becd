// The interface language chosen by the language setting file on drive E:.
#include "tools/e2e/Scenario.h"

namespace e2e {
namespace {

TEST_F(Scenario, ServerLangDeOnDriveEGivesTheGermanInterface) {
  ASSERT_NE(GetFileAttributesW(L"E:\\"), INVALID_FILE_ATTRIBUTES) << "the suite maps a folder as drive E:";
  Seed(R"({
    "files": {"E:\\nvl\\server\\lcdstr\\current.lang": {"content": "[server]\r\nserverlang=de\r\n"}},
    "spooler": {
      "drivers": [{"name": "Tessaly E2E Laser", "dataFile": "E2ELASR.PPD"}],
      "printers": [{"name": "Buero Drucker", "driver": "Tessaly E2E Laser"}]
    }
  })");
  TessalyUnderTest& program = Start();
  ASSERT_TRUE(program.Answer(GermanText(1010), IDOK, L"14-german-close-applications")) << program.failure;
  HWND dialog = program.WaitForMainDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(program.Control(IDC_DELETE)), L"Ausgew\u00e4hlte Drucker l\u00f6schen");
  EXPECT_EQ(TextOf(program.Control(IDC_DELETE_ALL)), L"Alle Druckertreiber l\u00f6schen");
  EXPECT_EQ(TextOf(program.Control(IDOK)), L"Beenden");
  EXPECT_EQ(TextOf(program.Control(IDC_ABOUT)), L"Info");
  program.Screenshot(L"15-german-dialog");

  ClickCentre(program.Control(IDC_DELETE));
  ASSERT_TRUE(program.Answer(GermanText(147), IDOK, L"16-german-nothing-selected")) << program.failure;
}

}  // namespace
}  // namespace e2e
