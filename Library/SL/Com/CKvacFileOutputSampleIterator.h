#pragma once

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>
#include <cstring>
#include <ostream>
#include <vector>

#include "GT/Com/CRange.h"
#include "SL/Com/CKvacCoder.h"
#include "SL/Com/ITypedOutputSampleIterator.h"

namespace SL {

// Writes an interleaved 16-bit stream into the device's compressed files,
// one stream per channel: every 16 frames become one coded block in each
// stream. Destroying it writes nothing: the owner calls FinalFlush (itself
// or from the finaliser) and Finalize.
class CKvacFileOutputSampleIterator final : public ITypedOutputSampleIterator<65552> {
public:
  typedef boost::function<bool(CKvacFileOutputSampleIterator&, GT::CRange<long> const&)>
      CFinalizer;

  // bits: coded bits per sample (4 to 8); range: first byte and limit of the
  // coded data in every stream.
  CKvacFileOutputSampleIterator(int bits, CSampleAttribute const& attribute,
                                std::vector<boost::shared_ptr<std::ostream> > const& streams,
                                GT::CRange<long> const& range, CFinalizer finalizer);
  ~CKvacFileOutputSampleIterator() override;

  // A block is only started where a whole block fits before the limit.
  bool HasNext() override;
  void Next() override {
    if (!mValid) {
      return;
    }
    ++mCount;
    if (++mIndex == mBlockSamples) {
      mIndex = 0;
      CompleteBlock();
    }
  }
  CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  bool IsValid() const override { return mValid; }
  long ToCurrentFrame(long frames) const override { return frames; }
  void Set(short const& sample) override { std::memcpy(mPcm + 2 * mIndex, &sample, 2); }
  void SetLocation(long) override {}
  long GetLocation() const override { return 0; }
  long TellLocation(long) const override { return 0; }

  // Codes and writes the current block to every stream; false when a stream
  // has failed before or by the write.
  bool Flush();
  // Completes a partial last block with zeros and writes it, then flushes
  // every stream; false when any stream has failed, also when no block was
  // pending.
  bool FinalFlush();
  // Runs the finaliser once per channel stream with the bytes written so far.
  bool Finalize();

private:
  void CompleteBlock();

  CSampleAttribute mAttribute;
  std::vector<boost::shared_ptr<std::ostream> > mStreams;
  GT::CRange<long> mRange;
  CFinalizer mFinalizer;
  long mPosition;
  long mCount;
  boost::shared_ptr<CKvacCoder> mCoder;
  bool mValid;
  int mBits;
  int mChannels;
  long mBlockSamples;
  std::vector<int> mUnitOffsets;
  std::vector<std::vector<int> > mChannelLists;
  // Hot-path copies: the index in the block that Set writes, and the block.
  long mIndex;
  unsigned char* mPcm;
  unsigned char mNoBlock[2];
};

}  // namespace SL
