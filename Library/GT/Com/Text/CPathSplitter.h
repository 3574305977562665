#pragma once

#include <string>

namespace GT {

// Splits a file path into its directory (ending with the separator), the last
// element's name and its extension (with the leading '.').
class CPathSplitter {
public:
  CPathSplitter(std::string const& path, char separator);

  void Split(std::string const& path, char separator);
  void Split(std::string const& path);

  std::string const& GetDirectory() const { return mDirectory; }
  // The last element without its extension.
  std::string const& GetName() const { return mName; }
  std::string const& GetExtension() const { return mExtension; }
  // The last element whole: name and extension.
  std::string GetElementName() const { return mName + mExtension; }
  char GetSeparator() const { return mSeparator; }

private:
  std::string mDirectory;
  std::string mName;
  std::string mExtension;
  char mSeparator;
};

}  // namespace GT
