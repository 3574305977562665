#pragma once

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>
#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Kvac/CKvacBatch.h"
#include "SL/Com/Kvac/CKvacBatchCoder.h"
#include "SL/Com/Stream/ITypedOutputSampleIterator.h"

namespace SL {

// Writes an interleaved 16-bit stream into the device's compressed files,
// one stream per channel: every 16 frames become one coded block in each
// stream. Blocks are gathered into large batches, coded on worker threads
// while the next batch fills, and written batch by batch; FinalFlush writes
// what is left. Destroying it writes nothing: the owner calls FinalFlush
// (itself or from the finaliser) and Finalize.
class CKvacFileOutputSampleIterator final : public ITypedOutputSampleIterator<nInteger16> {
public:
  typedef boost::function<bool(CKvacFileOutputSampleIterator&, GT::CRange<long> const&)> CFinalizer;

  // bits: coded bits per sample (4 to 8); range: first byte and limit of the
  // coded data in every stream.
  CKvacFileOutputSampleIterator(int bits, CSampleAttribute const& attribute,
                                std::vector<boost::shared_ptr<std::ostream> > const& streams,
                                GT::CRange<long> const& range, CFinalizer finalizer);
  ~CKvacFileOutputSampleIterator() override;

  // A block is only started where a whole block fits before the limit.
  bool HasNext() override { return mOpen; }
  void Next() override {
    if (++mCursor == mBlockEnd) {
      CompleteBlock();
    }
  }
  CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  bool IsValid() const override { return mValid; }
  long ToCurrentFrame(long frames) const override { return frames; }
  void Set(short const& sample) override { *mCursor = sample; }
  void SetLocation(long) override {}
  long GetLocation() const override { return 0; }
  long TellLocation(long) const override { return 0; }

  // Codes and writes every complete block still held to every stream;
  // false when a stream has failed before or by the write.
  bool Flush();
  // Completes a partial last block with zeros and writes it, then flushes
  // every stream; false when any stream has failed, also when no block was
  // pending.
  bool FinalFlush();
  // Runs the finaliser once per channel stream with the bytes written so far.
  bool Finalize();

private:
  __attribute__((noinline)) void CompleteBlock();
  bool StreamsGood() const;
  void Reserve(CKvacBatch& batch) const;
  bool Submit();
  bool Collect();
  void UpdateOpen() { mOpen = mValid && mPosition + mBlockBytes <= mRange.end; }

  CSampleAttribute mAttribute;
  std::vector<boost::shared_ptr<std::ostream> > mStreams;
  GT::CRange<long> mRange;
  CFinalizer mFinalizer;
  long mPosition;
  long mBlockBytes;  // coded bytes of one block of one channel
  bool mOpen;        // valid, and one more block fits before the limit
  bool mValid;
  int mChannels;
  long mBlockSamples;
  CKvacBatch mFill;    // being filled by Set
  CKvacBatch mCoding;  // being coded, then written
  long mBatchBlocks;   // blocks of the batch being filled
  bool mInFlight;      // mCoding holds blocks not yet written
  bool mFinalFlushed;  // the streams were flushed with nothing pending
  std::unique_ptr<CKvacBatchCoder> mCoder;
  // Hot path: where Set writes, the current block, and the block's end. The
  // block is typed, so that Set's store aliases no other member.
  short* mBlockBegin;
  short* mCursor;
  short* mBlockEnd;
  short mNoBlock[1];
};

}  // namespace SL
