#pragma once

#include <boost/shared_ptr.hpp>
#include <istream>

#include "SL/Com/Buffer/ISampleLocator.h"
#include "SL/Com/Format/BitDepthCodes.h"

namespace SL {

// Locator over an input stream shared with a file sample buffer: reads the
// current sample's bytes on demand. Every locator of a buffer (an end
// iterator's included) shares the stream, so a read first puts the stream on
// this locator's own place when another one has moved it. Stream failures
// stay in the stream's state for the buffer's owner to inspect; a failed read
// leaves the sample bytes as they were.
template <int N>
class CInputFileSampleLocator : public ISampleLocator {
public:
  enum { B = BytesOf(N) };

  CInputFileSampleLocator(boost::shared_ptr<std::istream> stream, long location)
      : mStream(stream), mLocation(location), mSample(), mPending(false) {
    mStream->clear();
    mStream->seekg(location, std::ios::beg);
  }
  CInputFileSampleLocator(CInputFileSampleLocator const&) = default;
  ~CInputFileSampleLocator() override = default;

  CInputFileSampleLocator* Clone() const override { return new CInputFileSampleLocator(*this); }
  using ISampleLocator::Equals;

  unsigned char* Current() override {
    if (!mPending) {
      if (mStream->tellg() != std::streampos(mLocation)) {
        mStream->seekg(mLocation, std::ios::beg);
      }
      mStream->read(reinterpret_cast<char*>(mSample), B);
      mPending = true;
    }
    return mSample;
  }

  long Increment(long step) override {
    if (mPending && step == B) {
      mLocation += B;  // the read already moved the stream past the sample
    } else {
      long const move = mPending ? step - B : step;
      if (move != 0) {
        mStream->seekg(move, std::ios::cur);
      }
      mLocation += step;
    }
    mPending = false;
    return step;
  }

  // Throws std::bad_cast for a locator of another class.
  bool Equals(ISampleLocator const& other) const override {
    return mLocation == dynamic_cast<CInputFileSampleLocator const&>(other).mLocation;
  }

  long GetLocation() const { return mLocation; }

private:
  boost::shared_ptr<std::istream> mStream;
  long mLocation;
  unsigned char mSample[8];
  bool mPending;
};

}  // namespace SL
