#include "GT/Linux/FileSystem/FileSystem.h"

#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "Support/FileBytes.h"
#include "Support/PrivateMount.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Support::Exists;
using Support::ModeOf;
using Support::PatternBytes;
using Support::ReadBytes;
using Support::WriteBytes;

class FileSystem : public ::testing::Test {
protected:
  void SetUp() override { mOldMask = ::umask(022); }
  void TearDown() override { ::umask(mOldMask); }

  std::string P(std::string const& name) const { return mDir / name; }
  static std::set<std::string> Names(std::string const& folder) {
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
      while (struct dirent* e = ::readdir(dir))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
          names.insert(e->d_name);
      ::closedir(dir);
    }
    return names;
  }
  void MakeTree(std::string const& root) {
    ASSERT_EQ(0, ::mkdir(root.c_str(), 0755));
    ASSERT_TRUE(WriteBytes(root + "/a.wav", PatternBytes(5000)));
    ASSERT_EQ(0, ::mkdir((root + "/x").c_str(), 0700));
    ASSERT_EQ(0, ::mkdir((root + "/x/y").c_str(), 0755));
    ASSERT_TRUE(WriteBytes(root + "/x/y/z.bin", PatternBytes(300000, 7)));
    ASSERT_TRUE(WriteBytes(root + "/x/locked", "L"));
    ASSERT_EQ(0, ::chmod((root + "/x/locked").c_str(), 0444));
    ASSERT_EQ(0, ::symlink("a.wav", (root + "/alias").c_str()));
  }

  Support::CPrivateTempDir mDir;
  mode_t mOldMask = 0;
};

TEST_F(FileSystem, FilesFoldersAndRemoval) {
  ASSERT_TRUE(WriteBytes(P("f"), "data"));
  ASSERT_EQ(0, ::mkdir(P("d").c_str(), 0755));
  ASSERT_TRUE(WriteBytes(P("d/inner"), "in"));
  ASSERT_EQ(0, ::symlink("f", P("link").c_str()));
  ASSERT_EQ(0, ::symlink("nowhere", P("broken").c_str()));

  EXPECT_TRUE(GT::IsFileValid(P("f")));
  EXPECT_TRUE(GT::IsFileValid(P("link")));
  EXPECT_FALSE(GT::IsFileValid(P("d")));
  EXPECT_FALSE(GT::IsFileValid(P("missing")));
  EXPECT_FALSE(GT::IsFileValid(P("broken")));
  EXPECT_FALSE(GT::IsFileValid(""));
  EXPECT_TRUE(GT::IsDirectoryValid(P("d")));
  EXPECT_FALSE(GT::IsDirectoryValid(P("f")));

  EXPECT_FALSE(GT::RemoveFile(P("d")));
  EXPECT_EQ("in", ReadBytes(P("d/inner")));
  EXPECT_FALSE(GT::RemoveFile(P("missing")));
  EXPECT_TRUE(GT::RemoveFile(P("link")));  // the link, not its target
  EXPECT_EQ("data", ReadBytes(P("f")));
  EXPECT_TRUE(GT::RemoveFile(P("f")));
  EXPECT_FALSE(Exists(P("f")));

  EXPECT_FALSE(GT::RemoveDirectoryX(P("broken")));
  ASSERT_EQ(0, ::symlink("d", P("dlink").c_str()));
  EXPECT_FALSE(GT::RemoveDirectoryX(P("dlink/")));  // a link, whatever "/" follows it
  EXPECT_EQ("in", ReadBytes(P("d/inner")));
  MakeTree(P("tree"));
  ASSERT_EQ(0, ::chmod(P("tree/x").c_str(), 0500));
  EXPECT_TRUE(GT::RemoveDirectoryX(P("tree")));
  EXPECT_FALSE(Exists(P("tree")));

  EXPECT_TRUE(GT::MakeDirectory(P("m/n/o")));
  EXPECT_TRUE(GT::IsDirectoryValid(P("m/n/o")));
  EXPECT_EQ(0755u, ModeOf(P("m/n")));
  EXPECT_TRUE(GT::MakeDirectory(P("m/n/o")));
  ASSERT_TRUE(WriteBytes(P("m/file"), ""));
  EXPECT_FALSE(GT::MakeDirectory(P("m/file/p")));
  EXPECT_FALSE(GT::MakeDirectory(""));
}

