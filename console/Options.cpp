#include "console/Options.h"

#include "base/WideText.h"

namespace console {
namespace {

bool IsOption(const std::wstring& argument) {
  return argument.size() > 1 && (argument.front() == L'/' || argument.front() == L'-');
}

ParsedCommandLine Refuse(std::wstring why) {
  ParsedCommandLine parsed;
  parsed.error = std::move(why);
  return parsed;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
  ParsedCommandLine parsed;
  Request& r = parsed.request;
  bool commandSeen = false;
  bool sharedSeen = false;
  bool reportSeen = false;
  std::vector<std::wstring> runOptions;  // given, for the check against the command
  const auto setCommand = [&](Command c) -> bool {
    if (commandSeen) return false;
    commandSeen = true;
    r.command = c;
    return true;
  };

  for (const auto& argument : arguments) {
    if (!IsOption(argument)) {
      if (!commandSeen || r.command != Command::Delete) {
        return Refuse(L"Unexpected argument \"" + argument + L"\": printer names follow /delete.");
      }
      r.printerNames.push_back(argument);
      continue;
    }
    const std::wstring option = base::Upcase(argument.substr(1));
    if (option == L"?" || option == L"HELP") {
      if (!setCommand(Command::Help)) return Refuse(L"Only one of /list, /delete, /all and /? may be given.");
    } else if (option == L"LIST") {
      if (!setCommand(Command::List)) return Refuse(L"Only one of /list, /delete, /all and /? may be given.");
    } else if (option == L"DELETE") {
      if (!setCommand(Command::Delete)) return Refuse(L"Only one of /list, /delete, /all and /? may be given.");
    } else if (option == L"ALL") {
      if (!setCommand(Command::All)) return Refuse(L"Only one of /list, /delete, /all and /? may be given.");
    } else if (option == L"JSON") {
      r.json = true;
    } else if (option == L"PLAN") {
      r.plan = true;
      runOptions.push_back(L"/plan");
    } else if (option == L"QUIET") {
      r.quiet = true;
      runOptions.push_back(L"/quiet");
    } else if (option == L"YES") {
      r.yes = true;
      runOptions.push_back(L"/yes");
    } else if (option.rfind(L"SHARED:", 0) == 0) {
      if (sharedSeen) return Refuse(L"/shared may be given once.");
      sharedSeen = true;
      const std::wstring value = option.substr(7);
      if (value == L"DELETE") r.deleteSharedDrivers = true;
      else if (value != L"KEEP") return Refuse(L"/shared takes keep or delete, not \"" + argument.substr(8) + L"\".");
    } else if (option.rfind(L"REPORT:", 0) == 0) {
      if (reportSeen) return Refuse(L"/report may be given once.");
      reportSeen = true;
      // The file name keeps its case: only the option's own name ignores it.
      r.reportPath = argument.substr(8);
      if (r.reportPath.empty()) return Refuse(L"/report needs a file name: /report:FILE.");
      runOptions.push_back(L"/report");
    } else {
      return Refuse(L"Unknown option \"" + argument + L"\".");
    }
  }

  if (!commandSeen) return Refuse(L"Give one of /list, /delete, /all or /?.");
  const bool run = r.command == Command::Delete || r.command == Command::All;
  if (r.json && r.command != Command::List) return Refuse(L"/json goes with /list only.");
  if (!run && !runOptions.empty()) return Refuse(runOptions.front() + L" goes with /delete or /all only.");
  if (sharedSeen && r.command != Command::Delete) return Refuse(L"/shared goes with /delete only.");
  if (r.command == Command::Delete && r.printerNames.empty()) return Refuse(L"/delete needs at least one printer name.");
  parsed.ok = true;
  return parsed;
}

std::wstring UsageText() {
  return L"TessalyCmd: removes printers with their drivers, forms and leftovers, unattended.\n"
         L"\n"
         L"  TessalyCmd /list [/json]\n"
         L"  TessalyCmd /delete NAME [NAME ...] [/shared:keep|delete] [/plan] [/report:FILE] [/quiet] [/yes]\n"
         L"  TessalyCmd /all [/plan] [/report:FILE] [/quiet] [/yes]\n"
         L"  TessalyCmd /?\n"
         L"\n"
         L"  /list            every printer: name, local or connection (with its server), driver, queued jobs\n"
         L"  /json            the list as a JSON array\n"
         L"  /delete NAME...  deletes these printers (exact names) and what only they use\n"
         L"  /all             deletes every printer, every driver, and sweeps what printing left behind\n"
         L"  /shared:delete   a driver whose data file a printer that stays also uses goes too, with\n"
         L"                   that printer (default /shared:keep: both stay)\n"
         L"  /plan            shows what the run would do, in order, and changes nothing\n"
         L"  /report:FILE     writes what was done (or planned) as JSON to FILE\n"
         L"  /quiet           prints only errors and the summary\n"
         L"  /yes             needed for a real run\n"
         L"\n"
         L"Options ignore case and may start with / or -.\n"
         L"\n"
         L"Exit codes:\n"
         L"  0  everything asked for was done (or planned)\n"
         L"  1  something asked for could not be done, or the report could not be written\n"
         L"  2  usage error, unknown printer name, or a real run without /yes\n"
         L"  3  not permitted: not elevated, the service database cannot be locked\n"
         L"  4  refused: a printer has queued jobs\n";
}

}  // namespace console
