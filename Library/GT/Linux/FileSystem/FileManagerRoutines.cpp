#include "GT/Linux/FileSystem/FileManagerRoutines.h"

#include "GT/Linux/FileSystem/LinkedList.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <limits>
#include <pwd.h>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace GT;

namespace {

int32_t const nRootFolderId = 2;
int32_t const nRootParentId = 1;

using Posix::Normalize;

std::string ParentOf(std::string const& normalized) {
  std::string::size_type const slash = normalized.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return normalized.substr(0, slash);
}

std::string LastElement(std::string const& normalized) {
  if (normalized == "/") return "/";
  return normalized.substr(normalized.rfind('/') + 1);
}

// Topmost folder above path that lies on the same device.
std::string MountPointOf(std::string const& normalized, dev_t device) {
  std::string p = normalized;
  while (p != "/") {
    std::string const parent = ParentOf(p);
    struct stat st;
    if (::stat(parent.c_str(), &st) != 0 || st.st_dev != device) return p;
    p = parent;
  }
  return p;
}

// Volume numbers and folder ids handed out in this process, as the file manager
// of a path-based system has no numbers of its own for them.
class CRegistry {
public:
  static CRegistry& Instance() {
    static CRegistry sRegistry;
    return sRegistry;
  }

  int16_t VolumeOf(dev_t device, std::string const& normalized) {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mVolumeByDevice.find(device);
    if (it != mVolumeByDevice.end()) return it->second;
    int16_t const number = mNextVolume--;
    mVolumeByDevice[device] = number;
    mVolumes[number] = CVolume{device, MountPointOf(normalized, device)};
    return number;
  }

  bool Volume(int16_t number, dev_t& device, std::string& mountPoint) {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mVolumes.find(number);
    if (it == mVolumes.end()) return false;
    device = it->second.device;
    mountPoint = it->second.mountPoint;
    return true;
  }

  int32_t FolderId(std::string const& normalized) {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mIdByFolder.find(normalized);
    if (it != mIdByFolder.end()) return it->second;
    int32_t const id = mNextId++;
    mIdByFolder[normalized] = id;
    mFolderById[id] = normalized;
    return id;
  }

  bool Folder(int32_t id, std::string& normalized) {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mFolderById.find(id);
    if (it == mFolderById.end()) return false;
    normalized = it->second;
    return true;
  }

private:
  struct CVolume {
    dev_t device;
    std::string mountPoint;
  };
  std::mutex mMutex;
  std::map<dev_t, int16_t> mVolumeByDevice;
  std::map<int16_t, CVolume> mVolumes;
  std::map<std::string, int32_t> mIdByFolder;
  std::map<int32_t, std::string> mFolderById;
  int16_t mNextVolume = -100;
  int32_t mNextId = 100;
};

OSErr Errno() { return OSErrFromErrno(errno); }

OSErr VolumeOfPath(std::string const& path, int16_t& volume) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return Errno();
  volume = CRegistry::Instance().VolumeOf(st.st_dev, Normalize(path));
  return nFsNoErr;
}

bool IsNetworkFileSystem(std::string const& mountPoint) {
  struct statfs fs;
  if (::statfs(mountPoint.c_str(), &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969UL:      // NFS
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x564c:        // NCP
    case 0x73757245UL:  // Coda
    case 0x5346414FUL:  // AFS
      return true;
    default:
      return false;
  }
}

bool IsRemovableDevice(dev_t device) {
  char path[96];
  for (char const* tail : {"removable", "../removable"}) {
    std::snprintf(path, sizeof path, "/sys/dev/block/%u:%u/%s", major(device), minor(device), tail);
    std::ifstream in(path);
    char c = 0;
    if (in.get(c)) return c == '1';
  }
  return false;
}

bool Exists(std::string const& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

OSErr SpecOfPath(std::string const& path, FSSpec* spec, Boolean* isDirectory) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return Errno();
  std::string const normalized = Normalize(path);
  CRegistry& registry = CRegistry::Instance();
  int16_t const volume = registry.VolumeOf(st.st_dev, normalized);
  dev_t device;
  std::string mountPoint;
  registry.Volume(volume, device, mountPoint);
  std::string name;
  if (normalized == mountPoint) {
    spec->parID = nRootParentId;
    name = LastElement(normalized);
  } else {
    std::string const parent = ParentOf(normalized);
    spec->parID = parent == mountPoint ? nRootFolderId : registry.FolderId(parent);
    name = LastElement(normalized);
  }
  if (name.size() > 255) return nFsBadName;
  spec->vRefNum = volume;
  spec->name[0] = static_cast<unsigned char>(name.size());
  std::memcpy(spec->name + 1, name.data(), name.size());
  if (isDirectory) *isDirectory = S_ISDIR(st.st_mode) ? 1 : 0;
  return nFsNoErr;
}

// ---- deletion ----
//
// The walk goes by open folders, never by path: each entry is looked at,
// opened and removed relative to the folder that holds it, and a folder is
// opened without following a link. A folder swapped for a link while it is
// walked therefore never leads outside the tree.

// A folder must be writable and searchable by its owner for its entries to go.
void UnlockFolder(int fd) {
  struct stat st;
  if (::fstat(fd, &st) == 0 && (st.st_mode & S_IRWXU) != S_IRWXU)
    ::fchmod(fd, (st.st_mode & 07777) | S_IRWXU);
}

// Opens the folder `name` of the folder parent for deleting; a folder its
// owner may not read is opened up first. -1 with errno set.
int OpenFolderAt(int parent, char const* name) {
  int const flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::openat(parent, name, flags);
  if (fd < 0 && errno == EACCES) {
    struct stat st;
    if (::fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode) ||
        ::fchmodat(parent, name, (st.st_mode & 07777) | S_IRWXU, AT_SYMLINK_NOFOLLOW) != 0) {
      errno = EACCES;
      return -1;
    }
    fd = ::openat(parent, name, flags);
  }
  if (fd >= 0) UnlockFolder(fd);
  return fd;
}

