#include "os/record/RecordingSystem.h"

#include "os/record/RecordingAreas.h"

namespace os::record {

RecordingSystem::RecordingSystem(System& inner, Mode mode)
    : state_(std::make_unique<PlanState>(inner, mode)),
      registry_(MakeRecordingRegistry(*state_)),
      spooler_(MakeRecordingSpooler(*state_)),
      services_(MakeRecordingServices(*state_)),
      files_(MakeRecordingFiles(*state_)),
      processes_(MakeRecordingProcesses(*state_)),
      system_(std::make_unique<System>(System{*registry_, *spooler_, *services_, *files_, *processes_, inner.environment,
                                              inner.clock, inner.prompts, inner.faults})) {}

RecordingSystem::~RecordingSystem() = default;

Mode RecordingSystem::mode() const { return state_->mode; }

const std::vector<Effect>& RecordingSystem::effects() const { return state_->effects; }

}  // namespace os::record
