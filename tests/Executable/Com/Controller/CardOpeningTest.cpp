// Opening a card clears only the files that no record the window shows as
// assigned refers to.

#include "Executable/Com/Controller/CController.h"

#include "Support/CardFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>

using VQ7Test::CCardBench;

namespace {

std::string SlotName(std::size_t slot) {
  char name[16];
  std::snprintf(name, sizeof name, "/SMP%04X", static_cast<unsigned>(slot));
  return name;
}

}  // namespace

TEST(CardOpeningTest, FilesOfEveryAssignedRecordSurviveOpening) {
  struct {
    uint32_t length;
    bool stereo;
    bool assigned;  // both channel files stay when stereo, the L file alone when not
  } const cases[] = {
      {0x80000000u, true, true}, {0xFFFFFFFEu, false, true}, {0x90000000u, true, true},
      {16, false, true},         {16, true, true},           {0, true, false},
  };
  CCardBench bench;
  std::string info(128 * 23, '\0');
  for (std::size_t pad = 0; pad < std::size(cases); ++pad) {
    char* record = &info[pad * 23];
    for (int i = 0; i < 4; ++i)
      record[8 + i] = static_cast<char>(cases[pad].length >> (24 - 8 * i));
    record[13] = cases[pad].stereo;
    for (char const* side : {"L", "R"})
      Support::WriteBytes(bench.Folder() + SlotName(pad) + side + ".VQD", "coded");
  }
  Support::WriteBytes(bench.Info(), info);
  ASSERT_TRUE(bench.Open(0, 0));
  for (std::size_t pad = 0; pad < std::size(cases); ++pad) {
    std::string const name = bench.Folder() + SlotName(pad);
    bool const assigned = cases[pad].assigned;
    EXPECT_EQ(assigned, bench.Controller().IsPadValid(static_cast<long>(pad))) << pad;
    EXPECT_EQ(assigned, Support::Exists(name + "L.VQD")) << pad;
    EXPECT_EQ(assigned && cases[pad].stereo, Support::Exists(name + "R.VQD")) << pad;
  }
  EXPECT_EQ(info, Support::ReadBytes(bench.Info()));
}
