// The copy with progress on the real file system.

#include "Executable/Com/Controller/FileUtilities.h"

#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Cuts the file at mShrink short, or cancels, at the first position.
struct CProbe : UL::IProgress {
  void SetRange(long range) override { mRange = range; }
  void SetPosition(long position) override {
    mPosition = position;
    mCanceled = mCancel || (!mShrink.empty() && ::truncate(mShrink.c_str(), 10) != 0);
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
  for (std::size_t size : {0, 700000}) {
    Support::WriteBytes(source, Support::PatternBytes(size));
    ::chmod(source.c_str(), 0640);
    Support::WriteBytes(target, "older and longer than nothing");
    CProbe progress;
    EXPECT_TRUE(VQ7::CopyFileWithProgress(source, target, progress)) << size;
    EXPECT_EQ(Support::ReadBytes(source), Support::ReadBytes(target)) << size;
    EXPECT_EQ(static_cast<long>(size / 0x40000), progress.mRange);
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
}
