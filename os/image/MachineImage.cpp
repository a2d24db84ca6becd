// Machine images: a Windows workstation as JSON (see README.md beside this file).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "base/RegistryText.h"
#include "base/Utf.h"
#include "base/WideText.h"
#include "os/Files.h"
#include "os/image/MachineImage.h"

namespace os::image {
namespace {

using Json = nlohmann::ordered_json;

struct NamedBits {
  const char* name;
  std::uint32_t bits;
};
constexpr NamedBits kAttributeNames[] = {
    {"readonly", attr::kReadOnly}, {"hidden", attr::kHidden}, {"system", attr::kSystem}, {"archive", attr::kArchive}};

struct NamedState {
  const char* name;
  std::uint32_t state;
};
constexpr NamedState kStateNames[] = {{"stopped", svc::kStopped},
                                      {"start-pending", svc::kStartPending},
                                      {"stop-pending", svc::kStopPending},
                                      {"running", svc::kRunning},
                                      {"paused", svc::kPaused}};

struct NamedType {
  const char* name;
  std::uint32_t type;
};
constexpr NamedType kTypeNames[] = {{"REG_SZ", regtype::kString},         {"REG_EXPAND_SZ", regtype::kExpandString},
                                    {"REG_BINARY", regtype::kBinary},     {"REG_DWORD", regtype::kDword},
                                    {"REG_MULTI_SZ", regtype::kMultiString}, {"REG_QWORD", regtype::kQword},
                                    {"REG_NONE", regtype::kNone}};

class Reader {
 public:
  explicit Reader(std::string source) : source_(std::move(source)) {}

  [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
    throw ImageError(source_ + ": at " + (where.empty() ? "/" : where) + ": " + what);
  }

  const Json& Object(const Json& j, const std::string& where) const {
    if (!j.is_object()) Fail(where, "expected an object");
    return j;
  }
  const Json& Array(const Json& j, const std::string& where) const {
    if (!j.is_array()) Fail(where, "expected an array");
    return j;
  }
  std::wstring Text(const Json& j, const std::string& where) const {
    if (!j.is_string()) Fail(where, "expected a string");
    return base::Utf8ToWide(j.get<std::string>());
  }
  std::uint64_t Number(const Json& j, const std::string& where) const {
    if (!j.is_number_unsigned() && !(j.is_number_integer() && j.get<std::int64_t>() >= 0)) {
      Fail(where, "expected a non-negative whole number");
    }
    return j.get<std::uint64_t>();
  }
  // A 32-bit field (a DWORD): a larger number is refused, never wrapped.
  std::uint32_t Dword(const Json& j, const std::string& where) const {
    const std::uint64_t n = Number(j, where);
    if (n > 0xFFFFFFFFu) Fail(where, "expected a number below 2^32");
    return static_cast<std::uint32_t>(n);
  }
  bool Flag(const Json& j, const std::string& where) const {
    if (!j.is_boolean()) Fail(where, "expected true or false");
    return j.get<bool>();
  }
  std::vector<std::wstring> Texts(const Json& j, const std::string& where) const {
    std::vector<std::wstring> out;
    for (size_t i = 0; i < Array(j, where).size(); ++i) out.push_back(Text(j[i], where + "/" + std::to_string(i)));
    return out;
  }

  // Members of an object, each checked against the names allowed there, so a
  // misspelt field is reported instead of silently ignored.
  void Known(const Json& j, const std::string& where, std::initializer_list<const char*> names) const {
    for (auto it = Object(j, where).begin(); it != j.end(); ++it) {
      bool ok = false;
      for (const char* n : names) ok = ok || it.key() == n;
      if (!ok) Fail(where + "/" + it.key(), "unknown field");
    }
  }

