#include <gtest/gtest.h>

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
  "spooler": {
    "drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}],
    "printers": [{"name": "Office", "driver": "Laser", "jobs": [4, 9]},
                 {"name": "\\\\srv\\lp", "server": "\\\\srv", "driver": "Laser", "jobs": 2}]
  }
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
  EXPECT_EQ(second->registry().OpenKey(RootKey::LocalMachine, L"SOFTWARE\\Policies", regaccess::kAllAccess).status,
            error::kAccessDenied) << "the protected key";
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
  // A DWORD is never wrapped: 2^32 would load as 0.
  EXPECT_EQ(ErrorOf(R"({"registry": {"HKLM\\x": {"v": {"type": "REG_DWORD", "data": 4294967296}}}})"),
            "office.json: at /registry/HKLM\\x/v/data: expected a number below 2^32");
  EXPECT_EQ(ErrorOf(R"({"base": "mainframe"})"), "office.json: at /base: unknown base image \"mainframe\"");
  EXPECT_EQ(ErrorOf(R"([1, 2])"), "office.json: at /: expected an object");
}

}  // namespace
}  // namespace os::sim
