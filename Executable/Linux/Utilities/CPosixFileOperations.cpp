#include "Executable/Linux/Utilities/CPosixFileOperations.h"

#include "Executable/Com/Card/FileUtilities.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace VQ7 {

namespace {

bool SyncAndClose(int fd) {
  bool const synced = ::fsync(fd) == 0;
  return (::close(fd) == 0) && synced;
}

}  // namespace

IFileOperations& GetFileOperations() {
  static CPosixFileOperations sOperations;
  return sOperations;
}

bool CPosixFileOperations::IsFile(std::string const& path) { return GT::IsFileValid(path); }

bool CPosixFileOperations::GetFileSize(std::string const& path, uint64_t& size) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size = static_cast<uint64_t>(st.st_size);
  return true;
}

std::vector<std::string> CPosixFileOperations::ListFolder(std::string const& folder) {
  std::vector<std::string> names;
  if (GT::Posix::ListFolder(folder, names) != 0) names.clear();
  return names;
}

bool CPosixFileOperations::GetVolumeFreeSpace(std::string const& path, uint64_t& freeBytes,
                                              uint64_t& blockBytes) {
  unsigned long long free = 0, block = 0;
  if (!VQ7::GetVolumeFreeSpace(path, free, block)) return false;
  freeBytes = free;
  blockBytes = block;
  return true;
}

bool CPosixFileOperations::GetVolumeId(std::string const& path, int64_t& volumeId) {
  return VQ7::GetVolumeId(path, volumeId);
}

bool CPosixFileOperations::Copy(std::string const& source, std::string const& target,
                                UL::IProgress& progress) {
  return CopyFileWithProgress(source, target, progress);
}

bool CPosixFileOperations::Write(std::string const& path, std::string const& bytes) {
  int const fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  if (!GT::Posix::WriteAll(fd, bytes.data(), bytes.size())) {
    ::close(fd);
    return false;
  }
  return SyncAndClose(fd);
}

bool CPosixFileOperations::CreateUnique(std::string const& folder, std::string const& prefix,
                                        std::string& path) {
  std::string pattern = folder + "/" + prefix + "XXXXXX";
  int const fd = ::mkostemp(&pattern[0], O_CLOEXEC);
  if (fd < 0) return false;
  path = pattern;
  return ::close(fd) == 0;
}

bool CPosixFileOperations::Sync(std::string const& path) {
  int const fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  return fd >= 0 && SyncAndClose(fd);
}

bool CPosixFileOperations::SyncFolder(std::string const& folder) {
  int const fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  // Some file systems cannot sync a folder; their renames are as durable as
  // they get.
  if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
    ::close(fd);
    return false;
  }
  return ::close(fd) == 0;
}

bool CPosixFileOperations::Rename(std::string const& from, std::string const& to) {
  return Move(from, to);
}

bool CPosixFileOperations::Remove(std::string const& path) { return GT::RemoveFile(path); }

}  // namespace VQ7
