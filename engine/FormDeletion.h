#pragma once
// Deleting forms through a printer, each right after its registry traces:
// the spooler's side knows nothing of the cleanups, so the run puts the two
// in their order here.
#include <string_view>
#include <vector>

#include "sysaccess/PrinterRecord.h"
#include "sysaccess/SystemAccess.h"

namespace engine {

// Through a handle on the printer: every deletable, non-built-in form of the
// table loses its registry traces and is deleted. True when the printer could
// be opened, so that every such form was put to the spooler.
bool DeleteUnusedForms(sysaccess::SystemAccess& sys, std::wstring_view printerName,
                       const std::vector<sysaccess::FormRecord>& forms);

// The same for every form of the list, without condition.
void DeleteEveryForm(sysaccess::SystemAccess& sys, std::wstring_view printerName,
                     const std::vector<sysaccess::FormRecord>& forms);

}  // namespace engine
