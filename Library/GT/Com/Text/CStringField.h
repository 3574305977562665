#pragma once

#include <memory>
#include <string>
#include <vector>

namespace GT {

// Splits a text into fields at one separator character or at any of several
// separator strings, keeping double-quoted stretches together. Works in place on
// its own copy of the text; the fields stay valid until the next Parse.
class CStringField {
public:
  CStringField(char const* text, char separator, bool collapse);
  CStringField(std::string const& text, char separator, bool collapse);
  CStringField(char const* text, std::vector<std::string> const& separators, bool collapse);
  CStringField(std::string const& text, std::vector<std::string> const& separators, bool collapse);
  CStringField(char const* text, std::vector<char> const& separators, bool collapse);
  CStringField(std::string const& text, std::vector<char> const& separators, bool collapse);
  CStringField(char const* text, std::string const& separator, bool collapse);
  CStringField(std::string const& text, std::string const& separator, bool collapse);
  CStringField(CStringField const&) = delete;
  CStringField& operator=(CStringField const&) = delete;

  void SetSeparator(char separator, bool collapse);
  void SetSeparator(std::vector<std::string> const& separators, bool collapse);
  void SetSeparator(std::vector<char> const& separators, bool collapse);
  void SetSeparator(std::string const& separator, bool collapse);

  void Parse(char const* text);
  void Parse(std::string const& text);

  int GetCount() const;
  char const* Get(int index, char const* defaultValue) const;

  // Separator character meaning "use the separator strings".
  static constexpr unsigned char nUseStrings = 0xFF;

private:
  std::size_t GetSeparatorLength(char const* at) const;

  std::unique_ptr<char[]> mText;
  std::size_t mLength = 0;
  std::vector<char*> mFields;
  unsigned char mSeparator = nUseStrings;
  std::vector<std::string> mSeparators;
  bool mCollapse = false;
};

}  // namespace GT
