#include "GT/Com/Text/StringTools.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace GT;

long const kUntouched = 12345;

struct LongCase {
  char const* text;
  bool ok;
  long value;  // kUntouched when the output must stay as it was
};

TEST(StringToolsParse, ToLongReadsSignAndPrefixes) {
  LongCase const cases[] = {{"  -0x10", true, -16},
                            {"010", true, 8},
                            {"0X1f", true, 31},
                            {"42", true, 42},
                            {"+7", true, 7},
                            {"- 5", true, -5},  // blanks after the '-' are skipped
                            {"--5", true, 5},   // the outer sign and the number's own sign combine
                            {"12abc", true, 12},
                            {"\t\n 3", true, 3},
                            {"-9223372036854775808", true, std::numeric_limits<long>::min()},
                            {"9223372036854775807", true, std::numeric_limits<long>::max()},
                            {"9223372036854775808", false, kUntouched},
                            {"-9223372036854775809", false, kUntouched},
                            {"-0", true, 0},
                            {"abc", false, kUntouched},
                            {"", false, kUntouched},
                            {"-", false, kUntouched}};
  for (LongCase const& c : cases) {
    long value = kUntouched;
    EXPECT_EQ(c.ok, ToLong(c.text, &value)) << c.text;
    EXPECT_EQ(c.value, value) << c.text;
    EXPECT_EQ(c.ok ? c.value : 0, ToLong(std::string(c.text))) << c.text;
    EXPECT_EQ(c.ok, ToLong(c.text, nullptr)) << c.text;
    long again = kUntouched;
    EXPECT_EQ(c.ok, ToLong(std::string(c.text), &again)) << c.text;
    EXPECT_EQ(c.value, again) << c.text;
  }
  long value = kUntouched;
  EXPECT_FALSE(ToLong(static_cast<char const*>(nullptr), &value));
  EXPECT_EQ(kUntouched, value);
  EXPECT_EQ(0, ToLong(static_cast<char const*>(nullptr)));
}

TEST(StringToolsParse, ToIntAndToShort) {
  struct Case {
    char const* text;
    bool intOk;
    int intValue;
    short shortValue;  // the low 16 bits of the long
  } const cases[] = {{"70000", true, 70000, 4464},
                     {"-1", true, -1, -1},
                     {"0xFFFF", true, 65535, -1},
                     {"32768", true, 32768, -32768},
                     {"-0x10", true, -16, -16},
                     {"2147483648", false, 0, 0},
                     {"x", false, 0, 0}};
  for (auto const& c : cases) {
    int i = 99;
    EXPECT_EQ(c.intOk, ToInt(c.text, &i)) << c.text;
    EXPECT_EQ(c.intOk ? c.intValue : 99, i) << c.text;
    EXPECT_EQ(c.intValue, ToInt(std::string(c.text))) << c.text;
    EXPECT_EQ(c.shortValue, ToShort(c.text)) << c.text;
    EXPECT_EQ(c.shortValue, ToShort(std::string(c.text))) << c.text;
  }
  short s = 7;
  EXPECT_FALSE(ToShort("abc", &s));
  EXPECT_EQ(7, s);
  EXPECT_TRUE(ToShort(std::string("70000"), &s));
  EXPECT_EQ(4464, s);
  int i = 0;
  EXPECT_TRUE(ToInt(std::string(" 9"), &i));
  EXPECT_EQ(9, i);
}

TEST(StringToolsParse, ToDoubleReadsDecimalAndHexadecimalFractions) {
  struct Case {
    char const* text;
    bool ok;
    double value;
  } const cases[] = {
      {"0x1.8", true, 1.5},
      {"-0x1.8", true, -1.5},
      {"-0x10", true, -16.0},
      {"0xFFFFFFFF", true, -1.0},  // the integral part is a signed 32-bit value
      {"0x80000000", true, -2147483648.0},
      {"0X7fffffff", true, 2147483647.0},
      {" 2.5e1", true, 25.0},
      {"  -  2.5", true, -2.5},
      {"0x1.", true, 1.0},
      {"0x0.4", true, 0.25},
      {"0x1.0000001", true, 1.0 + 1.0 / 268435456.0},
      {"0x1.00000018", true, 1.0 + 1.0 / 268435456.0},  // digits past the seventh are ignored
      {"0x", false, 0.0},
      {"0x.8", false, 0.0},
      {"0x1.g", false, 0.0},
      {"0xg", false, 0.0},
      {"abc", false, 0.0},
      {"", false, 0.0},
      {"-", false, 0.0}};
  for (auto const& c : cases) {
    double value = 99.0;
    EXPECT_EQ(c.ok, ToDouble(c.text, &value)) << c.text;
    EXPECT_EQ(c.ok ? c.value : 99.0, value) << c.text;
    EXPECT_EQ(c.value, ToDouble(std::string(c.text))) << c.text;
  }
  std::string const longHex = "0x" + std::string(200, '0') + "1.8";
  EXPECT_FALSE(ToDouble(longHex, nullptr));
  EXPECT_FALSE(ToDouble(static_cast<char const*>(nullptr), nullptr));
  EXPECT_EQ(0.0, ToDouble(static_cast<char const*>(nullptr)));
}

