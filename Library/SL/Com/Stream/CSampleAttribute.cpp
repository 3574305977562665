#include "SL/Com/Stream/CSampleAttribute.h"

namespace SL {

CSampleAttribute::CSampleAttribute()
    : GT::CEndianed(GT::CEndianness::sPlatform),
      mBitDepth(),
      mSampleRate(0.0),
      mChannelCount(0),
      mFrameCount(0) {}

CSampleAttribute::CSampleAttribute(CBitDepth const& bitDepth, double sampleRate, int channels,
                                   long frames, GT::CEndianness::EEndian endian)
    : GT::CEndianed(endian),
      mBitDepth(bitDepth),
      mSampleRate(sampleRate),
      mChannelCount(channels),
      mFrameCount(frames) {}

CSampleAttribute::CSampleAttribute(CBitDepth const& bitDepth, double sampleRate, int channels,
                                   GT::CEndianness::EEndian endian)
    : CSampleAttribute(bitDepth, sampleRate, channels, 0, endian) {}

CSampleAttribute::CSampleAttribute(CSampleAttribute const& other)
    : GT::CEndianed(other),
      mBitDepth(other.mBitDepth),
      mSampleRate(other.mSampleRate),
      mChannelCount(other.mChannelCount),
      mFrameCount(other.mFrameCount) {}

CSampleAttribute& CSampleAttribute::operator=(CSampleAttribute const& other) {
  GT::CEndianed::operator=(other);
  if (this != &other) {
    mBitDepth = other.mBitDepth;
  }
  mSampleRate = other.mSampleRate;
  mChannelCount = other.mChannelCount;
  mFrameCount = other.mFrameCount;
  return *this;
}

long CSampleAttribute::ToFrameCount(long bytes) const {
  if (mChannelCount < 1) {
    return 0;
  }
  long const bytesPerSample = GetBytesPerSample();
  if (bytesPerSample < 1) {
    return 0;  // NONE and sub-byte codes have no whole frame
  }
  return (bytes / mChannelCount) / bytesPerSample;
}

}  // namespace SL
