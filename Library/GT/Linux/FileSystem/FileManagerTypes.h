#pragma once

// Types of the file-manager routines on Linux: a file reference is a path, an
// FSSpec record is a volume number, a parent folder id and a name.

#include <cstdint>
#include <string>

typedef int16_t OSErr;
typedef unsigned char Boolean;
typedef uint32_t ItemCount;

// A reference to an existing object, held as its path.
struct FSRef {
  std::string path;
};

inline bool operator==(FSRef const& a, FSRef const& b) { return a.path == b.path; }
inline bool operator!=(FSRef const& a, FSRef const& b) { return !(a == b); }

// Volume number, parent folder id and name (a length byte then the bytes).
// Folder ids are handed out per process by the routines; 2 is a volume's root.
struct FSSpec {
  int16_t vRefNum = 0;
  int32_t parID = 0;
  unsigned char name[256] = {0};
};

// The volume parameter block, laid out with 2-byte packing (32 bytes).
#pragma pack(push, 2)
struct GetVolParmsInfoBuffer {
  int16_t vMVersion;
  int32_t vMAttrib;
  int32_t vMLocalHand;
  int32_t vMServerAdr;    // non-zero for a volume served over the network
  int32_t vMVolumeGrade;  // negative: faster volumes are more negative; 0 unknown
  int16_t vMForeignPrivID;
  int32_t vMExtendedAttributes;
  int32_t vMDeviceID;
  uint32_t vMMaxNameLength;
};
#pragma pack(pop)
static_assert(sizeof(GetVolParmsInfoBuffer) == 32, "volume parameter block is 32 bytes");

namespace GT {

// Result codes of the file-manager routines.
constexpr OSErr nFsNoErr = 0;
constexpr OSErr nFsDiskFull = -34;
constexpr OSErr nFsNoSuchVolume = -35;
constexpr OSErr nFsIOError = -36;
constexpr OSErr nFsBadName = -37;
constexpr OSErr nFsEndOfFile = -39;
constexpr OSErr nFsFileNotFound = -43;
constexpr OSErr nFsWriteProtected = -44;  // volume locked by hardware (read-only)
constexpr OSErr nFsFileLocked = -45;
constexpr OSErr nFsVolumeLocked = -46;  // volume locked by software
constexpr OSErr nFsBusy = -47;          // in use, or a folder not empty
constexpr OSErr nFsDuplicateName = -48;
constexpr OSErr nFsParameterError = -50;
constexpr OSErr nFsOutOfMemory = -108;
constexpr OSErr nFsDirectoryNotFound = -120;
constexpr OSErr nFsCopyIntoItself = -1234;
constexpr OSErr nFsNotAFile = -1302;
constexpr OSErr nFsDifferentVolumes = -1303;
constexpr OSErr nFsNotAFolder = -1407;
constexpr OSErr nFsNoMoreItems = -1417;
constexpr OSErr nFsRefsDiffer = -1420;
constexpr OSErr nFsForkExists = -1421;
constexpr OSErr nFsAccessDenied = -5000;

// The result code that stands for an errno value.
OSErr OSErrFromErrno(int error);

}  // namespace GT

// Extended volume attribute: the volume lies on a removable device.
enum : int32_t { nVolIsEjectable = 1 << 0 };
// Volume attribute: the file server copies files itself.
enum : int32_t { nVolHasCopyFile = 0x4000 };
