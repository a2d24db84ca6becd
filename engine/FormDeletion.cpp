#include "engine/FormDeletion.h"

#include <tuple>

#include "cleanup/FormRegistryCleanup.h"
#include "sysaccess/SpoolerInventory.h"

namespace engine {
namespace {

bool DeleteForms(sysaccess::SystemAccess& sys, std::wstring_view printerName,
                 const std::vector<sysaccess::FormRecord>& forms, bool onlyUnused) {
  // The handle is opened even for an empty table: the spooler sees the same
  // calls whatever the table holds.
  auto printer = sysaccess::OpenPrinterHandle(sys, printerName);
  for (const auto& form : forms) {
    if (onlyUnused && (!form.deletable || form.flags == os::spool::kFormBuiltin)) continue;
    // The registry traces go first, while the spooler still knows the form.
    // They go even when the printer could not be opened: that only stops the
    // spooler's own deletion, which would have failed on a null handle.
    cleanup::CleanFormRegistry(sys, form.formName);
    if (printer) std::ignore = printer->RemoveForm(form.formName);
  }
  return printer != nullptr;
}

}  // namespace

bool DeleteUnusedForms(sysaccess::SystemAccess& sys, std::wstring_view printerName,
                       const std::vector<sysaccess::FormRecord>& forms) {
  return DeleteForms(sys, printerName, forms, true);
}

void DeleteEveryForm(sysaccess::SystemAccess& sys, std::wstring_view printerName,
                     const std::vector<sysaccess::FormRecord>& forms) {
  DeleteForms(sys, printerName, forms, false);
}

}  // namespace engine
