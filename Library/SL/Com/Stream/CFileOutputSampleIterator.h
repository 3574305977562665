#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Com/Buffer/CSampleEndianConverter.h"
#include "SL/Com/Format/CSampleTraits.h"
#include "SL/Com/Stream/ITypedOutputSampleIterator.h"

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <cstring>
#include <limits>
#include <ostream>
#include <type_traits>
#include <vector>

namespace SL {

typedef boost::function<bool(CSampleAttribute const&, boost::shared_ptr<std::ostream>,
                             GT::CRange<long> const&)>
    CFileOutputFinalizer;

namespace Private {

// Samples on their way to the file, B bytes each: gathered here and written in
// large blocks. They are held as words of their own size (24-bit ones as
// three bytes). The slot after the gathered samples always holds the last
// sample set, so a sample stepped over without a Set repeats it.
//
// While an iterator writes into the block, the cursor and the limit of its
// samples are the iterator's own (so that the per-sample path touches
// nothing else): the block reaches them through pointers, and has them back
// when the iterator goes.
template <int B>
class CPendingSamples {
public:
  typedef typename std::conditional<B == 3, unsigned char,
                                    typename CSampleWord<B == 3 ? 1 : B>::CType>::type CUnit;
  enum { kUnits = B == 3 ? 3 : 1 };  // units of one sample
  enum : long {
    kCapacity = (1L << 17) / static_cast<long>(sizeof(CUnit) * kUnits)
  };  // samples of a block

  // swap: the file's byte order is not the platform's (words of 2, 4 or 8
  // bytes are then reversed a block at a time, just before writing);
  // limit: samples that may be written in all.
  CPendingSamples(boost::shared_ptr<std::ostream> stream, bool swap, long limit)
      : mStream(stream),
        mSwap(swap && B != 1 && B != 3),
        mUnits(static_cast<std::size_t>((kCapacity + 1) * kUnits)),
        mCursor(mUnits.data()),
        mEnd(mUnits.data()),
        mLiveCursor(&mCursor),
        mLiveEnd(&mEnd),
        mFlushed(0),
        mLimit(limit) {
    UpdateEnd();
  }
  ~CPendingSamples() { Flush(); }
  CPendingSamples(CPendingSamples const&) = delete;
  CPendingSamples& operator=(CPendingSamples const&) = delete;

  CUnit* Begin() { return mUnits.data(); }
  // The cursor there: the block is full.
  CUnit* Full() { return mUnits.data() + kCapacity * kUnits; }
  // Samples handed to the stream so far.
  long Flushed() const { return mFlushed; }

  void Lend(CUnit** cursor, CUnit** end) {
    *cursor = *mLiveCursor;
    *end = *mLiveEnd;
    mLiveCursor = cursor;
    mLiveEnd = end;
  }
  void Return() {
    mCursor = *mLiveCursor;
    mEnd = *mLiveEnd;
    mLiveCursor = &mCursor;
    mLiveEnd = &mEnd;
  }
  // Nothing more may be gathered.
  void Close() { *mLiveEnd = mUnits.data(); }

  // Hands the gathered samples to the stream; false once the stream has
  // failed, which closes the block.
  bool Flush() {
    CUnit*& cursor = *mLiveCursor;
    if (cursor != mUnits.data()) {
      if constexpr (B != 1 && B != 3) {
        if (mSwap) {
          for (CUnit* p = mUnits.data(); p != cursor; ++p) *p = CSampleWord<B>::Reverse(*p);
        }
      }
      if (mStream) {
        mStream->write(reinterpret_cast<char const*>(mUnits.data()),
                       static_cast<std::streamsize>((cursor - mUnits.data()) * sizeof(CUnit)));
      }
      mFlushed += static_cast<long>(cursor - mUnits.data()) / kUnits;
      for (size_t i = 0; i < kUnits; ++i) mUnits[i] = cursor[i];
      cursor = mUnits.data();
      if (*mLiveEnd != mUnits.data()) UpdateEnd();
    }
    if (!mStream || mStream->fail()) {
      Close();
      return false;
    }
    return true;
  }

private:
  boost::shared_ptr<std::ostream> mStream;
  bool mSwap;
  std::vector<CUnit> mUnits;
  CUnit* mCursor;  // the slot after the gathered samples, while no iterator holds them
  CUnit* mEnd;     // the cursor's limit in this block, from the samples still allowed
  CUnit** mLiveCursor;
  CUnit** mLiveEnd;
  long mFlushed;
  long mLimit;

