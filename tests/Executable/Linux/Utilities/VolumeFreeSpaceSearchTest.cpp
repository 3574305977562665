// The free space of a path whose folders cannot be found: the search for an
// existing folder ends for any path, also in a working folder that has been
// deleted.

#include "Executable/Com/Card/FileUtilities.h"

#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// The body of the child that the test below starts; skips in a normal run.
TEST(VolumeFreeSpaceSearchChild, RelativePathsInADeletedWorkingFolder) {
  char const* folder = std::getenv("VQ7_DELETED_CWD");
  if (folder == nullptr) GTEST_SKIP() << "started by the search test only";
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  ASSERT_EQ(0, ::chdir(folder));
  ASSERT_EQ(0, ::rmdir(folder));
  for (char const* path : {"x.wav", "a/b.wav", ".", "..", "./x.wav", "../x.wav"}) {
    unsigned long long freeBytes = 0;
    // The deleted folder's own entries still answer; anything below it is
    // not there.
    bool const answers = VQ7::GetVolumeFreeSpace(path, freeBytes);
    if (answers) {
      EXPECT_GT(freeBytes, 0u) << path;
    }
  }
}

TEST(VolumeFreeSpaceSearchTest, EndsForRelativePathsInADeletedWorkingFolder) {
  Support::CPrivateTempDir dir;
  std::string const folder = dir / "gone";
  ASSERT_EQ(0, ::mkdir(folder.c_str(), 0700));
  Support::CScopedEnv env("VQ7_DELETED_CWD", folder);
  pid_t const child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {  // a fresh process image: no threads of this one carried over
    int const null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::execl("/proc/self/exe", "vq7_tests", "--gtest_filter=VolumeFreeSpaceSearchChild.*", nullptr);
    ::_exit(127);
  }
  // However slow the machine, a search that ends is done well within this.
  int status = 0;
  pid_t ended = 0;
  for (int wait = 0; wait < 6000 && ended == 0; ++wait) {
    ended = ::waitpid(child, &status, WNOHANG);
    if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (ended == 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    FAIL() << "the search did not end within a minute";
  }
  ASSERT_EQ(child, ended);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child failed: " << status;
}