 private:
  std::string source_;
};

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

std::string ToHex(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  char buf[3];
  for (auto b : bytes) {
    std::snprintf(buf, sizeof buf, "%02x", b);
    out += buf;
  }
  return out;
}

std::vector<std::uint8_t> IntegerBytes(std::uint64_t v, int size) {
  std::vector<std::uint8_t> out;
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return out;
}

RegistryValue ReadValue(const Reader& r, const Json& j, const std::string& where) {
  if (j.is_string()) return RegistryValue{regtype::kString, base::EncodeRegistryString(r.Text(j, where))};
  r.Known(j, where, {"type", "data", "hex"});
  if (!j.contains("type")) r.Fail(where, "a value needs a type");
  std::uint32_t type = 0;
  if (j["type"].is_number()) {
    type = r.Dword(j["type"], where + "/type");
  } else {
    const std::string name = j["type"].is_string() ? j["type"].get<std::string>() : "";
    bool found = false;
    for (const auto& t : kTypeNames) {
      if (name == t.name) {
        type = t.type;
        found = true;
      }
    }
    if (!found) r.Fail(where + "/type", "unknown registry type \"" + name + "\"");
  }
  if (j.contains("hex")) return RegistryValue{type, FromHex(r, j["hex"].is_string() ? j["hex"].get<std::string>() : "?", where + "/hex")};
  if (!j.contains("data")) r.Fail(where, "a value needs data or hex");
  const Json& d = j["data"];
  const std::string dw = where + "/data";
  switch (type) {
    case regtype::kString:
    case regtype::kExpandString:
      return RegistryValue{type, base::EncodeRegistryString(r.Text(d, dw))};
    case regtype::kMultiString: return RegistryValue{type, base::EncodeMultiString(r.Texts(d, dw))};
    case regtype::kDword: return RegistryValue{type, IntegerBytes(r.Dword(d, dw), 4)};
    case regtype::kQword: return RegistryValue{type, IntegerBytes(r.Number(d, dw), 8)};
    default: return RegistryValue{type, FromHex(r, d.is_string() ? d.get<std::string>() : "?", dw)};
  }
}

// Text that comes back unchanged from UTF-8: not one holding half of a
// surrogate pair, which only the hex form keeps.
bool SurvivesUtf8(const std::wstring& text) { return base::Utf8ToWide(base::WideToUtf8(text)) == text; }

Json WriteValue(const RegistryValue& v) {
  std::wstring text;
  std::vector<std::wstring> strings;
  const char* name = nullptr;
  for (const auto& t : kTypeNames) {
    if (t.type == v.type) name = t.name;
  }
  const bool isText = base::DecodeRegistryString(v.data, text) && SurvivesUtf8(text);
  if (v.type == regtype::kString && isText) return base::WideToUtf8(text);
  if (v.type == regtype::kExpandString && isText) {
    return Json{{"type", name}, {"data", base::WideToUtf8(text)}};
  }
  if (v.type == regtype::kMultiString && base::DecodeMultiString(v.data, strings) &&
      std::all_of(strings.begin(), strings.end(), SurvivesUtf8)) {
    Json arr = Json::array();
    for (const auto& s : strings) arr.push_back(base::WideToUtf8(s));
    return Json{{"type", name}, {"data", arr}};
  }
  if ((v.type == regtype::kDword && v.data.size() == 4) || (v.type == regtype::kQword && v.data.size() == 8)) {
    std::uint64_t n = 0;
    for (size_t i = 0; i < v.data.size(); ++i) n |= static_cast<std::uint64_t>(v.data[i]) << (8 * i);
    return Json{{"type", name}, {"data", n}};
  }
  if (v.type == regtype::kBinary) return Json{{"type", name}, {"data", ToHex(v.data)}};
  return Json{{"type", v.type}, {"hex", ToHex(v.data)}};
}

std::uint32_t ReadAttributes(const Reader& r, const Json& j, const std::string& where) {
  if (j.is_number()) return r.Dword(j, where);
  std::uint32_t bits = 0;
  for (const auto& name : r.Array(j, where)) {
    bool found = false;
    for (const auto& a : kAttributeNames) {
      if (name.is_string() && name.get<std::string>() == a.name) {
        bits |= a.bits;
        found = true;
      }
    }
    if (!found) r.Fail(where, "unknown attribute " + name.dump());
  }
  return bits;
}

Json WriteAttributes(std::uint32_t bits) {
  // Bits without a name (a number was read) are kept as the number.
  std::uint32_t named = 0;
  for (const auto& a : kAttributeNames) named |= a.bits;
  if (bits & ~named) return bits;
  Json arr = Json::array();
  for (const auto& a : kAttributeNames) {
    if (bits & a.bits) arr.push_back(a.name);
  }
  return arr;
}

std::uint32_t ReadState(const Reader& r, const Json& j, const std::string& where) {
  const std::wstring s = r.Text(j, where);
  for (const auto& n : kStateNames) {
    if (base::WideToUtf8(s) == n.name) return n.state;
  }
  r.Fail(where, "unknown service state \"" + base::WideToUtf8(s) + "\"");
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

WindowsSpec ReadWindows(const Reader& r, const Json& j) {
  const std::string w = "/windows";
  r.Known(j, w, {"version", "windowsDirectory", "systemDirectory", "languageAbbreviation", "modulePath",
                 "currentDirectory", "tickCount", "userSid", "currentControlSet", "variables", "driverPackageExport",
                 "spoolerEnvironments"});
  WindowsSpec out;
  auto text = [&](const char* name, std::optional<std::wstring>& field) {
    if (j.contains(name)) field = r.Text(j[name], w + "/" + name);
  };
  if (j.contains("version")) {
    out.version = ReadVersion(r, base::WideToUtf8(r.Text(j["version"], w + "/version")), w + "/version");
  }
  text("windowsDirectory", out.windowsDirectory);
  text("systemDirectory", out.systemDirectory);
  text("languageAbbreviation", out.languageAbbreviation);
  text("modulePath", out.modulePath);
  text("currentDirectory", out.currentDirectory);
  text("userSid", out.userSid);
  if (j.contains("tickCount")) out.tickCount = r.Dword(j["tickCount"], w + "/tickCount");
  if (j.contains("currentControlSet")) {
    const auto n = r.Number(j["currentControlSet"], w + "/currentControlSet");
    if (n < 1 || n > 999) r.Fail(w + "/currentControlSet", "expected a control set number from 1 to 999");
    out.currentControlSet = static_cast<int>(n);
  }
  if (j.contains("variables")) {
    const auto& vars = r.Object(j["variables"], w + "/variables");
    for (auto it = vars.begin(); it != vars.end(); ++it) {
      out.variables.emplace_back(base::Utf8ToWide(it.key()), r.Text(it.value(), w + "/variables/" + it.key()));
    }
  }
  if (j.contains("driverPackageExport")) out.driverPackageExport = r.Flag(j["driverPackageExport"], w + "/driverPackageExport");
  if (j.contains("spoolerEnvironments")) {
    out.spoolerEnvironments = r.Texts(j["spoolerEnvironments"], w + "/spoolerEnvironments");
  }
  return out;
}

void ReadRegistry(const Reader& r, const Json& j, MachineImage& image) {
  for (auto it = r.Object(j, "/registry").begin(); it != j.end(); ++it) {
    const std::string where = "/registry/" + it.key();
    RegistryKeySpec key{base::Utf8ToWide(it.key()), {}};
    RootKey root;
    std::wstring rest;
    if (!SplitRegistryPath(key.path, root, rest)) {
      r.Fail(where, "a key path must start with HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS or HKEY_CLASSES_ROOT");
    }
    const auto& values = r.Object(it.value(), where);
    for (auto v = values.begin(); v != values.end(); ++v) {
      key.values.emplace_back(base::Utf8ToWide(v.key()), ReadValue(r, v.value(), where + "/" + v.key()));
    }
    image.registry.push_back(std::move(key));
  }
}

void ReadFiles(const Reader& r, const Json& j, MachineImage& image) {
  for (auto it = r.Object(j, "/files").begin(); it != j.end(); ++it) {
    const std::string where = "/files/" + it.key();
    FileSpec file;
    file.path = base::Utf8ToWide(it.key());
    if (file.path.size() < 3 || file.path[1] != L':' || file.path[2] != L'\\') {
      r.Fail(where, "expected a full path on a drive, such as C:\\Windows\\Temp");
    }
    const Json& e = it.value();
    r.Known(e, where, {"folder", "attributes", "content", "locked"});
    file.folder = e.contains("folder") && r.Flag(e["folder"], where + "/folder");
    file.attributes = file.folder ? 0 : attr::kArchive;
    if (e.contains("attributes")) file.attributes = ReadAttributes(r, e["attributes"], where + "/attributes");
    if (e.contains("content")) {
      if (file.folder) r.Fail(where + "/content", "a folder has no content");
      file.content = base::WideToUtf8(r.Text(e["content"], where + "/content"));
    }
    file.locked = e.contains("locked") && r.Flag(e["locked"], where + "/locked");
    image.files.push_back(std::move(file));
  }
}

void ReadSpooler(const Reader& r, const Json& j, MachineImage& image) {
  r.Known(j, "/spooler", {"drivers", "printers", "forms", "packages"});
  if (j.contains("drivers")) {
    const auto& arr = r.Array(j["drivers"], "/spooler/drivers");
    for (size_t i = 0; i < arr.size(); ++i) {
      const std::string w = "/spooler/drivers/" + std::to_string(i);
      const Json& d = arr[i];
      r.Known(d, w, {"name", "environment", "version", "driverPath", "dataFile", "configFile", "infPath", "files"});
      DriverSpec driver;
      if (!d.contains("name")) r.Fail(w, "a driver needs a name");
      driver.name = r.Text(d["name"], w + "/name");
      if (d.contains("environment")) driver.environment = r.Text(d["environment"], w + "/environment");
      if (d.contains("version")) driver.version = r.Dword(d["version"], w + "/version");
      if (d.contains("driverPath")) driver.driverPath = r.Text(d["driverPath"], w + "/driverPath");
      if (d.contains("dataFile")) driver.dataFile = r.Text(d["dataFile"], w + "/dataFile");
      if (d.contains("configFile")) driver.configFile = r.Text(d["configFile"], w + "/configFile");
      if (d.contains("infPath")) driver.infPath = r.Text(d["infPath"], w + "/infPath");
      if (d.contains("files")) driver.files = r.Texts(d["files"], w + "/files");
      image.drivers.push_back(std::move(driver));
    }
  }
  if (j.contains("printers")) {
    const auto& arr = r.Array(j["printers"], "/spooler/printers");
    for (size_t i = 0; i < arr.size(); ++i) {
      const std::string w = "/spooler/printers/" + std::to_string(i);
      const Json& p = arr[i];
      r.Known(p, w, {"name", "server", "driver", "share", "port", "jobs", "hardwareId", "media"});
      PrinterSpec printer;
      if (!p.contains("name")) r.Fail(w, "a printer needs a name");
      if (!p.contains("driver")) r.Fail(w, "a printer needs a driver");
      printer.name = r.Text(p["name"], w + "/name");
      printer.driverName = r.Text(p["driver"], w + "/driver");
      if (p.contains("server")) printer.serverName = r.Text(p["server"], w + "/server");
      if (p.contains("share")) printer.shareName = r.Text(p["share"], w + "/share");
      if (p.contains("port")) printer.portName = r.Text(p["port"], w + "/port");
      if (p.contains("hardwareId")) printer.hardwareId = r.Text(p["hardwareId"], w + "/hardwareId");
      if (p.contains("media")) printer.media = r.Texts(p["media"], w + "/media");
      if (p.contains("jobs")) {
        if (p["jobs"].is_array()) {
          for (size_t k = 0; k < p["jobs"].size(); ++k) {
            printer.jobs.push_back(r.Dword(p["jobs"][k], w + "/jobs/" + std::to_string(k)));
          }
        } else {
          const auto count = r.Number(p["jobs"], w + "/jobs");
          if (count > 100000) r.Fail(w + "/jobs", "too many jobs");
          for (std::uint32_t k = 1; k <= count; ++k) printer.jobs.push_back(k);
        }
      }
      for (const auto& other : image.printers) {
        if (base::EqualsIgnoreCase(other.name, printer.name)) r.Fail(w + "/name", "a printer of this name is listed already");
      }
      image.printers.push_back(std::move(printer));
    }
  }
  if (j.contains("forms")) {
    const auto& arr = r.Array(j["forms"], "/spooler/forms");
    for (size_t i = 0; i < arr.size(); ++i) {
      const std::string w = "/spooler/forms/" + std::to_string(i);
      r.Known(arr[i], w, {"name", "kind"});
      if (!arr[i].contains("name")) r.Fail(w, "a form needs a name");
      FormSpec form{r.Text(arr[i]["name"], w + "/name"), spool::kFormUser};
      if (arr[i].contains("kind")) {
        const std::wstring kind = r.Text(arr[i]["kind"], w + "/kind");
        if (kind == L"builtin") form.flags = spool::kFormBuiltin;
        else if (kind == L"printer") form.flags = spool::kFormPrinter;
        else if (kind != L"user") r.Fail(w + "/kind", "expected builtin, user or printer");
      }
      image.forms.push_back(std::move(form));
    }
  }
  if (j.contains("packages")) image.packages = r.Texts(j["packages"], "/spooler/packages");
}

void ReadServices(const Reader& r, const Json& j, MachineImage& image) {
  const auto& arr = r.Array(j, "/services");
  for (size_t i = 0; i < arr.size(); ++i) {
    const std::string w = "/services/" + std::to_string(i);
    const Json& s = arr[i];
    r.Known(s, w, {"name", "displayName", "state", "dependsOn", "stopDelayMs", "startDelayMs", "answerDelayMs", "hangsStopping",
                   "hangsStarting", "stopError", "startError"});
    if (!s.contains("name")) r.Fail(w, "a service needs a name");
    ServiceSpec svc;
    svc.name = r.Text(s["name"], w + "/name");
    svc.displayName = s.contains("displayName") ? r.Text(s["displayName"], w + "/displayName") : svc.name;
    if (s.contains("state")) svc.state = ReadState(r, s["state"], w + "/state");
    if (s.contains("dependsOn")) svc.dependsOn = r.Texts(s["dependsOn"], w + "/dependsOn");
    auto number = [&](const char* name, std::uint32_t& field) {
      if (s.contains(name)) field = r.Dword(s[name], w + "/" + name);
    };
    number("stopDelayMs", svc.stopDelayMs);
    number("startDelayMs", svc.startDelayMs);
    number("answerDelayMs", svc.answerDelayMs);
    number("stopError", svc.stopError);
    number("startError", svc.startError);
    if (s.contains("hangsStopping")) svc.hangsStopping = r.Flag(s["hangsStopping"], w + "/hangsStopping");
    if (s.contains("hangsStarting")) svc.hangsStarting = r.Flag(s["hangsStarting"], w + "/hangsStarting");
    image.services.push_back(std::move(svc));
  }
}

ServiceDatabaseSpec ReadDatabase(const Reader& r, const Json& j) {
  const std::string w = "/serviceDatabase";
  r.Known(j, w, {"managerAccessDenied", "lockedByOther", "lockDenied"});
  ServiceDatabaseSpec db;
  if (j.contains("managerAccessDenied")) db.managerAccessDenied = r.Flag(j["managerAccessDenied"], w + "/managerAccessDenied");
  if (j.contains("lockedByOther")) db.lockedByOther = r.Flag(j["lockedByOther"], w + "/lockedByOther");
  if (j.contains("lockDenied")) db.lockDenied = r.Flag(j["lockDenied"], w + "/lockDenied");
  return db;
}

void ReadProcesses(const Reader& r, const Json& j, MachineImage& image) {
  const auto& arr = r.Array(j, "/processes");
  for (size_t i = 0; i < arr.size(); ++i) {
    const std::string w = "/processes/" + std::to_string(i);
    r.Known(arr[i], w, {"pid", "name", "protected"});
    if (!arr[i].contains("pid") || !arr[i].contains("name")) r.Fail(w, "a process needs a pid and a name");
    ProcessSpec p;
    p.processId = r.Dword(arr[i]["pid"], w + "/pid");
    p.exeFile = r.Text(arr[i]["name"], w + "/name");
    if (arr[i].contains("protected")) p.protectedProcess = r.Flag(arr[i]["protected"], w + "/protected");
    image.processes.push_back(std::move(p));
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

Json Utf8Array(const std::vector<std::wstring>& items) {
  Json arr = Json::array();
  for (const auto& s : items) arr.push_back(base::WideToUtf8(s));
  return arr;
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
  const Reader r(source);
  r.Known(j, "", {"base", "windows", "registry", "protectedKeys", "files", "spooler", "services", "serviceDatabase",
                  "processes"});
  MachineImage image;
  try {
    if (j.contains("base")) {
      image.base = base::WideToUtf8(r.Text(j["base"], "/base"));
      if (!BuiltInImage(image.base)) r.Fail("/base", "unknown base image \"" + image.base + "\"");
    }
    if (j.contains("windows")) image.windows = ReadWindows(r, j["windows"]);
    if (j.contains("registry")) ReadRegistry(r, j["registry"], image);
    if (j.contains("protectedKeys")) image.protectedKeys = r.Texts(j["protectedKeys"], "/protectedKeys");
    if (j.contains("files")) ReadFiles(r, j["files"], image);
    if (j.contains("spooler")) ReadSpooler(r, j["spooler"], image);
    if (j.contains("services")) ReadServices(r, j["services"], image);
    if (j.contains("serviceDatabase")) image.serviceDatabase = ReadDatabase(r, j["serviceDatabase"]);
    if (j.contains("processes")) ReadProcesses(r, j["processes"], image);
  } catch (const Json::exception& e) {
    throw ImageError(source + ": " + e.what());
  }
  return image;
}

std::string WriteMachineImage(const MachineImage& image) {
  Json j = Json::object();
  if (!image.base.empty()) j["base"] = image.base;

  const WindowsSpec& w = image.windows;
  Json windows = Json::object();
  if (w.version) {
    windows["version"] = std::to_string(w.version->majorVersion) + "." + std::to_string(w.version->minorVersion) + "." +
                         std::to_string(w.version->buildNumber);
  }
  auto text = [&](const char* name, const std::optional<std::wstring>& field) {
    if (field) windows[name] = base::WideToUtf8(*field);
  };
  text("windowsDirectory", w.windowsDirectory);
  text("systemDirectory", w.systemDirectory);
  text("languageAbbreviation", w.languageAbbreviation);
  text("modulePath", w.modulePath);
  text("currentDirectory", w.currentDirectory);
  text("userSid", w.userSid);
  if (w.tickCount) windows["tickCount"] = *w.tickCount;
  if (w.currentControlSet) windows["currentControlSet"] = *w.currentControlSet;
  if (!w.variables.empty()) {
    Json vars = Json::object();
    for (const auto& [name, value] : w.variables) vars[base::WideToUtf8(name)] = base::WideToUtf8(value);
    windows["variables"] = vars;
  }
  if (w.driverPackageExport) windows["driverPackageExport"] = *w.driverPackageExport;
  if (!w.spoolerEnvironments.empty()) {
    Json environments = Json::array();
    for (const auto& e : w.spoolerEnvironments) environments.push_back(base::WideToUtf8(e));
    windows["spoolerEnvironments"] = environments;
  }
  if (!windows.empty()) j["windows"] = windows;

  if (!image.registry.empty()) {
    Json registry = Json::object();
    for (const auto& key : image.registry) {
      Json values = Json::object();
      for (const auto& [name, value] : key.values) values[base::WideToUtf8(name)] = WriteValue(value);
      registry[base::WideToUtf8(key.path)] = values;
    }
    j["registry"] = registry;
  }
  if (!image.protectedKeys.empty()) j["protectedKeys"] = Utf8Array(image.protectedKeys);

  if (!image.files.empty()) {
    Json files = Json::object();
    for (const auto& f : image.files) {
      Json entry = Json::object();
      if (f.folder) entry["folder"] = true;
      entry["attributes"] = WriteAttributes(f.attributes);
      if (!f.content.empty()) entry["content"] = f.content;
      if (f.locked) entry["locked"] = true;
      files[base::WideToUtf8(f.path)] = entry;
    }
    j["files"] = files;
  }

  Json spooler = Json::object();
  if (!image.drivers.empty()) {
    Json drivers = Json::array();
    for (const auto& d : image.drivers) {
      Json dj{{"name", base::WideToUtf8(d.name)}, {"environment", base::WideToUtf8(d.environment)}, {"version", d.version}};
      if (!d.driverPath.empty()) dj["driverPath"] = base::WideToUtf8(d.driverPath);
      if (!d.dataFile.empty()) dj["dataFile"] = base::WideToUtf8(d.dataFile);
      if (!d.configFile.empty()) dj["configFile"] = base::WideToUtf8(d.configFile);
      if (!d.infPath.empty()) dj["infPath"] = base::WideToUtf8(d.infPath);
      if (!d.files.empty()) dj["files"] = Utf8Array(d.files);
      drivers.push_back(dj);
    }
    spooler["drivers"] = drivers;
  }
  if (!image.printers.empty()) {
    Json printers = Json::array();
    for (const auto& p : image.printers) {
      Json pj{{"name", base::WideToUtf8(p.name)}, {"driver", base::WideToUtf8(p.driverName)}};
      if (!p.serverName.empty()) pj["server"] = base::WideToUtf8(p.serverName);
      if (!p.shareName.empty()) pj["share"] = base::WideToUtf8(p.shareName);
      pj["port"] = base::WideToUtf8(p.portName);
      if (!p.jobs.empty()) pj["jobs"] = p.jobs;
      if (!p.hardwareId.empty()) pj["hardwareId"] = base::WideToUtf8(p.hardwareId);
      if (!p.media.empty()) pj["media"] = Utf8Array(p.media);
      printers.push_back(pj);
    }
    spooler["printers"] = printers;
  }
  if (!image.forms.empty()) {
    Json forms = Json::array();
    for (const auto& f : image.forms) {
      const char* kind = f.flags == spool::kFormBuiltin ? "builtin" : f.flags == spool::kFormPrinter ? "printer" : "user";
      forms.push_back(Json{{"name", base::WideToUtf8(f.name)}, {"kind", kind}});
    }
    spooler["forms"] = forms;
  }
  if (!image.packages.empty()) spooler["packages"] = Utf8Array(image.packages);
  if (!spooler.empty()) j["spooler"] = spooler;

  if (!image.services.empty()) {
    Json services = Json::array();
    for (const auto& s : image.services) {
      Json sj{{"name", base::WideToUtf8(s.name)}};
      if (s.displayName != s.name) sj["displayName"] = base::WideToUtf8(s.displayName);
      for (const auto& n : kStateNames) {
        if (n.state == s.state) sj["state"] = n.name;
      }
      if (!s.dependsOn.empty()) sj["dependsOn"] = Utf8Array(s.dependsOn);
      if (s.stopDelayMs) sj["stopDelayMs"] = s.stopDelayMs;
      if (s.startDelayMs) sj["startDelayMs"] = s.startDelayMs;
      if (s.answerDelayMs) sj["answerDelayMs"] = s.answerDelayMs;
      if (s.hangsStopping) sj["hangsStopping"] = true;
      if (s.hangsStarting) sj["hangsStarting"] = true;
      if (s.stopError) sj["stopError"] = s.stopError;
      if (s.startError) sj["startError"] = s.startError;
      services.push_back(sj);
    }
    j["services"] = services;
  }
  const auto& db = image.serviceDatabase;
  if (db.managerAccessDenied || db.lockedByOther || db.lockDenied) {
    Json dj = Json::object();
    if (db.managerAccessDenied) dj["managerAccessDenied"] = *db.managerAccessDenied;
    if (db.lockedByOther) dj["lockedByOther"] = *db.lockedByOther;
    if (db.lockDenied) dj["lockDenied"] = *db.lockDenied;
    j["serviceDatabase"] = dj;
  }
  if (!image.processes.empty()) {
    Json processes = Json::array();
    for (const auto& p : image.processes) {
      Json pj{{"pid", p.processId}, {"name", base::WideToUtf8(p.exeFile)}};
      if (p.protectedProcess) pj["protected"] = true;
      processes.push_back(pj);
    }
    j["processes"] = processes;
  }
  return j.dump(2);
}

}  // namespace os::image