OSErr DeleteEntryAt(int parent, char const* name);

// Deletes every entry of the open folder.
OSErr DeleteContentsAt(int folder) {
  int const listing = ::dup(folder);
  if (listing < 0) return Errno();
  DIR* dir = ::fdopendir(listing);
  if (!dir) {
    OSErr const error = Errno();
    ::close(listing);
    return error;
  }
  std::vector<std::string> names;
  errno = 0;
  while (struct dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names.push_back(entry->d_name);
  }
  int const error = errno;
  ::closedir(dir);
  if (error) return OSErrFromErrno(error);
  for (std::string const& name : names) {
    OSErr const result = DeleteEntryAt(folder, name.c_str());
    if (result) return result;
  }
  return nFsNoErr;
}

// Deletes one entry of the folder parent, a folder with its contents.
OSErr DeleteEntryAt(int parent, char const* name) {
  struct stat st;
  if (::fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return Errno();
  if (!S_ISDIR(st.st_mode)) return ::unlinkat(parent, name, 0) == 0 ? nFsNoErr : Errno();
  int const folder = OpenFolderAt(parent, name);
  if (folder < 0) return Errno();
  OSErr const error = DeleteContentsAt(folder);
  ::close(folder);
  if (error) return error;
  return ::unlinkat(parent, name, AT_REMOVEDIR) == 0 ? nFsNoErr : Errno();
}

// Splits a path into its folder, opened, and its last element; "a/b/" names
// b itself. -1 with errno set.
int OpenParentOf(std::string const& path, std::string& name) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  std::string parent;
  if (!Posix::SplitParent(trimmed, parent, name)) {
    errno = trimmed == "/" ? EBUSY : EINVAL;
    return -1;
  }
  return ::open(parent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

OSErr DeleteContents(std::string const& folder) {
  std::string name;
  int const parent = OpenParentOf(folder, name);
  if (parent < 0) return Errno();
  struct stat st;
  OSErr error = nFsNoErr;
  if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    error = Errno();
  } else if (!S_ISDIR(st.st_mode)) {
    error = nFsDirectoryNotFound;
  } else {
    int const fd = OpenFolderAt(parent, name.c_str());
    error = fd < 0 ? Errno() : DeleteContentsAt(fd);
    if (fd >= 0) ::close(fd);
  }
  ::close(parent);
  return error;
}

OSErr DeletePath(std::string const& path) {
  std::string name;
  int const parent = OpenParentOf(path, name);
  if (parent < 0) return Errno();
  OSErr const error = DeleteEntryAt(parent, name.c_str());
  ::close(parent);
  return error;
}

// ---- copying ----

struct CFolderToFinish {
  std::string path;
  struct stat source;
};

void ApplyAttributes(int fd, struct stat const& source) {
  // Ownership is kept where the process may give it (as root); otherwise ours stays.
  if (::fchown(fd, source.st_uid, source.st_gid) != 0)
    ::fchown(fd, static_cast<uid_t>(-1), source.st_gid);
  ::fchmod(fd, source.st_mode & 07777);
  struct timespec const times[2] = {source.st_atim, source.st_mtim};
  ::futimens(fd, times);
}

void ApplyFolderAttributes(std::string const& path, struct stat const& source) {
  int const fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ApplyAttributes(fd, source);
  ::close(fd);
}

OSErr CopyOneFile(std::string const& source, struct stat const& st, std::string const& target,
                  ForkCopyParams const& params) {
  if (S_ISLNK(st.st_mode)) {
    std::vector<char> link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    ssize_t const n = ::readlink(source.c_str(), link.data(), link.size() - 1);
    if (n < 0) return Errno();
    link[static_cast<std::size_t>(n)] = '\0';
    return ::symlink(link.data(), target.c_str()) == 0 ? nFsNoErr : Errno();
  }
  if (!S_ISREG(st.st_mode)) return nFsNotAFile;
  int const in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (in < 0) return Errno();
  int const out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (out < 0) {
    OSErr const error = Errno();
    ::close(in);
    return error;  // an existing object of that name is left alone
  }
  int error = Posix::CopyFileData(in, out, params.copyBuffer, params.copyBufferSize);
  if (!error) {
    Posix::CopyExtendedAttributes(in, out);
    ApplyAttributes(out, st);
    if (::fsync(out) != 0) error = errno;
  }
  if (::close(out) != 0 && !error) error = errno;
  ::close(in);
  if (error) {
    ::unlink(target.c_str());
    return OSErrFromErrno(error);
  }
  return nFsNoErr;
}

OSErr CreateFolder(std::string const& source, std::string const& target) {
  if (::mkdir(target.c_str(), S_IRWXU) != 0) return Errno();
  int const from = ::open(source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int const to = ::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (from >= 0 && to >= 0) Posix::CopyExtendedAttributes(from, to);
  if (from >= 0) ::close(from);
  if (to >= 0) ::close(to);
  return nFsNoErr;
}

// The filter's say on one item: its return, or without a filter the item's own result. The
// item is shown under its own name, or the one given (a copy made under a temporary name).
OSErr Filter(CopyObjectFilterProcPtr filter, void* data, bool changed, ItemCount level, OSErr error,
             struct stat const* info, std::string const& path, bool wantSpec, bool wantName,
             std::string const* shownName = nullptr) {
  if (!filter) return error;
  FSRef const ref{path};
  FSSpec spec;
  bool const haveSpec =
      wantSpec && error == nFsNoErr && SpecOfPath(path, &spec, nullptr) == nFsNoErr;
  std::string const name = shownName ? *shownName : LastElement(Normalize(path));
  return filter(changed ? 1 : 0, level, error, info, error == nFsNoErr ? &ref : nullptr,
                haveSpec ? &spec : nullptr, wantName ? &name : nullptr, data);
}

std::string UniqueName(std::string const& name, int n) {
  std::string::size_type const dot = name.rfind('.');
  std::string const digit = " " + std::to_string(n);
  if (dot == std::string::npos || dot == 0) return name + digit;
  return name.substr(0, dot) + digit + name.substr(dot);
}

// Moves an existing object aside without replacing anything already there.
OSErr MoveAside(std::string const& folder, std::string const& path, std::string& aside) {
  for (int n = 0; n < 1000; ++n) {
    aside = Posix::Join(folder, n == 0 ? ".DeleteMe" : ".DeleteMe" + std::to_string(n));
    int const error = Posix::RenameNoReplace(path, aside);
    if (error == 0) return nFsNoErr;
    if (error != EEXIST) return OSErrFromErrno(error);
  }
  return nFsDuplicateName;
}

// A name beside name in folder that nothing has, for a copy to be made under.
std::string FreeName(std::string const& folder, std::string const& name) {
  for (int n = 0; n < 1000; ++n) {
    std::string const path = Posix::Join(
        folder,
        Posix::TemporarySiblingName(name, ".new" + (n == 0 ? std::string() : std::to_string(n))));
    if (!Exists(path) && errno == ENOENT) return path;
  }
  return std::string();
}

// Puts the finished copy in place of the old object, which is then deleted; the old object
// is out of place for no longer than two renames, and only where no exchange is possible.
OSErr SwapIn(std::string const& folder, std::string const& copy, std::string const& target) {
  if (::renameat2(AT_FDCWD, copy.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
    DeletePath(copy);  // the old object, now under the copy's name
    return nFsNoErr;
  }
  if (errno != EINVAL && errno != ENOSYS) return Errno();
  std::string aside;
  if (OSErr const error = MoveAside(folder, target, aside)) return error;
  if (int const moved = Posix::RenameNoReplace(copy, target)) {
    Posix::RenameNoReplace(aside, target);
    return OSErrFromErrno(moved);
  }
  DeletePath(aside);
  return nFsNoErr;
}

OSErr AddPendingFolder(LinkedList* list, std::string const& source, std::string const& target,
                       uint32_t level) {
  FolderListData* const record =
      new (std::nothrow) FolderListData(FSRef{source}, FSRef{target}, level);
  if (!record) return nFsOutOfMemory;
  OSErr const error = AddToTail(list, static_cast<ListItem*>(record));
  if (error) delete record;
  return error;
}

OSErr CopyTree(std::string const& source, struct stat const& sourceStat, std::string const& target,
               std::string const& topName, uint32_t maxLevels, ForkCopyParams const& params,
               CopyObjectFilterProcPtr filter, void* data, bool wantSpec, bool wantName,
               bool& created) {
  std::vector<CFolderToFinish> folders;
  OSErr result = CreateFolder(source, target);
  created = result == nFsNoErr;
  OSErr const top =
      Filter(filter, data, false, 0, result, &sourceStat, target, wantSpec, wantName, &topName);
  if (result != nFsNoErr) return top != nFsNoErr ? top : result;
  if (top != nFsNoErr) return top;
  folders.push_back(CFolderToFinish{target, sourceStat});

  // Pending folders in copy order; the sub-folders of one go right after it,
  // so the tree is copied depth first.
  LinkedList pending;
  InitLinkedList(&pending, MyDisposeDataProc);
  result = AddPendingFolder(&pending, source, target, 0);
  ListNode* node = nullptr;
  for (InitIterator(&pending, &node); node && result == nFsNoErr; Next(&node)) {
    FolderListData const& folder =
        *static_cast<FolderListData*>(static_cast<ListItem*>(GetData(node)));
    std::string const& from0 = folder.sourceDirRef.path;
    std::string const& to0 = folder.destDirRef.path;
    struct stat before;
    bool const haveBefore = ::stat(from0.c_str(), &before) == 0;
    std::vector<std::string> names;
    // A folder that cannot be read cannot be copied: like any item that fails, it ends the
    // copy unless the filter lets it pass.
    if (int const readError = Posix::ListFolder(from0, names)) {
      OSErr const say = Filter(filter, data, false, folder.level, OSErrFromErrno(readError),
                               haveBefore ? &before : nullptr, to0, false, wantName);
      if (say != nFsNoErr) {
        result = say;
        break;
      }
      continue;
    }
    struct stat after;
    bool const changed = haveBefore && ::stat(from0.c_str(), &after) == 0 &&
                         (after.st_mtim.tv_sec != before.st_mtim.tv_sec ||
                          after.st_mtim.tv_nsec != before.st_mtim.tv_nsec);
    LinkedList inner;
    InitLinkedList(&inner, MyDisposeDataProc);
    uint32_t const level = folder.level + 1;
    for (std::string const& name : names) {
      std::string const from = Posix::Join(from0, name);
      std::string const to = Posix::Join(to0, name);
      struct stat st;
      OSErr error = ::lstat(from.c_str(), &st) == 0 ? nFsNoErr : Errno();
      bool isFolder = false;
      if (error == nFsNoErr) {
        isFolder = S_ISDIR(st.st_mode);
        error = isFolder ? CreateFolder(from, to) : CopyOneFile(from, st, to, params);
      }
      if (error == nFsNoErr && isFolder) {
        if (!params.copyingToDropFolder) folders.push_back(CFolderToFinish{to, st});
        if (maxLevels == 0 || level < maxLevels) error = AddPendingFolder(&inner, from, to, level);
      }
      OSErr const say =
          Filter(filter, data, changed, level, error, error == nFsNoErr || isFolder ? &st : nullptr,
                 to, wantSpec, wantName);
      if (say != nFsNoErr) {
        result = say;
        break;
      }
    }
    InsertList(&pending, &inner, node);
    DestroyList(&inner);
  }
  DestroyList(&pending);
  // Permissions and dates last, deepest first: a read-only folder must still take its contents.
  if (result == nFsNoErr && !params.copyingToDropFolder) {
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
      ApplyFolderAttributes(it->path, it->source);
  }
  return result;
}

}  // namespace

// ---- routines the system calls ----

uint32_t CopyBufferSizeOf(GetVolParmsInfoBuffer const& parms, uint32_t actualSize) {
  if (actualSize < 18 || parms.vMVolumeGrade >= 0) return 0x40000;
  uint32_t const magnitude = 0u - static_cast<uint32_t>(parms.vMVolumeGrade);
  uint32_t const size = (magnitude >> 11) << 9;
  return std::min<uint32_t>(std::max<uint32_t>(size, 1024), 0x200000);
}

OSErr FSGetVolParms(int16_t volume, uint32_t bufferSize, GetVolParmsInfoBuffer* volParmsInfo,
                    uint32_t* actualInfoSize) {
  if (!volParmsInfo || !actualInfoSize) return nFsParameterError;
  dev_t device;
  std::string mountPoint;
  if (!CRegistry::Instance().Volume(volume, device, mountPoint)) return nFsNoSuchVolume;
  struct statvfs vfs;
  if (::statvfs(mountPoint.c_str(), &vfs) != 0) return Errno();
  GetVolParmsInfoBuffer parms;
  std::memset(&parms, 0, sizeof parms);
  parms.vMVersion = 4;
  parms.vMServerAdr = IsNetworkFileSystem(mountPoint) ? 1 : 0;
  parms.vMVolumeGrade = 0;  // the system gives no speed estimate
  parms.vMExtendedAttributes = IsRemovableDevice(device) ? nVolIsEjectable : 0;
  parms.vMMaxNameLength = static_cast<uint32_t>(vfs.f_namemax);
  uint32_t const size = std::min<uint32_t>(bufferSize, sizeof parms);
  std::memcpy(volParmsInfo, &parms, size);
  *actualInfoSize = size;
  return nFsNoErr;
}

OSErr FSGetVRefNum(FSRef const* ref, int16_t* vRefNum) {
  if (!ref || !vRefNum) return nFsParameterError;
  return VolumeOfPath(ref->path, *vRefNum);
}

OSErr FSMakeFSRef(int16_t volRefNum, int32_t dirID, unsigned char const* name, FSRef* ref) {
  if (!ref) return nFsParameterError;
  dev_t device;
  std::string folder;
  if (!CRegistry::Instance().Volume(volRefNum, device, folder)) return nFsNoSuchVolume;
  if (dirID == nRootParentId) {
    folder = ParentOf(folder);
  } else if (dirID != nRootFolderId && !CRegistry::Instance().Folder(dirID, folder)) {
    return nFsDirectoryNotFound;
  }
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0) return nFsDirectoryNotFound;
  if (!S_ISDIR(st.st_mode)) return nFsDirectoryNotFound;
  std::string path = folder;
  if (name && name[0] > 0) {
    std::string const element(reinterpret_cast<char const*>(name + 1), name[0]);
    if (element.find('/') != std::string::npos || element == "." || element == "..")
      return nFsBadName;
    path = Posix::Join(folder, element);
    if (::stat(path.c_str(), &st) != 0) return Errno();
  }
  ref->path = path;
  return nFsNoErr;
}

OSErr FSPathMakeFSSpec(char const* path, FSSpec* spec, Boolean* isDirectory) {
  if (!spec) return nFsParameterError;
  if (!path || !*path) return nFsFileNotFound;
  return SpecOfPath(path, spec, isDirectory);
}

OSErr FSMakePath(int16_t volRefNum, int32_t dirID, unsigned char const* name, char* path,
                 uint32_t maxPathSize) {
  if (!path) return nFsParameterError;
  FSRef ref;
  OSErr const error = FSMakeFSRef(volRefNum, dirID, name, &ref);
  if (error) return error;
  if (ref.path.size() + 1 > maxPathSize) return nFsBadName;
  std::memcpy(path, ref.path.c_str(), ref.path.size() + 1);
  return nFsNoErr;
}

OSErr FSGetDirectoryItems(FSRef const* container, std::vector<FSRef>* refs, ItemCount* numRefs,
                          Boolean* containerChanged) {
  if (!container || !refs || !numRefs || !containerChanged) return nFsParameterError;
  refs->clear();
  *numRefs = 0;
  *containerChanged = 0;
  struct stat before;
  if (::stat(container->path.c_str(), &before) != 0) return Errno();
  if (!S_ISDIR(before.st_mode)) return nFsNotAFolder;
  std::vector<std::string> names;
  if (int const error = Posix::ListFolder(container->path, names)) return OSErrFromErrno(error);
  for (std::string const& name : names) refs->push_back(FSRef{Posix::Join(container->path, name)});
  struct stat after;
  if (::stat(container->path.c_str(), &after) == 0 &&
      (after.st_mtim.tv_sec != before.st_mtim.tv_sec ||
       after.st_mtim.tv_nsec != before.st_mtim.tv_nsec))
    *containerChanged = 1;
  *numRefs = static_cast<ItemCount>(refs->size());
  return nFsNoErr;
}

OSErr FSDeleteObjects(FSRef const* ref) {
  if (!ref) return nFsParameterError;
  return DeletePath(ref->path);
}

OSErr FSCopyObject(FSRef const* source, FSRef const* destDir, uint32_t maxLevels,
                   uint32_t /*whichInfo*/, DupeAction dupeAction, char const* newName,
                   Boolean wantFSSpec, Boolean wantName, CopyObjectFilterProcPtr filterProcPtr,
                   void* yourDataPtr, FSRef* newRef, FSSpec* newSpec) {
  if (!source || !destDir) return nFsParameterError;
  struct stat sourceStat;
  if (::lstat(source->path.c_str(), &sourceStat) != 0) return Errno();
  std::string name = newName ? std::string(newName) : LastElement(Normalize(source->path));
  if (name.empty() || name == "." || name == ".." || name == "/" ||
      name.find('/') != std::string::npos)
    return nFsBadName;

  // Buffer from both volumes' parameters, the smaller size winning.
  ForkCopyParams params;
  uint32_t bufferSize = 0x40000;
  GetVolParmsInfoBuffer volumes[2];
  bool known[2] = {false, false};
  for (int i = 0; i < 2; ++i) {
    int16_t volume = 0;
    uint32_t actual = 0;
    known[i] = VolumeOfPath(i == 0 ? source->path : destDir->path, volume) == nFsNoErr &&
               FSGetVolParms(volume, sizeof volumes[i], &volumes[i], &actual) == nFsNoErr;
    if (known[i]) bufferSize = std::min(bufferSize, CopyBufferSizeOf(volumes[i], actual));
  }
  std::vector<char> buffer;
  try {
    buffer.resize(bufferSize);
  } catch (std::bad_alloc const&) {
    return nFsOutOfMemory;
  }
  params.copyBuffer = buffer.data();
  params.copyBufferSize = bufferSize;
  params.copyingToLocalVolume = !known[1] || volumes[1].vMServerAdr == 0;
  params.volumeHasServerCopy = known[0] && known[1] && !params.copyingToLocalVolume &&
                               volumes[0].vMServerAdr == volumes[1].vMServerAdr &&
                               (volumes[0].vMAttrib & nVolHasCopyFile) != 0;

  struct stat destStat;
  if (::stat(destDir->path.c_str(), &destStat) != 0) return Errno();
  if (!S_ISDIR(destStat.st_mode)) return nFsNotAFolder;
  params.copyingToDropFolder = ::access(destDir->path.c_str(), W_OK | X_OK) == 0 &&
                               ::access(destDir->path.c_str(), R_OK) != 0;

  if (S_ISDIR(sourceStat.st_mode) &&
      Posix::IsAncestorOrSelf(source->path, sourceStat, destDir->path))
    return nFsCopyIntoItself;

  std::string target = Posix::Join(destDir->path, name);
  std::string building = target;  // where the copy is made
  struct stat existing;
  bool const exists = ::lstat(target.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) return Errno();
  if (exists) {
    if (dupeAction == nDupeReplace) {
      // The copy is made under a name of its own and swapped in once whole: until then,
      // however the copy ends, the old object stays where it is.
      building = FreeName(destDir->path, name);
      if (building.empty()) return nFsDuplicateName;
    } else if (dupeAction == nDupeRename) {
      for (int n = 1; n <= 9; ++n) {
        target = Posix::Join(destDir->path, UniqueName(name, n));
        if (!Exists(target)) break;
      }
      building = target;
    }
  }

  OSErr result = nFsNoErr;
  bool created = false;
  std::string const shown = LastElement(Normalize(target));
  if (S_ISDIR(sourceStat.st_mode)) {
    result = CopyTree(source->path, sourceStat, building, shown, maxLevels, params, filterProcPtr,
                      yourDataPtr, wantFSSpec != 0, wantName != 0, created);
  } else {
    OSErr const error = CopyOneFile(source->path, sourceStat, building, params);
    created = error == nFsNoErr;
    OSErr const say = Filter(filterProcPtr, yourDataPtr, false, 0, error, &sourceStat, building,
                             wantFSSpec != 0, wantName != 0, &shown);
    result = error != nFsNoErr ? (say != nFsNoErr ? say : error) : say;
  }
  if (result == nFsNoErr && building != target) result = SwapIn(destDir->path, building, target);
  // A refused or failed copy, file or folder, leaves nothing of itself behind.
  if (result != nFsNoErr && created) DeletePath(building);
  if (result == nFsNoErr) {
    Posix::SyncFolder(destDir->path);
    if (newRef) newRef->path = target;
    if (newSpec) SpecOfPath(target, newSpec, nullptr);
  }
  return result;
}

// ---- further routines of the library ----

OSErr FSCopyFork(int sourceFd, int destFd, void* copyBufferPtr, uint32_t copyBufferSize) {
  if (!copyBufferPtr || copyBufferSize == 0) return nFsParameterError;
  struct stat st;
  if (::fstat(sourceFd, &st) != 0) return Errno();
  if (::ftruncate(destFd, st.st_size) != 0) return Errno();
  if (::lseek(sourceFd, 0, SEEK_SET) < 0 || ::lseek(destFd, 0, SEEK_SET) < 0) return Errno();
  uint32_t const size = copyBufferSize >= 4096 ? copyBufferSize & ~4095u : copyBufferSize;
  int const error = Posix::CopyData(sourceFd, destFd, copyBufferPtr, size);
  return OSErrFromErrno(error);
}

OSErr FSGetVInfo(int16_t volume, std::string* volumeName, uint64_t* freeBytes,
                 uint64_t* totalBytes) {
  dev_t device;
  std::string mountPoint;
  if (!CRegistry::Instance().Volume(volume, device, mountPoint)) return nFsNoSuchVolume;
  struct statvfs vfs;
  if (::statvfs(mountPoint.c_str(), &vfs) != 0) return Errno();
  if (volumeName) *volumeName = LastElement(mountPoint);
  if (freeBytes) *freeBytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  if (totalBytes) *totalBytes = static_cast<uint64_t>(vfs.f_blocks) * vfs.f_frsize;
  return nFsNoErr;
}

OSErr FSGetVolFileSystemID(int16_t volume, uint32_t* fileSystemID, uint16_t* signature) {
  dev_t device;
  std::string mountPoint;
  if (!CRegistry::Instance().Volume(volume, device, mountPoint)) return nFsNoSuchVolume;
  struct statfs fs;
  if (::statfs(mountPoint.c_str(), &fs) != 0) return Errno();
  uint32_t const type = static_cast<uint32_t>(fs.f_type);
  if (fileSystemID) *fileSystemID = type;
  if (signature) *signature = static_cast<uint16_t>(type & 0xFFFFu);
  return nFsNoErr;
}

OSErr FSGetMountedVolumes(std::vector<FSRef>* volumeRefs, ItemCount* numVolumes) {
  if (!volumeRefs || !numVolumes) return nFsParameterError;
  volumeRefs->clear();
  *numVolumes = 0;
  std::ifstream in("/proc/self/mountinfo");
  if (!in) return nFsIOError;
  std::string line;
  while (std::getline(in, line)) {
    // Fields: id, parent, major:minor, root, mount point, ...
    std::string field;
    std::size_t at = 0;
    for (int i = 0; i < 5 && at != std::string::npos; ++i) {
      std::size_t const end = line.find(' ', at);
      field = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
      at = end == std::string::npos ? end : end + 1;
    }
    std::string const decoded = Posix::DecodeMountField(field);
    if (!decoded.empty()) volumeRefs->push_back(FSRef{decoded});
  }
  *numVolumes = static_cast<ItemCount>(volumeRefs->size());
  return nFsNoErr;
}

OSErr FSRefMakeFSSpec(FSRef const* ref, FSSpec* spec) {
  if (!ref || !spec) return nFsParameterError;
  return SpecOfPath(ref->path, spec, nullptr);
}

Boolean FSRefValid(FSRef const* ref) {
  struct stat st;
  return ref && !ref->path.empty() && ::lstat(ref->path.c_str(), &st) == 0 ? 1 : 0;
}

OSErr FSGetParentRef(FSRef const* ref, FSRef* parentRef) {
  if (!ref || !parentRef) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  std::string const normalized = Normalize(ref->path);
  if (MountPointOf(normalized, st.st_dev) == normalized) {
    parentRef->path.clear();
    return nFsNoErr;
  }
  parentRef->path = ParentOf(normalized);
  return nFsNoErr;
}

OSErr FSGetFileDirName(FSRef const* ref, std::string* name) {
  if (!ref || !name) return nFsParameterError;
  struct stat st;
  if (::lstat(ref->path.c_str(), &st) != 0) return Errno();
  *name = LastElement(Normalize(ref->path));
  return nFsNoErr;
}

OSErr FSGetNodeID(FSRef const* ref, uint64_t* nodeID, Boolean* isDirectory) {
  if (!ref) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  if (nodeID) *nodeID = static_cast<uint64_t>(st.st_ino);
  if (isDirectory) *isDirectory = S_ISDIR(st.st_mode) ? 1 : 0;
  return nFsNoErr;
}

OSErr FSCheckLock(FSRef const* ref) {
  if (!ref) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return nFsFileLocked;
  struct statvfs vfs;
  if (::statvfs(ref->path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY)) return nFsWriteProtected;
  return nFsNoErr;
}

OSErr FSGetForkSizes(FSRef const* ref, uint64_t* dataLogicalSize, uint64_t* rsrcLogicalSize) {
  if (!ref) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  if (S_ISDIR(st.st_mode)) return nFsNotAFile;
  if (dataLogicalSize) *dataLogicalSize = static_cast<uint64_t>(st.st_size);
  if (rsrcLogicalSize) *rsrcLogicalSize = 0;
  return nFsNoErr;
}

OSErr FSGetTotalForkSizes(FSRef const* ref, uint64_t* totalLogicalSize,
                          uint64_t* totalPhysicalSize) {
  if (!ref) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  if (totalLogicalSize)
    *totalLogicalSize = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
  if (totalPhysicalSize)
    *totalPhysicalSize = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_blocks) * 512u;
  return nFsNoErr;
}

