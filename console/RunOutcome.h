#pragma once
// What a run (or its plan) came to, printer by printer and driver by driver,
// from the engine's decisions and the recorded effects. The progress lines,
// the summary, the exit code and the report all read it.
#include <map>
#include <string>
#include <vector>

#include "console/ConsolePrompts.h"
#include "console/Options.h"
#include "os/Status.h"
#include "os/record/RecordingSystem.h"

namespace console {

struct PrinterOutcome {
  std::wstring name;
  std::wstring serverName;  // empty for a local printer
  std::wstring driverName;
  bool chosen = false;
  bool deleted = false;
  // "deleted", "not chosen", "answer No", "spooler refused", "brought in by /shared:delete"
  std::wstring outcome;
  os::Status status = os::error::kSuccess;  // the spooler's refusal
  std::wstring message;                     // the system's text for it
};

struct DriverOutcome {
  std::wstring name;
  std::wstring environment;
  std::wstring outcome;  // "deleted", "not installed", "refused", "kept: used by a printer that stays"
  os::Status status = os::error::kSuccess;
  std::wstring message;
};

struct FormOutcome {
  std::wstring name;
  std::wstring outcome;  // "deleted", "kept: built in", "kept: named by a printer that stays", "kept: the spooler refused", "not tried"
  os::Status status = os::error::kSuccess;
};

struct RunOutcome {
  bool planned = false;
  std::vector<PrinterOutcome> printers;
  std::vector<DriverOutcome> drivers;
  std::vector<FormOutcome> forms;
  std::vector<os::record::Effect> effects;
  std::vector<PromptAnswered> answers;
  std::map<os::Status, std::wstring> messages;  // the system's text for every status met
  // Files, keys and values the system refused to delete, and Spooler
  // restarts it refused: each counts as a failure.
  std::vector<os::record::Effect> leftoversFailed;
  int failures = 0;  // printers and drivers asked for that the spooler kept, and the above
};

}  // namespace console
