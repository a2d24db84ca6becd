#pragma once
// How FindFirstFileW matches the last component of a pattern, as Windows does
// it: kernel32 rewrites the pattern into DOS wildcards, and the file system
// matches that expression against each entry's long name and its 8.3 short
// name. The DOS wildcards "<", ">" and '"' are also taken as such when the
// caller's pattern holds them itself, which is how a name that merely
// contains one of them reaches files it does not name.
#include <string>
#include <string_view>

namespace os::sim {

// The Win32 pattern as kernel32 hands it to the file system: "*.*" becomes
// "*", "?" becomes ">" (DOS_QM), a "." before "?", "*" or the end becomes '"'
// (DOS_DOT), and a "*" before a "." becomes "<" (DOS_STAR).
std::wstring ToFileSystemExpression(std::wstring_view pattern);

// FsRtlIsNameInExpression, ignoring case: "*" any run, "?" one character,
// "<" any run that stops short of the name's last ".", ">" one character or
// nothing at a "." or the end, '"' a "." or nothing at the end.
bool MatchesExpression(std::wstring_view expression, std::wstring_view name);

// True when FindFirstFileW treats the component as a pattern at all.
bool HasWildcards(std::wstring_view component);

}  // namespace os::sim
