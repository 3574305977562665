#pragma once

// Whole-file operations by path (UTF-8 POSIX paths).

#include "GT/Linux/FileSystem/FileManagerTypes.h"

#include <string>
#include <utility>
#include <vector>

namespace GT {

bool IsFileValid(std::string const& path);
// Deletes one file (a symbolic link itself, never what it points to).
bool RemoveFile(std::string const& path);
// Copies one file to the destination path. An existing file there is replaced
// only once the whole copy is written and synced: a failure leaves it whole.
// The new file is readable and writable by the user, with permissions from the umask.
bool CopyFileX(std::string const& source, std::string const& destination);
// rename(2): replaces an existing file at `to` atomically; within one volume. A
// folder is not moved on a volume whose driver would empty it (false).
bool Rename(std::string const& from, std::string const& to);
// The folder holding the program, without trailing '/'; the same object each call.
std::string const& GetModuleDirectoryNameX();
// 0, or -1 when the reference holds no path (path then unchanged).
OSErr FSRefGetPath(FSRef const& ref, std::string& path);
OSErr FSSpecGetPath(FSSpec const& spec, std::string& path);

bool IsDirectoryValid(std::string const& path);
bool RemoveDirectoryX(std::string const& path);
// Copies a folder tree; an existing object at the destination is replaced only
// after the new tree is complete. The tree is made under a name of its own and
// then moved into place, so on a volume whose driver would empty the folders
// it moves the copy fails, leaving nothing of itself.
bool CopyDirectory(std::string const& source, std::string const& destination);
// Creates the folder and any missing parents.
bool MakeDirectory(std::string const& path);
// Gives a file or folder tree the user's default permissions (from the umask),
// going through the whole tree; false when the object does not exist or any
// change failed.
bool AllowAccessAll(std::string const& path);
// Unmounts the removable volume that holds the folder.
bool PrepareEject(std::string const& path);
// Opens the object with the desktop's default application.
OSErr OpenByShell(std::string const& path);
// Creator and type codes; files here have none, so both are 0.
bool GetFileCreatorType(std::string const& path, unsigned long& creator, unsigned long& type);

enum EFileType : int {
  FileTypeWave = 0,
  FileTypeAiff = 1,
  FileTypeBitmap = 2,
  FileTypeJpeg = 3,
  FileTypeMidi = 4,
  FileTypeMp3 = 5,
  FileTypeNone = 6
};
// File category from the extension; FileTypeNone for a folder or a missing path.
int GetFileType(std::string const& path);

bool GetFileSize(std::string const& path, long long& size, bool withResourceFork);
bool GetFileSize(std::string const& path, long long& size);
bool GetFileSizeOnDisk(std::string const& path, long long& size, bool withResourceFork);
bool GetFileSizeOnDisk(std::string const& path, long long& size);
// Sizes of the volume holding the path or, when it does not exist, its nearest existing ancestor.
bool GetDriveCapacity(std::string const& path, long long& total, long long& free);
// (name, root path) of the mounted volumes a user picks cards from.
std::vector<std::pair<std::string, std::string> > GetDriveNames();
// Mount points of mountinfo text that are direct children of /media/<user>/,
// /run/media/<user>/, /media/ or /mnt/ (escapes decoded), in table order.
std::vector<std::string> ParseVolumeMountPoints(std::string const& mountInfo,
                                                std::string const& user);
// The process's private temporary folder (mode 0700, removed at exit); ""
// when it cannot be made, never a folder others share.
std::string GetTemporaryDirectoryName();
// A well-known folder by its four-character type ('temp', 'pref', 'desk', 'docs', 'asup'), or "".
std::string GetSpecialFolderName(short domain, unsigned long folderType);
std::string const& GetModuleDirectoryName();
std::string const& GetModuleFileNameA();
// The program's application identifier (from its resource file), which the
// application gives at start-up; "" until then. A bundle identifier names the
// program when it equals this one.
void SetModuleIdentifier(std::string const& bundleId);
std::string const& GetModuleIdentifier();
// For the program's identifier: its folder (without trailing '/') and its own
// path. No other bundle is ever loaded: any other id gives the previous value
// (empty at first). Each keeps its own string, the same object each call.
std::string const& GetModuleDirectoryName(std::string const& bundleId);
std::string const& GetModuleFileNameA(std::string const& bundleId);
bool ScanDirectory(std::string const& path, std::vector<std::string>& folders,
                   std::vector<std::string>& files);
// Copies the data through file streams, replacing the destination only when complete.
bool CopyFileR(std::string const& source, std::string const& destination);
bool IsValidFileName(std::string const& name);
std::string TerminateDirectoryName(std::string const& path, char separator);
std::string UnterminateDirectoryName(std::string const& path, char separator);

}  // namespace GT
