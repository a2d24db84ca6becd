#include "ui/DeletionWorker.h"

namespace ui {

void RunDeletionThenReport(engine::DeletionEngine& engine, const std::function<void()>& reportEnd) {
  // Whatever the run throws stops here: the dialog keeps its controls
  // disabled until it hears of the end, and an exception leaving the
  // thread would end the whole process.
  try {
    engine.RunDeletion();
  } catch (...) {
  }
  reportEnd();
}

}  // namespace ui
