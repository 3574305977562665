#pragma once

#include "Executable/Com/Card/IFileOperations.h"

namespace VQ7 {

// The file operations on the real file system, each made durable with
// fsync before it returns.
class CPosixFileOperations : public IFileOperations {
public:
  bool IsFile(std::string const& path) override;
  bool GetFileSize(std::string const& path, uint64_t& size) override;
  std::vector<std::string> ListFolder(std::string const& folder) override;
  bool GetVolumeFreeSpace(std::string const& path, uint64_t& freeBytes,
                          uint64_t& blockBytes) override;
  bool GetVolumeId(std::string const& path, int64_t& volumeId) override;

  bool Copy(std::string const& source, std::string const& target, UL::IProgress& progress) override;
  bool Write(std::string const& path, std::string const& bytes) override;
  bool CreateUnique(std::string const& folder, std::string const& prefix,
                    std::string& path) override;
  bool Sync(std::string const& path) override;
  bool SyncFolder(std::string const& folder) override;
  bool Rename(std::string const& from, std::string const& to) override;
  bool Remove(std::string const& path) override;
};

}  // namespace VQ7
