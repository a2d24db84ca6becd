// The fault guard on a real system: spooler calls that really fault inside
// the spooler library end one deletion with the fault's code as its status,
// the printer handle is still closed, and the thread goes on.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <thread>

#include "os/image/MachineImage.h"
#include "os/win32/StructuredExceptions.h"
#include "os/win32/Win32System.h"
#include "sysaccess/FaultGuard.h"
#include "sysaccess/SpoolerDeletions.h"
#include "sysaccess/SpoolerInventory.h"
#include "tools/seed/Seeder.h"

namespace {

using namespace sysaccess;

// A real fault inside the spooler: it writes the printer list through a
// buffer pointer into nowhere.
void FaultInsideTheSpooler() {
  os::win32::CallTranslatingFaults([] {
    DWORD needed = 0, returned = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<BYTE*>(16), 1 << 20, &needed, &returned);
  });
}

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

// The real spooler with faulting printer deletions and a faulting driver
// deletion for one environment.
class FaultingSpooler final : public os::Spooler {
 public:
  explicit FaultingSpooler(std::wstring faultingEnvironment) : faultingEnvironment_(std::move(faultingEnvironment)) {}

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
    attempts.emplace_back(env);
    if (env == faultingEnvironment_) FaultInsideTheSpooler();
    return real_.DeleteDriver(env, name, flag, version);
  }
  os::Status DeleteDriverPackage(std::wstring_view inf, std::wstring_view env) override {
    return real_.DeleteDriverPackage(inf, env);
  }

  bool handleClosed = false;
  std::vector<std::wstring> attempts;

 private:
  os::Spooler& real_ = os::win32::TheSpooler();
  std::wstring faultingEnvironment_;
};

os::System WithSpooler(os::Spooler& spooler) {
  os::System real = os::win32::MakeSystem();
  return os::System{real.registry, spooler,         real.services, real.files, real.processes,
                    real.environment, real.clock, real.prompts,  real.faults};
}

// Runs work on a thread that installed the translator, as the deletion
// worker does.
template <class F>
void OnWorkerThread(F&& work) {
  std::thread worker([&] {
    os::win32::InstallTranslatorOnThisThread();
    work();
  });
  worker.join();
}

TEST(FaultGuardTest, AFaultInsideAGuardedCallBecomesItsStatusAndTheThreadGoesOn) {
  std::uint32_t faulted = 0, afterwards = 1;
  OnWorkerThread([&] {
    faulted = RunFaultGuarded([]() -> std::uint32_t {
      FaultInsideTheSpooler();
      return 0;
    });
    afterwards = RunFaultGuarded([]() -> std::uint32_t { return 1797; });
  });
  EXPECT_EQ(faulted, os::kAccessViolation);
  EXPECT_EQ(afterwards, 1797u) << "a call that returns gives its own status";
}

TEST(FaultGuardTest, APrinterDeletionThatFaultsGivesTheCodeClosesTheHandleAndTheNextOneWorks) {
  seed::Seeder seeder(true);
  seeder.Apply(os::image::ParseMachineImage(R"({"spooler": {
    "drivers": [{"name": "Tessaly Guard Driver", "environment": "Windows x64", "driverPath": "tessaly-guard.dll",
                 "dataFile": "TESSGUARD.PPD", "configFile": "tessaly-guard.dll"}],
    "printers": [{"name": "Tessaly Guard Printer", "driver": "Tessaly Guard Driver"}]}})", "guard"));
  FaultingSpooler faulting(L"");
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

TEST(FaultGuardTest, AFaultInOneEnvironmentsDriverDeletionEndsOnlyThatAttempt) {
  // The driver name is unknown everywhere: what matters is which attempts
  // were made and whose status comes back.
  FaultingSpooler x86Faults(L"Windows NT x86");
  FaultingSpooler x64Faults(L"Windows x64");
  SystemAccess first(WithSpooler(x86Faults));
  SystemAccess last(WithSpooler(x64Faults));
  std::uint32_t lastStatus = 0;
  OnWorkerThread([&] {
    DeleteDriverEverywhere(first, L"Tessaly Guard No Such Driver");
    lastStatus = DeleteDriverEverywhere(last, L"Tessaly Guard No Such Driver");
  });
  const std::vector<std::wstring> both{L"Windows NT x86", L"Windows x64"};
  EXPECT_EQ(x86Faults.attempts, both) << "the x64 attempt follows a faulted x86 attempt";
  EXPECT_EQ(x64Faults.attempts, both);
  EXPECT_EQ(lastStatus, os::kAccessViolation) << "the status of the last environment is the fault's code";
}

}  // namespace
