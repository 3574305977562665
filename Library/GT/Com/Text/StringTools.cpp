#include "GT/Com/Text/StringTools.h"

#include "GT/Com/Data/Numerics.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace GT {
namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Reads one integer as scanf's "%li" would (blanks, an optional sign, then
// decimal, 0x-hexadecimal or 0-octal digits), but with the magnitude checked
// instead of overflowing. Returns false when no digit follows.
bool ScanInteger(char const*& p, bool& negative, unsigned long long& magnitude) {
  while (IsSpace(*p)) ++p;
  negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  if (!IsDigit(*p)) return false;  // strtoull would accept a second sign and wrap
  errno = 0;
  char* end = nullptr;
  unsigned long long const value = std::strtoull(p, &end, 0);
  if (end == p || errno == ERANGE) return false;
  p = end;
  magnitude = value;
  return true;
}

// The signed value of a magnitude, when it lies within [low, high].
bool ToSigned(bool negative, unsigned long long magnitude, long long low, long long high,
              long long& out) {
  if (negative) {
    if (magnitude == 0) {
      out = 0;
    } else if (magnitude - 1ULL <= static_cast<unsigned long long>(-(low + 1))) {
      out = -static_cast<long long>(magnitude - 1ULL) - 1;  // reaches low without overflow
    } else {
      return false;
    }
    return true;
  }
  if (magnitude > static_cast<unsigned long long>(high)) return false;
  out = static_cast<long long>(magnitude);
  return true;
}

// Skips blanks and one optional '-', then reads an integer like "%li"; the sign
// and the number's own sign combine, and the result must fit [low, high].
bool ParseSignedNumber(char const* text, long long low, long long high, long long& out) {
  if (!text) return false;
  char const* p = text;
  while (IsSpace(*p)) ++p;
  bool outer = false;
  if (*p == '-') {
    outer = true;
    ++p;
  }
  bool inner = false;
  unsigned long long magnitude = 0;
  if (!ScanInteger(p, inner, magnitude)) return false;
  return ToSigned(outer != inner, magnitude, low, high, out);
}

// One "%li" at p within the range of long.
bool ScanLong(char const*& p, long& out) {
  bool negative = false;
  unsigned long long magnitude = 0;
  long long value = 0;
  if (!ScanInteger(p, negative, magnitude) ||
      !ToSigned(negative, magnitude, std::numeric_limits<long>::min(),
                std::numeric_limits<long>::max(), value))
    return false;
  out = static_cast<long>(value);
  return true;
}

// A hexadecimal number of at most 32 bits starting right at p; false without digits.
bool ScanHex32(char const* p, uint32_t& out) {
  if (!IsHexDigit(*p)) return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long const value = std::strtoull(p, &end, 16);
  if (end == p || errno == ERANGE || value > 0xFFFFFFFFULL) return false;
  out = static_cast<uint32_t>(value);
  return true;
}

int32_t AsSigned32(uint32_t bits) {
  return bits >= 0x80000000u ? -static_cast<int32_t>(~bits) - 1 : static_cast<int32_t>(bits);
}

std::string Chars(char const* text) { return text ? std::string(text) : std::string(); }

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::string ReplaceLineBreaks(std::string const& text, char const* lineBreak) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += lineBreak;
    } else if (text[i] == '\n') {
      out += lineBreak;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool IsFieldBlank(char c) { return static_cast<signed char>(c) <= 32; }

}  // namespace

// ---- parsing ----

bool ToLong(char const* text, long* out) {
  long long value = 0;
  if (!ParseSignedNumber(text, std::numeric_limits<long>::min(), std::numeric_limits<long>::max(),
                         value))
    return false;
  if (out) *out = static_cast<long>(value);
  return true;
}
bool ToLong(std::string const& text, long* out) { return ToLong(text.c_str(), out); }
long ToLong(char const* text) {
  long value = 0;
  return ToLong(text, &value) ? value : 0;
}
long ToLong(std::string const& text) { return ToLong(text.c_str()); }

