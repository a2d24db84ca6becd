#include "os/sim/SimSpooler.h"

#include <algorithm>

#include "base/WideText.h"

namespace os::sim {
namespace {

class SimPrinterHandle final : public PrinterHandle {
 public:
  SimPrinterHandle(SimSpooler& spooler, std::wstring name) : spooler_(spooler), name_(std::move(name)) {
    spooler_.CountHandle(+1);
  }
  ~SimPrinterHandle() override { spooler_.CountHandle(-1); }

  Result<std::vector<FormInfo>> Forms() override {
    using R = Result<std::vector<FormInfo>>;
    if (auto e = spooler_.gate().Enter(Op::SpoolerForms, name_)) return R::Fail(*e);
    if (const Status s = Check()) return R::Fail(s);
    std::vector<FormInfo> out;
    for (const auto& f : spooler_.forms()) out.push_back(FormInfo{f.flags, f.name});
    return R::Ok(std::move(out));
  }

  Result<std::vector<std::uint32_t>> Jobs(std::uint32_t firstJob, std::uint32_t count) override {
    using R = Result<std::vector<std::uint32_t>>;
    if (auto e = spooler_.gate().Enter(Op::SpoolerJobs, name_)) return R::Fail(*e);
    // DeletePrinter leaves the printer to go with its last handle: the handle
    // that deleted it still answers, with no jobs left.
    if (deletedHere_ && spooler_.Available() && !spooler_.FindPrinter(name_)) return R::Ok({});
    if (const Status s = Check()) return R::Fail(s);
    const auto& jobs = spooler_.FindPrinter(name_)->jobs;
    std::vector<std::uint32_t> out;
    for (size_t i = firstJob; i < jobs.size() && out.size() < count; ++i) out.push_back(jobs[i]);
    return R::Ok(std::move(out));
  }

  Status RemoveForm(std::wstring_view formName) override {
    Status status = 0;
    if (auto e = spooler_.gate().Enter(Op::SpoolerRemoveForm, formName)) status = *e;
    else if (!(status = Check())) status = spooler_.RemoveForm(formName);
    spooler_.gate().RecordEffect(L"spooler.DeleteForm", formName, status);
    return status;
  }

  Status Delete() override {
    Status status = 0;
    if (auto e = spooler_.gate().Enter(Op::SpoolerDeletePrinter, name_)) status = *e;
    else if (!(status = Check())) {
      spooler_.DeleteOrMark(name_);
      deletedHere_ = true;
    }
    spooler_.gate().RecordEffect(L"spooler.DeletePrinter", name_, status);
    return status;
  }

 private:
  Status Check() {
    if (!spooler_.Available()) return error::kRpcServerUnavailable;
    return spooler_.FindPrinter(name_) ? error::kSuccess : error::kInvalidHandle;
  }

