#pragma once

#include <boost/shared_ptr.hpp>
#include <vector>

#include "SL/Com/Buffer/ASampleBuffer.h"

namespace Test {

// Locator over plain memory, for exercising the buffer core without the
// concrete buffers built on it.
class CMemoryLocator : public SL::ISampleLocator {
public:
  explicit CMemoryLocator(unsigned char* p) : mCurrent(p) {}
  CMemoryLocator* Clone() const override { return new CMemoryLocator(*this); }
  using SL::ISampleLocator::Equals;
  unsigned char* Current() override { return mCurrent; }
  long Increment(long step) override {
    mCurrent += step;
    return step;
  }
  bool Equals(SL::ISampleLocator const& other) const override {
    return mCurrent == static_cast<CMemoryLocator const&>(other).mCurrent;
  }

private:
  unsigned char* mCurrent;
};

// A buffer over its own bytes, locations counted from its first byte.
template <int N>
class CMemorySampleBuffer : public SL::ASampleBuffer<N> {
public:
  CMemorySampleBuffer(int channels, long frames, GT::CEndianness::EEndian endian)
      : SL::ASampleBuffer<N>(
            SL::CSampleAttribute(SL::CBitDepth(N), 44100.0, channels, frames, endian)),
        mBytes(static_cast<std::size_t>(frames * channels * ((N & 0xFFFF) >> 3)) + 64, 0) {
    mSize = static_cast<long>(mBytes.size()) - 64;  // slack: lists may run past the end
  }
  bool IsSequential() const override { return true; }
  unsigned char* Begin() override { return mBytes.data(); }
  unsigned char* End() override { return mBytes.data() + mSize; }
  unsigned char* At(long frame) override {
    return mBytes.data() + frame * this->mAttribute.GetBytesPerFrame();
  }
  long LowerBound() const override { return 0; }
  long UpperBound() const override { return mSize; }
  long Distance() const override { return mSize; }
  boost::shared_ptr<SL::ISampleLocator> CreateLocator(long location) override {
    return boost::shared_ptr<SL::ISampleLocator>(new CMemoryLocator(mBytes.data() + location));
  }
  std::vector<unsigned char>& Bytes() { return mBytes; }

private:
  std::vector<unsigned char> mBytes;
  long mSize;
};

}  // namespace Test