bool ToInt(char const* text, int* out) {
  long long value = 0;
  if (!ParseSignedNumber(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                         value))
    return false;
  if (out) *out = static_cast<int>(value);
  return true;
}
bool ToInt(std::string const& text, int* out) { return ToInt(text.c_str(), out); }
int ToInt(char const* text) {
  int value = 0;
  return ToInt(text, &value) ? value : 0;
}
int ToInt(std::string const& text) { return ToInt(text.c_str()); }

bool ToShort(char const* text, short* out) {
  long value = 0;
  if (!ToLong(text, &value)) return false;
  uint16_t const bits = static_cast<uint16_t>(static_cast<unsigned long>(value));
  if (out)
    *out = bits >= 0x8000u ? static_cast<short>(-static_cast<int>(0x10000u - bits))
                           : static_cast<short>(bits);
  return true;
}
bool ToShort(std::string const& text, short* out) { return ToShort(text.c_str(), out); }
short ToShort(char const* text) {
  short value = 0;
  return ToShort(text, &value) ? value : 0;
}
short ToShort(std::string const& text) { return ToShort(text.c_str()); }

bool ToDouble(char const* text, double* out) {
  if (!text) return false;
  char const* p = text;
  while (IsSpace(*p)) ++p;
  double sign = 1.0;
  if (*p == '-') {
    sign = -1.0;
    ++p;
  }
  double value = 0.0;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    char const* const digits = p + 2;
    char const* const point = std::strchr(digits, '.');
    uint32_t integral = 0;
    if (point) {
      std::size_t const length = static_cast<std::size_t>(point - digits);
      if (length >= 128) return false;
      if (!ScanHex32(std::string(digits, length).c_str(), integral)) return false;
      // Seven hexadecimal digits of fraction (28 bits), padded with zeros.
      std::string fraction(point + 1, std::min<std::size_t>(7, std::strlen(point + 1)));
      fraction.resize(7, '0');
      std::size_t used = 0;
      while (used < fraction.size() && IsHexDigit(fraction[used])) ++used;
      if (used == 0) return false;
      uint32_t f = 0;
      if (!ScanHex32(fraction.substr(0, used).c_str(), f)) return false;
      value = static_cast<double>(AsSigned32(integral)) + static_cast<double>(f) / 268435456.0;
    } else {
      if (!ScanHex32(digits, integral)) return false;
      value = static_cast<double>(AsSigned32(integral));
    }
  } else {
    errno = 0;
    char* end = nullptr;
    value = std::strtod(p, &end);
    if (end == p) return false;
    if (errno == ERANGE && std::isinf(value)) return false;  // beyond the double range
  }
  if (out) *out = sign * value;
  return true;
}
bool ToDouble(std::string const& text, double* out) { return ToDouble(text.c_str(), out); }
double ToDouble(char const* text) {
  double value = 0.0;
  return ToDouble(text, &value) ? value : 0.0;
}
double ToDouble(std::string const& text) { return ToDouble(text.c_str()); }

bool ParseString(char const* text, long& value) {
  if (!text) return false;
  char const* p = text;
  long v = 0;
  if (!ScanLong(p, v)) return false;
  value = v;
  return true;
}
bool ParseString(std::string const& text, long& value) { return ParseString(text.c_str(), value); }

bool ParseString(char const* text, long& first, long& second) {
  if (!text) return false;
  char const* p = text;
  if (!ScanLong(p, first)) return false;
  if (*p != ',') return false;
  ++p;
  return ScanLong(p, second);
}
bool ParseString(std::string const& text, long& first, long& second) {
  return ParseString(text.c_str(), first, second);
}
bool ParseString(char const* text, std::pair<long, long>& values) {
  return ParseString(text, values.first, values.second);
}
bool ParseString(std::string const& text, std::pair<long, long>& values) {
  return ParseString(text.c_str(), values.first, values.second);
}

