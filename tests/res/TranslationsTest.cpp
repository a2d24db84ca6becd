// Every language's string file against the English one, for every language
// of res/Languages.inc: the same entries, and unchanged what the program
// relies on (the %s placeholders it fills in, the line feeds it continues
// after, the & that marks the menu item's access key, the version line and
// the caption). Compiled from the same .inc files the resource scripts
// include.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "res/Languages.h"

namespace res {
namespace {

int CountOf(const std::wstring& text, const std::wstring& what) {
  int n = 0;
  for (auto pos = text.find(what); pos != std::wstring::npos; pos = text.find(what, pos + what.size())) ++n;
  return n;
}

// The line feeds of a text, as positions from its end: a message the program
// continues line by line keeps the empty line the English text ends with,
// and a line feed inside a text stays one.
std::wstring LineFeedShape(const std::wstring& text) {
  std::wstring shape;
  std::size_t trailing = 0;
  while (trailing < text.size() && text[text.size() - 1 - trailing] == L'\n') ++trailing;
  shape += std::to_wstring(CountOf(text.substr(0, text.size() - trailing), L"\n")) + L" inside, ";
  shape += std::to_wstring(trailing) + L" at the end";
  return shape;
}

// The character each single & marks ("&&" is a literal ampersand).
std::wstring AccessKeys(const std::wstring& text) {
  std::wstring keys;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (i + 1 < text.size() && text[i + 1] == L'&') {
      ++i;
      continue;
    }
    keys += i + 1 < text.size() ? text[i + 1] : L'?';
  }
  return keys;
}

// Entries that are the same in every language: the caption is the product's
// name, and the version line is read by people checking which build they run.
const std::set<int> kFixed = {102, 140};
// The not-deleted line is a name and the system's reason: a language may
// keep it as it is.
const std::set<int> kMayStayEnglish = {149};

// An access key is a character one can type: not a blank or punctuation.
bool IsKey(wchar_t c) { return c > L' ' && std::wstring_view(L".,:;!?()[]-&").find(c) == std::wstring_view::npos; }

TEST(TranslationsTest, EveryLanguageTranslatesEveryTextAndKeepsWhatTheProgramReliesOn) {
  const LanguageTexts& english = TextsOf(L"ENU");
  ASSERT_FALSE(english.strings.empty());
  ASSERT_EQ(english.dialog.size(), 6u) << "the dialog's six control texts";
  for (const Language& language : Languages()) {
    if (language.code == L"ENU") continue;
    SCOPED_TRACE(std::string(language.code.begin(), language.code.end()));
    const LanguageTexts& texts = TextsOf(language.code);

    for (const auto& [id, original] : english.strings) {
      SCOPED_TRACE("entry " + std::to_string(id));
      ASSERT_TRUE(texts.strings.count(id)) << "not translated";
      const std::wstring& text = texts.strings.at(id);
      EXPECT_FALSE(text.empty());
      if (kFixed.count(id)) {
        EXPECT_EQ(text, original) << "the same in every language";
        continue;
      }
      if (!kMayStayEnglish.count(id)) {
        EXPECT_NE(text, original) << "still the English text";
      }
      EXPECT_EQ(CountOf(text, L"%s"), CountOf(original, L"%s")) << "the placeholders the program fills in";
      EXPECT_EQ(CountOf(text, L"%"), CountOf(original, L"%")) << "no other format sign";
      EXPECT_EQ(LineFeedShape(text), LineFeedShape(original));
      EXPECT_EQ(CountOf(text, L"\r"), 0);
      const std::wstring keys = AccessKeys(text);
      EXPECT_EQ(keys.size(), AccessKeys(original).size()) << "access keys";
      for (wchar_t key : keys) EXPECT_TRUE(IsKey(key)) << "& marks a character one can type";
    }
    for (const auto& [id, text] : texts.strings) EXPECT_TRUE(english.strings.count(id)) << "entry " << id << " is not in ENU.inc";

    for (const auto& [name, original] : english.dialog) {
      SCOPED_TRACE(name);
      ASSERT_TRUE(texts.dialog.count(name)) << "dialog text not translated";
      const std::wstring& text = texts.dialog.at(name);
      EXPECT_FALSE(text.empty());
      EXPECT_NE(text, original) << "still the English text";
      // A dialog text is one line; a & would underline a letter of a
      // control that has no access key in English.
      EXPECT_EQ(CountOf(text, L"\n"), 0);
      EXPECT_EQ(CountOf(text, L"&"), CountOf(original, L"&"));
    }
    EXPECT_EQ(texts.dialog.size(), english.dialog.size());

    // The hint and the About warning name the check box by its label.
    const std::wstring& checkBox = texts.dialog.at("DELETE_ALL");
    EXPECT_NE(texts.strings.at(104).find(checkBox), std::wstring::npos) << "entry 104 names the check box";
    EXPECT_NE(texts.strings.at(144).find(checkBox), std::wstring::npos) << "entry 144 names the check box";
  }
}

}  // namespace
}  // namespace res
