#include <gtest/gtest.h>

#include "base/RegistryText.h"
#include "base/Utf.h"

namespace base {
namespace {

std::vector<std::uint8_t> Bytes(std::wstring_view units) { return WideToUtf16Bytes(units); }

TEST(RegistryTextTest, OnlyOneStringAndItsTerminatorIsAString) {
  std::wstring text = L"before";
  EXPECT_TRUE(DecodeRegistryString(Bytes(std::wstring(L"x86\0", 4)), text));
  EXPECT_EQ(text, L"x86");
  EXPECT_EQ(EncodeRegistryString(L"x86"), Bytes(std::wstring(L"x86\0", 4)));
  // No terminator, an odd byte, a NUL inside: refused, the text untouched.
  text = L"before";
  EXPECT_FALSE(DecodeRegistryString(Bytes(L"x86"), text));
  auto odd = Bytes(std::wstring(L"x86\0", 4));
  odd.push_back(0);
  EXPECT_FALSE(DecodeRegistryString(odd, text));
  EXPECT_FALSE(DecodeRegistryString(Bytes(std::wstring(L"C:\\W\0junk\0", 10)), text));
  EXPECT_FALSE(DecodeRegistryString({}, text));
  EXPECT_EQ(text, L"before");
}

TEST(RegistryTextTest, AListIsTakenOnlyInTheShapeItIsWrittenIn) {
  std::vector<std::wstring> strings{L"before"};
  EXPECT_TRUE(DecodeMultiString(Bytes(std::wstring(L"a.dll\0b.dll\0\0", 13)), strings));
  EXPECT_EQ(strings, (std::vector<std::wstring>{L"a.dll", L"b.dll"}));
  EXPECT_EQ(EncodeMultiString(strings), Bytes(std::wstring(L"a.dll\0b.dll\0\0", 13)));
  // The empty list is the lone NUL.
  EXPECT_TRUE(DecodeMultiString(Bytes(std::wstring(1, L'\0')), strings));
  EXPECT_TRUE(strings.empty());
  EXPECT_EQ(EncodeMultiString({}), Bytes(std::wstring(1, L'\0')));
  // Without the final NUL, with an empty string inside, with an odd byte:
  // refused, and the list stays as it was.
  strings = {L"before"};
  EXPECT_FALSE(DecodeMultiString(Bytes(std::wstring(L"a\0b\0", 4)), strings));
  EXPECT_FALSE(DecodeMultiString(Bytes(std::wstring(L"a\0\0b\0\0", 6)), strings));
  EXPECT_FALSE(DecodeMultiString(Bytes(std::wstring(L"\0\0", 2)), strings));
  auto odd = Bytes(std::wstring(L"a\0\0", 3));
  odd.push_back(0);
  EXPECT_FALSE(DecodeMultiString(odd, strings));
  EXPECT_EQ(strings, std::vector<std::wstring>{L"before"});
}

}  // namespace
}  // namespace base
