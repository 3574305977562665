#include "GT/Com/Text/StringTools.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using namespace GT;

char const* const kNull = nullptr;

TEST(StringToolsFormat, IntegersInEveryFormat) {
  struct Case {
    long value;
    int format;
    char const* asLong;
    char const* asInt;
  } const cases[] = {{255, StringFormatDecimal, "255", "255"},
                     {-7, StringFormatDecimal, "-7", "-7"},
                     {255, StringFormatHex, "0xFF", "0xFF"},
                     {-1, StringFormatHex, "0xFFFFFFFF", "0xFFFFFFFF"},
                     {-1, StringFormatSignedHex, "-0x1", "-0x1"},
                     {-255, StringFormatSignedHex, "-0xFF", "-0xFF"},
                     {0, StringFormatSignedHex, "0x0", "0x0"},
                     {5, 7, "", ""},
                     {5, -1, "", ""}};
  for (auto const& c : cases) {
    EStringFormat const format = static_cast<EStringFormat>(c.format);
    EXPECT_EQ(c.asLong, ToString(c.value, format)) << c.value << " " << c.format;
    EXPECT_EQ(c.asInt, ToString(static_cast<int>(c.value), format)) << c.value;
    // A short widens to long, sign and all.
    EXPECT_EQ(c.asLong, ToString(static_cast<short>(c.value), format)) << c.value;
  }
}

// A long wider than 32 bits keeps all its digits rather than losing the high ones.
TEST(StringToolsFormat, WideLongsInHexadecimal) {
  EXPECT_EQ("0x123456789", ToString(0x123456789L, StringFormatHex));
  EXPECT_EQ("-0x123456789", ToString(-0x123456789L, StringFormatSignedHex));
  EXPECT_EQ("0x7FFFFFFFFFFFFFFF", ToString(std::numeric_limits<long>::max(), StringFormatHex));
  EXPECT_EQ("-0x8000000000000000",
            ToString(std::numeric_limits<long>::min(), StringFormatSignedHex));
}

TEST(StringToolsFormat, DoublesWithPrecisionAndZeroTruncation) {
  int const T = TruncateZeroTrailing, I = TruncateZeroIntegral, K = TruncateZeroKeepOne;
  struct Case {
    double value;
    int format;
    int precision;
    int flags;
    char const* text;
  } const cases[] = {
      {2.5, StringFormatDecimal, 3, 0, "2.500"},
      {2.5, StringFormatDecimal, 3, T, "2.5"},
      {2.0, StringFormatDecimal, 3, T, "2"},
      {2.0, StringFormatDecimal, 3, T | K, "2.0"},
      {2.0, StringFormatDecimal, 3, I, "2"},
      {2.0, StringFormatDecimal, 3, I | K, "2.0"},
      {2.5, StringFormatDecimal, 3, I, "2.500"},
      {100.0, StringFormatDecimal, 2, T, "100"},  // stripping stops at the point
      {10.0, StringFormatDecimal, 0, T, "10"},    // no stripping without a fraction
      {1.5, StringFormatDecimal, 15, 0, "1.500000000000000"},
      {-0.125, StringFormatDecimal, 2, 0, "-0.12"},
      {1.5, StringFormatSignedHex, 7, 0, "0x1.8000000"},
      {1.5, StringFormatSignedHex, 2, 0, "0x1.80"},
      {-1.5, StringFormatSignedHex, 1, 0, "-0x1.8"},
      {1.5, StringFormatSignedHex, 9, 0, "0x1.8000000"},  // the fraction has seven digits at most
      {1.5, StringFormatSignedHex, 7, T, "0x1.8"},
      {2.0, StringFormatSignedHex, 3, T, "0x2"},
      {2.0, StringFormatSignedHex, 3, T | K, "0x2.0"},
      {0.25, StringFormatHex, 7, 0, "0x0.4000000"},
      {1.5, StringFormatHex, 0, T, "0x1"},
      {-1.5, StringFormatSignedHex, 0, 0, "-0x1"},
      {-0.5, StringFormatHex, 3, 0, "-0x0.800"},  // negatives take the signed form
      {255.0, StringFormatHex, 7, I, "0xFF"},
      {2.5, 3, 3, 0, ""}};
  for (auto const& c : cases) {
    EXPECT_EQ(c.text, ToString(c.value, static_cast<EStringFormat>(c.format), c.precision,
                               static_cast<EStringTruncateZero>(c.flags)))
        << c.value << " " << c.format << " " << c.precision << " " << c.flags;
  }
}