OSErr FSBumpDate(FSRef const* ref) {
  if (!ref) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  struct timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  if (now.tv_sec == st.st_mtim.tv_sec && now.tv_nsec == st.st_mtim.tv_nsec) {
    if (++now.tv_nsec >= 1000000000L) {
      now.tv_nsec = 0;
      ++now.tv_sec;
    }
  }
  struct timespec const times[2] = {{0, UTIME_OMIT}, now};
  return ::utimensat(AT_FDCWD, ref->path.c_str(), times, 0) == 0 ? nFsNoErr : Errno();
}

OSErr FSDeleteContainerContents(FSRef const* container) {
  if (!container) return nFsParameterError;
  return DeleteContents(container->path);
}

OSErr FSDeleteContainer(FSRef const* container) {
  OSErr const error = FSDeleteContainerContents(container);
  if (error) return error;
  return DeletePath(container->path);
}

namespace {
OSErr Iterate(std::string const& folder, ItemCount level, ItemCount maxLevels,
              IterateContainerFilterProcPtr filter, void* data, bool& quit) {
  std::vector<FSRef> refs;
  ItemCount count = 0;
  Boolean changed = 0;
  FSRef const container{folder};
  OSErr const error = FSGetDirectoryItems(&container, &refs, &count, &changed);
  if (error) return error == nFsAccessDenied ? nFsNoErr : error;
  for (FSRef const& ref : refs) {
    struct stat st;
    if (::lstat(ref.path.c_str(), &st) != 0) continue;
    std::string const name = LastElement(ref.path);
    if (filter(changed, level, &st, &ref, &name, data)) {
      quit = true;
      return nFsNoErr;
    }
    if (S_ISDIR(st.st_mode) && (maxLevels == 0 || level < maxLevels)) {
      OSErr const inner = Iterate(ref.path, level + 1, maxLevels, filter, data, quit);
      if (inner || quit) return inner;
    }
  }
  return nFsNoErr;
}
}  // namespace

