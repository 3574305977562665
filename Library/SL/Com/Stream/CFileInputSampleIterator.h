#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Com/Buffer/CSampleEndianConverter.h"
#include "SL/Com/Format/CSampleTraits.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"

#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <cstring>
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
  enum { B = BytesOf(N) };

  CFileInputSampleIterator(CSampleAttribute const& attribute,
                           boost::shared_ptr<std::istream> stream, GT::CRange<long> const& range)
      : mAttribute(attribute),
        mStream(stream),
        mRange(range),
        mBufferStart(range.begin - B),
        mConverter(GT::CEndianness::sPlatform),
        mValid(true),
        mSwap(B > 1 && attribute.GetEndian() != GT::CEndianness::sPlatform),
        // AIFF keeps 8-bit samples signed; the 8-bit model here is unsigned.
        mFlipSign(N == nInteger8 &&
                  CSampleTraits<nInteger8>::IsStoredSigned(attribute.GetEndian())),
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

  // The buffer holds whole samples only, and nothing once the stream failed.
  bool HasNext() override { return mIndex < mFilled; }

  void Next() override {
    mIndex += B;
    if (mIndex >= mFilled) Refill();
  }

  CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  bool IsValid() const override { return mValid; }
  long ToCurrentFrame(long frames) const override { return frames; }

  CValueType Get() override {
    if (mIndex >= mFilled) return CValueType();
    return Read(mBuffer.data() + mIndex);
  }

  void SetLocation(long frame) override {
    long const frameBytes =
        static_cast<long>(mAttribute.mChannelCount > 0 ? mAttribute.mChannelCount : 1) * B;
    long const frames = (mRange.end - mRange.begin) / frameBytes;
    // Frames outside the data hold no sample; never read header or trailing bytes.
    long const p = (frame < 0 || frame > frames) ? mRange.end : mRange.begin + frame * frameBytes;
    mStream->seekg(p, std::ios_base::beg);
    mNextRead = p;
    mBufferStart = p - B;
    mIndex = 0;
    mFilled = 0;
    Next();
  }

  long GetLocation() const override {
    return mAttribute.ToFrameCount(GetPosition() - mRange.begin - B);
  }
  long TellLocation(long offset) const override { return GetLocation() + offset; }

  // Just after the held sample.
  long GetPosition() const { return mBufferStart + static_cast<long>(mIndex) + B; }
  GT::CRange<long> const& GetRange() const { return mRange; }

private:
  static size_t BufferBytes(GT::CRange<long> const& range) {
    long const wanted = std::max<long>(B, std::min<long>(range.end - range.begin, 1L << 17));
    return static_cast<size_t>((wanted + B - 1) / B * B);
  }

  // A sample of the buffer, already in platform order.
  CValueType Read(unsigned char const* p) const {
    if constexpr (B == 3) {
      return mConverter.Convert(p);
    } else {
      typename Private::CSampleWord<B>::CType w;
      std::memcpy(&w, p, B);
      return static_cast<CValueType>(Private::CSampleWordValue<N>::ToValue(w));
    }
  }

  // Brings a freshly read block into platform order (and 8-bit AIFF samples
  // into the unsigned model) once, so that each sample is a plain load.
  void Normalize(unsigned char* p, size_t bytes) const {
    if (mSwap) {
      for (unsigned char* end = p + bytes; p != end; p += B) {
        if constexpr (B == 3) {
          std::swap(p[0], p[2]);
        } else {
          typename Private::CSampleWord<B>::CType w;
          std::memcpy(&w, p, B);
          w = Private::CSampleWord<B>::Reverse(w);
          std::memcpy(p, &w, B);
        }
      }
    } else if (mFlipSign) {
      for (size_t i = 0; i < bytes; ++i) p[i] ^= 0x80;
    }
  }

  void Refill() {
    mBufferStart += static_cast<long>(mIndex);
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
    Normalize(mBuffer.data(), static_cast<size_t>(got));
    mFilled = static_cast<size_t>(got);
    mNextRead += got;
    if (got == 0) mValid = false;
  }

  CSampleAttribute mAttribute;
  boost::shared_ptr<std::istream> mStream;
  GT::CRange<long> mRange;
  long mBufferStart;  // stream offset of the buffer's first byte (past the end it counts the steps
                      // taken)
  CSampleEndianConverter<N> mConverter;
  bool mValid;
  bool mSwap;  // the file's byte order is not the platform's
  bool mFlipSign;
  std::vector<unsigned char> mBuffer;
  size_t mIndex;   // the held sample in the buffer
  size_t mFilled;  // bytes of whole samples in the buffer
  long mNextRead;  // stream offset of the byte after the buffer
};

}  // namespace SL