// Hexadecimal texts read back to the value they were made from.
TEST(StringToolsFormat, HexadecimalDoublesReadBack) {
  for (double v : {0.0, 1.5, -1.5, 0.0625, 44100.75, -2147483647.0, 3.0 / 268435456.0}) {
    for (EStringFormat format : {StringFormatHex, StringFormatSignedHex}) {
      EXPECT_EQ(v, ToDouble(ToString(v, format, 7, TruncateZeroTrailing))) << v;
    }
  }
}

TEST(StringToolsTransform, CaseAndSubstrings) {
  EXPECT_EQ("mixed 12.wav", ToLowerString("MiXeD 12.WAV"));
  EXPECT_EQ("MIXED 12.WAV", ToUpperString(std::string("MiXeD 12.wav")));
  EXPECT_EQ("", ToLowerString(kNull));
  EXPECT_EQ("", ToUpperString(kNull));

  struct Case {
    long start;
    long count;
    char const* mid;
  } const mids[] = {{1, std::numeric_limits<long>::max(), "bcdef"},  // start + count saturates
                    {-1, std::numeric_limits<long>::min(), ""},
                    {1, 3, "bcd"},
                    {-2, 4, "ab"},
                    {4, 10, "ef"},
                    {7, 2, ""},
                    {2, 0, ""},
                    {0, 6, "abcdef"}};
  for (auto const& c : mids) {
    EXPECT_EQ(c.mid, MidString("abcdef", c.start, c.count)) << c.start << "," << c.count;
    EXPECT_EQ(c.mid, MidString(std::string("abcdef"), c.start, c.count));
  }
  struct Side {
    long count;
    char const* left;
    char const* right;
  } const sides[] = {{2, "ab", "ef"},
                     {0, "", ""},
                     {-1, "", ""},
                     {6, "abcdef", "abcdef"},
                     {10, "abcdef", "abcdef"}};
  for (auto const& c : sides) {
    EXPECT_EQ(c.left, LeftString("abcdef", c.count)) << c.count;
    EXPECT_EQ(c.left, LeftString(std::string("abcdef"), c.count)) << c.count;
    EXPECT_EQ(c.right, RightString("abcdef", c.count)) << c.count;
    EXPECT_EQ(c.right, RightString(std::string("abcdef"), c.count)) << c.count;
  }
  EXPECT_EQ("", MidString(kNull, 0, 3));
  EXPECT_EQ("", RightString(kNull, 3));
}

TEST(StringToolsTransform, TrimStripsSpaceTabAndLineFeedOnly) {
  struct Case {
    char const* text;
    char const* trimmed;
  } const cases[] = {
      {" \t\nab c\n", "ab c"}, {" \t\n", ""}, {"", ""}, {"x\r", "x\r"}, {"\rx ", "\rx"}};
  for (auto const& c : cases) {
    std::string out = "old";
    EXPECT_EQ(*c.trimmed != '\0', TrimString(c.text, out)) << c.text;
    EXPECT_EQ(c.trimmed, out);
    EXPECT_EQ(c.trimmed, TrimString(std::string(c.text)));
  }
  std::string out = "old";
  EXPECT_FALSE(TrimString(kNull, out));
  EXPECT_EQ("", out);
  EXPECT_EQ("", TrimString(kNull));
}

TEST(StringToolsTransform, ReplaceNeverSearchesInsertedText) {
  struct Case {
    char const* source;
    char const* find;
    char const* replace;
    bool replaced;
    char const* out;
  } const cases[] = {{"aaa", "a", "aa", true, "aaaaaa"}, {"abab", "ab", "ba", true, "baba"},
                     {"a.b.c", ".", "", true, "abc"},    {"abc", "x", "y", false, "abc"},
                     {"abc", "", "y", false, "abc"},     {"", "a", "b", false, ""}};
  for (auto const& c : cases) {
    std::string out;
    EXPECT_EQ(c.replaced, ReplaceString(c.source, c.find, c.replace, out)) << c.source;
    EXPECT_EQ(c.out, out) << c.source;
    EXPECT_EQ(c.out, ReplaceString(std::string(c.source), c.find, c.replace));
    EXPECT_EQ(c.out, ReplaceString(c.source, c.find, std::string(c.replace)));
  }
  EXPECT_EQ("", ReplaceString(kNull, "a", "b"));
}

