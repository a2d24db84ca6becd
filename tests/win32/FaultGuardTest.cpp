// The fault guard on a real system: spooler calls that really fault inside
// the spooler library end one deletion with the fault's code as its status,
// the printer handle is still closed, and the spooler answers afterwards, on
// the faulting thread and on another. Which attempts a fault ends, in each
// operation, is proved on the simulated machine (SpoolerDeletionsTest).
#include <algorithm>

#include "sysaccess/SpoolerDeletions.h"
#include "sysaccess/SpoolerInventory.h"
#include "tests/win32/RealSystem.h"

namespace realsystem {
namespace {

using namespace sysaccess;

// The real printer handle, except that its deletion faults inside the
// spooler before it gets to DeletePrinter.
class FaultingPrinter final : public os::PrinterHandle {
 public:
  FaultingPrinter(std::unique_ptr<os::PrinterHandle> real, bool& closed) : real_(std::move(real)), closed_(closed) {}
  ~FaultingPrinter() override {
    real_.reset();  // ClosePrinter
    closed_ = true;
  }
  os::Result<std::vector<os::FormInfo>> Forms() override { return real_->Forms(); }
  os::Result<std::vector<std::uint32_t>> Jobs(std::uint32_t first, std::uint32_t count) override {
    return real_->Jobs(first, count);
  }
  os::Status RemoveForm(std::wstring_view name) override { return real_->RemoveForm(name); }
  os::Status Delete() override {
    FaultInsideTheSpooler();
    return real_->Delete();
  }

 private:
  std::unique_ptr<os::PrinterHandle> real_;
  bool& closed_;
};

// The real spooler with faulting printer deletions.
class FaultingSpooler final : public os::Spooler {
 public:
  os::Result<std::vector<os::PrinterInfo>> Printers(std::uint32_t flags) override { return real_.Printers(flags); }
  os::Result<std::vector<os::DriverInfo>> Drivers(std::wstring_view env) override { return real_.Drivers(env); }
  os::Result<std::unique_ptr<os::PrinterHandle>> Open(std::wstring_view name, std::uint32_t access) override {
    auto opened = real_.Open(name, access);
    if (!opened.ok()) return opened;
    return os::Result<std::unique_ptr<os::PrinterHandle>>::Ok(
        std::make_unique<FaultingPrinter>(std::move(opened.value), handleClosed));
  }
  os::Status DeleteConnection(std::wstring_view name) override { return real_.DeleteConnection(name); }
  os::Status DeleteDriver(std::wstring_view env, std::wstring_view name, std::uint32_t flag,
                          std::uint32_t version) override {
    return real_.DeleteDriver(env, name, flag, version);
  }
  bool HasDriverPackageEntry() override { return real_.HasDriverPackageEntry(); }
  os::Status DeleteDriverPackage(std::wstring_view inf, std::wstring_view env) override {
    return real_.DeleteDriverPackage(inf, env);
  }

  bool handleClosed = false;

 private:
  os::Spooler& real_ = os::win32::TheSpooler();
};

os::System WithSpooler(os::Spooler& spooler) {
  os::System real = os::win32::MakeSystem();
  return os::System{real.registry, spooler,         real.services, real.files, real.processes,
                    real.environment, real.clock, real.prompts,  real.faults};
}

using FaultGuardTest = SeededPrefix;

TEST_F(FaultGuardTest, APrinterDeletionThatFaultsGivesTheCodeClosesTheHandleAndTheNextOneWorks) {
  Seed(R"({"spooler": {
    "drivers": [{"name": "Tessaly Guard Driver", "environment": "Windows x64", "driverPath": "tessaly-guard.dll",
                 "dataFile": "TESSGUARD.PPD", "configFile": "tessaly-guard.dll"}],
    "printers": [{"name": "Tessaly Guard Printer", "driver": "Tessaly Guard Driver"}]}})");
  FaultingSpooler faulting;
  SystemAccess guarded(WithSpooler(faulting));
  SystemAccess real(os::win32::MakeSystem());
  auto listed = [&] {
    const auto printers = EnumeratePrinters(real);
    return std::any_of(printers.begin(), printers.end(),
                       [](const PrinterRecord& p) { return p.printerName == L"Tessaly Guard Printer"; });
  };

  std::uint32_t faulted = 0, next = 1;
  bool stillListed = false;
  OnWorkerThread([&] {
    faulted = DeletePrinterByName(guarded, L"Tessaly Guard Printer");
    stillListed = listed();
    next = DeletePrinterByName(real, L"Tessaly Guard Printer");
  });
  EXPECT_EQ(faulted, os::kAccessViolation);
  EXPECT_TRUE(faulting.handleClosed);
  EXPECT_TRUE(stillListed) << "the faulting deletion never reached DeletePrinter";
  EXPECT_EQ(next, 0u);
  EXPECT_FALSE(listed());
}

}  // namespace
}  // namespace realsystem