  SimSpooler& spooler_;
  std::wstring name_;
  bool deletedHere_ = false;
};

}  // namespace

const wchar_t* SimSpooler::kFormsKey = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";

SimSpooler::SimSpooler(Gate& gate, SimRegistry& registry, SimFileSystem& files)
    : gate_(gate), registry_(registry), files_(files) {}

std::wstring SimSpooler::PrinterKey(std::wstring_view name) {
  return L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + std::wstring(name);
}

std::wstring SimSpooler::DriverKey(std::wstring_view environment, std::uint32_t version, std::wstring_view name) {
  return L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" + std::wstring(environment) +
         L"\\Drivers\\Version-" + std::to_wstring(version) + L"\\" + std::wstring(name);
}

std::wstring SimSpooler::ConnectionKey(std::wstring_view printerName) {
  std::wstring commas(printerName);
  std::replace(commas.begin(), commas.end(), L'\\', L',');
  return L"HKEY_CURRENT_USER\\Printers\\Connections\\" + commas;
}

SimPrinter* SimSpooler::FindPrinter(std::wstring_view name) {
  auto it = printerIndex_.find(base::Upcase(name));
  return it == printerIndex_.end() ? nullptr : &*it->second;
}

void SimSpooler::AddDriver(SimDriver driver) {
  const std::wstring key = DriverKey(driver.environment, driver.version, driver.name);
  if (!registry_.KeyExists(key)) {
    registry_.SetString(key, L"Driver", driver.driverPath);
    registry_.SetString(key, L"Data File", driver.dataFile);
    registry_.SetString(key, L"Configuration File", driver.configFile);
    if (!driver.infPath.empty()) registry_.SetString(key, L"InfPath", driver.infPath);
  }
  for (const auto& f : driver.files) {
    if (!files_.Exists(f)) files_.AddFile(f);
  }
  const std::wstring index = base::Upcase(driver.environment + L"|" + driver.name);
  if (!driver.infPath.empty()) ++driversOfPackage_[base::Upcase(driver.infPath)];
  drivers_.push_back(std::move(driver));
  driverIndex_.emplace(index, std::prev(drivers_.end()));
}

void SimSpooler::RemoveDriver(std::list<SimDriver>::iterator driver) {
  auto [first, last] = driverIndex_.equal_range(base::Upcase(driver->environment + L"|" + driver->name));
  for (auto it = first; it != last; ++it) {
    if (it->second == driver) {
      driverIndex_.erase(it);
      break;
    }
  }
  if (!driver->infPath.empty()) --driversOfPackage_[base::Upcase(driver->infPath)];
  drivers_.erase(driver);
}

void SimSpooler::AddPrinter(SimPrinter printer) {
  if (printer.serverName.empty()) {
    const std::wstring key = PrinterKey(printer.name);
    if (!registry_.KeyExists(key)) {
      registry_.SetString(key, L"Name", printer.name);
      registry_.SetString(key, L"Printer Driver", printer.driverName);
      registry_.SetString(key, L"Port", printer.portName);
      registry_.SetString(key, L"Share Name", printer.shareName);
      registry_.SetString(key + L"\\DsSpooler", L"driverName", printer.driverName);
      registry_.SetString(key + L"\\DsSpooler", L"printerName", printer.name);
      if (!printer.media.empty()) registry_.SetMultiString(key + L"\\DsDriver", L"printMediaSupported", printer.media);
      if (!printer.hardwareId.empty()) registry_.SetString(key + L"\\PnPData", L"HardwareID", printer.hardwareId);
    }
  } else {
    const std::wstring key = ConnectionKey(printer.name);
    if (!registry_.KeyExists(key)) registry_.SetString(key, L"Server", printer.serverName);
  }
  ++usersOfDriver_[base::Upcase(printer.driverName)];
  const std::wstring key = base::Upcase(printer.name);
  printers_.push_back(std::move(printer));
  printerIndex_[key] = std::prev(printers_.end());
}

void SimSpooler::AddForm(SimForm form) {
  if (form.flags == spool::kFormUser && !registry_.GetValue(kFormsKey, form.name)) {
    registry_.SetValue(kFormsKey, form.name, RegistryValue{regtype::kBinary, std::vector<std::uint8_t>(32, 0)});
  }
  forms_.push_back(std::move(form));
}

void SimSpooler::RemovePrinter(std::wstring_view name) {
  auto found = printerIndex_.find(base::Upcase(name));
  if (found == printerIndex_.end()) return;
  auto it = found->second;
  printerIndex_.erase(found);
  --usersOfDriver_[base::Upcase(it->driverName)];
  registry_.RemoveKey(it->serverName.empty() ? PrinterKey(it->name) : ConnectionKey(it->name));
  printers_.erase(it);
}

void SimSpooler::DeleteOrMark(std::wstring_view name) {
  SimPrinter* printer = FindPrinter(name);
  if (!printer) return;
  // DeletePrinter on a queue with jobs answers success but only marks the
  // printer: it stays listed, with PRINTER_STATUS_PENDING_DELETION, its keys
  // and its driver in use, until its last job is done.
  if (!printer->jobs.empty()) {
    printer->pendingDeletion = true;
    return;
  }
  RemovePrinter(name);
}

void SimSpooler::FinishJobs(std::wstring_view name) {
  SimPrinter* printer = FindPrinter(name);
  if (!printer) return;
  printer->jobs.clear();
  if (printer->pendingDeletion) RemovePrinter(name);
}

Status SimSpooler::RemoveForm(std::wstring_view name) {
  auto it = std::find_if(forms_.begin(), forms_.end(),
                         [&](const SimForm& f) { return base::EqualsIgnoreCase(f.name, name); });
  if (it == forms_.end()) return error::kInvalidFormName;
  if (it->flags == spool::kFormBuiltin) return error::kInvalidParameter;
  forms_.erase(it);
  registry_.RemoveValue(kFormsKey, name);  // the spooler's own bookkeeping
  return error::kSuccess;
}

void SimSpooler::OnServiceStarted() {
  std::vector<std::wstring> gone;
  for (const auto& p : printers_) {
    if (p.serverName.empty() && !registry_.KeyExists(PrinterKey(p.name))) gone.push_back(p.name);
  }
  for (const auto& name : gone) RemovePrinter(name);
  for (auto it = drivers_.begin(); it != drivers_.end();) {
    auto next = std::next(it);
    if (!registry_.KeyExists(DriverKey(it->environment, it->version, it->name))) RemoveDriver(it);
    it = next;
  }
}

Result<std::vector<PrinterInfo>> SimSpooler::Printers(std::uint32_t flags) {
  using R = Result<std::vector<PrinterInfo>>;
  if (auto e = gate_.Enter(Op::SpoolerPrinters, L"")) return R::Fail(*e);
  if (!Available()) return R::Fail(error::kRpcServerUnavailable);
  std::vector<PrinterInfo> out;
  // Local printers first, then the user's connections, each in the spooler's order.
  for (bool wantLocal : {true, false}) {
    if (wantLocal && !(flags & spool::kEnumLocal)) continue;
    if (!wantLocal && !(flags & spool::kEnumConnections)) continue;
    for (const auto& p : printers_) {
      if (p.serverName.empty() != wantLocal) continue;
      out.push_back(PrinterInfo{p.serverName, p.name, p.shareName, p.portName, p.driverName,
                                p.pendingDeletion ? spool::kStatusPendingDeletion : 0u});
    }
  }
  return R::Ok(std::move(out));
}

bool SimSpooler::KnownEnvironment(std::wstring_view environment) const {
  return std::any_of(environments_.begin(), environments_.end(),
                     [&](const std::wstring& known) { return base::EqualsIgnoreCase(environment, known); });
}

Result<std::vector<DriverInfo>> SimSpooler::Drivers(std::wstring_view environment) {
  using R = Result<std::vector<DriverInfo>>;
  if (auto e = gate_.Enter(Op::SpoolerDrivers, environment)) return R::Fail(*e);
  if (!Available()) return R::Fail(error::kRpcServerUnavailable);
  if (!KnownEnvironment(environment)) return R::Fail(error::kUnknownPrinterEnvironment);
  std::vector<DriverInfo> out;
  for (const auto& d : drivers_) {
    if (!base::EqualsIgnoreCase(d.environment, environment)) continue;
    out.push_back(DriverInfo{d.version, d.name, d.environment, d.driverPath, d.dataFile, d.configFile});
  }
  return R::Ok(std::move(out));
}

Result<std::unique_ptr<PrinterHandle>> SimSpooler::Open(std::wstring_view name, std::uint32_t /*access*/) {
  using R = Result<std::unique_ptr<PrinterHandle>>;
  if (auto e = gate_.Enter(Op::SpoolerOpen, name)) return R::Fail(*e);
  if (!Available()) return R::Fail(error::kRpcServerUnavailable);
  const SimPrinter* p = FindPrinter(name);
  if (!p) return R::Fail(error::kInvalidPrinterName);
  return R::Ok(std::make_unique<SimPrinterHandle>(*this, p->name));
}

Status SimSpooler::DeleteConnection(std::wstring_view name) {
  Status status = 0;
  if (auto e = gate_.Enter(Op::SpoolerDeleteConnection, name)) {
    status = *e;
  } else if (!Available()) {
    status = error::kRpcServerUnavailable;
  } else {
    const SimPrinter* p = FindPrinter(name);
    if (!p || p->serverName.empty()) status = error::kInvalidPrinterName;
    else RemovePrinter(name);
  }
  gate_.RecordEffect(L"spooler.DeleteConnection", name, status);
  return status;
}

Status SimSpooler::DeleteDriver(std::wstring_view environment, std::wstring_view driverName, std::uint32_t deleteFlag,
                                std::uint32_t versionFlag) {
  Status status = 0;
  const std::wstring target = std::wstring(environment) + L"|" + std::wstring(driverName);
  if (auto e = gate_.Enter(Op::SpoolerDeleteDriver, target)) {
    status = *e;
  } else if (!Available()) {
    status = error::kRpcServerUnavailable;
  } else if (!KnownEnvironment(environment)) {
    status = error::kUnknownPrinterEnvironment;
  } else {
    // Every version of the driver in that environment, or only the one
    // dwVersionFlag names with DPD_DELETE_SPECIFIC_VERSION (the others stay
    // listed).
    std::vector<std::list<SimDriver>::iterator> doomed;
    const auto [first, last] = driverIndex_.equal_range(base::Upcase(std::wstring(environment) + L"|" + std::wstring(driverName)));
    for (auto it = first; it != last; ++it) {
      if (!(deleteFlag & spool::kDeleteSpecificVersion) || it->second->version == versionFlag) doomed.push_back(it->second);
    }
    const auto users = usersOfDriver_.find(base::Upcase(driverName));
    const bool inUse = users != usersOfDriver_.end() && users->second > 0;
    // A file another installed driver (or another version) also lists.
    const auto shared = [&](const std::wstring& file) {
      for (auto d = drivers_.begin(); d != drivers_.end(); ++d) {
        if (std::find(doomed.begin(), doomed.end(), d) != doomed.end()) continue;
        if (std::any_of(d->files.begin(), d->files.end(),
                        [&](const std::wstring& g) { return base::EqualsIgnoreCase(file, g); })) {
          return true;
        }
      }
      return false;
    };
    if (doomed.empty()) {
      status = error::kUnknownPrinterDriver;
    } else if (inUse) {
      status = error::kPrinterDriverInUse;
    } else if ((deleteFlag & spool::kDeleteAllFiles) &&
               std::any_of(doomed.begin(), doomed.end(), [&](const std::list<SimDriver>::iterator& d) {
                 return std::any_of(d->files.begin(), d->files.end(), shared);
               })) {
      // All the files or nothing: one still needed elsewhere keeps the driver.
      status = error::kPrinterDriverInUse;
    } else {
      std::vector<std::wstring> files;
      for (const auto& d : doomed) files.insert(files.end(), d->files.begin(), d->files.end());
      for (const auto& d : doomed) {
        registry_.RemoveKey(DriverKey(d->environment, d->version, d->name));
        RemoveDriver(d);
      }
      doomed.clear();  // gone from the list: every remaining driver counts as another
      // Without a file flag the files stay where they are.
      if (deleteFlag & (spool::kDeleteUnusedFiles | spool::kDeleteAllFiles)) {
        for (const auto& f : files) {
          if (shared(f)) continue;
          if (auto entry = files_.Lookup(f); entry && !entry->folder) {
            if (auto parent = entry->parent.lock()) parent->children.erase(base::Upcase(entry->name));
          }
        }
      }
    }
  }
  gate_.RecordEffect(L"spooler.DeleteDriver", target, status);
  return status;
}

Status SimSpooler::DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment) {
  Status status = 0;
  const std::wstring target = std::wstring(environment) + L"|" + std::wstring(infPath);
  if (!packageExport_) return error::kProcNotFound;  // nothing to call: no journal entry
  if (auto e = gate_.Enter(Op::SpoolerDeleteDriverPackage, target)) {
    status = *e;
  } else if (!Available()) {
    status = error::kRpcServerUnavailable;
  } else if (infPath.empty()) {
    status = error::kInvalidParameter;
  } else {
    auto it = std::find_if(packages_.begin(), packages_.end(),
                           [&](const std::wstring& p) { return base::EqualsIgnoreCase(p, infPath); });
    const auto users = driversOfPackage_.find(base::Upcase(infPath));
    const bool used = users != driversOfPackage_.end() && users->second > 0;
    if (it == packages_.end()) status = error::kFileNotFound;
    else if (used) status = error::kPrinterDriverPackageInUse;
    else packages_.erase(it);
  }
  gate_.RecordEffect(L"spooler.DeleteDriverPackage", target, status);
  return status;
}

}  // namespace os::sim
