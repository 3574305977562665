#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

#include "Support/KvacBlocks.h"
#include "Support/KvacReference.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

using SL::Private::compressor;
using SL::Private::expander;

namespace {

typedef std::array<short, 16> Block;

struct SVector {
  const char* name;
  int bits;
  int prev;
  Block samples;
  std::vector<unsigned char> bytes;
  int last;
  Block decoded;
};

Block Ramp() {
  Block b;
  for (int i = 0; i < 16; ++i) b[i] = static_cast<short>(-8000 + 1000 * i);
  return b;
}

Block Rails() {
  Block b;
  for (int i = 0; i < 16; ++i) b[i] = (i & 1) ? -32768 : 32767;
  return b;
}

Block RailsDecoded() {
  Block b;
  for (int i = 0; i < 16; ++i) b[i] = (i & 1) ? -32640 : 32512;
  return b;
}

// Worked examples of the coding, bytes in file order.
const std::vector<SVector>& Vectors() {
  static const std::vector<SVector> vectors = {
      {"silence b8",
       8,
       0,
       Block{},
       {0xC0, 0x00, 0xE0, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       0,
       Block{}},
      {"silence b4", 4, 0, Block{}, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, 0, Block{}},
      {"ramp b8",
       8,
       0,
       Ramp(),
       {0xEF, 0x8F, 0xD3, 0x6F, 0xFD, 0x00, 0xE4, 0xFF, 0x36, 0x00, 0xC5, 0xC0, 0x64, 0xDC, 0x03,
        0x80},
       6976,
       Block{-8032, -6976, -5952, -5056, -3968, -3008, -2048, -960, 64, 960, 2048, 3008, 3968, 5056,
             5952, 6976}},
      {"ramp b4",
       4,
       0,
       Ramp(),
       {0xBF, 0xC3, 0xF4, 0x6D, 0xC6, 0x3C, 0x04, 0x78},
       7168,
       Block{-8960, -7680, -5376, -5120, -4608, -2048, -2560, -1024, 512, 0, 2560, 3072, 4608, 4096,
             6656, 7168}},
      {"rails b8",
       8,
       0,
       Rails(),
       {0xE8, 0x07, 0xF8, 0x07, 0xF0, 0x0F, 0xF0, 0x0F, 0xE0, 0x1F, 0xE0, 0x1F, 0xC0, 0x3F, 0xC0,
        0x3F},
       -32640,
       RailsDecoded()},
      {"sine b8",
       8,
       100,
       Block{0, 886, 1693, 2349, 2796, 2992, 2921, 2589, 2026, 1282, 423, -473, -1327, -2063, -2614,
             -2932},
       {0x94, 0x22, 0x29, 0x1E, 0x08, 0x43, 0x3A, 0x7E, 0xA4, 0x82, 0x78, 0x80, 0x75, 0xE0, 0x07,
        0x05},
       -2936,
       Block{-7, 894, 1691, 2344, 2792, 3000, 2928, 2584, 2024, 1288, 416, -472, -1324, -2064,
             -2620, -2936}},
  };
  return vectors;
}

}  // namespace

TEST(KvacWorkedExamples, EncodeBitExact) {
  for (const SVector& v : Vectors()) {
    SCOPED_TRACE(v.name);
    compressor c;
    std::vector<unsigned char> out(2 * v.bits + 4, 0xAA);
    Block in = v.samples;
    EXPECT_EQ(v.last, c.compress(in.data(), out.data(), v.prev, v.bits));
    EXPECT_EQ(v.bytes, std::vector<unsigned char>(out.begin(), out.begin() + 2 * v.bits));
    // Nothing beyond the block is touched.
    for (size_t i = 2 * v.bits; i < out.size(); ++i) EXPECT_EQ(0xAA, out[i]);
    // The bit-level model agrees, so it can stand as judge elsewhere.
    unsigned char model[16];
    EXPECT_EQ(v.last, KvacReference::Encode(v.samples.data(), model, v.prev, v.bits).last);
    EXPECT_EQ(v.bytes, std::vector<unsigned char>(model, model + 2 * v.bits));
  }
}

TEST(KvacWorkedExamples, DecodeBitExact) {
  for (const SVector& v : Vectors()) {
    SCOPED_TRACE(v.name);
    expander e;
    Block out;
    out.fill(0x5555);
    EXPECT_EQ(v.last, e.expand(v.bytes.data(), out.data(), v.prev, v.bits));
    EXPECT_EQ(v.decoded, out);
    Block model;
    EXPECT_EQ(v.last, KvacReference::Decode(v.bytes.data(), model.data(), v.prev, v.bits).last);
    EXPECT_EQ(v.decoded, model);
  }
}

// The fast encoder against the bit-level model, and the decoder against the
// encoder's reconstruction, over many random and extreme blocks with chained
// prev values, for every bits value.
TEST(KvacEncoderModel, MatchesModelAndDecoderOnRandomAndExtremeStreams) {
  for (int bits = 4; bits <= 8; ++bits) {
    SCOPED_TRACE(bits);
    std::mt19937 rng(1000 + bits);
    KvacReference::SStats stats;
    compressor c;
    expander e;
    int encodePrev = 0;
    int decodePrev = 0;
    int modes[7] = {0};
    for (int block = 0; block < 20000; ++block) {
      const Block in = KvacBlocks::Make(static_cast<int>(rng() % 10), rng);
      unsigned char bytes[16];
      unsigned char model[16];
      Block out;
      const KvacReference::SResult r =
          KvacReference::Encode(in.data(), model, encodePrev, bits, &stats);
      const int last = c.compress(in.data(), bytes, encodePrev, bits);
      ASSERT_EQ(r.last, last) << "block " << block;
      ASSERT_EQ(r.n, c.Shift());
      ASSERT_EQ(0, std::memcmp(model, bytes, 2 * bits)) << "block " << block;
      ++modes[r.mode - 'A'];
      const int decoded = e.expand(bytes, out.data(), decodePrev, bits);
      ASSERT_EQ(last, decoded) << "block " << block;
      for (int i = 0; i < 16; ++i) {
        ASSERT_GE(r.reconstructed[i], -32768);
        ASSERT_LE(r.reconstructed[i], 32767);
        ASSERT_EQ(r.reconstructed[i], out[i]) << "block " << block << " sample " << i;
      }
      encodePrev = last;
      decodePrev = decoded;
    }
    // The streams reach every mode the encoder uses and every special path.
    for (int m = 0; m < 6; ++m) EXPECT_GT(modes[m], 0) << "mode " << static_cast<char>('A' + m);
    EXPECT_EQ(0, modes[6]);
    EXPECT_GT(stats.saturations, 0);
    EXPECT_GT(stats.folds, 0);
  }
}

// Near the negative rail a reconstruction of exactly -32768 from two odd
// neighbours is moved up by one quantum; encoder and decoder must agree. A
// block after a full-scale one (prev -32640) sitting on the rail gets there.
TEST(KvacEncoderModel, NegativeRailFromOddNeighbours) {
  for (int bits = 4; bits <= 8; ++bits) {
    std::mt19937 rng(77 + bits);
    compressor c;
    expander e;
    KvacReference::SStats stats;
    for (int block = 0; block < 5000; ++block) {
      const int prev =
          block == 0 ? -32640 : (block & 1 ? -32640 : -32768 + static_cast<int>(rng() % 256));
      const Block in = KvacBlocks::Make(2, rng);
      unsigned char bytes[16];
      unsigned char model[16];
      Block out;
      const KvacReference::SResult r = KvacReference::Encode(in.data(), model, prev, bits, &stats);
      const int last = c.compress(in.data(), bytes, prev, bits);
      ASSERT_EQ(0, std::memcmp(model, bytes, 2 * bits));
      ASSERT_EQ(last, e.expand(bytes, out.data(), prev, bits));
      for (int i = 0; i < 16; ++i) ASSERT_EQ(r.reconstructed[i], out[i]);
    }
    if (bits == 8) {
      EXPECT_GT(stats.oddRails, 0);
    }
  }
}
