#include "SL/Com/Buffer/CSampleIncrementer.h"

#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>
#include <memory>
#include <sstream>
#include <typeinfo>

#include "SL/Com/Stream/CInputFileSampleLocator.h"
#include "SL/Com/Buffer/CLinearSampleIncrementer.h"
#include "SL/Com/Stream/COutputFileSampleLocator.h"

namespace {

std::vector<long> Steps(SL::ISampleIncrementer<2>& incrementer, int n) {
  std::vector<long> steps;
  for (int i = 0; i < n; ++i) steps.push_back(incrementer.Increment());
  return steps;
}

TEST(SampleIncrementer, StepsOverTheListedChannels) {
  SL::CLinearSampleIncrementer<2> linear;
  EXPECT_EQ(0, linear.IncrementInitial());
  EXPECT_EQ(std::vector<long>({2, 2, 2}), Steps(linear, 3));

  SL::CSampleIncrementer<2> odd(4, {1, 3});
  EXPECT_EQ(2, odd.IncrementInitial());
  EXPECT_EQ(std::vector<long>({4, 4, 4}), Steps(odd, 3));

  SL::CSampleIncrementer<2> back(3, {2, 0});
  EXPECT_EQ(4, back.IncrementInitial());
  EXPECT_EQ(-4, back.Increment());
  std::unique_ptr<SL::CSampleIncrementer<2> > copy(back.Clone());
  EXPECT_EQ(std::vector<long>({10, -4, 10}), Steps(*copy, 3));
  EXPECT_EQ(std::vector<long>({10, -4}), Steps(back, 2));

  SL::CSampleIncrementer<2> twice(2, {0, 0});
  EXPECT_EQ(0, twice.IncrementInitial());
  EXPECT_EQ(std::vector<long>({0, 4, 0, 4}), Steps(twice, 4));

  SL::CSampleIncrementer<3> right(2, {1});
  EXPECT_EQ(3, right.IncrementInitial());
  EXPECT_EQ(std::vector<long>({6, 6}), std::vector<long>({right.Increment(), right.Increment()}));
}

TEST(SampleIncrementer, RefusesListsThatCannotStep) {
  EXPECT_THROW(SL::CSampleIncrementer<2>(2, {}), std::invalid_argument);
  EXPECT_THROW(SL::CSampleIncrementer<2>(2, {0, 2}), std::invalid_argument);
  EXPECT_THROW(SL::CSampleIncrementer<2>(0, {0}), std::invalid_argument);
}

boost::shared_ptr<std::stringstream> Bytes(int n) {
  boost::shared_ptr<std::stringstream> s(new std::stringstream);
  for (int i = 0; i < n; ++i) s->put(static_cast<char>(i));
  return s;
}

TEST(FileSampleLocator, InputReadsOnceAndSeeksOnlyForOtherSteps) {
  auto stream = Bytes(120);
  SL::CInputFileSampleLocator<65552> locator(stream, 100);
  unsigned char* p = locator.Current();
  EXPECT_EQ(100, p[0]);
  EXPECT_EQ(101, p[1]);
  EXPECT_EQ(102, stream->tellg());
  locator.Current();  // reads nothing more
  EXPECT_EQ(102, stream->tellg());
  locator.Increment(2);
  EXPECT_EQ(102, stream->tellg());
  EXPECT_EQ(102, locator.GetLocation());
  locator.Current();
  locator.Increment(6);
  EXPECT_EQ(108, stream->tellg());
  EXPECT_EQ(108, locator.GetLocation());
  EXPECT_EQ(108, locator.Current()[0]);
  locator.Increment(0);  // back onto the same sample
  EXPECT_EQ(108, locator.Current()[0]);
  locator.Increment(-8);  // after a read, the move counts from the read's start
  EXPECT_EQ(100, locator.GetLocation());
  EXPECT_EQ(100, locator.Current()[0]);

  SL::CInputFileSampleLocator<65552> other(stream, 100);
  EXPECT_TRUE(other.Equals(static_cast<SL::ISampleLocator const&>(locator)));

  // Locators of one buffer share its stream (a begin and an end iterator):
  // the one made last does not decide where the others read.
  SL::CInputFileSampleLocator<65552> first(stream, 110);
  SL::CInputFileSampleLocator<65552> last(stream, 116);
  EXPECT_EQ(110, first.Current()[0]);
  EXPECT_EQ(116, last.Current()[0]);
  first.Increment(2);
  EXPECT_EQ(112, first.Current()[0]);
}

TEST(FileSampleLocator, OutputWritesWhenAdvanced) {
  boost::shared_ptr<std::stringstream> stream(new std::stringstream(std::string(120, '\0')));
  SL::COutputFileSampleLocator<65552> locator(stream, 100);
  SL::COutputFileSampleLocator<65552> at102(stream, 102);
  unsigned char* p = locator.Current();
  EXPECT_EQ(102, locator.GetLocation());
  EXPECT_TRUE(locator.Equals(static_cast<SL::ISampleLocator const&>(at102)));
  // The second locator moved the shared stream; the first still writes at
  // its own place.
  p[0] = 0xAB;
  p[1] = 0xCD;
  locator.Increment(2);
  EXPECT_EQ('\xAB', stream->str()[100]);
  EXPECT_EQ('\xCD', stream->str()[101]);
  // A step past other samples writes, then skips.
  p = locator.Current();
  p[0] = 1;
  p[1] = 2;
  locator.Increment(6);
  EXPECT_EQ(108, locator.GetLocation());
  EXPECT_EQ(1, stream->str()[102]);
  EXPECT_EQ(0, stream->str()[104]);
  // A sample set but never followed by an advance is never written.
  locator.Current()[0] = 9;
  EXPECT_EQ(0, stream->str()[108]);
}

TEST(FileSampleLocator, LocatorsOfOtherClassesDoNotCompare) {
  auto in = Bytes(4);
  boost::shared_ptr<std::stringstream> out(new std::stringstream);
  SL::CInputFileSampleLocator<65552> input(in, 0);
  SL::COutputFileSampleLocator<65552> output(out, 0);
  EXPECT_THROW(input.Equals(static_cast<SL::ISampleLocator const&>(output)), std::bad_cast);
  EXPECT_THROW(output.Equals(static_cast<SL::ISampleLocator const&>(input)), std::bad_cast);
}

TEST(FileSampleLocator, ThreeByteSamplesMoveThreeBytes) {
  auto stream = Bytes(12);
  SL::CInputFileSampleLocator<65560> locator(stream, 3);
  EXPECT_EQ(3, locator.Current()[0]);
  EXPECT_EQ(5, locator.Current()[2]);
  locator.Increment(3);
  EXPECT_EQ(6, locator.Current()[0]);
}

}  // namespace
