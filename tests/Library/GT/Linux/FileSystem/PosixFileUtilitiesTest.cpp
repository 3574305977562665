// Mode changes refused by the object itself against those refused by a volume
// without modes.

#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"
#include "Support/FatImage.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The immutable flag of an object (chattr +i) for one scope, where the file
// system and the process allow it.
class CImmutable {
public:
  explicit CImmutable(std::string const& path) : mPath(path) { mSet = Change(true); }
  ~CImmutable() {
    if (mSet) Change(false);  // else the folder cannot be deleted
  }
  CImmutable(CImmutable const&) = delete;
  CImmutable& operator=(CImmutable const&) = delete;
  bool IsSet() const { return mSet; }

private:
  bool Change(bool on) const {
    int const fd = ::open(mPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
      flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
      ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
  }
  std::string mPath;
  bool mSet = false;
};

struct CModeCall {
  char const* what;
  std::function<int()> call;  // errno, or the result code for the folder call
};

// Every way the library changes a mode, on a folder and a file in `where`.
std::vector<CModeCall> ModeCalls(std::string const& folder, std::string const& file) {
  return {
      {"ChangeMode(folder)", [=] { return GT::Posix::ChangeMode(folder, 0700); }},
      {"ChangeMode(file)", [=] { return GT::Posix::ChangeMode(file, 0600); }},
      {"ChangeMode(open file)",
       [=] {
         int const fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
         int const error = fd < 0 ? errno : GT::Posix::ChangeMode(fd, 0600);
         if (fd >= 0) ::close(fd);
         return error;
       }},
      {"FSSetDirAccess",
       [=] {
         FSRef const ref{folder};
         FSPermissionInfo access{};
         OSErr const error = FSGetDirAccess(&ref, &access);
         return static_cast<int>(
             error ? error
                   : FSSetDirAccess(&ref, FSPermissionInfo{access.userID, access.groupID, 0700}));
       }},
  };
}

// An immutable object refuses its new mode on a volume that keeps modes: that
// refusal is a failure, whoever the process is.
TEST(PosixFileUtilities, ModeChangesOfImmutableObjectsFail) {
  Support::CPrivateTempDir dir;
  std::string const folder = dir / "folder", file = dir / "file";
  ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
  ASSERT_TRUE(Support::WriteBytes(file, "x"));
  ASSERT_EQ(0, ::chmod(folder.c_str(), 0755));
  ASSERT_EQ(0, ::chmod(file.c_str(), 0644));
  CImmutable const lockedFolder(folder), lockedFile(file);
  if (!lockedFolder.IsSet() || !lockedFile.IsSet())
    GTEST_SKIP() << "the immutable flag cannot be set here (it needs root and a file system "
                    "such as ext4)";
  EXPECT_FALSE(GT::Posix::IsModelessVolume(folder));
  int const refused[] = {EPERM, EPERM, EPERM, GT::nFsAccessDenied};
  auto const calls = ModeCalls(folder, file);
  for (std::size_t i = 0; i < calls.size(); ++i)
    EXPECT_EQ(refused[i], calls[i].call()) << calls[i].what;
  EXPECT_EQ(0755u, Support::ModeOf(folder));
  EXPECT_EQ(0644u, Support::ModeOf(file));
}

// On the card the same calls succeed: the volume keeps no modes at all.
TEST(PosixFileUtilities, ModeChangesOnAVolumeWithoutModesFailNothing) {
  Support::CPrivateTempDir dir;
  std::string const card = dir / "card";
  Support::CFatMount const fat(dir / "fat.img", card);
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
  std::string const folder = card + "/FOLDER", file = card + "/FILE.VQD";
  ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
  ASSERT_TRUE(Support::WriteBytes(file, "x"));
  EXPECT_TRUE(GT::Posix::IsModelessVolume(folder));
  int const fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  EXPECT_TRUE(GT::Posix::IsModelessVolume(fd));
  ::close(fd);
  // FAT has no immutable flag; what the volume refuses stays no failure.
  CImmutable const lockedFolder(folder), lockedFile(file);
  for (auto const& c : ModeCalls(folder, file)) EXPECT_EQ(0, c.call()) << c.what;
}

}  // namespace
