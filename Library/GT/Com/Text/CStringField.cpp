#include "GT/Com/Text/CStringField.h"

#include <cstring>

namespace GT {

CStringField::CStringField(char const* text, char separator, bool collapse) {
  SetSeparator(separator, collapse);
  Parse(text);
}
CStringField::CStringField(std::string const& text, char separator, bool collapse) {
  SetSeparator(separator, collapse);
  Parse(text);
}
CStringField::CStringField(char const* text, std::vector<std::string> const& separators,
                           bool collapse) {
  SetSeparator(separators, collapse);
  Parse(text);
}
CStringField::CStringField(std::string const& text, std::vector<std::string> const& separators,
                           bool collapse) {
  SetSeparator(separators, collapse);
  Parse(text);
}
CStringField::CStringField(char const* text, std::vector<char> const& separators, bool collapse) {
  SetSeparator(separators, collapse);
  Parse(text);
}
CStringField::CStringField(std::string const& text, std::vector<char> const& separators,
                           bool collapse) {
  SetSeparator(separators, collapse);
  Parse(text);
}
CStringField::CStringField(char const* text, std::string const& separator, bool collapse) {
  SetSeparator(separator, collapse);
  Parse(text);
}
CStringField::CStringField(std::string const& text, std::string const& separator, bool collapse) {
  SetSeparator(separator, collapse);
  Parse(text);
}

void CStringField::SetSeparator(char separator, bool collapse) {
  mSeparator = static_cast<unsigned char>(separator);
  mSeparators.clear();
  mCollapse = collapse;
}

void CStringField::SetSeparator(std::vector<std::string> const& separators, bool collapse) {
  mSeparator = nUseStrings;
  mSeparators = separators;
  mCollapse = collapse;
}

void CStringField::SetSeparator(std::vector<char> const& separators, bool collapse) {
  std::vector<std::string> strings;
  strings.reserve(separators.size());
  for (char c : separators) strings.push_back(std::string(1, c));
  SetSeparator(strings, collapse);
}

void CStringField::SetSeparator(std::string const& separator, bool collapse) {
  SetSeparator(std::vector<std::string>(1, separator), collapse);
}

std::size_t CStringField::GetSeparatorLength(char const* at) const {
  std::size_t const left = mLength - static_cast<std::size_t>(at - mText.get());
  if (mSeparator != nUseStrings) return static_cast<unsigned char>(*at) == mSeparator ? 1 : 0;
  for (std::string const& s : mSeparators) {
    if (s.empty()) return 0;
    if (s.size() <= left && std::memcmp(at, s.data(), s.size()) == 0) return s.size();
  }
  return 0;
}

void CStringField::Parse(std::string const& text) { Parse(text.c_str()); }

void CStringField::Parse(char const* text) {
  if (!text) text = "";
  // The new copy is made before the old one goes: the text may be one of our own fields.
  std::size_t const n = std::strlen(text);
  std::unique_ptr<char[]> copy(new char[n + 1]);
  std::memcpy(copy.get(), text, n + 1);
  mText = std::move(copy);
  mLength = n;
  mFields.clear();

  char* const s = mText.get();
  mFields.push_back(s);
  std::size_t i = 0;
  while (i < n) {
    if (s[i] == '"') {
      ++i;
      while (i < n) {
        if (s[i] == '\\' && i + 1 < n && (s[i + 1] == '"' || s[i + 1] == '\\')) {
          i += 2;
        } else if (s[i++] == '"') {
          break;
        }
      }
      if (i >= n) break;
    }
    std::size_t len = GetSeparatorLength(s + i);
    if (len == 0) {
      ++i;
      continue;
    }
    s[i] = '\0';
    i += len;
    if (mCollapse) {
      while (i < n && (len = GetSeparatorLength(s + i)) > 0) i += len;
    }
    mFields.push_back(s + i);
  }
}

int CStringField::GetCount() const { return static_cast<int>(mFields.size()); }

char const* CStringField::Get(int index, char const* defaultValue) const {
  if (index < 0 || index >= GetCount()) return defaultValue;
  return mFields[static_cast<std::size_t>(index)];
}

}  // namespace GT
