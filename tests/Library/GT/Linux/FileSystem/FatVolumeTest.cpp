#include "Executable/Com/Card/FileUtilities.h"
#include "GT/Com/FileSystem/FileReplacement.h"
#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"
#include "Support/FatImage.h"
#include "Support/FileBytes.h"
#include "Support/Immutable.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace {

using Support::ReadBytes;
using Support::WriteBytes;

// A volume without modes refuses every mode change; the toolkit's copies and
// folder calls succeed there all the same.
TEST(FatVolume, ModeChangesRefusedByTheVolumeFailNothing) {
  Support::CPrivateTempDir dir;
  std::string const card = dir / "card";
  Support::CFatMount const fat(dir / "fat.img", card);
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
  std::string const data = Support::PatternBytes(70000);
  ASSERT_TRUE(WriteBytes(dir / "src", data));
  ASSERT_TRUE(std::filesystem::create_directories(dir / "tree/sub"));
  ASSERT_TRUE(WriteBytes(dir / "tree/sub/f", "f"));

  FSRef const source{dir / "src"}, tree{dir / "tree"}, volume{card};
  struct {
    char const* what;
    std::function<bool()> call;
    char const* made;  // the object it leaves on the card
  } const cases[] = {
      {"CopyFileX", [&] { return GT::CopyFileX(dir / "src", card + "/INFO.VQD"); }, "INFO.VQD"},
      {"CopyFileX replacing", [&] { return GT::CopyFileX(dir / "src", card + "/INFO.VQD"); },
       "INFO.VQD"},
      {"CopyFileR", [&] { return GT::CopyFileR(dir / "src", card + "/R.VQD"); }, "R.VQD"},
      {"CopyFileR replacing", [&] { return GT::CopyFileR(dir / "src", card + "/R.VQD"); }, "R.VQD"},
      {"CreateFileBeside",
       [&] {
         std::string const temp = GT::CreateFileBeside(card + "/NEW.VQD");
         return !temp.empty() && WriteBytes(temp, ReadBytes(dir / "src")) &&
                GT::ReplaceFileWith(card + "/NEW.VQD", temp);
       },
       "NEW.VQD"},
      {"FSCopyObject",
       [&] {
         return FSCopyObject(&source, &volume, 0, 0, nDupeReplace, "OBJ.VQD", 0, 0, nullptr,
                             nullptr, nullptr, nullptr) == GT::nFsNoErr;
       },
       "OBJ.VQD"},
      {"CopyDirectory", [&] { return GT::CopyDirectory(dir / "tree", card + "/TREE"); }, "TREE"},
      {"MakeDirectory", [&] { return GT::MakeDirectory(card + "/A/B"); }, "A"},
      {"AllowAccessAll", [&] { return GT::AllowAccessAll(card + "/TREE"); }, "TREE"},
      {"FSSetDirAccess",
       [&] {
         FSRef const folder{card + "/A"};
         FSPermissionInfo access{};
         return FSGetDirAccess(&folder, &access) == GT::nFsNoErr &&
                FSSetDirAccess(&folder, FSPermissionInfo{access.userID, access.groupID, 0700}) ==
                    GT::nFsNoErr;
       },
       "A"},
  };
  std::set<std::string> made;
  for (auto const& c : cases) {
    EXPECT_TRUE(c.call()) << c.what;
    made.insert(c.made);
    EXPECT_EQ(made, Support::FolderNames(card))
        << c.what << ": a temporary was left, or nothing made";
  }
  for (char const* file : {"INFO.VQD", "R.VQD", "NEW.VQD", "OBJ.VQD"})
    EXPECT_TRUE(data == ReadBytes(card + "/" + file)) << file;
  EXPECT_EQ(Support::TreeOf(dir / "tree"), Support::TreeOf(card + "/TREE"));
  EXPECT_TRUE(GT::IsDirectoryValid(card + "/A/B"));
}

