#include "Executable/Com/Card/FileUtilities.h"

#include "GT/Com/Base/DebugTrace.h"
#include "GT/Com/Text/StringTools.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"
#include "SL/Com/Base/CLogger.h"
#include "UL/Linux/Progress/CProgressBar.h"

#include <boost/make_shared.hpp>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace VQ7 {

namespace {

short const nUserDomain = -32763;
unsigned long const nTemporaryFolderType = 0x74656D70UL;  // 'temp'

// Every volume gets the same copy buffer: the speed grade a card reports
// elsewhere has no counterpart here.
std::size_t const nCopyBufferSize = 0x40000;

// The nearest existing object at or above path, or "". A relative path stays
// relative when the working folder is gone; once it has no folder left to
// climb to, there is nothing above it to ask. Elements are cut as written,
// never "x/.." as text: after a link, ".." is the parent of the link's target.
std::string ExistingAncestor(std::string const& path) {
  if (path.empty()) return std::string();
  std::string p = path;
  if (p.front() != '/') {
    std::error_code ec;
    std::string const here = std::filesystem::current_path(ec).string();
    if (!ec && !here.empty()) p = GT::Posix::Join(here, p);
  }
  struct stat st;
  for (;;) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (::stat(p.c_str(), &st) == 0) return p;
    std::string::size_type const slash = p.rfind('/');
    if (p == "/" || slash == std::string::npos) return std::string();
    p = slash == 0 ? "/" : p.substr(0, slash);
  }
}

// A refusal to keep owner or mode (FAT and exFAT refuse both) is no failure.
void CopyOwnerAndMode(int to, struct stat const& from) {
  if (::fchown(to, from.st_uid, from.st_gid) != 0) {
    // kept by whoever made the file
  }
  if (::fchmod(to, (from.st_mode & 07777) | S_IRUSR | S_IWUSR) != 0) {
    // the file system decides
  }
}

// The copy's diagnostics go to standard error through a logger of their own:
// the logger on top of the stack shows each line to the user in an alert.
class CTracePrinter : public SL::CGeneralStringBuffer::IPrinter {
public:
  void Print(std::string const& text) override { DebugTrace_("%s", text.c_str()); }
};

std::ostream& Trace() {
  static SL::CLogger sTrace(boost::make_shared<CTracePrinter>());
  return sTrace;
}

// A hint to the page cache: a refused one costs speed, never data, so the
// copy goes on; the refusal is told, as it means a wrong call.
void Advise(int fd, int advice, char const* name) {
  int const error = ::posix_fadvise(fd, 0, 0, advice);
  if (error != 0) Trace() << "posix_fadvise(" << name << ") failed: error=" << error << std::endl;
}

// Reserves the file's space up front where the file system can. Not
// posix_fallocate: where the file system has no fallocate, it writes into
// every block ahead of the data, and some FUSE drivers put such writes in
// the wrong place. A volume that refuses to reserve leaves it to the writes;
// false only when the space or the device fails.
bool Reserve(int fd, off_t size) {
  int r = 0;
  do {
    r = ::fallocate(fd, 0, 0, size) == 0 ? 0 : errno;
  } while (r == EINTR);
  return r != ENOSPC && r != EDQUOT && r != EFBIG && r != EIO;
}

class CFd {
public:
  explicit CFd(int fd) : mFd(fd) {}
  ~CFd() {
    if (mFd >= 0) ::close(mFd);
  }
  CFd(CFd const&) = delete;
  CFd& operator=(CFd const&) = delete;
  int Get() const { return mFd; }
  // Closing reports the last write errors of some file systems.
  bool Close() {
    int const fd = mFd;
    mFd = -1;
    return ::close(fd) == 0;
  }

private:
  int mFd;
};

}  // namespace

