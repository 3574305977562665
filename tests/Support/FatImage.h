#pragma once

#include "Support/AudioFixtures.h"

#include <string>
#include <unistd.h>

namespace Support {

// A FAT16 image made with mkfs.vfat and mounted through FUSE (fusefat) on an
// existing empty folder for the object's lifetime.
class CFatMount {
public:
  CFatMount(std::string const& image, std::string const& mountPoint) : mPoint(mountPoint) {
    mMounted = Unavailable().empty() &&
               TestSupport::RunTool("truncate -s 16M '" + image + "' && mkfs.vfat -F 16 '" + image +
                                    "'") &&
               TestSupport::RunTool("fusefat -o rw+ '" + image + "' '" + mountPoint + "'");
  }
  ~CFatMount() {
    if (mMounted) TestSupport::RunTool("fusermount -u '" + mPoint + "'");
  }
  CFatMount(CFatMount const&) = delete;
  CFatMount& operator=(CFatMount const&) = delete;

  bool IsMounted() const { return mMounted; }

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