OSErr FSIterateContainer(FSRef const* container, ItemCount maxLevels,
                         IterateContainerFilterProcPtr iterateFilter, void* yourDataPtr) {
  if (!container || !iterateFilter) return nFsParameterError;
  bool quit = false;
  return Iterate(container->path, 1, maxLevels, iterateFilter, yourDataPtr, quit);
}

OSErr GenerateUniqueHFSUniStr(uint32_t* startSeed, FSRef const* dir1, FSRef const* dir2,
                              std::string* uniqueName) {
  if (!startSeed || !dir1 || !uniqueName) return nFsParameterError;
  for (int tries = 0; tries < 100000; ++tries) {
    char name[9];
    std::snprintf(name, sizeof name, "%08X", static_cast<unsigned>(*startSeed));
    ++*startSeed;
    if (!Exists(Posix::Join(dir1->path, name)) &&
        (!dir2 || !Exists(Posix::Join(dir2->path, name)))) {
      *uniqueName = name;
      return nFsNoErr;
    }
  }
  return nFsDuplicateName;
}

OSErr FSMoveRenameObjectUnicode(FSRef const* ref, FSRef const* destDirectory, char const* newName,
                                FSRef* newRef) {
  if (!ref || !destDirectory) return nFsParameterError;
  struct stat from, to;
  if (::lstat(ref->path.c_str(), &from) != 0) return Errno();
  if (::stat(destDirectory->path.c_str(), &to) != 0) return Errno();
  if (!S_ISDIR(to.st_mode)) return nFsDirectoryNotFound;
  if (from.st_dev != to.st_dev) return nFsDifferentVolumes;
  std::string const name = newName ? std::string(newName) : LastElement(Normalize(ref->path));
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
    return nFsBadName;
  std::string const target = Posix::Join(destDirectory->path, name);
  // One call both moves and renames; an existing object is never replaced.
  if (int const error = Posix::RenameNoReplace(ref->path, target)) return OSErrFromErrno(error);
  if (newRef) newRef->path = target;
  return nFsNoErr;
}

