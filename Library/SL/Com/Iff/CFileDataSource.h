#pragma once

#include "SL/Com/Iff/IDataSource.h"

#include <string>

namespace SL {

// A file path as a data source. With the update flag an output stream keeps
// the file's contents and writes over them in place; without it the file is
// created or truncated.
class CFileDataSource : public IDataSource {
public:
  CFileDataSource();
  CFileDataSource(std::string const& path, bool update);
  CFileDataSource(CFileDataSource const& other);
  CFileDataSource& operator=(CFileDataSource const& other);
  ~CFileDataSource() override;

  void Swap(CFileDataSource& other);
  bool operator==(CFileDataSource const& other) const;
  bool operator!=(CFileDataSource const& other) const { return !(*this == other); }

  std::string GetName() const override;
  boost::shared_ptr<std::istream> CreateInputStream() override;
  boost::shared_ptr<std::ostream> CreateOutputStream() override;

private:
  std::string mPath;
  bool mUpdate;
};

}  // namespace SL
