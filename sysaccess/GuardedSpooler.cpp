#include "sysaccess/GuardedSpooler.h"

#include "sysaccess/FaultGuard.h"

namespace sysaccess {
namespace {

template <class T, class Call>
os::Result<T> GuardedResult(Call&& call) {
  os::Result<T> result;
  const os::Status fault = RunFaultGuarded([&]() -> os::Status {
    result = call();
    return os::error::kSuccess;
  });
  return fault == os::error::kSuccess ? std::move(result) : os::Result<T>::Fail(fault);
}

class GuardedPrinterHandle final : public os::PrinterHandle {
 public:
  explicit GuardedPrinterHandle(std::unique_ptr<os::PrinterHandle> inner) : inner_(std::move(inner)) {}
  // Closing the handle runs driver code too (the driver hears of the close).
  ~GuardedPrinterHandle() override {
    RunFaultGuarded([&]() -> os::Status {
      inner_.reset();
      return os::error::kSuccess;
    });
  }

  os::Result<std::vector<os::FormInfo>> Forms() override {
    return GuardedResult<std::vector<os::FormInfo>>([&] { return inner_->Forms(); });
  }
  os::Result<std::vector<std::uint32_t>> Jobs(std::uint32_t firstJob, std::uint32_t count) override {
    return GuardedResult<std::vector<std::uint32_t>>([&] { return inner_->Jobs(firstJob, count); });
  }
  os::Status RemoveForm(std::wstring_view formName) override {
    return RunFaultGuarded([&] { return inner_->RemoveForm(formName); });
  }
  os::Status Delete() override {
    return RunFaultGuarded([&] { return inner_->Delete(); });
  }

 private:
  std::unique_ptr<os::PrinterHandle> inner_;
};

}  // namespace

os::Result<std::vector<os::PrinterInfo>> GuardedSpooler::Printers(std::uint32_t flags) {
  return GuardedResult<std::vector<os::PrinterInfo>>([&] { return inner_.Printers(flags); });
}

os::Result<std::vector<os::DriverInfo>> GuardedSpooler::Drivers(std::wstring_view environment) {
  return GuardedResult<std::vector<os::DriverInfo>>([&] { return inner_.Drivers(environment); });
}

os::Result<std::unique_ptr<os::PrinterHandle>> GuardedSpooler::Open(std::wstring_view name, std::uint32_t access) {
  auto opened = GuardedResult<std::unique_ptr<os::PrinterHandle>>([&] { return inner_.Open(name, access); });
  if (!opened.ok()) return opened;
  return os::Result<std::unique_ptr<os::PrinterHandle>>::Ok(
      std::make_unique<GuardedPrinterHandle>(std::move(opened.value)));
}

os::Status GuardedSpooler::DeleteConnection(std::wstring_view name) {
  return RunFaultGuarded([&] { return inner_.DeleteConnection(name); });
}

os::Status GuardedSpooler::DeleteDriver(std::wstring_view environment, std::wstring_view driverName,
                                        std::uint32_t deleteFlag, std::uint32_t versionFlag) {
  return RunFaultGuarded([&] { return inner_.DeleteDriver(environment, driverName, deleteFlag, versionFlag); });
}

os::Status GuardedSpooler::DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment) {
  return RunFaultGuarded([&] { return inner_.DeleteDriverPackage(infPath, environment); });
}

}  // namespace sysaccess
