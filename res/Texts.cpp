#include "res/Texts.h"

namespace res {
namespace {

struct Entry {
  int id;
  const wchar_t* text;
};

// The narrow literals of the table become wide by concatenation with L"".
constexpr Entry kEnglish[] = {
#define TESSALY_STRING(id, text) {id, L"" text},
#define TESSALY_DIALOG_TEXT(name, text)
#include "res/strings/ENU.inc"
#undef TESSALY_DIALOG_TEXT
#undef TESSALY_STRING
};

}  // namespace

std::wstring EnglishTexts::Load(int id) const {
  for (const auto& e : kEnglish) {
    if (e.id == id) return e.text;
  }
  return {};
}

}  // namespace res
