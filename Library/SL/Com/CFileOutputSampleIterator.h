#pragma once

#include "GT/Com/CRange.h"
#include "SL/Com/CSampleAttribute.h"
#include "SL/Com/CSampleEndianConverter.h"
#include "SL/Com/CSampleTraits.h"
#include "SL/Com/ITypedOutputSampleIterator.h"

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <vector>

namespace SL {

typedef boost::function<bool(CSampleAttribute const&, boost::shared_ptr<std::ostream>, GT::CRange<long> const&)>
    CFileOutputFinalizer;

namespace Private {

// Samples on their way to the file: gathered here and written in large blocks.
class CPendingSampleBytes {
 public:
  explicit CPendingSampleBytes(boost::shared_ptr<std::ostream> stream) : mStream(stream), mBytes(1 << 17), mFill(0) {}
  ~CPendingSampleBytes() { Flush(); }

  unsigned char* Slot() { return mBytes.data() + mFill; }
  // True when the block is full after taking n more bytes.
  bool Take(size_t n) {
    mFill += n;
    return mFill + 8 > mBytes.size();
  }
  // Hands the gathered bytes to the stream; false once the stream has failed.
  bool Flush() {
    if (mFill > 0 && mStream) {
      mStream->write(reinterpret_cast<char const*>(mBytes.data()), static_cast<std::streamsize>(mFill));
    }
    mFill = 0;
    return mStream && !mStream->fail();
  }

 private:
  boost::shared_ptr<std::ostream> mStream;
  std::vector<unsigned char> mBytes;
  size_t mFill;
};

}  // namespace Private

// Writes raw samples into a WAV or AIFF file behind the header room its
// creator reserved. The header is written afterwards by the finaliser, which
// the owner runs once with (attribute, stream, [range begin, position)).
template <int N>
class CFileOutputSampleIterator final : public ITypedOutputSampleIterator<N> {
 public:
  typedef typename CSampleTraits<N>::CValueType CValueType;
  enum { B = (N & 0xFFFF) >> 3 };

  CFileOutputSampleIterator(CSampleAttribute const& attribute, boost::shared_ptr<std::ostream> stream,
                            GT::CRange<long> const& range, CFileOutputFinalizer finalizer)
      : mAttribute(attribute),
        mStream(stream),
        mRange(range),
        mFinalizer(),
        mPosition(range.begin),
        mConverter(attribute.GetEndian()),
        mValid(true),
        mFlipSign(N == 65544 && attribute.GetEndian() == GT::CEndianness::BigEndian),
        mPending(new Private::CPendingSampleBytes(stream)) {
    std::memset(mSample, 0, sizeof mSample);
    mAttribute.SetEndian(GT::CEndianness::sPlatform);
    mStream->clear();
    mStream->seekp(range.begin, std::ios_base::beg);
    // The header must describe samples that are in the stream, so the
    // finaliser first hands over what is still gathered here.
    boost::shared_ptr<Private::CPendingSampleBytes> pending = mPending;
    if (finalizer) {
      mFinalizer = [pending, finalizer](CSampleAttribute const& a, boost::shared_ptr<std::ostream> s,
                                        GT::CRange<long> const& r) { return pending->Flush() && finalizer(a, s, r); };
    }
  }
  ~CFileOutputSampleIterator() override {}

  // True while one more sample fits in the range: nothing is written past it.
  bool HasNext() override { return mValid && mPosition + B <= mRange.end; }

  void Next() override {
    std::memcpy(mPending->Slot(), mSample, B);
    mPosition += B;
    if (mPending->Take(B) && !mPending->Flush()) mValid = false;
  }

  CSampleAttribute const& GetAttribute() const override { return mAttribute; }

  // Also hands the gathered samples on to the file, so a failed write (a full
  // disk) is seen here and not after the owner has declared success.
  bool IsValid() const override {
    if (!mPending->Flush()) mValid = false;
    if (mValid && mStream->flush().fail()) mValid = false;
    return mValid;
  }

  long ToCurrentFrame(long frames) const override { return frames; }

  void Set(CValueType const& value) override {
    if constexpr (N == 65544) {
      if (mFlipSign) {
        mConverter.Store(mSample, static_cast<CValueType>(value ^ 0x80));
        return;
      }
    }
    mConverter.Store(mSample, value);
  }

  void SetLocation(long) override {}
  long GetLocation() const override { return 0; }
  long TellLocation(long) const override { return 0; }

  // Hands the gathered samples to the stream; false once it has failed.
  bool Flush() { return IsValid(); }

  // Read by the owner to finish the file.
  CSampleAttribute mAttribute;
  boost::shared_ptr<std::ostream> mStream;
  GT::CRange<long> mRange;
  CFileOutputFinalizer mFinalizer;
  long mPosition;

 private:
  unsigned char mSample[8];
  CSampleEndianConverter<N> mConverter;
  mutable bool mValid;
  bool mFlipSign;
  boost::shared_ptr<Private::CPendingSampleBytes> mPending;
};

}  // namespace SL
