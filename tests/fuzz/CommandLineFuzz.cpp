// The command line is whatever a deployment tool passes: any text. The
// parser must never crash, and what it accepts must hold together: a
// refusal says why, /delete has names, each option belongs to its command,
// and every name is one of the arguments, unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Utf.h"
#include "console/Options.h"
#include "tests/fuzz/Require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One argument per line, as UTF-8.
  std::vector<std::wstring> arguments;
  std::string current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      arguments.push_back(base::Utf8ToWide(current));
      current.clear();
    } else {
      current.push_back(static_cast<char>(data[i]));
    }
  }
  if (!current.empty()) arguments.push_back(base::Utf8ToWide(current));

  const console::ParsedCommandLine parsed = console::ParseCommandLine(arguments);
  Require(parsed.ok == parsed.error.empty());
  if (!parsed.ok) return 0;
  const console::Request& r = parsed.request;
  const bool run = r.command == console::Command::Delete || r.command == console::Command::All;
  Require(r.command != console::Command::Delete || !r.printerNames.empty());
  Require(r.command == console::Command::Delete || r.printerNames.empty());
  Require(!r.json || r.command == console::Command::List);
  Require(run || (!r.plan && !r.yes && !r.quiet && r.reportPath.empty()));
  Require(!r.deleteSharedDrivers || r.command == console::Command::Delete);
  for (const auto& name : r.printerNames) {
    Require(std::find(arguments.begin(), arguments.end(), name) != arguments.end());
  }
  return 0;
}
