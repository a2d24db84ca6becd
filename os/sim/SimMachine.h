#pragma once
// A simulated Windows machine: every area of the OS boundary, one gate that
// counts calls, injects failures and faults and keeps the journal of effects,
// and machine images (JSON) to describe a workstation as data.
#include <memory>
#include <stdexcept>
#include <string>

#include "os/System.h"
#include "os/image/MachineImage.h"
#include "os/sim/Gate.h"
#include "os/sim/SimClock.h"
#include "os/sim/SimEnvironment.h"
#include "os/sim/SimFaults.h"
#include "os/sim/SimFileSystem.h"
#include "os/sim/SimProcesses.h"
#include "os/sim/SimPrompts.h"
#include "os/sim/SimRegistry.h"
#include "os/sim/SimServices.h"
#include "os/sim/SimSpooler.h"

namespace os::sim {

using image::ImageError;

class SimMachine {
 public:
  SimMachine();
  SimMachine(const SimMachine&) = delete;
  SimMachine& operator=(const SimMachine&) = delete;

  // An empty machine with the image applied. Throws ImageError.
  static std::unique_ptr<SimMachine> FromImage(const std::string& json, const std::string& source = "image");
  static std::unique_ptr<SimMachine> FromImageFile(const std::string& path);

  // Adds what an image describes to this machine. Throws ImageError.
  void Apply(const std::string& json, const std::string& source = "image");
  void Apply(const image::MachineImage& image);
  image::MachineImage ToImage() const;
  std::string SaveImage() const { return image::WriteMachineImage(ToImage()); }
  // The whole state, the journal and the message boxes: for failing assertions.
  std::string Dump() const;

  System system();

  Gate& gate() { return gate_; }
  const Gate& gate() const { return gate_; }
  SimRegistry& registry() { return registry_; }
  SimFileSystem& files() { return files_; }
  SimClock& clock() { return clock_; }
  SimServices& services() { return services_; }
  SimSpooler& spooler() { return spooler_; }
  SimProcesses& processes() { return processes_; }
  SimEnvironment& environment() { return environment_; }
  SimPrompts& prompts() { return prompts_; }
  const SimRegistry& registry() const { return registry_; }
  const SimFileSystem& files() const { return files_; }
  const SimSpooler& spooler() const { return spooler_; }
  const SimPrompts& prompts() const { return prompts_; }

  void Inject(Injection injection) { gate_.Inject(std::move(injection)); }
  // times: how many calls it hits; -1 for all.
  void FailWith(Op operation, Status error, std::wstring target = {}, int times = -1) {
    gate_.Inject(Injection{operation, std::move(target), error, false, times});
  }
  void FaultOn(Op operation, std::wstring target = {}, int times = -1) {
    gate_.Inject(Injection{operation, std::move(target), 0, true, times});
  }

 private:
  Gate gate_;
  SimRegistry registry_;
  SimFileSystem files_;
  SimClock clock_;
  SimServices services_;
  SimSpooler spooler_;
  SimProcesses processes_;
  SimEnvironment environment_;
  SimPrompts prompts_;
  SimFaults faults_;
};

}  // namespace os::sim
