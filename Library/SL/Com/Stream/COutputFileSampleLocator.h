#pragma once

#include <boost/shared_ptr.hpp>
#include <ostream>

#include "SL/Com/Buffer/ISampleLocator.h"
#include "SL/Com/Format/BitDepthCodes.h"

namespace SL {

// Locator over an output stream shared with a file sample buffer: the
// iterator writes into the locator's sample room, which reaches the stream
// when the locator is advanced past it, at this locator's own place even when
// another locator of the buffer (an end iterator's) has moved the stream.
// Locators of one buffer share the end of what they wrote, since moving the
// stream writes nothing.
template <int N>
class COutputFileSampleLocator : public ISampleLocator {
public:
  enum { B = BytesOf(N) };

  COutputFileSampleLocator(boost::shared_ptr<std::ostream> stream, long location,
                           boost::shared_ptr<long> writtenEnd = boost::shared_ptr<long>())
      : mStream(stream), mLocation(location), mSample(), mPending(false), mWrittenEnd(writtenEnd) {
    mStream->clear();
    mStream->seekp(location, std::ios::beg);
  }
  COutputFileSampleLocator(COutputFileSampleLocator const&) = default;
  ~COutputFileSampleLocator() override = default;

  COutputFileSampleLocator* Clone() const override { return new COutputFileSampleLocator(*this); }
  using ISampleLocator::Equals;

  // From here on the location already counts the pending sample.
  unsigned char* Current() override {
    if (!mPending) {
      mLocation += B;
      mPending = true;
    }
    return mSample;
  }

  long Increment(long step) override {
    long move = step;
    if (mPending) {
      std::streampos const at(mLocation - B);  // Current() counted the sample
      if (mStream->tellp() != at) {
        mStream->seekp(at);
      }
      mStream->write(reinterpret_cast<char const*>(mSample), B);
      mPending = false;
      if (mWrittenEnd && mLocation > *mWrittenEnd) {
        *mWrittenEnd = mLocation;
      }
      if (step == B) {
        return step;
      }
      move -= B;
    }
    if (move != 0) {
      mStream->seekp(move, std::ios::cur);
    }
    mLocation += move;
    return step;
  }

  // Throws std::bad_cast for a locator of another class.
  bool Equals(ISampleLocator const& other) const override {
    return mLocation == dynamic_cast<COutputFileSampleLocator const&>(other).mLocation;
  }

  long GetLocation() const { return mLocation; }

private:
  boost::shared_ptr<std::ostream> mStream;
  long mLocation;
  unsigned char mSample[8];
  bool mPending;
  boost::shared_ptr<long> mWrittenEnd;  // just past the furthest sample written
};

}  // namespace SL