bool ParseString(char const* text, std::vector<std::string>& fields) {
  if (!text) return false;
  return ParseString(std::string(text), fields);
}
bool ParseString(std::string const& text, std::vector<std::string>& fields) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    std::size_t b = start, e = end;
    while (b < e && IsFieldBlank(text[b])) ++b;
    while (e > b && IsFieldBlank(text[e - 1])) --e;
    if (e > b) fields.push_back(text.substr(b, e - b));
    start = end + 1;
  }
  return true;
}

bool ParseStringE(std::string const& text, std::vector<std::string>& fields) {
  std::vector<std::string> raw;
  ParseString(text, raw);
  for (std::string const& field : raw) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
      if (field[i] == '\\' && i + 1 < field.size()) {
        char const next = field[i + 1];
        if (next == 'c' || next == 's' || next == '\\') {
          out += next == 'c' ? ',' : next == 's' ? ' ' : '\\';
          ++i;
          continue;
        }
      }
      out += field[i];
    }
    fields.push_back(out);
  }
  return true;
}

bool ParseString(char const* text, std::vector<long>& values) {
  if (!text || !*text) return false;
  char const* p = text;
  for (;;) {
    char const* comma = std::strchr(p, ',');
    std::size_t const length = comma ? static_cast<std::size_t>(comma - p) : std::strlen(p);
    if (length == 0 || length > 1023) return false;
    std::string const field(p, length);
    char const* q = field.c_str();
    long value = 0;
    if (!ScanLong(q, value)) return false;
    values.push_back(value);
    if (!comma) return true;
    p = comma + 1;
  }
}
bool ParseString(std::string const& text, std::vector<long>& values) {
  return ParseString(text.c_str(), values);
}

bool ParseString(char const* text, std::vector<unsigned char>& bytes) {
  if (!text) return false;
  char const* p = text;
  for (;;) {
    while (*p == ' ') ++p;
    if (!*p) return true;
    unsigned value = 0;
    int digits = 0;
    while (IsHexDigit(*p)) {
      if (++digits > 2) return false;
      char const c = static_cast<char>(std::toupper(static_cast<unsigned char>(*p++)));
      value = value * 16 + static_cast<unsigned>(IsDigit(c) ? c - '0' : c - 'A' + 10);
    }
    if (digits == 0 || (*p && *p != ' ')) return false;
    bytes.push_back(static_cast<unsigned char>(value));
  }
}
bool ParseString(std::string const& text, std::vector<unsigned char>& bytes) {
  return ParseString(text.c_str(), bytes);
}

// ---- formatting ----

std::string FormatStringV(char const* format, va_list args) {
  if (!format) return std::string();
  char small[512];
  va_list copy;
  va_copy(copy, args);
  int const length = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (length < 0) return std::string();
  if (static_cast<std::size_t>(length) < sizeof small)
    return std::string(small, static_cast<std::size_t>(length));
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, args);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string FormatString(char const* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatStringV(format, args);
  va_end(args);
  return text;
}

std::string ToString(long value, EStringFormat format) {
  unsigned long const bits = static_cast<unsigned long>(value);
  switch (format) {
    case StringFormatDecimal:
      return FormatString("%ld", value);
    case StringFormatHex:
      // Values of 32 bits print as their 32-bit pattern; wider ones in full.
      if (value >= std::numeric_limits<int32_t>::min() && value <= 0xFFFFFFFFL)
        return FormatString("0x%lX", bits & 0xFFFFFFFFUL);
      return FormatString("0x%lX", bits);
    case StringFormatSignedHex:
      if (value < 0) return FormatString("-0x%lX", 0UL - bits);
      return FormatString("0x%lX", bits);
  }
  return std::string();
}

std::string ToString(int value, EStringFormat format) {
  unsigned const bits = static_cast<unsigned>(value);
  switch (format) {
    case StringFormatDecimal:
      return FormatString("%d", value);
    case StringFormatHex:
      return FormatString("0x%X", bits);
    case StringFormatSignedHex:
      if (value < 0) return FormatString("-0x%X", 0U - bits);
      return FormatString("0x%X", bits);
  }
  return std::string();
}

