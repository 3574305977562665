#include "GT/Com/Text/CPathSplitter.h"

#include <vector>

namespace GT {
namespace {

// Fields of text at separator, a run of separators counting as one. Quotes are
// ordinary characters here: they are legal in file and folder names.
std::vector<std::string> SplitCollapsed(std::string const& text, char separator) {
  std::vector<std::string> fields(1);
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != separator) {
      fields.back() += text[i++];
      continue;
    }
    while (i < text.size() && text[i] == separator) ++i;
    fields.push_back(std::string());
  }
  return fields;
}

}  // namespace

CPathSplitter::CPathSplitter(std::string const& path, char separator) : mSeparator(separator) {
  Split(path);
}

void CPathSplitter::Split(std::string const& path, char separator) {
  mSeparator = separator;
  Split(path);
}

void CPathSplitter::Split(std::string const& path) {
  mDirectory.clear();
  mName.clear();
  mExtension.clear();

  std::vector<std::string> const elements = SplitCollapsed(path, mSeparator);
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    mDirectory += elements[i];
    mDirectory += mSeparator;
  }
  std::vector<std::string> const parts = SplitCollapsed(elements.back(), '.');
  if (parts.size() == 1) {
    mName = parts[0];
    return;
  }
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (i > 0) mName += '.';
    mName += parts[i];
  }
  mExtension = "." + parts.back();
}

}  // namespace GT
