#include "SL/Com/Kvac/CKvacCoder.h"
#include "SL/Com/Kvac/CKvacCoding.h"

#include "Support/KvacBlocks.h"
#include "Support/KvacReference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

// An interleaved block of 16 frames of the given channels, signal kinds
// varying per channel and block.
Bytes MakePcm(int channels, std::mt19937& rng, int block) {
  std::vector<short> samples(16 * channels);
  for (int c = 0; c < channels; ++c) {
    KvacBlocks::Block const b = KvacBlocks::Make(block * 3 + c, rng);
    for (int i = 0; i < 16; ++i) samples[i * channels + c] = b[i];
  }
  Bytes pcm(samples.size() * 2);
  std::memcpy(pcm.data(), samples.data(), pcm.size());
  return pcm;
}

std::vector<short> Channel(Bytes const& pcm, int channels, int c) {
  std::vector<short> out(16);
  for (int i = 0; i < 16; ++i) std::memcpy(&out[i], &pcm[(i * channels + c) * 2], 2);
  return out;
}

SL::CKvacCoder MakeCoder(int bits, int channels) {
  return SL::CKvacCoder(std::make_pair(bits, 16), std::vector<int>(channels, 1), channels,
                        boost::shared_ptr<SL::CKvacCoder::ICoding>(new SL::CKvacCoding(bits)));
}

// Every channel of a stream of blocks codes exactly as the independent
// model does channel by channel, carrying each channel's value, and decodes
// back as the model decodes, at every coded width and channel count.
TEST(CKvacCoding, StreamsOfBlocksCodeAsTheReferenceModelPerChannel) {
  std::mt19937 rng(28);
  for (int bits = 4; bits <= 8; ++bits) {
    for (int channels : {1, 2, 3, 5}) {
      SL::CKvacCoder encoder = MakeCoder(bits, channels);
      SL::CKvacCoder decoder = MakeCoder(bits, channels);
      ASSERT_EQ(32u * channels, encoder.GetPcm().size());
      ASSERT_EQ(2u * bits, encoder.GetCoded(channels - 1).size());
      std::vector<int> encodePrev(channels, 0), decodePrev(channels, 0);
      for (int block = 0; block < 12; ++block) {
        Bytes const pcm = MakePcm(channels, rng, block);
        encoder.GetPcm() = pcm;
        for (int c = 0; c < channels; ++c) {
          int const carried = encoder.Encode({c}, c, {0});
          std::vector<short> const samples = Channel(pcm, channels, c);
          Bytes model(2 * bits);
          KvacReference::SResult const r =
              KvacReference::Encode(samples.data(), model.data(), encodePrev[c], bits);
          encodePrev[c] = r.last;
          ASSERT_EQ(model, encoder.GetCoded(c))
              << bits << " bits, " << channels << " channels, block " << block << " ch " << c;
          EXPECT_EQ(r.last, carried);

          decoder.GetCoded(c) = encoder.GetCoded(c);
          decoder.Decode(c, {0}, {c});
          std::vector<short> expected(16);
          decodePrev[c] =
              KvacReference::Decode(model.data(), expected.data(), decodePrev[c], bits).last;
          ASSERT_EQ(expected, Channel(decoder.GetPcm(), channels, c)) << "block " << block;
        }
      }
    }
  }
}

// The carried values grow per channel index on demand, whichever channel
// comes first, and each call touches only its own channel's samples.
TEST(CKvacCoding, CarriedValuesGrowPerChannelAndStayApart) {
  SL::CKvacCoding coding(8);
  EXPECT_EQ(8, coding.GetBits());
  EXPECT_TRUE(coding.GetPrev().empty());
  std::vector<short> samples(64, 0);
  for (int i = 0; i < 16; ++i) samples[i * 4 + 3] = static_cast<short>(1000 * i - 7000);
  Bytes pcm(128);
  std::memcpy(pcm.data(), samples.data(), pcm.size());
  Bytes coded(16);
  int const carried = coding.Encode(pcm, 4, {3}, coded, 1, {0});
  ASSERT_EQ(4u, coding.GetPrev().size());
  EXPECT_EQ((std::vector<int>{0, 0, 0, carried}), coding.GetPrev());
  EXPECT_NE(0, carried);

  // Decoding channel 1 of a 4-channel block writes channel 1 alone, with the
  // samples the model decodes.
  SL::CKvacCoding decoding(8);
  Bytes out(128, 0xAB);
  decoding.Decode(coded, 1, {0}, out, 4, {1});
  EXPECT_EQ(2u, decoding.GetPrev().size());
  std::vector<short> decoded(16);
  KvacReference::Decode(coded.data(), decoded.data(), 0, 8);
  for (int i = 0; i < 16; ++i) {
    for (int c = 0; c < 4; ++c) {
      short v;
      std::memcpy(&v, &out[(i * 4 + c) * 2], 2);
      EXPECT_EQ(c == 1 ? decoded[i] : static_cast<short>(0xABAB), v) << i << " " << c;
    }
  }
  // The decoder reconstructs what the encoder carried.
  EXPECT_EQ(carried, decoding.GetPrev()[1]);
}

