#pragma once
// Text in this program is std::wstring holding UTF-16 code units on every
// platform: on Windows wchar_t is 16 bits, on Linux it is 32 bits but each
// element still carries one UTF-16 unit, so sizes and comparisons agree with
// what the Win32 API sees.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Well-formed UTF-8 only: a bad byte, or the first byte of an overlong form,
// a surrogate or a value beyond U+10FFFF, becomes U+FFFD, and decoding goes
// on with the next byte. A sequence cut short by the end of the text is one
// U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
// Always well-formed UTF-8: half of a surrogate pair becomes U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

// Registry string data is little-endian UTF-16 bytes. An odd trailing byte is
// dropped, as reading the data into a WCHAR buffer would.
std::wstring Utf16BytesToWide(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> WideToUtf16Bytes(std::wstring_view wide);

}  // namespace base
