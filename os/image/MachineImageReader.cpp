// Reading a machine image (os/sim/README.md): every object is
// checked against its table in ImageFields.h, so a misspelt field is refused
// instead of silently ignored, and every refusal names its place.
#include <cctype>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>

#include "base/RegistryText.h"
#include "base/Utf.h"
#include "base/WideText.h"
#include "os/image/ImageFields.h"

namespace os::image {
namespace {

using Json = nlohmann::ordered_json;
using namespace fields;

using Where = const std::string&;

class Reader {
 public:
  explicit Reader(std::string source) : source_(std::move(source)) {}

  [[noreturn]] void Fail(Where where, const std::string& what) const {
    throw ImageError(source_ + ": at " + (where.empty() ? "/" : where) + ": " + what);
  }
  void Check(bool ok, Where where, const char* what) const {
    if (!ok) Fail(where, what);
  }

  const Json& Object(const Json& j, Where w) const { return Check(j.is_object(), w, "expected an object"), j; }
  const Json& Array(const Json& j, Where w) const { return Check(j.is_array(), w, "expected an array"), j; }
  std::wstring Text(const Json& j, Where w) const {
    Check(j.is_string(), w, "expected a string");
    return base::Utf8ToWide(j.get<std::string>());
  }
  std::uint64_t Number(const Json& j, Where w) const {
    Check(j.is_number_unsigned() || (j.is_number_integer() && j.get<std::int64_t>() >= 0), w,
          "expected a non-negative whole number");
    return j.get<std::uint64_t>();
  }
  // A 32-bit field (a DWORD): a larger number is refused, never wrapped.
  std::uint32_t Dword(const Json& j, Where where) const {
    const std::uint64_t n = Number(j, where);
    if (n > 0xFFFFFFFFu) Fail(where, "expected a number below 2^32");
    return static_cast<std::uint32_t>(n);
  }
  std::vector<std::wstring> Texts(const Json& j, Where w) const {
    std::vector<std::wstring> out;
    for (size_t i = 0; i < Array(j, w).size(); ++i) out.push_back(Text(j[i], w + "/" + std::to_string(i)));
    return out;
  }
  // Each member of an object with its place, in the object's order.
  template <typename Each>
  void Members(const Json& j, Where w, Each each) const {
    for (auto it = Object(j, w).begin(); it != j.end(); ++it) each(it.key(), it.value(), w + "/" + it.key());
  }
  // Only the members named may be there: a misspelt one is refused.
  template <typename IsKnown>
  void OnlyKnown(const Json& j, Where w, IsKnown known) const {
    Members(j, w, [&](const std::string& key, const Json&, Where at) { Check(known(key), at, "unknown field"); });
  }

