#include "Executable/Com/Conversion/CSampleIteratorLofiDecorator.h"

#include "SL/Com/Stream/ITypedInputSampleIterator.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <vector>

namespace {

// Interleaved 16-bit samples from memory, counting the steps it is asked for.
class CVectorInput : public SL::ITypedInputSampleIterator<65552> {
public:
  CVectorInput(std::vector<short> const& samples, int channels)
      : mSamples(samples), mIndex(0), mNextCalls(0) {
    mAttribute.mBitDepth = SL::CBitDepth::Integer16;
    mAttribute.mSampleRate = 44100.0;
    mAttribute.mChannelCount = channels;
    mAttribute.mFrameCount = static_cast<long>(samples.size()) / channels;
  }
  bool HasNext() override { return mIndex < mSamples.size(); }
  void Next() override {
    ++mIndex;
    ++mNextCalls;
  }
  SL::CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  long ToCurrentFrame(long frames) const override { return frames * 10; }
  short Get() override { return mIndex < mSamples.size() ? mSamples[mIndex] : short(-1); }
  void SetLocation(long frame) override {
    mIndex = static_cast<size_t>(frame * mAttribute.mChannelCount);
  }
  long GetLocation() const override { return static_cast<long>(mIndex) / mAttribute.mChannelCount; }
  long TellLocation(long offset) const override { return GetLocation() + offset; }

  std::vector<short> mSamples;
  size_t mIndex;
  long mNextCalls;
  SL::CSampleAttribute mAttribute;
};

std::vector<short> Ramp(size_t count) {
  std::vector<short> samples(count);
  for (size_t i = 0; i < count; ++i) samples[i] = static_cast<short>(100 + i);
  return samples;
}

std::vector<short> Drain(SL::ITypedInputSampleIterator<65552>& iterator) {
  std::vector<short> out;
  for (; iterator.HasNext(); iterator.Next()) out.push_back(iterator.Get());
  return out;
}

TEST(LofiDecorator, SeekReadsOnAsAFreshDecorator) {
  boost::shared_ptr<CVectorInput> inner = boost::make_shared<CVectorInput>(Ramp(2 * 10), 2);
  VQ7::CSampleIteratorLofiDecorator lofi(inner);
  for (long from : {0L, 3L}) {
    for (int i = 0; i < 7; ++i) lofi.Next();  // inside a hold period, on the right channel
    lofi.SetLocation(from);
    boost::shared_ptr<CVectorInput> other = boost::make_shared<CVectorInput>(Ramp(2 * 10), 2);
    other->SetLocation(from);
    VQ7::CSampleIteratorLofiDecorator fresh(other);
    EXPECT_EQ(Drain(fresh), Drain(lofi)) << from;
  }
}

TEST(LofiDecorator, MonoAdvancesTheSourceOncePerStep) {
  boost::shared_ptr<CVectorInput> inner = boost::make_shared<CVectorInput>(Ramp(9), 1);
  VQ7::CSampleIteratorLofiDecorator lofi(inner);
  std::vector<short> got;
  for (int i = 0; i < 6; ++i) {
    got.push_back(lofi.Get());
    lofi.Next();
  }
  EXPECT_EQ(6, inner->mNextCalls);
  EXPECT_EQ(6, lofi.GetLocation());  // the source's position, unchanged
  EXPECT_EQ(lofi.GetLocation() + 3, lofi.TellLocation(3));
  EXPECT_EQ(70, lofi.ToCurrentFrame(7));
  got.push_back(lofi.Get());
  lofi.Next();
  got.push_back(lofi.Get());
  std::vector<short> const expected = {100, 100, 100, 100, 104, 104, 104, 104};
  EXPECT_EQ(expected, got);
}

TEST(LofiDecorator, UnsuitableSourceDeliversNothing) {
  // No channel: no hold period to count.
  boost::shared_ptr<CVectorInput> empty = boost::make_shared<CVectorInput>(std::vector<short>(), 1);
  empty->mAttribute.mChannelCount = 0;
  VQ7::CSampleIteratorLofiDecorator none(empty);
  EXPECT_FALSE(none.HasNext());
  EXPECT_FALSE(none.IsValid());
  none.Next();
  EXPECT_EQ(0, none.Get());

  VQ7::CSampleIteratorLofiDecorator null((boost::shared_ptr<SL::IInputSampleIterator>()));
  EXPECT_FALSE(null.HasNext());
  EXPECT_FALSE(null.IsValid());
}

}  // namespace
