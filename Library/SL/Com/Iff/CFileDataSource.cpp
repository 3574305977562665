#include "SL/Com/Iff/CFileDataSource.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace SL {

namespace {

// One routine for the three ways of opening: the stream is owned by the
// pointer before it is opened, so a failed open releases it.
template <class TStream, class TResult>
boost::shared_ptr<TResult> Open(std::string const& path, std::ios_base::openmode mode) {
  // A folder opens as a stream on this platform and fails only at the first read.
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return boost::shared_ptr<TResult>();
  }
  boost::shared_ptr<TStream> stream(new TStream);
  stream->open(path.c_str(), mode);
  if (!stream->is_open() || stream->fail()) {
    return boost::shared_ptr<TResult>();
  }
  return stream;
}

}  // namespace

CFileDataSource::CFileDataSource() : mPath(), mUpdate(false) {}

CFileDataSource::CFileDataSource(std::string const& path, bool update)
    : mPath(path), mUpdate(update) {}

CFileDataSource::CFileDataSource(CFileDataSource const& other)
    : IDataSource(), mPath(other.mPath), mUpdate(other.mUpdate) {}

CFileDataSource& CFileDataSource::operator=(CFileDataSource const& other) {
  CFileDataSource copy(other);
  Swap(copy);
  return *this;
}

CFileDataSource::~CFileDataSource() {}

void CFileDataSource::Swap(CFileDataSource& other) {
  std::swap(mPath, other.mPath);
  std::swap(mUpdate, other.mUpdate);
}

bool CFileDataSource::operator==(CFileDataSource const& other) const {
  return mPath == other.mPath && mUpdate == other.mUpdate;
}

std::string CFileDataSource::GetName() const { return mPath; }

boost::shared_ptr<std::istream> CFileDataSource::CreateInputStream() {
  return Open<std::ifstream, std::istream>(mPath, std::ios_base::in | std::ios_base::binary);
}

boost::shared_ptr<std::ostream> CFileDataSource::CreateOutputStream() {
  if (mUpdate) {
    return Open<std::fstream, std::ostream>(
        mPath, std::ios_base::in | std::ios_base::out | std::ios_base::binary);
  }
  return Open<std::ofstream, std::ostream>(
      mPath, std::ios_base::out | std::ios_base::trunc | std::ios_base::binary);
}

}  // namespace SL
