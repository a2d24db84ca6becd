#pragma once
// Message boxes on the simulated machine: every box is recorded, and the
// test scripts the answers in advance. A box nobody scripted an answer for is
// answered with 0 (what a failed MessageBoxW returns) and marked unexpected.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "os/Prompts.h"
#include "os/sim/Gate.h"

namespace os::sim {

struct PromptRecord {
  WindowId owner = 0;
  std::wstring text;
  std::wstring caption;
  std::uint32_t style = 0;
  int answer = 0;
  bool unexpected = false;
};

class SimPrompts final : public Prompts {
 public:
  explicit SimPrompts(Gate& gate) : gate_(gate) {}

  int Show(WindowId owner, std::wstring_view text, std::wstring_view caption, std::uint32_t style) override {
    gate_.Enter(Op::PromptsShow, caption);
    PromptRecord r{owner, std::wstring(text), std::wstring(caption), style, 0, false};
    if (!answers_.empty()) {
      r.answer = answers_.front();
      answers_.pop_front();
    } else if (responder_) {
      r.answer = responder_(r);
    } else {
      r.unexpected = true;
    }
    gate_.Record(L"prompts.Show \"" + r.text + L"\" -> " + std::to_wstring(r.answer));
    log_.push_back(r);
    return r.answer;
  }

  void Answer(int id) { answers_.push_back(id); }
  void SetResponder(std::function<int(const PromptRecord&)> responder) { responder_ = std::move(responder); }
  const std::vector<PromptRecord>& log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  Gate& gate_;
  std::deque<int> answers_;
  std::function<int(const PromptRecord&)> responder_;
  std::vector<PromptRecord> log_;
};

}  // namespace os::sim
