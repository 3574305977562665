#include "GT/Com/Text/StringTools.h"
#include "GT/Com/Base/DebugTrace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace GT;

TEST(StringToolsParse, IntegersFollowScanfRulesWithRangeChecks) {
  long l = 99;
  EXPECT_TRUE(ToLong("  -0x10", &l));
  EXPECT_EQ(-16, l);
  EXPECT_EQ(8, ToLong("010"));
  EXPECT_EQ(255, ToLong("0XfF"));
  EXPECT_EQ(-5, ToLong("- 5"));    // blanks after the '-' are skipped
  EXPECT_EQ(5, ToLong("--5"));     // the number's own sign combines
  EXPECT_EQ(12, ToLong("12abc"));  // trailing text ignored
  l = 99;
  EXPECT_FALSE(ToLong("abc", &l));
  EXPECT_EQ(99, l);
  EXPECT_FALSE(ToLong(static_cast<char const*>(nullptr), &l));
  EXPECT_FALSE(ToLong("", &l));
  EXPECT_FALSE(ToLong("-", &l));
  EXPECT_FALSE(ToLong("--+5", &l));  // a third sign is no number and never wraps around
  EXPECT_TRUE(ToLong("7", nullptr));

  EXPECT_EQ(-2147483648L, ToLong("-2147483648"));
  EXPECT_EQ(std::numeric_limits<long>::min(), ToLong("-9223372036854775808"));
  EXPECT_EQ(std::numeric_limits<long>::max(), ToLong("9223372036854775807"));
  l = 99;
  EXPECT_FALSE(ToLong("9223372036854775808", &l));
  EXPECT_FALSE(ToLong("-9223372036854775809", &l));
  EXPECT_FALSE(ToLong("99999999999999999999999", &l));
  EXPECT_EQ(99, l);

  int i = 3;
  EXPECT_TRUE(ToInt("-2147483648", &i));
  EXPECT_EQ(std::numeric_limits<int>::min(), i);
  EXPECT_EQ(2147483647, ToInt("0x7FFFFFFF"));
  i = 3;
  EXPECT_FALSE(ToInt("2147483648", &i));
  EXPECT_FALSE(ToInt("0xFFFFFFFF", &i));
  EXPECT_EQ(3, i);
  EXPECT_EQ(0, ToInt("x"));

  EXPECT_EQ(4464, ToShort("70000"));
  EXPECT_EQ(-1, ToShort("65535"));
  EXPECT_EQ(-32768, ToShort("-32768"));
  EXPECT_EQ(ToLong(std::string(" 42")), 42);
}

TEST(StringToolsParse, DoublesInDecimalAndHexadecimal) {
  EXPECT_DOUBLE_EQ(1.5, ToDouble("0x1.8"));
  EXPECT_DOUBLE_EQ(-16.0, ToDouble("-0x10"));
  EXPECT_DOUBLE_EQ(-1.0, ToDouble("0xFFFFFFFF"));
  EXPECT_DOUBLE_EQ(-2147483648.0, ToDouble("0x80000000"));
  EXPECT_DOUBLE_EQ(25.0, ToDouble(" 2.5e1"));
  EXPECT_DOUBLE_EQ(1.0 + 1.0 / 268435456.0, ToDouble("0x1.00000019"));  // digits past seven ignored
  EXPECT_DOUBLE_EQ(2.0, ToDouble("0x2."));
  double d = 7.0;
  EXPECT_FALSE(ToDouble("0x", &d));
  EXPECT_FALSE(ToDouble("0x.8", &d));
  EXPECT_FALSE(ToDouble("0x1.z", &d));
  EXPECT_FALSE(ToDouble("0x100000000", &d));  // more than 32 bits
  EXPECT_FALSE(ToDouble("0x-5", &d));         // no sign inside the digits
  EXPECT_FALSE(ToDouble(("0x" + std::string(128, '1') + ".8").c_str(), &d));
  EXPECT_FALSE(ToDouble("1e999", &d));  // out of range, not infinity
  EXPECT_FALSE(ToDouble("abc", &d));
  EXPECT_FALSE(ToDouble(static_cast<char const*>(nullptr), &d));
  EXPECT_EQ(7.0, d);
  EXPECT_EQ(0.0, ToDouble("junk"));
  EXPECT_DOUBLE_EQ(1.5, ToDouble(std::string("1.500000000000000")));
}

