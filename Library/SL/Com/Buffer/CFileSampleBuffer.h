#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Buffer/ASampleBuffer.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/CFileOutputSampleIterator.h"
#include "SL/Com/Stream/CInputFileSampleLocator.h"
#include "SL/Com/Stream/COutputFileSampleLocator.h"
#include "SL/Com/Buffer/ISampleLocator.h"
#include "SL/Com/Format/CWaveFileFormat.h"
#include "SL/Com/Buffer/IFileSampleBufferMixin.h"

#include <boost/shared_ptr.hpp>

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
      : ASampleBuffer<N>(attribute),
        mFileFormat(format),
        mInputStream(stream),
        mOutputStream(),
        mRange(range),
        mFinalizer(),
        mWrittenEnd() {
    if (mInputStream) mInputStream->seekg(range.begin, std::ios_base::beg);
  }

  // Output buffer, with the header writer.
  CFileSampleBuffer(CWaveFileFormat const& format, CSampleAttribute const& attribute,
                    boost::shared_ptr<std::ostream> stream, GT::CRange<long> const& range,
                    CFileOutputFinalizer finalizer)
      : ASampleBuffer<N>(attribute),
        mFileFormat(format),
        mInputStream(),
        mOutputStream(stream),
        mRange(range),
        mFinalizer(finalizer),
        mWrittenEnd(new long(range.begin)) {
    if (mOutputStream) mOutputStream->seekp(range.begin, std::ios_base::beg);
  }

  ~CFileSampleBuffer() override {}

  enum { B = BytesOf(N) };

  bool IsSequential() const override { return false; }
  unsigned char* Begin() override { return nullptr; }
  unsigned char* End() override { return nullptr; }
  unsigned char* At(long) override { return nullptr; }

  long LowerBound() const override { return mRange.begin; }
  long UpperBound() const override { return mRange.end; }
  long Distance() const override { return mRange.end - mRange.begin; }

  boost::shared_ptr<ISampleLocator> CreateLocator(long location) override {
    if (mInputStream)
      return boost::shared_ptr<ISampleLocator>(
          new CInputFileSampleLocator<N>(mInputStream, location));
    if (mOutputStream)
      return boost::shared_ptr<ISampleLocator>(
          new COutputFileSampleLocator<N>(mOutputStream, location, mWrittenEnd));
    return boost::shared_ptr<ISampleLocator>();
  }

  CWaveFileFormat GetFileFormat() const override { return mFileFormat; }

  // Writes the header for the samples from the range's start to the
  // furthest sample written through this buffer's iterators. Where the
  // stream stands says nothing: every iterator made moves it (an open
  // range's end iterator to its far end), and a header's pad byte lies past
  // the samples. An input buffer has nothing to finish.
  bool Finalize() override {
    if (!mOutputStream || !mFinalizer || mOutputStream->fail()) return false;
    return mFinalizer(this->mAttribute, mOutputStream,
                      GT::CRange<long>(mRange.begin, *mWrittenEnd));
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
  boost::shared_ptr<long> mWrittenEnd;  // shared with the output locators
};

}  // namespace SL
