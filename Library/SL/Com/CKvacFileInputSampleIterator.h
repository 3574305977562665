#pragma once

#include <boost/shared_ptr.hpp>
#include <cstring>
#include <istream>
#include <vector>

#include "SL/Com/CKvacCoder.h"
#include "SL/Com/ITypedInputSampleIterator.h"

namespace SL {

// Reads the device's compressed files, one stream per channel (channel 0
// first), as one interleaved 16-bit stream of the attribute's frame count.
// A stream that cannot deliver a whole block it must hold (failed or
// truncated) ends the stream there and clears the valid flag.
class CKvacFileInputSampleIterator final : public ITypedInputSampleIterator<65552> {
public:
  // bits: coded bits per sample (4 to 8); offset: byte position of the first
  // coded block in every stream.
  CKvacFileInputSampleIterator(int bits, CSampleAttribute const& attribute,
                               std::vector<boost::shared_ptr<std::istream> > const& streams,
                               long offset);
  ~CKvacFileInputSampleIterator() override;

  // Per sample only a pointer into the decoded block moves; the readable end
  // holds the stream's end and its failure, so the copy loop tests one limit.
  bool HasNext() override { return mCurrent < mEnd; }
  void Next() override {
    mCurrent += 2;
    if (__builtin_expect(mCurrent == mBlockEnd, 0)) {
      NextBlock();
    }
  }
  CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  bool IsValid() const override { return mValid; }
  long ToCurrentFrame(long frames) const override { return frames; }
  short Get() override {
    short sample;
    std::memcpy(&sample, mCurrent, 2);
    return sample;
  }
  // Positions on the first sample of the frame; the samples delivered from
  // there are those a read from the start would deliver.
  void SetLocation(long frame) override;
  long GetLocation() const override;
  long TellLocation(long offset) const override { return GetLocation() + offset; }

private:
  enum : long { kReadAheadBlocks = 4096 };
  // Coded bytes read from one stream and not yet decoded.
  struct SReadAhead {
    std::vector<unsigned char> bytes;
    std::size_t at = 0;
    std::size_t end = 0;
  };

  bool LoadBlock();
  bool ReadAhead(int channel);
  __attribute__((noinline, cold)) void NextBlock();
  void SeekBlock(long block);
  void ResetCoder();
  void Invalidate();
  void SetBlockStart(long samples);

  CSampleAttribute mAttribute;
  std::vector<boost::shared_ptr<std::istream> > mStreams;
  std::vector<std::streambuf*> mBuffers;  // each stream's buffer, read a block at a time
  long mOffset;
  long mSampleCount;  // frames x channels
  boost::shared_ptr<CKvacCoder> mCoder;
  bool mValid;
  int mBits;
  int mChannels;
  long mBlockSamples;
  std::vector<int> mUnitOffsets;
  std::vector<std::vector<int> > mChannelLists;
  long mBlockStart;  // samples before the loaded block
  unsigned char const* mPcm;       // the decoded block
  unsigned char const* mCurrent;   // the current sample in it
  unsigned char const* mEnd;       // past the last sample of the stream in it; mPcm once failed
  unsigned char const* mBlockEnd;  // past the block's last sample
  std::vector<SReadAhead> mReadAhead;  // per stream
  long mNextBlock;                     // the block the streams deliver next
};

}  // namespace SL