TEST(StringToolsParse, PairsAndLists) {
  long a = 0, b = 0;
  EXPECT_TRUE(ParseString("3, -0x4", a, b));
  EXPECT_EQ(3, a);
  EXPECT_EQ(-4, b);
  EXPECT_FALSE(ParseString("3 ,4", a, b));
  std::pair<long, long> p;
  EXPECT_TRUE(ParseString(std::string("10,20"), p));
  EXPECT_EQ(std::make_pair(10L, 20L), p);
  EXPECT_FALSE(ParseString("10", p));
  EXPECT_FALSE(ParseString(static_cast<char const*>(nullptr), a));

  std::vector<long> longs{1};
  EXPECT_TRUE(ParseString("2,0x3, 4", longs));
  EXPECT_EQ((std::vector<long>{1, 2, 3, 4}), longs);
  EXPECT_FALSE(ParseString("5,,6", longs));
  EXPECT_EQ((std::vector<long>{1, 2, 3, 4, 5}), longs);  // earlier values stay
  EXPECT_FALSE(ParseString("", longs));
  EXPECT_FALSE(ParseString("7,x", longs));
  EXPECT_FALSE(ParseString(std::string(1024, '1'), longs));  // over-long field

  std::vector<unsigned char> bytes;
  EXPECT_TRUE(ParseString("0a FF  7", bytes));
  EXPECT_EQ((std::vector<unsigned char>{0x0A, 0xFF, 0x07}), bytes);
  EXPECT_FALSE(ParseString("123", bytes));
  EXPECT_FALSE(ParseString("1g", bytes));
  EXPECT_TRUE(ParseString("", bytes));
  EXPECT_EQ(3u, bytes.size());

  std::vector<std::string> fields;
  EXPECT_TRUE(ParseString(" a ,\x80 b\xff,, ,c", fields));
  EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), fields);
  std::vector<std::string> escaped;
  EXPECT_TRUE(ParseStringE("x\\cy\\sz\\\\w\\q, k", escaped));
  EXPECT_EQ((std::vector<std::string>{"x,y z\\w\\q", "k"}), escaped);
}

TEST(StringToolsFormat, IntegersInEveryFormat) {
  EXPECT_EQ("-0x1", ToString(-1L, StringFormatSignedHex));
  EXPECT_EQ("0xFFFFFFFF", ToString(-1L, StringFormatHex));
  EXPECT_EQ("", ToString(5L, static_cast<EStringFormat>(7)));
  EXPECT_EQ("-2147483648", ToString(-2147483647L - 1, StringFormatDecimal));
  EXPECT_EQ("0x80000000", ToString(-2147483647L - 1, StringFormatHex));
  EXPECT_EQ("-0x8000000000000000",
            ToString(std::numeric_limits<long>::min(), StringFormatSignedHex));
  EXPECT_EQ("0x100000000", ToString(0x100000000L, StringFormatHex));  // wider values kept whole
  EXPECT_EQ("-0x80000000", ToString(std::numeric_limits<int>::min(), StringFormatSignedHex));
  EXPECT_EQ("0xFFFFFFFE", ToString(-2, StringFormatHex));
  EXPECT_EQ("-7", ToString(-7, StringFormatDecimal));
  EXPECT_EQ("0xFFFFFFFF", ToString(static_cast<short>(-1), StringFormatHex));
  EXPECT_EQ("-0x8000", ToString(static_cast<short>(-32768), StringFormatSignedHex));
  // Formatted numbers read back.
  for (long v : {0L, 1L, -1L, 255L, -2147483647L - 1, 2147483647L})
    EXPECT_EQ(v, ToLong(ToString(v, StringFormatSignedHex))) << v;
}

struct DoubleCase {
  double value;
  EStringFormat format;
  int precision;
  int flags;
  char const* text;
};

TEST(StringToolsFormat, DoublesAsTheExamplesSay) {
  DoubleCase const cases[] = {
      {2.5, StringFormatDecimal, 3, TruncateZeroNone, "2.500"},
      {2.5, StringFormatDecimal, 3, TruncateZeroTrailing, "2.5"},
      {2.0, StringFormatDecimal, 3, TruncateZeroTrailing, "2"},
      {2.0, StringFormatDecimal, 3, TruncateZeroTrailing | TruncateZeroKeepOne, "2.0"},
      {2.0, StringFormatDecimal, 3, TruncateZeroIntegral, "2"},
      {2.0, StringFormatDecimal, 3, TruncateZeroIntegral | TruncateZeroKeepOne, "2.0"},
      {1.5, StringFormatSignedHex, 7, TruncateZeroNone, "0x1.8000000"},
      {1.5, StringFormatSignedHex, 2, TruncateZeroNone, "0x1.80"},
      {-1.5, StringFormatSignedHex, 1, TruncateZeroNone, "-0x1.8"},
      {1.5, StringFormatDecimal, 15, TruncateZeroNone, "1.500000000000000"},
      {100.0, StringFormatDecimal, 2, TruncateZeroTrailing, "100"},
      {16.0, StringFormatHex, 3, TruncateZeroTrailing, "0x10"},
      {16.75, StringFormatHex, 0, TruncateZeroTrailing, "0x10"},
      {-2.25, StringFormatHex, 7, TruncateZeroTrailing, "-0x2.4"},
      {-2147483647.0, StringFormatSignedHex, 0, TruncateZeroNone, "-0x7FFFFFFF"},
      {2147483648.0, StringFormatSignedHex, 3, TruncateZeroNone, ""},
      {-2147483648.0, StringFormatSignedHex, 0, TruncateZeroNone, ""},
      {1e300, StringFormatHex, 2, TruncateZeroNone, ""},
      {NAN, StringFormatSignedHex, 2, TruncateZeroNone, ""},
      {1.0, static_cast<EStringFormat>(9), 2, TruncateZeroNone, ""},
  };
  for (DoubleCase const& c : cases)
    EXPECT_EQ(c.text,
              ToString(c.value, c.format, c.precision, static_cast<EStringTruncateZero>(c.flags)))
        << c.value << " " << c.format << " " << c.precision << " " << c.flags;
  EXPECT_EQ(310u, ToString(1e308, StringFormatDecimal, 0, TruncateZeroNone).size() + 1);
}

