// Whether a printer's driver may go, and deleting it with its files and keys.
#include "base/WideText.h"
#include "cleanup/DriverRegistryCleanup.h"
#include "cleanup/FileCleanup.h"
#include "engine/DeletionEngine.h"
#include "engine/DriverLookups.h"
#include "sysaccess/SpoolerDeletions.h"

namespace engine {

bool DeletionEngine::IsDriverDeletable(std::size_t index) const {
  const auto& p = printers_[index];
  const auto it = unselectedByDriver_.find(p.driverName);
  const int others = (it == unselectedByDriver_.end() ? 0 : it->second) - (p.selected ? 0 : 1);
  return others == 0;
}

void DeletionEngine::DeleteDriverOf(std::size_t index) {
  const sysaccess::PrinterRecord r = printers_[index];
  if (sysaccess::DeleteDriverEverywhere(sys_, r.driverName).keptSomewhere) {
    // The spooler still has it (in use, refused, or unreachable): its files
    // and keys stay with it, and no other printer of this driver tries again.
    KeepDriver(r.driverName);
    return;
  }
  // What a printer that stays still uses is named after these too.
  const auto unlessStaying = [](const std::set<std::wstring>& staying, const std::wstring& name) {
    return staying.count(base::Upcase(name)) ? std::wstring() : name;
  };
  // Files and keys named after a data file are left alone while the data file
  // of a printer that stays is unknown: it may be this very one.
  const std::wstring stem = stayingStemUnknown_ ? std::wstring() : unlessStaying(stayingStems_, r.dataFileStem);
  cleanup::CleanDriverFiles(sys_, unlessStaying(stayingPnpFolders_, r.pnpFolderName), stem,
                            unlessStaying(stayingDsNames_, r.dsDriverName));
  cleanup::CleanDriverRegistry(sys_, r.driverName, stem);
}

void DeletionEngine::ReadDriverDetails(std::size_t index) {
  auto& p = printers_[index];
  p.dataFileStem = StemOf(index);
  p.dsDriverName = DsNameOf(index);
  if (p.IsLocal()) p.pnpFolderName = ReadPnpFolderName(sys_, p.printerName);
}

namespace {

// Within a run nothing changes a driver's registry data before the drivers
// are deleted, so each lookup is made once per server and driver.
template <class Read>
const std::wstring& Cached(std::map<std::pair<std::wstring, std::wstring>, std::wstring>& cache,
                           const sysaccess::PrinterRecord& p, Read read) {
  auto key = std::make_pair(p.serverName, p.driverName);
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(std::move(key), read()).first;
  return it->second;
}

}  // namespace

const std::wstring& DeletionEngine::StemOf(std::size_t index) {
  const auto& p = printers_[index];
  return Cached(stems_, p, [&] { return ReadDataFileStem(sys_, p, p.driverName); });
}

const std::wstring& DeletionEngine::DsNameOf(std::size_t index) {
  const auto& p = printers_[index];
  return Cached(dsNames_, p, [&] { return ReadDsDriverName(sys_, p, p.driverName); });
}

void DeletionEngine::KeepFilesOf(std::size_t index) {
  const auto& p = printers_[index];
  const auto note = [](std::set<std::wstring>& staying, const std::wstring& name) {
    if (!name.empty()) staying.insert(base::Upcase(name));
  };
  bool stemKnown = !StemOf(index).empty();
  note(stayingStems_, StemOf(index));
  // A connection's driver is installed on this machine as well, and its data
  // file is often known only from that copy: the server's cached data may be
  // missing. Either name protects what stays.
  if (!p.IsLocal()) {
    sysaccess::PrinterRecord localCopy = p;
    localCopy.serverName.clear();
    const std::wstring localStem = ReadDataFileStem(sys_, localCopy, p.driverName);
    stemKnown = stemKnown || !localStem.empty();
    note(stayingStems_, localStem);
  }
  if (!stemKnown) stayingStemUnknown_ = true;
  note(stayingDsNames_, DsNameOf(index));
  if (p.IsLocal()) note(stayingPnpFolders_, ReadPnpFolderName(sys_, p.printerName));
}

void DeletionEngine::KeepDriver(const std::wstring& driverName) {
  auto it = recordsByDriver_.find(driverName);
  if (it == recordsByDriver_.end()) return;
  for (std::size_t i : it->second) printers_[i].deleteDriver = false;
}

}  // namespace engine
