#pragma once
// The main dialog's controls in memory, behind the same port the dialog
// gives the engine. Like the real list boxes, both lists keep their items
// sorted by text, ignoring case.
#include <algorithm>
#include <string>
#include <vector>

#include "base/WideText.h"
#include "ui/PrinterListPort.h"

namespace engine {

class FakeDialog final : public ui::PrinterListPort {
 public:
  bool deleteAll = false;

  bool DeleteAllDriversChecked() override { return deleteAll; }
  int PrinterItemCount() override { return static_cast<int>(items_.size()); }
  bool IsPrinterItemChosen(int index) override { return items_.at(index).checked; }
  std::wstring PrinterItemText(int index) override { return items_.at(index).text; }
  void ClearPrinterItems() override { items_.clear(); }
  void AddPrinterItem(const std::wstring& text) override { items_.insert(SortedPosition(items_, text), Item{text, false}); }
  void SetPrinterItemChecked(int index, bool checked) override { items_.at(index).checked = checked; }
  void AddDeletedPrinter(const std::wstring& name) override {
    deleted_.insert(SortedPosition(deleted_, name), Item{name, false});
  }

  // What the user does and sees.
  void Check(const std::wstring& printerName) {
    for (auto& item : items_) {
      if (item.text == L" " + printerName) item.checked = true;
    }
  }
  void CheckAll() {
    for (auto& item : items_) item.checked = true;
  }
  std::vector<std::wstring> ItemTexts() const { return Texts(items_); }
  std::vector<std::wstring> DeletedList() const { return Texts(deleted_); }

 private:
  struct Item {
    std::wstring text;
    bool checked;
  };
  static std::vector<Item>::iterator SortedPosition(std::vector<Item>& list, const std::wstring& text) {
    return std::upper_bound(list.begin(), list.end(), text, [](const std::wstring& t, const Item& item) {
      return base::CompareIgnoreCase(t, item.text) < 0;
    });
  }
  static std::vector<std::wstring> Texts(const std::vector<Item>& list) {
    std::vector<std::wstring> out;
    for (const auto& i : list) out.push_back(i.text);
    return out;
  }
  std::vector<Item> items_;
  std::vector<Item> deleted_;
};

}  // namespace engine
