// UTF-8 arrives from machine images, command lines and report paths; UTF-16
// from every Windows call. The input is read both ways. Checked against an
// independent reading of the UTF-8 rules (the table of well-formed byte
// sequences): valid text survives both conversions unchanged; in invalid
// text every byte of a bad sequence becomes U+FFFD and never a character,
// so an overlong "/" or NUL, or half of a surrogate pair, cannot get
// through; and whatever the wide text holds, its UTF-8 is well formed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Utf.h"
#include "tests/fuzz/Require.h"

namespace {

// The length of the well-formed sequence at s[i], or 0: the ranges of the
// table of well-formed UTF-8 byte sequences, byte by byte.
std::size_t WellFormedAt(std::string_view s, std::size_t i) {
  auto at = [&](std::size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0x100u; };
  auto in = [](unsigned b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; };
  const unsigned b0 = at(0);
  if (b0 <= 0x7F) return 1;
  if (in(b0, 0xC2, 0xDF)) return in(at(1), 0x80, 0xBF) ? 2 : 0;
  unsigned lo = 0x80, hi = 0xBF;
  if (b0 == 0xE0) lo = 0xA0;
  if (b0 == 0xED) hi = 0x9F;
  if (b0 == 0xF0) lo = 0x90;
  if (b0 == 0xF4) hi = 0x8F;
  if (in(b0, 0xE0, 0xEF)) return in(at(1), lo, hi) && in(at(2), 0x80, 0xBF) ? 3 : 0;
  if (in(b0, 0xF0, 0xF4)) return in(at(1), lo, hi) && in(at(2), 0x80, 0xBF) && in(at(3), 0x80, 0xBF) ? 4 : 0;
  return 0;
}

bool WellFormed(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = WellFormedAt(s, i);
    if (!n) return false;
    i += n;
  }
  return true;
}

bool IsHigh(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Every surrogate is half of a pair.
bool WellFormed(const std::wstring& w) {
  for (std::size_t i = 0; i < w.size(); ++i) {
    const char32_t u = static_cast<char32_t>(w[i]);
    if (u > 0xFFFF) return false;
    if (IsLow(u)) return false;
    if (IsHigh(u)) {
      if (i + 1 >= w.size() || !IsLow(static_cast<char32_t>(w[i + 1]))) return false;
      ++i;
    }
  }
  return true;
}

std::size_t Count(std::string_view s, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = s.find(what); at != std::string_view::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string utf8(reinterpret_cast<const char*>(data), size);

  // UTF-8 to UTF-16.
  // Read from the input's own buffer, which has nothing behind its end: a
  // read past it is the sanitizer's finding.
  const std::wstring wide = base::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  Require(WellFormed(wide));
  const std::string again = base::WideToUtf8(wide);
  Require(WellFormed(again));
  if (WellFormed(utf8)) {
    Require(again == utf8);
  } else {
    // At least one replacement beyond those the input spelt out itself.
    std::size_t replacements = 0;
    for (wchar_t c : wide) replacements += c == L'\xFFFD';
    Require(replacements > Count(utf8, "\xEF\xBF\xBD"));
  }
  // The ASCII of the output is exactly the ASCII of the input: no multi-byte
  // form decodes to "/" or a NUL, and no bad sequence takes a letter after
  // it along.
  std::string asciiIn, asciiOut;
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) < 0x80) asciiIn.push_back(c);
  }
  for (wchar_t c : wide) {
    if (static_cast<char32_t>(c) < 0x80) asciiOut.push_back(static_cast<char>(c));
  }
  Require(asciiIn == asciiOut);
  // Each character other than U+FFFD comes from its own shortest form in
  // the input, in order.
  std::size_t cursor = 0;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    std::size_t units = IsHigh(static_cast<char32_t>(wide[i])) ? 2 : 1;
    if (wide[i] != L'\xFFFD') {
      const std::string form = base::WideToUtf8(std::wstring_view(wide).substr(i, units));
      cursor = utf8.find(form, cursor);
      Require(cursor != std::string::npos && WellFormedAt(utf8, cursor) == form.size());
      cursor += form.size();
    }
    i += units - 1;
  }

  // UTF-16 to UTF-8: the input as little-endian units.
  std::wstring units;
  for (std::size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8u)));
  const std::string out = base::WideToUtf8(units);
  Require(WellFormed(out));
  const std::wstring back = base::Utf8ToWide(out);
  if (WellFormed(units)) {
    Require(back == units);
  } else {
    // A lone surrogate becomes U+FFFD; everything else stays.
    std::wstring expected;
    for (std::size_t i = 0; i < units.size(); ++i) {
      const char32_t u = static_cast<char32_t>(units[i]);
      if (IsHigh(u) && i + 1 < units.size() && IsLow(static_cast<char32_t>(units[i + 1]))) {
        expected.append(units, i, 2);
        ++i;
      } else {
        expected.push_back(IsHigh(u) || IsLow(u) ? L'\xFFFD' : units[i]);
      }
    }
    Require(back == expected);
  }
  return 0;
}
