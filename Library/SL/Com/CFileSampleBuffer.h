#pragma once

#include "GT/Com/CRange.h"
#include "SL/Com/ASampleBuffer.h"
#include "SL/Com/CFileOutputSampleIterator.h"
#include "SL/Com/ISampleLocator.h"
#include "SL/Com/CWaveFileFormat.h"
#include "SL/Com/IFileSampleBufferMixin.h"

#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <cstring>
#include <istream>
#include <ostream>

namespace SL {

// The sample data of an open WAV or AIFF file seen as a sample buffer, read
// or written in place. Made only by CFileSampleBufferFactory.
template <int N>
class CFileSampleBuffer : public ASampleBuffer<N>, public IFileSampleBufferMixin {
 public:
  // Input buffer: attribute as the file gives it, byte order included.
  CFileSampleBuffer(CWaveFileFormat const& format, CSampleAttribute const& attribute,
                    boost::shared_ptr<std::istream> stream, GT::CRange<long> const& range)
      : ASampleBuffer<N>(attribute), mFileFormat(format), mInputStream(stream), mOutputStream(), mRange(range),
        mFinalizer() {
    if (mInputStream) mInputStream->seekg(range.begin, std::ios_base::beg);
  }

  // Output buffer, with the header writer.
  CFileSampleBuffer(CWaveFileFormat const& format, CSampleAttribute const& attribute,
                    boost::shared_ptr<std::ostream> stream, GT::CRange<long> const& range,
                    CFileOutputFinalizer finalizer)
      : ASampleBuffer<N>(attribute), mFileFormat(format), mInputStream(), mOutputStream(stream), mRange(range),
        mFinalizer(finalizer) {
    if (mOutputStream) mOutputStream->seekp(range.begin, std::ios_base::beg);
  }

  ~CFileSampleBuffer() override {}

  enum { B = (N & 0xFFFF) >> 3 };

  bool IsSequential() const override { return false; }
  unsigned char* Begin() override { return nullptr; }
  unsigned char* End() override { return nullptr; }
  unsigned char* At(long) override { return nullptr; }

  long LowerBound() const override { return mRange.begin; }
  long UpperBound() const override { return mRange.end; }
  long Distance() const override { return mRange.end - mRange.begin; }

  boost::shared_ptr<ISampleLocator> CreateLocator(long location) override {
    if (mInputStream) return boost::shared_ptr<ISampleLocator>(new CInputLocator(mInputStream, location));
    if (mOutputStream) return boost::shared_ptr<ISampleLocator>(new COutputLocator(mOutputStream, location));
    return boost::shared_ptr<ISampleLocator>();
  }

  // File positions of buffer iterators. Every begin/end pair shares one
  // stream, so each transfer first moves the stream to its own sample:
  // otherwise the locator made last (the end) would decide where all read.
  class CInputLocator : public ISampleLocator {
   public:
    CInputLocator(boost::shared_ptr<std::istream> stream, long location)
        : mStream(stream), mLocation(location), mPending(false) {
      std::memset(mSample, 0, sizeof mSample);
    }
    CInputLocator* Clone() const override { return new CInputLocator(*this); }
    using ISampleLocator::Equals;
    unsigned char* Current() override {
      if (!mPending) {
        mStream->seekg(mLocation, std::ios_base::beg);
        mStream->read(reinterpret_cast<char*>(mSample), B);
        mPending = true;
      }
      return mSample;
    }
    long Increment(long step) override {
      mLocation += step;
      mPending = false;
      return step;
    }
    bool Equals(ISampleLocator const& other) const override {
      return mLocation == dynamic_cast<CInputLocator const&>(other).mLocation;
    }
    long GetLocation() const { return mLocation; }

   private:
    boost::shared_ptr<std::istream> mStream;
    long mLocation;
    unsigned char mSample[8];
    bool mPending;
  };

  class COutputLocator : public ISampleLocator {
   public:
    COutputLocator(boost::shared_ptr<std::ostream> stream, long location)
        : mStream(stream), mLocation(location), mPending(false) {
      std::memset(mSample, 0, sizeof mSample);
    }
    COutputLocator* Clone() const override { return new COutputLocator(*this); }
    using ISampleLocator::Equals;
    // The sample reaches the file when the iterator moves past it.
    unsigned char* Current() override {
      mPending = true;
      return mSample;
    }
    long Increment(long step) override {
      if (mPending) {
        mStream->seekp(mLocation, std::ios_base::beg);
        mStream->write(reinterpret_cast<char const*>(mSample), B);
      }
      mLocation += step;
      mPending = false;
      return step;
    }
    bool Equals(ISampleLocator const& other) const override {
      return mLocation == dynamic_cast<COutputLocator const&>(other).mLocation;
    }
    long GetLocation() const { return mLocation; }

   private:
    boost::shared_ptr<std::ostream> mStream;
    long mLocation;
    unsigned char mSample[8];
    bool mPending;
  };

  CWaveFileFormat GetFileFormat() const override { return mFileFormat; }

  // Writes the header for the samples from the range's start to the
  // furthest byte written; an input buffer has nothing to finish.
  bool Finalize() override {
    if (!mOutputStream || !mFinalizer || mOutputStream->fail()) return false;
    std::streampos const here = mOutputStream->tellp();
    mOutputStream->seekp(0, std::ios_base::end);
    long const end = std::max(static_cast<long>(mOutputStream->tellp()), static_cast<long>(here));
    mOutputStream->seekp(here);
    if (end < mRange.begin) return false;
    return mFinalizer(this->mAttribute, mOutputStream, GT::CRange<long>(mRange.begin, end));
  }

  boost::shared_ptr<std::istream> GetInputStream() override { return mInputStream; }
  boost::shared_ptr<std::ostream> GetOutputStream() override { return mOutputStream; }
  GT::CRange<long> GetStreamPositionRange() const override { return mRange; }

 private:
  CWaveFileFormat mFileFormat;
  boost::shared_ptr<std::istream> mInputStream;
  boost::shared_ptr<std::ostream> mOutputStream;
  GT::CRange<long> mRange;
  CFileOutputFinalizer mFinalizer;
};

}  // namespace SL
