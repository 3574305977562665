#include "GT/Com/Data/CEndianed.h"

#include <gtest/gtest.h>

#include <cstdint>

using GT::CEndianed;
using GT::CEndianness;

TEST(CEndianed, OrderTagAndQueries) {
  EXPECT_EQ(CEndianness::BigEndian, 0);
  EXPECT_EQ(CEndianness::LittleEndian, 1);
  EXPECT_EQ(CEndianness::sPlatform, CEndianness::LittleEndian);  // every Linux target we build for

  CEndianed big(CEndianness::BigEndian);
  EXPECT_TRUE(big.IsBigEndian());
  EXPECT_FALSE(big.IsLittleEndian());
  CEndianed copy(big);
  EXPECT_EQ(copy.GetEndian(), CEndianness::BigEndian);
  copy.SetEndian(CEndianness::LittleEndian);
  EXPECT_TRUE(copy.IsLittleEndian());
  copy = big;
  EXPECT_TRUE(copy.IsBigEndian());

  GT::IEndianed const& iface = big;
  EXPECT_TRUE(iface.IsBigEndian());
}

TEST(CEndianed, ConvertsOnlyForeignOrder) {
  CEndianed const native(CEndianness::sPlatform);
  CEndianed const foreign(CEndianness::sPlatform == CEndianness::BigEndian
                              ? CEndianness::LittleEndian
                              : CEndianness::BigEndian);
  EXPECT_EQ(native.ConvertEndian(std::uint32_t(0x11223344)), 0x11223344u);
  EXPECT_EQ(foreign.ConvertEndian(std::uint32_t(0x11223344)), 0x44332211u);
  EXPECT_EQ(foreign.ConvertEndian(std::int16_t(0x0180)), std::int16_t(-32767));
  double const d = 0.1;
  EXPECT_EQ(native.ConvertEndian(d), d);
  EXPECT_NE(foreign.ConvertEndian(d), d);
  EXPECT_EQ(foreign.ConvertEndian(foreign.ConvertEndian(d)), d);
}
