#include "os/sim/Wildcard.h"

#include <vector>

#include "base/WideText.h"

namespace os::sim {
namespace {

constexpr wchar_t kDosStar = L'<';
constexpr wchar_t kDosQm = L'>';
constexpr wchar_t kDosDot = L'"';

}  // namespace

bool HasWildcards(std::wstring_view component) {
  return component.find_first_of(L"*?<>\"") != std::wstring_view::npos;
}

std::wstring ToFileSystemExpression(std::wstring_view pattern) {
  if (pattern == L"*.*") return L"*";
  std::wstring expression(pattern);
  for (std::size_t i = 0; i < expression.size(); ++i) {
    const wchar_t next = i + 1 < expression.size() ? pattern[i + 1] : L'\0';
    if (pattern[i] == L'?') {
      expression[i] = kDosQm;
    } else if (pattern[i] == L'.' && (next == L'?' || next == L'*' || next == L'\0')) {
      expression[i] = kDosDot;
    } else if (pattern[i] == L'*' && next == L'.') {
      expression[i] = kDosStar;
    }
  }
  return expression;
}

bool MatchesExpression(std::wstring_view expression, std::wstring_view name) {
  const std::size_t lastDot = name.rfind(L'.');
  // reachable[j]: the expression so far can end just before name[j].
  std::vector<char> reachable(name.size() + 1, 0);
  reachable[0] = 1;
  for (wchar_t e : expression) {
    std::vector<char> next(name.size() + 1, 0);
    for (std::size_t j = 0; j <= name.size(); ++j) {
      if (!reachable[j]) continue;
      const bool atEnd = j == name.size();
      switch (e) {
        case L'*':
          for (std::size_t k = j; k <= name.size(); ++k) next[k] = 1;
          break;
        case kDosStar:
          // Any run of characters that does not swallow the last dot.
          next[j] = 1;
          for (std::size_t k = j; k < name.size() && k != lastDot; ++k) next[k + 1] = 1;
          break;
        case L'?':
          if (!atEnd) next[j + 1] = 1;
          break;
        case kDosQm:
          if (atEnd || name[j] == L'.') next[j] = 1;
          else next[j + 1] = 1;
          break;
        case kDosDot:
          if (atEnd) next[j] = 1;
          else if (name[j] == L'.') next[j + 1] = 1;
          break;
        default:
          if (!atEnd && base::UpcaseChar(e) == base::UpcaseChar(name[j])) next[j + 1] = 1;
          break;
      }
    }
    reachable.swap(next);
  }
  return reachable[name.size()] != 0;
}

}  // namespace os::sim
