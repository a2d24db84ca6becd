// Registry reads: the same cases on the simulated machine and on Wine.
#include "sysaccess/RegistryStrings.h"
#include "tests/contract/ContractMachine.h"

namespace contract {
namespace {

using sysaccess::ReadMachineRegistryString;
using sysaccess::ReadRegistryString;
using sysaccess::SystemAccess;

// One answer of an enumeration as one text: the name, or the status that
// refused it.
std::wstring Listed(const os::Result<std::wstring>& name) {
  return name.ok() ? name.value : L"status " + std::to_wstring(name.status);
}

constexpr const char* kValues = R"({
  "registry": {
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\TessalyContract\\Reads": {
      "Plain": "Office Laser",
      "Expandable": {"type": "REG_EXPAND_SZ", "data": "%SystemRoot%\\Temp"},
      "Media": {"type": "REG_MULTI_SZ", "data": ["Letter", "A4"]},
      "Empty": "",
      "Count": {"type": "REG_DWORD", "data": 65}
    },
    "HKEY_CURRENT_USER\\Software\\TessalyContract\\Reads": {"User": "mine"}
  }
})";

TEST_F(Contract, StringsReadRawWithTheirTerminatorAndMissingOnesReadAsEmpty) {
  machine().Seed(kValues);
  SystemAccess sys(this->sys());
  const wchar_t* key = L"SOFTWARE\\TessalyContract\\Reads";
  EXPECT_EQ(ReadMachineRegistryString(sys, L"SOFTWARE\\TessalyContract\\NoSuchKey", L"Plain"), L"");
  EXPECT_EQ(ReadMachineRegistryString(sys, key, L"NoSuchValue"), L"");
  EXPECT_EQ(ReadMachineRegistryString(sys, key, L"Plain"), std::wstring(L"Office Laser") + L'\0');
  EXPECT_EQ(ReadRegistryString(sys, os::RootKey::CurrentUser, L"Software\\TessalyContract\\Reads", L"User"),
            std::wstring(L"mine") + L'\0');
  // Key and value names ignore case.
  EXPECT_EQ(ReadMachineRegistryString(sys, L"software\\tessalycontract\\READS", L"pLaIn"),
            std::wstring(L"Office Laser") + L'\0');
  // An expandable string is not expanded by a plain read.
  EXPECT_EQ(ReadMachineRegistryString(sys, key, L"Expandable"), std::wstring(L"%SystemRoot%\\Temp") + L'\0');
  // A multi-string is its whole block: each string ended by a NUL, then an empty one.
  EXPECT_EQ(ReadMachineRegistryString(sys, key, L"Media"), std::wstring(L"Letter\0A4\0\0", 11));
  // An empty string is one NUL: not empty by length, empty as text.
  EXPECT_EQ(ReadMachineRegistryString(sys, key, L"Empty"), std::wstring(1, L'\0'));
  // A DWORD is its four bytes read as two characters.
  EXPECT_EQ(ReadMachineRegistryString(sys, key, L"Count"), std::wstring(L"A\0", 2));
}

TEST_F(Contract, CurrentControlSetIsTheActiveControlSet) {
  SKIP_ON_WINE("CurrentControlSet is a key of its own there, not a link to ControlSet001 (which does not exist)");
  machine().Seed(R"({"registry": {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\TessalyContract": {"Linked": "yes"}}})");
  auto key = sys().registry.OpenKey(os::RootKey::LocalMachine, L"SYSTEM\\Select", os::regaccess::kRead);
  ASSERT_TRUE(key.ok()) << key.status;
  const auto read = key.value->QueryValue(L"Current");
  ASSERT_EQ(read.status, os::error::kSuccess);
  const os::RegistryValue& current = read.value;
  ASSERT_EQ(current.data.size(), 4u);
  wchar_t number[8];
  std::swprintf(number, 8, L"%03u", unsigned(current.data[0]));
  const std::wstring set = std::wstring(L"SYSTEM\\ControlSet") + number + L"\\Control\\TessalyContract";
  SystemAccess sys(this->sys());
  EXPECT_EQ(ReadMachineRegistryString(sys, set, L"Linked"), std::wstring(L"yes") + L'\0');
}

TEST_F(Contract, EnumerationStopsAtANameLongerThanTheBuffer) {
  machine().Seed(R"({"registry": {"HKEY_CURRENT_USER\\Software\\TessalyContract\\Enum": {"b": "1"},
                                   "HKEY_CURRENT_USER\\Software\\TessalyContract\\Enum\\Zed": {},
                                   "HKEY_CURRENT_USER\\Software\\TessalyContract\\Enum\\alpha": {}}})");
  auto key = sys().registry.OpenKey(os::RootKey::CurrentUser, L"Software\\TessalyContract\\Enum", os::regaccess::kRead);
  ASSERT_TRUE(key.ok());
  // Sub-keys are listed by name, ignoring case.
  ASSERT_EQ(Listed(key.value->EnumKey(0, 260)), L"alpha");
  ASSERT_EQ(Listed(key.value->EnumKey(1, 260)), L"Zed");
  EXPECT_EQ(key.value->EnumKey(2, 260).status, os::error::kNoMoreItems);
  // A name that needs more than the buffer (terminator included) is refused.
  EXPECT_EQ(key.value->EnumKey(1, 3).status, os::error::kMoreData);
  EXPECT_EQ(key.value->EnumValue(0, 1).status, os::error::kMoreData);
}

TEST_F(Contract, ValuesEnumerateInTheOrderTheyWereWritten) {
  SKIP_ON_WINE("the registry keeps a key's values sorted by name");
  machine().Seed(R"({"registry": {"HKEY_CURRENT_USER\\Software\\TessalyContract\\Order": {"b": "1", "a": "2"}}})");
  auto key = sys().registry.OpenKey(os::RootKey::CurrentUser, L"Software\\TessalyContract\\Order", os::regaccess::kRead);
  ASSERT_TRUE(key.ok());
  ASSERT_EQ(Listed(key.value->EnumValue(0, 260)), L"b");
  ASSERT_EQ(Listed(key.value->EnumValue(1, 260)), L"a");
  EXPECT_EQ(key.value->EnumValue(2, 260).status, os::error::kNoMoreItems);
}

}  // namespace
}  // namespace contract
