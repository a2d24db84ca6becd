// Registry and spooler string data arrive as bytes in whatever shape the
// program that wrote them chose: no terminator, an odd byte count, NULs in
// the middle. The input is that data, in a buffer of exactly its size, so
// reading one byte too far is caught. Every reader must stay inside it, give
// text without NULs, and the strict readers must take exactly the shapes the
// writers produce and nothing else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/RegistryText.h"
#include "base/Utf.h"
#include "base/WideText.h"
#include "tests/fuzz/Require.h"

namespace {

bool HasNul(const std::wstring& s) { return s.find(L'\0') != std::wstring::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);

  // Read as a WCHAR buffer: every whole unit, little-endian, the odd byte
  // left out.
  const std::wstring wide = base::Utf16BytesToWide(bytes);
  Require(wide.size() == size / 2);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    Require(static_cast<std::uint32_t>(wide[i]) == (bytes[2 * i] | (bytes[2 * i + 1] << 8u)) + 0u);
  }
  Require(base::WideToUtf16Bytes(wide) == std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 2 * wide.size()));

  // The plain text a Win32 caller sees: everything before the first NUL.
  const std::wstring text(base::AsText(wide));
  Require(!HasNul(text));
  Require(wide.compare(0, text.size(), text) == 0);
  Require(text.size() == wide.size() || wide[text.size()] == L'\0');

  // One string: taken exactly when the bytes are that string and its
  // terminator.
  std::wstring single = L"untouched";
  const bool isSingle = base::DecodeRegistryString(bytes, single);
  Require(isSingle == (base::EncodeRegistryString(text) == bytes));
  if (isSingle) Require(single == text);

  // A list: taken exactly when writing the list again gives the same bytes,
  // with no empty string inside and no NUL in any string.
  std::vector<std::wstring> strings{L"untouched"};
  const bool isList = base::DecodeMultiString(bytes, strings);
  if (isList) {
    for (const auto& s : strings) Require(!s.empty() && !HasNul(s));
    Require(base::EncodeMultiString(strings) == bytes);
  } else {
    Require(strings == std::vector<std::wstring>{L"untouched"});
    // The shape a writer produces from the pieces between the NULs.
    if (size % 2 == 0 && !wide.empty() && wide.back() == L'\0') {
      std::vector<std::wstring> pieces;
      if (wide.size() > 1) pieces = base::Split(std::wstring_view(wide).substr(0, wide.size() - 2), L'\0');
      bool anyEmpty = false;
      for (const auto& p : pieces) anyEmpty = anyEmpty || p.empty();
      Require(anyEmpty || base::EncodeMultiString(pieces) != bytes);
    }
  }

  // The other way round: the units split at line feeds as a list to write.
  // A NUL inside a string ends it, so the list reads back as its strings
  // split at their NULs; an empty piece would end the block early, so then
  // the block is refused.
  const std::vector<std::wstring> list = base::Split(wide, L'\n');
  std::vector<std::wstring> expected;
  bool carriable = true;
  for (const auto& s : list) {
    for (auto& piece : base::Split(s, L'\0')) {
      carriable = carriable && !piece.empty();
      expected.push_back(std::move(piece));
    }
  }
  std::vector<std::wstring> back;
  Require(base::DecodeMultiString(base::EncodeMultiString(list), back) == carriable);
  if (carriable) Require(back == expected);
  std::vector<std::wstring> none{L"x"};
  Require(base::DecodeMultiString(base::EncodeMultiString({}), none) && none.empty());
  return 0;
}
