// Whether a printer's driver may go, and deleting it with its files and keys.
#include "cleanup/DriverRegistryCleanup.h"
#include "cleanup/FileCleanup.h"
#include "engine/DeletionEngine.h"
#include "engine/DriverLookups.h"
#include "sysaccess/SpoolerDeletions.h"

namespace engine {

std::int32_t DeletionEngine::IsDriverDeletable(std::size_t index) const {
  const auto& p = printers_[index];
  const auto it = unselectedByDriver_.find(p.driverName);
  const int others = (it == unselectedByDriver_.end() ? 0 : it->second) - (p.selected ? 0 : 1);
  return others == 0 ? 1 : 0;
}

void DeletionEngine::DeleteDriverOf(std::size_t index) {
  const sysaccess::PrinterRecord r = printers_[index];
  bool kept = false;
  sysaccess::DeleteDriverEverywhere(sys_, r.driverName, &kept);
  if (kept) {
    // The spooler still has it (in use, refused, or unreachable): its files
    // and keys stay with it, and no other printer of this driver tries again.
    KeepDriver(r.driverName);
    return;
  }
  const std::wstring stem = StemUsedByStayingPrinter(r.dataFileStem) ? std::wstring() : r.dataFileStem;
  cleanup::CleanDriverFiles(sys_, r.pnpFolderName, stem, r.dsDriverName);
  cleanup::CleanDriverRegistry(sys_, r.driverName, stem);
}

void DeletionEngine::ReadDriverDetails(std::size_t index) {
  auto& p = printers_[index];
  p.dataFileStem = StemOf(index);
  p.dsDriverName = ReadDsDriverName(sys_, p, p.driverName);
  if (p.IsLocal()) p.pnpFolderName = ReadPnpFolderName(sys_, p.printerName);
}

const std::wstring& DeletionEngine::StemOf(std::size_t index) {
  // Within a run nothing changes a driver's data file before the drivers are
  // deleted, so the lookup is made once per server and driver.
  const auto& p = printers_[index];
  auto key = std::make_pair(p.serverName, p.driverName);
  auto it = stems_.find(key);
  if (it == stems_.end()) it = stems_.emplace(std::move(key), ReadDataFileStem(sys_, p, p.driverName)).first;
  return it->second;
}

void DeletionEngine::KeepDriver(const std::wstring& driverName) {
  auto it = recordsByDriver_.find(driverName);
  if (it == recordsByDriver_.end()) return;
  for (std::size_t i : it->second) printers_[i].deleteDriver = 0;
}

bool DeletionEngine::StemUsedByStayingPrinter(const std::wstring& stem) const {
  return !stem.empty() && stayingStems_.count(stem) > 0;
}

}  // namespace engine
