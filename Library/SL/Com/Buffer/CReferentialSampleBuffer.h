#pragma once

#include "SL/Com/Buffer/ASampleBuffer.h"
#include "SL/Com/Buffer/CByteSampleLocator.h"

#include <boost/shared_ptr.hpp>

namespace SL {

// A typed sample buffer over memory the caller owns, which must outlive it
// and its iterators. Locations count bytes from the first one. A size that
// is not a whole number of samples ends at the last whole sample, so an
// iterator walking to the end never steps past it.
template <int N>
class CReferentialSampleBuffer : public ASampleBuffer<N> {
public:
  enum { B = ASampleBuffer<N>::B };

  CReferentialSampleBuffer(unsigned char* begin, unsigned char* end, int channels,
                           GT::CEndianness::EEndian order)
      : ASampleBuffer<N>(MakeAttribute(WholeSamples(begin, end), channels, order)),
        mBegin(begin),
        mEnd(begin + WholeSamples(begin, end)) {}
  ~CReferentialSampleBuffer() override = default;

  bool IsSequential() const override { return true; }
  unsigned char* Begin() override { return mBegin; }
  unsigned char* End() override { return mEnd; }
  unsigned char* At(long frame) override {
    return mBegin + frame * static_cast<long>(this->mAttribute.mChannelCount) * B;
  }
  long LowerBound() const override { return 0; }
  long UpperBound() const override { return static_cast<long>(mEnd - mBegin); }
  long Distance() const override { return static_cast<long>(mEnd - mBegin); }
  boost::shared_ptr<ISampleLocator> CreateLocator(long location) override {
    return boost::shared_ptr<ISampleLocator>(new CByteSampleLocator(mBegin + location));
  }

private:
  static long WholeSamples(unsigned char* begin, unsigned char* end) {
    long const bytes = end > begin ? static_cast<long>(end - begin) : 0;
    return bytes - bytes % B;
  }
  static CSampleAttribute MakeAttribute(long bytes, int channels, GT::CEndianness::EEndian order) {
    CSampleAttribute attribute(CBitDepth(static_cast<int>(N)), 0.0, channels, order);
    attribute.mFrameCount = attribute.ToFrameCount(bytes);
    return attribute;
  }

  unsigned char* mBegin;
  unsigned char* mEnd;
};

}  // namespace SL
