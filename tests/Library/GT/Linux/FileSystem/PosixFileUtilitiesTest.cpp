// Mode changes refused by the object itself against those refused by a volume
// without modes.

#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"
#include "Support/FatImage.h"
#include "Support/FileBytes.h"
#include "Support/Immutable.h"
#include "Support/PrivateMount.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
  Support::CImmutable const lockedFolder(folder), lockedFile(file);
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
  Support::CImmutable const lockedFolder(folder), lockedFile(file);
  for (auto const& c : ModeCalls(folder, file)) EXPECT_EQ(0, c.call()) << c.what;
}

// The permission pass goes on into every folder it can read, whatever became
// of that folder's own mode, and reports the change it could not make: an
// immutable folder (root), and a folder or a single file of another user (an
// unprivileged caller).
TEST(PosixFileUtilities, ThePermissionPassGoesIntoFoldersWhoseOwnModeStays) {
  Support::CPrivateTempDir dir;
  std::string const tree = dir / "tree", locked = tree + "/locked", theirs = tree + "/theirs";
  ASSERT_EQ(0, ::chmod(dir.Path().c_str(), 0755));
  for (std::string const& folder : {tree, locked, theirs}) {
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0700));
    for (char const* file : {"/f", "/g"}) {
      ASSERT_TRUE(Support::WriteBytes(folder + file, "x"));
      ASSERT_EQ(0, ::chmod((folder + file).c_str(), 0600));
    }
  }
  ASSERT_EQ(0, ::chmod(theirs.c_str(), 0755));
  mode_t const mask = ::umask(022);
  {
    Support::CImmutable const immutable(locked);
    if (immutable.IsSet()) {
      EXPECT_FALSE(GT::AllowAccessAll(tree));
      EXPECT_EQ(0700u, Support::ModeOf(locked));
      for (std::string const& folder : {tree, locked, theirs})
        for (char const* file : {"/f", "/g"}) EXPECT_EQ(0644u, Support::ModeOf(folder + file));
    }
  }
  // Everything but one object belongs to the caller, who reads that object
  // but may not change its mode: another user's folder, or only a file.
  uid_t const user = 65534;  // whom the unprivileged child runs as under root
  std::vector<std::string> const all = {tree,   tree + "/f",   tree + "/g",
                                        locked, locked + "/f", locked + "/g",
                                        theirs, theirs + "/f", theirs + "/g"};
  auto const isFolder = [&](std::string const& path) {
    return path == tree || path == locked || path == theirs;
  };
  bool chowned = ::geteuid() == 0;
  for (std::string const& refused : {theirs, tree + "/g"}) {
    if (!chowned) break;
    SCOPED_TRACE("refused: " + refused);
    mode_t const refusedMode = isFolder(refused) ? 0755 : 0600;
    for (std::string const& path : all) {
      bool const mine = path != refused;
      if (::chown(path.c_str(), mine ? user : 0, mine ? user : 0) != 0 ||
          ::chmod(path.c_str(), mine ? (isFolder(path) ? 0700 : 0600) : refusedMode) != 0)
        chowned = false;
    }
    if (!chowned) break;
    Support::CPrivateMountResult const child = Support::RunUnprivileged([&]() -> std::string {
      return GT::AllowAccessAll(tree) ? "the refused change was not reported" : "";
    });
    ASSERT_TRUE(child.available);
    EXPECT_EQ("", child.failure);
    for (std::string const& path : all)
      EXPECT_EQ(path == refused  ? refusedMode
                : isFolder(path) ? 0755u
                                 : 0644u,
                Support::ModeOf(path))
          << path;
  }
  ::umask(mask);
  if (!chowned)
    GTEST_SKIP() << "another user's folder needs root to make; the immutable flag needs root "
                    "and a file system such as ext4";
}

}  // namespace
