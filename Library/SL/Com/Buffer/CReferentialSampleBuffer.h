#pragma once

#include "SL/Com/Buffer/ASampleBuffer.h"
#include "SL/Com/Buffer/CByteSampleLocator.h"

#include <boost/shared_ptr.hpp>

namespace SL {

// A typed sample buffer over memory the caller owns, which must outlive it
// and its iterators. Locations count bytes from the first one. Memory that
// ends inside a frame ends at the last whole frame: walks over all channels
// (the peak level's) stop only between frames, so they never step past it.
template <int N>
class CReferentialSampleBuffer : public ASampleBuffer<N> {
public:
  enum { B = ASampleBuffer<N>::B };

  CReferentialSampleBuffer(unsigned char* begin, unsigned char* end, int channels,
                           GT::CEndianness::EEndian order)
      : ASampleBuffer<N>(MakeAttribute(WholeFrames(begin, end, channels), channels, order)),
        mBegin(begin),
        mEnd(begin + WholeFrames(begin, end, channels)) {}
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
  // Without a channel there is no frame, so nothing to walk.
  static long WholeFrames(unsigned char* begin, unsigned char* end, int channels) {
    long const bytes = end > begin ? static_cast<long>(end - begin) : 0;
    long const frame = channels > 0 ? static_cast<long>(channels) * B : 0;
    return frame > 0 ? bytes - bytes % frame : 0;
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
