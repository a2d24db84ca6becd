#include <gtest/gtest.h>

#include "os/sim/SimMachine.h"

namespace os::sim {
namespace {

constexpr const char* kOffice = R"({"base": "workstation", "spooler": {
  "drivers": [{"name": "Laser"}, {"name": "Ink"}], "printers": [{"name": "Office", "driver": "Ink"}]}})";

class SimSpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override { m_ = SimMachine::FromImage(kOffice); }
  void TearDown() override {
    if (HasFailure()) std::cerr << m_->Dump();
  }
  Spooler& spooler() { return m_->spooler(); }
  std::unique_ptr<SimMachine> m_;
};

TEST_F(SimSpoolerTest, WhileTheSpoolerIsStoppedNothingAnswersAndARestartRereadsTheRegistry) {
  auto scm = m_->services().OpenManager(svc::kManagerAllAccess);
  auto service = scm.value->Open(L"Spooler", svc::kServiceAllAccess);
  ASSERT_EQ(service.value->Control(svc::kControlStop), error::kSuccess);
  m_->clock().Sleep(1000);
  EXPECT_EQ(spooler().Printers(spool::kEnumLocal).status, error::kRpcServerUnavailable);
  EXPECT_EQ(spooler().DeleteDriver(L"Windows x64", L"Laser", 0, 3), error::kRpcServerUnavailable);
  // A sweep removed the driver's and the printer's keys behind the spooler's back.
  m_->registry().RemoveKey(
      L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser");
  m_->registry().RemoveKey(L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office");
  ASSERT_EQ(service.value->Start(), error::kSuccess);
  m_->clock().Sleep(1000);
  ASSERT_TRUE(spooler().Drivers(L"Windows x64").ok());
  EXPECT_EQ(spooler().Drivers(L"Windows x64").value.size(), 1u);
  EXPECT_TRUE(spooler().Printers(spool::kEnumLocal).value.empty());
}

}  // namespace
}  // namespace os::sim
