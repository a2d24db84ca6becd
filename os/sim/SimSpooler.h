#pragma once
// The simulated print spooler. It keeps its printers, drivers and forms in
// memory and mirrors them into the registry keys where Windows keeps them,
// removing a key when the spooler deletes its object. While the "Spooler"
// service is not running every call fails with RPC_S_SERVER_UNAVAILABLE;
// when it starts again it forgets printers and drivers whose keys are gone.
#include <functional>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "os/Spooler.h"
#include "os/image/MachineImage.h"
#include "os/sim/Gate.h"
#include "os/sim/SimFileSystem.h"
#include "os/sim/SimRegistry.h"

namespace os::sim {

using SimDriver = image::DriverSpec;
using SimPrinter = image::PrinterSpec;
using SimForm = image::FormSpec;

class SimSpooler final : public Spooler {
 public:
  SimSpooler(Gate& gate, SimRegistry& registry, SimFileSystem& files);

  // os::Spooler
  Result<std::vector<PrinterInfo>> Printers(std::uint32_t flags) override;
  Result<std::vector<DriverInfo>> Drivers(std::wstring_view environment) override;
  Result<std::unique_ptr<PrinterHandle>> Open(std::wstring_view name, std::uint32_t access) override;
  Status DeleteConnection(std::wstring_view name) override;
  Status DeleteDriver(std::wstring_view environment, std::wstring_view driverName, std::uint32_t deleteFlag,
                      std::uint32_t versionFlag) override;
  Status DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment) override;
  bool HasDriverPackageEntry() override { return packageExport_; }

  // Model access. Adding writes the object's registry keys when they are missing.
  void AddDriver(SimDriver driver);
  void AddPrinter(SimPrinter printer);
  void AddForm(SimForm form);
  void AddPackage(std::wstring infPath) { packages_.push_back(std::move(infPath)); }
  void SetPackageExport(bool present) { packageExport_ = present; }
  bool packageExport() const { return packageExport_; }
  // The environments this spooler knows; others are refused with 1805.
  void SetEnvironments(std::vector<std::wstring> environments) { environments_ = std::move(environments); }
  const std::vector<std::wstring>& environments() const { return environments_; }
  void SetRunningCheck(std::function<bool()> running) { running_ = std::move(running); }
  void OnServiceStarted();  // forget objects whose registry keys are gone

  const std::list<SimDriver>& drivers() const { return drivers_; }
  const std::list<SimPrinter>& printers() const { return printers_; }
  const std::vector<SimForm>& forms() const { return forms_; }
  const std::vector<std::wstring>& packages() const { return packages_; }
  SimPrinter* FindPrinter(std::wstring_view name);

  // Registry locations of the objects, in the current control set.
  static std::wstring PrinterKey(std::wstring_view name);
  static std::wstring DriverKey(std::wstring_view environment, std::uint32_t version, std::wstring_view name);
  static std::wstring ConnectionKey(std::wstring_view printerName);
  static const wchar_t* kFormsKey;

  // Printer handles open now (OpenPrinterW without its ClosePrinter yet).
  int openPrinterHandles() const { return openHandles_; }
  void CountHandle(int change) { openHandles_ += change; }

  Gate& gate() { return gate_; }
  bool Available() const { return !running_ || running_(); }
  void RemovePrinter(std::wstring_view name);
  // DeletePrinter: removes the printer, or only marks one with queued jobs.
  void DeleteOrMark(std::wstring_view name);
  // Model change: the printer's jobs are done; one marked for deletion goes.
  void FinishJobs(std::wstring_view name);
  void RemoveDriver(std::list<SimDriver>::iterator driver);
  Status RemoveForm(std::wstring_view name);
  bool KnownEnvironment(std::wstring_view environment) const;

 private:
  Gate& gate_;
  SimRegistry& registry_;
  SimFileSystem& files_;
  std::function<bool()> running_;
  std::list<SimDriver> drivers_;
  std::unordered_multimap<std::wstring, std::list<SimDriver>::iterator> driverIndex_;  // "ENVIRONMENT|NAME", a version each
  std::unordered_map<std::wstring, int> driversOfPackage_;                       // by upper-cased INF path
  // In the spooler's order, with an index by upper-cased name and a count of
  // users per driver, so that large machines cost the same per printer.
  std::list<SimPrinter> printers_;
  std::unordered_map<std::wstring, std::list<SimPrinter>::iterator> printerIndex_;
  std::unordered_map<std::wstring, int> usersOfDriver_;
  std::vector<SimForm> forms_;
  std::vector<std::wstring> packages_;
  bool packageExport_ = true;
  std::vector<std::wstring> environments_ = {L"Windows NT x86", L"Windows x64", L"Windows IA64", L"Windows 4.0"};
  int openHandles_ = 0;
};

}  // namespace os::sim
