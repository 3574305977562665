#pragma once

// File-manager routines on POSIX: every routine returns a 16-bit result code
// (0 success) and never throws; outputs go through pointer arguments.

#include "GT/Linux/FileSystem/FileManagerTypes.h"

#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <vector>

// What FSCopyObject does when the new name exists in the destination folder.
enum DupeAction : uint8_t {
  nDupeStandard = 0,  // go ahead: creation fails with the duplicate-name code
  nDupeReplace = 1,   // replace the existing object once the copy succeeded
  nDupeRename = 2     // take "name N.ext" with N from 1 to 9
};

// Called after each copied object. A non-zero return stops the copy and becomes
// its result; 0 lets the copy go on (an item that failed is then left out).
typedef OSErr (*CopyObjectFilterProcPtr)(Boolean containerChanged, ItemCount currentLevel,
                                         OSErr currentError, struct stat const* info,
                                         FSRef const* ref, FSSpec const* spec,
                                         std::string const* name, void* yourData);

// Called for each item of a folder walk; returning true ends the walk.
typedef Boolean (*IterateContainerFilterProcPtr)(Boolean containerChanged, ItemCount currentLevel,
                                                 struct stat const* info, FSRef const* ref,
                                                 std::string const* name, void* yourData);

// ---- routines the system calls ----

// Volume parameters (up to bufferSize bytes of the 32-byte block).
OSErr FSGetVolParms(int16_t volume, uint32_t bufferSize, GetVolParmsInfoBuffer* volParmsInfo,
                    uint32_t* actualInfoSize);
OSErr FSGetVRefNum(FSRef const* ref, int16_t* vRefNum);
// Reference of name inside folder dirID of a volume; a null name gives the folder itself.
OSErr FSMakeFSRef(int16_t volRefNum, int32_t dirID, unsigned char const* name, FSRef* ref);
OSErr FSPathMakeFSSpec(char const* path, FSSpec* spec, Boolean* isDirectory);
OSErr FSMakePath(int16_t volRefNum, int32_t dirID, unsigned char const* name, char* path,
                 uint32_t maxPathSize);
// The folder's direct items; on failure the list is emptied and the count 0.
OSErr FSGetDirectoryItems(FSRef const* container, std::vector<FSRef>* refs, ItemCount* numRefs,
                          Boolean* containerChanged);
// Deletes a file, or a folder with all its contents, unlocking locked folders.
OSErr FSDeleteObjects(FSRef const* ref);
// Copies a file or folder tree with its data, extended attributes, permissions
// and dates. maxLevels 0 copies the whole tree; newName null keeps the source's.
// A folder that replaces an object is made under a name of its own and moved
// into place: on a volume whose driver would empty the folders it moves, that
// copy fails (-37), leaving nothing of itself.
OSErr FSCopyObject(FSRef const* source, FSRef const* destDir, uint32_t maxLevels,
                   uint32_t whichInfo, DupeAction dupeAction, char const* newName,
                   Boolean wantFSSpec, Boolean wantName, CopyObjectFilterProcPtr filterProcPtr,
                   void* yourDataPtr, FSRef* newRef, FSSpec* newSpec);

// The copy buffer size for a volume parameter block of which actualSize bytes were filled.
uint32_t CopyBufferSizeOf(GetVolParmsInfoBuffer const& parms, uint32_t actualSize);

// ---- further routines of the library ----

OSErr FSCopyFork(int sourceFd, int destFd, void* copyBufferPtr, uint32_t copyBufferSize);
OSErr FSGetVInfo(int16_t volume, std::string* volumeName, uint64_t* freeBytes,
                 uint64_t* totalBytes);
