#pragma once
// The About window's scrolling text, composed from the string table (the
// current language's) and the patent notice built into the program.
#include <string>

#include "res/Texts.h"

namespace about {

// Stands where a list of patent numbers, separated by semicolons, would
// stand: the program is covered by none.
inline constexpr wchar_t kPatentNumbers[] = L"None claimed.";

// Version, copyright, project and licence lines; the warning paragraph
// after a gap; the patent notice; a tail of empty lines before the text
// starts again. Line feeds only: the control draws with DrawText, which
// breaks lines at each of them.
std::wstring ComposeAboutText(const res::Texts& texts);

}  // namespace about
