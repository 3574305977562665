#pragma once

#include <cstdarg>
#include <string>
#include <utility>
#include <vector>

namespace GT {

enum EStringFormat : int {
  StringFormatDecimal = 0,
  StringFormatHex = 1,
  StringFormatSignedHex = 2
};

enum EStringTruncateZero : int {
  TruncateZeroNone = 0,
  TruncateZeroTrailing = 1,  // strip trailing zeros of the fraction
  TruncateZeroIntegral = 2,  // print an integral value without fraction
  TruncateZeroKeepOne = 4    // where zeros are stripped, keep one after the point
};

// Number parsing. True on success; the output is written only then, and only
// when the pointer is not null. Values outside the target type fail.
bool ToLong(char const* text, long* out);
bool ToLong(std::string const& text, long* out);
long ToLong(char const* text);
long ToLong(std::string const& text);
bool ToInt(char const* text, int* out);
bool ToInt(std::string const& text, int* out);
int ToInt(char const* text);
int ToInt(std::string const& text);
bool ToShort(char const* text, short* out);  // low 16 bits of the long
bool ToShort(std::string const& text, short* out);
short ToShort(char const* text);
short ToShort(std::string const& text);
bool ToDouble(char const* text, double* out);
bool ToDouble(std::string const& text, double* out);
double ToDouble(char const* text);
double ToDouble(std::string const& text);

bool ParseString(char const* text, long& value);
bool ParseString(std::string const& text, long& value);
bool ParseString(char const* text, long& first, long& second);
bool ParseString(std::string const& text, long& first, long& second);
bool ParseString(char const* text, std::pair<long, long>& values);
bool ParseString(std::string const& text, std::pair<long, long>& values);
// Comma-separated fields, trimmed of bytes whose signed value is at most 32; empty fields skipped.
bool ParseString(char const* text, std::vector<std::string>& fields);
bool ParseString(std::string const& text, std::vector<std::string>& fields);
// As above, then "\c" becomes ',', "\s" a space and "\\" one backslash.
bool ParseStringE(std::string const& text, std::vector<std::string>& fields);
bool ParseString(char const* text, std::vector<long>& values);
bool ParseString(std::string const& text, std::vector<long>& values);
// Space-separated hexadecimal bytes of one or two digits.
bool ParseString(char const* text, std::vector<unsigned char>& bytes);
bool ParseString(std::string const& text, std::vector<unsigned char>& bytes);

// Number formatting; an unknown format gives "".
std::string ToString(long value, EStringFormat format);
std::string ToString(int value, EStringFormat format);
std::string ToString(short value, EStringFormat format);
std::string ToString(double value, EStringFormat format, int precision, EStringTruncateZero flags);

// printf-style formatting of any length; a null format gives "".
std::string FormatString(char const* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatStringV(char const* format, va_list args) __attribute__((format(printf, 1, 0)));

std::string ToLowerString(char const* text);
std::string ToLowerString(std::string const& text);
std::string ToUpperString(char const* text);
std::string ToUpperString(std::string const& text);

std::string MidString(char const* text, long start, long count);
std::string MidString(std::string const& text, long start, long count);
std::string LeftString(char const* text, long count);
std::string LeftString(std::string const& text, long count);
std::string RightString(char const* text, long count);
std::string RightString(std::string const& text, long count);

// Strips space, tab and LF at both ends (not CR); true when something is left.
bool TrimString(char const* text, std::string& out);
bool TrimString(std::string const& text, std::string& out);
std::string TrimString(char const* text);
std::string TrimString(std::string const& text);

// Replaces every occurrence left to right, never searching inserted text again;
// an empty find text replaces nothing.
bool ReplaceString(char const* source, char const* find, char const* replace, std::string& out);
bool ReplaceString(std::string const& source, std::string const& find, std::string const& replace,
                   std::string& out);
std::string ReplaceString(char const* source, char const* find, char const* replace);
std::string ReplaceString(std::string const& source, std::string const& find,
                          std::string const& replace);

// Every line break (CR LF, lone CR, lone LF) becomes CR, LF or CR LF.
std::string ReplaceToCR(char const* text);
std::string ReplaceToCR(std::string const& text);
std::string ReplaceToNL(char const* text);
std::string ReplaceToNL(std::string const& text);
std::string ReplaceToCRLF(char const* text);
std::string ReplaceToCRLF(std::string const& text);

std::string QuoteString(char const* text, bool force, bool escape);
std::string QuoteString(std::string const& text, bool force, bool escape);
std::string QuoteStringA(char const* text, bool escape);
std::string QuoteStringA(std::string const& text, bool escape);
std::string UnquoteString(char const* text, bool unescape);
std::string UnquoteString(std::string const& text, bool unescape);

bool ReplaceTextToXml(std::string const& text, std::string& out);
std::string ReplaceTextToXml(std::string const& text);
bool ReplaceXmlToText(std::string const& text, std::string& out);
std::string ReplaceXmlToText(std::string const& text);

}  // namespace GT
