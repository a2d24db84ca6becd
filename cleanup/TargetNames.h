#pragma once
// The checks that keep every cleanup step on its named target. A name is put
// into a path or a pattern where one plain name belongs; a name that is empty
// or carries path syntax would make the step reach its parent folder or key,
// every sibling, or some other place altogether, so the step is skipped.
#include <string_view>

namespace cleanup {

// A name that stands for exactly one entry of a folder: not empty, no
// wildcards ("*", "?"), no separators ("\", "/"), no drive or stream colon,
// and not "." or ".." (or any name of only dots and blanks, which Win32 path
// handling shortens to one of those or to nothing).
bool IsPlainFileName(std::wstring_view name);

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