TEST_F(FileSystem, CopyGivesIdenticalFilesAtEverySizeBoundary) {
  std::size_t const buffer = 0x40000;
  for (std::size_t size : {std::size_t(0), std::size_t(1), buffer - 1, buffer, buffer + 1,
                           std::size_t(5 * 1024 * 1024 + 3)}) {
    std::string const data = PatternBytes(size, static_cast<uint32_t>(size + 1));
    ASSERT_TRUE(WriteBytes(P("src"), data));
    ASSERT_TRUE(GT::CopyFileX(P("src"), P("dst"))) << size;
    EXPECT_EQ(data, ReadBytes(P("dst"))) << size;
    ASSERT_TRUE(GT::CopyFileR(P("src"), P("dstR"))) << size;
    EXPECT_EQ(data, ReadBytes(P("dstR"))) << size;
  }
  // Only the two copies and the source: no temporaries left beside them.
  EXPECT_EQ((std::set<std::string>{"src", "dst", "dstR"}), Names(mDir.Path()));
}

TEST_F(FileSystem, CopyReplacesAndGivesUserPermissions) {
  ASSERT_TRUE(WriteBytes(P("src"), "new"));
  ASSERT_EQ(0, ::chmod(P("src").c_str(), 0444));  // a locked source
  ASSERT_TRUE(WriteBytes(P("dst"), "old and longer"));
  ASSERT_EQ(0, ::chmod(P("dst").c_str(), 0600));
  ASSERT_TRUE(GT::CopyFileX(P("src"), P("dst")));
  EXPECT_EQ("new", ReadBytes(P("dst")));
  EXPECT_EQ(0644u, ModeOf(P("dst")));  // writable by the user, never by all
  ASSERT_TRUE(GT::CopyFileX(P("src"), P("fresh")));
  EXPECT_EQ(0644u, ModeOf(P("fresh")));

  ::umask(077);
  ASSERT_TRUE(GT::CopyFileX(P("src"), P("private")));
  EXPECT_EQ(0600u, ModeOf(P("private")));
  ASSERT_TRUE(GT::CopyFileR(P("src"), P("privateR")));
  EXPECT_EQ(0600u, ModeOf(P("privateR")));

  ASSERT_EQ(0, ::mkdir(P("folder").c_str(), 0755));
  ASSERT_TRUE(WriteBytes(P("folder/keep"), "k"));
  EXPECT_FALSE(GT::CopyFileX(P("src"), P("folder")));  // a folder is never thrown away
  EXPECT_EQ("k", ReadBytes(P("folder/keep")));
  EXPECT_FALSE(GT::CopyFileX(P("folder"), P("x")));
  EXPECT_FALSE(GT::CopyFileX(P("missing"), P("x")));
  EXPECT_FALSE(GT::CopyFileX(P("src"), P("no/such/folder/x")));
  EXPECT_FALSE(GT::CopyFileX(P("src"), P("folder/")));
  EXPECT_FALSE(GT::CopyFileR(P("missing"), P("dst")));
  EXPECT_EQ("new", ReadBytes(P("dst")));
  EXPECT_FALSE(Exists(P("x")));
  EXPECT_TRUE(GT::CopyFileX(P("src"), P("src")));  // onto itself: unchanged
  EXPECT_EQ("new", ReadBytes(P("src")));
}

TEST_F(FileSystem, RenameReplacesAtomicallyOrChangesNothing) {
  ASSERT_TRUE(WriteBytes(P("a"), "A"));
  ASSERT_TRUE(WriteBytes(P("b"), "B"));
  EXPECT_TRUE(GT::Rename(P("a"), P("b")));
  EXPECT_EQ("A", ReadBytes(P("b")));
  EXPECT_FALSE(Exists(P("a")));
  EXPECT_FALSE(GT::Rename(P("a"), P("b")));
  EXPECT_EQ("A", ReadBytes(P("b")));
  EXPECT_FALSE(GT::Rename(P("b"), P("no/such/b")));
  EXPECT_EQ("A", ReadBytes(P("b")));
}