std::string ToString(short value, EStringFormat format) {
  return ToString(static_cast<long>(value), format);
}

std::string ToString(double value, EStringFormat format, int precision, EStringTruncateZero flags) {
  if (precision >= 1 && (flags & TruncateZeroIntegral) && std::isfinite(value) &&
      std::trunc(value) == value)
    precision = (flags & TruncateZeroKeepOne) ? 1 : 0;

  std::string text;
  if (format == StringFormatDecimal) {
    text = FormatString("%.*f", precision, value);
  } else if (format == StringFormatHex || format == StringFormatSignedHex) {
    // Hexadecimal holds integral magnitudes below 2^31; anything else has no form.
    if (!std::isfinite(value) || std::fabs(value) >= 2147483648.0) return std::string();
    // A negative value prints in the signed form in both formats, which reads back.
    bool const negative = value < 0.0;
    double const magnitude = std::fabs(value);
    double const integral = std::trunc(magnitude);
    unsigned long const whole = static_cast<unsigned long>(integral);
    if (precision < 1) return FormatString(negative ? "-0x%lX" : "0x%lX", whole);
    unsigned long const fraction = static_cast<unsigned long>((magnitude - integral) * 268435456.0);
    text = FormatString(negative ? "-0x%lX.%0*lX" : "0x%lX.%0*lX", whole, 7, fraction);
    if (precision <= 6) text.resize(text.size() - static_cast<std::size_t>(7 - precision));
  } else {
    return std::string();
  }

  if (precision >= 1 && (flags & TruncateZeroTrailing) && !text.empty() &&
      text.find('.') != std::string::npos) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == '0') --end;
    text.resize(end);
    if (!text.empty() && text.back() == '.') {
      if (flags & TruncateZeroKeepOne)
        text += '0';
      else
        text.pop_back();
    }
  }
  return text;
}

// ---- transformations ----

std::string ToLowerString(char const* text) { return ToLowerString(Chars(text)); }
std::string ToLowerString(std::string const& text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}
std::string ToUpperString(char const* text) { return ToUpperString(Chars(text)); }
std::string ToUpperString(std::string const& text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string MidString(char const* text, long start, long count) {
  return MidString(Chars(text), start, count);
}
std::string MidString(std::string const& text, long start, long count) {
  long long const length = static_cast<long long>(text.size());
  // start + count may overflow: saturate before clipping.
  long long const b = Clip(static_cast<long long>(start), 0LL, length);
  long long end = 0;
  if (count > 0 && start > 0 && count > std::numeric_limits<long long>::max() - start)
    end = length;
  else if (count < 0 && start < 0 && count < std::numeric_limits<long long>::min() - start)
    end = 0;
  else
    end = Clip(static_cast<long long>(start) + count, 0LL, length);
  if (end <= b) return std::string();
  return text.substr(static_cast<std::size_t>(b), static_cast<std::size_t>(end - b));
}
std::string LeftString(char const* text, long count) { return MidString(text, 0, count); }
std::string LeftString(std::string const& text, long count) { return MidString(text, 0, count); }
std::string RightString(char const* text, long count) { return RightString(Chars(text), count); }
std::string RightString(std::string const& text, long count) {
  long const length = static_cast<long>(text.size());
  if (count >= length) return text;
  if (count <= 0) return std::string();
  return MidString(text, length - count, count);
}

bool TrimString(char const* text, std::string& out) { return TrimString(Chars(text), out); }
bool TrimString(std::string const& text, std::string& out) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsTrimmed(text[b])) ++b;
  while (e > b && IsTrimmed(text[e - 1])) --e;
  out = text.substr(b, e - b);
  return !out.empty();
}
std::string TrimString(char const* text) { return TrimString(Chars(text)); }
std::string TrimString(std::string const& text) {
  std::string out;
  TrimString(text, out);
  return out;
}

