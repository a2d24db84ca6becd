// Machine images are hand-written JSON: any text. Reading one either gives
// an image or refuses it with an ImageError, nothing else escapes; an image
// that was read saves without fault, and the saved text reads back as the
// same image and saves as the same text. A number is taken as written or
// refused: never wrapped into the field, never read from a sign, a blank or
// a prefix; hex data is taken only as hex digit pairs.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "os/image/MachineImage.h"
#include "tests/fuzz/Require.h"

namespace {

using Json = nlohmann::ordered_json;

// The member's value is the number the text wrote there.
void SameNumber(const Json& parent, const char* name, std::uint64_t value) {
  if (!parent.is_object() || !parent.contains(name)) return;
  const Json& j = parent[name];
  Require(j.is_number_unsigned() || (j.is_number_integer() && j.get<std::int64_t>() >= 0));
  Require(j.get<std::uint64_t>() == value);
}

// "major.minor[.build]" in plain decimal digits, each part the value read.
void SameVersion(const std::string& text, const os::OsVersionInfo& v) {
  const std::uint64_t parts[] = {v.majorVersion, v.minorVersion, v.buildNumber};
  std::size_t at = 0;
  for (int k = 0; k < 3; ++k) {
    if (k == 2 && at == text.size()) return;  // no build: it reads as 0
    if (k > 0) {
      Require(at < text.size() && text[at] == '.');
      ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    Require(at > start && at - start <= 10 && std::stoull(text.substr(start, at - start)) == parts[k]);
  }
  Require(at == text.size());
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (auto b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

// The numbers and hex data of the text against what was read from them.
void SameAsWritten(const Json& j, const os::image::MachineImage& image) {
  if (j.contains("windows")) {
    const Json& w = j["windows"];
    if (image.windows.tickCount) SameNumber(w, "tickCount", *image.windows.tickCount);
    if (image.windows.currentControlSet) SameNumber(w, "currentControlSet", *image.windows.currentControlSet);
    if (image.windows.version) SameVersion(w["version"].get<std::string>(), *image.windows.version);
  }
  if (j.contains("processes")) {
    for (std::size_t i = 0; i < image.processes.size(); ++i) SameNumber(j["processes"][i], "pid", image.processes[i].processId);
  }
  if (j.contains("services")) {
    for (std::size_t i = 0; i < image.services.size(); ++i) {
      const Json& s = j["services"][i];
      SameNumber(s, "stopDelayMs", image.services[i].stopDelayMs);
      SameNumber(s, "startDelayMs", image.services[i].startDelayMs);
      SameNumber(s, "stopError", image.services[i].stopError);
      SameNumber(s, "startError", image.services[i].startError);
    }
  }
  if (j.contains("spooler")) {
    const Json& sp = j["spooler"];
    if (sp.contains("drivers")) {
      for (std::size_t i = 0; i < image.drivers.size(); ++i) SameNumber(sp["drivers"][i], "version", image.drivers[i].version);
    }
    if (sp.contains("printers")) {
      for (std::size_t i = 0; i < image.printers.size(); ++i) {
        const Json& p = sp["printers"][i];
        if (p.contains("jobs") && p["jobs"].is_array()) {
          for (std::size_t k = 0; k < image.printers[i].jobs.size(); ++k) {
            Require(p["jobs"][k].get<std::uint64_t>() == image.printers[i].jobs[k]);
          }
        }
      }
    }
  }
  if (j.contains("registry")) {
    std::size_t k = 0;
    for (auto key = j["registry"].begin(); key != j["registry"].end(); ++key, ++k) {
      std::size_t v = 0;
      for (auto value = key.value().begin(); value != key.value().end(); ++value, ++v) {
        const os::RegistryValue& read = image.registry[k].values[v].second;
        const Json& spec = value.value();
        if (!spec.is_object()) continue;
        if (spec["type"].is_number()) SameNumber(spec, "type", read.type);
        if (spec.contains("hex")) {
          std::string digits;
          for (char c : spec["hex"].get<std::string>()) {
            if (c != ' ') digits.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
          }
          Require(digits == Hex(read.data));
        } else if (read.type == os::regtype::kDword || read.type == os::regtype::kQword) {
          std::uint64_t n = 0;
          for (std::size_t b = 0; b < read.data.size(); ++b) n |= static_cast<std::uint64_t>(read.data[b]) << (8 * b);
          SameNumber(spec, "data", n);
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  os::image::MachineImage image;
  try {
    image = os::image::ParseMachineImage(text, "fuzz");
  } catch (const os::image::ImageError&) {
    return 0;
  }
  // What was read parses as JSON: compare it with the text it came from.
  SameAsWritten(Json::parse(text), image);

  const std::string saved = os::image::WriteMachineImage(image);
  const os::image::MachineImage again = os::image::ParseMachineImage(saved, "saved");
  Require(again == image);
  Require(os::image::WriteMachineImage(again) == saved);
  return 0;
}