TEST(StringToolsTransform, LineBreaksBecomeOneKind) {
  std::string const text = "a\r\nb\rc\nd\n\re\r\r\n";
  EXPECT_EQ("a\rb\rc\rd\r\re\r\r", ReplaceToCR(text));
  EXPECT_EQ("a\nb\nc\nd\n\ne\n\n", ReplaceToNL(text.c_str()));
  EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n", ReplaceToCRLF(text));
  EXPECT_EQ("x\r\n", ReplaceToCRLF("x\r"));
  EXPECT_EQ("x", ReplaceToCR(std::string("x")));
  EXPECT_EQ("x\n", ReplaceToNL(std::string("x\r\n")));
  EXPECT_EQ("", ReplaceToCR(kNull));
  EXPECT_EQ("", ReplaceToNL(kNull));
  EXPECT_EQ("", ReplaceToCRLF(kNull));
}

TEST(StringToolsTransform, QuoteAndUnquote) {
  struct Case {
    char const* text;
    bool force;
    bool escape;
    char const* quoted;
  } const cases[] = {{"a b", false, false, "\"a b\""},   {"ab", false, false, "ab"},
                     {"x\ty", false, false, "\"x\ty\""}, {"x\ry", false, false, "\"x\ry\""},
                     {"x\ny", false, false, "\"x\ny\""}, {"ab", true, false, "\"ab\""},
                     {"", true, false, "\"\""},          {"a\"b", false, true, "a\\\"b"},
                     {"a\\b", true, true, "\"a\\\\b\""}, {"a\"b", false, false, "a\"b"}};
  for (auto const& c : cases) {
    EXPECT_EQ(c.quoted, QuoteString(c.text, c.force, c.escape)) << c.text;
    EXPECT_EQ(c.quoted, QuoteString(std::string(c.text), c.force, c.escape)) << c.text;
    if (c.force) {
      EXPECT_EQ(c.quoted, QuoteStringA(c.text, c.escape)) << c.text;
      EXPECT_EQ(c.quoted, QuoteStringA(std::string(c.text), c.escape)) << c.text;
    }
  }

  struct Unquote {
    char const* text;
    bool unescape;
    char const* out;
  } const unquotes[] = {{"\"a b\"", false, "a b"}, {"\"a\\\"b\"", true, "a\"b"},
                        {"a\\\\b", true, "a\\b"},  {"a\\\\b", false, "a\\\\b"},
                        {"\\\"", false, "\\"},     {"a\\b", true, "a\\b"},
                        {"x\\", true, "x\\"}};
  for (auto const& c : unquotes) {
    EXPECT_EQ(c.out, UnquoteString(c.text, c.unescape)) << c.text;
    EXPECT_EQ(c.out, UnquoteString(std::string(c.text), c.unescape)) << c.text;
  }
  EXPECT_EQ("", UnquoteString(kNull, true));

  for (char const* text : {"plain", "with space", "q\"uo\\te", "\\\"", ""}) {
    EXPECT_EQ(text, UnquoteString(QuoteStringA(text, true), true)) << text;
  }
}

TEST(StringToolsTransform, XmlEscapesInTheirOrder) {
  struct Case {
    char const* text;
    char const* xml;
  } const cases[] = {{"a&b<c>'d\"", "a&amp;b&lt;c&gt;&apos;d&quot;"},
                     {"&lt;", "&amp;lt;"},
                     {"plain", "plain"},
                     {"", ""}};
  for (auto const& c : cases) {
    std::string out = "old";
    EXPECT_EQ(std::string(c.text) != c.xml, ReplaceTextToXml(c.text, out)) << c.text;
    EXPECT_EQ(c.xml, out);
    EXPECT_EQ(c.xml, ReplaceTextToXml(c.text));
    EXPECT_EQ(std::string(c.text) != c.xml, ReplaceXmlToText(c.xml, out)) << c.xml;
    EXPECT_EQ(c.text, out);
    EXPECT_EQ(c.text, ReplaceXmlToText(c.xml));
  }
  // The ampersand goes last, so an escaped entity comes back one level only.
  EXPECT_EQ("&lt;", ReplaceXmlToText("&amp;lt;"));
  EXPECT_EQ("<&>", ReplaceXmlToText("&lt;&amp;&gt;"));
}

}  // namespace
