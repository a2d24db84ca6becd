#pragma once
// What the decorated areas share: the recorded effects and, in Plan mode,
// what the recorded writes would have changed. Names are compared as
// Windows compares them, ignoring case.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "os/System.h"
#include "os/record/RecordingSystem.h"

namespace os::record {

struct PlanState {
  PlanState(System& system, Mode m) : inner(system), mode(m) {}

  System& inner;
  Mode mode;
  std::vector<Effect> effects;

  void Record(std::wstring_view what, std::wstring_view target, Status status) {
    effects.push_back(Effect{std::wstring(what), std::wstring(target), status});
  }
  bool planning() const { return mode == Mode::Plan; }

  // Registry, by canonical key path: upper case, CurrentControlSet named as
  // the control set it links to (a run deletes through both names).
  std::wstring controlSet;  // "CONTROLSET001"; read once
  std::set<std::wstring> goneKeys;
  std::set<std::wstring> goneValues;  // canonical key + L":" + upper-case value name
  std::wstring CanonicalKey(std::wstring_view label);
  bool KeyGone(const std::wstring& canonical) const;  // the key or one above it
  void RemoveKey(std::wstring_view label) { goneKeys.insert(CanonicalKey(label)); }
  void RemoveValue(std::wstring_view keyLabel, std::wstring_view name);
  bool ValueGone(const std::wstring& canonicalKey, std::wstring_view name) const;

  // Files, by upper-case full path.
  std::set<std::wstring> goneFiles;
  std::map<std::wstring, std::uint32_t> attributes;  // set by a recorded SetAttributes
  static std::wstring CanonicalPath(std::wstring_view path);
  bool FileGone(const std::wstring& canonical) const;  // the entry or a folder above it

  // Spooler.
  std::set<std::wstring> gonePrinters;  // upper-case names
  std::set<std::wstring> goneDrivers;   // upper-case "environment|name"
  std::set<std::wstring> goneForms;
  std::set<std::wstring> gonePackages;
  bool SpoolerAvailable();
  // The real printers, read once: nothing real changes during a plan. By
  // upper-case name, with the number of printers the plan leaves per driver.
  const std::map<std::wstring, PrinterInfo>* RealPrinters();
  std::map<std::wstring, int> driverUsers;  // by upper-case driver name
  void RemovePrinter(const PrinterInfo& printer);
  // The real drivers per upper-case environment, read once as the printers
  // are: the engine asks after every planned deletion, and a spooler lists
  // drivers slowly (Wine reads each one's registry values every time).
  std::map<std::wstring, std::vector<DriverInfo>> realDrivers;
  std::map<std::wstring, std::wstring> infPaths;  // "ENV|DRIVER" upper-case: the driver's InfPath, read once

  // Services: the state each recorded request left a service in.
  std::map<std::wstring, std::uint32_t> serviceStates;  // by upper-case name

  std::set<std::uint32_t> goneProcesses;

 private:
  bool printersRead_ = false;
  std::map<std::wstring, PrinterInfo> printers_;
};

}  // namespace os::record
