#pragma once
// The fault guard around every spooler call. Spooler calls run driver and
// print-provider code inside our process, and any of them may fault: the
// opening of a printer, an enumeration, a form's deletion as much as the
// deletion of a printer or driver. Wrapped once here, no caller can forget
// one: a fault arrives as the call's status (its exception code) and the
// operation goes on as if the call had returned. On a thread without the
// translator a fault still ends the process, as it does on Windows.
#include <memory>

#include "os/Spooler.h"

namespace sysaccess {

class GuardedSpooler final : public os::Spooler {
 public:
  explicit GuardedSpooler(os::Spooler& inner) : inner_(inner) {}

  os::Result<std::vector<os::PrinterInfo>> Printers(std::uint32_t flags) override;
  os::Result<std::vector<os::DriverInfo>> Drivers(std::wstring_view environment) override;
  os::Result<std::unique_ptr<os::PrinterHandle>> Open(std::wstring_view name, std::uint32_t access) override;
  os::Status DeleteConnection(std::wstring_view name) override;
  os::Status DeleteDriver(std::wstring_view environment, std::wstring_view driverName, std::uint32_t deleteFlag,
                          std::uint32_t versionFlag) override;
  os::Status DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment) override;
  bool HasDriverPackageEntry() override { return inner_.HasDriverPackageEntry(); }

 private:
  os::Spooler& inner_;
};

}  // namespace sysaccess