OSErr FSExchangeObjectsCompat(FSRef const* sourceRef, FSRef const* destRef, FSRef* newSourceRef,
                              FSRef* newDestRef) {
  if (!sourceRef || !destRef) return nFsParameterError;
  struct stat a, b;
  if (::lstat(sourceRef->path.c_str(), &a) != 0 || ::lstat(destRef->path.c_str(), &b) != 0)
    return Errno();
  if (a.st_dev != b.st_dev) return nFsDifferentVolumes;
  if (S_ISDIR(a.st_mode) || S_ISDIR(b.st_mode)) return nFsNotAFile;
  if (::renameat2(AT_FDCWD, sourceRef->path.c_str(), AT_FDCWD, destRef->path.c_str(),
                  RENAME_EXCHANGE) != 0) {
    if (errno != EINVAL && errno != ENOSYS) return Errno();
    // No atomic exchange here: three renames through a unique name, undone on failure.
    std::string const folder = ParentOf(Normalize(sourceRef->path));
    uint32_t seed = static_cast<uint32_t>(::getpid());
    std::string temp;
    FSRef const dir{folder};
    OSErr error = GenerateUniqueHFSUniStr(&seed, &dir, nullptr, &temp);
    if (error) return error;
    temp = Posix::Join(folder, temp);
    if (::rename(sourceRef->path.c_str(), temp.c_str()) != 0) return Errno();
    if (::rename(destRef->path.c_str(), sourceRef->path.c_str()) != 0) {
      error = Errno();
      ::rename(temp.c_str(), sourceRef->path.c_str());
      return error;
    }
    if (::rename(temp.c_str(), destRef->path.c_str()) != 0) {
      error = Errno();
      ::rename(sourceRef->path.c_str(), destRef->path.c_str());
      ::rename(temp.c_str(), sourceRef->path.c_str());
      return error;
    }
  }
  if (newSourceRef) newSourceRef->path = sourceRef->path;
  if (newDestRef) newDestRef->path = destRef->path;
  return nFsNoErr;
}