TEST(StringToolsFormat, HexadecimalDoublesReadBack) {
  for (double v : {0.0, 1.5, -1.5, 1234.0625, -0.75, 2147483647.5})
    EXPECT_DOUBLE_EQ(v, ToDouble(ToString(v, StringFormatSignedHex, 7, TruncateZeroTrailing))) << v;
  EXPECT_DOUBLE_EQ(0.6, ToDouble(ToString(0.6, StringFormatDecimal, 15, TruncateZeroNone)));
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

TEST(StringToolsText, CaseMidTrimAndReplace) {
  EXPECT_EQ(".WAV", ToUpperString(".wav"));
  EXPECT_EQ("a\xc3\x80\xff", ToLowerString("A\xc3\x80\xff"));  // high bytes pass unharmed
  EXPECT_EQ("", ToUpperString(static_cast<char const*>(nullptr)));

  EXPECT_EQ("cd", MidString("abcdef", 2, 2));
  EXPECT_EQ("ef", MidString("abcdef", 4, 100));
  EXPECT_EQ("ab", MidString("abcdef", -2, 4));
  EXPECT_EQ("", MidString("abcdef", 9, 2));
  EXPECT_EQ("", MidString("abcdef", 3, -2));
  EXPECT_EQ("def", MidString("abcdef", 3, std::numeric_limits<long>::max()));
  EXPECT_EQ(
      "", MidString("abcdef", std::numeric_limits<long>::min(), std::numeric_limits<long>::min()));
  EXPECT_EQ("", MidString(static_cast<char const*>(nullptr), 0, 3));
  EXPECT_EQ("abc", LeftString("abcdef", 3));
  EXPECT_EQ("def", RightString(std::string("abcdef"), 3));
  EXPECT_EQ("abcdef", RightString("abcdef", 60));
  EXPECT_EQ("", RightString("abcdef", 0));

  std::string out = "x";
  EXPECT_FALSE(TrimString(" \t\n", out));
  EXPECT_EQ("", out);
  EXPECT_TRUE(TrimString("\t a b\r \n", out));
  EXPECT_EQ("a b\r", out);
  EXPECT_EQ("", TrimString(static_cast<char const*>(nullptr)));

  EXPECT_EQ("aaaaaa", ReplaceString("aaa", "a", "aa"));
  EXPECT_TRUE(ReplaceString(std::string("x-y-z"), "-", "", out));
  EXPECT_EQ("xyz", out);
  EXPECT_FALSE(ReplaceString("abc", "", "zz", out));  // returns at once
  EXPECT_EQ("abc", out);
  EXPECT_FALSE(ReplaceString("abc", "q", "zz", out));
  EXPECT_EQ("abc", out);
  std::string same = "abab";
  EXPECT_TRUE(ReplaceString(same, "ab", "b", same));  // output may be the source
  EXPECT_EQ("bb", same);

  EXPECT_EQ("a\rb\rc\rd\r\r", ReplaceToCR("a\r\nb\rc\nd\n\r"));
  EXPECT_EQ("a\nb\n\n", ReplaceToNL(std::string("a\r\nb\r\r")));
  EXPECT_EQ("a\r\nb\r\n\r\n", ReplaceToCRLF("a\nb\r\n\n"));
}

TEST(StringToolsText, QuotingAndXmlRoundTrip) {
  EXPECT_EQ("\"a b\"", QuoteString("a b", false, false));
  EXPECT_EQ("ab", QuoteString("ab", false, false));
  EXPECT_EQ("\"ab\"", QuoteStringA("ab", false));
  std::string const nasty = "say \"hi\" \\ to\tC:\\dir\\";
  std::string const quoted = QuoteString(nasty, false, true);
  EXPECT_EQ("\"say \\\"hi\\\" \\\\ to\tC:\\\\dir\\\\\"", quoted);
  EXPECT_EQ(nasty, UnquoteString(quoted, true));
  EXPECT_EQ("say hi \\\\ to", UnquoteString("\"say \"hi\" \\\\ to\"", false));

  std::string const text = "<a href='x'>&\"</a>";
  std::string const xml = ReplaceTextToXml(text);
  EXPECT_EQ("&lt;a href=&apos;x&apos;&gt;&amp;&quot;&lt;/a&gt;", xml);
  EXPECT_EQ(text, ReplaceXmlToText(xml));
  EXPECT_EQ("&lt;", ReplaceXmlToText("&amp;lt;"));  // ampersand last: no double decoding
  std::string out;
  EXPECT_FALSE(ReplaceTextToXml("plain", out));
  EXPECT_EQ("plain", out);
  EXPECT_TRUE(ReplaceXmlToText("&gt;", out));
}

}  // namespace
