#include "SL/Com/Kvac/CKvacCoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "SL/Com/Kvac/CKvacCoding.h"
#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

namespace {

std::vector<short> Ramp(int start, int step, int n = 16) {
  std::vector<short> s;
  for (int i = 0; i < n; ++i) s.push_back(static_cast<short>(start + i * step));
  return s;
}

std::vector<unsigned char> AsBytes(std::vector<short> const& samples) {
  std::vector<unsigned char> bytes(samples.size() * 2);
  std::memcpy(bytes.data(), samples.data(), bytes.size());
  return bytes;
}

std::vector<unsigned char> Compress(std::vector<short> const& samples, int prev, int bits,
                                    int* result = nullptr) {
  SL::Private::compressor c;
  std::vector<unsigned char> out(2 * bits);
  int r = c.compress(samples.data(), out.data(), prev, bits);
  if (result) *result = r;
  return out;
}

TEST(KvacCoding, MonoBlocksChainTheirCarriedValue) {
  SL::CKvacCoding coding(8);
  std::vector<unsigned char> coded(16);
  auto first = Ramp(-8000, 1000);
  auto second = Ramp(7000, -900);
  int carried = 0;
  auto expected1 = Compress(first, 0, 8, &carried);
  int r1 = coding.Encode(AsBytes(first), 1, {0}, coded, 1, {0});
  EXPECT_EQ(expected1, coded);
  EXPECT_EQ(carried, r1);
  auto expected2 = Compress(second, carried, 8, &carried);
  coding.Encode(AsBytes(second), 1, {0}, coded, 1, {0});
  EXPECT_EQ(expected2, coded);
  EXPECT_EQ(std::vector<int>({carried}), coding.GetPrev());

  // Decoding mirrors it with its own chain.
  SL::CKvacCoding decoding(8);
  std::vector<unsigned char> pcm(32);
  SL::Private::expander e;
  std::vector<short> ref(16);
  int prev = e.expand(expected1.data(), ref.data(), 0, 8);
  decoding.Decode(expected1, 1, {0}, pcm, 1, {0});
  EXPECT_EQ(AsBytes(ref), pcm);
  e.expand(expected2.data(), ref.data(), prev, 8);
  decoding.Decode(expected2, 1, {0}, pcm, 1, {0});
  EXPECT_EQ(AsBytes(ref), pcm);
}

TEST(KvacCoding, InterleavedChannelsAreCodedApart) {
  // Four channels; only channel 3 is coded, which grows the carried values.
  std::vector<short> block(64);
  auto ch3 = Ramp(100, 37);
  for (int i = 0; i < 16; ++i) {
    block[i * 4 + 0] = 1111;
    block[i * 4 + 3] = ch3[i];
  }
  SL::CKvacCoding coding(6);
  std::vector<unsigned char> coded(12);
  int result = coding.Encode(AsBytes(block), 4, {3}, coded, 1, {0});
  EXPECT_EQ(Compress(ch3, 0, 6), coded);
  EXPECT_EQ(std::vector<int>({0, 0, 0, result}), coding.GetPrev());

  // Decoding channel 3 writes only channel 3's samples.
  SL::CKvacCoding decoding(6);
  std::vector<unsigned char> pcm(128, 0xEE);
  decoding.Decode(coded, 1, {0}, pcm, 4, {3});
  std::vector<short> out(64);
  std::memcpy(out.data(), pcm.data(), 128);
  SL::Private::expander e;
  std::vector<short> ref(16);
  e.expand(coded.data(), ref.data(), 0, 6);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(ref[i], out[i * 4 + 3]);
    EXPECT_EQ(static_cast<short>(0xEEEE), out[i * 4 + 0]);
  }
}

TEST(KvacCoding, ClonesCarryTheSameValues) {
  SL::CKvacCoding coding(8);
  std::vector<unsigned char> coded(16);
  coding.Encode(AsBytes(Ramp(0, 2000)), 1, {0}, coded, 1, {0});
  std::unique_ptr<SL::CKvacCoder::ICoding> clone(coding.Clone());
  std::vector<unsigned char> a(16), b(16);
  auto next = Ramp(30000, -4000);
  coding.Encode(AsBytes(next), 1, {0}, a, 1, {0});
  clone->Encode(AsBytes(next), 1, {0}, b, 1, {0});
  EXPECT_EQ(a, b);

  SL::CKvacCoding assigned(4);
  assigned = coding;
  EXPECT_EQ(8, assigned.GetBits());
  EXPECT_EQ(coding.GetPrev(), assigned.GetPrev());
}

TEST(KvacCoding, CallsThatDoNotFitTheBuffersCodeNothing) {
  SL::CKvacCoding coding(8);
  std::vector<unsigned char> small(15, 0x55);
  EXPECT_EQ(0, coding.Encode(std::vector<unsigned char>(32), 1, {0}, small, 1, {0}));
  EXPECT_EQ(std::vector<unsigned char>(15, 0x55), small);
  std::vector<unsigned char> coded(16, 0x55);
  EXPECT_EQ(0, coding.Encode(std::vector<unsigned char>(32), 1, {1}, coded, 1, {0}));
  EXPECT_EQ(0, coding.Encode(std::vector<unsigned char>(31), 1, {0}, coded, 1, {0}));
  EXPECT_EQ(0, coding.Encode(std::vector<unsigned char>(32), 0, {0}, coded, 1, {0}));
  EXPECT_EQ(std::vector<unsigned char>(16, 0x55), coded);
  EXPECT_TRUE(coding.GetPrev().empty());
}

TEST(KvacCoder, CodesEachChannelOfItsBlock) {
  SL::CKvacCoder coder(std::make_pair(8, 16), {1, 1}, 2,
                       boost::shared_ptr<SL::CKvacCoder::ICoding>(new SL::CKvacCoding(8)));
  ASSERT_EQ(64u, coder.GetPcm().size());
  ASSERT_EQ(16u, coder.GetCoded(0).size());
  EXPECT_EQ(std::vector<unsigned char>(64, 0), coder.GetPcm());
  auto left = Ramp(-3000, 400);
  auto right = Ramp(5000, -123);
  for (int i = 0; i < 16; ++i) {
    std::memcpy(coder.GetPcm().data() + i * 4, &left[i], 2);
    std::memcpy(coder.GetPcm().data() + i * 4 + 2, &right[i], 2);
  }
  coder.Encode({0}, 0, {0});
  coder.Encode({1}, 1, {0});
  EXPECT_EQ(Compress(left, 0, 8), coder.GetCoded(0));
  EXPECT_EQ(Compress(right, 0, 8), coder.GetCoded(1));

  // A copy has its own buffers and coding.
  SL::CKvacCoder copy(coder);
  copy.GetPcm()[0] = 0x7F;
  EXPECT_NE(copy.GetPcm()[0], coder.GetPcm()[0]);
  copy.Encode({0}, 0, {0});
  coder.Encode({0}, 0, {0});
  EXPECT_EQ(coder.GetCoded(1), copy.GetCoded(1));
}

}  // namespace