std::string GetTemporaryDirectoryName() {
  std::string folder = GT::GetSpecialFolderName(nUserDomain, nTemporaryFolderType);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

bool GetVolumeFreeSpace(std::string const& path, unsigned long long& freeBytes) {
  unsigned long long blockBytes = 0;
  return GetVolumeFreeSpace(path, freeBytes, blockBytes);
}

bool GetVolumeFreeSpace(std::string const& path, unsigned long long& freeBytes,
                        unsigned long long& blockBytes) {
  std::string const existing = ExistingAncestor(path);
  struct statvfs vfs;
  if (existing.empty() || ::statvfs(existing.c_str(), &vfs) != 0 || vfs.f_frsize == 0) return false;
  freeBytes = static_cast<unsigned long long>(vfs.f_bavail) * vfs.f_frsize;
  blockBytes = vfs.f_frsize;
  return true;
}

namespace {

// The innermost mount that holds path, as /proc/self/mountinfo gives it: its
// id and its file-system type.
bool FindMount(std::string const& path, int64_t& volumeId, std::string& type) {
  struct stat st;
  char resolved[PATH_MAX];
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || ::realpath(path.c_str(), resolved) == 0)
    return false;
  std::string const where(resolved);
  std::ifstream in("/proc/self/mountinfo");
  std::string line;
  std::size_t best = 0;
  bool found = false;
  GT::Posix::CMountInfo mount;
  while (std::getline(in, line)) {
    if (!GT::Posix::ParseMountInfoLine(line, mount) || mount.device != st.st_dev) continue;
    std::string const& point = mount.point;
    bool const inside = point == "/" || where == point ||
                        (where.compare(0, point.size(), point) == 0 && where[point.size()] == '/');
    // The innermost mount of that device that holds the path; a later line
    // of the same point is mounted over an earlier one.
    if (inside && (!found || point.size() >= best)) {
      best = point.size();
      volumeId = mount.id;
      type = mount.type;
      found = true;
    }
  }
  return found;
}

}  // namespace

bool GetVolumeId(std::string const& path, int64_t& volumeId) {
  std::string type;
  return FindMount(path, volumeId, type);
}

bool IsCaseIgnoringVolume(std::string const& path) {
  int64_t id = 0;
  std::string type;
  return FindMount(path, id, type) && GT::Posix::IsFatMountType(type);
}

bool Move(std::string const& source, std::string const& target) {
  struct stat st;
  if (source.empty() || target.empty()) return false;
  if (::lstat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
  return GT::Posix::Rename(source, target) == 0;
}

bool IsWritable(std::string const&) { return true; }

bool CopyFileWithProgress(std::string const& source, std::string const& target,
                          UL::IProgress& progress) {
  CFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat from;
  if (in.Get() < 0 || ::fstat(in.Get(), &from) != 0 || !S_ISREG(from.st_mode)) return false;
  struct stat existing;
  if (::lstat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return false;
  CFd out(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (out.Get() < 0) return false;

  uint64_t const size = static_cast<uint64_t>(from.st_size);
  Advise(in.Get(), POSIX_FADV_SEQUENTIAL, "SEQUENTIAL");
  Advise(in.Get(), POSIX_FADV_NOREUSE, "NOREUSE");
  if (size > 0 && !Reserve(out.Get(), static_cast<off_t>(size))) return false;

  std::size_t const bufferSize = nCopyBufferSize;
  Trace() << GT::FormatString("CopyFileWithProgress: bufferSize = %d (%dKB)\n",
                              static_cast<int>(bufferSize), static_cast<int>(bufferSize / 1024))
          << std::flush;
  uint64_t blocks = size / bufferSize;
  int shift = 0;
  while (blocks > 0x7FFFFFFF) {
    blocks >>= 1;
    ++shift;
  }
  std::vector<char> buffer(bufferSize);
  // The progress window handles its events between blocks; any other
  // progress only hears of the position.
  UL::CProgressBar* const window = dynamic_cast<UL::CProgressBar*>(&progress);
  progress.SetPosition(0);
  progress.SetRange(static_cast<long>(blocks));

  uint64_t total = 0;
  for (;;) {
    if (progress.IsCanceled()) return true;
    ssize_t const n = GT::Posix::ReadSome(in.Get(), buffer.data(), buffer.size());
    if (n < 0) return false;
    if (n == 0) break;
    if (!GT::Posix::WriteAll(out.Get(), buffer.data(), static_cast<std::size_t>(n))) return false;
    total += static_cast<uint64_t>(n);
    if (total > size) return false;  // the source grew: not the file we measured
    progress.SetPosition(static_cast<long>((total / bufferSize) >> shift));
    if (window) window->DoEvents();
  }
  // A source that shrank would leave the reserved tail as zeros.
  if (total != size) return false;
  progress.SetPosition(static_cast<long>(blocks));
  // Cut what a reservation may have added beyond the data; some FUSE file
  // systems refuse a truncate that cuts nothing.
  struct stat written;
  if (::fstat(out.Get(), &written) != 0) return false;
  if (static_cast<uint64_t>(written.st_size) > size &&
      ::ftruncate(out.Get(), static_cast<off_t>(size)) != 0)
    return false;
  CopyOwnerAndMode(out.Get(), from);
  if (::fsync(out.Get()) != 0) return false;
  // Written and synced: the pages of both files need not stay in the cache.
  // (Dropping the source's earlier would write back a temporary that is
  // about to go.)
  Advise(out.Get(), POSIX_FADV_DONTNEED, "DONTNEED");
  Advise(in.Get(), POSIX_FADV_DONTNEED, "DONTNEED");
  return out.Close();
}

}  // namespace VQ7