// A copy (clone, copy construction, assignment) carries the values, so it
// codes the next block of a channel exactly as the original; a coder copy
// has buffers of its own.
TEST(CKvacCoding, CopiesCodeTheNextBlockIdentically) {
  std::mt19937 rng(7);
  SL::CKvacCoder original = MakeCoder(8, 2);
  for (int block = 0; block < 5; ++block) {
    original.GetPcm() = MakePcm(2, rng, block);
    original.Encode({0}, 0, {0});
    original.Encode({1}, 1, {0});
  }
  SL::CKvacCoder copy(original);
  SL::CKvacCoder assigned = MakeCoder(4, 1);
  assigned = original;
  EXPECT_EQ(2, assigned.GetChannelCount());
  EXPECT_EQ(8, assigned.GetBits());

  SL::CKvacCoding coding(8);
  Bytes const first = MakePcm(2, rng, 9);
  Bytes scratch(16);
  coding.Encode(first, 2, {1}, scratch, 1, {0});
  std::unique_ptr<SL::CKvacCoding> clone(coding.Clone());
  SL::CKvacCoding copied(coding), assignedCoding(4);
  assignedCoding = coding;
  EXPECT_EQ(coding.GetPrev(), clone->GetPrev());

  Bytes const next = MakePcm(2, rng, 10);
  for (SL::CKvacCoder* c : {&original, &copy, &assigned}) {
    c->GetPcm() = next;
    c->Encode({1}, 1, {0});
  }
  EXPECT_EQ(original.GetCoded(1), copy.GetCoded(1));
  EXPECT_EQ(original.GetCoded(1), assigned.GetCoded(1));
  copy.GetPcm()[0] ^= 0xFF;
  EXPECT_EQ(next, original.GetPcm());

  Bytes a(16), b(16), c(16), d(16);
  coding.Encode(next, 2, {1}, a, 1, {0});
  clone->Encode(next, 2, {1}, b, 1, {0});
  copied.Encode(next, 2, {1}, c, 1, {0});
  assignedCoding.Encode(next, 2, {1}, d, 1, {0});
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  EXPECT_EQ(a, d);

  // Swapping exchanges the carried values and the width.
  SL::CKvacCoding other(5);
  other.Swap(coding);
  EXPECT_EQ(5, coding.GetBits());
  EXPECT_TRUE(coding.GetPrev().empty());
  EXPECT_EQ(8, other.GetBits());
  EXPECT_EQ(2u, other.GetPrev().size());
}

// Calls that do not fit the buffers code nothing and carry nothing.
TEST(CKvacCoding, CallsThatDoNotFitTheBuffersCodeNothing) {
  struct Case {
    long bits;
    int channels;
    std::vector<int> list;
    std::size_t pcmBytes;
    std::size_t codedBytes;
  };
  Case const cases[] = {
      {8, 2, {}, 64, 16},  {8, 2, {2}, 64, 16}, {8, 2, {-1}, 64, 16}, {8, 0, {0}, 64, 16},
      {8, 2, {1}, 62, 16}, {8, 2, {1}, 64, 15}, {3, 1, {0}, 32, 16},  {9, 1, {0}, 32, 18},
  };
  for (Case const& c : cases) {
    SL::CKvacCoding coding(c.bits);
    Bytes pcm(c.pcmBytes, 0x55), coded(c.codedBytes, 0x77);
    EXPECT_EQ(0, coding.Encode(pcm, c.channels, c.list, coded, 1, {0}));
    EXPECT_EQ(Bytes(c.codedBytes, 0x77), coded);
    EXPECT_EQ(0, coding.Decode(coded, 1, {0}, pcm, c.channels, c.list));
    EXPECT_EQ(Bytes(c.pcmBytes, 0x55), pcm);
    EXPECT_TRUE(coding.GetPrev().empty());
  }
}

TEST(CKvacCoder, SizesOfBlocksAndClusters) {
  struct Case {
    unsigned long cluster;
    int bits;
    int units;
  };
  Case const cases[] = {{32768, 4, 4096}, {32768, 8, 2048}, {65536, 8, 4096}, {65536, 4, 8192},
                        {4096, 8, 0},     {131072, 8, 0},   {32768, 0, 0},    {32768, 5, 3276}};
  for (Case const& c : cases) {
    EXPECT_EQ(c.units, SL::CKvacCoder::ComputeSampleUnitsPerCluster(c.cluster, c.bits))
        << c.cluster << " " << c.bits;
  }
  EXPECT_EQ(16, SL::CKvacCoder::ComputeBufferSize(8));
  EXPECT_EQ(8, SL::CKvacCoder::ComputeBufferSize(4));
  // Units per channel size each coded buffer; every buffer starts zeroed.
  SL::CKvacCoder coder(std::make_pair(6, 16), {1, 3, 0}, 3,
                       boost::shared_ptr<SL::CKvacCoder::ICoding>(new SL::CKvacCoding(6)));
  EXPECT_EQ(Bytes(12, 0), coder.GetCoded(0));
  EXPECT_EQ(Bytes(36, 0), coder.GetCoded(1));
  EXPECT_TRUE(coder.GetCoded(2).empty());
  EXPECT_EQ(Bytes(96, 0), coder.GetPcm());
}

}  // namespace
