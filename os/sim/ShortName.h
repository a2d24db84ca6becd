#pragma once
// 8.3 short names as NTFS makes them. FindFirstFileW matches a pattern
// against an entry's short name as well as its long one, and a path
// component may name an entry by either, so a literal name such as
// "REPORT~1.TMP" reaches a file whose long name is something else entirely.
#include <functional>
#include <string>
#include <string_view>

namespace os::sim {

// A name that is already a valid 8.3 name (ignoring case) gets no short name
// of its own.
bool IsValidShortName(std::wstring_view name);

// The short name NTFS would give a long name in a folder where taken(name)
// tells which upper-cased names (long or short) are in use: up to six
// characters of the name, "~1" to "~4", the first three of the extension;
// after four collisions two characters, four hex digits of a hash and "~5".
// Empty for a name that needs none.
std::wstring MakeShortName(std::wstring_view longName, const std::function<bool(const std::wstring&)>& taken);

}  // namespace os::sim
