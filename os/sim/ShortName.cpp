#include "os/sim/ShortName.h"

#include <cstdint>

#include "base/WideText.h"

namespace os::sim {
namespace {

bool IsShortNameChar(wchar_t c) {
  if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')) return true;
  return std::wstring_view(L"$%'-_@~`!(){}^#&").find(c) != std::wstring_view::npos;
}

// One character of a generated name: spaces and dots are dropped (empty),
// what 8.3 cannot hold becomes "_".
std::wstring Squeeze(std::wstring_view part) {
  std::wstring out;
  for (wchar_t c : part) {
    if (c == L' ' || c == L'.') continue;
    out.push_back(IsShortNameChar(c) ? base::UpcaseChar(c) : L'_');
  }
  return out;
}

std::uint16_t Hash(std::wstring_view name) {
  std::uint32_t h = 2166136261u;
  for (wchar_t c : name) h = (h ^ base::UpcaseChar(c)) * 16777619u;
  return static_cast<std::uint16_t>(h ^ (h >> 16));
}

}  // namespace

bool IsValidShortName(std::wstring_view name) {
  const auto dot = name.find(L'.');
  const std::wstring_view stem = name.substr(0, dot);
  const std::wstring_view extension = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot + 1);
  if (stem.empty() || stem.size() > 8 || extension.size() > 3) return false;
  if (dot != std::wstring_view::npos && extension.empty()) return false;
  for (wchar_t c : stem) {
    if (!IsShortNameChar(c)) return false;
  }
  for (wchar_t c : extension) {
    if (!IsShortNameChar(c)) return false;
  }
  return true;
}

std::wstring MakeShortName(std::wstring_view longName, const std::function<bool(const std::wstring&)>& taken) {
  if (IsValidShortName(longName) || longName == L"." || longName == L"..") return {};
  std::wstring_view trimmed = longName;
  while (!trimmed.empty() && trimmed.front() == L'.') trimmed.remove_prefix(1);
  const auto dot = trimmed.rfind(L'.');
  std::wstring stem = Squeeze(dot == std::wstring_view::npos ? trimmed : trimmed.substr(0, dot));
  std::wstring extension = dot == std::wstring_view::npos ? std::wstring() : Squeeze(trimmed.substr(dot + 1));
  if (stem.empty()) stem = L"_";
  if (extension.size() > 3) extension.resize(3);
  const std::wstring tail = extension.empty() ? std::wstring() : L"." + extension;

  for (int n = 1; n <= 4; ++n) {
    std::wstring candidate = stem.substr(0, 6) + L"~" + std::to_wstring(n) + tail;
    if (!taken(candidate)) return candidate;
  }
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  const std::uint16_t hash = Hash(longName);
  std::wstring prefix = stem.substr(0, 2);
  for (int shift = 12; shift >= 0; shift -= 4) prefix.push_back(kHex[(hash >> shift) & 0xF]);
  for (int n = 5; n <= 9; ++n) {
    std::wstring candidate = prefix + L"~" + std::to_wstring(n) + tail;
    if (!taken(candidate)) return candidate;
  }
  return {};  // more collisions than this folder will ever see in a test
}

}  // namespace os::sim
