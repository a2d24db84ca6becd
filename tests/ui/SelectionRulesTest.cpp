// The printer check list and the "Delete All Printer Drivers" box, as the
// user meets them: what each click changes and what it says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/StringIds.h"
#include "ui/SelectionRules.h"

namespace ui {
namespace {

struct Shown {
  std::wstring text;
  std::uint32_t style;
};

class FakeSelection final : public SelectionView {
 public:
  explicit FakeSelection(std::vector<bool> items, bool box = false) : items(std::move(items)), box(box) {}
  int PrinterItemCount() override { return static_cast<int>(items.size()); }
  bool IsItemFullyChecked(int index) override { return items.at(index); }
  void SetPrinterItemChecked(int index, bool checked) override { items.at(index) = checked; }
  bool IsDeleteAllChecked() override { return box; }
  void SetDeleteAllChecked(bool checked) override { box = checked; }
  int ShowMessage(const std::wstring& text, std::uint32_t style) override {
    shown.push_back({text, style});
    return answer;
  }
  // The user's click on an item's box, and on the box itself.
  void ToggleItem(int index, const res::Texts& texts) {
    items.at(index) = !items.at(index);
    ApplyCheckChange(*this, texts);
  }
  void ClickBox(const res::Texts& texts) {
    box = !box;
    ApplyDeleteAllClicked(*this, texts);
  }

  std::vector<bool> items;
  bool box;
  std::vector<Shown> shown;
  int answer = 1;  // IDOK
};

const res::EnglishTexts kTexts;

TEST(SelectionRulesTest, CheckingEveryPrinterOnlySuggestsTheBoxAndLeavingOneOutClearsItSilently) {
  FakeSelection view({true, false, true});
  view.ToggleItem(1, kTexts);
  ASSERT_EQ(view.shown.size(), 1u);
  EXPECT_EQ(view.shown[0].text,
            L"In case all the Installed Printers need to be deleted, please check the box - Delete All Printer Drivers");
  EXPECT_EQ(view.shown[0].style, 0u);
  EXPECT_FALSE(view.box);
  EXPECT_EQ(view.items, (std::vector<bool>{true, true, true}));

  view.box = true;
  view.ToggleItem(2, kTexts);
  EXPECT_FALSE(view.box);
  // Other changes with the box clear say nothing and change nothing else.
  view.ToggleItem(0, kTexts);
  view.ToggleItem(0, kTexts);
  EXPECT_EQ(view.shown.size(), 1u);
  EXPECT_EQ(view.items, (std::vector<bool>{true, true, false}));

  // A single printer is every printer.
  FakeSelection one({false});
  one.ToggleItem(0, kTexts);
  EXPECT_EQ(one.shown.size(), 1u);
}

TEST(SelectionRulesTest, TheBoxWarnsAndThenChecksEveryPrinterOrNothingChanges) {
  FakeSelection view({false, true, false});
  view.answer = 2;  // Cancel
  view.ClickBox(kTexts);
  ASSERT_EQ(view.shown.size(), 1u);
  EXPECT_EQ(view.shown[0].text,
            L"Please note that ALL Printer Drivers will be deleted from the system. Click OK to continue.");
  EXPECT_EQ(view.shown[0].style, 0x111u);  // OK and Cancel, error icon, Cancel the default
  EXPECT_FALSE(view.box);
  EXPECT_EQ(view.items, (std::vector<bool>{false, true, false}));

  // MessageBoxW answers 0 when it cannot show itself: a warning nobody saw
  // arms nothing, the box goes back as after Cancel.
  view.answer = 0;
  view.ClickBox(kTexts);
  ASSERT_EQ(view.shown.size(), 2u);
  EXPECT_FALSE(view.box);
  EXPECT_EQ(view.items, (std::vector<bool>{false, true, false}));

  // Only OK arms the box.
  view.answer = 1;  // IDOK
  view.ClickBox(kTexts);
  EXPECT_TRUE(view.box);
  EXPECT_EQ(view.items, (std::vector<bool>{true, true, true}));

  // Unchecking the box unchecks every printer, without a word.
  view.ClickBox(kTexts);
  EXPECT_FALSE(view.box);
  EXPECT_EQ(view.items, (std::vector<bool>{false, false, false}));
  EXPECT_EQ(view.shown.size(), 3u);
}

}  // namespace
}  // namespace ui
