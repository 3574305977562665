#include "SL/Com/Buffer/CLinearSampleIncrementer.h"
#include "SL/Com/Buffer/CSampleIncrementer.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// The initial offset, then the steps of two frames and a half.
template <int B>
std::vector<long> Walk(SL::ISampleIncrementer<B>& incrementer, std::size_t steps) {
  std::vector<long> walk{incrementer.IncrementInitial()};
  for (std::size_t k = 0; k < steps; ++k) walk.push_back(incrementer.Increment());
  return walk;
}

TEST(CSampleIncrementer, StepsThroughTheListedChannelsOfEveryFrame) {
  struct Case {
    int channels;
    std::vector<int> list;
    std::vector<long> walk;  // 2-byte samples
  };
  Case const cases[] = {
      {4, {1, 3}, {2, 4, 4, 4, 4, 4}},       // channels 1 and 3 of 8-byte frames
      {3, {2, 0}, {4, -4, 10, -4, 10, -4}},  // backwards inside the frame
      {2, {0, 0}, {0, 0, 4, 0, 4, 0}},       // channel 0 twice a frame
      {2, {1}, {2, 4, 4, 4, 4, 4}},         {1, {0}, {0, 2, 2, 2, 2, 2}},
      {3, {0, 1, 2}, {0, 2, 2, 2, 2, 2}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.channels << " channels, list of " << c.list.size() << " from " << c.list[0]);
    SL::CSampleIncrementer<2> incrementer(c.channels, c.list);
    EXPECT_EQ(c.walk, Walk(incrementer, c.walk.size() - 1));
  }
  // Other sample widths scale every step.
  SL::CSampleIncrementer<3> wide(3, {2, 0});
  EXPECT_EQ((std::vector<long>{6, -6, 15, -6}), Walk(wide, 3));
  SL::CLinearSampleIncrementer<3> linear;
  EXPECT_EQ((std::vector<long>{0, 3, 3, 3}), Walk(linear, 3));
}

TEST(CSampleIncrementer, ACopyContinuesInTheSamePhase) {
  SL::CSampleIncrementer<2> original(3, {2, 0});
  EXPECT_EQ(4, original.IncrementInitial());
  EXPECT_EQ(-4, original.Increment());
  std::unique_ptr<SL::CSampleIncrementer<2> > clone(original.Clone());
  EXPECT_EQ(10, clone->Increment());
  EXPECT_EQ(-4, clone->Increment());
  EXPECT_EQ(10, original.Increment());
}

TEST(CSampleIncrementer, RefusesListsItCannotStepThrough) {
  EXPECT_THROW(SL::CSampleIncrementer<2>(2, {}), std::invalid_argument);
  EXPECT_THROW(SL::CSampleIncrementer<2>(2, {0, 2}), std::invalid_argument);
  EXPECT_THROW(SL::CSampleIncrementer<2>(2, {-1}), std::invalid_argument);
}

}  // namespace
