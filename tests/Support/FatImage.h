#pragma once

#include "Support/AudioFixtures.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace Support {

// A FAT16 image made with mkfs.vfat and mounted through FUSE (fusefat) on an
// empty folder (made when missing) for the object's lifetime.
class CFatMount {
public:
  CFatMount(std::string const& image, std::string const& mountPoint) : mPoint(mountPoint) {
    mMounted = Unavailable().empty() &&
               (::mkdir(mountPoint.c_str(), 0755) == 0 || errno == EEXIST) && MakeImage(image) &&
               Mount(image, mountPoint);
  }
  ~CFatMount() {
    if (mMounted) Unmount(mPoint);
  }
  CFatMount(CFatMount const&) = delete;
  CFatMount& operator=(CFatMount const&) = delete;

  bool IsMounted() const { return mMounted; }
  // Why the image is not mounted, for a test that skips, or "".
  std::string WhyNot() const {
    if (mMounted) return "";
    std::string const unavailable = Unavailable();
    return unavailable.empty() ? "mounting through FUSE is refused here" : unavailable;
  }

  // The steps, for a test that swaps images on one folder.
  static bool MakeImage(std::string const& image) {
    return TestSupport::RunTool("truncate -s 16M '" + image + "' && mkfs.vfat -F 16 '" + image +
                                "'");
  }
  static bool Mount(std::string const& image, std::string const& point) {
    return TestSupport::RunTool("fusefat -o rw+ '" + image + "' '" + point + "'");
  }
  static bool Unmount(std::string const& point) {
    return TestSupport::RunTool("fusermount -u '" + point + "'");
  }

  // Why FAT images cannot be mounted here, or "".
  static std::string Unavailable() {
    for (char const* tool : {"fusefat", "mkfs.vfat", "fusermount", "truncate"})
      if (!TestSupport::HasTool(tool)) return std::string(tool) + " is not installed";
    if (::access("/dev/fuse", R_OK | W_OK) != 0) return "/dev/fuse cannot be opened here";
    return "";
  }

private:
  std::string mPoint;
  bool mMounted = false;
};

}  // namespace Support
