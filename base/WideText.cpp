#include "base/WideText.h"

namespace base {

wchar_t UpcaseChar(wchar_t c) {
  const auto u = static_cast<char16_t>(c);
  if (u >= u'a' && u <= u'z') return static_cast<wchar_t>(u - 0x20);
  if (u < 0xE0) return c;
  if (u <= 0xFE && u != 0xF7) return static_cast<wchar_t>(u - 0x20);
  if (u == 0xFF) return static_cast<wchar_t>(0x178);
  if (u >= 0x100 && u <= 0x17F) {
    // Latin Extended-A pairs upper/lower on even/odd, shifted by one between
    // U+0138 and U+0148 and again from U+0179.
    const bool shifted = (u >= 0x139 && u <= 0x148) || u >= 0x179;
    if (u == 0x131 || u == 0x138 || u == 0x149 || u == 0x17F) return c;
    const bool lower = shifted ? (u % 2 == 0) : (u % 2 == 1);
    return lower ? static_cast<wchar_t>(u - 1) : c;
  }
  if (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) return static_cast<wchar_t>(u - 0x20);
  if (u >= 0x430 && u <= 0x44F) return static_cast<wchar_t>(u - 0x20);
  if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(u - 0x50);
  return c;
}

std::wstring Upcase(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out) c = UpcaseChar(c);
  return out;
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && CompareIgnoreCase(a, b) == 0;
}

int CompareIgnoreCase(std::wstring_view a, std::wstring_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<char16_t>(UpcaseChar(a[i]));
    const auto y = static_cast<char16_t>(UpcaseChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::vector<std::wstring> Split(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::wstring_view::npos) end = text.size();
    parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::wstring_view AsText(std::wstring_view s) {
  const auto nul = s.find(L'\0');
  return nul == std::wstring_view::npos ? s : s.substr(0, nul);
}

std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
  std::wstring out;
  out.reserve(pattern.size() + 64);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == L's') {
        if (next != args.end()) out.append(AsText(*next++));
        ++i;
        continue;
      }
      if (pattern[i + 1] == L'%') {
        out.push_back(L'%');
        ++i;
        continue;
      }
    }
    out.push_back(pattern[i]);
  }
  return out;
}

bool IsFullPath(std::wstring_view path) {
  if (path.size() < 3) return false;
  const wchar_t drive = static_cast<wchar_t>(path[0] | 0x20);
  if (drive >= L'a' && drive <= L'z' && path[1] == L':' && path[2] == L'\\') return true;
  return path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

}  // namespace base
