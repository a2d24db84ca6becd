#pragma once
#include <string_view>

namespace os::sim {

// Matches a file name against the last component of a FindFirstFileW
// pattern, ignoring case: "*" matches any run of characters, "?" exactly one,
// and "*.*" matches every name (also names without a dot), as on Windows.
// Short (8.3) names are not simulated, so "*.tmp" does not match "a.tmpx".
bool MatchesWildcard(std::wstring_view pattern, std::wstring_view name);
bool HasWildcards(std::wstring_view pattern);

}  // namespace os::sim
