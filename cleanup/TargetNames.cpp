#include "cleanup/TargetNames.h"

#include <algorithm>

#include "base/WideText.h"

namespace cleanup {

bool IsPlainFileName(std::wstring_view name) {
  if (name.empty() || !IsAddressableName(name)) return false;
  if (name.find_first_of(L"*?<>\"\\/:|") != std::wstring_view::npos) return false;
  return std::none_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x20; });
}

bool MatchesIntendedPattern(std::wstring_view pattern, std::wstring_view longName) {
  // Iterative glob with single-star backtracking: linear in practice.
  std::size_t p = 0, n = 0, starP = std::wstring_view::npos, starN = 0;
  while (n < longName.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == L'?' || base::UpcaseChar(pattern[p]) == base::UpcaseChar(longName[n]))) {
      ++p;
      ++n;
    } else if (starP != std::wstring_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

bool IsAddressableName(std::wstring_view longName) {
  return !longName.empty() && longName.back() != L'.' && longName.back() != L' ';
}

bool NamesKeyBelow(std::wstring_view name) { return !name.empty() && name.back() != L'\\'; }

bool NamesOneValue(std::wstring_view name) { return !name.empty(); }

bool IsKnownFolder(std::wstring_view folder) { return !folder.empty(); }

}  // namespace cleanup
