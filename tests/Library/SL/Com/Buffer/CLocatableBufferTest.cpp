#include "SL/Com/Buffer/CLocatableBuffer.h"

#include <gtest/gtest.h>

#include <typeinfo>
#include <vector>

namespace {

typedef SL::CLocatableBuffer<double> CBuffer;

// A range that does not lie on the frame axis where the data is: the data
// keeps its index, and a range of other length cuts or pads at the end.
TEST(CLocatableBuffer, MovingTheLocationKeepsTheDataInPlace) {
  double const values[] = {1.5, -2.5, 3.5, -4.5};
  CBuffer buffer(values, GT::CRange<long>(0, 4));
  buffer.SetLocation(GT::CRange<long>(2, 8));
  EXPECT_EQ((std::vector<double>{1.5, -2.5, 3.5, -4.5, 0.0, 0.0}),
            static_cast<std::vector<double> const&>(buffer));
  EXPECT_EQ(2, buffer.GetLocation().begin);
  EXPECT_EQ(8, buffer.GetLocation().end);
  EXPECT_EQ(6, buffer.GetSize());
  EXPECT_EQ(buffer.Begin() + 2, buffer.At(4));
  EXPECT_EQ(3.5, *buffer.At(4));
  EXPECT_EQ(buffer.Begin() + 6, buffer.End());
  buffer.SetLocation(GT::CRange<long>(-1, 1));
  EXPECT_EQ((std::vector<double>{1.5, -2.5}), static_cast<std::vector<double> const&>(buffer));
  EXPECT_EQ(-2.5, *buffer.At(0));
  buffer.SetLocation(GT::CRange<long>(5, 3));  // reversed: nothing
  EXPECT_EQ(0, buffer.GetSize());
  EXPECT_EQ(nullptr, buffer.Begin());
  EXPECT_EQ(nullptr, static_cast<CBuffer const&>(buffer).End());
}

TEST(CLocatableBuffer, CreatesBuffersAndSwapsWithItsOwnKind) {
  CBuffer const prototype;
  EXPECT_EQ(0, prototype.GetLocation().begin);
  boost::shared_ptr<SL::ILocatableBuffer<double> > zeros =
      prototype.Create(GT::CRange<long>(10, 13));
  EXPECT_EQ(3, zeros->GetSize());
  EXPECT_EQ(10, zeros->GetLocation().begin);
  EXPECT_EQ(0.0, *zeros->At(12));
  double const data[] = {7.0, 8.0};
  boost::shared_ptr<SL::ILocatableBuffer<double> > copy =
      prototype.Create(data, GT::CRange<long>(-2, 0));
  EXPECT_EQ(8.0, *copy->At(-1));
  EXPECT_EQ(2, prototype.Create(nullptr, GT::CRange<long>(0, 2))->GetSize());

  zeros->PolymorphicSwap(*copy);
  EXPECT_EQ(-2, zeros->GetLocation().begin);
  EXPECT_EQ(7.0, *zeros->Begin());
  EXPECT_EQ(10, copy->GetLocation().begin);
  EXPECT_EQ(3, copy->GetSize());

  struct COther : SL::ILocatableBuffer<double> {
    void SetLocation(GT::CRange<long> const&) override {}
    GT::CRange<long> GetLocation() const override { return GT::CRange<long>(0, 0); }
    void PolymorphicSwap(SL::ILocatableBuffer<double>&) override {}
    double* Begin() override { return nullptr; }
    double const* Begin() const override { return nullptr; }
    double* End() override { return nullptr; }
    double const* End() const override { return nullptr; }
    double* At(long) override { return nullptr; }
    double const* At(long) const override { return nullptr; }
    long GetSize() const override { return 0; }
    boost::shared_ptr<SL::ILocatableBuffer<double> > Create(
        GT::CRange<long> const&) const override {
      return {};
    }
    boost::shared_ptr<SL::ILocatableBuffer<double> > Create(
        double const*, GT::CRange<long> const&) const override {
      return {};
    }
  } other;
  EXPECT_THROW(zeros->PolymorphicSwap(other), std::bad_cast);
  EXPECT_EQ(2, zeros->GetSize());
}

}  // namespace
