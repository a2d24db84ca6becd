#include "os/sim/Wildcard.h"

#include "base/WideText.h"

namespace os::sim {

bool HasWildcards(std::wstring_view pattern) { return pattern.find_first_of(L"*?") != std::wstring_view::npos; }

bool MatchesWildcard(std::wstring_view pattern, std::wstring_view name) {
  if (pattern == L"*.*") pattern = L"*";
  // Iterative glob with single-star backtracking: linear in practice.
  size_t p = 0, n = 0, starP = std::wstring_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == L'?' || base::UpcaseChar(pattern[p]) == base::UpcaseChar(name[n]))) {
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

}  // namespace os::sim
