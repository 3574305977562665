// The application's file utilities on the real file system.

#include "Executable/Com/Controller/FileUtilities.h"

#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// Records the range and the last position; can cut the source short or
// cancel at its first position.
class CProbe : public UL::IProgress {
public:
  void SetRange(long range) override { mRange = range; }
  void SetPosition(long position) override {
    mPosition = position;
    if (!mShrink.empty()) ::truncate(mShrink.c_str(), 10);
    mCanceled = mCancel;
  }
  bool IsCanceled() const override { return mCanceled; }
  long mRange = -1, mPosition = -1;
  std::string mShrink;
  bool mCancel = false, mCanceled = false;
};

}  // namespace

TEST(FileUtilitiesTest, CopyWithProgress) {
  Support::CPrivateTempDir dir;
  std::string const source = dir / "source", target = dir / "target";
  struct {
    std::size_t size;
    long range;
  } const sizes[] = {{0, 0}, {700000, 2}};  // blocks of the 256 KB buffer
  for (auto const& c : sizes) {
    Support::WriteBytes(source, Support::PatternBytes(c.size));
    ::chmod(source.c_str(), 0640);
    Support::WriteBytes(target, "older and longer than nothing");
    CProbe progress;
    EXPECT_TRUE(VQ7::CopyFileWithProgress(source, target, progress)) << c.size;
    EXPECT_EQ(Support::ReadBytes(source), Support::ReadBytes(target)) << c.size;
    EXPECT_EQ(c.range, progress.mRange);
    EXPECT_EQ(c.range, progress.mPosition);
    EXPECT_EQ(0640u, Support::ModeOf(target));
  }

  CProbe shrinking;
  shrinking.mShrink = source;
  EXPECT_FALSE(VQ7::CopyFileWithProgress(source, target, shrinking)) << "no zeros for lost bytes";
  Support::WriteBytes(source, Support::PatternBytes(700000));
  CProbe cancelling;
  cancelling.mCancel = true;
  EXPECT_TRUE(VQ7::CopyFileWithProgress(source, target, cancelling)) << "a cancel is no failure";
  ASSERT_EQ(0, ::mkfifo((dir / "fifo").c_str(), 0600));
  CProbe plain;
  EXPECT_FALSE(VQ7::CopyFileWithProgress(dir / "fifo", target, plain)) << "and it did not block";
  EXPECT_FALSE(VQ7::CopyFileWithProgress(dir / "missing", target, plain));
  EXPECT_FALSE(VQ7::CopyFileWithProgress(source, dir / "no/such/folder", plain));
}

TEST(FileUtilitiesTest, VolumesAndMoves) {
  Support::CPrivateTempDir dir;
  unsigned long long free = 1;
  struct statvfs vfs;
  ASSERT_EQ(0, ::statvfs(dir.Path().c_str(), &vfs));
  EXPECT_TRUE(VQ7::GetVolumeFreeSpace(dir / "not/yet/there.wav", free));
  EXPECT_NEAR(static_cast<double>(vfs.f_bavail) * vfs.f_frsize, static_cast<double>(free),
              64.0 * 1024 * 1024);
  free = 1;
  EXPECT_FALSE(VQ7::GetVolumeFreeSpace("", free));
  EXPECT_EQ(1u, free);

  int64_t folder = -1, file = -2, root = -3;
  Support::WriteBytes(dir / "a", "new");
  EXPECT_TRUE(VQ7::GetVolumeId(dir.Path(), folder));
  EXPECT_TRUE(VQ7::GetVolumeId(dir / "a", file));
  EXPECT_TRUE(VQ7::GetVolumeId("/proc", root));
  EXPECT_EQ(folder, file);
  EXPECT_NE(folder, root) << "/proc is a mount of its own";
  EXPECT_FALSE(VQ7::GetVolumeId(dir / "missing", file));

  Support::WriteBytes(dir / "b", "old");
  EXPECT_TRUE(VQ7::Move(dir / "a", dir / "b"));
  EXPECT_EQ("new", Support::ReadBytes(dir / "b"));
  ::mkdir((dir / "folder").c_str(), 0700);
  EXPECT_FALSE(VQ7::Move(dir / "b", dir / "folder"));
  EXPECT_EQ("new", Support::ReadBytes(dir / "b"));
}
