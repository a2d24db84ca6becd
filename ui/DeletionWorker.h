#pragma once
// The worker thread's whole work: one deletion run, then the report that it
// has ended, also when the run threw.
#include <functional>

#include "engine/DeletionEngine.h"

namespace ui {

void RunDeletionThenReport(engine::DeletionEngine& engine, const std::function<void()>& reportEnd);

}  // namespace ui
