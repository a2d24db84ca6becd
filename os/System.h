#pragma once
// The whole OS boundary: one reference per system area. The real Win32
// implementation and the simulated machine each hand out one of these.
#include "os/Clock.h"
#include "os/Environment.h"
#include "os/Faults.h"
#include "os/Files.h"
#include "os/Processes.h"
#include "os/Prompts.h"
#include "os/Registry.h"
#include "os/Services.h"
#include "os/Spooler.h"

namespace os {

struct System {
  Registry& registry;
  Spooler& spooler;
  Services& services;
  Files& files;
  Processes& processes;
  Environment& environment;
  Clock& clock;
  Prompts& prompts;
  Faults& faults;
};

}  // namespace os
