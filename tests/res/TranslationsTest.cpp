// The language modules' string tables against the English one: the same
// entries with the same placeholders, so a translated message is filled in
// just like the English one. Compiled from the same .inc files the resource
// scripts include.
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using Table = std::map<int, std::wstring>;

// The narrow UTF-8 literals become wide by concatenation with L"".
#define TESSALY_STRING(id, text) {id, L"" text},
const Table kEnglish = {
#include "res/strings/ENU.inc"
};
const std::map<std::string, Table> kTranslations = {
    {"DEU", {
#include "res/strings/DEU.inc"
    }},
    {"FRA", {
#include "res/strings/FRA.inc"
    }},
    {"ESP", {
#include "res/strings/ESP.inc"
    }},
    {"JPN", {
#include "res/strings/JPN.inc"
    }},
};
#undef TESSALY_STRING

int CountOf(const std::wstring& text, const std::wstring& what) {
  int n = 0;
  for (auto pos = text.find(what); pos != std::wstring::npos; pos = text.find(what, pos + what.size())) ++n;
  return n;
}

TEST(TranslationsTest, EveryModuleTranslatesEveryEntryWithTheSamePlaceholders) {
  for (const auto& [code, table] : kTranslations) {
    SCOPED_TRACE(code);
    for (const auto& [id, text] : table) {
      ASSERT_TRUE(kEnglish.count(id)) << "entry " << id << " has no English original";
      const std::wstring& english = kEnglish.at(id);
      EXPECT_EQ(CountOf(text, L"%s"), CountOf(english, L"%s")) << "entry " << id;
      EXPECT_EQ(CountOf(text, L"%"), CountOf(english, L"%")) << "entry " << id;
      // A message that the program continues line by line keeps the empty
      // line the English text ends with.
      EXPECT_EQ(text.ends_with(L"\n\n"), english.ends_with(L"\n\n")) << "entry " << id;
      EXPECT_EQ(CountOf(text, L"&"), CountOf(english, L"&")) << "entry " << id << ": menu mnemonic";
    }
    for (const auto& [id, english] : kEnglish) EXPECT_TRUE(table.count(id)) << "entry " << id << " is not translated";
    // Every message box of the program is captioned with the product name.
    EXPECT_EQ(table.at(102), L"Tessaly");
  }
}

}  // namespace
