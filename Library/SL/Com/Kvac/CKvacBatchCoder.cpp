#include "SL/Com/Kvac/CKvacBatchCoder.h"

#include <algorithm>
#include <thread>

#include "GT/Com/Thread/CWorkerPool.h"
#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

namespace SL {

namespace {
// Below this many blocks (all channels) a batch is coded on the caller's
// thread: handing it over would cost more than it saves.
long const kThreadedBlocks = 256;
long const kFrames = nKvacBlockFrames;
}  // namespace

struct CKvacBatchCoder::SJob {
  bool finish = false;  // an encoding whose parts are still to be joined
  long blocks = 0;
  int parts = 1;  // runs each channel is split into
  short const* pcmIn = nullptr;
  short* pcmOut = nullptr;
  std::vector<unsigned char*> codedOut;
  std::vector<unsigned char const*> codedIn;
  std::vector<int> prevIn;                 // carried values at the batch's start
  std::vector<std::vector<int> > last;     // per channel: each block's carried value out
  std::vector<std::vector<int> > guessed;  // per channel: the value each part started from
};

CKvacBatchCoder::CKvacBatchCoder(int bits, int channels, int workers)
    : mBits(bits),
      mChannels(std::max(channels, 0)),
      mPrev(static_cast<std::size_t>(mChannels), 0),
      mJob(new SJob),
      mOwnPool(workers > 0 ? new GT::CWorkerPool(workers) : nullptr),
      mPool(mOwnPool ? mOwnPool.get() : &GT::CWorkerPool::Shared()),
      mRunning(0),
      mRecoded(0) {}

CKvacBatchCoder::~CKvacBatchCoder() { Wait(); }

void CKvacBatchCoder::Post(int count, std::function<void(int)> task) {
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mRunning += count;
  }
  auto shared = std::make_shared<std::function<void(int)> >(std::move(task));
  for (int i = 0; i < count; ++i) {
    mPool->Post([this, shared, i] {
      (*shared)(i);
      std::lock_guard<std::mutex> lock(mMutex);
      if (--mRunning == 0) {
        mDone.notify_all();
      }
    });
  }
}

void CKvacBatchCoder::Wait() {
  {
    std::unique_lock<std::mutex> lock(mMutex);
    mDone.wait(lock, [this] { return mRunning == 0; });
  }
  if (mJob->finish) {
    JoinParts();
  }
}

void CKvacBatchCoder::ResetPrev() {
  Wait();
  std::fill(mPrev.begin(), mPrev.end(), 0);
}

void CKvacBatchCoder::RestorePrev(std::vector<unsigned char const*> const& coded) {
  Wait();
  Private::expander decoder;
  short scratch[kFrames];
  for (int c = 0; c < mChannels; ++c) {
    mPrev[c] = decoder.expand(coded[c], scratch, 0, mBits);
  }
}

void CKvacBatchCoder::StartEncode(short const* pcm, long blocks,
                                  std::vector<unsigned char*> const& coded) {
  Wait();
  SJob& job = *mJob;
  job.blocks = blocks;
  job.pcmIn = pcm;
  job.codedOut = coded;
  job.prevIn = mPrev;
  job.last.resize(static_cast<std::size_t>(mChannels));
  job.guessed.resize(static_cast<std::size_t>(mChannels));
  for (auto& last : job.last) {
    if (static_cast<long>(last.size()) < blocks) last.resize(static_cast<std::size_t>(blocks));
  }
  bool const threaded = blocks * mChannels >= kThreadedBlocks && mPool->GetSize() > 0;
  int const n = threaded ? mPool->GetSize() : 1;
  // Spare workers split the channels in time.
  job.parts =
      static_cast<int>(std::max(1L, std::min<long>(n / std::max(mChannels, 1), blocks / 64)));
  for (auto& guessed : job.guessed) guessed.assign(static_cast<std::size_t>(job.parts), 0);
  job.finish = blocks > 0;
  int const tasks = mChannels * job.parts;
  if (!threaded) {
    for (int t = 0; t < tasks; ++t) EncodePart(t % mChannels, t / mChannels, job);
    JoinParts();
    return;
  }
  Post(std::min(n, tasks), [this, n, tasks](int w) {
    for (int t = w; t < tasks; t += n) EncodePart(t % mChannels, t / mChannels, *mJob);
  });
}

void CKvacBatchCoder::StartDecode(std::vector<unsigned char const*> const& coded, long blocks,
                                  short* pcm) {
  Wait();
  SJob& job = *mJob;
  job.finish = false;
  job.blocks = blocks;
  job.pcmOut = pcm;
  job.codedIn = coded;
  job.prevIn = mPrev;
  if (blocks * mChannels < kThreadedBlocks || mPool->GetSize() == 0) {
    DecodeRun(0, 1, job);
    return;
  }
  int const n = mPool->GetSize();
  Post(n, [this, n](int w) { DecodeRun(w, n, *mJob); });
}

