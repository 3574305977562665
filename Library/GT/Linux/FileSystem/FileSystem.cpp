#include "GT/Linux/FileSystem/FileSystem.h"

#include "GT/Com/Text/CPathSplitter.h"
#include "GT/Com/Text/StringTools.h"
#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <pwd.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace GT {
namespace {

// Files and folders made by the copy and folder functions get the user's default access.
bool nAllUsersWritable = true;

mode_t FileMode() { return (0666 & ~Posix::CurrentUmask()) | S_IRUSR | S_IWUSR; }
mode_t FolderMode() { return (0777 & ~Posix::CurrentUmask()) | S_IRWXU; }

bool StatOf(std::string const& path, struct stat& st) {
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

// Creates a temporary file beside path; its name goes to temp.
int MakeTemporaryBeside(std::string const& parent, std::string const& name, std::string& temp) {
  temp = Posix::Join(parent, Posix::TemporarySiblingName(name, ".XXXXXX"));
  int const fd = ::mkostemp(&temp[0], O_CLOEXEC);
  if (fd < 0) temp.clear();
  return fd;
}

// Makes a finished temporary file durable and puts it in place of the destination.
bool CommitTemporary(int fd, std::string const& temp, std::string const& destination,
                     std::string const& parent) {
  bool ok = ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), destination.c_str()) == 0;
  if (!ok) {
    int const saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return false;
  }
  Posix::SyncFolder(parent);
  return true;
}

// Goes into every folder it can read, whatever became of that folder's own
// mode (an immutable folder keeps its entries, not its files' modes); false
// when any change or listing failed.
bool AllowAccessAllIn(std::string const& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;  // gone meanwhile: nothing to do
  if (S_ISLNK(st.st_mode)) return true;
  if (!S_ISDIR(st.st_mode)) return Posix::ChangeMode(path, FileMode()) == 0;
  bool ok = Posix::ChangeMode(path, FolderMode()) == 0;
  std::vector<FSRef> items;
  ItemCount count = 0;
  Boolean changed = 0;
  FSRef const folder{path};
  if (FSGetDirectoryItems(&folder, &items, &count, &changed) != nFsNoErr) return false;
  for (FSRef const& item : items) ok = AllowAccessAllIn(item.path) && ok;
  return ok;
}

// An item that could not be read is never passed over: the copy would be reported whole
// without it, and replace the old tree.
OSErr PassingFilter(Boolean, ItemCount, OSErr error, struct stat const*, FSRef const*,
                    FSSpec const*, std::string const*, void*) {
  return (error == nFsNoErr || error == nFsDuplicateName || error == nFsNoMoreItems) ? nFsNoErr
                                                                                     : error;
}

