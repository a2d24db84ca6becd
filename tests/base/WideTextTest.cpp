#include <gtest/gtest.h>

#include "base/Utf.h"
#include "base/WideText.h"

namespace base {
namespace {

TEST(WideTextTest, FormatFillsPlaceholdersInOrderAndStopsArgumentsAtTheirFirstNul) {
  EXPECT_EQ(FormatText(L"Deleting driver: %s will affect driver: %s. 100%%", {L"A", L"B"}),
            L"Deleting driver: A will affect driver: B. 100%");
  EXPECT_EQ(FormatText(L"%s\\Temp", {std::wstring(L"C:\\Windows\0junk", 15)}), L"C:\\Windows\\Temp");
  EXPECT_EQ(FormatText(L"%s and %s", {L"one"}), L"one and ");
  EXPECT_EQ(FormatText(L"50%d", {}), L"50%d");
}

TEST(WideTextTest, CaseIsIgnoredBeyondAscii) {
  EXPECT_TRUE(EqualsIgnoreCase(L"Bürodrucker", L"BÜRODRUCKER"));
  EXPECT_TRUE(EqualsIgnoreCase(L"Принтер ая", L"ПРИНТЕР АЯ"));  // the Cyrillic range from end to end
  // Latin Extended-A pairs on odd/even, then on even/odd from U+0139 and
  // again from U+0179; a dotless i has no pair here.
  EXPECT_TRUE(EqualsIgnoreCase(L"\u0101\u010F \u013A\u0148 \u017A\u017E", L"\u0100\u010E \u0139\u0147 \u0179\u017D"));
  EXPECT_FALSE(EqualsIgnoreCase(L"\u0131", L"I"));
  EXPECT_TRUE(EqualsIgnoreCase(L"\u03B1\u03C9 \u00FF", L"\u0391\u03A9 \u0178"));  // alpha omega, y diaeresis
  EXPECT_FALSE(EqualsIgnoreCase(L"\u0101", L"\u0430"));  // a macron is no Cyrillic a
  EXPECT_FALSE(EqualsIgnoreCase(L"Laser", L"Laser "));
  EXPECT_LT(CompareIgnoreCase(L"alpha", L"Beta"), 0);
  EXPECT_LT(CompareIgnoreCase(L"Beta", L"zeta"), 0);
}

// The fuzzer's corpus holds such texts too, but its properties allow more
// than one replacement character, and a read past the end of a text that has
// a terminator behind it goes unseen there.
TEST(UtfTest, ASequenceTheEndCutsShortIsOneReplacementAndTakesNoLetterAlong) {
  EXPECT_EQ(Utf8ToWide("cut\xE2\x82"), L"cut\xFFFD");
  EXPECT_EQ(Utf8ToWide("x\xF0" "ab"), L"x\xFFFD" L"ab");
}

}  // namespace
}  // namespace base
