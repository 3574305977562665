#include "SL/Com/Kvac/CKvacBatchCoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"
#include "Support/KvacBlocks.h"

namespace {

long const kFrames = 16;

// Interleaved frames of a few kinds, chosen so that the coder's guessed
// starting values for runs after the first are often wrong.
enum ESignal { eNoise, eRails, eAlternating, eSteps, eMixed };

std::vector<short> Signal(ESignal kind, long blocks, int channels, unsigned seed) {
  std::vector<short> out(static_cast<std::size_t>(blocks * kFrames * channels));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> full(-32768, 32767);
  for (std::size_t i = 0; i < out.size(); ++i) {
    long const frame = static_cast<long>(i) / channels;
    long const block = frame / kFrames;
    int v = 0;
    switch (kind) {
      case eNoise:
        v = full(random);
        break;
      case eRails:
        v = (random() & 1) ? 32767 : -32768;
        break;
      case eAlternating:
        v = (frame & 1) ? 32767 : -32768;
        break;
      case eSteps: {
        // A level per few blocks, jumping far, with some quiet noise on it.
        std::uint32_t h = static_cast<std::uint32_t>(block / 3) * 2654435761u +
                          static_cast<std::uint32_t>(i % channels);
        v = static_cast<int>(h >> 16) - 32768 + static_cast<int>(random() % 7) - 3;
        v = std::max(-32768, std::min(32767, v));
        break;
      }
      case eMixed: {
        // Each block its own character: silence, quiet, loud, rails, ramps.
        std::uint32_t const h = static_cast<std::uint32_t>(block) * 2246822519u;
        switch ((h >> 13) % 5) {
          case 0:
            v = 0;
            break;
          case 1:
            v = static_cast<int>(random() % 17) - 8;
            break;
          case 2:
            v = full(random);
            break;
          case 3:
            v = (random() & 1) ? 32767 : -32768;
            break;
          default:
            v = static_cast<int>((frame * 1237) % 65536) - 32768;
            break;
        }
        break;
      }
    }
    out[i] = static_cast<short>(v);
  }
  return out;
}

// The codec run block by block over one channel, carrying the value on.
std::vector<unsigned char> ReferenceEncode(std::vector<short> const& pcm, int channels, int channel,
                                           int bits, int* prev) {
  long const blocks = static_cast<long>(pcm.size()) / (kFrames * channels);
  std::vector<unsigned char> out(static_cast<std::size_t>(blocks * 2 * bits));
  SL::Private::compressor encoder;
  for (long b = 0; b < blocks; ++b) {
    short block[kFrames];
    for (long i = 0; i < kFrames; ++i)
      block[i] = pcm[static_cast<std::size_t>((b * kFrames + i) * channels + channel)];
    *prev = encoder.compress(block, &out[static_cast<std::size_t>(b * 2 * bits)], *prev, bits);
  }
  return out;
}

// Decodes one channel's blocks into its lane of interleaved frames.
void ReferenceDecode(std::vector<unsigned char> const& coded, int channels, int channel, int bits,
                     int* prev, std::vector<short>* pcm) {
  long const blocks = static_cast<long>(coded.size()) / (2 * bits);
  pcm->resize(static_cast<std::size_t>(blocks * kFrames * channels));
  SL::Private::expander decoder;
  for (long b = 0; b < blocks; ++b) {
    short block[kFrames];
    *prev = decoder.expand(&coded[static_cast<std::size_t>(b * 2 * bits)], block, *prev, bits);
    for (long i = 0; i < kFrames; ++i)
      (*pcm)[static_cast<std::size_t>((b * kFrames + i) * channels + channel)] = block[i];
  }
}

std::vector<unsigned char*> Pointers(std::vector<std::vector<unsigned char> >& coded) {
  std::vector<unsigned char*> out;
  for (auto& bytes : coded) out.push_back(bytes.data());
  return out;
}

std::vector<unsigned char const*> ConstPointers(
    std::vector<std::vector<unsigned char> > const& coded) {
  std::vector<unsigned char const*> out;
  for (auto const& bytes : coded) out.push_back(bytes.data());
  return out;
}

// Encodes consecutive batches of the given sizes with one coder; every
// batch's bytes and carried values must be those of the plain block chain.
// Returns the blocks the coder coded again.
long EncodeBatchesAgainstReference(ESignal kind, int bits, int channels, int workers,
                                   std::vector<long> const& sizes, unsigned seed) {
  SL::CKvacBatchCoder coder(bits, channels, workers);
  EXPECT_EQ(2L * bits, coder.GetBlockBytes());
  std::vector<int> prev(static_cast<std::size_t>(channels), 0);
  std::string const where = "signal " + std::to_string(kind) + ", bits " + std::to_string(bits) +
                            ", channels " + std::to_string(channels) + ", workers " +
                            std::to_string(workers);
  for (std::size_t k = 0; k < sizes.size(); ++k) {
    long const blocks = sizes[k];
    auto const pcm = Signal(kind, blocks, channels, seed + static_cast<unsigned>(k));
    // Room past the batch, filled with a marker that must stay.
    std::vector<std::vector<unsigned char> > coded(
        static_cast<std::size_t>(channels),
        std::vector<unsigned char>(static_cast<std::size_t>((blocks + 1) * 2 * bits), 0xA5));
    coder.StartEncode(pcm.data(), blocks, Pointers(coded));
    coder.Wait();
    for (int c = 0; c < channels; ++c) {
      auto expected = ReferenceEncode(pcm, channels, c, bits, &prev[static_cast<std::size_t>(c)]);
      expected.resize(expected.size() + static_cast<std::size_t>(2 * bits), 0xA5);
      EXPECT_TRUE(expected == coded[static_cast<std::size_t>(c)])
          << where << ", batch " << k << " (" << blocks << " blocks), channel " << c;
      EXPECT_EQ(prev[static_cast<std::size_t>(c)], coder.GetPrev(c))
          << where << ", batch " << k << ", channel " << c;
    }
  }
  return coder.GetRecodedBlocks();
}

std::vector<long> const kSizes = {1, 7, 1001, 4099, 300, 64, 2048};

TEST(KvacBatchCoderThreaded, EncodingEqualsTheBlockChainForAnyWorkerCount) {
  for (int workers = 1; workers <= 4; ++workers) {
    for (int channels = 1; channels <= 3; ++channels) {
      for (int bits : {4, 8}) {
        EncodeBatchesAgainstReference(eMixed, bits, channels, workers, kSizes,
                                      100u * workers + channels);
      }
    }
  }
}

// Signals that defeat the guessed starting values: the mended blocks must
// still come out as one pass would code them, and mending must have happened
// for these, or the split was never checked.
TEST(KvacBatchCoderThreaded, WrongGuessesAreMendedToTheBlockChain) {
  long recoded = 0;
  for (ESignal kind : {eNoise, eRails, eAlternating, eSteps}) {
    for (int bits : {4, 5, 8}) {
      for (int channels : {1, 2}) {
        for (int workers : {2, 4}) {
          recoded += EncodeBatchesAgainstReference(kind, bits, channels, workers, {4099, 1001, 777},
                                                   7u + kind);
        }
      }
    }
  }
  EXPECT_GT(recoded, 0);
}

// A part boundary where the guess is wrong and the two chains stay apart
// for several blocks: mending must go on until they meet, not stop early.
TEST(KvacBatchCoderThreaded, MendingFollowsALongDivergence) {
  int const bits = 5;
  long const blocks = 1024, boundary = 512, apart = 6;  // 512 starts a part for 2 and 4 workers
  auto pcm = Signal(eMixed, blocks, 1, 21);
  SL::Private::compressor encoder;
  unsigned char scratch[16];
  auto chain = [&](long from, long end, int prev) {
    for (long b = from; b < end; ++b)
      prev = encoder.compress(&pcm[static_cast<std::size_t>(b * kFrames)], scratch, prev, bits);
    return prev;
  };
  std::mt19937 random(5);
  auto place = [&](long block) {
    static int const kinds[] = {2, 3, 4, 5, 6, 8, 9};
    auto const made = KvacBlocks::Make(kinds[random() % 7], random);
    std::copy(made.begin(), made.end(), pcm.begin() + block * kFrames);
  };
  // The two blocks the guess is made from, until it is wrong...
  int const before = chain(0, boundary - 2, 0);
  int truth = 0, guess = 0;
  for (int tries = 0; tries < 100000 && truth == guess; ++tries) {
    place(boundary - 2);
    place(boundary - 1);
    truth = chain(boundary - 2, boundary, before);
    guess = chain(boundary - 2, boundary, 0);
  }
  ASSERT_NE(truth, guess);
  // ...then blocks that keep the chains apart.
  for (long b = boundary; b < boundary + apart; ++b) {
    std::vector<short> const keep(pcm.begin() + b * kFrames, pcm.begin() + (b + 1) * kFrames);
    bool found = false;
    for (int tries = 0; tries < 100000 && !found; ++tries) {
      place(b);
      found = chain(b, b + 1, truth) != chain(b, b + 1, guess);
    }
    ASSERT_TRUE(found) << b;
    truth = chain(b, b + 1, truth);
    guess = chain(b, b + 1, guess);
  }
  int prev = 0;
  auto const expected = ReferenceEncode(pcm, 1, 0, bits, &prev);
  for (int workers : {2, 4}) {
    SL::CKvacBatchCoder coder(bits, 1, workers);
    std::vector<std::vector<unsigned char> > coded(1, std::vector<unsigned char>(expected.size()));
    coder.StartEncode(pcm.data(), blocks, Pointers(coded));
    coder.Wait();
    EXPECT_TRUE(expected == coded[0]) << workers;
    EXPECT_EQ(prev, coder.GetPrev(0));
    EXPECT_GE(coder.GetRecodedBlocks(), apart + 1) << workers;
  }
}

// Decoding any bytes: every byte pattern decodes, and the carried value a
// worker restores from the block before its share must be the one the chain
// reaches.
TEST(KvacBatchCoderThreaded, DecodingEqualsTheBlockChainForAnyWorkerCount) {
  for (int workers = 1; workers <= 4; ++workers) {
    for (int channels = 1; channels <= 3; ++channels) {
      for (int bits : {4, 8}) {
        SL::CKvacBatchCoder coder(bits, channels, workers);
        std::vector<int> prev(static_cast<std::size_t>(channels), 0);
        std::mt19937 random(static_cast<unsigned>(workers * 10 + channels + bits));
        for (std::size_t k = 0; k < kSizes.size(); ++k) {
          long const blocks = kSizes[k];
          std::vector<std::vector<unsigned char> > coded(static_cast<std::size_t>(channels));
          std::vector<short> expected;
          for (int c = 0; c < channels; ++c) {
            auto& bytes = coded[static_cast<std::size_t>(c)];
            if (k % 2 == 0) {
              bytes.resize(static_cast<std::size_t>(blocks * 2 * bits));
              for (auto& b : bytes) b = static_cast<unsigned char>(random());
            } else {
              int from = 0;
              bytes = ReferenceEncode(Signal(eMixed, blocks, 1, static_cast<unsigned>(k + c)), 1, 0,
                                      bits, &from);
            }
            ReferenceDecode(bytes, channels, c, bits, &prev[static_cast<std::size_t>(c)],
                            &expected);
          }
          std::vector<short> pcm(expected.size() + 5, 12345);
          coder.StartDecode(ConstPointers(coded), blocks, pcm.data());
          coder.Wait();
          EXPECT_TRUE(std::equal(expected.begin(), expected.end(), pcm.begin()))
              << "workers " << workers << ", channels " << channels << ", bits " << bits
              << ", batch " << k;
          EXPECT_EQ(std::vector<short>(5, 12345), std::vector<short>(pcm.end() - 5, pcm.end()));
          for (int c = 0; c < channels; ++c) {
            EXPECT_EQ(prev[static_cast<std::size_t>(c)], coder.GetPrev(c))
                << "channel " << c << ", batch " << k;
          }
        }
      }
    }
  }
}

// Decoding from the middle: the carried values come from the block before,
// or from zero after ResetPrev.
TEST(KvacBatchCoderThreaded, RestorePrevResumesDecodingMidStream) {
  int const bits = 7, channels = 2;
  long const blocks = 3000, from = 1234;
  auto const pcm = Signal(eMixed, blocks, channels, 3);
  std::vector<std::vector<unsigned char> > coded(channels);
  std::vector<short> all;
  for (int c = 0; c < channels; ++c) {
    int prev = 0;
    coded[static_cast<std::size_t>(c)] = ReferenceEncode(pcm, channels, c, bits, &prev);
    prev = 0;
    ReferenceDecode(coded[static_cast<std::size_t>(c)], channels, c, bits, &prev, &all);
  }
  SL::CKvacBatchCoder coder(bits, channels, 3);
  std::vector<short> out(static_cast<std::size_t>((blocks - from) * kFrames * channels));
  std::vector<unsigned char const*> before, rest;
  for (auto const& bytes : coded) {
    before.push_back(bytes.data() + (from - 1) * 2 * bits);
    rest.push_back(bytes.data() + from * 2 * bits);
  }
  // Garbage carried values first, as after decoding elsewhere in the file.
  coder.StartDecode(rest, blocks - from, out.data());
  coder.RestorePrev(before);
  coder.StartDecode(rest, blocks - from, out.data());
  coder.Wait();
  EXPECT_TRUE(std::equal(out.begin(), out.end(), all.begin() + from * kFrames * channels));

  coder.ResetPrev();
  EXPECT_EQ(0, coder.GetPrev(0));
  EXPECT_EQ(0, coder.GetPrev(1));
  std::vector<short> start(static_cast<std::size_t>(blocks * kFrames * channels));
  coder.StartDecode(ConstPointers(coded), blocks, start.data());
  coder.Wait();
  EXPECT_TRUE(start == all);
}

}  // namespace
