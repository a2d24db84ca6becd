#include "os/record/PlanState.h"

#include "base/WideText.h"

namespace os::record {

std::wstring Effect::Line() const { return what + L" " + target + L" -> " + std::to_wstring(status); }

std::wstring PlanState::CanonicalKey(std::wstring_view label) {
  std::vector<std::wstring> parts = base::Split(base::Upcase(label), L'\\');
  std::erase_if(parts, [](const std::wstring& p) { return p.empty(); });
  if (parts.size() >= 3 && parts[0] == L"HKEY_LOCAL_MACHINE" && parts[1] == L"SYSTEM" &&
      parts[2] == L"CURRENTCONTROLSET") {
    if (controlSet.empty()) {
      // Where Windows says which control set CurrentControlSet is.
      controlSet = L"CURRENTCONTROLSET";
      auto select = inner.registry.OpenKey(RootKey::LocalMachine, L"SYSTEM\\Select", regaccess::kRead);
      const auto read = select.ok() ? select.value->QueryValue(L"Current") : Result<RegistryValue>::Fail(select.status);
      const RegistryValue& current = read.value;
      if (read.ok() && current.type == regtype::kDword && current.data.size() >= 4) {
        const std::uint32_t n = current.data[0] | (current.data[1] << 8) | (current.data[2] << 16) |
                                (static_cast<std::uint32_t>(current.data[3]) << 24);
        std::wstring digits = std::to_wstring(n);
        while (digits.size() < 3) digits.insert(0, 1, L'0');
        controlSet = L"CONTROLSET" + digits;
      }
    }
    parts[2] = controlSet;
  }
  std::wstring out;
  for (const auto& p : parts) {
    if (!out.empty()) out += L'\\';
    out += p;
  }
  return out;
}

bool PlanState::KeyGone(const std::wstring& canonical) const {
  if (goneKeys.empty()) return false;
  for (std::size_t at = canonical.size();;) {
    if (goneKeys.count(canonical.substr(0, at))) return true;
    const std::size_t slash = canonical.rfind(L'\\', at - 1);
    if (slash == std::wstring::npos || slash == 0) return false;
    at = slash;
  }
}

void PlanState::RemoveValue(std::wstring_view keyLabel, std::wstring_view name) {
  goneValues.insert(CanonicalKey(keyLabel) + L":" + base::Upcase(name));
}

bool PlanState::ValueGone(const std::wstring& canonicalKey, std::wstring_view name) const {
  return goneValues.count(canonicalKey + L":" + base::Upcase(name)) > 0;
}

std::wstring PlanState::CanonicalPath(std::wstring_view path) {
  std::wstring out = base::Upcase(path);
  for (auto& c : out) {
    if (c == L'/') c = L'\\';
  }
  while (out.size() > 3 && out.back() == L'\\') out.pop_back();
  return out;
}

bool PlanState::FileGone(const std::wstring& canonical) const {
  if (goneFiles.empty()) return false;
  for (std::size_t at = canonical.size();;) {
    if (goneFiles.count(canonical.substr(0, at))) return true;
    const std::size_t slash = canonical.rfind(L'\\', at - 1);
    if (slash == std::wstring::npos || slash == 0) return false;
    at = slash;
  }
}

const std::map<std::wstring, PrinterInfo>* PlanState::RealPrinters() {
  if (!printersRead_) {
    auto all = inner.spooler.Printers(spool::kEnumLocal | spool::kEnumConnections);
    // A spooler that did not answer is asked again next time.
    if (!all.ok()) return nullptr;
    printersRead_ = true;
    for (auto& p : all.value) {
      ++driverUsers[base::Upcase(p.driverName)];
      const std::wstring key = base::Upcase(p.printerName);
      printers_.emplace(key, std::move(p));
    }
  }
  return &printers_;
}

void PlanState::RemovePrinter(const PrinterInfo& printer) {
  if (gonePrinters.insert(base::Upcase(printer.printerName)).second) --driverUsers[base::Upcase(printer.driverName)];
}

bool PlanState::SpoolerAvailable() {
  auto it = serviceStates.find(L"SPOOLER");
  return it == serviceStates.end() || it->second == svc::kRunning;
}

}  // namespace os::record
