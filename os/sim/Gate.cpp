#include "os/sim/Gate.h"

#include <cstdio>
#include <cstdlib>

#include "base/Utf.h"
#include "base/WideText.h"
#include "os/Faults.h"

namespace os::sim {
namespace {
thread_local bool t_translatorInstalled = false;
}

bool TranslatorInstalledOnThisThread() { return t_translatorInstalled; }
void SetTranslatorInstalledOnThisThread(bool installed) { t_translatorInstalled = installed; }

std::optional<Status> Gate::Enter(Op operation, std::wstring_view target) {
  ++calls_;
  ++byOperation_[operation];

  for (auto& inj : injections_) {
    if (inj.remaining == 0 || inj.operation != operation) continue;
    if (!inj.target.empty() && !base::EqualsIgnoreCase(inj.target, target)) continue;
    if (inj.remaining > 0) --inj.remaining;
    if (inj.fault) {
      Record(L"FAULT " + base::Utf8ToWide(NameOf(operation)) + L" " + std::wstring(target));
      if (!TranslatorInstalledOnThisThread()) {
        // What Windows does with an unhandled access violation.
        std::fprintf(stderr, "simulated access violation in %s with no translator installed\n",
                     std::string(NameOf(operation)).c_str());
        std::abort();
      }
      ExceptionRecord record;
      record.exceptionCode = kAccessViolation;
      throw CSE(record, {});
    }
    return inj.error;
  }
  return std::nullopt;
}

std::uint64_t Gate::calls(Op operation) const {
  auto it = byOperation_.find(operation);
  return it == byOperation_.end() ? 0 : it->second;
}

void Gate::ResetCounts() {
  calls_ = 0;
  byOperation_.clear();
}

}  // namespace os::sim
