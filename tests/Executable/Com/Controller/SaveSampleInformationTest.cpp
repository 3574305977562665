// The information file as import and delete stage it: the model's records,
// read back as the same card; a model that does not fit the file, or a path
// that cannot be written, fails and leaves what was there.

#include "Executable/Com/Controller/CController.h"

#include "Support/CardFixture.h"

#include <gtest/gtest.h>

TEST(SaveSampleInformationTest, WritesTheRecordsOrFailsLeavingTheFile) {
  VQ7Test::CCardBench bench;
  ASSERT_TRUE(bench.Open(0, 0));
  VQ7::CController& controller = bench.Controller();
  VQ7::CModel model;  // every other record at its defaults
  VQ7::CSampleParameter& last = model.SampleParameter(7, 15);
  last.mLength = 0x01020304;
  last.mStereo = true;
  last.mTempo2 = 0x0506;
  std::string const staged = bench.mDir / "staged";
  ASSERT_TRUE(controller.SaveSampleInformation(model, staged));
  std::string expected(128 * 23, '\0');
  expected.replace(127 * 23 + 8, 4, "\x01\x02\x03\x04");
  expected[127 * 23 + 13] = 1;
  expected.replace(127 * 23 + 17, 6, std::string("\x7F\x03\xFC\x00\x05\x06", 6));
  for (int slot = 0; slot < 127; ++slot) {
    expected[slot * 23 + 17] = 127;  // the defaults: field 8 and both tempos
    expected.replace(slot * 23 + 18, 2, "\x03\xFC");
    expected.replace(slot * 23 + 21, 2, "\x03\xFC");
  }
  EXPECT_TRUE(expected == Support::ReadBytes(staged));

  // Read back as a card, it is the model.
  Support::WriteBytes(bench.Info(), Support::ReadBytes(staged));
  ASSERT_TRUE(controller.SelectCurrentVolume(bench.mVolume, 7));
  EXPECT_EQ(0x01020304, controller.Model().SampleParameter(7, 15).mLength);
  EXPECT_TRUE(controller.Model().SampleParameter(7, 15).mStereo);
  EXPECT_EQ(0x0506, controller.Model().SampleParameter(7, 15).mTempo2);

  struct {
    char const* name;
    int32_t field8;
    std::string path;
  } const failures[] = {{"a field of all ones", 255, staged},
                        {"no such folder", 127, bench.mDir / "none/staged"}};
  for (auto const& f : failures) {
    last.mField8 = f.field8;
    EXPECT_FALSE(controller.SaveSampleInformation(model, f.path)) << f.name;
  }
  EXPECT_TRUE(expected == Support::ReadBytes(staged));
  EXPECT_FALSE(Support::Exists(bench.mDir / "none"));
}
