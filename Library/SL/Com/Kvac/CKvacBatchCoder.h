#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "SL/Com/Kvac/KvacBlock.h"

namespace GT {
class CWorkerPool;
}

namespace SL {

// Codes many blocks of the device's per-channel files at once, on worker
// threads when the batch is large enough to pay for them, so that a file
// iterator can go on with the next batch meanwhile.
//
// Each channel's blocks form a chain through their carried values. Decoding
// can be split in time, since a block's carried value is stored directly in
// the block before it: each worker decodes a run of blocks of every channel
// into a range of interleaved frames of its own. Encoding is closed-loop, so
// a run that does not start the batch starts from a guess, checked and
// mended when the batch is waited for; the result is that of one pass.
class CKvacBatchCoder {
public:
  // bits: coded bits per sample, 4 to 8; workers: threads of a pool of its
  // own to code on, or 0 for the program's shared pool.
  CKvacBatchCoder(int bits, int channels, int workers = 0);
  ~CKvacBatchCoder();
  CKvacBatchCoder(CKvacBatchCoder const&) = delete;
  CKvacBatchCoder& operator=(CKvacBatchCoder const&) = delete;

  int GetBits() const { return mBits; }
  int GetChannelCount() const { return mChannels; }
  long GetBlockBytes() const { return KvacBlockBytes(mBits); }

  // Codes blocks whole blocks of interleaved frames, channel c into coded[c]
  // (blocks x GetBlockBytes() bytes), each channel going on from its carried
  // value. May return before the work is done: neither buffer may be touched
  // before Wait.
  void StartEncode(short const* pcm, long blocks, std::vector<unsigned char*> const& coded);
  // Decodes blocks blocks of every channel's coded bytes into interleaved
  // frames; the same rules.
  void StartDecode(std::vector<unsigned char const*> const& coded, long blocks, short* pcm);
  void Wait();

  // Blocks coded a second time because a run started from a wrong guess.
  long GetRecodedBlocks() const { return mRecoded; }

  // Carried values: each channel's reconstructed last sample.
  int GetPrev(int channel) const { return mPrev[channel]; }
  void ResetPrev();
  // Takes the carried value of every channel from the block before the next
  // one to decode (coded[c] holds one block of channel c).
  void RestorePrev(std::vector<unsigned char const*> const& coded);

private:
  struct SJob;
  void EncodePart(int channel, int part, SJob& job);
  void JoinParts();
  void DecodeRun(int worker, int workers, SJob const& job);
  // Runs task(0) to task(count - 1) on the pool; Wait waits for them.
  void Post(int count, std::function<void(int)> task);

  int mBits;
  int mChannels;
  std::vector<int> mPrev;
  std::unique_ptr<SJob> mJob;
  std::unique_ptr<GT::CWorkerPool> mOwnPool;
  GT::CWorkerPool* mPool;
  std::mutex mMutex;
  std::condition_variable mDone;
  int mRunning;  // tasks posted and not yet finished
  long mRecoded;
};

}  // namespace SL