OSErr FSGetVolFileSystemID(int16_t volume, uint32_t* fileSystemID, uint16_t* signature);
OSErr FSGetMountedVolumes(std::vector<FSRef>* volumeRefs, ItemCount* numVolumes);
OSErr FSRefMakeFSSpec(FSRef const* ref, FSSpec* spec);
Boolean FSRefValid(FSRef const* ref);
// Parent folder; an empty reference for the root of a volume.
OSErr FSGetParentRef(FSRef const* ref, FSRef* parentRef);
OSErr FSGetFileDirName(FSRef const* ref, std::string* name);
OSErr FSGetNodeID(FSRef const* ref, uint64_t* nodeID, Boolean* isDirectory);
// -45 when the object has no write permission, -44 when its volume is read-only.
OSErr FSCheckLock(FSRef const* ref);
// Data fork size; the resource fork is always empty here. -1302 for a folder.
OSErr FSGetForkSizes(FSRef const* ref, uint64_t* dataLogicalSize, uint64_t* rsrcLogicalSize);
OSErr FSGetTotalForkSizes(FSRef const* ref, uint64_t* totalLogicalSize,
                          uint64_t* totalPhysicalSize);
// Sets the modification date to now (one step later when that equals the stored date).
OSErr FSBumpDate(FSRef const* ref);
OSErr FSDeleteContainerContents(FSRef const* container);
OSErr FSDeleteContainer(FSRef const* container);
OSErr FSIterateContainer(FSRef const* container, ItemCount maxLevels,
                         IterateContainerFilterProcPtr iterateFilter, void* yourDataPtr);
// A name of 8 upper-case hexadecimal digits from the counter that exists in
// neither folder; the counter is incremented after each try.
OSErr GenerateUniqueHFSUniStr(uint32_t* startSeed, FSRef const* dir1, FSRef const* dir2,
                              std::string* uniqueName);
// Moves an object into another folder of the same volume under a new name. A
// folder on a volume whose driver would empty it is not moved (-37).
OSErr FSMoveRenameObjectUnicode(FSRef const* ref, FSRef const* destDirectory, char const* newName,
                                FSRef* newRef);
// Exchanges the contents of two files of one volume, names staying in place.
OSErr FSExchangeObjectsCompat(FSRef const* sourceRef, FSRef const* destRef, FSRef* newSourceRef,
                              FSRef* newDestRef);
// Moves and renames within one volume in a single call (the system's rename).
OSErr FSMoveRename(FSRef const* ref, FSRef const* destDirectory, char const* newName,
                   FSRef* newRef);

// Owner, group and mode of an object.
struct FSPermissionInfo {
  uint32_t userID;
  uint32_t groupID;
  uint16_t mode;
};
// Whether the process may read, write (make changes) and search or run the object.
enum : uint8_t { nPrivilegeNoRead = 0x02, nPrivilegeNoWrite = 0x04, nPrivilegeNoSearch = 0x10 };
OSErr FSGetUserPrivilegesPermissions(FSRef const* ref, uint8_t* userPrivileges,
                                     FSPermissionInfo* permissions);
OSErr FSGetDirAccess(FSRef const* ref, FSPermissionInfo* access);
OSErr FSSetDirAccess(FSRef const* ref, FSPermissionInfo const& access);
// Copies permissions, dates and extended attributes; the destination stays
// writable by its owner unless copyLockBit asks for the source's lock too.
OSErr FSCopyFileMgrAttributes(FSRef const* sourceRef, FSRef const* destRef, Boolean copyLockBit);
// Advisory lock of a byte range of an open file; -47 when another process holds it.
OSErr FSLockRangeCompat(int fd, uint64_t start, uint64_t length);
OSErr FSUnlockRangeCompat(int fd, uint64_t start, uint64_t length);
// User or group id to name and back; -43 when unknown.
OSErr FSMapID(uint32_t id, Boolean isGroup, std::string* name);
OSErr FSMapName(std::string const& name, Boolean isGroup, uint32_t* id);

// Makes a folder the process's current folder, remembering the old one.
OSErr FSSetDefault(FSRef const* newDefault, FSRef* oldDefault);
OSErr FSRestoreDefault(FSRef const* oldDefault);
// A buffer of the requested size rounded down to 4096 (at least 4096), or null and size 0.
void* GetTempBuffer(uint32_t buffReqSize, uint32_t* buffActSize);
void DisposeTempBuffer(void* buffer);
// Reference of the file open on a descriptor.
OSErr FileRefNumGetFSRef(int fd, FSRef* ref);