  void UpdateEnd() {
    *mLiveEnd = mUnits.data() + std::max(0L, std::min(mLimit - mFlushed, long(kCapacity))) * kUnits;
  }
};

}  // namespace Private

// Writes raw samples into a WAV or AIFF file behind the header room its
// creator reserved. The header is written afterwards by the finaliser, which
// the owner runs once with (attribute, stream, [range begin, position)).
template <int N>
class CFileOutputSampleIterator final : public ITypedOutputSampleIterator<N> {
public:
  typedef typename CSampleTraits<N>::CValueType CValueType;
  enum { B = BytesOf(N) };
  typedef Private::CPendingSamples<B> CPending;
  typedef typename CPending::CUnit CUnit;

  // Reads as the stream byte position where the next sample goes; worked out
  // when read, so that stepping costs nothing more.
  class CPositionField {
  public:
    explicit CPositionField(CFileOutputSampleIterator const* owner) : mOwner(owner) {}
    operator long() const { return mOwner->Position(); }

  private:
    CFileOutputSampleIterator const* mOwner;
  };

  CFileOutputSampleIterator(CSampleAttribute const& attribute,
                            boost::shared_ptr<std::ostream> stream, GT::CRange<long> const& range,
                            CFileOutputFinalizer finalizer)
      : mAttribute(attribute),
        mStream(stream),
        mRange(range),
        mFinalizer(),
        mPosition(this),
        mConverter(attribute.GetEndian()),
        mValid(true),
        mFlipSign(N == nInteger8 &&
                  CSampleTraits<nInteger8>::IsStoredSigned(attribute.GetEndian())),
        mPending(new CPending(stream, attribute.GetEndian() != GT::CEndianness::sPlatform,
                              range.end > range.begin ? (range.end - range.begin) / B : 0)),
        mCursor(nullptr),
        mEnd(nullptr),
        mFull(mPending->Full()) {
    mPending->Lend(&mCursor, &mEnd);
    mAttribute.SetEndian(GT::CEndianness::sPlatform);
    mStream->clear();
    mStream->seekp(range.begin, std::ios_base::beg);
    // The header must describe samples that are in the stream, so the
    // finaliser first hands over what is still gathered here.
    boost::shared_ptr<CPending> pending = mPending;
    if (finalizer) {
      mFinalizer = [pending, finalizer](CSampleAttribute const& a,
                                        boost::shared_ptr<std::ostream> s,
                                        GT::CRange<long> const& r) {
        return pending->Flush() && finalizer(a, s, r);
      };
    }
  }
  ~CFileOutputSampleIterator() override { mPending->Return(); }
  CFileOutputSampleIterator(CFileOutputSampleIterator const&) = delete;
  CFileOutputSampleIterator& operator=(CFileOutputSampleIterator const&) = delete;

  // True while one more sample fits in the range: nothing is written past it.
  bool HasNext() override { return mCursor < mEnd; }

  void Next() override {
    for (size_t i = 0; i < CPending::kUnits; ++i) mCursor[CPending::kUnits + i] = mCursor[i];
    mCursor += CPending::kUnits;
    if (__builtin_expect(mCursor == mFull, 0)) Advance();
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
    if constexpr (B == 3) {
      mConverter.Store(mCursor, value);
    } else {
      typedef Private::CSampleWord<B> CWord;
      typename CWord::CType w = Private::CSampleWordValue<N>::ToWord(value);
      if constexpr (B == 1) {
        if (mFlipSign) w = static_cast<typename CWord::CType>(w ^ 0x80u);
      }
      *mCursor = w;  // in platform order: the block is put in the file's order as it is written
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
  CPositionField mPosition;

private:
  __attribute__((noinline)) void Advance() {
    if (!mPending->Flush()) Invalidate();
  }
  void Invalidate() const {
    mValid = false;
    mPending->Close();
  }
  long Position() const {
    return mRange.begin + B * (mPending->Flushed() +
                               static_cast<long>(mCursor - mPending->Begin()) / CPending::kUnits);
  }

  CSampleEndianConverter<N> mConverter;
  mutable bool mValid;
  bool mFlipSign;
  boost::shared_ptr<CPending> mPending;
  // Hot path: where Set writes, how far HasNext goes, and when the block is full.
  CUnit* mCursor;
  CUnit* mEnd;
  CUnit* mFull;
};

}  // namespace SL
