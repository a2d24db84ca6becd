// The spooler with its deletions recorded, or in Plan mode only recorded.
// A planned deletion also hides what the spooler removes of its own accord:
// a printer's or driver's registry key, a form's value, a driver's files
// with DPD_DELETE_UNUSED_FILES.
#include <algorithm>

#include "base/WideText.h"
#include "os/record/RecordingAreas.h"

namespace os::record {
namespace {

constexpr const wchar_t* kPrintKey = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print";
// The environments a driver may be installed for, for the files two drivers share.
constexpr const wchar_t* kEnvironments[] = {L"Windows NT x86", L"Windows x64", L"Windows IA64", L"Windows 4.0"};

std::wstring DriverId(std::wstring_view environment, std::wstring_view name) {
  return base::Upcase(std::wstring(environment) + L"|" + std::wstring(name));
}

// A printer the plan still leaves, as the spooler lists it; null for none.
const PrinterInfo* StillListed(PlanState& state, std::wstring_view name) {
  const std::wstring key = base::Upcase(name);
  if (state.gonePrinters.count(key)) return nullptr;
  const auto* printers = state.RealPrinters();
  if (!printers) return nullptr;
  auto it = printers->find(key);
  return it == printers->end() ? nullptr : &it->second;
}

Result<std::vector<DriverInfo>> VisibleDrivers(PlanState& state, std::wstring_view environment) {
  const std::wstring key = base::Upcase(environment);
  auto cached = state.realDrivers.find(key);
  if (cached == state.realDrivers.end()) {
    auto all = state.inner.spooler.Drivers(environment);
    // A refusal is asked again next time, as the run would.
    if (!all.ok()) return Result<std::vector<DriverInfo>>::Fail(all.status);
    cached = state.realDrivers.emplace(key, std::move(all.value)).first;
  }
  std::vector<DriverInfo> visible = cached->second;
  std::erase_if(visible, [&](const DriverInfo& d) { return state.goneDrivers.count(DriverId(environment, d.name)) > 0; });
  return Result<std::vector<DriverInfo>>::Ok(std::move(visible));
}

class RecordingPrinter final : public PrinterHandle {
 public:
  RecordingPrinter(PlanState& state, std::unique_ptr<PrinterHandle> inner, PrinterInfo printer)
      : state_(state), inner_(std::move(inner)), printer_(std::move(printer)) {}

  Result<std::vector<FormInfo>> Forms() override {
    using R = Result<std::vector<FormInfo>>;
    if (!state_.planning()) return inner_->Forms();
    if (Status s = Check()) return R::Fail(s);
    auto forms = inner_->Forms();
    if (forms.ok()) std::erase_if(forms.value, [&](const FormInfo& f) { return state_.goneForms.count(base::Upcase(f.name)) > 0; });
    return forms;
  }

  Result<std::vector<std::uint32_t>> Jobs(std::uint32_t firstJob, std::uint32_t count) override {
    if (state_.planning()) {
      if (Status s = Check()) return Result<std::vector<std::uint32_t>>::Fail(s);
    }
    return inner_->Jobs(firstJob, count);
  }

  Status RemoveForm(std::wstring_view formName) override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_->RemoveForm(formName);
    } else if (!(status = Check())) {
      auto forms = Forms();
      status = forms.status;
      if (forms.ok()) {
        auto it = std::find_if(forms.value.begin(), forms.value.end(),
                               [&](const FormInfo& f) { return base::EqualsIgnoreCase(f.name, formName); });
        if (it == forms.value.end()) status = error::kInvalidFormName;
        else if (it->flags == spool::kFormBuiltin) status = error::kInvalidParameter;
        if (status == error::kSuccess) {
          state_.goneForms.insert(base::Upcase(formName));
          state_.RemoveValue(std::wstring(kPrintKey) + L"\\Forms", formName);
        }
      }
    }
    state_.Record(L"spooler.DeleteForm", formName, status);
    return status;
  }