// Which refusals of chmod or chown mean a volume without modes: EPERM only on
// a volume of a type without modes, never for an object that refuses itself.
TEST(FatVolume, RefusalsThatMeanAVolumeWithoutModes) {
  struct {
    int error;
    bool entitled;
    bool modeless;
    bool noModes;
  } const cases[] = {
      {ENOSYS, false, true, true}, {ENOSYS, false, false, true}, {EOPNOTSUPP, false, true, true},
      {EPERM, true, true, true},   {EPERM, true, false, false},  {EPERM, false, true, false},
      {EACCES, true, true, false}, {EROFS, true, true, false},   {EIO, true, true, false}};
  for (auto const& c : cases)
    EXPECT_EQ(c.noModes, GT::Posix::VolumeKeepsNoModes(c.error, c.entitled, c.modeless))
        << c.error << " " << c.entitled << " " << c.modeless;
  EXPECT_EQ(ENOENT, GT::Posix::ChangeMode("/no/such/file", 0644));
}

// Copies that replace and moves that must not replace answer on the card as on
// any other volume, though its driver takes no rename flags.
TEST(FatVolume, ReplacingAndNonReplacingRenames) {
  Support::CPrivateTempDir dir;
  std::string const card = dir / "card", local = dir / "local";
  ASSERT_TRUE(std::filesystem::create_directory(local));
  Support::CFatMount const fat(dir / "fat.img", card);
  std::string const data = Support::PatternBytes(70000);
  ASSERT_TRUE(WriteBytes(dir / "src", data));
  FSRef const source{dir / "src"};

  for (std::string const& volume : {local, card}) {
    if (volume == card && !fat.IsMounted()) continue;
    FSRef const folder{volume};
    ASSERT_TRUE(WriteBytes(volume + "/OLD.VQD", "old"));
    ASSERT_TRUE(WriteBytes(volume + "/A.VQD", "a"));
    ASSERT_TRUE(WriteBytes(volume + "/KEEP.VQD", "keep"));
    ASSERT_TRUE(std::filesystem::create_directory(volume + "/DIR"));
    struct {
      char const* what;
      std::function<OSErr()> call;
      OSErr result;
    } const cases[] = {
        {"FSCopyObject replacing",
         [&] {
           return FSCopyObject(&source, &folder, 0, 0, nDupeReplace, "OLD.VQD", 0, 0, nullptr,
                               nullptr, nullptr, nullptr);
         },
         GT::nFsNoErr},
        {"FSMoveRenameObjectUnicode to a new name",
         [&] {
           FSRef const a{volume + "/A.VQD"};
           return FSMoveRenameObjectUnicode(&a, &folder, "B.VQD", nullptr);
         },
         GT::nFsNoErr},
        {"FSMoveRenameObjectUnicode of a folder",
         [&] {
           FSRef const d{volume + "/DIR"};
           return FSMoveRenameObjectUnicode(&d, &folder, "NEWDIR", nullptr);
         },
         GT::nFsNoErr},
        {"FSMoveRenameObjectUnicode onto an existing name",
         [&] {
           FSRef const b{volume + "/B.VQD"};
           return FSMoveRenameObjectUnicode(&b, &folder, "KEEP.VQD", nullptr);
         },
         GT::nFsDuplicateName},
    };
    for (auto const& c : cases) EXPECT_EQ(c.result, c.call()) << c.what << " in " << volume;
    EXPECT_EQ((std::set<std::string>{"OLD.VQD", "B.VQD", "KEEP.VQD", "NEWDIR"}),
              Support::FolderNames(volume))
        << volume;
    EXPECT_TRUE(data == ReadBytes(volume + "/OLD.VQD")) << volume;
    EXPECT_EQ("a", ReadBytes(volume + "/B.VQD")) << volume;
    EXPECT_EQ("keep", ReadBytes(volume + "/KEEP.VQD")) << volume;
  }
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
}

