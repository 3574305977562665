#include "GT/Linux/FileSystem/PosixFileUtilities.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <limits.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace GT {

OSErr OSErrFromErrno(int error) {
  switch (error) {
    case 0:
      return nFsNoErr;
    case ENOENT:
      return nFsFileNotFound;
    case ENOTDIR:
      return nFsDirectoryNotFound;
    case ENOSPC:
    case EDQUOT:
      return nFsDiskFull;
    case EROFS:
      return nFsWriteProtected;
    case EACCES:
    case EPERM:
      return nFsAccessDenied;
    case EEXIST:
      return nFsDuplicateName;
    case ENOTEMPTY:
    case EBUSY:
    case ETXTBSY:
      return nFsBusy;
    case EISDIR:
      return nFsNotAFile;
    case EXDEV:
      return nFsDifferentVolumes;
    case ENOMEM:
      return nFsOutOfMemory;
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return nFsBadName;
    case ENODEV:
    case ENXIO:
      return nFsNoSuchVolume;
    default:
      return nFsIOError;
  }
}

namespace Posix {

bool WriteAll(int fd, void const* data, std::size_t size) {
  char const* p = static_cast<char const*>(data);
  while (size > 0) {
    ssize_t const n = ::write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {  // no progress: treat as a full device rather than spin
      errno = ENOSPC;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

ssize_t ReadSome(int fd, void* data, std::size_t size) {
  for (;;) {
    ssize_t const n = ::read(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

int CopyData(int in, int out, void* buffer, std::size_t bufferSize) {
  for (;;) {
    ssize_t const n = ReadSome(in, buffer, bufferSize);
    if (n < 0) return errno;
    if (n == 0) return 0;
    if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) return errno;
  }
}

int CopyFileData(int in, int out, void* buffer, std::size_t bufferSize) {
  struct stat before;
  if (::fstat(in, &before) != 0) return errno;
  // Reserving must not set the size: a source that shrinks meanwhile would
  // leave a copy of its old length ending in zeros.
  if (before.st_size > 0 && ::fallocate(out, FALLOC_FL_KEEP_SIZE, 0, before.st_size) != 0 &&
      (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
    return errno;
  off_t copied = 0;
  for (;;) {
    ssize_t const n = ReadSome(in, buffer, bufferSize);
    if (n < 0) return errno;
    if (n == 0) break;
    if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) return errno;
    copied += n;
  }
  struct stat after;
  if (::fstat(in, &after) != 0) return errno;
  if (copied != before.st_size || after.st_size != before.st_size) return EBUSY;
  return 0;
}

void CopyExtendedAttributes(int from, int to) {
  ssize_t size = ::flistxattr(from, nullptr, 0);
  if (size <= 0) return;
  std::vector<char> names(static_cast<std::size_t>(size));
  size = ::flistxattr(from, names.data(), names.size());
  if (size <= 0) return;
  std::vector<char> value;
  for (std::size_t at = 0; at < static_cast<std::size_t>(size);) {
    char const* name = names.data() + at;
    at += std::strlen(name) + 1;
    ssize_t length = ::fgetxattr(from, name, nullptr, 0);
    if (length < 0) continue;
    value.resize(static_cast<std::size_t>(length) + 1);
    length = ::fgetxattr(from, name, value.data(), value.size());
    if (length < 0) continue;
    ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(length), 0);
  }
}

mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, 6, "Umask:") == 0) {
      unsigned value = 0;
      if (std::sscanf(line.c_str() + 6, "%o", &value) == 1)
        return static_cast<mode_t>(value & 0777);
    }
  }
  // Older kernels: the mask can only be read by setting it.
  mode_t const mask = ::umask(022);
  ::umask(mask);
  return mask;
}

bool SplitParent(std::string const& path, std::string& parent, std::string& name) {
  if (path.empty() || path.back() == '/') return false;
  std::string::size_type const slash = path.rfind('/');
  if (slash == std::string::npos) {
    parent = ".";
    name = path;
  } else {
    parent = slash == 0 ? "/" : path.substr(0, slash);
    name = path.substr(slash + 1);
  }
  return !name.empty() && name != "." && name != "..";
}

std::string Join(std::string const& folder, std::string const& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string Normalize(std::string const& path) {
  std::filesystem::path p(path);
  std::error_code ec;
  if (p.is_relative()) p = std::filesystem::current_path(ec) / p;
  std::string out = p.lexically_normal().string();
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

int ListFolder(std::string const& folder, std::vector<std::string>& names) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return errno;
  errno = 0;
  while (struct dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names.push_back(entry->d_name);
  }
  int const error = errno;
  ::closedir(dir);
  return error;
}

std::string CutBetweenCharacters(std::string const& text, std::size_t bytes) {
  std::size_t keep = std::min(bytes, text.size());
  // Never inside a character: a volume that stores names as UTF-16 refuses broken ones.
  while (keep > 0 && keep < text.size() &&
         (static_cast<unsigned char>(text[keep]) & 0xC0u) == 0x80u)
    --keep;
  return text.substr(0, keep);
}

std::string TemporarySiblingName(std::string const& name, std::string const& suffix) {
  std::size_t const room = NAME_MAX > 1 + suffix.size() ? NAME_MAX - 1 - suffix.size() : 0;
  return "." + CutBetweenCharacters(name, room) + suffix;
}

bool VolumeKeepsNoModes(int error, bool entitled, bool modeless) {
  return error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP ||
         (error == EPERM && entitled && modeless);
}

namespace {
unsigned long const nMsdosMagic = 0x4D44UL;  // msdos and vfat
unsigned long const nExfatMagic = 0x2011BAB0UL;
unsigned long const nFuseMagic = 0x65735546UL;

// The type the mount table gives the mounts of a device ("fuse.fusefat"), or "".
std::string MountTypeOf(dev_t device) {
  std::ifstream in("/proc/self/mountinfo");
  std::string line;
  CMountInfo mount;
  while (std::getline(in, line))
    if (ParseMountInfoLine(line, mount) && mount.device == device) return mount.type;
  return std::string();
}

// The mount type of a FUSE volume ("fuse.fusefat"): through FUSE only the
// driver tells what a volume can do. "" for any other volume.
std::string FuseMountType(struct statfs const& fs, dev_t device) {
  return static_cast<unsigned long>(fs.f_type) == nFuseMagic ? MountTypeOf(device) : std::string();
}

bool IsModeless(struct statfs const& fs, dev_t device) {
  unsigned long const type = static_cast<unsigned long>(fs.f_type);
  return type == nMsdosMagic || type == nExfatMagic || IsFatMountType(FuseMountType(fs, device));
}

// The process may change the mode of what it owns, and root anything.
bool MayChangeMode(struct stat const& st) {
  uid_t const self = ::geteuid();
  return self == 0 || st.st_uid == self;
}
}  // namespace

bool IsModelessVolume(int fd) {
  struct stat st;
  struct statfs fs;
  return ::fstat(fd, &st) == 0 && ::fstatfs(fd, &fs) == 0 && IsModeless(fs, st.st_dev);
}

bool IsModelessVolume(std::string const& path) {
  struct stat st;
  struct statfs fs;
  return ::stat(path.c_str(), &st) == 0 && ::statfs(path.c_str(), &fs) == 0 &&
         IsModeless(fs, st.st_dev);
}

// Only EPERM needs a look at the object and its volume.
int ChangeMode(int fd, mode_t mode) {
  if (::fchmod(fd, mode) == 0) return 0;
  int const error = errno;
  struct stat st;
  bool const entitled = error == EPERM && ::fstat(fd, &st) == 0 && MayChangeMode(st);
  return VolumeKeepsNoModes(error, entitled, entitled && IsModelessVolume(fd)) ? 0 : error;
}

int ChangeMode(std::string const& path, mode_t mode) {
  if (::chmod(path.c_str(), mode) == 0) return 0;
  int const error = errno;
  struct stat st;
  bool const entitled = error == EPERM && ::stat(path.c_str(), &st) == 0 && MayChangeMode(st);
  return VolumeKeepsNoModes(error, entitled, entitled && IsModelessVolume(path)) ? 0 : error;
}

namespace {
bool EqualIgnoringCase(std::string const& a, std::string const& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The path with its links, "." and ".." resolved; "" when it cannot be.
std::string RealPath(std::string const& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  std::string const resolved = real ? real : "";
  std::free(real);
  return resolved;
}

// The FUSE FAT driver loses the entries of a folder it renames.
bool EmptiesMovedFolders(struct stat const& st, std::string const& path) {
  struct statfs fs;
  if (::statfs(path.c_str(), &fs) != 0) return false;
  std::string const type = FuseMountType(fs, st.st_dev);
  return type == "fuse.fusefat" || type == "fuseblk.fusefat";
}

// Whether two paths of one FAT volume spell the same entry apart (their
// folders resolved; FAT compares names without letter case).
bool SpellTheSameEntryApart(std::string const& from, std::string const& to) {
  std::string fromParent, fromName, toParent, toName;
  if (!SplitParent(from, fromParent, fromName) || !SplitParent(to, toParent, toName) ||
      !EqualIgnoringCase(fromName, toName))
    return false;
  std::string const a = RealPath(fromParent), b = RealPath(toParent);
  if (a.empty() || b.empty()) return false;
  std::string const x = Join(a, fromName), y = Join(b, toName);
  return x != y && EqualIgnoringCase(x, y);
}

// The status of the object at `from` in st: 0, the errno, or EINVAL for a
// move that the volume's driver would botch. That driver loses a folder it
// moves, and takes a file renamed to another spelling of its own name for
// another file it replaces, and frees its data. Such a move is refused,
// as on a volume that takes no folder moves.
int StatusToMove(std::string const& from, std::string const& to, struct stat& st) {
  if (::lstat(from.c_str(), &st) != 0) return errno;
  bool const botched = S_ISDIR(st.st_mode) || SpellTheSameEntryApart(from, to);
  return botched && EmptiesMovedFolders(st, from) ? EINVAL : 0;
}
}  // namespace

bool IsAncestorOrSelf(std::string const& folderPath, struct stat const& folder,
                      std::string const& path) {
  std::string p = RealPath(path);
  if (p.empty()) return false;
  // The FUSE FAT driver gives each spelling of a name its own inode number:
  // there the resolved paths are compared too, without letter case, as FAT
  // compares names.
  std::string const spelled = EmptiesMovedFolders(folder, folderPath) ? RealPath(folderPath) : "";
  for (;;) {
    struct stat st;
    if (::stat(p.c_str(), &st) != 0 || st.st_dev != folder.st_dev) return false;
    if (st.st_ino == folder.st_ino || (!spelled.empty() && EqualIgnoringCase(p, spelled)))
      return true;
    std::string::size_type const slash = p.rfind('/');
    if (p == "/" || slash == std::string::npos) return false;
    p = slash == 0 ? "/" : p.substr(0, slash);
  }
}

bool EmptiesMovedFolders(std::string const& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && EmptiesMovedFolders(st, path);
}

int RenameNoReplace(std::string const& from, std::string const& to) {
  struct stat st;
  if (int const error = StatusToMove(from, to, st)) return error;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A second name cannot replace anything; the first goes once the second is
  // there. Folders take no second names.
  if (!S_ISDIR(st.st_mode)) {
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0) {
      if (::unlink(from.c_str()) == 0) return 0;
      int const error = errno;
      ::unlink(to.c_str());
      return error;
    }
    if (errno == EEXIST) return EEXIST;
    if (errno != EPERM && errno != ENOSYS && errno != EOPNOTSUPP && errno != EMLINK) return errno;
  }
  // No links (FAT, or a folder): what appears at `to` between the look and the
  // rename is replaced (a file) or refuses it (a non-empty folder).
  struct stat target;
  if (::lstat(to.c_str(), &target) == 0) return EEXIST;
  if (errno != ENOENT) return errno;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int Rename(std::string const& from, std::string const& to) {
  struct stat st;
  if (int const error = StatusToMove(from, to, st)) return error;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::string ReadMountTable() {
  int const fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string();
  std::string table;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = ReadSome(fd, buffer, sizeof buffer)) > 0)
    table.append(buffer, static_cast<std::size_t>(n));
  ::close(fd);
  return n == 0 ? table : std::string();
}

std::string DecodeMountField(std::string const& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
        field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                               (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool ParseMountInfoLine(std::string const& line, CMountInfo& mount) {
  // Fields: id, parent, major:minor, root, mount point, options, optional
  // fields up to "-", then the type.
  std::istringstream fields(line);
  std::string parent, numbers, root, point, field;
  if (!(fields >> mount.id >> parent >> numbers >> root >> point)) return false;
  unsigned major = 0, minor = 0;
  if (std::sscanf(numbers.c_str(), "%u:%u", &major, &minor) != 2) return false;
  mount.device = ::makedev(major, minor);
  mount.point = DecodeMountField(point);
  while (fields >> field && field != "-") {
  }
  mount.type.clear();
  return static_cast<bool>(fields >> mount.type);
}

bool IsFatMountType(std::string const& type) {
  // FUSE drivers show their own name, or fuseblk for the block-device mounts
  // that exFAT drivers make.
  for (char const* fat : {"vfat", "msdos", "exfat", "fuse.fusefat", "fuseblk.fusefat", "fuse.exfat",
                          "fuseblk.exfat", "fuse.exfat-fuse", "fuseblk"})
    if (type == fat) return true;
  return false;
}

void SyncFolder(std::string const& folder) {
  int const fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace Posix
}  // namespace GT
