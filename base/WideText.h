#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Upper-cases one UTF-16 unit the way Windows compares registry and file
// names: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters. Other
// scripts compare exactly.
wchar_t UpcaseChar(wchar_t c);
std::wstring Upcase(std::wstring_view s);
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);
// Ordinal comparison of upper-cased units: the order in which Windows lists
// registry sub-keys and NTFS lists a folder.
int CompareIgnoreCase(std::wstring_view a, std::wstring_view b);

// The pieces between the separators, empty ones included: "a\\b\\" gives
// "a", "b" and "".
std::vector<std::wstring> Split(std::wstring_view text, wchar_t separator);

// The text up to the first NUL: what a Win32 caller sees when it reads a
// buffer as a plain string.
std::wstring_view AsText(std::wstring_view s);

// Fills each "%s" of a message pattern with the next argument, in order, and
// turns "%%" into "%". printf-style formatting of wide strings differs between
// the Windows and Linux runtimes, so every message goes through here.
std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);

// A path that names its folder from the root: "X:\\..." or "\\\\server\\...".
// Any other name makes LoadLibrary search the current folder and PATH.
bool IsFullPath(std::wstring_view path);

}  // namespace base