 private:
  std::string source_;
};

// The value of a name of the table, or the refusal.
std::uint32_t ValueOf(const Reader& r, std::span<const Named> names, const std::string& name, Where w, const std::string& refusal) {
  for (const auto& n : names) {
    if (name == n.name) return n.value;
  }
  r.Fail(w, refusal);
}

std::vector<std::uint8_t> FromHex(const Reader& r, const std::string& hex, const std::string& where) {
  std::vector<std::uint8_t> out;
  std::string digits;
  for (char c : hex) {
    if (c != ' ') digits.push_back(c);
  }
  if (digits.size() % 2) r.Fail(where, "hex data needs an even number of digits");
  // Digits only: sscanf would also take a sign or "0x" as a byte.
  auto value = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  for (size_t i = 0; i < digits.size(); i += 2) {
    if (!std::isxdigit(static_cast<unsigned char>(digits[i])) || !std::isxdigit(static_cast<unsigned char>(digits[i + 1]))) {
      r.Fail(where, "not a hex digit pair");
    }
    out.push_back(static_cast<std::uint8_t>(value(digits[i]) * 16 + value(digits[i + 1])));
  }
  return out;
}

// Hex data that is not a string is refused like a malformed one.
std::vector<std::uint8_t> FromHex(const Reader& r, const Json& j, const std::string& where) {
  return FromHex(r, j.is_string() ? j.get<std::string>() : "?", where);
}

std::vector<std::uint8_t> IntegerBytes(std::uint64_t v, int size) {
  std::vector<std::uint8_t> out;
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return out;
}

RegistryValue ReadValue(const Reader& r, const Json& j, const std::string& where) {
  if (j.is_string()) return RegistryValue{regtype::kString, base::EncodeRegistryString(r.Text(j, where))};
  r.OnlyKnown(j, where, [](const std::string& key) { return key == kValueType || key == kValueData || key == kValueHex; });
  if (!j.contains(kValueType)) r.Fail(where, "a value needs a type");
  const Json& t = j[kValueType];
  const std::string tw = where + "/" + kValueType;
  const std::string name = t.is_string() ? t.get<std::string>() : "";
  const std::uint32_t type =
      t.is_number() ? r.Dword(t, tw) : ValueOf(r, kRegistryTypes, name, tw, "unknown registry type \"" + name + "\"");
  if (j.contains(kValueHex)) return RegistryValue{type, FromHex(r, j[kValueHex], where + "/" + kValueHex)};
  if (!j.contains(kValueData)) r.Fail(where, "a value needs data or hex");
  const Json& d = j[kValueData];
  const std::string dw = where + "/" + kValueData;
  switch (type) {
    case regtype::kString:
    case regtype::kExpandString:
      return RegistryValue{type, base::EncodeRegistryString(r.Text(d, dw))};
    case regtype::kMultiString: return RegistryValue{type, base::EncodeMultiString(r.Texts(d, dw))};
    case regtype::kDword: return RegistryValue{type, IntegerBytes(r.Dword(d, dw), 4)};
    case regtype::kQword: return RegistryValue{type, IntegerBytes(r.Number(d, dw), 8)};
    default: return RegistryValue{type, FromHex(r, d, dw)};
  }
}

// "major.minor[.build]", each part plain decimal digits below 2^32: sscanf
// would take a sign, blanks or trailing text, and wrap a larger number.
OsVersionInfo ReadVersion(const Reader& r, const std::string& text, const std::string& where) {
  auto fail = [&] { r.Fail(where, "expected major.minor[.build], such as \"6.1.7601\""); };
  std::uint32_t parts[3] = {0, 0, 0};
  size_t at = 0;
  int count = 0;
  for (;;) {
    std::uint64_t n = 0;
    const size_t start = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && n <= 0xFFFFFFFFu) n = n * 10 + (text[at++] - '0');
    if (at == start || n > 0xFFFFFFFFu) fail();
    parts[count++] = static_cast<std::uint32_t>(n);
    if (at == text.size()) break;
    if (text[at] != '.' || count == 3) fail();
    ++at;
  }
  if (count < 2) fail();
  return OsVersionInfo{parts[0], parts[1], parts[2], 2};
}

void Read(const Reader& r, const Json& j, Where w, Text, std::wstring& out) { out = r.Text(j, w); }
void Read(const Reader& r, const Json& j, Where w, Bytes, std::string& out) { out = base::WideToUtf8(r.Text(j, w)); }
void Read(const Reader& r, const Json& j, Where w, BaseName, std::string& out) {
  out = base::WideToUtf8(r.Text(j, w));
  if (!BuiltInImage(out)) r.Fail(w, "unknown base image \"" + out + "\"");
}
void Read(const Reader& r, const Json& j, Where w, Dword, std::uint32_t& out) { out = r.Dword(j, w); }
void Read(const Reader& r, const Json& j, Where w, ControlSet, int& out) {
  const auto n = r.Number(j, w);
  r.Check(n >= 1 && n <= 999, w, "expected a control set number from 1 to 999");
  out = static_cast<int>(n);
}
void Read(const Reader& r, const Json& j, Where w, Flag, bool& out) {
  r.Check(j.is_boolean(), w, "expected true or false");
  out = j.get<bool>();
}
void Read(const Reader& r, const Json& j, Where w, Texts, std::vector<std::wstring>& out) { out = r.Texts(j, w); }
void Read(const Reader& r, const Json& j, Where w, Version, OsVersionInfo& out) {
  out = ReadVersion(r, base::WideToUtf8(r.Text(j, w)), w);
}
void Read(const Reader& r, const Json& j, Where w, Variables, std::vector<std::pair<std::wstring, std::wstring>>& out) {
  r.Members(j, w, [&](const std::string& name, const Json& value, Where at) {
    out.emplace_back(base::Utf8ToWide(name), r.Text(value, at));
  });
}
void Read(const Reader& r, const Json& j, Where w, Attributes, std::uint32_t& out) {
  if (j.is_number()) {
    out = r.Dword(j, w);
    return;
  }
  for (const auto& name : r.Array(j, w)) {
    out |= ValueOf(r, kAttributes, name.is_string() ? name.get<std::string>() : "", w, "unknown attribute " + name.dump());
  }
}
void Read(const Reader& r, const Json& j, Where w, ServiceState, std::uint32_t& out) {
  const std::string name = base::WideToUtf8(r.Text(j, w));
  out = ValueOf(r, kStates, name, w, "unknown service state \"" + name + "\"");
}
void Read(const Reader& r, const Json& j, Where w, FormKind, std::uint32_t& out) {
  out = ValueOf(r, kFormKinds, base::WideToUtf8(r.Text(j, w)), w, "expected builtin, user or printer");
}
void Read(const Reader& r, const Json& j, Where w, Jobs, std::vector<std::uint32_t>& out) {
  if (j.is_array()) {
    for (size_t k = 0; k < j.size(); ++k) out.push_back(r.Dword(j[k], w + "/" + std::to_string(k)));
    return;
  }
  const auto count = r.Number(j, w);
  r.Check(count <= 100000, w, "too many jobs");
  for (std::uint32_t k = 1; k <= count; ++k) out.push_back(k);
}
void Read(const Reader& r, const Json& j, Where w, RegistryKeys, std::vector<RegistryKeySpec>& out) {
  r.Members(j, w, [&](const std::string& path, const Json& values, Where at) {
    RegistryKeySpec key{base::Utf8ToWide(path), {}};
    RootKey root;
    std::wstring rest;
    r.Check(SplitRegistryPath(key.path, root, rest), at,
            "a key path must start with HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS or HKEY_CLASSES_ROOT");
    r.Members(values, at, [&](const std::string& name, const Json& value, Where valueAt) {
      key.values.emplace_back(base::Utf8ToWide(name), ReadValue(r, value, valueAt));
    });
    out.push_back(std::move(key));
  });
}

// What a member holds when it is there.
template <typename T>
T Bare(T*);
template <typename T>
T Bare(std::optional<T>*);

template <auto Member, typename Kind, typename Spec>
void ReadMember(const Reader& r, const Json& j, Where where, const Field<Member, Kind>& f, Spec& spec) {
  if (!j.contains(f.name)) {
    if (f.otherwise) spec.*Member = f.otherwise(spec);
    return;
  }
  const std::string w = where + "/" + f.name;
  if (const char* why = f.refuse ? f.refuse(spec) : nullptr) r.Fail(w, why);
  decltype(Bare(&(spec.*Member))) value{};
  Read(r, j[f.name], w, Kind{}, value);
  spec.*Member = std::move(value);
}

template <const auto& Table, typename Spec>
void ReadMember(const Reader& r, const Json& j, Where where, const Nested<Table>& f, Spec& spec) {
  if (j.contains(f.name)) Read(r, j[f.name], where + "/" + f.name, Object<Table>{}, spec);
}

// Unknown members first, then missing ones, then each member in the
// table's order.
template <const auto& Table, typename Spec>
void Read(const Reader& r, const Json& j, Where where, Object<Table>, Spec& spec) {
  r.OnlyKnown(j, where, [](const std::string& key) {
    return std::apply([&](const auto&... f) { return ((key == f.name) || ...); }, Table);
  });
  std::apply([&](const auto&... f) { (r.Check(!f.missing || j.contains(f.name), where, f.missing), ...); }, Table);
  for (const bool last : {false, true}) {
    std::apply([&](const auto&... f) { ((f.last == last ? ReadMember(r, j, where, f, spec) : void()), ...); }, Table);
  }
}

void Read(const Reader& r, const Json& j, Where w, Files, std::vector<FileSpec>& out) {
  r.Members(j, w, [&](const std::string& path, const Json& entry, Where at) {
    FileSpec file;
    file.path = base::Utf8ToWide(path);
    r.Check(file.path.size() >= 3 && file.path[1] == L':' && file.path[2] == L'\\', at,
            "expected a full path on a drive, such as C:\\Windows\\Temp");
    Read(r, entry, at, Object<kFileFields>{}, file);
    out.push_back(std::move(file));
  });
}

template <auto Member, typename Kind, typename Spec>
void Distinct(const Reader& r, const std::vector<Spec>& earlier, const Spec& spec, Where where, const Field<Member, Kind>& f) {
  if constexpr (std::is_same_v<typename Field<Member, Kind>::Type, std::wstring>) {
    for (const auto& other : earlier) {
      if (f.unique && base::EqualsIgnoreCase(other.*Member, spec.*Member)) r.Fail(where + "/" + f.name, f.unique);
    }
  }
}

template <const auto& Table, typename Spec>
void Read(const Reader& r, const Json& j, Where w, Objects<Table>, std::vector<Spec>& out) {
  const Json& items = r.Array(j, w);
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string at = w + "/" + std::to_string(i);
    Spec spec;
    Read(r, items[i], at, Object<Table>{}, spec);
    std::apply([&](const auto&... f) { (Distinct(r, out, spec, at, f), ...); }, Table);
    out.push_back(std::move(spec));
  }
}