OSErr FSSetDefault(FSRef const* newDefault, FSRef* oldDefault) {
  if (!newDefault || !oldDefault) return nFsParameterError;
  struct stat st;
  if (::stat(newDefault->path.c_str(), &st) != 0) return Errno();
  if (!S_ISDIR(st.st_mode)) return nFsDirectoryNotFound;
  std::error_code ec;
  std::filesystem::path const current = std::filesystem::current_path(ec);
  if (ec) return OSErrFromErrno(ec.value());
  if (::chdir(newDefault->path.c_str()) != 0) return Errno();
  oldDefault->path = current.string();
  return nFsNoErr;
}

OSErr FSRestoreDefault(FSRef const* oldDefault) {
  if (!oldDefault) return nFsParameterError;
  struct stat st;
  if (::stat(oldDefault->path.c_str(), &st) != 0) return Errno();
  if (!S_ISDIR(st.st_mode)) return nFsDirectoryNotFound;
  return ::chdir(oldDefault->path.c_str()) == 0 ? nFsNoErr : Errno();
}

void* GetTempBuffer(uint32_t buffReqSize, uint32_t* buffActSize) {
  uint32_t size = std::max<uint32_t>(buffReqSize & ~4095u, 4096);
  void* buffer = std::malloc(size);
  if (!buffer && size > 4096) {
    size = 4096;
    buffer = std::malloc(size);
  }
  if (buffActSize) *buffActSize = buffer ? size : 0;
  return buffer;
}

