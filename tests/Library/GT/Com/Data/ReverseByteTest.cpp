#include "GT/Com/Data/ReverseByte.h"

#include <gtest/gtest.h>

#include <complex>
#include <cstdint>
#include <cstring>

TEST(ReverseByte, IntegersOfEveryWidth) {
  EXPECT_EQ((Implement::FReverseByte<char, 0>()('\x81')), '\x81');
  EXPECT_EQ((Implement::FReverseByte<unsigned char, 0>()(0xABu)), 0xABu);
  EXPECT_EQ((Implement::FReverseByte<std::uint16_t, 1>()(0x1234u)), 0x3412u);
  EXPECT_EQ((Implement::FReverseByte<std::uint32_t, 3>()(0x12345678u)), 0x78563412u);
  EXPECT_EQ((Implement::FReverseByte<std::uint64_t, 7>()(0x0102030405060708ull)),
            0x0807060504030201ull);
  EXPECT_EQ((GT::Implement::FReverseByte<unsigned long long, 7>()(0xF0000000000000E1ull)),
            0xE1000000000000F0ull);
}

TEST(ReverseByte, SignedValuesReverseTheirBitPattern) {
  // 0x80FF -> 0xFF80; a negative result must come back as the same pattern.
  EXPECT_EQ((Implement::FReverseByte<std::int16_t, 1>()(static_cast<std::int16_t>(-32513))),
            std::int16_t(-128));
  EXPECT_EQ((Implement::FReverseByte<std::int16_t, 1>()(std::int16_t(-1))), std::int16_t(-1));
  EXPECT_EQ((Implement::FReverseByte<std::int32_t, 3>()(std::int32_t(-2))),
            std::int32_t(-16777217));  // FEFFFFFF
  EXPECT_EQ((Implement::FReverseByte<std::int32_t, 3>()(std::int32_t(0x80))), INT32_MIN);
  EXPECT_EQ(Implement::ReverseByte(INT32_MIN), std::int32_t(0x80));
  EXPECT_EQ(Implement::ReverseByte(std::int64_t(-256)), std::int64_t(0x00FFFFFFFFFFFFFFll));
}

TEST(ReverseByte, FloatingPointBytesReversed) {
  double const d = 44100.125;
  double const r = Implement::ReverseByte<double>(d);
  unsigned char a[8], b[8];
  std::memcpy(a, &d, 8);
  std::memcpy(b, &r, 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(a[i], b[7 - i]);
  EXPECT_EQ(Implement::ReverseByte(r), d);

  float const f = -1.5f;
  float const rf = Implement::ReverseByte(f);
  std::uint32_t fb, rb;
  std::memcpy(&fb, &f, 4);
  std::memcpy(&rb, &rf, 4);
  EXPECT_EQ(rb, (Implement::FReverseByte<std::uint32_t, 3>()(fb)));
}

TEST(ReverseByte, ComplexPartsReversedInPlace) {
  std::complex<double> const c(1.0, -2.0);
  std::complex<double> const rc = Implement::ReverseByte<double>(c);
  EXPECT_EQ(rc.real(), Implement::ReverseByte<double>(1.0));
  EXPECT_EQ(rc.imag(), Implement::ReverseByte<double>(-2.0));
  std::complex<float> const cf(3.0f, 0.25f);
  std::complex<float> const rcf = Implement::ReverseByte<float>(cf);
  EXPECT_EQ(rcf.real(), Implement::ReverseByte(3.0f));
  EXPECT_EQ(rcf.imag(), Implement::ReverseByte(0.25f));
  EXPECT_EQ(Implement::ReverseByte<float>(rcf), cf);
}
