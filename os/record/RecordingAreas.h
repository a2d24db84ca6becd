#pragma once
// The decorated areas, built by RecordingSystem over one shared state.
#include <functional>
#include <memory>
#include <string>

#include "os/record/PlanState.h"

namespace os::record {

std::unique_ptr<Registry> MakeRecordingRegistry(PlanState& state);
std::unique_ptr<Files> MakeRecordingFiles(PlanState& state);
std::unique_ptr<Spooler> MakeRecordingSpooler(PlanState& state);
std::unique_ptr<Services> MakeRecordingServices(PlanState& state);
std::unique_ptr<Processes> MakeRecordingProcesses(PlanState& state);

// SHDeleteKeyW as planned: the key goes if it is there (openStatus opens it
// on the real system), with everything below it.
Status PlanTreeDeletion(PlanState& state, const std::wstring& label, const std::function<Status()>& openStatus);

}  // namespace os::record
