#include "GT/Linux/CIniProfile.h"

#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

class IniProfile : public ::testing::Test {
protected:
  Support::CPrivateTempDir mDir;
  Support::CScopedEnv mEnv{"XDG_CONFIG_HOME", mDir.Path()};

  // Without a private folder the real preferences would be written.
  void SetUp() override {
    ASSERT_FALSE(mDir.Path().empty());
    ASSERT_EQ('/', mDir.Path()[0]);
  }

  std::string FileText() const {
    std::ifstream in(GT::CIniProfile::FilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

TEST_F(IniProfile, StringsAndLongsRoundTripAndStayApart) {
  GT::CIniProfile profile;
  profile.Write("Preference/VolumeName", std::string("abc"));
  profile.Write("Preference/BankId", -5L);
  profile.Write("Text", std::string("12"));
  profile.Write("Number", 12L);
  profile.Write("Bytes", std::string("a\0=b,c\n\"@\xff", 10));
  profile.Write("Empty", std::string());

  GT::CIniProfile second;  // a new object sees what the first wrote
  EXPECT_EQ("abc", second.Read("Preference/VolumeName", std::string("d")));
  EXPECT_EQ(-5L, second.Read("Preference/BankId", 0L));
  EXPECT_EQ(std::string("a\0=b,c\n\"@\xff", 10), second.Read("Bytes", std::string()));
  EXPECT_EQ("", second.Read("Empty", std::string("d")));
  // Each kind reads back only as itself.
  EXPECT_EQ(7L, second.Read("Text", 7L));
  EXPECT_EQ("d", second.Read("Number", std::string("d")));
  EXPECT_EQ("d", second.Read("Preference/BankId", std::string("d")));

  profile.Write("Preference/BankId", 2147483647L);
  EXPECT_EQ(2147483647L, second.Read("Preference/BankId", 0L));
  profile.Write("Preference/BankId", -2147483647L - 1);
  EXPECT_EQ(-2147483647L - 1, second.Read("Preference/BankId", 0L));
}

TEST_F(IniProfile, ValuesBeyondTheStoreLimitsAreRefused) {
  GT::CIniProfile profile;
  profile.Write("Long", std::string(300, 'x'));
  EXPECT_EQ("d", profile.Read("Long", std::string("d")));
  profile.Write("Edge", std::string(255, 'y'));
  EXPECT_EQ(std::string(255, 'y'), profile.Read("Edge", std::string("d")));

  profile.Write("Wide", 9L);
  profile.Write("Wide", 0x100000000L);  // does not fit 32 bits: nothing written
  EXPECT_EQ(9L, profile.Read("Wide", 0L));

  profile.Write("", std::string("x"));
  profile.Write(std::string("bad\xff"), 1L);  // not convertible: dropped
  EXPECT_EQ(0L, profile.Read(std::string("bad\xff"), 0L));
}

TEST_F(IniProfile, HandEditedOrOutOfRangeNumbersGiveTheDefault) {
  GT::CIniProfile profile;
  profile.Write("Seed", 1L);
  {
    std::ofstream out(GT::CIniProfile::FilePath(), std::ios::binary | std::ios::trunc);
    out << "[General]\nBig=4294967296\nHex=0x10\nSpace= 5x\nOk=17\n";
  }
  EXPECT_EQ(-1L, profile.Read("Big", -1L));
  EXPECT_EQ(-1L, profile.Read("Hex", -1L));
  EXPECT_EQ(-1L, profile.Read("Space", -1L));
  EXPECT_EQ(17L, profile.Read("Ok", -1L));
}

TEST_F(IniProfile, CorruptFileGivesDefaultsAndIsRepairedByTheNextWrite) {
  GT::CIniProfile profile;
  profile.Write("Preference/BankId", 4L);
  {
    std::ofstream out(GT::CIniProfile::FilePath(), std::ios::binary | std::ios::trunc);
    out << std::string("\0\xff\xfe[[[=\n\x01\x02garbage@Variant(\0\0", 28);
  }
  EXPECT_EQ(0L, profile.Read("Preference/BankId", 0L));
  EXPECT_EQ("d", profile.Read("Preference/VolumeName", std::string("d")));

  profile.Write("Preference/VolumeName", std::string("CARD"));
  profile.Write("Preference/BankId", 6L);
  GT::CIniProfile fresh;
  EXPECT_EQ("CARD", fresh.Read("Preference/VolumeName", std::string("d")));
  EXPECT_EQ(6L, fresh.Read("Preference/BankId", 0L));
  EXPECT_NE(std::string::npos, FileText().find("BankId=6"));
}

}  // namespace
