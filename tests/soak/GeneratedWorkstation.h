#pragma once
// Generated workstations for the tests that run over many machines: printers
// and connections with hostile names (DOS wildcards, a trailing dot or blank,
// characters beyond the BMP, long names, names that are the start of
// another's), drivers that share data files and packages, forms the printers
// name, leftovers in the Temp folders and the registry, now and then a
// companion process or a service that depends on the Spooler. Every artefact
// is labelled with its owner when it is made, and random failures and faults
// at the OS boundary are listed for a run to inject.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "os/sim/SimMachine.h"

namespace soak {

enum class Owner { Bystander, Printer, Stem, Driver };

struct Artefact {
  Owner owner;
  std::wstring ownerName;  // printer name, upper-cased stem or driver name
  bool isFile = false;
  std::wstring path;       // file or key path
  std::wstring valueName;  // a value of the key, when not empty
  bool sweptByDeleteAll = false;
};

struct Printer {
  std::wstring name;
  std::wstring driver;
  bool connection = false;
};

struct Workstation {
  std::unique_ptr<os::sim::SimMachine> machine;
  std::vector<Printer> printers;
  std::vector<std::pair<std::wstring, std::wstring>> drivers;  // name, upper-cased stem ("" when unusable)
  std::vector<Artefact> artefacts;
  std::vector<os::sim::Injection> injections;  // listed, for the run to apply
};

// The workstation a seed stands for, always the same one.
Workstation Generate(std::uint32_t seed);

}  // namespace soak