TEST(StringToolsParse, ParseStringOneAndTwoNumbers) {
  struct Case {
    char const* text;
    bool oneOk;
    long one;
    bool twoOk;
    long first, second;  // the first is stored even when the second fails
  } const cases[] = {{"12", true, 12, false, 12, -1}, {" 0x10,-3", true, 16, true, 16, -3},
                     {"3, 4", true, 3, true, 3, 4},   {"3 ,4", true, 3, false, 3, -1},
                     {"3,", true, 3, false, 3, -1},   {"x,4", false, -1, false, -1, -1},
                     {"", false, -1, false, -1, -1},  {"-010,+010", true, -8, true, -8, 8}};
  for (auto const& c : cases) {
    long one = -1;
    EXPECT_EQ(c.oneOk, ParseString(std::string(c.text), one)) << c.text;
    EXPECT_EQ(c.one, one) << c.text;
    long first = -1, second = -1;
    EXPECT_EQ(c.twoOk, ParseString(c.text, first, second)) << c.text;
    EXPECT_EQ(c.first, first) << c.text;
    EXPECT_EQ(c.second, second) << c.text;
    first = second = -1;
    EXPECT_EQ(c.twoOk, ParseString(std::string(c.text), first, second)) << c.text;
    EXPECT_EQ(c.second, second) << c.text;
    std::pair<long, long> pair(-1, -1);
    EXPECT_EQ(c.twoOk, ParseString(std::string(c.text), pair)) << c.text;
    EXPECT_EQ(std::make_pair(c.first, c.second), pair) << c.text;
  }
  long v = 5;
  std::pair<long, long> pair(5, 5);
  char const* const none = nullptr;
  EXPECT_FALSE(ParseString(none, v));
  EXPECT_FALSE(ParseString(none, v, v));
  EXPECT_FALSE(ParseString(none, pair));
  EXPECT_EQ(5, v);
}

typedef std::vector<std::string> Strings;

TEST(StringToolsParse, ParseStringFieldsTrimsAndSkipsEmptyOnes) {
  struct Case {
    char const* text;
    Strings fields;
    Strings escaped;  // ParseStringE
  } const cases[] = {{" a , b ,,c, ", {"a", "b", "c"}, {"a", "b", "c"}},
                     {"", {}, {}},
                     {",, ,", {}, {}},
                     {"\x80x y\xFF\x01", {"x y"}, {"x y"}},  // bytes of 0x80 and up count as blanks
                     {"a\\cb, x\\sy", {"a\\cb", "x\\sy"}, {"a,b", "x y"}},
                     {"p\\\\q, r\\t, s\\", {"p\\\\q", "r\\t", "s\\"}, {"p\\q", "r\\t", "s\\"}}};
  for (auto const& c : cases) {
    Strings fields(1, "kept");
    EXPECT_TRUE(ParseString(c.text, fields)) << c.text;
    Strings expected(1, "kept");
    expected.insert(expected.end(), c.fields.begin(), c.fields.end());
    EXPECT_EQ(expected, fields) << c.text;
    Strings escaped;
    EXPECT_TRUE(ParseStringE(c.text, escaped)) << c.text;
    EXPECT_EQ(c.escaped, escaped) << c.text;
  }
  Strings fields;
  EXPECT_FALSE(ParseString(static_cast<char const*>(nullptr), fields));
}

TEST(StringToolsParse, ParseStringNumberListStopsAtTheFirstBadField) {
  struct Case {
    char const* text;
    bool ok;
    std::vector<long> values;  // appended before the failure stay
  } const cases[] = {{"1,-2,0x10", true, {1, -2, 16}},
                     {"1, 2", true, {1, 2}},
                     {"7", true, {7}},
                     {"", false, {}},
                     {"1,,2", false, {1}},
                     {"1,x,2", false, {1}},
                     {"1,", false, {1}},
                     {",1", false, {}}};
  for (auto const& c : cases) {
    std::vector<long> values;
    EXPECT_EQ(c.ok, ParseString(std::string(c.text), values)) << c.text;
    EXPECT_EQ(c.values, values) << c.text;
  }
  std::vector<long> values;
  EXPECT_FALSE(ParseString(static_cast<char const*>(nullptr), values));
  // A field is at most 1023 characters.
  EXPECT_TRUE(ParseString("1," + std::string(1022, ' ') + "5", values));
  EXPECT_FALSE(ParseString("1," + std::string(1023, ' ') + "5", values));
  EXPECT_EQ((std::vector<long>{1, 5, 1}), values);
}

TEST(StringToolsParse, ParseStringHexBytes) {
  struct Case {
    char const* text;
    bool ok;
    std::vector<unsigned char> bytes;
  } const cases[] = {{"0a FF 7", true, {0x0A, 0xFF, 0x07}},
                     {"  a  bC ", true, {0x0A, 0xBC}},
                     {"", true, {}},
                     {"   ", true, {}},
                     {"12 345", false, {0x12}},
                     {"0g", false, {}},
                     {"1,2", false, {}}};
  for (auto const& c : cases) {
    std::vector<unsigned char> bytes;
    EXPECT_EQ(c.ok, ParseString(std::string(c.text), bytes)) << c.text;
    EXPECT_EQ(c.bytes, bytes) << c.text;
  }
  std::vector<unsigned char> bytes;
  EXPECT_FALSE(ParseString(static_cast<char const*>(nullptr), bytes));
}

}  // namespace