void DisposeTempBuffer(void* buffer) { std::free(buffer); }

OSErr FileRefNumGetFSRef(int fd, FSRef* ref) {
  if (!ref) return nFsParameterError;
  std::string const link = "/proc/self/fd/" + std::to_string(fd);
  char target[4096];
  ssize_t const n = ::readlink(link.c_str(), target, sizeof target - 1);
  if (n < 0) return errno == ENOENT ? OSErrFromErrno(EBADF) : Errno();
  ref->path.assign(target, static_cast<std::size_t>(n));
  return nFsNoErr;
}

OSErr FSMoveRename(FSRef const* ref, FSRef const* destDirectory, char const* newName,
                   FSRef* newRef) {
  return FSMoveRenameObjectUnicode(ref, destDirectory, newName, newRef);
}

OSErr FSGetUserPrivilegesPermissions(FSRef const* ref, uint8_t* userPrivileges,
                                     FSPermissionInfo* permissions) {
  if (!ref) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  if (userPrivileges) {
    uint8_t privileges = 0;
    if (::access(ref->path.c_str(), R_OK) != 0) privileges |= nPrivilegeNoRead;
    if (::access(ref->path.c_str(), W_OK) != 0) privileges |= nPrivilegeNoWrite;
    if (::access(ref->path.c_str(), X_OK) != 0) privileges |= nPrivilegeNoSearch;
    *userPrivileges = privileges;
  }
  if (permissions)
    *permissions =
        FSPermissionInfo{st.st_uid, st.st_gid, static_cast<uint16_t>(st.st_mode & 07777)};
  return nFsNoErr;
}

