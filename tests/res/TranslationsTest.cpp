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

// The About window's texts belong to its own change and may be added to
// the English table first; a module without them shows the English ones.
bool OwnedByAboutWindow(int id) { return id >= 140 && id <= 145; }

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
    for (const auto& [id, english] : kEnglish) {
      if (OwnedByAboutWindow(id)) continue;
      EXPECT_TRUE(table.count(id)) << "entry " << id << " is not translated";
    }
    // Every message box of the program is captioned with the product name.
    EXPECT_EQ(table.at(102), L"Tessaly");
  }
}

TEST(TranslationsTest, NonAsciiTextArrivesAsUnicode) {
  EXPECT_NE(kTranslations.at("DEU").at(1010).find(L"schlie\u00DFen"), std::wstring::npos);
  EXPECT_NE(kTranslations.at("JPN").at(103).find(L"\u30D7\u30EA\u30F3\u30BF\u30FC"), std::wstring::npos);  // プリンター
}

}  // namespace