TEST_F(FileSystem, FolderTreesCopyWholeAndReplace) {
  MakeTree(P("src"));
  ASSERT_TRUE(GT::CopyDirectory(P("src"), P("copy")));
  EXPECT_EQ(Support::TreeOf(P("src")), Support::TreeOf(P("copy")));
  EXPECT_EQ(0755u, ModeOf(P("copy/x")));  // the user's default access
  EXPECT_EQ(0644u, ModeOf(P("copy/x/locked")));

  // Replacing an existing tree leaves exactly the new one.
  ASSERT_EQ(0, ::mkdir(P("old").c_str(), 0755));
  ASSERT_TRUE(WriteBytes(P("old/stale"), "s"));
  ASSERT_TRUE(GT::CopyDirectory(P("src/"), P("old/")));
  EXPECT_EQ(Support::TreeOf(P("src")), Support::TreeOf(P("old")));
  ASSERT_TRUE(WriteBytes(P("plain"), "p"));
  ASSERT_TRUE(GT::CopyDirectory(P("src"), P("plain")));
  EXPECT_EQ(Support::TreeOf(P("src")), Support::TreeOf(P("plain")));
  EXPECT_EQ((std::set<std::string>{"src", "copy", "old", "plain"}), Names(mDir.Path()));

  // Into itself: refused, and nothing is left behind.
  auto const before = Support::TreeOf(P("src"));
  EXPECT_FALSE(GT::CopyDirectory(P("src"), P("src/x/inside")));
  EXPECT_EQ(before, Support::TreeOf(P("src")));
  EXPECT_FALSE(GT::CopyDirectory(P("src/a.wav"), P("y")));
  EXPECT_FALSE(GT::CopyDirectory(P("missing"), P("y")));
  EXPECT_FALSE(GT::CopyDirectory(P("src"), P("no/such/y")));
  EXPECT_EQ((std::set<std::string>{"src", "copy", "old", "plain"}), Names(mDir.Path()));

  ASSERT_EQ(0, ::chmod(P("src/x").c_str(), 0700));
  ASSERT_EQ(0, ::chmod(P("src/a.wav").c_str(), 0600));
  EXPECT_TRUE(GT::AllowAccessAll(P("src")));
  EXPECT_EQ(0755u, ModeOf(P("src/x")));
  EXPECT_EQ(0644u, ModeOf(P("src/a.wav")));
  EXPECT_EQ(0644u, ModeOf(P("src/x/locked")));
  EXPECT_FALSE(GT::AllowAccessAll(P("missing")));
}

TEST_F(FileSystem, PrivateTemporaryFolderAndVolumeNames) {
  std::string const temp = GT::GetTemporaryDirectoryName();
  EXPECT_TRUE(GT::IsDirectoryValid(temp));
  EXPECT_EQ(0700u, ModeOf(temp));
  EXPECT_EQ(temp, GT::GetTemporaryDirectoryName());
  ASSERT_TRUE(GT::RemoveDirectoryX(temp));
  {
    Support::CScopedEnv const unusable("TMPDIR", P("missing"));
    EXPECT_EQ("", GT::GetTemporaryDirectoryName());  // never a shared folder instead
  }
  std::string const again = GT::GetTemporaryDirectoryName();  // made anew when missing
  EXPECT_TRUE(GT::IsDirectoryValid(again));

  std::string const table =
      "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "40 22 8:17 / /media/alice/CARD rw - vfat /dev/sdb1 rw\n"
      "41 22 8:18 / /media/alice/MY\\040CARD rw - vfat /dev/sdb2 rw\n"
      "42 22 8:19 / /run/media/alice/VQ rw - vfat /dev/sdb3 rw\n"
      "43 22 8:20 / /mnt/usb rw - vfat /dev/sdb4 rw\n"
      "44 22 8:21 / /media/bob/OTHER rw - vfat /dev/sdb5 rw\n"
      "45 22 8:22 / /mnt/usb/nested rw - vfat /dev/sdb6 rw\n"
      "46 22 0:5 / /proc rw - proc proc rw\n"
      "garbage\n"
      "47 22 8:23 /\n";
  EXPECT_EQ((std::vector<std::string>{"/media/alice/CARD", "/media/alice/MY CARD",
                                      "/run/media/alice/VQ", "/mnt/usb"}),
            std::vector<std::string>(GT::ParseVolumeMountPoints(table, "alice")));
  for (auto const& drive : GT::GetDriveNames()) {
    EXPECT_FALSE(drive.first.empty());
    EXPECT_TRUE(GT::IsDirectoryValid(drive.second));
  }
}

// ---- full and read-only volumes ----

std::string Check(bool condition, char const* what) {
  return condition ? std::string() : std::string(what) + "; ";
}

