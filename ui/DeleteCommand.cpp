#include "ui/DeleteCommand.h"

#include "base/WideText.h"
#include "os/Prompts.h"
#include "res/StringIds.h"

namespace ui {

std::wstring QueuedJobsMessage(const res::Texts& texts, const std::vector<std::wstring>& names) {
  std::wstring text = texts.Load(res::kJobsQueued);
  for (const auto& name : names) text += base::FormatText(L"-> %s\n\n", {name});
  return text;
}

DeleteCheck CheckBeforeDeletion(SelectionView& view, engine::DeletionEngine& engine, const res::Texts& texts) {
  if (CountCheckedPrinters(view) == 0) {
    view.ShowMessage(texts.Load(res::kNothingSelected), os::mb::kOk);
    return DeleteCheck::NothingSelected;
  }
  // A run restarts the Spooler service, which would throw away the jobs of
  // every printer, not only of the checked ones.
  std::vector<std::wstring> names;
  if (engine.FindPrintersWithJobs(names)) {
    view.ShowMessage(QueuedJobsMessage(texts, names), os::mb::kIconError);
    return DeleteCheck::JobsQueued;
  }
  return DeleteCheck::Start;
}

}  // namespace ui
