#pragma once
// What "Delete the Selected Printers" checks before a run may start: that a
// printer is checked at all, and that no listed printer (checked or not)
// still has print jobs queued.
#include <string>
#include <vector>

#include "engine/DeletionEngine.h"
#include "res/Texts.h"
#include "ui/SelectionRules.h"

namespace ui {

enum class DeleteCheck { NothingSelected, JobsQueued, Start };

// The refusal that names the printers with queued jobs, in list order.
std::wstring QueuedJobsMessage(const res::Texts& texts, const std::vector<std::wstring>& names);

// Shows the refusal when there is one; Start means the run may begin.
DeleteCheck CheckBeforeDeletion(SelectionView& view, engine::DeletionEngine& engine, const res::Texts& texts);

}  // namespace ui
