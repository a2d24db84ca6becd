// The About text: its pieces in order with exactly the line feeds between
// them, and the English table's entries that fill it.
#include <gtest/gtest.h>

#include <string>

#include "about/AboutText.h"
#include "res/StringIds.h"

namespace about {
namespace {

// Each entry as "<id>", so the composition shows where every piece went.
class MarkedTexts final : public res::Texts {
 public:
  std::wstring Load(int id) const override { return L"<" + std::to_wstring(id) + L">"; }
};

TEST(AboutTextTest, PiecesFollowInTheirOrderWithTheirLineFeeds) {
  const std::wstring expected = std::wstring(L"<140>\n<145>\n<141>\n<142>") + std::wstring(8, L'\n') + L"<144>\n\n<143>\n" +
                                kPatentNumbers + L"\n\n\n\n";
  EXPECT_EQ(ComposeAboutText(MarkedTexts()), expected);
}

TEST(AboutTextTest, EachEnglishPieceIsOneLineSoTheGapsAboveAreTheOnlyOnes) {
  // The control wraps the long ones; a line break of their own would move
  // everything after it.
  const res::EnglishTexts english;
  for (int id = res::kVersionLine; id <= res::kCopyrightLine; ++id) {
    const std::wstring entry = english.Load(id);
    EXPECT_FALSE(entry.empty()) << "entry " << id;
    EXPECT_EQ(entry.find_first_of(L"\r\n"), std::wstring::npos) << "entry " << id;
  }
}

}  // namespace
}  // namespace about