  Status Delete() override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_->Delete();
    } else if (!(status = Check())) {
      state_.RemovePrinter(printer_);
      state_.RemoveKey(std::wstring(kPrintKey) + L"\\Printers\\" + printer_.printerName);
    }
    state_.Record(L"spooler.DeletePrinter", printer_.printerName, status);
    return status;
  }

 private:
  Status Check() {
    if (!state_.SpoolerAvailable()) return error::kRpcServerUnavailable;
    return state_.gonePrinters.count(base::Upcase(printer_.printerName)) ? error::kInvalidHandle : error::kSuccess;
  }

  PlanState& state_;
  std::unique_ptr<PrinterHandle> inner_;
  PrinterInfo printer_;
};

class RecordingSpooler final : public Spooler {
 public:
  explicit RecordingSpooler(PlanState& state) : state_(state), inner_(state.inner.spooler) {}

  Result<std::vector<PrinterInfo>> Printers(std::uint32_t flags) override {
    using R = Result<std::vector<PrinterInfo>>;
    if (!state_.planning()) return inner_.Printers(flags);
    if (!state_.SpoolerAvailable()) return R::Fail(error::kRpcServerUnavailable);
    auto listed = inner_.Printers(flags);
    if (listed.ok()) {
      std::erase_if(listed.value, [&](const PrinterInfo& p) { return state_.gonePrinters.count(base::Upcase(p.printerName)) > 0; });
    }
    return listed;
  }

  Result<std::vector<DriverInfo>> Drivers(std::wstring_view environment) override {
    using R = Result<std::vector<DriverInfo>>;
    if (!state_.planning()) return inner_.Drivers(environment);
    if (!state_.SpoolerAvailable()) return R::Fail(error::kRpcServerUnavailable);
    return VisibleDrivers(state_, environment);
  }

  Result<std::unique_ptr<PrinterHandle>> Open(std::wstring_view name, std::uint32_t access) override {
    using R = Result<std::unique_ptr<PrinterHandle>>;
    PrinterInfo printer;
    printer.printerName = std::wstring(name);
    if (state_.planning()) {
      if (!state_.SpoolerAvailable()) return R::Fail(error::kRpcServerUnavailable);
      if (state_.gonePrinters.count(base::Upcase(name))) return R::Fail(error::kInvalidPrinterName);
      // The spooler's own spelling of the name, as it reports a deletion.
      if (const PrinterInfo* listed = StillListed(state_, name)) printer = *listed;
    }
    auto opened = inner_.Open(name, access);
    if (!opened.ok()) return opened;
    return R::Ok(std::make_unique<RecordingPrinter>(state_, std::move(opened.value), std::move(printer)));
  }

