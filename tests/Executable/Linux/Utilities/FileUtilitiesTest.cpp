// The copy with progress on the real file system.

#include "Executable/Com/Card/FileUtilities.h"

#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

// A source that shrinks while it is copied fails the copy rather than leave
// zeros in the target; the mode is kept.
TEST(FileUtilitiesTest, CopyWithProgress) {
  struct CShrinker : UL::IProgress {
    void SetPosition(long) override { EXPECT_EQ(0, ::truncate(mSource.c_str(), 10)); }
    std::string mSource;
  } shrinker;
  Support::CPrivateTempDir dir;
  shrinker.mSource = dir / "source";
  Support::WriteBytes(shrinker.mSource, Support::PatternBytes(700000));
  ::chmod(shrinker.mSource.c_str(), 0640);
  EXPECT_TRUE(
      VQ7::CopyFileWithProgress(shrinker.mSource, dir / "t", UL::IProgress::NullProgress()));
  EXPECT_EQ(Support::ReadBytes(shrinker.mSource), Support::ReadBytes(dir / "t"));
  EXPECT_EQ(0640u, Support::ModeOf(dir / "t"));
  EXPECT_FALSE(VQ7::CopyFileWithProgress(shrinker.mSource, dir / "t", shrinker));
}
