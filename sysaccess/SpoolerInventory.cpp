#include "sysaccess/SpoolerInventory.h"

namespace sysaccess {
namespace {

bool Fits(const std::wstring& name, std::size_t capacity) { return name.size() < capacity; }

}  // namespace

std::unique_ptr<os::PrinterHandle> OpenPrinterHandle(SystemAccess& sys, std::wstring_view printerName) {
  auto opened = sys.os().spooler.Open(printerName, os::spool::kPrinterAllAccess);
  return opened.ok() ? std::move(opened.value) : nullptr;
}

std::vector<PrinterRecord> EnumeratePrinters(SystemAccess& sys) {
  std::vector<PrinterRecord> table;
  auto printers = sys.os().spooler.Printers(os::spool::kEnumLocal | os::spool::kEnumConnections);
  for (const auto& info : printers.value) {
    if (!Fits(info.serverName, kNameCapacity) || !Fits(info.printerName, kNameCapacity) ||
        !Fits(info.driverName, kNameCapacity) || !Fits(info.shareName, kNameCapacity)) {
      continue;
    }
    PrinterRecord record;
    record.serverName = info.serverName;
    record.printerName = info.printerName;
    record.driverName = info.driverName;
    record.shareName = info.shareName;
    table.push_back(std::move(record));
  }
  return table;
}

std::vector<DriverRecord> EnumerateDrivers(SystemAccess& sys, std::wstring_view environment) {
  std::vector<DriverRecord> list;
  for (const auto& info : sys.os().spooler.Drivers(environment).value) {
    list.push_back(DriverRecord{info.name, info.environment});
  }
  return list;
}

std::vector<FormRecord> EnumerateForms(SystemAccess& sys, std::wstring_view printerName) {
  std::vector<FormRecord> table;
  auto printer = OpenPrinterHandle(sys, printerName);
  if (!printer) return table;
  for (const auto& form : printer->Forms().value) {
    const bool keep = (form.flags & os::spool::kFormPrinter) || form.flags == os::spool::kFormUser;
    if (!keep || !Fits(form.name, kFormNameCapacity)) continue;
    table.push_back(FormRecord{form.name, form.flags, true});
  }
  return table;
}

bool PrinterHasJobs(SystemAccess& sys, std::wstring_view printerName) {
  auto printer = OpenPrinterHandle(sys, printerName);
  if (!printer) return false;
  auto jobs = printer->Jobs(0, 10);
  return jobs.ok() && !jobs.value.empty();
}

}  // namespace sysaccess