  Status DeleteConnection(std::wstring_view name) override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_.DeleteConnection(name);
    } else if (!state_.SpoolerAvailable()) {
      status = error::kRpcServerUnavailable;
    } else {
      status = error::kInvalidPrinterName;
      const PrinterInfo* listed = StillListed(state_, name);
      if (listed && !listed->serverName.empty()) {
        status = error::kSuccess;
        const PrinterInfo gone = *listed;
        state_.RemovePrinter(gone);
        std::wstring commas = gone.printerName;
        std::replace(commas.begin(), commas.end(), L'\\', L',');
        state_.RemoveKey(L"HKEY_CURRENT_USER\\Printers\\Connections\\" + commas);
      }
    }
    state_.Record(L"spooler.DeleteConnection", name, status);
    return status;
  }

  Status DeleteDriver(std::wstring_view environment, std::wstring_view driverName, std::uint32_t deleteFlag,
                      std::uint32_t versionFlag) override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_.DeleteDriver(environment, driverName, deleteFlag, versionFlag);
    } else {
      status = PlanDriverDeletion(environment, driverName, deleteFlag);
    }
    state_.Record(L"spooler.DeleteDriver", std::wstring(environment) + L"|" + std::wstring(driverName), status);
    return status;
  }

  Status DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment) override {
    // Without the export nothing is called, and nothing happens to record.
    if (!inner_.HasDriverPackageEntry()) return error::kProcNotFound;
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_.DeleteDriverPackage(infPath, environment);
      if (status == error::kProcNotFound) return status;
    } else if (!state_.SpoolerAvailable()) {
      status = error::kRpcServerUnavailable;
    } else if (infPath.empty()) {
      status = error::kInvalidParameter;
    } else if (state_.gonePackages.count(base::Upcase(infPath))) {
      status = error::kFileNotFound;
    } else if (PackageInUse(infPath)) {
      status = error::kPrinterDriverPackageInUse;
    } else {
      state_.gonePackages.insert(base::Upcase(infPath));
    }
    state_.Record(L"spooler.DeleteDriverPackage", std::wstring(environment) + L"|" + std::wstring(infPath), status);
    return status;
  }

  bool HasDriverPackageEntry() override { return inner_.HasDriverPackageEntry(); }

 private:
  Status PlanDriverDeletion(std::wstring_view environment, std::wstring_view driverName, std::uint32_t deleteFlag) {
    if (!state_.SpoolerAvailable()) return error::kRpcServerUnavailable;
    const auto listed = VisibleDrivers(state_, environment);
    if (!listed.ok()) return listed.status;  // an environment the spooler does not know: 1805
    const auto& drivers = listed.value;
    auto it = std::find_if(drivers.begin(), drivers.end(),
                           [&](const DriverInfo& d) { return base::EqualsIgnoreCase(d.name, driverName); });
    if (it == drivers.end()) return error::kUnknownPrinterDriver;
    if (state_.RealPrinters()) {
      auto users = state_.driverUsers.find(base::Upcase(driverName));
      if (users != state_.driverUsers.end() && users->second > 0) return error::kPrinterDriverInUse;
    }
    state_.goneDrivers.insert(DriverId(environment, driverName));
    state_.RemoveKey(std::wstring(kPrintKey) + L"\\Environments\\" + std::wstring(environment) + L"\\Drivers\\Version-" +
                     std::to_wstring(it->version) + L"\\" + it->name);
    if (deleteFlag & spool::kDeleteUnusedFiles) {
      // The files DRIVER_INFO_2 names, unless a driver that stays names them too.
      std::vector<std::wstring> kept;
      for (const wchar_t* env : kEnvironments) {
        for (const auto& d : VisibleDrivers(state_, env).value) {
          kept.insert(kept.end(), {d.driverPath, d.dataFile, d.configFile});
        }
      }
      for (const std::wstring& file : {it->driverPath, it->dataFile, it->configFile}) {
        if (!base::IsFullPath(file)) continue;
        const bool shared = std::any_of(kept.begin(), kept.end(), [&](const std::wstring& k) { return base::EqualsIgnoreCase(k, file); });
        if (!shared) state_.goneFiles.insert(PlanState::CanonicalPath(file));
      }
    }
    return error::kSuccess;
  }

  // A package stays while a driver that stays was installed from it.
  bool PackageInUse(std::wstring_view infPath) {
    for (const wchar_t* env : kEnvironments) {
      for (const auto& d : VisibleDrivers(state_, env).value) {
        if (base::EqualsIgnoreCase(InfPathOf(env, d), infPath)) return true;
      }
    }
    return false;
  }

  // The INF path the driver's key names, read once per driver.
  const std::wstring& InfPathOf(const wchar_t* env, const DriverInfo& d) {
    const std::wstring id = DriverId(env, d.name);
    if (auto known = state_.infPaths.find(id); known != state_.infPaths.end()) return known->second;
    std::wstring text;
    {
        auto key = state_.inner.registry.OpenKey(
            RootKey::LocalMachine,
            L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" + std::wstring(env) + L"\\Drivers\\Version-" +
                std::to_wstring(d.version) + L"\\" + d.name,
            regaccess::kRead);
        const auto read = key.ok() ? key.value->QueryValue(L"InfPath") : Result<RegistryValue>::Fail(key.status);
        const RegistryValue& inf = read.value;
        if (read.ok()) {
          for (std::size_t i = 0; i + 1 < inf.data.size(); i += 2) {
            const wchar_t c = static_cast<wchar_t>(inf.data[i] | (inf.data[i + 1] << 8));
            if (c == 0) break;
            text.push_back(c);
          }
        }
    }
    return state_.infPaths.emplace(id, std::move(text)).first->second;
  }

  PlanState& state_;
  Spooler& inner_;
};

}  // namespace

std::unique_ptr<Spooler> MakeRecordingSpooler(PlanState& state) { return std::make_unique<RecordingSpooler>(state); }

}  // namespace os::record
