#pragma once
// What a deletion run and the printer list need from a front end, in the
// engine's words: which printers are chosen, whether every driver goes, and
// where the printer list and each deleted printer are shown. The dialog
// answers from its controls (ui/PrinterListPort.h), the console program from
// its command line; tests implement it in memory.
#include <string>
#include <vector>

namespace engine {

class DialogPort {
 public:
  virtual ~DialogPort() = default;

  // A delete-all run: every driver goes and the global sweeps run.
  virtual bool AllDriversGo() = 0;
  // The exact names of the printers chosen for this run. A name the engine
  // does not know is ignored; one named twice is chosen once.
  virtual std::vector<std::wstring> ChosenPrinters() = 0;
  // The exact names of the printers the front end lists (the queued-jobs
  // check covers every one of them, chosen or not).
  virtual std::vector<std::wstring> ListedPrinters() = 0;
  // The printers were read again: these are installed now, none chosen.
  virtual void ShowPrinters(const std::vector<std::wstring>& names) = 0;
  // The spooler deleted this printer.
  virtual void PrinterDeleted(const std::wstring& name) = 0;
};

}  // namespace engine
