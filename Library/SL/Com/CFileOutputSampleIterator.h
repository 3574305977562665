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
#include <limits>
#include <ostream>
#include <type_traits>
#include <vector>

namespace SL {

typedef boost::function<bool(CSampleAttribute const&, boost::shared_ptr<std::ostream>, GT::CRange<long> const&)>
    CFileOutputFinalizer;

namespace Private {

// Samples on their way to the file, B bytes each: gathered here and written in
// large blocks. They are held as words of their own size (24-bit ones as
// three bytes), so that storing one does not make the compiler reload
// everything else. The slot after the gathered samples always holds the last
// sample set, so a sample stepped over without a Set repeats it.
template <int B>
class CPendingSamples {
 public:
  typedef typename std::conditional<B == 3, unsigned char, typename CSampleWord<B == 3 ? 1 : B>::CType>::type CUnit;
  enum { kUnits = B == 3 ? 3 : 1 };  // units of one sample

  // swap: the file's byte order is not the platform's (words of 2, 4 or 8
  // bytes are then reversed a block at a time, just before writing).
  CPendingSamples(boost::shared_ptr<std::ostream> stream, bool swap)
      : mStream(stream),
        mSwap(swap && B != 1 && B != 3),
        mUnits((1 << 17) / sizeof(CUnit)),
        mCursor(mUnits.data()),
        mLast(mUnits.data() + mUnits.size() - 2 * kUnits) {}
  ~CPendingSamples() { Flush(); }

  CUnit* Slot() { return mCursor; }
  // Keeps the sample at the slot; true when the block is full.
  bool Take() {
    mCursor += kUnits;
    for (size_t i = 0; i < kUnits; ++i) mCursor[i] = (mCursor - kUnits)[i];
    return mCursor > mLast;
  }
  // Hands the gathered samples to the stream; false once the stream has failed.
  bool Flush() {
    if (mCursor != mUnits.data()) {
      if constexpr (B != 1 && B != 3) {
        if (mSwap) {
          for (CUnit* p = mUnits.data(); p != mCursor; ++p) *p = CSampleWord<B>::Reverse(*p);
        }
      }
      if (mStream) {
        mStream->write(reinterpret_cast<char const*>(mUnits.data()),
                       static_cast<std::streamsize>((mCursor - mUnits.data()) * sizeof(CUnit)));
      }
      for (size_t i = 0; i < kUnits; ++i) mUnits[i] = mCursor[i];
      mCursor = mUnits.data();
    }
    return mStream && !mStream->fail();
  }

 private:
  boost::shared_ptr<std::ostream> mStream;
  bool mSwap;
  std::vector<CUnit> mUnits;
  CUnit* mCursor;      // the slot after the gathered samples
  CUnit const* mLast;  // the last slot with room for one more sample after it
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
        mLastStart(range.end - B),
        mFlipSign(N == 65544 && attribute.GetEndian() == GT::CEndianness::BigEndian),
        mPending(new Private::CPendingSamples<B>(stream, attribute.GetEndian() != GT::CEndianness::sPlatform)) {
    mAttribute.SetEndian(GT::CEndianness::sPlatform);
    mStream->clear();
    mStream->seekp(range.begin, std::ios_base::beg);
    // The header must describe samples that are in the stream, so the
    // finaliser first hands over what is still gathered here.
    boost::shared_ptr<Private::CPendingSamples<B> > pending = mPending;
    if (finalizer) {
      mFinalizer = [pending, finalizer](CSampleAttribute const& a, boost::shared_ptr<std::ostream> s,
                                        GT::CRange<long> const& r) { return pending->Flush() && finalizer(a, s, r); };
    }
  }
  ~CFileOutputSampleIterator() override {}

  // True while one more sample fits in the range: nothing is written past it.
  bool HasNext() override { return mPosition <= mLastStart; }

  void Next() override {
    mPosition += B;
    if (mPending->Take() && !mPending->Flush()) Invalidate();
  }

  CSampleAttribute const& GetAttribute() const override { return mAttribute; }

  // Also hands the gathered samples on to the file, so a failed write (a full
  // disk) is seen here and not after the owner has declared success.
  bool IsValid() const override {
    if (!mPending->Flush()) Invalidate();
    if (mValid && mStream->flush().fail()) Invalidate();
    return mValid;
  }

  long ToCurrentFrame(long frames) const override { return frames; }

  void Set(CValueType const& value) override {
    auto* const slot = mPending->Slot();
    if constexpr (B == 3) {
      mConverter.Store(slot, value);
    } else {
      typedef Private::CSampleWord<B> CWord;
      typename CWord::CType w = Private::CSampleWordValue<N>::ToWord(value);
      if constexpr (B == 1) {
        if (mFlipSign) w = static_cast<typename CWord::CType>(w ^ 0x80u);
      }
      *slot = w;  // in platform order: the block is put in the file's order as it is written
    }
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
  CSampleEndianConverter<N> mConverter;
  void Invalidate() const {
    mValid = false;
    mLastStart = std::numeric_limits<long>::min();
  }

  mutable bool mValid;
  mutable long mLastStart;  // the last position a sample may start at; none once invalid
  bool mFlipSign;
  boost::shared_ptr<Private::CPendingSamples<B> > mPending;
};

}  // namespace SL
