#pragma once
#include <string_view>

#include "sysaccess/SystemAccess.h"

namespace cleanup {

// A form's entries in the forms key of the current control set: its value,
// and from Windows Vista on its key.
void CleanFormRegistry(sysaccess::SystemAccess& sys, std::wstring_view formName);

}  // namespace cleanup
