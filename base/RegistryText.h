#pragma once
// String data as the registry and the spooler hand it over: little-endian
// UTF-16 bytes whose shape nobody guarantees. A value written by another
// program may lack its terminator, have an odd byte count or hold NULs in
// the middle; these readers take only the exact shapes and say no to the
// rest, so whoever must keep the bytes can keep them as bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// A REG_SZ payload: the text and one terminating NUL, nothing else.
std::vector<std::uint8_t> EncodeRegistryString(std::wstring_view text);
// Exactly one string and its terminator: false for no terminator, an odd
// byte count or a NUL inside the text (the text is then left as it was).
bool DecodeRegistryString(const std::vector<std::uint8_t>& bytes, std::wstring& text);

// A REG_MULTI_SZ payload: each string with its terminator, then one more NUL
// (an empty list is the lone NUL).
std::vector<std::uint8_t> EncodeMultiString(const std::vector<std::wstring>& strings);
// The strings of a payload in exactly that shape: false for an odd byte
// count, a missing final NUL or an empty string inside the list (which a
// reader walking the block would take as its end). On true, encoding the
// strings again gives the same bytes; on false the list is left as it was.
bool DecodeMultiString(const std::vector<std::uint8_t>& bytes, std::vector<std::wstring>& strings);

}  // namespace base
