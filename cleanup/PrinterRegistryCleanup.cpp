#include "cleanup/PrinterRegistryCleanup.h"

#include <array>
#include <tuple>

#include "base/WideText.h"
#include "cleanup/TargetNames.h"

namespace cleanup {
namespace {

enum class PrinterStepKind { KeyTree, ValueNamedLikePrinter };

struct PrinterStep {
  os::RootKey root;
  const wchar_t* path;  // "%s" is the printer name, inserted unchanged
  PrinterStepKind kind;
};

constexpr auto kPrinterSteps = std::to_array<PrinterStep>({
    {os::RootKey::CurrentUser, L"Printers\\Settings\\Printers\\%s", PrinterStepKind::KeyTree},
    {os::RootKey::Users, L".DEFAULT\\Printers\\Settings\\Printers\\%s", PrinterStepKind::KeyTree},
    {os::RootKey::CurrentUser, L"Printers\\Settings", PrinterStepKind::ValueNamedLikePrinter},
    {os::RootKey::LocalMachine, L"Software\\NVL\\Quellix\\printers\\%s", PrinterStepKind::KeyTree},
    {os::RootKey::CurrentUser, L"Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\%s",
     PrinterStepKind::KeyTree},
    // No printer name here: the whole watermark key goes with every printer.
    {os::RootKey::LocalMachine, L"SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark", PrinterStepKind::KeyTree},
});

bool InsertsName(const PrinterStep& step) {
  return std::wstring_view(step.path).find(L"%s") != std::wstring_view::npos;
}

}  // namespace

void CleanPrinterRegistry(sysaccess::SystemAccess& sys, std::wstring_view printerName) {
  auto& registry = sys.os().registry;
  for (const auto& step : kPrinterSteps) {
    if (step.kind == PrinterStepKind::ValueNamedLikePrinter) {
      if (!NamesOneValue(printerName)) continue;
      auto key = registry.OpenKey(step.root, step.path, os::regaccess::kAllAccess);
      if (key.ok()) std::ignore = key.value->DeleteValue(printerName);
      continue;
    }
    // A name that is empty or ends in "\" would make the path name the parent
    // key, which holds every printer's entry.
    if (InsertsName(step) && !NamesKeyBelow(printerName)) continue;
    std::ignore = registry.DeleteTree(step.root, base::FormatText(step.path, {printerName}));
  }
}

}  // namespace cleanup