// The card's FUSE driver empties a folder it renames; every call that moves a
// folder there brings it whole or fails with nothing changed, as on ext4, and
// so the image holds after a remount.
TEST(FatVolume, MovedAndReplacedFoldersArriveWhole) {
  Support::CPrivateTempDir dir;
  std::string const card = dir / "card", local = dir / "local", image = dir / "fat.img";
  ASSERT_TRUE(std::filesystem::create_directory(local));
  Support::CFatMount const fat(image, card);
  auto const makeTree = [](std::string const& root, std::string const& tag) {
    return ::mkdir(root.c_str(), 0755) == 0 && WriteBytes(root + "/A.VQD", tag + "a") &&
           WriteBytes(root + "/B.VQD", Support::PatternBytes(9000)) &&
           ::mkdir((root + "/SUB").c_str(), 0755) == 0 &&
           WriteBytes(root + "/SUB/C.VQD", tag + "c");
  };
  ASSERT_TRUE(makeTree(dir / "source", "s"));
  auto const source = Support::TreeOf(dir / "source");
  auto const treeOf = [&](std::string const& tag) {
    std::map<std::string, std::string> tree;
    for (auto const& item : source)
      tree[item.first] =
          item.second == "sa" || item.second == "sc" ? tag + item.second.substr(1) : item.second;
    return tree;
  };

  for (std::string const& volume : {local, card}) {
    if (volume == card && !fat.IsMounted()) continue;
    EXPECT_EQ(volume == card, GT::Posix::EmptiesMovedFolders(volume));
    for (char const* name : {"R", "M", "OLD", "G", "V", "STAY"})
      ASSERT_TRUE(makeTree(volume + "/" + name, name)) << name;
    ASSERT_TRUE(WriteBytes(volume + "/OLD/EXTRA.VQD", "x"));
    ASSERT_TRUE(std::filesystem::create_directory(volume + "/INTO"));
    ASSERT_TRUE(std::filesystem::create_directory(volume + "/EMPTY"));
    FSRef const top{volume}, into{volume + "/INTO"}, src{dir / "source"};
    struct {
      char const* what;
      std::function<bool()> call;
      bool done;
    } const cases[] = {
        {"FSMoveRenameObjectUnicode in its folder",
         [&] {
           FSRef const r{volume + "/R"};
           return FSMoveRenameObjectUnicode(&r, &top, "RENAMED", nullptr) == GT::nFsNoErr;
         },
         true},
        {"FSMoveRenameObjectUnicode into another folder",
         [&] {
           FSRef const m{volume + "/M"};
           return FSMoveRenameObjectUnicode(&m, &into, "MOVED", nullptr) == GT::nFsNoErr;
         },
         true},
        {"FSCopyObject replacing a folder",
         [&] {
           return FSCopyObject(&src, &top, 0, 0, nDupeReplace, "OLD", 0, 0, nullptr, nullptr,
                               nullptr, nullptr) == GT::nFsNoErr;
         },
         true},
        {"CopyDirectory new", [&] { return GT::CopyDirectory(dir / "source", volume + "/NEW"); },
         true},
        {"CopyDirectory replacing",
         [&] { return GT::CopyDirectory(dir / "source", volume + "/NEW"); }, true},
        {"Rename onto an empty folder",
         [&] { return GT::Rename(volume + "/G", volume + "/EMPTY"); }, true},
        {"Move", [&] { return VQ7::Move(volume + "/V", volume + "/INTO/V2"); }, true},
        {"FSMoveRenameObjectUnicode into itself",
         [&] {
           FSRef const s{volume + "/STAY"}, sub{volume + "/STAY/SUB"};
           return FSMoveRenameObjectUnicode(&s, &sub, "X", nullptr) == GT::nFsNoErr;
         },
         false},
        {"FSMoveRenameObjectUnicode onto a folder",
         [&] {
           FSRef const s{volume + "/STAY"};
           return FSMoveRenameObjectUnicode(&s, &top, "INTO", nullptr) == GT::nFsNoErr;
         },
         false},
        {"Rename onto a folder that is not empty",
         [&] { return GT::Rename(volume + "/STAY", volume + "/NEW"); }, false},
    };
    for (auto const& c : cases) EXPECT_EQ(c.done, c.call()) << c.what << " in " << volume;

    std::map<std::string, std::string> expected;
    auto const place = [&expected](std::string const& at,
                                   std::map<std::string, std::string> const& tree) {
      expected[at] = "/";
      for (auto const& item : tree) expected[at + item.first] = item.second;
    };
    place("/RENAMED", treeOf("R"));
    place("/INTO", {});
    place("/INTO/MOVED", treeOf("M"));
    place("/INTO/V2", treeOf("V"));
    place("/OLD", source);
    place("/NEW", source);
    place("/EMPTY", treeOf("G"));
    place("/STAY", treeOf("STAY"));
    // Long contents by their size and a hash, so that a failure reads.
    auto const shown = [](std::map<std::string, std::string> tree) {
      for (auto& item : tree)
        if (item.second.size() > 16)
          item.second = std::to_string(item.second.size()) + " bytes #" +
                        std::to_string(std::hash<std::string>()(item.second));
      return tree;
    };
    EXPECT_EQ(shown(expected), shown(Support::TreeOf(volume))) << volume;
    if (volume == card) {
      ASSERT_TRUE(Support::CFatMount::Unmount(card));
      ASSERT_TRUE(Support::CFatMount::Mount(image, card));
      EXPECT_EQ(shown(expected), shown(Support::TreeOf(volume))) << "after a remount";
    }
  }
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
}

