#pragma once

#include <boost/shared_ptr.hpp>
#include <cstring>
#include <istream>
#include <memory>
#include <vector>

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Kvac/CKvacBatch.h"
#include "SL/Com/Kvac/CKvacBatchCoder.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"

namespace SL {

// Reads the device's compressed files, one stream per channel (channel 0
// first), as one interleaved 16-bit stream of the attribute's frame count.
// A stream that cannot deliver a whole block it must hold (failed,
// truncated or unreadable) ends the stream there and clears the valid flag;
// nothing is thrown. Blocks are read and decoded a large batch at a time,
// the next batch on worker threads while this one is taken.
class CKvacFileInputSampleIterator final : public ITypedInputSampleIterator<nInteger16> {
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
  // A batch of the stream, read from block `first` on. Batches start small
  // again after every positioning.
  struct SBatch : CKvacBatch {
    long first = 0;       // index of its first block
    bool failed = false;  // the block after the whole blocks read could not be read
  };

  void Reserve(SBatch& batch, long blocks) const;
  void Read(SBatch& batch);
  void Decode(SBatch& batch);
  void Show();
  void Prefetch();
  void Prime(long block);
  void ShowNothing(long samples);
  __attribute__((noinline, cold)) void NextBlock();
  void SeekBlock(long block);
  void Invalidate();

  CSampleAttribute mAttribute;
  std::vector<boost::shared_ptr<std::istream> > mStreams;
  std::vector<std::streambuf*> mBuffers;  // each stream's buffer, read a batch at a time
  long mOffset;
  long mSampleCount;  // frames x channels
  bool mValid;
  int mChannels;
  long mBlockSamples;
  long mBlockBytes;
  long mBlockCount;   // blocks that hold samples of the stream
  long mNextBlock;    // the block the streams deliver next
  bool mReadFailed;   // the streams cannot deliver mNextBlock
  long mReadBlocks;   // blocks the next batch reads
  SBatch mFront;      // being taken
  SBatch mBack;       // the next one, being decoded
  bool mBackPending;  // mBack holds the batch after mFront
  std::unique_ptr<CKvacBatchCoder> mCoder;
  long mBlockStart;                // samples before the front batch
  unsigned char const* mPcm;       // the front batch's frames
  unsigned char const* mCurrent;   // the current sample in it
  unsigned char const* mEnd;       // past the last sample of the stream in it; mPcm once failed
  unsigned char const* mBlockEnd;  // past the batch's last sample
};

}  // namespace SL