TEST_F(FileSystem, FullVolumeFailsAndKeepsTheOldTarget) {
  ASSERT_EQ(0, ::mkdir(P("vol").c_str(), 0755));
  std::string const big = PatternBytes(300 * 1024);
  ASSERT_TRUE(WriteBytes(P("big"), big));
  ASSERT_EQ(0, ::mkdir(P("bigtree").c_str(), 0755));
  ASSERT_TRUE(WriteBytes(P("bigtree/big"), big));
  std::string const vol = P("vol");
  std::string const src = P("big");
  std::string const tree = P("bigtree");
  auto const result = Support::RunWithPrivateTmpfs(vol, "size=128k", [&]() {
    std::string failure;
    std::string const old = PatternBytes(40 * 1024, 3);
    if (!WriteBytes(vol + "/target", old)) return std::string("setup failed");
    failure += Check(!GT::CopyFileX(src, vol + "/target"), "CopyFileX reported success");
    failure += Check(ReadBytes(vol + "/target") == old, "CopyFileX damaged the old target");
    failure += Check(!GT::CopyFileR(src, vol + "/target"), "CopyFileR reported success");
    failure += Check(ReadBytes(vol + "/target") == old, "CopyFileR damaged the old target");
    FSRef const source{src}, dest{vol};
    failure += Check(FSCopyObject(&source, &dest, 0, 0, nDupeReplace, "target", 0, 0, nullptr,
                                  nullptr, nullptr, nullptr) == GT::nFsDiskFull,
                     "FSCopyObject did not report a full disk");
    failure += Check(ReadBytes(vol + "/target") == old, "FSCopyObject damaged the old target");
    failure += Check(!GT::CopyDirectory(tree, vol + "/tree"), "CopyDirectory reported success");
    std::set<std::string> names;
    if (DIR* dir = ::opendir(vol.c_str())) {
      while (struct dirent* e = ::readdir(dir)) names.insert(e->d_name);
      ::closedir(dir);
    }
    failure +=
        Check(names == std::set<std::string>{".", "..", "target"}, "temporaries were left behind");
    return failure;
  });
  if (!result.available) GTEST_SKIP() << "private mount namespaces are not permitted here";
  EXPECT_EQ("", result.failure);
}

// An item the user may not read fails the copy; the tree it was to replace stays whole.
TEST_F(FileSystem, UnreadableItemsFailAFolderCopy) {
  MakeTree(P("src"));
  MakeTree(P("old"));
  ASSERT_TRUE(WriteBytes(P("old/x/y/z.bin"), "old"));
  ASSERT_EQ(0, ::chmod(mDir.Path().c_str(), 0755));
  if (::geteuid() == 0)
    for (auto const& item : Support::TreeOf(mDir.Path()))
      ::lchown(P(item.first).c_str(), 65534, 65534);
  ::chown(mDir.Path().c_str(), 65534, 65534);
  std::string const src = P("src"), old = P("old");
  auto const before = Support::TreeOf(old);
  auto const result = Support::RunUnprivileged([&]() {
    std::string failure;
    for (char const* item : {"/x/y", "/a.wav"}) {
      ::chmod((src + item).c_str(), 0);
      failure += Check(!GT::CopyDirectory(src, old), "a copy without an unreadable item succeeded");
      failure += Check(Support::TreeOf(old) == before, "the old tree changed");
      failure += Check(Names(P("")) == std::set<std::string>{"src", "old"}, "something was left");
      ::chmod((src + item).c_str(), 0755);
    }
    return failure;
  });
  if (!result.available) GTEST_SKIP() << "cannot drop privileges here";
  EXPECT_EQ("", result.failure);
}

// A file whose size says more than it holds, as one that shrinks while it is copied.
TEST_F(FileSystem, CopyOfASourceThatChangesSizeFails) {
  char const* const source = "/sys/devices/system/cpu/online";
  struct stat st;
  if (::stat(source, &st) != 0 || static_cast<std::size_t>(st.st_size) <= ReadBytes(source).size())
    GTEST_SKIP() << source << " is not there to give fewer bytes than its size";
  ASSERT_TRUE(WriteBytes(P("dst"), "old"));
  ASSERT_EQ(0, ::mkdir(P("folder").c_str(), 0755));
  EXPECT_FALSE(GT::CopyFileX(source, P("dst")));
  FSRef const from{source}, into{P("folder")};
  EXPECT_NE(GT::nFsNoErr, FSCopyObject(&from, &into, 0, 0, nDupeStandard, nullptr, 0, 0, nullptr,
                                       nullptr, nullptr, nullptr));
  EXPECT_EQ("old", ReadBytes(P("dst")));
  EXPECT_EQ((std::set<std::string>{"dst", "folder"}), Names(mDir.Path()));
  EXPECT_TRUE(Names(P("folder")).empty());
}