namespace {
// Encodes blocks [first, end) of one channel of interleaved frames from the
// given carried value into coded (block first's bytes, then every step
// bytes); records each block's carried value out when asked.
int EncodeRange(Private::compressor& encoder, short const* pcm, int channels, int channel,
                long first, long end, unsigned char* coded, long step, int bits, int prev,
                int* last) {
  short samples[kFrames];
  for (long b = first; b < end; ++b, coded += step) {
    short const* from = pcm + b * kFrames * channels + channel;
    if (channels == 1) {
      prev = encoder.compress(from, coded, prev, bits);
    } else {
      for (long i = 0; i < kFrames; ++i, from += channels) samples[i] = *from;
      prev = encoder.compress(samples, coded, prev, bits);
    }
    if (last) last[b] = prev;
  }
  return prev;
}
}  // namespace

// The coding is closed-loop: a part after the first starts from a guess,
// the carried value that the two blocks before it give from zero. Where the
// guess is wrong, JoinParts codes those blocks again.
void CKvacBatchCoder::EncodePart(int channel, int part, SJob& job) {
  Private::compressor encoder;
  long const first = job.blocks * part / job.parts;
  long const end = job.blocks * (part + 1) / job.parts;
  int prev = job.prevIn[channel];
  if (part > 0) {
    unsigned char scratch[KvacBlockBytes(8)];  // the largest block
    prev = EncodeRange(encoder, job.pcmIn, mChannels, channel, std::max(0L, first - 2), first,
                       scratch, 0, mBits, 0, nullptr);
    job.guessed[channel][part] = prev;
  }
  EncodeRange(encoder, job.pcmIn, mChannels, channel, first, end,
              job.codedOut[channel] + first * GetBlockBytes(), GetBlockBytes(), mBits, prev,
              job.last[channel].data());
}

// Makes the parts one chain: from each part's true starting value, blocks
// are coded again until a block gives the carried value the guess gave;
// from there on everything is as it was.
void CKvacBatchCoder::JoinParts() {
  SJob& job = *mJob;
  job.finish = false;
  if (job.blocks <= 0) {
    return;  // nothing coded: the carried values stay
  }
  Private::compressor encoder;
  for (int c = 0; c < mChannels; ++c) {
    std::vector<int>& last = job.last[c];
    for (int part = 1; part < job.parts; ++part) {
      long const first = job.blocks * part / job.parts;
      int prev = last[first - 1];
      if (prev == job.guessed[c][part]) {
        continue;
      }
      for (long b = first; b < job.blocks; ++b) {
        prev = EncodeRange(encoder, job.pcmIn, mChannels, c, b, b + 1,
                           job.codedOut[c] + b * GetBlockBytes(), 0, mBits, prev, nullptr);
        bool const same = prev == last[b];
        last[b] = prev;
        ++mRecoded;
        if (same) break;
      }
    }
    mPrev[c] = last[job.blocks - 1];
  }
}

// Worker w of n decodes its share of the blocks of every channel. All but
// the first take their carried values from the block before their share;
// the last one leaves the carried values for the next batch.
void CKvacBatchCoder::DecodeRun(int worker, int workers, SJob const& job) {
  long const first = job.blocks * worker / workers;
  long const end = job.blocks * (worker + 1) / workers;
  if (first == end) {
    return;
  }
  Private::expander decoder;
  short samples[kFrames];
  long const step = GetBlockBytes();
  std::vector<int> prev(job.prevIn);
  if (first > 0) {
    for (int c = 0; c < mChannels; ++c) {
      prev[c] = decoder.expand(job.codedIn[c] + (first - 1) * step, samples, 0, mBits);
    }
  }
  short* to = job.pcmOut + first * kFrames * mChannels;
  for (long b = first; b < end; ++b) {
    long const at = b * step;
    if (mChannels == 1) {
      prev[0] = decoder.expand(job.codedIn[0] + at, to, prev[0], mBits);
      to += kFrames;
      continue;
    }
    for (int c = 0; c < mChannels; ++c) {
      prev[c] = decoder.expand(job.codedIn[c] + at, samples, prev[c], mBits);
      short* lane = to + c;
      for (long i = 0; i < kFrames; ++i, lane += mChannels) *lane = samples[i];
    }
    to += kFrames * mChannels;
  }
  if (end == job.blocks) {
    mPrev = prev;
  }
}

}  // namespace SL
