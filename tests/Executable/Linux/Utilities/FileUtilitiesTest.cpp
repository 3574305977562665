// The application's file utilities on the real file system.

#include "Executable/Com/Controller/FileUtilities.h"

#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Cuts the source short, or cancels, at the first position.
class CProbe : public UL::IProgress {
public:
  void SetRange(long range) override { mRange = range; }
  void SetPosition(long position) override {
    mPosition = position;
    if (!mShrink.empty()) mCanceled = ::truncate(mShrink.c_str(), 10) != 0;
    mCanceled = mCanceled || mCancel;
  }
  bool IsCanceled() const override { return mCanceled; }
  long mRange = -1, mPosition = -1;
  std::string mShrink;
  bool mCancel = false, mCanceled = false;
};

}  // namespace

TEST(FileUtilitiesTest, CopyWithProgressVolumesAndMoves) {
  Support::CPrivateTempDir dir;
  std::string const source = dir / "source", target = dir / "target";
  for (std::size_t size : {0, 700000}) {
    Support::WriteBytes(source, Support::PatternBytes(size));
    ::chmod(source.c_str(), 0640);
    Support::WriteBytes(target, "older and longer than nothing");
    CProbe progress;
    EXPECT_TRUE(VQ7::CopyFileWithProgress(source, target, progress)) << size;
    EXPECT_EQ(Support::ReadBytes(source), Support::ReadBytes(target)) << size;
    EXPECT_EQ(size / 0x40000, static_cast<std::size_t>(progress.mRange));
    EXPECT_EQ(progress.mRange, progress.mPosition);
    EXPECT_EQ(0640u, Support::ModeOf(target));
  }
  CProbe shrinking, cancelling, plain;
  shrinking.mShrink = source;
  EXPECT_FALSE(VQ7::CopyFileWithProgress(source, target, shrinking)) << "no zeros for lost bytes";
  cancelling.mCancel = true;
  EXPECT_TRUE(VQ7::CopyFileWithProgress(target, source, cancelling)) << "a cancel is no failure";
  ASSERT_EQ(0, ::mkfifo((dir / "fifo").c_str(), 0600));
  EXPECT_FALSE(VQ7::CopyFileWithProgress(dir / "fifo", target, plain)) << "and did not block";

  unsigned long long free = 0;
  EXPECT_TRUE(VQ7::GetVolumeFreeSpace(dir / "not/yet/there.wav", free));
  EXPECT_GT(free, 0u);
  int64_t folder = -1, file = -2, proc = -3;
  EXPECT_TRUE(VQ7::GetVolumeId(dir.Path(), folder));
  EXPECT_TRUE(VQ7::GetVolumeId(target, file));
  EXPECT_TRUE(VQ7::GetVolumeId("/proc/self", proc));
  EXPECT_EQ(folder, file);
  EXPECT_NE(folder, proc);

  Support::WriteBytes(source, "new");
  EXPECT_TRUE(VQ7::Move(source, target));
  EXPECT_EQ("new", Support::ReadBytes(target));
  ::mkdir((dir / "folder").c_str(), 0700);
  EXPECT_FALSE(VQ7::Move(target, dir / "folder"));
}
