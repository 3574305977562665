// The domain root: preferences restored and saved, messages to the user.

#include "Executable/Com/Controller/CDomain.h"

#include "Executable/Com/Controller/CModel.h"
#include "Executable/Com/Controller/CPlayer.h"
#include "GT/Com/Text/StringTools.h"
#include "GT/Linux/CIniProfile.h"
#include "Support/CardFixture.h"
#include "Support/PrivateTempDir.h"
#include "UL/Com/Dialog/ATextDialog.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class CAlerts : public UL::ATextDialog {
public:
  explicit CAlerts(std::vector<std::string>& lines) : mLines(lines) {}
  using UL::ATextDialog::Ask;
  EAnswer Ask(EType type, EIcon icon, std::string const& text) override {
    EXPECT_EQ(Ok, type);
    EXPECT_EQ(Caution, icon);
    mLines.push_back(text);
    return AnswerOk;
  }
  std::vector<std::string>& mLines;
};

class CAlertingDomain : public VQ7Test::CTestDomain {
public:
  boost::shared_ptr<UL::ITextDialog> CreateTextDialog() override {
    return boost::make_shared<CAlerts>(mAlerts);
  }
  std::vector<std::string> mAlerts;
};

struct CPreferences {
  char const* name;
  std::vector<std::pair<char const*, std::string> > strings;
  std::vector<std::pair<char const*, long> > longs;
  long bank;
  double ring, device;
};

}  // namespace

TEST(CDomainTest, PreferencesRestoredAndSaved) {
  CPreferences const cases[] = {
      {"none", {}, {}, 0, 0.6, 0.06},
      {"times not loaded",
       {{"Preference/RingBufferTime", "0.2"}},
       {{"Preference/BankId", 3}},
       3,
       0.6,
       0.06},
      {"letters",
       {{"Preference/RingBufferTime", "abc"}, {"Preference/DeviceBufferTime", "0.25"}},
       {{"Preference/LoadsBufferTime", 1}, {"Preference/BankId", 42}},
       7,
       0.6,
       0.25},
      {"bounded",
       {{"Preference/RingBufferTime", "1e300"}, {"Preference/DeviceBufferTime", "-1"}},
       {{"Preference/LoadsBufferTime", 2}, {"Preference/BankId", -5}},
       0,
       10.0,
       0.06},
  };
  for (CPreferences const& c : cases) {
    Support::CPrivateTempDir dir;
    Support::CScopedEnv config("XDG_CONFIG_HOME", dir.Path());
    GT::CIniProfile profile;
    profile.Write("Preference/VolumeName", std::string("/media/u/CARD"));
    for (auto const& s : c.strings) profile.Write(s.first, s.second);
    for (auto const& l : c.longs) profile.Write(l.first, l.second);
    VQ7Test::CTestDomain domain;
    VQ7Test::CNoBitmaps bitmaps;
    domain.Initialize(bitmaps);
    EXPECT_EQ("/media/u/CARD", domain.GetModel()->mVolume) << c.name;
    EXPECT_EQ(c.bank, domain.GetModel()->mBank) << c.name;
    EXPECT_EQ(-1, domain.GetModel()->mPad) << c.name;
    EXPECT_EQ(c.ring, domain.Player().GetRingBufferTime()) << c.name;
    EXPECT_EQ(c.device, domain.Player().GetDeviceBufferTime()) << c.name;
    domain.Finalize();
    EXPECT_EQ(GT::ToString(c.ring, GT::StringFormatDecimal, 15, GT::TruncateZeroNone),
              profile.Read("Preference/RingBufferTime", std::string()))
        << c.name;
    EXPECT_EQ(c.bank, profile.Read("Preference/BankId", -9L)) << c.name;
  }
  Support::CPrivateTempDir dir;
  Support::CScopedEnv config("XDG_CONFIG_HOME", dir.Path());
  VQ7Test::CTestDomain domain;
  VQ7Test::CNoBitmaps bitmaps;
  domain.Initialize(bitmaps);
  domain.Finalize();
  EXPECT_EQ("0.600000000000000",
            GT::CIniProfile().Read("Preference/RingBufferTime", std::string()));
  EXPECT_EQ("0.060000000000000",
            GT::CIniProfile().Read("Preference/DeviceBufferTime", std::string()));
}

TEST(CDomainTest, LoggedLinesBecomeAlertsOnTheUserInterfaceThreadOnly) {
  Support::CPrivateTempDir dir;
  Support::CScopedEnv config("XDG_CONFIG_HOME", dir.Path());
  {
    CAlertingDomain unstarted;
    unstarted.Finalize();  // nothing to save, nothing to pop
    unstarted.Finalize();
  }
  CAlertingDomain domain;
  VQ7Test::CNoBitmaps bitmaps;
  domain.Initialize(bitmaps);
  VQ7::CDomain::sTextCodeTable.SetPage(GT::CTextCodeTable::PageEnglish);
  VQ7::CDomain::HandleError(VQ7::CardFull);  // before the printer: shown to nobody
  domain.SetupLogger();
  VQ7::CDomain::HandleError(VQ7::CardFull);
  std::thread([] { VQ7::CDomain::HandleError(VQ7::DiskFull); }).join();
  domain.Finalize();
  VQ7::CDomain::HandleError(VQ7::DeleteFailed);  // the printer is gone again
  EXPECT_EQ(std::vector<std::string>{"Insufficient space on the save-destination memory card."},
            domain.mAlerts);
}