TEST_F(FileSystem, ReadOnlyVolumeFailsAndChangesNothing) {
  ASSERT_EQ(0, ::mkdir(P("vol").c_str(), 0755));
  ASSERT_TRUE(WriteBytes(P("small"), "new"));
  std::string const vol = P("vol");
  std::string const src = P("small");
  auto const result = Support::RunWithPrivateTmpfs(vol, "size=128k", [&]() {
    std::string failure;
    if (!WriteBytes(vol + "/target", "old") || ::mkdir((vol + "/d").c_str(), 0755) != 0 ||
        !WriteBytes(vol + "/d/f", "f") || !Support::RemountReadOnly(vol))
      return std::string("setup failed");
    failure += Check(!GT::CopyFileX(src, vol + "/target"), "CopyFileX reported success");
    failure += Check(!GT::CopyFileR(src, vol + "/target"), "CopyFileR reported success");
    failure += Check(!GT::RemoveFile(vol + "/target"), "RemoveFile reported success");
    failure += Check(!GT::Rename(vol + "/target", vol + "/moved"), "Rename reported success");
    failure += Check(!GT::RemoveDirectoryX(vol + "/d"), "RemoveDirectoryX reported success");
    failure += Check(!GT::MakeDirectory(vol + "/new/folder"), "MakeDirectory reported success");
    failure += Check(!GT::CopyDirectory(vol + "/d", vol + "/d2"), "CopyDirectory reported success");
    FSRef const source{src}, dest{vol}, target{vol + "/target"}, folder{vol + "/d"};
    failure += Check(FSCopyObject(&source, &dest, 0, 0, nDupeReplace, "target", 0, 0, nullptr,
                                  nullptr, nullptr, nullptr) == GT::nFsWriteProtected,
                     "FSCopyObject did not report write protection");
    failure += Check(FSDeleteObjects(&folder) == GT::nFsWriteProtected,
                     "FSDeleteObjects did not report write protection");
    failure += Check(FSCheckLock(&target) == GT::nFsWriteProtected,
                     "FSCheckLock missed the read-only volume");
    failure += Check(ReadBytes(vol + "/target") == "old", "the old target changed");
    failure += Check(ReadBytes(vol + "/d/f") == "f", "the folder changed");
    return failure;
  });
  if (!result.available) GTEST_SKIP() << "private mount namespaces are not permitted here";
  EXPECT_EQ("", result.failure);
}

}  // namespace

#include "GT/Linux/FileSystem/PosixFileUtilities.h"

#include <cerrno>
#include <fcntl.h>

namespace {

TEST(PosixFileUtilities, WritesToAFullDeviceReportTheError) {
  int const full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  if (full < 0) GTEST_SKIP() << "/dev/full is not available";
  char const data[100] = {1};
  errno = 0;
  EXPECT_FALSE(GT::Posix::WriteAll(full, data, sizeof data));
  EXPECT_EQ(ENOSPC, errno);
  int const zero = ::open("/dev/zero", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(zero, 0);
  char buffer[4096];
  EXPECT_EQ(ENOSPC, GT::Posix::CopyData(zero, full, buffer, sizeof buffer));
  EXPECT_EQ(GT::nFsDiskFull, GT::OSErrFromErrno(ENOSPC));
  EXPECT_EQ(GT::nFsWriteProtected, GT::OSErrFromErrno(EROFS));
  EXPECT_EQ(GT::nFsFileNotFound, GT::OSErrFromErrno(ENOENT));
  ::close(zero);
  ::close(full);
}

TEST(PosixFileUtilities, ParentSplittingAndMountFieldDecoding) {
  std::string parent, name;
  EXPECT_TRUE(GT::Posix::SplitParent("/a/\"b/c.wav", parent, name));
  EXPECT_EQ("/a/\"b", parent);
  EXPECT_EQ("c.wav", name);
  EXPECT_TRUE(GT::Posix::SplitParent("/x", parent, name));
  EXPECT_EQ("/", parent);
  EXPECT_TRUE(GT::Posix::SplitParent("x", parent, name));
  EXPECT_EQ(".", parent);
  EXPECT_FALSE(GT::Posix::SplitParent("a/", parent, name));
  EXPECT_FALSE(GT::Posix::SplitParent("a/..", parent, name));
  EXPECT_FALSE(GT::Posix::SplitParent("", parent, name));
  EXPECT_EQ("a b\tc\\d\\9", GT::Posix::DecodeMountField("a\\040b\\011c\\134d\\9"));
  EXPECT_EQ("end\\04", GT::Posix::DecodeMountField("end\\04"));
}

}  // namespace
