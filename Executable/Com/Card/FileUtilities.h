#pragma once

#include "UL/Com/Progress/IProgress.h"

#include <cstdint>
#include <string>

namespace VQ7 {

// The user's temporary-items folder: the process's private temporary folder
// (made once, mode 0700, removed at exit); "" when it cannot be made, for the
// caller to report. No trailing "/".
std::string GetTemporaryDirectoryName();

// Free bytes of the volume that holds path, or of its nearest existing
// ancestor when path does not exist yet. False (freeBytes unchanged) for an
// empty path or when no ancestor can be asked.
bool GetVolumeFreeSpace(std::string const& path, unsigned long long& freeBytes);

// The same, with the volume's allocation unit from the same query (every file
// takes a whole number of them). False with both unchanged.
bool GetVolumeFreeSpace(std::string const& path, unsigned long long& freeBytes,
                        unsigned long long& blockBytes);

// The id of the mount that holds path, as /proc/self/mountinfo numbers it.
// Ids are used again once free: a card taken out and another put in may get
// the same one. False when path does not exist or its mount cannot be found.
bool GetVolumeId(std::string const& path, int64_t& volumeId);

// True when the volume that holds path finds names without regard to
// letter case (FAT, exFAT), so that two spellings can name one file.
bool IsCaseIgnoringVolume(std::string const& path);

// Puts source in place of target with rename(2): an existing target is
// replaced in one step, never removed first. False for a folder at target.
bool Move(std::string const& source, std::string const& target);

// Always true: a destination that cannot be written fails when it is written.
bool IsWritable(std::string const& path);

// Copies source's data to target (replacing it) with progress in blocks of
// the copy buffer, without filling the file cache, and makes the target
// durable (fsync) before it returns. True on success and also when the user
// cancelled (the target is then left unfinished for the caller to remove);
// false when a file operation fails or the source changes size meanwhile.
bool CopyFileWithProgress(std::string const& source, std::string const& target,
                          UL::IProgress& progress);

}  // namespace VQ7
