#pragma once

#include <boost/shared_ptr.hpp>
#include <cstring>
#include <exception>
#include <ios>
#include <ostream>
#include <streambuf>

#include "SL/Com/Buffer/ISampleLocator.h"
#include "SL/Com/Format/BitDepthCodes.h"

namespace SL {

// Locator over an output stream shared with a file sample buffer. The
// current sample's room holds what the file has there, so an iterator can
// read a sample and change it in place. A sample assigned whole reaches the
// stream at once, so no copy of an iterator, however short-lived, holds a
// write back. Bytes changed through the address reach it when the locator
// moves on, is copied or is destroyed, and only when they were changed: a
// read alone leaves the file as it was. Writes land at this locator's own
// place even when another locator of the buffer (an end iterator's) has
// moved the stream. Locators of one buffer share the end of what they wrote,
// since moving the stream writes nothing.
template <int N>
class COutputFileSampleLocator : public ISampleLocator {
public:
  enum { B = BytesOf(N) };

  // The stream's state is left as it is: a failure recorded there, a write's
  // or a read-back's, must still fail the buffer's Finalize.
  COutputFileSampleLocator(boost::shared_ptr<std::ostream> stream, long location,
                           boost::shared_ptr<long> writtenEnd = boost::shared_ptr<long>())
      : ISampleLocator(true),
        mStream(stream),
        mLocation(location),
        mSample(),
        mShown(),
        mHeld(false),
        mWrittenEnd(writtenEnd) {
    mStream->seekp(location, std::ios::beg);
  }
  // The original's change goes to the file first, and the copy starts with
  // no sample of its own: it has nothing to write, and reads the file afresh.
  COutputFileSampleLocator(COutputFileSampleLocator const& other)
      : ISampleLocator(other),
        mStream(other.mStream),
        mLocation(other.mLocation),
        mSample(),
        mShown(),
        mHeld(false),
        mWrittenEnd(other.mWrittenEnd) {
    other.Flush();
  }
  COutputFileSampleLocator& operator=(COutputFileSampleLocator const&) = delete;
  // A stream that throws on failure must not end the program from here; the
  // failure stays in its state for Finalize.
  ~COutputFileSampleLocator() override {
    try {
      Flush();
    } catch (...) {
    }
  }

  COutputFileSampleLocator* Clone() const override { return new COutputFileSampleLocator(*this); }
  using ISampleLocator::Equals;

  // Bytes changed through the address are written as well as assigned ones.
  unsigned char* Current() override {
    if (!mHeld) {
      Fetch();
      std::memcpy(mShown, mSample, sizeof mSample);
      mHeld = true;
    }
    return mSample;
  }

  // Nothing to fetch; size is always B.
  void Assign(unsigned char const* bytes, int) override {
    std::memcpy(mSample, bytes, B);
    std::memcpy(mShown, bytes, B);
    mHeld = true;
    Write();
  }

  long Increment(long step) override {
    Flush();
    mHeld = false;
    mLocation += step;
    return step;
  }

  // Positions only: a sample held or not is the same place. Throws
  // std::bad_cast for a locator of another class.
  bool Equals(ISampleLocator const& other) const override {
    return mLocation == dynamic_cast<COutputFileSampleLocator const&>(other).mLocation;
  }

  long GetLocation() const { return mLocation; }

private:
  // The sample at the location as the file holds it. Past what was written
  // the file holds nothing of ours, so the sample is silence without a read;
  // sequential writing thus never reads, and a file opened for writing only
  // can still be written whole. Inside what was written a read that fails or
  // comes short fails the stream: whatever an iterator makes of the silence
  // shown is then never written, and Finalize reports the failure. A file
  // buffer reports a read error by throwing; that fails the stream too.
  void Fetch() {
    std::memset(mSample, 0, sizeof mSample);
    long const whole = B;
    long const written = mWrittenEnd ? *mWrittenEnd - mLocation : whole;
    if (written <= 0) {
      return;
    }
    std::streamsize const wanted = written < whole ? written : whole;
    std::streambuf* buffer = mStream->rdbuf();
    std::streampos const at(mLocation);
    bool read = false;
    try {
      read = buffer && buffer->pubseekpos(at, std::ios::in) == at &&
             buffer->sgetn(reinterpret_cast<char*>(mSample), wanted) == wanted;
    } catch (std::exception const&) {
    }
    if (!read) {
      std::memset(mSample, 0, sizeof mSample);
      mStream->setstate(std::ios::badbit);
    }
  }

  // Const for the copy constructor's sake: it changes what the file holds,
  // not where the locator stands or what it shows.
  void Flush() const {
    if (mHeld && std::memcmp(mSample, mShown, B) != 0) {
      Write();
      std::memcpy(mShown, mSample, sizeof mSample);
    }
  }

  void Write() const {
    std::streampos const at(mLocation);
    if (mStream->tellp() != at) {
      mStream->seekp(at);
    }
    mStream->write(reinterpret_cast<char const*>(mSample), B);
    if (mWrittenEnd && mLocation + B > *mWrittenEnd) {
      *mWrittenEnd = mLocation + B;
    }
  }

  boost::shared_ptr<std::ostream> mStream;
  long mLocation;  // of the current sample
  unsigned char mSample[8];
  mutable unsigned char mShown[8];      // what the file holds of mSample, while held
  bool mHeld;                           // mSample holds the current sample
  boost::shared_ptr<long> mWrittenEnd;  // just past the furthest sample written
};

}  // namespace SL