// A folder moved entry by entry that cannot be moved whole goes back as it
// was: on ext4 a locked subfolder stops it, on the card the last free cluster
// is taken by the new folder before its subfolder needs one.
TEST(FatVolume, AFolderMovedByEntriesThatFailsHalfwayIsPutBack) {
  Support::CPrivateTempDir dir;
  std::string const card = dir / "card", local = dir / "local", image = dir / "fat.img";
  ASSERT_EQ(0, ::mkdir(local.c_str(), 0755));
  Support::CFatMount const fat(image, card);
  auto const makeTree = [](std::string const& from) {
    bool ok = ::mkdir(from.c_str(), 0755) == 0;
    for (std::string const name : {"A", "B", "C", "D"})
      ok = ok && WriteBytes(from + "/" + name + ".VQD", name) &&
           ::mkdir((from + "/" + name + "DIR").c_str(), 0755) == 0 &&
           WriteBytes(from + "/" + name + "DIR/F.VQD", name);
    return ok;
  };

  ASSERT_TRUE(makeTree(local + "/FROM"));
  ASSERT_EQ(0, ::mkdir((local + "/FROM/CDIR/LOCKED").c_str(), 0755));
  auto const before = Support::TreeOf(local + "/FROM");
  {
    Support::CImmutable const locked(local + "/FROM/CDIR/LOCKED");
    if (locked.IsSet()) {
      EXPECT_EQ(EPERM, GT::Posix::MoveFolderByEntries(local + "/FROM", local + "/TO"));
      EXPECT_EQ(before, Support::TreeOf(local + "/FROM"));
      EXPECT_FALSE(Support::Exists(local + "/TO"));
    }
  }
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
  ASSERT_TRUE(makeTree(card + "/FROM"));
  auto const tree = Support::TreeOf(card + "/FROM");
  struct statvfs fs;
  ASSERT_EQ(0, ::statvfs(card.c_str(), &fs));
  unsigned long const cluster = 2048;  // mkfs.vfat's choice for a 16 MiB FAT16 image
  ASSERT_TRUE(WriteBytes(card + "/FILL", std::string(fs.f_bavail * fs.f_frsize - cluster, '\0')));
  ASSERT_EQ(0, ::statvfs(card.c_str(), &fs));
  ASSERT_EQ(cluster, fs.f_bavail * fs.f_frsize) << "one free cluster";
  FSRef const from{card + "/FROM"}, top{card};
  // (The driver says EPERM where it means a full volume.)
  EXPECT_NE(GT::nFsNoErr, FSMoveRenameObjectUnicode(&from, &top, "TO", nullptr));
  for (char const* when : {"at once", "after a remount"}) {
    EXPECT_EQ(tree, Support::TreeOf(card + "/FROM")) << when;
    EXPECT_EQ((std::set<std::string>{"FROM", "FILL"}), Support::FolderNames(card)) << when;
    ASSERT_TRUE(Support::CFatMount::Unmount(card) && Support::CFatMount::Mount(image, card));
  }
}
}  // namespace
