#include "ui/PrinterListPort.h"

#include "base/WideText.h"

namespace ui {

bool PrinterListPort::AllDriversGo() { return DeleteAllDriversChecked(); }

std::wstring PrinterListPort::NameAt(int index) {
  std::wstring text = PrinterItemText(index);
  // Only the one blank the list put there: a name may itself begin with one.
  if (!text.empty() && text.front() == L' ') text.erase(0, 1);
  return text;
}

std::vector<std::wstring> PrinterListPort::ChosenPrinters() {
  // The list sorts its items, so the engine matches them to its table by
  // name, never by position.
  std::vector<std::wstring> names;
  for (int item = 0; item < PrinterItemCount(); ++item) {
    if (IsPrinterItemChosen(item)) names.push_back(NameAt(item));
  }
  return names;
}

std::vector<std::wstring> PrinterListPort::ListedPrinters() {
  std::vector<std::wstring> names;
  for (int item = 0; item < PrinterItemCount(); ++item) names.push_back(NameAt(item));
  return names;
}

void PrinterListPort::ShowPrinters(const std::vector<std::wstring>& names) {
  ClearPrinterItems();
  for (std::size_t i = 0; i < names.size(); ++i) {
    // The whole name, however long: a shortened item text could never be
    // matched back to its printer, or could match another one.
    AddPrinterItem(base::FormatText(L" %s", {names[i]}));
    SetPrinterItemChecked(static_cast<int>(i), false);
  }
}

void PrinterListPort::PrinterDeleted(const std::wstring& name) { AddDeletedPrinter(name); }

}  // namespace ui
