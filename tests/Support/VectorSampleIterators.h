#pragma once

#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "SL/Com/Stream/ITypedOutputSampleIterator.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace TestSupport {

// Input sample iterator of depth N over a vector, positions in frames.
template <int N>
class CVectorInputIterator : public SL::ITypedInputSampleIterator<N> {
public:
  typedef typename SL::ITypedInputSampleIterator<N>::CValueType CValueType;

  CVectorInputIterator(std::vector<CValueType> samples, int channels, double rate = 44100.0)
      : mSamples(std::move(samples)), mIndex(0), mValid(true) {
    mAttribute.mBitDepth = SL::CBitDepth(N);
    mAttribute.mSampleRate = rate;
    mAttribute.mChannelCount = channels;
    mAttribute.mFrameCount = channels > 0 ? static_cast<long>(mSamples.size()) / channels : 0;
  }

  bool HasNext() override { return mValid && mIndex < mSamples.size(); }
  void Next() override { ++mIndex; }
  SL::CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  bool IsValid() const override { return mValid; }
  long ToCurrentFrame(long frames) const override { return frames; }
  CValueType Get() override { return mSamples[mIndex]; }
  void SetLocation(long frame) override {
    mIndex = static_cast<std::size_t>(frame) * mAttribute.mChannelCount;
  }
  long GetLocation() const override { return static_cast<long>(mIndex) / mAttribute.mChannelCount; }
  long TellLocation(long offset) const override { return GetLocation() + offset; }

  std::size_t Index() const { return mIndex; }
  void Fail() { mValid = false; }
  SL::CSampleAttribute& Attribute() { return mAttribute; }

private:
  std::vector<CValueType> mSamples;
  std::size_t mIndex;
  bool mValid;
  SL::CSampleAttribute mAttribute;
};

// Output sample iterator of depth N that takes up to `room` samples.
template <int N>
class CVectorOutputIterator : public SL::ITypedOutputSampleIterator<N> {
public:
  typedef typename SL::ITypedOutputSampleIterator<N>::CValueType CValueType;

  CVectorOutputIterator(std::size_t room, int channels)
      : mRoom(room), mPending(), mHasPending(false) {
    mAttribute.mBitDepth = SL::CBitDepth(N);
    mAttribute.mSampleRate = 44100.0;
    mAttribute.mChannelCount = channels;
  }

  bool HasNext() override { return mSamples.size() < mRoom; }
  void Next() override {
    if (mHasPending) {
      mSamples.push_back(mPending);
      mHasPending = false;
    }
  }
  SL::CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  long ToCurrentFrame(long frames) const override { return frames; }
  void Set(CValueType const& value) override {
    mPending = value;
    mHasPending = true;
  }
  void SetLocation(long) override {}
  long GetLocation() const override {
    return static_cast<long>(mSamples.size()) / mAttribute.mChannelCount;
  }
  long TellLocation(long offset) const override { return GetLocation() + offset; }

  std::vector<CValueType> mSamples;
  SL::CSampleAttribute& Attribute() { return mAttribute; }

private:
  std::size_t mRoom;
  CValueType mPending;
  bool mHasPending;
  SL::CSampleAttribute mAttribute;
};

// 16-bit input iterator that generates `count` samples: sample i is
// (short)(i * 7 + 3), so any loss, repetition or reordering shows.
class CCountingInputIterator : public SL::ITypedInputSampleIterator<65552> {
public:
  CCountingInputIterator(long count, int channels, double rate = 44100.0)
      : mCount(count), mIndex(0) {
    mAttribute.mBitDepth = SL::CBitDepth(65552);
    mAttribute.mSampleRate = rate;
    mAttribute.mChannelCount = channels;
    mAttribute.mFrameCount = count / channels;
  }
  static short ValueAt(long i) {
    return static_cast<short>(static_cast<unsigned long>(i) * 7u + 3u);
  }

  bool HasNext() override { return mIndex < mCount; }
  void Next() override { ++mIndex; }
  SL::CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  long ToCurrentFrame(long frames) const override { return frames; }
  short Get() override { return ValueAt(mIndex); }
  void SetLocation(long) override {}
  long GetLocation() const override { return mIndex / mAttribute.mChannelCount; }
  long TellLocation(long offset) const override { return GetLocation() + offset; }

private:
  long mCount;
  long mIndex;
  SL::CSampleAttribute mAttribute;
};

}  // namespace TestSupport