bool ReplaceString(char const* source, char const* find, char const* replace, std::string& out) {
  return ReplaceString(Chars(source), Chars(find), Chars(replace), out);
}
bool ReplaceString(std::string const& source, std::string const& find, std::string const& replace,
                   std::string& out) {
  if (find.empty()) {
    out = source;
    return false;
  }
  std::string result;
  bool replaced = false;
  std::size_t from = 0;
  for (;;) {
    std::size_t const at = source.find(find, from);
    if (at == std::string::npos) break;
    result.append(source, from, at - from);
    result += replace;
    from = at + find.size();
    replaced = true;
  }
  result.append(source, from, std::string::npos);
  out.swap(result);
  return replaced;
}
std::string ReplaceString(char const* source, char const* find, char const* replace) {
  return ReplaceString(Chars(source), Chars(find), Chars(replace));
}
std::string ReplaceString(std::string const& source, std::string const& find,
                          std::string const& replace) {
  std::string out;
  ReplaceString(source, find, replace, out);
  return out;
}

std::string ReplaceToCR(char const* text) { return ReplaceLineBreaks(Chars(text), "\r"); }
std::string ReplaceToCR(std::string const& text) { return ReplaceLineBreaks(text, "\r"); }
std::string ReplaceToNL(char const* text) { return ReplaceLineBreaks(Chars(text), "\n"); }
std::string ReplaceToNL(std::string const& text) { return ReplaceLineBreaks(text, "\n"); }
std::string ReplaceToCRLF(char const* text) { return ReplaceLineBreaks(Chars(text), "\r\n"); }
std::string ReplaceToCRLF(std::string const& text) { return ReplaceLineBreaks(text, "\r\n"); }

std::string QuoteString(char const* text, bool force, bool escape) {
  return QuoteString(Chars(text), force, escape);
}
std::string QuoteString(std::string const& text, bool force, bool escape) {
  std::string out;
  if (escape) {
    for (char c : text) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
  } else {
    out = text;
  }
  if (force || out.find_first_of(" \t\r\n") != std::string::npos) out = "\"" + out + "\"";
  return out;
}
std::string QuoteStringA(char const* text, bool escape) { return QuoteString(text, true, escape); }
std::string QuoteStringA(std::string const& text, bool escape) {
  return QuoteString(text, true, escape);
}

std::string UnquoteString(char const* text, bool unescape) {
  return UnquoteString(Chars(text), unescape);
}
std::string UnquoteString(std::string const& text, bool unescape) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (unescape && text[i] == '\\' && i + 1 < text.size() &&
        (text[i + 1] == '"' || text[i + 1] == '\\')) {
      out += text[++i];
    } else if (text[i] != '"') {
      out += text[i];
    }
  }
  return out;
}

bool ReplaceTextToXml(std::string const& text, std::string& out) {
  static char const* const pairs[][2] = {
      {"&", "&amp;"}, {">", "&gt;"}, {"<", "&lt;"}, {"'", "&apos;"}, {"\"", "&quot;"}};
  bool changed = false;
  std::string work = text;
  for (auto const& pair : pairs) changed = ReplaceString(work, pair[0], pair[1], work) || changed;
  out.swap(work);
  return changed;
}
std::string ReplaceTextToXml(std::string const& text) {
  std::string out;
  ReplaceTextToXml(text, out);
  return out;
}
bool ReplaceXmlToText(std::string const& text, std::string& out) {
  static char const* const pairs[][2] = {
      {"&quot;", "\""}, {"&apos;", "'"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
  bool changed = false;
  std::string work = text;
  for (auto const& pair : pairs) changed = ReplaceString(work, pair[0], pair[1], work) || changed;
  out.swap(work);
  return changed;
}
std::string ReplaceXmlToText(std::string const& text) {
  std::string out;
  ReplaceXmlToText(text, out);
  return out;
}

}  // namespace GT
