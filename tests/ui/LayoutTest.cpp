// The dialog's collapsed and expanded layouts, from what the dialog measures.
#include <gtest/gtest.h>

#include "ui/Layout.h"

namespace ui {
namespace {

// A dialog as Windows measures it at 96 dpi: 8-point "MS Shell Dlg" makes
// a dialog unit 1.5 pixels across and 1.625 down.
LayoutMeasures Measured() {
  LayoutMeasures m;
  m.windowWidth = 297;
  m.nonClientHeight = 29;
  m.plusBottom = 262;  // (152 + 9) dialog units down
  m.aboutHeight = 23;
  m.exitHeight = 23;
  m.listHeight = 137;
  return m;
}

TEST(LayoutTest, CollapsedTheButtonsStandTenPixelsBelowPlusExpandingAddsTheListAndTwentyBothTakeAboutsHeight) {
  const Layout collapsed = ComputeLayout(Measured(), false);
  EXPECT_EQ(collapsed.buttonTop, 262 + 10);
  EXPECT_EQ(collapsed.clientHeight, collapsed.buttonTop + 23 + 10);
  EXPECT_EQ(collapsed.windowHeight, collapsed.clientHeight + 29);
  EXPECT_EQ(collapsed.windowWidth, 297);
  EXPECT_FALSE(collapsed.showDeletedList);
  EXPECT_STREQ(collapsed.expandText, L"+");

  const Layout expanded = ComputeLayout(Measured(), true);
  EXPECT_EQ(expanded.windowHeight - collapsed.windowHeight, 137 + 20);
  EXPECT_EQ(expanded.clientHeight - (expanded.buttonTop + 23), 10);
  EXPECT_TRUE(expanded.showDeletedList);
  EXPECT_STREQ(expanded.expandText, L"-");

  // A taller About button (a translation's, say): the client height follows
  // Exit, the buttons' top and height follow About.
  LayoutMeasures tallAbout = Measured();
  tallAbout.aboutHeight = 30;
  const Layout l = ComputeLayout(tallAbout, false);
  EXPECT_EQ(l.clientHeight, collapsed.clientHeight);
  EXPECT_EQ(l.buttonTop, l.clientHeight - 30 - 10);
  EXPECT_EQ(l.buttonHeight, 30);
}

}  // namespace
}  // namespace ui
