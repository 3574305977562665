#include "GT/Com/Text/StringTools.h"
#include "GT/Com/Base/DebugTrace.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using namespace GT;

struct DoubleCase {
  double value;
  EStringFormat format;
  int precision;
  int flags;
  char const* text;
};

// The type's most negative value reads; one past its largest does not.
TEST(StringToolsParse, IntegersReadWithinTheirType) {
  int value = 0;
  EXPECT_TRUE(ToInt("-2147483648", &value));
  EXPECT_EQ(std::numeric_limits<int>::min(), value);
  value = 0;
  EXPECT_FALSE(ToInt("2147483648", &value));
  EXPECT_EQ(0, value);
}

TEST(StringToolsFormat, PrintfTextOfAnyLengthIsWhole) {
  EXPECT_EQ("SMP001FL.VQD", FormatString("SMP%04XL.VQD", 0x1F));
  EXPECT_EQ("Copying... 2/3", FormatString("%s %d/%d", "Copying...", 2, 3));
  EXPECT_EQ("", FormatString(nullptr));
  for (std::size_t n : {509u, 510u, 511u, 5000u}) {
    std::string const long_(n, 'q');
    std::string const text = FormatString("<%s>", long_.c_str());
    EXPECT_EQ(n + 2, text.size());
    EXPECT_EQ('>', text.back());
  }
  testing::internal::CaptureStderr();
  DebugTrace_("%s|%d", std::string(3000, 'z').c_str(), 7);
  TRACE("never %s", "shown");
  EXPECT_EQ(std::string(3000, 'z') + "|7", testing::internal::GetCapturedStderr());
}

}  // namespace
