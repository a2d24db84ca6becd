#include "cleanup/TargetNames.h"

namespace cleanup {

bool IsPlainFileName(std::wstring_view name) {
  if (name.empty()) return false;
  if (name.find_first_of(L"*?\\/:") != std::wstring_view::npos) return false;
  return name.find_first_not_of(L". ") != std::wstring_view::npos;
}

bool NamesKeyBelow(std::wstring_view name) { return !name.empty() && name.back() != L'\\'; }

bool NamesOneValue(std::wstring_view name) { return !name.empty(); }

bool IsKnownFolder(std::wstring_view folder) { return !folder.empty(); }

}  // namespace cleanup
