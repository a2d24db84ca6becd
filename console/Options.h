#pragma once
// The command line of TessalyCmd.exe. Options are case-insensitive and start
// with '/' or '-'; every other argument is a printer name, taken exactly.
#include <string>
#include <vector>

namespace console {

enum class Command { Help, List, Delete, All };

struct Request {
  Command command = Command::Help;
  std::vector<std::wstring> printerNames;  // /delete, in the order given
  bool json = false;                       // /list /json
  bool deleteSharedDrivers = false;        // /shared:delete
  bool plan = false;
  bool quiet = false;
  bool yes = false;
  std::wstring reportPath;  // /report:FILE; empty for none
};

struct ParsedCommandLine {
  bool ok = false;
  Request request;
  std::wstring error;  // why the command line is refused
};

// The arguments after the program's own name.
ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// The text of /?: synopsis, options and exit codes.
std::wstring UsageText();

}  // namespace console
