#pragma once
// What a deletion run and the printer list see of the main dialog: the
// delete-all flag, the printer check list and the deleted-printers list. The
// Windows dialog implements it with SendMessageW to its controls, so a call
// made on the worker thread runs on the dialog's thread while the worker
// waits; tests implement it in memory.
#include <string>

namespace engine {

class DialogPort {
 public:
  virtual ~DialogPort() = default;

  // m_bDeleteAllDrivers, as the data exchange read it before the run.
  virtual bool DeleteAllDrivers() = 0;

  // The printer check list (control 1000). Positions are those of the list,
  // which sorts its items itself.
  virtual int PrinterItemCount() = 0;                               // LB_GETCOUNT
  virtual bool IsPrinterItemChecked(int index) = 0;                 // check state other than unchecked
  virtual std::wstring PrinterItemText(int index) = 0;              // LB_GETTEXTLEN + LB_GETTEXT
  virtual void ClearPrinterItems() = 0;                             // LB_RESETCONTENT
  virtual void AddPrinterItem(const std::wstring& text) = 0;        // LB_ADDSTRING
  virtual void SetPrinterItemChecked(int index, bool checked) = 0;  // CCheckListBox::SetCheck

  // The list "List of Deleted Printer Drivers" (control 1004).
  virtual void AddDeletedPrinter(const std::wstring& name) = 0;  // LB_ADDSTRING
};

}  // namespace engine
