#include <gtest/gtest.h>

#include "os/sim/SimMachine.h"

namespace os::sim {
namespace {

class SimRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_ = SimMachine::FromImage(R"({"registry": {
      "HKLM\\SOFTWARE\\NVL\\Job Properties\\Driver\\Alpha": {"Paper": "A4"},
      "HKLM\\SOFTWARE\\NVL\\Job Properties\\Driver\\Beta": {"Paper": "Letter"}}})");
  }
  void TearDown() override {
    if (HasFailure()) std::cerr << machine_->Dump();
  }
  bool Exists(const wchar_t* path) { return machine_->registry().KeyExists(path); }
  Registry& registry() { return machine_->registry(); }

  std::unique_ptr<SimMachine> machine_;
};

TEST_F(SimRegistryTest, ALinkChainThatLoopsNamesNoKeyAndALongChainEndsAtTheLimit) {
  auto& model = machine_->registry();
  model.Link(L"HKLM\\SOFTWARE\\Loop\\A", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Loop\\B");
  model.Link(L"HKLM\\SOFTWARE\\Loop\\B", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Loop\\A");
  EXPECT_EQ(registry().OpenKey(RootKey::LocalMachine, L"SOFTWARE\\Loop\\A\\Below", regaccess::kRead).status,
            error::kFileNotFound);
  EXPECT_EQ(registry().DeleteTree(RootKey::LocalMachine, L"SOFTWARE\\Loop\\B"), error::kFileNotFound);

  // A chain as long as the limit still arrives; one more link does not.
  model.CreateKey(L"HKLM\\SOFTWARE\\Chain\\End");
  std::wstring target = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Chain\\End";
  for (int i = 0; i <= SimRegistry::kMaxLinkHops; ++i) {
    const std::wstring link = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Chain\\L" + std::to_wstring(i);
    model.Link(link, target);
    target = link;
  }
  const std::wstring last = L"SOFTWARE\\Chain\\L" + std::to_wstring(SimRegistry::kMaxLinkHops - 1);
  EXPECT_TRUE(registry().OpenKey(RootKey::LocalMachine, last, regaccess::kRead).ok());
  const std::wstring beyond = L"SOFTWARE\\Chain\\L" + std::to_wstring(SimRegistry::kMaxLinkHops);
  EXPECT_EQ(registry().OpenKey(RootKey::LocalMachine, beyond, regaccess::kRead).status, error::kFileNotFound);
}

TEST_F(SimRegistryTest, ATrailingSeparatorNamesTheKeyItself) {
  // This is why an empty name must never be inserted into "...\Driver\%s".
  EXPECT_EQ(registry().DeleteTree(RootKey::LocalMachine, L"SOFTWARE\\NVL\\Job Properties\\Driver\\Alpha\\"),
            error::kSuccess);
  EXPECT_FALSE(Exists(L"HKLM\\SOFTWARE\\NVL\\Job Properties\\Driver\\Alpha"));
  EXPECT_TRUE(Exists(L"HKLM\\SOFTWARE\\NVL\\Job Properties\\Driver\\Beta"));
}

// CurrentControlSet as a link is proved by the contract suite.
TEST_F(SimRegistryTest, CurrentUserIsTheUsersHive) {
  machine_->registry().SetString(L"HKCU\\Printers\\Settings", L"Office", L"x");
  const std::wstring userKey = L"HKEY_USERS\\" + machine_->registry().userSid() + L"\\Printers\\Settings";
  EXPECT_TRUE(machine_->registry().GetValue(userKey, L"Office"));
}

}  // namespace
}  // namespace os::sim
