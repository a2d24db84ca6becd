#pragma once
// The engine's port answered from the dialog's controls: the printer check
// list (items " " + name, sorted by the list itself), the "Delete All Printer
// Drivers" box as the data exchange read it, and the deleted-printers list.
// The Windows dialog supplies the control calls (SendMessageW, so a call from
// the worker thread runs on the dialog's thread); tests supply them in memory.
#include <string>
#include <vector>

#include "engine/DialogPort.h"

namespace ui {

class PrinterListPort : public engine::DialogPort {
 public:
  bool AllDriversGo() final;
  std::vector<std::wstring> ChosenPrinters() final;
  std::vector<std::wstring> ListedPrinters() final;
  void ShowPrinters(const std::vector<std::wstring>& names) final;
  void PrinterDeleted(const std::wstring& name) final;

  // The controls.
  virtual bool DeleteAllDriversChecked() = 0;                       // m_bDeleteAllDrivers
  virtual int PrinterItemCount() = 0;                               // LB_GETCOUNT
  virtual bool IsPrinterItemChosen(int index) = 0;                  // check state other than unchecked
  virtual std::wstring PrinterItemText(int index) = 0;              // LB_GETTEXTLEN + LB_GETTEXT
  virtual void ClearPrinterItems() = 0;                             // LB_RESETCONTENT
  virtual void AddPrinterItem(const std::wstring& text) = 0;        // LB_ADDSTRING
  virtual void SetPrinterItemChecked(int index, bool checked) = 0;  // CCheckListBox::SetCheck
  virtual void AddDeletedPrinter(const std::wstring& name) = 0;     // LB_ADDSTRING (control 1004)

 private:
  std::wstring NameAt(int index);
};

}  // namespace ui
