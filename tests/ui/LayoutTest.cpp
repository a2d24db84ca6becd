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

TEST(LayoutTest, CollapsedTheButtonsStandJustBelowThePlusButton) {
  const Layout l = ComputeLayout(Measured(), false);
  EXPECT_EQ(l.clientHeight, 262 + 23 + 20);
  EXPECT_EQ(l.windowHeight, l.clientHeight + 29);
  EXPECT_EQ(l.windowWidth, 297);
  EXPECT_EQ(l.buttonTop - 262, 10);                       // 10 pixels below "+"
  EXPECT_EQ(l.clientHeight - (l.buttonTop + 23), 10);    // and 10 above the edge
  EXPECT_EQ(l.buttonHeight, 23);
  EXPECT_FALSE(l.showDeletedList);
  EXPECT_STREQ(l.expandText, L"+");
}

TEST(LayoutTest, ExpandingAddsTheListsHeightAndTwentyAndCollapsingRestoresIt) {
  const Layout collapsed = ComputeLayout(Measured(), false);
  const Layout expanded = ComputeLayout(Measured(), true);
  EXPECT_EQ(expanded.windowHeight - collapsed.windowHeight, 137 + 20);
  EXPECT_EQ(expanded.clientHeight - (expanded.buttonTop + 23), 10);
  EXPECT_TRUE(expanded.showDeletedList);
  EXPECT_STREQ(expanded.expandText, L"-");
  const Layout again = ComputeLayout(Measured(), false);
  EXPECT_EQ(again.windowHeight, collapsed.windowHeight);
  EXPECT_EQ(again.buttonTop, collapsed.buttonTop);
}

TEST(LayoutTest, BothButtonsTakeTheAboutButtonsHeight) {
  LayoutMeasures m = Measured();
  m.aboutHeight = 30;  // e.g. a taller About button in a translation
  m.exitHeight = 23;
  const Layout l = ComputeLayout(m, false);
  // The client height follows Exit, the buttons' top and height follow About.
  EXPECT_EQ(l.clientHeight, 262 + 23 + 20);
  EXPECT_EQ(l.buttonTop, l.clientHeight - 30 - 10);
  EXPECT_EQ(l.buttonHeight, 30);
}

}  // namespace
}  // namespace ui
