#pragma once

// Low-level helpers shared by the file-manager routines and the file operations.

#include "GT/Linux/FileSystem/FileManagerTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace GT {
namespace Posix {

// Writes the whole buffer, retrying short writes and interruptions; false with errno set.
bool WriteAll(int fd, void const* data, std::size_t size);
// Reads up to size bytes, retrying interruptions; -1 with errno set.
ssize_t ReadSome(int fd, void* data, std::size_t size);
// Copies everything from in (at its current offset) to out; 0 or the errno.
int CopyData(int in, int out, void* buffer, std::size_t bufferSize);
// Copies a whole file from its start into an empty one, with room reserved
// first where the file system can (the copy's size stays what was written);
// 0 or the errno: EBUSY when the source changed its size meanwhile.
int CopyFileData(int in, int out, void* buffer, std::size_t bufferSize);
// Extended attributes of one open file to another; silently skips where unsupported.
void CopyExtendedAttributes(int from, int to);
// The process's file-creation mask, read without changing it where the system allows.
mode_t CurrentUmask();
// The parent folder and the last element of a path; false when there is no last element.
bool SplitParent(std::string const& path, std::string& parent, std::string& name);
// A path joined from a folder and a name.
std::string Join(std::string const& folder, std::string const& name);
// The absolute, lexically normal form of a path, without trailing '/' (but "/").
std::string Normalize(std::string const& path);
// The names of a folder's entries, without "." and ".."; 0 or the errno.
int ListFolder(std::string const& folder, std::vector<std::string>& names);
// The longest head of `text` of at most `bytes` bytes that does not end
// inside a UTF-8 character.
std::string CutBetweenCharacters(std::string const& text, std::size_t bytes);
// The name of a temporary sibling of `name`: "." + name + suffix, the name cut
// short (between UTF-8 characters) so that the whole fits one file name
// (NAME_MAX bytes) whatever the length of the final name. Suffixes are short.
std::string TemporarySiblingName(std::string const& name, std::string const& suffix);
// Whether a refused chmod or chown means only that the volume keeps no modes or
// owners: ENOSYS or EOPNOTSUPP (a FUSE driver without them), or EPERM for a
// change the process was entitled to make on a volume without modes
// (`modeless`, see IsModelessVolume). Such a refusal is no failure; EPERM
// elsewhere (an immutable object) is one.
bool VolumeKeepsNoModes(int error, bool entitled, bool modeless);
// Whether the volume that holds an object is of a type without modes and
// owners: FAT or exFAT, by the kernel or through a FUSE driver.
bool IsModelessVolume(int fd);
bool IsModelessVolume(std::string const& path);
// chmod of an open object or of a path; 0 when done or when the volume keeps
// no modes, else the errno.
int ChangeMode(int fd, mode_t mode);
int ChangeMode(std::string const& path, mode_t mode);
// rename(2) that never replaces an existing object: 0 or the errno (EEXIST when
// the target exists). Where the volume takes no renameat2 flags (some FUSE
// drivers), the move goes by a second link and, where links are refused too,
// by a look at the target right before the rename. On a volume that empties
// the folders it moves, a folder, and a file renamed to another spelling of
// its own path, are refused (EINVAL) with nothing changed.
int RenameNoReplace(std::string const& from, std::string const& to);
// rename(2), which replaces an existing file (or empty folder) at `to`;
// refuses what RenameNoReplace refuses on a volume that empties the folders
// it moves.
int Rename(std::string const& from, std::string const& to);
// Whether the driver of the volume that holds an object loses the entries of a
// folder it renames or moves (the FUSE FAT driver): no folder is moved there.
bool EmptiesMovedFolders(std::string const& path);
// Whether the folder at folderPath (its status in folder) is the object at
// path or one of its ancestors.
bool IsAncestorOrSelf(std::string const& folderPath, struct stat const& folder,
                      std::string const& path);
// The process's mount table (/proc/self/mountinfo); "" when it cannot be
// read whole.
std::string ReadMountTable();
// A mount-table field with its octal escapes (\040 for a space) decoded.
std::string DecodeMountField(std::string const& field);
// One line of /proc/self/mountinfo: the mount's id, its device, its mount
// point (decoded) and its file-system type ("vfat", "fuse.fusefat").
struct CMountInfo {
  long long id = 0;
  dev_t device = 0;
  std::string point;
  std::string type;
};
bool ParseMountInfoLine(std::string const& line, CMountInfo& mount);
// Whether a mount of that type is FAT or exFAT, by the kernel or through FUSE:
// a volume without modes, owners or letter case.
bool IsFatMountType(std::string const& type);
// Syncs a folder so that a rename inside it survives a crash; errors ignored.
void SyncFolder(std::string const& folder);

}  // namespace Posix
}  // namespace GT
