#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace VQ7 {

// The mounted volumes a user would pick a card from: the mounts whose mount
// point is a direct child of one of the media folders (/media/<user>/,
// /run/media/<user>/, /media/, /mnt/). A volume's reference number is the
// mount's id, its name the last element of its mount point.
class CVolumeLister {
public:
  struct CVolume {
    long mRefNum;
    std::string mName;
    std::string mPath;
  };

  // What changed between two looks at the mount table.
  struct CChange {
    std::vector<CVolume> mMounted;
    std::vector<long> mUnmounted;
  };

  typedef std::function<std::string()> TableSource;
  typedef std::function<uint64_t(std::string const&)> SizeProbe;

  // The process's mount table, statvfs and the current user's media folders.
  CVolumeLister();
  CVolumeLister(TableSource table, SizeProbe totalBytes, std::vector<std::string> roots);

  // Listed volumes in mount-table order; volumes of total size 0 are left out.
  std::vector<CVolume> List() const;
  // The volume of a reference number among the current candidates.
  bool Find(long refNum, CVolume& volume) const;
  // Candidates that appeared or went away since the last call (the first
  // call only takes the snapshot). Sizes are not asked here, so a hung
  // network mount cannot stall the caller's periodic look.
  CChange Poll();

  // The candidate mounts of a mount table (mountinfo format), without the
  // size test. A mount point mounted over again counts once, as its top mount.
  static std::vector<CVolume> Candidates(std::string const& table,
                                         std::vector<std::string> const& roots);
  static std::vector<std::string> MediaRoots(std::string const& user);
  static std::string CurrentUserName();
  // Free and total bytes of the file system holding path; false when unknown.
  static bool VolumeSizes(std::string const& path, uint64_t& freeBytes, uint64_t& totalBytes);

  // The lister the program's volume popup uses; tests put one on fixture text.
  static boost::shared_ptr<CVolumeLister> Default();
  static void SetDefault(boost::shared_ptr<CVolumeLister> lister);

private:
  TableSource mTable;
  SizeProbe mTotalBytes;
  std::vector<std::string> mRoots;
  bool mPolled;
  std::vector<CVolume> mLast;
};

}  // namespace VQ7
