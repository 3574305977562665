// The copy with progress on the real file system.

#include "Executable/Com/Card/FileUtilities.h"

#include "Support/FatImage.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>
#include <vector>

// The program's hints to the page cache (given on the main thread only) and
// the kernel's answers.
static std::vector<std::pair<int, int>> gAdvice;

extern "C" int posix_fadvise(int fd, off_t offset, off_t length, int advice) {
  using Real = int (*)(int, off_t, off_t, int);
  static Real const real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "posix_fadvise"));
  gAdvice.emplace_back(advice, real(fd, offset, length, advice));
  return gAdvice.back().second;
}

// fallocate answers with this error while it is set (EINTR once), else as
// the kernel does.
static int gFallocateError = 0;
static int gFallocateCalls = 0;

extern "C" int fallocate(int fd, int mode, off_t offset, off_t length) {
  using Real = int (*)(int, int, off_t, off_t);
  static Real const real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "fallocate"));
  ++gFallocateCalls;
  if (gFallocateError == 0) return real(fd, mode, offset, length);
  errno = std::exchange(gFallocateError, gFallocateError == EINTR ? 0 : gFallocateError);
  return -1;
}

// A volume that cannot reserve space (a FUSE driver without fallocate) gets
// the data without a reservation; a volume short of space or failing fails
// the copy. The target holds the source's bytes either way it succeeds.
TEST(FileUtilitiesTest, CopyWhereTheVolumeRefusesToReserve) {
  Support::CPrivateTempDir dir;
  std::string const data = Support::PatternBytes(600000);
  Support::WriteBytes(dir / "source", data);
  struct {
    int error;
    bool copied;
  } const cases[] = {{0, true},       {EOPNOTSUPP, true}, {ENOSYS, true},
                     {EINVAL, true},  {EINTR, true},      {ENOSPC, false},
                     {EDQUOT, false}, {EFBIG, false},     {EIO, false}};
  testing::internal::CaptureStderr();
  for (auto const& c : cases) {
    gFallocateError = c.error;
    gFallocateCalls = 0;
    EXPECT_EQ(c.copied,
              VQ7::CopyFileWithProgress(dir / "source", dir / "t", UL::IProgress::NullProgress()))
        << c.error;
    EXPECT_EQ(c.error == EINTR ? 2 : 1, gFallocateCalls) << c.error;
    if (c.copied) {
      EXPECT_TRUE(data == Support::ReadBytes(dir / "t")) << c.error;
    }
  }
  gFallocateError = 0;
  testing::internal::GetCapturedStderr();
}

// A source that shrinks while it is copied fails the copy rather than leave
// zeros in the target; the mode is kept; every read-ahead hint applies.
TEST(FileUtilitiesTest, CopyWithProgress) {
  struct CShrinker : UL::IProgress {
    void SetPosition(long) override { EXPECT_EQ(0, ::truncate(mSource.c_str(), 10)); }
    std::string mSource;
  } shrinker;
  Support::CPrivateTempDir dir;
  shrinker.mSource = dir / "source";
  Support::WriteBytes(shrinker.mSource, Support::PatternBytes(700000));
  ::chmod(shrinker.mSource.c_str(), 0640);
  gAdvice.clear();
  testing::internal::CaptureStderr();
  EXPECT_TRUE(
      VQ7::CopyFileWithProgress(shrinker.mSource, dir / "t", UL::IProgress::NullProgress()));
  EXPECT_EQ("CopyFileWithProgress: bufferSize = 262144 (256KB)\n",
            testing::internal::GetCapturedStderr());
  std::vector<std::pair<int, int>> const applied{{POSIX_FADV_SEQUENTIAL, 0},
                                                 {POSIX_FADV_NOREUSE, 0},
                                                 {POSIX_FADV_DONTNEED, 0},
                                                 {POSIX_FADV_DONTNEED, 0}};
  EXPECT_EQ(applied, gAdvice);
  EXPECT_EQ(Support::ReadBytes(shrinker.mSource), Support::ReadBytes(dir / "t"));
  EXPECT_EQ(0640u, Support::ModeOf(dir / "t"));
  EXPECT_FALSE(VQ7::CopyFileWithProgress(shrinker.mSource, dir / "t", shrinker));
}

// A path not made yet is asked of its nearest existing folder's volume.
TEST(FileUtilitiesTest, VolumeFreeSpace) {
  Support::CPrivateTempDir dir;
  struct statvfs vfs;
  ASSERT_EQ(0, ::statvfs(dir.Path().c_str(), &vfs));
  unsigned long long freeBytes = 1, blockBytes = 0;
  EXPECT_FALSE(VQ7::GetVolumeFreeSpace("", freeBytes));
  EXPECT_EQ(1u, freeBytes);
  EXPECT_TRUE(VQ7::GetVolumeFreeSpace(dir / "new/deeper/file.wav", freeBytes, blockBytes));
  EXPECT_EQ(vfs.f_frsize, blockBytes);
}

// ".." after a link to a folder on another volume is the parent of the link's
// target, also for a path below it that is not made yet.
TEST(FileUtilitiesTest, VolumeFreeSpaceAboveALinkToAnotherVolume) {
  Support::CPrivateTempDir dir;
  std::string const card = dir / "card";
  Support::CFatMount const fat(dir / "fat.img", card);
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
  ASSERT_EQ(0, ::mkdir((card + "/SUB").c_str(), 0755));
  ASSERT_EQ(0, ::symlink((card + "/SUB").c_str(), (dir / "link").c_str()));
  struct statvfs onCard, here;
  ASSERT_EQ(0, ::statvfs(card.c_str(), &onCard));
  ASSERT_EQ(0, ::statvfs(dir.Path().c_str(), &here));
  unsigned long long const cardFree =
      static_cast<unsigned long long>(onCard.f_bavail) * onCard.f_frsize;
  ASSERT_NE(cardFree, static_cast<unsigned long long>(here.f_bavail) * here.f_frsize);
  for (std::string const& path : {dir / "link/..", dir / "link/../", dir / "link/../NEW.WAV",
                                  dir / "link/../NEW/X.WAV", dir / "link/NEW/../X.WAV"}) {
    unsigned long long freeBytes = 0, blockBytes = 0;
    EXPECT_TRUE(VQ7::GetVolumeFreeSpace(path, freeBytes, blockBytes)) << path;
    EXPECT_EQ(cardFree, freeBytes) << path;
    EXPECT_EQ(onCard.f_frsize, blockBytes) << path;
  }
}
