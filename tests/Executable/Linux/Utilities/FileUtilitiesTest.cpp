// The copy with progress on the real file system.

#include "Executable/Com/Controller/FileUtilities.h"

#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Cuts the source short at the first position.
struct CShrinker : UL::IProgress {
  void SetPosition(long) override { EXPECT_EQ(0, ::truncate(mSource.c_str(), 10)); }
  std::string mSource;
};

}  // namespace

TEST(FileUtilitiesTest, CopyWithProgressKeepsTheModeAndRefusesShrinkingAndBlockingSources) {
  Support::CPrivateTempDir dir;
  std::string const source = dir / "source", target = dir / "target";
  Support::WriteBytes(source, Support::PatternBytes(700000));
  ::chmod(source.c_str(), 0640);
  EXPECT_TRUE(VQ7::CopyFileWithProgress(source, target, UL::IProgress::NullProgress()));
  EXPECT_EQ(Support::ReadBytes(source), Support::ReadBytes(target));
  EXPECT_EQ(0640u, Support::ModeOf(target));
  CShrinker shrinker;
  shrinker.mSource = source;
  EXPECT_FALSE(VQ7::CopyFileWithProgress(source, target, shrinker)) << "no zeros for lost bytes";
  ASSERT_EQ(0, ::mkfifo((dir / "fifo").c_str(), 0600));
  EXPECT_FALSE(VQ7::CopyFileWithProgress(dir / "fifo", target, shrinker)) << "and did not block";
}
