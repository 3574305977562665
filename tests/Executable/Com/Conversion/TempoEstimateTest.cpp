#include "Executable/Com/Conversion/TempoEstimate.h"

#include <gtest/gtest.h>

namespace {

using VQ7::Tempo::PRM_CalcCenterBPM;

TEST(TempoEstimate, DefaultCentreTable) {
  struct {
    uint32_t frames;
    uint32_t bpm;
  } const rows[] = {
      {3087, 1071},    {5000, 1323},     {22050, 1200}, {44100, 1200},  {66150, 800},
      {88200, 1200},   {100000, 1058},   {132300, 800}, {176400, 1200}, {1000000, 1270},
      {3000000, 1199}, {10000000, 1206}, {689, 1200},   {1, 826875},    {0, 1020},
  };
  for (auto const& row : rows)
    EXPECT_EQ(row.bpm, PRM_CalcCenterBPM(row.frames, 0)) << row.frames << " frames";
}

TEST(TempoEstimate, ExplicitCentreUsesFourBeatSteps) {
  EXPECT_EQ(1199u, PRM_CalcCenterBPM(3000000, 1200));
  EXPECT_EQ(1058u, PRM_CalcCenterBPM(100000, 800));
  EXPECT_EQ(1517u, PRM_CalcCenterBPM(3000000, 1500));
}

}  // namespace
