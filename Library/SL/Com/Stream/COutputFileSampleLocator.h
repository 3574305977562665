#pragma once

#include <boost/shared_ptr.hpp>
#include <cstring>
#include <ios>
#include <ostream>
#include <streambuf>

#include "SL/Com/Buffer/ISampleLocator.h"
#include "SL/Com/Format/BitDepthCodes.h"

namespace SL {

// Locator over an output stream shared with a file sample buffer. The
// current sample's room holds what the file has there, so an iterator can
// read a sample and change it in place; it reaches the stream when the
// locator is advanced past it, and only when it was written to: a read
// alone leaves the file as it was. Writes land at this locator's own place
// even when another locator of the buffer (an end iterator's) has moved the
// stream. Locators of one buffer share the end of what they wrote, since
// moving the stream writes nothing.
template <int N>
class COutputFileSampleLocator : public ISampleLocator {
public:
  enum { B = BytesOf(N) };

  COutputFileSampleLocator(boost::shared_ptr<std::ostream> stream, long location,
                           boost::shared_ptr<long> writtenEnd = boost::shared_ptr<long>())
      : mStream(stream),
        mLocation(location),
        mSample(),
        mShown(),
        mPending(false),
        mDirty(false),
        mWrittenEnd(writtenEnd) {
    mStream->clear();
    mStream->seekp(location, std::ios::beg);
  }
  COutputFileSampleLocator(COutputFileSampleLocator const&) = default;
  ~COutputFileSampleLocator() override = default;

  COutputFileSampleLocator* Clone() const override { return new COutputFileSampleLocator(*this); }
  using ISampleLocator::Equals;

  // From here on the location already counts the pending sample. Bytes
  // changed through the address are written as well as assigned ones.
  unsigned char* Current() override {
    if (!mPending) {
      Fetch();
      std::memcpy(mShown, mSample, sizeof mSample);
      mLocation += B;
      mPending = true;
    }
    return mSample;
  }

  // The whole sample is about to be replaced: nothing to fetch.
  unsigned char* CurrentForWrite() override {
    if (!mPending) {
      mLocation += B;
      mPending = true;
    }
    mDirty = true;
    return mSample;
  }

  long Increment(long step) override {
    if (mPending) {
      if (mDirty || std::memcmp(mSample, mShown, B) != 0) {
        Write();
      }
      mPending = false;
      mDirty = false;
      mLocation += step - B;  // Current() counted the sample
    } else {
      mLocation += step;
    }
    return step;
  }

  // Throws std::bad_cast for a locator of another class.
  bool Equals(ISampleLocator const& other) const override {
    return mLocation == dynamic_cast<COutputFileSampleLocator const&>(other).mLocation;
  }

  long GetLocation() const { return mLocation; }

private:
  // The sample at the location as the file holds it. Past what was written
  // the file holds nothing of ours, so the sample is silence without a read;
  // sequential writing thus never reads. A stream that cannot be read gives
  // silence too. The stream's state is the writer's and stays untouched.
  void Fetch() {
    std::memset(mSample, 0, sizeof mSample);
    long const whole = B;
    long const written = mWrittenEnd ? *mWrittenEnd - mLocation : whole;
    if (written <= 0) {
      return;
    }
    std::streambuf* buffer = mStream->rdbuf();
    std::streampos const at(mLocation);
    if (buffer && buffer->pubseekpos(at, std::ios::in) == at) {
      buffer->sgetn(reinterpret_cast<char*>(mSample), written < whole ? written : whole);
    }
  }

  void Write() {
    std::streampos const at(mLocation - B);
    if (mStream->tellp() != at) {
      mStream->seekp(at);
    }
    mStream->write(reinterpret_cast<char const*>(mSample), B);
    if (mWrittenEnd && mLocation > *mWrittenEnd) {
      *mWrittenEnd = mLocation;
    }
  }

  boost::shared_ptr<std::ostream> mStream;
  long mLocation;
  unsigned char mSample[8];
  unsigned char mShown[8];  // mSample as Current() handed it out
  bool mPending;
  bool mDirty;                          // assigned since it was fetched
  boost::shared_ptr<long> mWrittenEnd;  // just past the furthest sample written
};

}  // namespace SL
