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

TEST(AboutTextTest, TheEnglishTextReadsVersionFirstAndHasNoCarriageReturns) {
  const res::EnglishTexts english;
  const std::wstring text = ComposeAboutText(english);
  EXPECT_EQ(text.rfind(L"Version:3.3.0.21\nCopyright", 0), 0u) << "starts with the version and copyright lines";
  EXPECT_EQ(text.find(L'\r'), std::wstring::npos);
  for (int id : {res::kCompanyLine, res::kRightsLine, res::kPatentIntroduction, res::kLegalWarning, res::kCopyrightLine}) {
    const std::wstring entry = english.Load(id);
    EXPECT_FALSE(entry.empty()) << "entry " << id;
    // Each is one line; the control wraps the long ones.
    EXPECT_EQ(entry.find(L'\n'), std::wstring::npos) << "entry " << id;
    EXPECT_NE(text.find(entry), std::wstring::npos) << "entry " << id;
  }
  // No patent is claimed, so the notice lists no numbers.
  EXPECT_EQ(std::wstring(kPatentNumbers).find_first_of(L"0123456789"), std::wstring::npos);
}

}  // namespace
}  // namespace about
