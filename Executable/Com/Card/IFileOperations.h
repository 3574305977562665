#pragma once

#include "UL/Com/Progress/IProgress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VQ7 {

// Every file operation the controller makes on a card or a destination
// folder goes through this interface, one call per step, so that a step can
// be made to fail on purpose and the card checked after it. The steps that
// change files leave what they made durable before they return.
class IFileOperations {
public:
  virtual ~IFileOperations() {}

  // Queries.
  virtual bool IsFile(std::string const& path) = 0;  // exists and is no folder
  virtual bool GetFileSize(std::string const& path, uint64_t& size) = 0;
  virtual std::vector<std::string> ListFolder(std::string const& folder) = 0;
  virtual bool GetVolumeFreeSpace(std::string const& path, uint64_t& freeBytes,
                                  uint64_t& blockBytes) = 0;
  virtual bool GetVolumeId(std::string const& path, int64_t& volumeId) = 0;

  // Steps that change files.
  virtual bool Copy(std::string const& source, std::string const& target,
                    UL::IProgress& progress) = 0;
  // Creates or truncates the file and writes the bytes.
  virtual bool Write(std::string const& path, std::string const& bytes) = 0;
  // Creates a new empty file in folder whose name starts with prefix.
  virtual bool CreateUnique(std::string const& folder, std::string const& prefix,
                            std::string& path) = 0;
  virtual bool Sync(std::string const& path) = 0;
  virtual bool SyncFolder(std::string const& folder) = 0;
  // rename(2): an existing target is replaced in one step.
  virtual bool Rename(std::string const& from, std::string const& to) = 0;
  virtual bool Remove(std::string const& path) = 0;
};

// The operations on the real file system.
IFileOperations& GetFileOperations();

}  // namespace VQ7