OSErr FSGetDirAccess(FSRef const* ref, FSPermissionInfo* access) {
  if (!ref || !access) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  if (!S_ISDIR(st.st_mode)) return nFsDirectoryNotFound;
  return FSGetUserPrivilegesPermissions(ref, nullptr, access);
}

OSErr FSSetDirAccess(FSRef const* ref, FSPermissionInfo const& access) {
  if (!ref) return nFsParameterError;
  struct stat st;
  if (::stat(ref->path.c_str(), &st) != 0) return Errno();
  if (!S_ISDIR(st.st_mode)) return nFsDirectoryNotFound;
  // Only root may give an object away; a volume without owners refuses it even then.
  if ((access.userID != st.st_uid || access.groupID != st.st_gid) &&
      ::chown(ref->path.c_str(), access.userID, access.groupID) != 0) {
    int const error = errno;
    if (!Posix::VolumeKeepsNoModes(error, ::geteuid() == 0, Posix::IsModelessVolume(ref->path)))
      return OSErrFromErrno(error);
  }
  return OSErrFromErrno(Posix::ChangeMode(ref->path, access.mode & 07777));
}

OSErr FSCopyFileMgrAttributes(FSRef const* sourceRef, FSRef const* destRef, Boolean copyLockBit) {
  if (!sourceRef || !destRef) return nFsParameterError;
  struct stat st;
  if (::stat(sourceRef->path.c_str(), &st) != 0) return Errno();
  int const from = ::open(sourceRef->path.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) return Errno();
  int const to = ::open(destRef->path.c_str(), O_RDONLY | O_CLOEXEC);
  if (to < 0) {
    OSErr const error = Errno();
    ::close(from);
    return error;
  }
  Posix::CopyExtendedAttributes(from, to);
  struct stat target = st;
  if (!copyLockBit) target.st_mode |= S_IWUSR;
  ApplyAttributes(to, target);
  ::close(from);
  ::close(to);
  return nFsNoErr;
}

namespace {
OSErr LockRange(int fd, short type, uint64_t start, uint64_t length) {
  if (start > static_cast<uint64_t>(std::numeric_limits<off_t>::max()) ||
      length > static_cast<uint64_t>(std::numeric_limits<off_t>::max()))
    return nFsParameterError;
  struct flock lock;
  std::memset(&lock, 0, sizeof lock);
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(start);
  lock.l_len = static_cast<off_t>(length);
  if (::fcntl(fd, F_SETLK, &lock) == 0) return nFsNoErr;
  return errno == EACCES || errno == EAGAIN ? nFsBusy : Errno();
}
}  // namespace

OSErr FSLockRangeCompat(int fd, uint64_t start, uint64_t length) {
  return LockRange(fd, F_WRLCK, start, length);
}

OSErr FSUnlockRangeCompat(int fd, uint64_t start, uint64_t length) {
  return LockRange(fd, F_UNLCK, start, length);
}

OSErr FSMapID(uint32_t id, Boolean isGroup, std::string* name) {
  if (!name) return nFsParameterError;
  std::vector<char> buffer(16384);
  if (isGroup) {
    struct group entry, *found = nullptr;
    if (::getgrgid_r(id, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
      return nFsFileNotFound;
    *name = found->gr_name;
  } else {
    struct passwd entry, *found = nullptr;
    if (::getpwuid_r(id, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
      return nFsFileNotFound;
    *name = found->pw_name;
  }
  return nFsNoErr;
}

OSErr FSMapName(std::string const& name, Boolean isGroup, uint32_t* id) {
  if (!id) return nFsParameterError;
  std::vector<char> buffer(16384);
  if (isGroup) {
    struct group entry, *found = nullptr;
    if (::getgrnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
      return nFsFileNotFound;
    *id = found->gr_gid;
  } else {
    struct passwd entry, *found = nullptr;
    if (::getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
      return nFsFileNotFound;
    *id = found->pw_uid;
  }
  return nFsNoErr;
}