std::string LineAndColumn(const std::string& text, std::size_t byte) {
  std::size_t line = 1, column = 1;
  for (std::size_t i = 0; i < byte && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

bool SplitRegistryPath(std::wstring_view full, RootKey& root, std::wstring& rest) {
  const size_t sep = full.find(L'\\');
  const std::wstring head = base::Upcase(full.substr(0, sep));
  rest = sep == std::wstring_view::npos ? std::wstring() : std::wstring(full.substr(sep + 1));
  if (head == L"HKEY_LOCAL_MACHINE" || head == L"HKLM") root = RootKey::LocalMachine;
  else if (head == L"HKEY_CURRENT_USER" || head == L"HKCU") root = RootKey::CurrentUser;
  else if (head == L"HKEY_USERS" || head == L"HKU") root = RootKey::Users;
  else if (head == L"HKEY_CLASSES_ROOT" || head == L"HKCR") root = RootKey::ClassesRoot;
  else return false;
  return true;
}

MachineImage ParseMachineImage(const std::string& text, const std::string& source) {
  Json j;
  try {
    j = Json::parse(text);
  } catch (const Json::parse_error& e) {
    // e.byte is one past the offending character.
    throw ImageError(source + ": " + LineAndColumn(text, e.byte ? e.byte - 1 : 0) + ": not valid JSON (" + e.what() +
                     ")");
  } catch (const Json::exception& e) {
    // A number too large for a double ("1e400") fails while parsing, but
    // as out_of_range and without a place.
    throw ImageError(source + ": not valid JSON (" + e.what() + ")");
  }
  MachineImage image;
  try {
    Read(Reader(source), j, "", Object<kMachineFields>{}, image);
  } catch (const Json::exception& e) {
    throw ImageError(source + ": " + e.what());
  }
  return image;
}

}  // namespace os::image
