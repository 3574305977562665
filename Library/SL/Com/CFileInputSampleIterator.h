#pragma once

#include "GT/Com/CRange.h"
#include "SL/Com/CSampleAttribute.h"
#include "SL/Com/CSampleEndianConverter.h"
#include "SL/Com/CSampleTraits.h"
#include "SL/Com/ITypedInputSampleIterator.h"

#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <istream>
#include <vector>

namespace SL {

// Reads the raw samples of a WAV or AIFF file's sample data, one interleaved
// sample at a time, in the file's bit depth; values come out in platform byte
// order. The file is read in large blocks, never beyond the sample range.
template <int N>
class CFileInputSampleIterator final : public ITypedInputSampleIterator<N> {
 public:
  typedef typename CSampleTraits<N>::CValueType CValueType;
  enum { B = (N & 0xFFFF) >> 3 };

  CFileInputSampleIterator(CSampleAttribute const& attribute, boost::shared_ptr<std::istream> stream,
                           GT::CRange<long> const& range)
      : mAttribute(attribute),
        mStream(stream),
        mRange(range),
        mPosition(range.begin),
        mConverter(attribute.GetEndian()),
        mValid(true),
        // AIFF keeps 8-bit samples signed; the 8-bit model here is unsigned.
        mFlipSign(N == 65544 && attribute.GetEndian() == GT::CEndianness::BigEndian),
        mBuffer(BufferBytes(range)),
        mIndex(0),
        mFilled(0),
        mNextRead(range.begin) {
    mAttribute.SetEndian(GT::CEndianness::sPlatform);
    mStream->clear();
    mStream->seekg(range.begin, std::ios_base::beg);
    Next();
  }
  ~CFileInputSampleIterator() override {}

  bool HasNext() override { return mValid && mIndex + B <= mFilled; }

  void Next() override {
    mPosition += B;
    mIndex += B;
    if (mIndex + B > mFilled) Refill();
  }

  CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  bool IsValid() const override { return mValid; }
  long ToCurrentFrame(long frames) const override { return frames; }

  CValueType Get() override {
    if (mIndex + B > mFilled) return CValueType();
    CValueType value = mConverter.Convert(&mBuffer[mIndex]);
    if constexpr (N == 65544) {
      if (mFlipSign) value = static_cast<CValueType>(value ^ 0x80);
    }
    return value;
  }

  void SetLocation(long frame) override {
    long const frameBytes = static_cast<long>(mAttribute.mChannelCount > 0 ? mAttribute.mChannelCount : 1) * B;
    long const frames = (mRange.end - mRange.begin) / frameBytes;
    // Frames outside the data hold no sample; never read header or trailing bytes.
    long const p = (frame < 0 || frame > frames) ? mRange.end : mRange.begin + frame * frameBytes;
    mStream->seekg(p, std::ios_base::beg);
    mNextRead = p;
    mPosition = p;
    mIndex = 0;
    mFilled = 0;
    Next();
  }

  long GetLocation() const override { return mAttribute.ToFrameCount(mPosition - mRange.begin - B); }
  long TellLocation(long offset) const override { return GetLocation() + offset; }

  long GetPosition() const { return mPosition; }
  GT::CRange<long> const& GetRange() const { return mRange; }

 private:
  static size_t BufferBytes(GT::CRange<long> const& range) {
    long const wanted = std::max<long>(B, std::min<long>(range.end - range.begin, 1L << 17));
    return static_cast<size_t>((wanted + B - 1) / B * B);
  }

  void Refill() {
    mIndex = 0;
    mFilled = 0;
    // The failure of an earlier read is noticed here: nothing more is read.
    if (mStream->fail()) {
      mValid = false;
      return;
    }
    long const left = mRange.end - mNextRead;
    long const wanted = std::min<long>(static_cast<long>(mBuffer.size()), left) / B * B;
    if (wanted <= 0) return;
    mStream->seekg(mNextRead, std::ios_base::beg);
    mStream->read(reinterpret_cast<char*>(mBuffer.data()), wanted);
    long const got = static_cast<long>(mStream->gcount()) / B * B;
    mFilled = static_cast<size_t>(got);
    mNextRead += got;
    if (got == 0) mValid = false;
  }

  CSampleAttribute mAttribute;
  boost::shared_ptr<std::istream> mStream;
  GT::CRange<long> mRange;
  long mPosition;  // just after the held sample
  CSampleEndianConverter<N> mConverter;
  bool mValid;
  bool mFlipSign;
  std::vector<unsigned char> mBuffer;
  size_t mIndex;   // the held sample in the buffer
  size_t mFilled;  // bytes of whole samples in the buffer
  long mNextRead;  // stream offset of the byte after the buffer
};

}  // namespace SL