std::string ReadExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t const n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < buffer.size())
      return std::string(buffer.data(), static_cast<std::size_t>(n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string HomeFolder() {
  if (char const* home = std::getenv("HOME")) {
    if (home[0] == '/') return home;
  }
  if (struct passwd const* pw = ::getpwuid(::geteuid())) return pw->pw_dir;
  return std::string();
}

std::string UserName() {
  if (struct passwd const* pw = ::getpwuid(::geteuid())) return pw->pw_name;
  char const* user = std::getenv("USER");
  return user ? user : "";
}

std::string XdgFolder(char const* variable, char const* fallback) {
  char const* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  std::string const home = HomeFolder();
  return home.empty() ? std::string() : home + "/" + fallback;
}

class CPrivateTemporaryFolder {
public:
  ~CPrivateTemporaryFolder() {
    if (!mPath.empty()) {
      FSRef const ref{mPath};
      FSDeleteObjects(&ref);
    }
  }
  std::string Get() {
    std::lock_guard<std::mutex> lock(mMutex);
    struct stat st;
    if (!mPath.empty() && ::lstat(mPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return mPath;
    char const* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && tmp[0] ? tmp : "/tmp") + "/vq7converter.XXXXXX";
    if (::mkdtemp(&pattern[0])) {
      mPath = pattern;  // mkdtemp makes it 0700
      return mPath;
    }
    return std::string();
  }

private:
  std::mutex mMutex;
  std::string mPath;
};

}  // namespace

// ---- functions the program calls ----

bool IsFileValid(std::string const& path) {
  struct stat st;
  return StatOf(path, st) && !S_ISDIR(st.st_mode);
}

bool RemoveFile(std::string const& path) {
  struct stat st;
  if (path.empty() || ::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(path.c_str()) == 0;
}

bool CopyFileX(std::string const& source, std::string const& destination) {
  struct stat sourceStat;
  if (!StatOf(source, sourceStat) || !S_ISREG(sourceStat.st_mode)) return false;
  std::string parent, name;
  if (!Posix::SplitParent(destination, parent, name)) return false;
  struct stat st;
  if (!StatOf(parent, st) || !S_ISDIR(st.st_mode)) return false;
  // A folder of that name is never thrown away to make room for a file.
  if (::lstat(destination.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;

  int const in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::string temp;
  int const out = MakeTemporaryBeside(parent, name, temp);
  if (out < 0) {
    ::close(in);
    return false;
  }
  int error = 0;
  {
    FSRef const destinationFolder{parent};
    int16_t volume = 0;
    GetVolParmsInfoBuffer parms;
    uint32_t actual = 0;
    uint32_t bufferSize = 0x40000;
    if (FSGetVRefNum(&destinationFolder, &volume) == nFsNoErr &&
        FSGetVolParms(volume, sizeof parms, &parms, &actual) == nFsNoErr)
      bufferSize = CopyBufferSizeOf(parms, actual);
    std::vector<char> buffer(bufferSize);
    error = Posix::CopyFileData(in, out, buffer.data(), buffer.size());
  }
  if (!error) {
    Posix::CopyExtendedAttributes(in, out);
    struct timespec const times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
    ::futimens(out, times);
    error = Posix::ChangeMode(
        out, nAllUsersWritable ? FileMode() : (sourceStat.st_mode & 0777) | S_IRUSR | S_IWUSR);
  }
  ::close(in);
  if (error) {
    ::close(out);
    ::unlink(temp.c_str());
    return false;
  }
  return CommitTemporary(out, temp, destination, parent);
}

bool Rename(std::string const& from, std::string const& to) {
  return !from.empty() && !to.empty() && Posix::Rename(from, to) == 0;
}

std::string const& GetModuleDirectoryNameX() {
  static std::string sDirectory;
  std::string const executable = ReadExecutablePath();
  if (!executable.empty()) {
    std::string::size_type const slash = executable.rfind('/');
    sDirectory = slash == 0 ? "/" : executable.substr(0, slash);
  }
  return sDirectory;
}

OSErr FSRefGetPath(FSRef const& ref, std::string& path) {
  if (ref.path.empty()) return -1;
  path = ref.path;
  return nFsNoErr;
}

OSErr FSSpecGetPath(FSSpec const& spec, std::string& path) {
  FSRef ref;
  OSErr const error = FSMakeFSRef(spec.vRefNum, spec.parID, spec.name, &ref);
  if (error) return error;
  return FSRefGetPath(ref, path);
}

// ---- further functions of the module ----

bool IsDirectoryValid(std::string const& path) {
  struct stat st;
  return StatOf(path, st) && S_ISDIR(st.st_mode);
}

bool RemoveDirectoryX(std::string const& path) {
  // "link/" would name the folder a link leads to: the link is looked at.
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  struct stat st;
  if (folder.empty() || ::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  FSRef const ref{folder};
  return FSDeleteObjects(&ref) == nFsNoErr;
}

bool CopyDirectory(std::string const& source, std::string const& destination) {
  if (!IsDirectoryValid(source)) return false;
  std::string target = destination;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  std::string parent, name;
  if (!Posix::SplitParent(target, parent, name) || !IsDirectoryValid(parent)) return false;

  // The new tree is built in a private folder beside the destination, then swapped in.
  std::string work = Posix::Join(parent, Posix::TemporarySiblingName(name, ".XXXXXX"));
  if (!::mkdtemp(&work[0])) return false;
  FSRef const workRef{work};
  FSRef const sourceRef{source};
  FSRef made;
  OSErr error = FSCopyObject(&sourceRef, &workRef, 0, 0, nDupeStandard, name.c_str(), 0, 0,
                             PassingFilter, nullptr, &made, nullptr);
  bool ok = error == nFsNoErr;
  if (ok) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) {
      ok = Posix::RenameNoReplace(made.path, target) == 0;
    } else if (::renameat2(AT_FDCWD, made.path.c_str(), AT_FDCWD, target.c_str(),
                           RENAME_EXCHANGE) != 0) {
      ok = false;
      if (errno == EINVAL || errno == ENOSYS) {
        // No atomic exchange on this file system: move the old one aside first.
        std::string const old = Posix::Join(work, ".old");
        if (Posix::RenameNoReplace(target, old) == 0) {
          ok = Posix::RenameNoReplace(made.path, target) == 0;
          if (!ok) Posix::RenameNoReplace(old, target);
        }
      }
    }
  }
  FSDeleteObjects(&workRef);  // the old tree, or the unfinished new one
  if (!ok) return false;
  Posix::SyncFolder(parent);
  if (nAllUsersWritable) AllowAccessAllIn(target);
  return true;
}

bool MakeDirectory(std::string const& path) {
  if (path.empty()) return false;
  if (IsDirectoryValid(path)) return true;
  std::string const full = Posix::Normalize(path);
  std::string::size_type at = 0;
  while (at != std::string::npos) {
    at = full.find('/', at + 1);
    std::string const prefix = full.substr(0, at);
    if (prefix.empty()) continue;
    if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return IsDirectoryValid(path);
}

bool AllowAccessAll(std::string const& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0 && AllowAccessAllIn(path);
}

bool PrepareEject(std::string const& path) {
  if (!IsDirectoryValid(path)) return false;
  FSRef const ref{path};
  int16_t volume = 0;
  GetVolParmsInfoBuffer parms;
  uint32_t actual = 0;
  if (FSGetVRefNum(&ref, &volume) != nFsNoErr ||
      FSGetVolParms(volume, sizeof parms, &parms, &actual) != nFsNoErr)
    return false;
  if (actual < sizeof parms || parms.vMVersion < 3 ||
      !(parms.vMExtendedAttributes & nVolIsEjectable))
    return false;
  std::string mountPoint = Posix::Normalize(path);
  struct stat st, up;
  if (::stat(mountPoint.c_str(), &st) != 0) return false;
  while (mountPoint != "/") {
    std::string const parent =
        mountPoint.substr(0, std::max<std::size_t>(1, mountPoint.rfind('/')));
    if (::stat(parent.c_str(), &up) != 0 || up.st_dev != st.st_dev) break;
    mountPoint = parent;
  }
  ::sync();
  return ::umount2(mountPoint.c_str(), 0) == 0;
}

OSErr OpenByShell(std::string const& path) {
  struct stat st;
  if (!StatOf(path, st)) return nFsFileNotFound;
  char const* argv[] = {"xdg-open", path.c_str(), nullptr};
  pid_t pid = 0;
  int const r =
      ::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ);
  if (r != 0) return OSErrFromErrno(r);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? nFsNoErr : nFsIOError;
}

bool GetFileCreatorType(std::string const& path, unsigned long& creator, unsigned long& type) {
  if (!IsFileValid(path)) return false;
  creator = 0;
  type = 0;
  return true;
}

int GetFileType(std::string const& path) {
  if (!IsFileValid(path)) return FileTypeNone;
  std::string const extension = ToUpperString(CPathSplitter(path, '/').GetExtension());
  if (extension == ".WAV") return FileTypeWave;
  if (extension == ".AIF" || extension == ".AIFF") return FileTypeAiff;
  if (extension == ".BMP") return FileTypeBitmap;
  if (extension == ".JPG" || extension == ".JPE" || extension == ".JPEG") return FileTypeJpeg;
  if (extension == ".MID") return FileTypeMidi;
  if (extension == ".MP3") return FileTypeMp3;
  return FileTypeNone;
}

bool GetFileSize(std::string const& path, long long& size,
                 bool /*withResourceFork: always empty here*/) {
  struct stat st;
  if (!StatOf(path, st) || S_ISDIR(st.st_mode)) return false;
  size = static_cast<long long>(st.st_size);
  return true;
}

bool GetFileSize(std::string const& path, long long& size) { return GetFileSize(path, size, true); }

bool GetFileSizeOnDisk(std::string const& path, long long& size, bool /*withResourceFork*/) {
  struct stat st;
  if (!StatOf(path, st) || S_ISDIR(st.st_mode)) return false;
  size = static_cast<long long>(st.st_blocks) * 512;
  return true;
}

bool GetFileSizeOnDisk(std::string const& path, long long& size) {
  return GetFileSizeOnDisk(path, size, true);
}

bool GetDriveCapacity(std::string const& path, long long& total, long long& free) {
  if (path.empty()) return false;
  std::string p = Posix::Normalize(path);
  struct stat st;
  while (::stat(p.c_str(), &st) != 0) {
    if (p == "/") return false;
    std::string::size_type const slash = p.rfind('/');
    p = slash == 0 ? "/" : p.substr(0, slash);
  }
  struct statvfs vfs;
  if (::statvfs(p.c_str(), &vfs) != 0) return false;
  total = static_cast<long long>(static_cast<unsigned long long>(vfs.f_blocks) * vfs.f_frsize);
  free = static_cast<long long>(static_cast<unsigned long long>(vfs.f_bavail) * vfs.f_frsize);
  return true;
}

std::vector<std::string> ParseVolumeMountPoints(std::string const& mountInfo,
                                                std::string const& user) {
  std::vector<std::string> parents{"/mnt/", "/media/"};
  if (!user.empty()) {
    parents.push_back("/media/" + user + "/");
    parents.push_back("/run/media/" + user + "/");
  }
  std::vector<std::string> points;
  std::string::size_type start = 0;
  while (start < mountInfo.size()) {
    std::string::size_type end = mountInfo.find('\n', start);
    if (end == std::string::npos) end = mountInfo.size();
    std::string const line = mountInfo.substr(start, end - start);
    start = end + 1;
    // Fields: id, parent id, major:minor, root, mount point, ...
    std::string::size_type at = 0;
    for (int i = 0; i < 4 && at != std::string::npos; ++i) {
      at = line.find(' ', at);
      if (at != std::string::npos) ++at;
    }
    if (at == std::string::npos) continue;
    std::string::size_type const stop = line.find(' ', at);
    std::string const raw =
        line.substr(at, stop == std::string::npos ? std::string::npos : stop - at);
    std::string const point = Posix::DecodeMountField(raw);
    for (std::string const& parent : parents) {
      if (point.size() > parent.size() && point.compare(0, parent.size(), parent) == 0 &&
          point.find('/', parent.size()) == std::string::npos) {
        points.push_back(point);
        break;
      }
    }
  }
  return points;
}

std::vector<std::pair<std::string, std::string> > GetDriveNames() {
  std::vector<std::pair<std::string, std::string> > drives;
  std::string const text = Posix::ReadMountTable();
  for (std::string const& point : ParseVolumeMountPoints(text, UserName())) {
    struct statvfs vfs;
    if (::statvfs(point.c_str(), &vfs) != 0 || vfs.f_blocks == 0) continue;
    drives.push_back(std::make_pair(point.substr(point.rfind('/') + 1), point));
  }
  return drives;
}

std::string GetTemporaryDirectoryName() {
  static CPrivateTemporaryFolder sFolder;
  return sFolder.Get();
}

std::string GetSpecialFolderName(short /*domain*/, unsigned long folderType) {
  std::string path;
  switch (folderType) {
    case 0x74656D70UL:  // 'temp'
      return GetTemporaryDirectoryName();
    case 0x70726566UL:  // 'pref'
      path = XdgFolder("XDG_CONFIG_HOME", ".config");
      break;
    case 0x6465736BUL:  // 'desk'
      path = HomeFolder().empty() ? std::string() : HomeFolder() + "/Desktop";
      break;
    case 0x646F6373UL:  // 'docs'
      path = HomeFolder().empty() ? std::string() : HomeFolder() + "/Documents";
      break;
    case 0x61737570UL:  // 'asup'
      path = XdgFolder("XDG_DATA_HOME", ".local/share");
      break;
    default:
      return std::string();
  }
  return !path.empty() && MakeDirectory(path) ? path : std::string();
}

std::string const& GetModuleDirectoryName() {
  static std::string sDirectory;
  std::string const& folder = GetModuleDirectoryNameX();
  sDirectory = folder.empty() ? folder : TerminateDirectoryName(folder, '/');
  return sDirectory;
}

std::string const& GetModuleFileNameA() {
  static std::string sFile;
  std::string const executable = ReadExecutablePath();
  if (!executable.empty()) sFile = executable;
  return sFile;
}

namespace {
std::string& ModuleIdentifier() {
  static std::string sIdentifier;
  return sIdentifier;
}
bool NamesTheProgram(std::string const& bundleId) {
  return !bundleId.empty() && bundleId == ModuleIdentifier();
}
}  // namespace

void SetModuleIdentifier(std::string const& bundleId) { ModuleIdentifier() = bundleId; }

std::string const& GetModuleIdentifier() { return ModuleIdentifier(); }

std::string const& GetModuleDirectoryName(std::string const& bundleId) {
  static std::string sDirectory;
  if (NamesTheProgram(bundleId)) sDirectory = GetModuleDirectoryNameX();
  return sDirectory;
}

std::string const& GetModuleFileNameA(std::string const& bundleId) {
  static std::string sFile;
  if (NamesTheProgram(bundleId)) sFile = GetModuleFileNameA();
  return sFile;
}

bool ScanDirectory(std::string const& path, std::vector<std::string>& folders,
                   std::vector<std::string>& files) {
  if (!IsDirectoryValid(path)) return false;
  std::vector<std::string> names;
  if (Posix::ListFolder(path, names) != 0 && names.empty()) return false;
  for (std::string const& name : names) {
    std::string const item = Posix::Join(path, name);
    struct stat st;
    if (::stat(item.c_str(), &st) != 0) continue;
    (S_ISDIR(st.st_mode) ? folders : files).push_back(item);
  }
  return true;
}

bool CopyFileR(std::string const& source, std::string const& destination) {
  std::string parent, name;
  if (!Posix::SplitParent(destination, parent, name)) return false;
  std::ifstream in(source, std::ios::binary);
  if (!in) return false;
  std::string temp;
  int const fd = MakeTemporaryBeside(parent, name, temp);
  if (fd < 0) return false;
  bool ok = Posix::ChangeMode(fd, FileMode()) == 0;
  {
    // Every block is checked: a stream copy that stops half way must not pass for success.
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(0x10000);
    while (ok && out) {
      in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      std::streamsize const got = in.gcount();
      if (got > 0) ok = static_cast<bool>(out.write(buffer.data(), got));
      if (!in) break;
    }
    ok = ok && !in.bad() && in.eof() && static_cast<bool>(out.flush());
    out.close();
    ok = ok && !out.fail();
  }
  if (!ok) {
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  }
  return CommitTemporary(fd, temp, destination, parent);
}

bool IsValidFileName(std::string const& name) {
  return !name.empty() && name[0] != '.' &&
         name.find_first_of("\"*,/:;<>?\\|") == std::string::npos;
}

std::string TerminateDirectoryName(std::string const& path, char separator) {
  if (!path.empty() && path.back() == separator) return path;
  return path + separator;
}

std::string UnterminateDirectoryName(std::string const& path, char separator) {
  if (!path.empty() && path.back() == separator) return path.substr(0, path.size() - 1);
  return path;
}

}  // namespace GT
