#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

namespace Support {

// The immutable flag of an object (chattr +i) for one scope, where the file
// system and the process allow it.
class CImmutable {
public:
  explicit CImmutable(std::string const& path) : mPath(path) { mSet = Change(true); }
  ~CImmutable() {
    if (mSet) Change(false);  // else the folder cannot be deleted
  }
  CImmutable(CImmutable const&) = delete;
  CImmutable& operator=(CImmutable const&) = delete;
  bool IsSet() const { return mSet; }

private:
  bool Change(bool on) const {
    int const fd = ::open(mPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
      flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
      ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
  }
  std::string mPath;
  bool mSet = false;
};

}  // namespace Support
