#include "GT/Com/Data/CEndianedStreamUtilities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>

using GT::CEndianedStreamUtilities;
using GT::CEndianness;

namespace {

CEndianedStreamUtilities const kBig(CEndianness::BigEndian);
CEndianedStreamUtilities const kLittle(CEndianness::LittleEndian);

template <typename T>
std::string Written(CEndianedStreamUtilities const& u, T value) {
  std::ostringstream os;
  u.Write(os, value);
  return os.str();
}

template <typename T>
T ReadFrom(CEndianedStreamUtilities const& u, std::string const& bytes) {
  std::istringstream is(bytes);
  T value{};
  u.Read(is, value);
  EXPECT_FALSE(is.fail());
  return value;
}

}  // namespace

TEST(CEndianedStreamUtilities, EachWidthBothOrdersAgainstHandMadeBytes) {
  EXPECT_EQ(Written(kBig, char('\xA5')), "\xA5");
  EXPECT_EQ(Written(kLittle, char('\xA5')), "\xA5");
  EXPECT_EQ(ReadFrom<char>(kBig, "\x7F"), '\x7F');

  EXPECT_EQ(Written(kBig, std::int16_t(0x1234)), std::string("\x12\x34", 2));
  EXPECT_EQ(Written(kLittle, std::int16_t(0x1234)), std::string("\x34\x12", 2));
  EXPECT_EQ(Written(kBig, std::int16_t(-2)), std::string("\xFF\xFE", 2));
  EXPECT_EQ(ReadFrom<std::int16_t>(kBig, std::string("\x80\x01", 2)), std::int16_t(-32767));
  EXPECT_EQ(ReadFrom<std::int16_t>(kLittle, std::string("\x80\x01", 2)), std::int16_t(0x0180));
  EXPECT_EQ(ReadFrom<std::uint16_t>(kBig, std::string("\xFF\x00", 2)), 0xFF00u);
  EXPECT_EQ(ReadFrom<std::uint16_t>(kLittle, std::string("\xFF\x00", 2)), 0x00FFu);
  EXPECT_EQ(Written(kLittle, std::uint16_t(0xBEEF)), std::string("\xEF\xBE", 2));

  EXPECT_EQ(Written(kBig, std::int32_t(-123456789)), std::string("\xF8\xA4\x32\xEB", 4));
  EXPECT_EQ(Written(kLittle, std::int32_t(-123456789)), std::string("\xEB\x32\xA4\xF8", 4));
  EXPECT_EQ(ReadFrom<std::int32_t>(kBig, std::string("\xF8\xA4\x32\xEB", 4)), -123456789);
  EXPECT_EQ(ReadFrom<std::int32_t>(kLittle, std::string("\xEB\x32\xA4\xF8", 4)), -123456789);
  EXPECT_EQ(ReadFrom<std::int32_t>(kBig, std::string("\x80\x00\x00\x00", 4)), INT32_MIN);
  EXPECT_EQ(Written(kBig, std::uint32_t(0xFFFFFFFEu)), std::string("\xFF\xFF\xFF\xFE", 4));
  EXPECT_EQ(Written(kLittle, std::uint32_t(0x0000AC44u)), std::string("\x44\xAC\x00\x00", 4));
  EXPECT_EQ(ReadFrom<std::uint32_t>(kBig, std::string("RIFF", 4)), 0x52494646u);
  EXPECT_EQ(ReadFrom<std::uint32_t>(kLittle, std::string("RIFF", 4)), 0x46464952u);
}

TEST(CEndianedStreamUtilities, ValuesFollowEachOtherOnTheStream) {
  std::stringstream s;
  kBig.Write(s, std::uint32_t(0x464F524Du));  // "FORM"
  kBig.Write(s, std::int32_t(18));
  kLittle.Write(s, std::int16_t(-1));
  EXPECT_EQ(s.str(), std::string("FORM\x00\x00\x00\x12\xFF\xFF", 10));
  std::uint32_t id = 0;
  std::int32_t size = 0;
  std::int16_t tail = 0;
  kBig.Read(s, id);
  kBig.Read(s, size);
  kLittle.Read(s, tail);
  EXPECT_EQ(id, 0x464F524Du);
  EXPECT_EQ(size, 18);
  EXPECT_EQ(tail, -1);
}

TEST(CEndianedStreamUtilities, ShortReadFailsAndLeavesBytesUnreversed) {
  std::istringstream is(std::string("\x11\x22\x33", 3));
  std::uint32_t value = 0;
  kBig.Read(is, value);
  EXPECT_TRUE(is.fail());
  // Whatever arrived is stored as it came, never byte-swapped.
  unsigned char raw[4];
  std::memcpy(raw, &value, 4);
  EXPECT_EQ(raw[0], 0x11);
  EXPECT_EQ(raw[1], 0x22);
  EXPECT_EQ(raw[2], 0x33);

  std::istringstream empty;
  std::int16_t s = 0x5A5A;
  kLittle.Read(empty, s);
  EXPECT_TRUE(empty.fail());
}

TEST(CEndianedStreamUtilities, ExtendedFloatIsBigEndianWhateverTheOrder) {
  std::string const expected("\x40\x0E\xAC\x44\x00\x00\x00\x00\x00\x00", 10);
  EXPECT_EQ(Written(kBig, 44100.0L), expected);
  EXPECT_EQ(Written(kLittle, 44100.0L), expected);

  long double v = 0;
  std::istringstream is(expected);
  kLittle.Read(is, v);
  EXPECT_FALSE(is.fail());
  EXPECT_EQ(v, 44100.0L);
}

TEST(CEndianedStreamUtilities, ShortExtendedReadLeavesDestinationUnchanged) {
  std::istringstream is(std::string("\x40\x0E\xAC\x44\x00", 5));
  long double v = 7.0L;
  kBig.Read(is, v);
  EXPECT_TRUE(is.fail());
  EXPECT_EQ(v, 7.0L);
}

TEST(CEndianedStreamUtilities, WriteFailureStaysInStreamState) {
  std::ostringstream os;
  os.setstate(std::ios::badbit);
  kBig.Write(os, std::int32_t(1));
  kBig.Write(os, 1.0L);
  EXPECT_TRUE(os.bad());
  EXPECT_TRUE(os.str().empty());
}
