#pragma once

#include "GT/Com/Data/CEndianed.h"
#include "SL/Com/Format/CBitDepth.h"

namespace SL {

// The description that travels with every stream of interleaved samples:
// byte order (from the base), bit depth, rate, channels and length.
class CSampleAttribute : public GT::CEndianed {
public:
  CSampleAttribute();
  CSampleAttribute(CBitDepth const& bitDepth, double sampleRate, int channels, long frames,
                   GT::CEndianness::EEndian endian);
  CSampleAttribute(CBitDepth const& bitDepth, double sampleRate, int channels,
                   GT::CEndianness::EEndian endian);
  CSampleAttribute(CSampleAttribute const& other);
  CSampleAttribute& operator=(CSampleAttribute const& other);

  // Low 16 bits of the bit-depth code.
  int GetBitsPerSample() const { return BitsOf(mBitDepth.GetValue()); }
  int GetBytesPerSample() const { return BytesOf(mBitDepth.GetValue()); }
  long GetBytesPerFrame() const { return static_cast<long>(mChannelCount) * GetBytesPerSample(); }

  // Whole frames in a byte count: by channels, then by bytes per sample, both
  // truncating toward zero. 0 without channels or without whole bytes per sample.
  long ToFrameCount(long bytes) const;

  CBitDepth mBitDepth;
  double mSampleRate;
  int mChannelCount;
  long mFrameCount;
};

}  // namespace SL
