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
  EXPECT_TRUE(EqualsIgnoreCase(L"Принтер", L"ПРИНТЕР"));
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

TEST(UtfTest, RoundTripsThroughUtf8AndUtf16Bytes) {
  const std::wstring text = L"Büro \xD83D\xDDA8 Ω";  // a printer emoji as a surrogate pair
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
  EXPECT_EQ(WideToUtf8(text), "B\xC3\xBCro \xF0\x9F\x96\xA8 \xCE\xA9");
  EXPECT_EQ(Utf16BytesToWide(WideToUtf16Bytes(text)), text);
  EXPECT_EQ(Utf16BytesToWide({0x41, 0x00, 0x42}), L"A");  // an odd trailing byte is dropped
  EXPECT_EQ(Utf8ToWide("ok\xFF"), L"ok\xFFFD");
  EXPECT_EQ(Utf8ToWide("cut\xE2\x82"), L"cut\xFFFD");
}

TEST(UtfTest, OverlongFormsSurrogatesAndValuesBeyondUnicodeAreNoCharacters) {
  // "\xC0\xAF" is an overlong "/", "\xE0\x80\x80" an overlong NUL: a path
  // separator or terminator in disguise.
  EXPECT_EQ(Utf8ToWide("a\xC0\xAF" "b"), L"a\xFFFD\xFFFD" L"b");
  EXPECT_EQ(Utf8ToWide("\xE0\x80\x80" "x"), L"\xFFFD\xFFFD\xFFFD" L"x");
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\xFFFD\xFFFD\xFFFD");  // U+D800
  EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80"), L"\xFFFD\xFFFD\xFFFD\xFFFD");  // U+110000
  EXPECT_EQ(Utf8ToWide("\xF4\x8F\xBF\xBF"), L"\xDBFF\xDFFF");  // U+10FFFF is the last one
  EXPECT_EQ(Utf8ToWide("\xE0\xA0\x80"), L"\x0800");
}

TEST(UtfTest, ABadSequenceNearTheEndTakesNoCharacterAfterItAlong) {
  // Cut short by the end: one replacement for the whole remainder.
  EXPECT_EQ(Utf8ToWide("x\xF0\x9F\x96"), L"x\xFFFD");
  // A lead byte that announces more bytes than there are, before letters:
  // the letters stay.
  EXPECT_EQ(Utf8ToWide("x\xF0" "ab"), L"x\xFFFD" L"ab");
  EXPECT_EQ(Utf8ToWide("\xE2\x82" "a"), L"\xFFFD\xFFFD" L"a");
}

TEST(UtfTest, HalfASurrogatePairIsWrittenAsAReplacementCharacter) {
  // Well-formed UTF-8 whatever the wide text holds: "\xED\xA0\x80" would
  // be refused by every reader of it.
  EXPECT_EQ(WideToUtf8(L"a\xD800" L"b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(WideToUtf8(L"\xDC00"), "\xEF\xBF\xBD");
  EXPECT_EQ(WideToUtf8(std::wstring{L'\xDBFF'}), "\xEF\xBF\xBD");
  EXPECT_EQ(WideToUtf8(L"\xDBFF\xDFFF"), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(WideToUtf8(L"\xD800\xDC00"), "\xF0\x90\x80\x80");  // the first pair
}

}  // namespace
}  // namespace base
