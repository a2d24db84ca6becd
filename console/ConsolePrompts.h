#pragma once
// The engine's message boxes in an unattended run: never a window. A Yes/No
// question (a driver whose data file a printer that stays also uses) is
// answered from the command line; a notice (the driver kept for another
// printer, the printers the spooler kept) becomes an output line. Each is
// kept for the report.
#include <string>
#include <vector>

#include "console/Output.h"
#include "os/Prompts.h"

namespace console {

struct PromptAnswered {
  std::wstring text;
  bool question = false;  // a Yes/No question, else a notice
  int answer = 0;         // os::mb::kIdYes, kIdNo or kIdOk
};

class ConsolePrompts final : public os::Prompts {
 public:
  ConsolePrompts(Output& out, bool answerYes, bool quiet) : out_(out), answerYes_(answerYes), quiet_(quiet) {}

  int Show(os::WindowId owner, std::wstring_view text, std::wstring_view caption, std::uint32_t style) override;

  const std::vector<PromptAnswered>& answered() const { return answered_; }

 private:
  Output& out_;
  bool answerYes_;
  bool quiet_;
  std::vector<PromptAnswered> answered_;
};

}  // namespace console
