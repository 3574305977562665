// The domain root: preferences restored and saved, messages to the user.

#include "Executable/Com/Controller/CDomain.h"

#include "Executable/Com/Card/CModel.h"
#include "Executable/Com/Playback/CPlayer.h"
#include "GT/Linux/CIniProfile.h"
#include "Support/CardFixture.h"

#include <gtest/gtest.h>

#include <thread>

TEST(CDomainTest, PreferencesRestoredAndSaved) {
  struct {
    std::string ring, device;  // "" for none
    long loads, bank, expectedBank;
    double expectedDevice;
    char const* savedRing;
  } const cases[] = {{"", "", 0, 0, 0, 0.06, "0.600000000000000"},
                     {"0.2", "0.3", 0, 3, 3, 0.06, "0.600000000000000"},  // not loaded
                     {"letters", "0.25", 1, 42, 7, 0.25, "0.600000000000000"},
                     {"1e300", "-1", 2, -5, 0, 0.06, "10.000000000000000"}};  // bounded
  for (auto const& c : cases) {
    Support::CPrivateTempDir dir;
    Support::CScopedEnv config("XDG_CONFIG_HOME", dir.Path());
    GT::CIniProfile profile;
    if (!c.ring.empty()) {
      profile.Write("Preference/RingBufferTime", c.ring);
      profile.Write("Preference/DeviceBufferTime", c.device);
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

TEST(CDomainTest, LoggedLinesBecomeAlertsOnTheUserInterfaceThreadOnly) {
  Support::CPrivateTempDir dir;
  Support::CScopedEnv config("XDG_CONFIG_HOME", dir.Path());
  VQ7Test::CTestDomain().Finalize();  // a domain never started finishes safely
  VQ7Test::CTestDomain domain;
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
            domain.mAlerts);
}
