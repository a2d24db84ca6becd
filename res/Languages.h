#pragma once
// The interface languages of res/Languages.inc with every text of their
// string files, for the tests and the end-to-end driver: what each module
// must show, read from the same files its resources are built from.
#include <map>
#include <string>
#include <vector>

namespace res {

struct Language {
  std::wstring code;          // module code and string file, TessalyCODE.dll
  std::wstring serverLanguage;  // the "serverlang=" value
  std::string locale;         // a Unix locale whose system locale is this language
  std::wstring localeModule;  // the module the system locale leads to
  unsigned langId = 0;
  std::wstring name;
};

// In the order of the list (the order the "serverlang=" values are tried).
const std::vector<Language>& Languages();

struct LanguageTexts {
  std::map<int, std::wstring> strings;        // the string table, by id
  std::map<std::string, std::wstring> dialog;  // the dialog's texts, by name (DELETE_ALL, ...)
};

// The texts of res/strings/CODE.inc; every code of the list has them.
const LanguageTexts& TextsOf(const std::wstring& code);

}  // namespace res
