#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "SL/Com/Kvac/KvacBlock.h"

namespace SL {

// Blocks of interleaved 16-bit frames and their coded bytes, one buffer per
// channel: what the device file iterators hand to the batch coder. Batches
// start small, so that short streams cost little and the first samples come
// soon, and grow to kMaxBlocks.
struct CKvacBatch {
  enum : long { kFirstBlocks = 512, kMaxBlocks = 16384 };
  // Samples of one batch at most, whatever the channel count: an absurd count
  // gets batches of a single block, not of gigabytes.
  enum : long { kMaxSamples = kMaxBlocks * nKvacBlockFrames * 2 };

  // That many blocks of blockSamples samples, fewer when they would pass
  // kMaxSamples, and one at least.
  static long Capped(long blocks, long blockSamples) {
    return std::max(1L, std::min(blocks, kMaxSamples / std::max(blockSamples, 1L)));
  }

  std::vector<short> pcm;
  std::vector<std::vector<unsigned char> > coded;
  long blocks = 0;

  // Room for at least `capacity` blocks (and one); what is held stays.
  void Reserve(long capacity, int channels, long blockSamples, long blockBytes) {
    capacity = std::max(capacity, 1L);
    std::size_t const samples = static_cast<std::size_t>(capacity * blockSamples);
    if (pcm.size() < samples) pcm.resize(samples);
    coded.resize(static_cast<std::size_t>(channels));
    for (auto& bytes : coded) {
      std::size_t const size = static_cast<std::size_t>(capacity * blockBytes);
      if (bytes.size() < size) bytes.resize(size);
    }
  }
  std::vector<unsigned char*> CodedOut() {
    std::vector<unsigned char*> out;
    for (auto& bytes : coded) out.push_back(bytes.data());
    return out;
  }
  std::vector<unsigned char const*> CodedIn() const {
    std::vector<unsigned char const*> in;
    for (auto const& bytes : coded) in.push_back(bytes.data());
    return in;
  }
};

}  // namespace SL
