#include "GT/Linux/CIniProfile.h"

#include "Support/PrivateMount.h"
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

TEST_F(IniProfile, WriteToAFullVolumeFailsAndTheOldValueStays) {
  std::string const volume = mDir.Path() + "/volume";
  ASSERT_EQ(0, ::mkdir(volume.c_str(), 0700));
  auto const result = Support::RunWithPrivateTmpfs(volume, "size=64k", [&]() -> std::string {
    Support::CScopedEnv const home("XDG_CONFIG_HOME", volume);
    GT::CIniProfile profile;
    if (!profile.Write("Preference/VolumeName", std::string("OLD")))
      return "the first write failed";
    std::ofstream filler(volume + "/filler", std::ios::binary);
    std::string const page(4096, 'f');
    while (filler.write(page.data(), static_cast<std::streamsize>(page.size())).flush()) {
    }
    std::string failure;
    if (profile.Write("Preference/VolumeName", std::string("NEW")) || profile.Write("Bank", 3L))
      failure += "a write to a full volume reported success; ";
    if (GT::CIniProfile().Read("Preference/VolumeName", std::string()) != "OLD" ||
        GT::CIniProfile().Read("Bank", -1L) != -1)
      failure += "the process reads what the file does not hold; ";
    if (FileText().find("OLD") == std::string::npos) failure += "the file lost the old value; ";
    return failure;
  });
  if (!result.available) GTEST_SKIP() << "private mount namespaces are not permitted here";
  EXPECT_EQ("", result.failure);
}

}  // namespace
