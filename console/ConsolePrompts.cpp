#include "console/ConsolePrompts.h"

namespace console {

namespace {
constexpr std::uint32_t kButtonsMask = 0xF;
constexpr std::uint32_t kIconMask = 0xF0;
}  // namespace

int ConsolePrompts::Show(os::WindowId, std::wstring_view text, std::wstring_view, std::uint32_t style) {
  PromptAnswered a;
  a.text = std::wstring(text);
  if ((style & kButtonsMask) == os::mb::kYesNo) {
    a.question = true;
    a.answer = answerYes_ ? os::mb::kIdYes : os::mb::kIdNo;
    if (!quiet_) out_.Line(L"Question: " + a.text + (answerYes_ ? L" Answer: Yes (/shared:delete)" : L" Answer: No"));
  } else {
    a.answer = os::mb::kIdOk;
    // A warning tells of something asked for that was not done: an error
    // line, shown even with /quiet.
    if ((style & kIconMask) == os::mb::kIconWarning || (style & kIconMask) == os::mb::kIconError) {
      out_.Error(a.text);
    } else if (!quiet_) {
      out_.Line(L"Notice: " + a.text);
    }
  }
  answered_.push_back(a);
  return a.answer;
}

}  // namespace console
