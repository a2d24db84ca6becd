#include <gtest/gtest.h>

#include <tuple>

#include "os/sim/SimMachine.h"

namespace os::sim {
namespace {

constexpr const char* kImage = R"({
  "base": "workstation",
  "registry": {
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER": {
      "Odd": {"type": 1, "hex": "41004200"},
      "Flags": {"type": "REG_DWORD", "data": 7},
      "Blob": {"type": "REG_BINARY", "data": "00ff10"}
    }
  },
  "protectedKeys": ["HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies"],
  "files": {"C:\\Windows\\Temp\\mark.wmk": {"attributes": ["readonly"]}},
  "spooler": {
    "drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}],
    "printers": [{"name": "Office", "driver": "Laser", "jobs": [4, 9]},
                 {"name": "\\\\srv\\lp", "server": "\\\\srv", "driver": "Laser", "jobs": 2}]
  },
  "services": [{"name": "Fax", "dependsOn": ["Spooler"], "state": "stopped"}],
  "processes": [{"pid": 4242, "name": "Quellix.exe"}]
})";

std::string ErrorOf(const std::string& json) {
  try {
    SimMachine::FromImage(json, "office.json");
  } catch (const ImageError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(MachineImageTest, ASavedImageLoadsIntoTheSameMachine) {
  auto first = SimMachine::FromImage(kImage);
  const std::string saved = first->SaveImage();
  auto second = SimMachine::FromImage(saved, "saved");
  EXPECT_EQ(second->SaveImage(), saved);
  // Odd data survives byte for byte: a REG_SZ without its terminator.
  auto odd = second->registry().GetValue(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER", L"Odd");
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->data, (std::vector<std::uint8_t>{0x41, 0, 0x42, 0}));
  EXPECT_EQ(second->spooler().FindPrinter(L"Office")->jobs, (std::vector<std::uint32_t>{4, 9}));
  EXPECT_EQ(second->spooler().FindPrinter(L"\\\\srv\\lp")->jobs, (std::vector<std::uint32_t>{1, 2})) << "a count of jobs";
}

TEST(MachineImageTest, ABrokenImageIsNamedWithThePlaceAndTheFault) {
  EXPECT_EQ(ErrorOf("{\n  \"spooler\": {\n    \"printers\": [,]\n  }\n}").rfind("office.json: line 3, column 18", 0), 0u)
      << ErrorOf("{\n  \"spooler\": {\n    \"printers\": [,]\n  }\n}");
  EXPECT_EQ(ErrorOf(R"({"spooler": {"printers": [{"name": 12, "driver": "x"}]}})"),
            "office.json: at /spooler/printers/0/name: expected a string");
  EXPECT_EQ(ErrorOf(R"({"spooler": {"printers": [{"name": "a", "drvier": "x"}]}})"),
            "office.json: at /spooler/printers/0/drvier: unknown field");
  EXPECT_EQ(ErrorOf(R"({"registry": {"HKEY_NOWHERE\\x": {}}})"),
            "office.json: at /registry/HKEY_NOWHERE\\x: a key path must start with HKEY_LOCAL_MACHINE, "
            "HKEY_CURRENT_USER, HKEY_USERS or HKEY_CLASSES_ROOT");
  EXPECT_EQ(ErrorOf(R"({"registry": {"HKLM\\x": {"v": {"type": "REG_DWORD", "data": -1}}}})"),
            "office.json: at /registry/HKLM\\x/v/data: expected a non-negative whole number");
  // A DWORD is never wrapped: 2^32 + 1 would load as process 1.
  EXPECT_EQ(ErrorOf(R"({"processes": [{"pid": 4294967297, "name": "a.exe"}]})"),
            "office.json: at /processes/0/pid: expected a number below 2^32");
  EXPECT_EQ(ErrorOf(R"({"registry": {"HKLM\\x": {"v": {"type": "REG_DWORD", "data": 4294967296}}}})"),
            "office.json: at /registry/HKLM\\x/v/data: expected a number below 2^32");
  EXPECT_EQ(ErrorOf(R"({"base": "mainframe"})"), "office.json: at /base: unknown base image \"mainframe\"");
  EXPECT_EQ(ErrorOf(R"([1, 2])"), "office.json: at /: expected an object");
  // Too large even for a double: refused like any other broken JSON.
  EXPECT_EQ(ErrorOf(R"({"processes": [{"pid": 1e2010, "name": "a.exe"}]})"),
            "office.json: not valid JSON ([json.exception.out_of_range.406] number overflow parsing '1e2010')");
}

TEST(MachineImageTest, AVersionIsDecimalPartsBelowTwoToTheThirtySecond) {
  const std::string expected = "office.json: at /windows/version: expected major.minor[.build], such as \"6.1.7601\"";
  // Wrapped, it would load as Windows 1.1.
  EXPECT_EQ(ErrorOf(R"({"windows": {"version": "4294967297.1"}})"), expected);
  for (const char* version : {"-1.2.3", "+6.1", " 6.1", "6.1.", "6.1.7601 SP1", "6", "6..1", "6.1.2.3", "0x6.1"}) {
    EXPECT_EQ(ErrorOf(std::string(R"({"windows": {"version": ")") + version + R"("}})"), expected) << version;
  }
  const auto image = os::image::ParseMachineImage(R"({"windows": {"version": "4294967295.0"}})", "x");
  EXPECT_EQ(image.windows.version->majorVersion, 4294967295u);
  EXPECT_EQ(os::image::ParseMachineImage(R"({"windows": {"version": "5.1"}})", "x").windows.version->buildNumber, 0u);
}

TEST(MachineImageTest, HexDataIsDigitPairsOnly) {
  EXPECT_EQ(ErrorOf(R"({"registry": {"HKLM\\x": {"v": {"type": 3, "hex": "-1"}}}})"),
            "office.json: at /registry/HKLM\\x/v/hex: not a hex digit pair");
  EXPECT_EQ(ErrorOf(R"({"registry": {"HKLM\\x": {"v": {"type": 3, "hex": "0x"}}}})"),
            "office.json: at /registry/HKLM\\x/v/hex: not a hex digit pair");
  const auto image = os::image::ParseMachineImage(R"({"registry": {"HKLM\\x": {"v": {"type": 3, "hex": "0A f1"}}}})", "x");
  EXPECT_EQ(image.registry.at(0).values.at(0).second.data, (std::vector<std::uint8_t>{0x0A, 0xF1}));
}

TEST(MachineImageTest, WhatWasReadIsSavedSoThatItReadsBackTheSame) {
  // Attribute bits without a name, given as a number.
  const auto numbered = os::image::ParseMachineImage(R"({"files": {"C:\\a.txt": {"attributes": 129}}})", "x");
  const auto numberedAgain = os::image::ParseMachineImage(os::image::WriteMachineImage(numbered), "saved");
  EXPECT_EQ(numberedAgain.files.at(0).attributes, 129u);
  EXPECT_TRUE(numberedAgain == numbered);
  // A REG_SZ holding half a surrogate pair has no UTF-8 text: saving it
  // threw, and as text it would come back as U+FFFD. It stays hex.
  const auto lone = os::image::ParseMachineImage(
      R"({"registry": {"HKLM\\x": {"v": {"type": "REG_SZ", "hex": "00d80000"}, "m": {"type": 7, "hex": "00dc00000000"}}}})", "x");
  const auto loneAgain = os::image::ParseMachineImage(os::image::WriteMachineImage(lone), "saved");
  EXPECT_EQ(loneAgain.registry.at(0).values.at(0).second.data, (std::vector<std::uint8_t>{0x00, 0xD8, 0x00, 0x00}));
  EXPECT_TRUE(loneAgain == lone);
}

TEST(GateTest, InjectedFailuresHitTheirTargetAsOftenAsAsked) {
  auto m = SimMachine::FromImage(R"({"registry": {"HKLM\\SOFTWARE\\A": {}, "HKLM\\SOFTWARE\\B": {}}})");
  m->Inject(Injection{os::sim::Op::RegistryDeleteTree, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\A", 5, false, 1});
  EXPECT_EQ(m->registry().DeleteTree(RootKey::LocalMachine, L"SOFTWARE\\B"), error::kSuccess);
  EXPECT_EQ(m->registry().DeleteTree(RootKey::LocalMachine, L"SOFTWARE\\A"), error::kAccessDenied);
  EXPECT_EQ(m->registry().DeleteTree(RootKey::LocalMachine, L"SOFTWARE\\A"), error::kSuccess);
  EXPECT_EQ(m->gate().calls(os::sim::Op::RegistryDeleteTree), 3u);
}

}  // namespace
}  // namespace os::sim
