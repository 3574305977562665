#include "SL/Com/Buffer/CLocatableBuffer.h"

#include <gtest/gtest.h>

TEST(LocatableBuffer, ShiftingTheLocationKeepsIndicesAndZeroFillsGrowth) {
  SL::CLocatableBuffer<double> buffer;
  EXPECT_EQ(buffer.Begin(), nullptr);
  EXPECT_EQ(buffer.End(), nullptr);
  buffer.SetLocation(GT::CRange<long>(0, 4));
  for (long f = 0; f < 4; ++f) *buffer.At(f) = f + 1.0;
  buffer.SetLocation(GT::CRange<long>(2, 8));
  ASSERT_EQ(buffer.GetSize(), 6);
  EXPECT_EQ(std::vector<double>(buffer.Begin(), buffer.End()),
            (std::vector<double>{1, 2, 3, 4, 0, 0}));
  EXPECT_EQ(buffer.GetLocation().begin, 2);
  EXPECT_EQ(buffer.GetLocation().end, 8);
  EXPECT_EQ(*buffer.At(2), 1.0) << "frame 2 is now the first element";
  buffer.SetLocation(GT::CRange<long>(5, 6));
  EXPECT_EQ(std::vector<double>(buffer.Begin(), buffer.End()), (std::vector<double>{1}));
  buffer.SetLocation(GT::CRange<long>(9, 3));
  EXPECT_EQ(buffer.GetSize(), 0) << "a reversed range holds nothing";
}

TEST(LocatableBuffer, CreatesCopiesAndSwaps) {
  SL::CLocatableBuffer<double> buffer;
  double const data[] = {0.5, -0.25, 1.0};
  boost::shared_ptr<SL::ILocatableBuffer<double> > made =
      buffer.Create(data, GT::CRange<long>(10, 13));
  ASSERT_EQ(made->GetSize(), 3);
  EXPECT_EQ(*made->At(11), -0.25);
  boost::shared_ptr<SL::ILocatableBuffer<double> > zeros = buffer.Create(GT::CRange<long>(-2, 0));
  EXPECT_EQ(zeros->GetSize(), 2);
  EXPECT_EQ(*zeros->At(-2), 0.0);
  buffer.PolymorphicSwap(*made);
  EXPECT_EQ(buffer.GetLocation().begin, 10);
  EXPECT_EQ(buffer.GetSize(), 3);
  EXPECT_EQ(made->GetSize(), 0);
}
