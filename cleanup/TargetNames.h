#pragma once
// The checks that keep every cleanup step on its named target. A name is put
// into a path or a pattern where one plain name belongs; a name that is empty
// or carries path syntax would make the step reach its parent folder or key,
// every sibling, or some other place altogether, so the step is skipped.
#include <string_view>

namespace cleanup {

// A name that stands for exactly one entry of a folder: not empty; no
// wildcards, neither "*" and "?" nor the DOS wildcards "<", ">" and '"' that
// FindFirstFileW also honours; no separators ("\", "/"), no drive or stream
// colon, no "|" and no control character; and no trailing dot or blank,
// which Win32 path handling drops, so that "name." names "name" (a name of
// only dots and blanks shrinks to "." or ".." or nothing).
bool IsPlainFileName(std::wstring_view name);

// Whether an entry's long name matches a pattern as a cleanup step means it:
// "*" any run of characters, "?" exactly one, anything else itself, ignoring
// case. FindFirstFileW also matches 8.3 short names and DOS wildcards, so
// every entry it reports is held to this before it is touched.
bool MatchesIntendedPattern(std::wstring_view pattern, std::wstring_view longName);

// Whether a path made of this long name reaches the entry: Win32 drops
// trailing dots and blanks, so "<folder>\name." would reach "name" instead.
bool IsAddressableName(std::wstring_view longName);

// A name that, appended to "<key>\", names a key below that key: not empty
// and not ending in "\" (a trailing separator names the key before it). Inner
// backslashes are allowed: a printer connection's name carries them and they
// lead further down, never up.
bool NamesKeyBelow(std::wstring_view name);

// A name that names one value of a key: the empty name is the key's default
// value, which belongs to no printer.
bool NamesOneValue(std::wstring_view name);

// A folder we were told about: an empty text would turn "<folder>\name" into
// a path on the root of the current drive.
bool IsKnownFolder(std::wstring_view folder);

}  // namespace cleanup
