#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

#include "Support/KvacBlocks.h"
#include "Support/KvacReference.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using KvacBlocks::Block;
using SL::Private::compressor;
using SL::Private::expander;

namespace {

// File bytes from the bit strings of the two halves ('1'/'0', spaces ignored).
std::vector<unsigned char> FileBytes(const std::string& half0, const std::string& half1, int bits) {
  auto bytesOf = [](const std::string& text) {
    std::vector<unsigned char> out;
    int count = 0;
    unsigned value = 0;
    for (char ch : text) {
      if (ch != '0' && ch != '1') continue;
      value = (value << 1) | static_cast<unsigned>(ch - '0');
      if (++count % 8 == 0) {
        out.push_back(static_cast<unsigned char>(value));
        value = 0;
      }
    }
    return out;
  };
  const std::vector<unsigned char> h0 = bytesOf(half0), h1 = bytesOf(half1);
  std::vector<unsigned char> file;
  if (bits == 4) {
    file = h0;
    file.insert(file.end(), h1.begin(), h1.end());
    return file;
  }
  for (int i = 0; i + 1 < bits; i += 2) {
    file.push_back(h0[i]);
    file.push_back(h0[i + 1]);
    file.push_back(h1[i]);
    file.push_back(h1[i + 1]);
  }
  if (bits & 1) {
    file.push_back(h0[bits - 1]);
    file.push_back(h1[bits - 1]);
  }
  return file;
}

void ExpectSameAsModel(const unsigned char* bytes, int prev, int bits) {
  expander e;
  Block fast;
  Block model;
  const int last = e.expand(bytes, fast.data(), prev, bits);
  const KvacReference::SResult r = KvacReference::Decode(bytes, model.data(), prev, bits);
  ASSERT_NE('?', r.mode);
  ASSERT_EQ(r.n, e.Shift());
  ASSERT_EQ(r.last, last);
  ASSERT_EQ(model, fast);
}

}  // namespace

// Mode G never comes from the encoder; these blocks are written by hand.
TEST(KvacDecoderModeG, HandWrittenBlocks) {
  struct SCase {
    const char* name;
    int bits;
    std::string half0, half1;
    int last;
    Block decoded;
  };
  const std::string zero7 = "0000000";
  const std::vector<SCase> cases = {
      // b = 8, n = 4 (an open pair): q = 0, residuals against the means.
      {"b8 n4", 8, "1111 00001100100" + zero7 + zero7 + zero7 + zero7 + zero7 + zero7 + zero7,
       "1111 11111111100" + zero7 + zero7 + zero7 + "0000001" + zero7 + zero7 + zero7, -4,
       Block{12, 25, 37, 50, 62, 75, 87, 100, 87, 74, 61, 49, 35, 22, 9, -4}},
      // b = 8, n = 2 (an open pair): q = -2, fields are scaled down, rounding
      // towards minus infinity.
      {"b8 n2", 8, "1111 00110010000" + zero7 + zero7 + zero7 + "0001000" + zero7 + zero7 + zero7,
       "1101 11111110000 1111111" + zero7 + zero7 + zero7 + zero7 + zero7 + zero7, -4,
       Block{13, 26, 39, 52, 64, 76, 88, 100, 87, 74, 61, 48, 35, 22, 8, -4}},
      // b = 4, n = 1: q = 1, every field gets the rounding 1.
      {"b4 n1", 4, "1110 0000101 000 000 000 000 000 000 000",
       "1111 1111110 000 000 000 111 000 000 000", -3,
       Block{3, 4, 6, 6, 8, 9, 11, 11, 10, 8, 6, 3, 3, 1, 0, -3}},
  };
  for (const SCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<unsigned char> bytes = FileBytes(c.half0, c.half1, c.bits);
    ASSERT_EQ(static_cast<size_t>(2 * c.bits), bytes.size());
    expander e;
    Block out;
    EXPECT_EQ(c.last, e.expand(bytes.data(), out.data(), 0, c.bits));
    EXPECT_EQ(c.decoded, out);
    ExpectSameAsModel(bytes.data(), 0, c.bits);
  }
}

// Any 2 * bits bytes decode, without touching anything beyond the 16 samples,
// exactly as the model does; extreme patterns and chained prev included.
TEST(KvacDecoderRobustness, AnyBytesDecodeLikeTheModel) {
  for (int bits = 4; bits <= 8; ++bits) {
    SCOPED_TRACE(bits);
    std::mt19937 rng(50 + bits);
    expander e;
    int prev = 0;
    for (int round = 0; round < 20000; ++round) {
      unsigned char bytes[16];
      const int pattern = round % 5;
      for (int i = 0; i < 16; ++i) {
        switch (pattern) {
          case 0:
            bytes[i] = 0x00;
            break;
          case 1:
            bytes[i] = 0xFF;
            break;
          case 2:
            bytes[i] = (i & 1) ? 0x55 : 0xAA;
            break;
          default:
            bytes[i] = static_cast<unsigned char>(rng());
            break;
        }
      }
      if (pattern < 3) bytes[rng() % (2 * bits)] = static_cast<unsigned char>(rng());
      std::vector<short> out(20, 0x1234);
      Block model;
      const int last = e.expand(bytes, out.data() + 2, prev, bits);
      const KvacReference::SResult r = KvacReference::Decode(bytes, model.data(), prev, bits);
      ASSERT_EQ(r.last, last) << "round " << round;
      ASSERT_TRUE(std::equal(model.begin(), model.end(), out.begin() + 2)) << "round " << round;
      EXPECT_EQ(0x1234, out[0]);
      EXPECT_EQ(0x1234, out[1]);
      EXPECT_EQ(0x1234, out[18]);
      EXPECT_EQ(0x1234, out[19]);
      // The carried value stays a 16-bit sample value.
      ASSERT_GE(last, -32768);
      ASSERT_LE(last, 32767);
      prev = (round % 7 == 0) ? static_cast<int>(rng() % 65536) - 32768 : last;
    }
  }
}
