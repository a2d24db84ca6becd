#pragma once
// Every simulated operation passes through the gate: it is counted, it can be
// made to fail with a chosen error or to fault, and what it changes is written
// to the journal so tests can check the order of effects.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "os/Status.h"
#include "os/sim/Operation.h"

namespace os::sim {

struct Injection {
  Op operation{};
  std::wstring target;     // empty: any target; else matched ignoring case
  Status error = 0;        // the error to fail with
  bool fault = false;      // raise an access violation instead
  int remaining = -1;      // how many calls it hits; -1 for all
};

class Gate {
 public:
  // Counts the call and applies the first matching injection: returns the
  // error to fail with, or throws a CSE for a fault (the calling thread must
  // have installed the translator, as on Windows; otherwise the process ends).
  std::optional<Status> Enter(Op operation, std::wstring_view target);

  void Inject(Injection injection) { injections_.push_back(std::move(injection)); }
  void ClearInjections() { injections_.clear(); }

  void Record(std::wstring line) { journal_.push_back(std::move(line)); }
  // "<what> <target> -> <status>", the journal's line for one effect.
  void RecordEffect(std::wstring_view what, std::wstring_view target, Status status) {
    Record(std::wstring(what) + L" " + std::wstring(target) + L" -> " + std::to_wstring(status));
  }
  const std::vector<std::wstring>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

  std::uint64_t calls() const { return calls_; }
  std::uint64_t calls(Op operation) const;
  const std::map<Op, std::uint64_t>& callsByOperation() const { return byOperation_; }
  void ResetCounts();

 private:
  std::vector<Injection> injections_;
  std::vector<std::wstring> journal_;
  std::uint64_t calls_ = 0;
  std::map<Op, std::uint64_t> byOperation_;
};

// Whether this thread asked for faults to arrive as CSE (SimFaults sets it).
bool TranslatorInstalledOnThisThread();
void SetTranslatorInstalledOnThisThread(bool installed);

}  // namespace os::sim
