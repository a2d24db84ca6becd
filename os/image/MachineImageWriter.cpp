// Saving a machine image: each object's members in its table's order (see
// ImageFields.h), so that what was read is saved so that it reads back the
// same.
#include <algorithm>
#include <nlohmann/json.hpp>
#include <span>

#include "base/RegistryText.h"
#include "base/Utf.h"
#include "os/image/ImageFields.h"

namespace os::image {
namespace {

using Json = nlohmann::ordered_json;
using namespace fields;

const char* NameOf(std::span<const Named> names, std::uint32_t value) {
  for (const auto& n : names) {
    if (n.value == value) return n.name;
  }
  return nullptr;
}

std::string ToHex(const std::vector<std::uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (auto b : bytes) out += {digits[b >> 4], digits[b & 15]};
  return out;
}

Json Utf8Array(const std::vector<std::wstring>& items) {
  Json arr = Json::array();
  for (const auto& s : items) arr.push_back(base::WideToUtf8(s));
  return arr;
}

// Text that comes back unchanged from UTF-8: not one holding half of a
// surrogate pair, which only the hex form keeps.
bool SurvivesUtf8(const std::wstring& text) { return base::Utf8ToWide(base::WideToUtf8(text)) == text; }

// The data in its type's own form, or null when only hex digits hold it.
Json DataOf(const RegistryValue& v) {
  std::wstring text;
  std::vector<std::wstring> strings;
  const bool isText = base::DecodeRegistryString(v.data, text) && SurvivesUtf8(text);
  if ((v.type == regtype::kString || v.type == regtype::kExpandString) && isText) return base::WideToUtf8(text);
  if (v.type == regtype::kMultiString && base::DecodeMultiString(v.data, strings) &&
      std::all_of(strings.begin(), strings.end(), SurvivesUtf8)) {
    return Utf8Array(strings);
  }
  if ((v.type == regtype::kDword && v.data.size() == 4) || (v.type == regtype::kQword && v.data.size() == 8)) {
    std::uint64_t n = 0;
    for (size_t i = 0; i < v.data.size(); ++i) n |= static_cast<std::uint64_t>(v.data[i]) << (8 * i);
    return n;
  }
  if (v.type == regtype::kBinary) return ToHex(v.data);
  return nullptr;
}

Json WriteValue(const RegistryValue& v) {
  Json data = DataOf(v);
  if (v.type == regtype::kString && data.is_string()) return data;
  if (data.is_null()) return Json{{kValueType, v.type}, {kValueHex, ToHex(v.data)}};
  return Json{{kValueType, NameOf(kRegistryTypes, v.type)}, {kValueData, std::move(data)}};
}

Json Write(const std::wstring& v, Text) { return base::WideToUtf8(v); }
Json Write(const std::string& v, Bytes) { return v; }
Json Write(const std::string& v, BaseName) { return v; }
Json Write(std::uint32_t v, Dword) { return v; }
Json Write(int v, ControlSet) { return v; }
Json Write(bool v, Flag) { return v; }
Json Write(const std::vector<std::wstring>& v, Texts) { return Utf8Array(v); }
Json Write(const OsVersionInfo& v, Version) {
  return std::to_string(v.majorVersion) + "." + std::to_string(v.minorVersion) + "." + std::to_string(v.buildNumber);
}
Json Write(const std::vector<std::pair<std::wstring, std::wstring>>& v, Variables) {
  Json vars = Json::object();
  for (const auto& [name, value] : v) vars[base::WideToUtf8(name)] = base::WideToUtf8(value);
  return vars;
}
Json Write(std::uint32_t bits, Attributes) {
  // Bits without a name (a number was read) are kept as the number.
  std::uint32_t named = 0;
  for (const auto& a : kAttributes) named |= a.value;
  if (bits & ~named) return bits;
  Json arr = Json::array();
  for (const auto& a : kAttributes) {
    if (bits & a.value) arr.push_back(a.name);
  }
  return arr;
}
// A state without a name is left out: the service reads back as running.
Json Write(std::uint32_t v, ServiceState) {
  const char* name = NameOf(kStates, v);
  return name ? Json(name) : Json();
}
Json Write(std::uint32_t v, FormKind) {
  const char* name = NameOf(kFormKinds, v);
  return name ? name : NameOf(kFormKinds, spool::kFormUser);
}
Json Write(const std::vector<std::uint32_t>& v, Jobs) { return v; }
Json Write(const std::vector<RegistryKeySpec>& v, RegistryKeys) {
  Json registry = Json::object();
  for (const auto& key : v) {
    Json values = Json::object();
    for (const auto& [name, value] : key.values) values[base::WideToUtf8(name)] = WriteValue(value);
    registry[base::WideToUtf8(key.path)] = values;
  }
  return registry;
}

template <const auto& Table, typename Spec>
Json Write(const Spec& spec, Object<Table>);
template <const auto& Table, typename Spec>
Json Write(const std::vector<Spec>& v, Objects<Table>);
Json Write(const std::vector<FileSpec>& v, Files);

template <typename T>
const T& Bare(const T& v) { return v; }
template <typename T>
const T& Bare(const std::optional<T>& v) { return *v; }

template <auto Member, typename Kind, typename Spec>
void WriteMember(Json& out, const Field<Member, Kind>& f, const Spec& spec) {
  const auto& v = spec.*Member;
  if (!f.always && (f.otherwise ? v == f.otherwise(spec) : v == typename Field<Member, Kind>::Type{})) return;
  Json j = Write(Bare(v), Kind{});
  if (!j.is_null()) out[f.name] = std::move(j);
}

template <const auto& Table, typename Spec>
void WriteMember(Json& out, const Nested<Table>& f, const Spec& spec) {
  Json j = Write(spec, Object<Table>{});
  if (!j.empty()) out[f.name] = std::move(j);
}

template <const auto& Table, typename Spec>
Json Write(const Spec& spec, Object<Table>) {
  Json out = Json::object();
  std::apply([&](const auto&... f) { (WriteMember(out, f, spec), ...); }, Table);
  return out;
}

Json Write(const std::vector<FileSpec>& v, Files) {
  Json files = Json::object();
  for (const auto& f : v) files[base::WideToUtf8(f.path)] = Write(f, Object<kFileFields>{});
  return files;
}

template <const auto& Table, typename Spec>
Json Write(const std::vector<Spec>& v, Objects<Table>) {
  Json arr = Json::array();
  for (const auto& spec : v) arr.push_back(Write(spec, Object<Table>{}));
  return arr;
}

}  // namespace

std::string WriteMachineImage(const MachineImage& image) { return Write(image, Object<kMachineFields>{}).dump(2); }

}  // namespace os::image
