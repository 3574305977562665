#include "GT/Com/FileSystem/FileReplacement.h"

#include "GT/Linux/FileSystem/PosixFileUtilities.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace GT {

std::string CreateFileBeside(std::string const& path) {
  std::string parent, name;
  if (!Posix::SplitParent(path, parent, name)) return std::string();
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return std::string();
  std::string temp = Posix::Join(parent, Posix::TemporarySiblingName(name, ".XXXXXX"));
  int const fd = ::mkostemp(&temp[0], O_CLOEXEC);
  if (fd < 0) return std::string();
  // mkostemp keeps the file to its owner; the final file gets what any new one would.
  bool const ok = Posix::ChangeMode(fd, 0666 & ~Posix::CurrentUmask()) == 0;
  if (::close(fd) != 0 || !ok) {
    ::unlink(temp.c_str());
    return std::string();
  }
  return temp;
}

bool SyncFile(std::string const& path) {
  int const fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  bool const ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

bool ReplaceFileWith(std::string const& path, std::string const& finished) {
  std::string parent, name;
  if (!Posix::SplitParent(path, parent, name)) return false;
  if (::rename(finished.c_str(), path.c_str()) != 0) return false;
  Posix::SyncFolder(parent);
  return true;
}

}  // namespace GT
