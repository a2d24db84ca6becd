#include "res/Languages.h"

#include <stdexcept>

namespace res {
namespace {

// The narrow UTF-8 literals become wide by concatenation with L"".
#define TESSALY_LANGUAGE(code, serverlang, locale, localeModule, langId, name) \
  Language{L"" #code, L"" serverlang, locale, L"" #localeModule, langId, L"" name},
const std::vector<Language> kLanguages = {
#include "res/Languages.inc"
};
#undef TESSALY_LANGUAGE

struct Entry {
  int id;                  // a string-table entry's id, 0 for a dialog text
  const char* dialogName;  // a dialog text's name, null for a string-table entry
  const wchar_t* text;
};
struct Table {
  const wchar_t* code;
  std::vector<Entry> entries;
};

#define TESSALY_STRING_TABLE_BEGIN(code) Table{L"" #code, {
#define TESSALY_STRING_TABLE_END(code) }},
#define TESSALY_STRING(id, text) Entry{id, nullptr, L"" text},
#define TESSALY_DIALOG_TEXT(name, text) Entry{0, #name, L"" text},
const std::vector<Table> kTables = {
#include "res/StringTables.inc"
};
#undef TESSALY_DIALOG_TEXT
#undef TESSALY_STRING
#undef TESSALY_STRING_TABLE_END
#undef TESSALY_STRING_TABLE_BEGIN

std::map<std::wstring, LanguageTexts> CollectTexts() {
  std::map<std::wstring, LanguageTexts> texts;
  for (const Table& table : kTables) {
    LanguageTexts& language = texts[table.code];
    for (const Entry& e : table.entries) {
      if (e.dialogName) language.dialog[e.dialogName] = e.text;
      else language.strings[e.id] = e.text;
    }
  }
  return texts;
}

}  // namespace

const std::vector<Language>& Languages() { return kLanguages; }

const LanguageTexts& TextsOf(const std::wstring& code) {
  static const std::map<std::wstring, LanguageTexts> texts = CollectTexts();
  auto found = texts.find(code);
  if (found == texts.end()) throw std::out_of_range("no string file for this language code");
  return found->second;
}

}  // namespace res
