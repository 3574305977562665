// The domain root: preferences restored and saved, messages to the user.

#include "Executable/Com/Controller/CDomain.h"

#include "Executable/Com/Controller/CModel.h"
#include "Executable/Com/Controller/CPlayer.h"
#include "GT/Linux/CIniProfile.h"
#include "Support/CardFixture.h"
#include "UL/Com/Dialog/ATextDialog.h"

#include <gtest/gtest.h>

#include <thread>

TEST(CDomainTest, PreferencesRestoredAndSaved) {
  struct {
    char const *ring, *device;
    long loads, bank, expectedBank;
    char const* savedRing;
    double expectedDevice;
  } const cases[] = {
      {nullptr, nullptr, 0, 0, 0, "0.600000000000000", 0.06},  // no preferences at all
      {"0.2", "0.3", 0, 3, 3, "0.600000000000000", 0.06},      // times not loaded
      {"letters", "0.25", 1, 42, 7, "0.600000000000000", 0.25},
      {"1e300", "-1", 2, -5, 0, "10.000000000000000", 0.06},  // bounded
  };
  for (auto const& c : cases) {
    Support::CPrivateTempDir dir;
    Support::CScopedEnv config("XDG_CONFIG_HOME", dir.Path());
    GT::CIniProfile profile;
    if (c.ring) {
      profile.Write("Preference/RingBufferTime", std::string(c.ring));
      profile.Write("Preference/DeviceBufferTime", std::string(c.device));
      profile.Write("Preference/LoadsBufferTime", c.loads);
      profile.Write("Preference/BankId", c.bank);
    }
    VQ7Test::CTestDomain domain;
    domain.Initialize(domain);
    EXPECT_EQ(c.expectedBank, domain.GetModel()->mBank) << c.bank;
    EXPECT_EQ(c.expectedDevice, domain.Player().GetDeviceBufferTime()) << c.device;
    domain.Finalize();
    EXPECT_EQ(c.savedRing, profile.Read("Preference/RingBufferTime", std::string())) << c.ring;
    EXPECT_EQ(c.expectedBank, profile.Read("Preference/BankId", -9L));
  }
}

namespace {

std::vector<std::string> gAlerts;

struct CAlerts : UL::ATextDialog {
  using UL::ATextDialog::Ask;
  EAnswer Ask(EType type, EIcon icon, std::string const& text) override {
    gAlerts.push_back(type == Ok && icon == Caution ? text : "another alert");
    return AnswerOk;
  }
};
struct CAlertingDomain : VQ7Test::CTestDomain {
  boost::shared_ptr<UL::ITextDialog> CreateTextDialog() override {
    return boost::make_shared<CAlerts>();
  }
};

}  // namespace

TEST(CDomainTest, LoggedLinesBecomeAlertsOnTheUserInterfaceThreadOnly) {
  Support::CPrivateTempDir dir;
  Support::CScopedEnv config("XDG_CONFIG_HOME", dir.Path());
  CAlertingDomain().Finalize();  // a domain never started finishes safely
  CAlertingDomain domain;
  domain.Initialize(domain);
  VQ7::CDomain::sTextCodeTable.SetPage(GT::CTextCodeTable::PageEnglish);
  VQ7::CDomain::HandleError(VQ7::CardFull);  // before the printer: shown to nobody
  domain.SetupLogger();
  VQ7::CDomain::HandleError(VQ7::CardFull);
  std::thread([] { VQ7::CDomain::HandleError(VQ7::DiskFull); }).join();  // to stderr
  domain.Finalize();
  domain.Finalize();
  VQ7::CDomain::HandleError(VQ7::DeleteFailed);  // the printer is gone again
  EXPECT_EQ(std::vector<std::string>{"Insufficient space on the save-destination memory card."},
            gAlerts);
}
