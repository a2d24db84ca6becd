// Loading a machine image into the simulated machine, and taking one from it.
#include "base/Utf.h"
#include "os/sim/SimMachine.h"

namespace os::sim {

void SimMachine::Apply(const std::string& json, const std::string& source) {
  Apply(image::ParseMachineImage(json, source));
}

void SimMachine::Apply(const image::MachineImage& img) {
  if (!img.base.empty()) Apply(image::BuiltInImage(img.base), "base image " + img.base);

  const auto& w = img.windows;
  auto& env = environment_.state();
  if (w.version) env.version = *w.version;
  if (w.windowsDirectory) env.windowsDirectory = *w.windowsDirectory;
  if (w.systemDirectory) env.systemDirectory = *w.systemDirectory;
  if (w.languageAbbreviation) env.languageAbbreviation = *w.languageAbbreviation;
  if (w.modulePath) env.modulePath = *w.modulePath;
  if (w.currentDirectory) files_.SetCurrentDirectory(*w.currentDirectory);
  if (w.userSid) registry_.SetUserSid(*w.userSid);
  if (w.tickCount) clock_.Set(*w.tickCount);
  if (w.currentControlSet) registry_.SetCurrentControlSet(*w.currentControlSet);
  for (const auto& [name, value] : w.variables) environment_.SetVariable(name, value);
  if (w.driverPackageExport) spooler_.SetPackageExport(*w.driverPackageExport);
  if (!w.spoolerEnvironments.empty()) spooler_.SetEnvironments(w.spoolerEnvironments);

  for (const auto& key : img.registry) {
    registry_.CreateKey(key.path);
    for (const auto& [name, value] : key.values) registry_.SetValue(key.path, name, value);
  }
  for (const auto& path : img.protectedKeys) registry_.Protect(path);
  for (const auto& f : img.files) {
    if (f.folder) files_.AddFolder(f.path, f.attributes);
    else files_.AddFile(f.path, f.attributes, f.content, f.locked);
  }
  for (const auto& s : img.services) {
    SimService svc;
    static_cast<image::ServiceSpec&>(svc) = s;
    svc.pendingSince = clock_.now();
    if (SimService* existing = services_.Find(s.name)) *existing = std::move(svc);
    else services_.Add(std::move(svc));
  }
  auto& db = services_.database();
  if (img.serviceDatabase.managerAccessDenied) db.managerAccessDenied = *img.serviceDatabase.managerAccessDenied;
  if (img.serviceDatabase.lockedByOther) db.lockedByOther = *img.serviceDatabase.lockedByOther;
  if (img.serviceDatabase.lockDenied) db.lockDenied = *img.serviceDatabase.lockDenied;
  for (const auto& d : img.drivers) spooler_.AddDriver(d);
  for (const auto& p : img.printers) {
    if (spooler_.FindPrinter(p.name)) throw ImageError("printer \"" + base::WideToUtf8(p.name) + "\" exists already");
    spooler_.AddPrinter(p);
  }
  for (const auto& f : img.forms) spooler_.AddForm(f);
  for (const auto& p : img.packages) spooler_.AddPackage(p);
  for (const auto& p : img.processes) processes_.Add(p);
}

image::MachineImage SimMachine::ToImage() const {
  image::MachineImage img;
  const auto& env = environment_.state();
  auto& w = img.windows;
  w.version = env.version;
  w.windowsDirectory = env.windowsDirectory;
  w.systemDirectory = env.systemDirectory;
  w.languageAbbreviation = env.languageAbbreviation;
  w.modulePath = env.modulePath;
  w.currentDirectory = files_.currentDirectory();
  w.userSid = registry_.userSid();
  w.tickCount = clock_.now();
  w.currentControlSet = registry_.currentControlSet();
  for (const auto& [upper, value] : env.variables) w.variables.emplace_back(env.variableNames.at(upper), value);
  w.driverPackageExport = spooler_.packageExport();
  w.spoolerEnvironments = spooler_.environments();

  registry_.ForEachKey([&](const std::wstring& path, const SimKey& key) {
    if (key.denyWrite) img.protectedKeys.push_back(path);
    if (key.values.empty() && !key.subKeys.empty()) return;  // implied by its sub-keys
    img.registry.push_back(image::RegistryKeySpec{path, key.values.Entries()});
  });
  files_.ForEach([&](const std::wstring& path, const SimEntry& e) {
    if (e.folder && !e.children.empty() && e.attributes == 0) return;  // implied by what it holds
    img.files.push_back(image::FileSpec{path, e.folder, e.attributes, e.content, e.locked});
  });
  img.drivers.assign(spooler_.drivers().begin(), spooler_.drivers().end());
  img.printers.assign(spooler_.printers().begin(), spooler_.printers().end());
  img.forms = spooler_.forms();
  img.packages = spooler_.packages();
  for (const auto& s : services_.services()) img.services.push_back(s);
  const auto& db = services_.database();
  img.serviceDatabase = image::ServiceDatabaseSpec{db.managerAccessDenied, db.lockedByOther, db.lockDenied};
  img.processes = processes_.processes();
  return img;
}

}  // namespace os::sim
