#include "GT/Com/Data/CEndianedStreamUtilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

namespace {

using GT::CEndianedStreamUtilities;
using GT::CEndianness;

template <typename T>
std::string Written(CEndianness::EEndian order, T value) {
  std::ostringstream out;
  CEndianedStreamUtilities(order).Write(out, value);
  return out.str();
}

template <typename T>
T ReadBack(CEndianness::EEndian order, std::string const& bytes) {
  std::istringstream in(bytes);
  T value = 0;
  CEndianedStreamUtilities(order).Read(in, value);
  EXPECT_TRUE(in) << "read of " << bytes.size() << " bytes";
  return value;
}

TEST(CEndianedStreamUtilities, IntegersInEitherOrder) {
  auto const B = CEndianness::BigEndian, L = CEndianness::LittleEndian;
  EXPECT_EQ(std::string("\x12\x34", 2), Written<int16_t>(B, 0x1234));
  EXPECT_EQ(std::string("\x34\x12", 2), Written<int16_t>(L, 0x1234));
  EXPECT_EQ(std::string("\xFF\xFE", 2), Written<int16_t>(B, -2));
  EXPECT_EQ(std::string("\xAB\xCD", 2), Written<uint16_t>(B, 0xABCD));
  EXPECT_EQ(std::string("\x12\x34\x56\x78", 4), Written<int32_t>(B, 0x12345678));
  EXPECT_EQ(std::string("\x78\x56\x34\x12", 4), Written<uint32_t>(L, 0x12345678u));
  EXPECT_EQ(std::string("\x80", 1), Written<char>(B, '\x80'));

  EXPECT_EQ(-2, ReadBack<int16_t>(B, std::string("\xFF\xFE", 2)));
  EXPECT_EQ(-257, ReadBack<int16_t>(L, std::string("\xFF\xFE", 2)));
  EXPECT_EQ(0xABCDu, ReadBack<uint16_t>(B, "\xAB\xCD"));
  EXPECT_EQ(-2147483647 - 1, ReadBack<int32_t>(B, std::string("\x80\x00\x00\x00", 4)));
  EXPECT_EQ(0x12345678u, ReadBack<uint32_t>(L, "\x78\x56\x34\x12"));
  EXPECT_EQ('x', ReadBack<char>(L, "x"));
}

TEST(CEndianedStreamUtilities, ShortReadLeavesTheBytesUnreversed) {
  std::istringstream in(std::string("\x01\x02\x03", 3));
  int32_t value = 0;
  CEndianedStreamUtilities(CEndianness::BigEndian).Read(in, value);
  EXPECT_TRUE(in.fail());
  unsigned char bytes[4];
  std::memcpy(bytes, &value, 4);
  EXPECT_EQ(1, bytes[0]);
  EXPECT_EQ(2, bytes[1]);
  EXPECT_EQ(3, bytes[2]);
  EXPECT_EQ(0, bytes[3]);
}

TEST(CEndianedStreamUtilities, ExtendedIsBigEndianWhateverTheOrder) {
  std::string const expected("\x40\x0E\xAC\x44\x00\x00\x00\x00\x00\x00", 10);
  for (auto order : {CEndianness::BigEndian, CEndianness::LittleEndian}) {
    std::ostringstream out;
    CEndianedStreamUtilities const io(order);
    io.Write(out, 44100.0L);
    EXPECT_EQ(expected, out.str());
    std::istringstream in(out.str());
    long double value = 0;
    io.Read(in, value);
    EXPECT_EQ(44100.0L, value);
    std::istringstream shortIn(expected.substr(0, 9));
    long double kept = 7;
    io.Read(shortIn, kept);
    EXPECT_TRUE(shortIn.fail());
    EXPECT_EQ(7.0L, kept);
  }
}

TEST(CEndianed, OrderQueriesCopyAndConversion) {
  GT::CEndianed big(CEndianness::BigEndian);
  EXPECT_TRUE(big.IsBigEndian());
  EXPECT_FALSE(big.IsLittleEndian());
  GT::CEndianed copy(big);
  EXPECT_EQ(CEndianness::BigEndian, copy.GetEndian());
  GT::CEndianed little;
  EXPECT_EQ(CEndianness::sPlatform, little.GetEndian());
  EXPECT_TRUE(little.IsLittleEndian());
  EXPECT_EQ(0x1234, little.ConvertEndian<int16_t>(0x1234));
  EXPECT_EQ(0x3412, big.ConvertEndian<int16_t>(0x1234));
  little = big;
  EXPECT_TRUE(little.IsBigEndian());
  big.SetEndian(CEndianness::LittleEndian);
  EXPECT_TRUE(big.IsLittleEndian());
  EXPECT_TRUE(little.IsBigEndian());
}

template <typename T>
std::string Bytes(T value) {
  return std::string(reinterpret_cast<char const*>(&value), sizeof value);
}

TEST(ReverseByte, EveryWidthAndTheComplexParts) {
  EXPECT_EQ('\x81', (Implement::FReverseByte<char, 0>()('\x81')));
  EXPECT_EQ(0x3412, (Implement::FReverseByte<uint16_t, 1>()(0x1234)));
  EXPECT_EQ(-257, (Implement::FReverseByte<int16_t, 1>()(-2)));
  EXPECT_EQ(0x78563412u, (Implement::FReverseByte<uint32_t, 3>()(0x12345678u)));
  EXPECT_EQ(0x0100000000000000ull, (Implement::FReverseByte<uint64_t, 7>()(1ull)));
  EXPECT_EQ(0xEFCDAB8967452301ull, Implement::ReverseByte<uint64_t>(0x0123456789ABCDEFull));

  double const d = 1.5;
  std::string reversed = Bytes(d);
  std::string const forward(reversed);
  std::reverse(reversed.begin(), reversed.end());
  EXPECT_EQ(reversed, Bytes(Implement::ReverseByte(d)));
  EXPECT_EQ(d, Implement::ReverseByte(Implement::ReverseByte(d)));
  float const f = -0.25f;
  EXPECT_EQ(f, Implement::ReverseByte(Implement::ReverseByte(f)));

  std::complex<double> const c(1.5, -2.0);
  std::complex<double> const rc = Implement::ReverseByte(c);
  EXPECT_EQ(Bytes(Implement::ReverseByte(1.5)), Bytes(rc.real()));
  EXPECT_EQ(Bytes(Implement::ReverseByte(-2.0)), Bytes(rc.imag()));
  std::complex<float> const cf(0.5f, 3.0f);
  std::complex<float> const rcf = Implement::ReverseByte(cf);
  EXPECT_EQ(Bytes(Implement::ReverseByte(0.5f)), Bytes(rcf.real()));
  EXPECT_EQ(cf, Implement::ReverseByte(rcf));
}

}  // namespace
