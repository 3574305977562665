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
#include <iterator>
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
      // A copy of a folder moved into place is refused there, leaving nothing; one
      // made in place is not.
      {"CopyDirectory", [&] { return !GT::CopyDirectory(dir / "tree", card + "/TREE"); }, ""},
      {"FSCopyObject of a folder",
       [&] {
         return FSCopyObject(&tree, &volume, 0, 0, nDupeStandard, "TREE", 0, 0, nullptr, nullptr,
                             nullptr, nullptr) == GT::nFsNoErr;
       },
       "TREE"},
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
    if (*c.made) made.insert(c.made);
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
        {"FSMoveRenameObjectUnicode of a folder",  // which the card's driver would empty
         [&] {
           FSRef const d{volume + "/DIR"};
           return FSMoveRenameObjectUnicode(&d, &folder, "NEWDIR", nullptr);
         },
         volume == card ? GT::nFsBadName : GT::nFsNoErr},
        {"FSMoveRenameObjectUnicode onto an existing name",
         [&] {
           FSRef const b{volume + "/B.VQD"};
           return FSMoveRenameObjectUnicode(&b, &folder, "KEEP.VQD", nullptr);
         },
         GT::nFsDuplicateName},
    };
    for (auto const& c : cases) EXPECT_EQ(c.result, c.call()) << c.what << " in " << volume;
    EXPECT_EQ(
        (std::set<std::string>{"OLD.VQD", "B.VQD", "KEEP.VQD", volume == card ? "DIR" : "NEWDIR"}),
        Support::FolderNames(volume))
        << volume;
    EXPECT_TRUE(data == ReadBytes(volume + "/OLD.VQD")) << volume;
    EXPECT_EQ("a", ReadBytes(volume + "/B.VQD")) << volume;
    EXPECT_EQ("keep", ReadBytes(volume + "/KEEP.VQD")) << volume;
  }
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
}

using CTree = std::map<std::string, std::string>;

bool Below(std::string const& item, std::string const& folder) {
  return item == folder || item.compare(0, folder.size() + 1, folder + "/") == 0;
}

// The tree with what lay at `from` moved to `to`, in place of what was there.
CTree Moved(CTree const& tree, std::string const& from, std::string const& to) {
  CTree kept, moved;
  for (auto const& item : tree)
    if (Below(item.first, from))
      moved[to + item.first.substr(from.size())] = item.second;
    else
      kept[item.first] = item.second;
  for (auto const& item : moved) kept[item.first] = item.second;
  return kept;
}

// The tree with a copy of the folder `copy` at `at`, in place of what was there.
CTree Placed(CTree tree, std::string const& at, CTree const& copy) {
  for (auto item = tree.begin(); item != tree.end();)
    item = Below(item->first, at) ? tree.erase(item) : std::next(item);
  tree[at] = "/";
  for (auto const& item : copy) tree[at + item.first] = item.second;
  return tree;
}

// What differs between two trees, entry by entry ("" when alike), long
// contents by their size, so that a failure reads.
std::string Differences(CTree const& expected, CTree const& actual) {
  auto const shown = [](CTree const& tree, std::string const& item) {
    auto const at = tree.find(item);
    if (at == tree.end()) return std::string("(none)");
    return at->second.size() > 16 ? std::to_string(at->second.size()) + " bytes" : at->second;
  };
  CTree all = expected;
  all.insert(actual.begin(), actual.end());
  std::string differences;
  for (auto const& item : all) {
    auto const want = expected.find(item.first), got = actual.find(item.first);
    if (want == expected.end() || got == actual.end() || want->second != got->second)
      differences += item.first + ": " + shown(expected, item.first) + " expected, " +
                     shown(actual, item.first) + " found\n";
  }
  return differences;
}

// The card's FUSE driver empties a folder it renames, loses a folder or the
// data of a file renamed to another spelling of its name, and never sees a
// folder moved or copied into itself under another spelling: every call that
// would do so there fails with nothing changed, also after a remount, and
// leaves no copy of its own. Files move there as before. On ext4 the same
// calls move folders, and both volumes refuse a folder moved or copied into
// itself however the target is spelled.
TEST(FatVolume, FolderMovesAreRefusedOnTheCardWithNothingChanged) {
  Support::CPrivateTempDir dir;
  std::string const card = dir / "card", local = dir / "local", image = dir / "fat.img";
  ASSERT_TRUE(std::filesystem::create_directory(local));
  Support::CFatMount const fat(image, card);
  // Each case starts from this tree, in a folder of its own.
  auto const makeTree = [](std::string const& root) {
    return ::mkdir(root.c_str(), 0755) == 0 && ::mkdir((root + "/S").c_str(), 0755) == 0 &&
           WriteBytes(root + "/S/A.VQD", "a") &&
           WriteBytes(root + "/S/B.VQD", Support::PatternBytes(9000)) &&
           ::mkdir((root + "/S/SUB").c_str(), 0755) == 0 &&
           WriteBytes(root + "/S/SUB/C.VQD", "c") &&
           ::mkdir((root + "/empty").c_str(), 0755) == 0 && WriteBytes(root + "/F.VQD", "f");
  };
  ASSERT_TRUE(makeTree(dir / "start"));
  CTree const start = Support::TreeOf(dir / "start");
  std::string const copied = dir / "copied";  // the source of the copies
  ASSERT_TRUE(::mkdir(copied.c_str(), 0755) == 0 && WriteBytes(copied + "/N.VQD", "n") &&
              ::mkdir((copied + "/NSUB").c_str(), 0755) == 0 &&
              WriteBytes(copied + "/NSUB/D.VQD", Support::PatternBytes(5000)));
  CTree const copy = Support::TreeOf(copied);
  FSRef const copiedRef{copied};
  auto const done = [](bool ok) { return ok ? 0 : -1; };

  struct {
    char const* what;
    std::function<int(std::string const&)> call;  // 0, an errno or a result code; -1 for false
    int onExt4, onCard;
    std::function<CTree(CTree const&)> moves;  // what a call that succeeds does
  } const cases[] = {
      {"GT::Rename of a folder to another letter case",
       [&](std::string const& r) { return done(GT::Rename(r + "/empty", r + "/EMPTY")); }, 0, -1,
       [](CTree const& t) { return Moved(t, "/empty", "/EMPTY"); }},
      {"Posix::Rename into itself, named with a trailing slash",
       [](std::string const& r) { return GT::Posix::Rename(r + "/S", r + "/S/SUB/U/"); }, EINVAL,
       EINVAL, nullptr},
      {"Posix::RenameNoReplace into itself, named with a trailing slash",
       [](std::string const& r) { return GT::Posix::RenameNoReplace(r + "/S", r + "/S/SUB/U//"); },
       EINVAL, EINVAL, nullptr},
      {"Posix::Rename into itself through '..'",
       [](std::string const& r) { return GT::Posix::Rename(r + "/S", r + "/S/SUB/../SUB/U"); },
       EINVAL, EINVAL, nullptr},
      {"FSMoveRenameObjectUnicode into itself in another letter case",
       [](std::string const& r) {
         FSRef const s{r + "/S"}, sub{r + "/s/SUB"};
         return static_cast<int>(FSMoveRenameObjectUnicode(&s, &sub, "X", nullptr));
       },
       GT::nFsFileNotFound, GT::nFsBadName, nullptr},
      {"FSMoveRenameObjectUnicode in its folder",
       [](std::string const& r) {
         FSRef const s{r + "/S"}, top{r};
         return static_cast<int>(FSMoveRenameObjectUnicode(&s, &top, "T", nullptr));
       },
       0, GT::nFsBadName, [](CTree const& t) { return Moved(t, "/S", "/T"); }},
      {"FSMoveRenameObjectUnicode into another folder",
       [](std::string const& r) {
         FSRef const s{r + "/S"}, into{r + "/empty"};
         return static_cast<int>(FSMoveRenameObjectUnicode(&s, &into, "M", nullptr));
       },
       0, GT::nFsBadName, [](CTree const& t) { return Moved(t, "/S", "/empty/M"); }},
      {"GT::Rename onto an empty folder",
       [&](std::string const& r) { return done(GT::Rename(r + "/S", r + "/empty")); }, 0, -1,
       [](CTree const& t) { return Moved(t, "/S", "/empty"); }},
      {"VQ7::Move of a folder",
       [&](std::string const& r) { return done(VQ7::Move(r + "/S", r + "/empty/V")); }, 0, -1,
       [](CTree const& t) { return Moved(t, "/S", "/empty/V"); }},
      {"FSCopyObject replacing a folder",
       [&](std::string const& r) {
         FSRef const top{r};
         return static_cast<int>(FSCopyObject(&copiedRef, &top, 0, 0, nDupeReplace, "S", 0, 0,
                                              nullptr, nullptr, nullptr, nullptr));
       },
       0, GT::nFsBadName, [&](CTree const& t) { return Placed(t, "/S", copy); }},
      {"CopyDirectory new",
       [&](std::string const& r) { return done(GT::CopyDirectory(copied, r + "/NEW")); }, 0, -1,
       [&](CTree const& t) { return Placed(t, "/NEW", copy); }},
      {"CopyDirectory replacing",
       [&](std::string const& r) { return done(GT::CopyDirectory(copied, r + "/S")); }, 0, -1,
       [&](CTree const& t) { return Placed(t, "/S", copy); }},
      {"FSCopyObject of a new folder, made in place",
       [&](std::string const& r) {
         FSRef const top{r};
         return static_cast<int>(FSCopyObject(&copiedRef, &top, 0, 0, nDupeStandard, "NEW", 0, 0,
                                              nullptr, nullptr, nullptr, nullptr));
       },
       0, 0, [&](CTree const& t) { return Placed(t, "/NEW", copy); }},
      {"FSMoveRenameObjectUnicode of a file",
       [](std::string const& r) {
         FSRef const f{r + "/F.VQD"}, into{r + "/S/SUB"};
         return static_cast<int>(FSMoveRenameObjectUnicode(&f, &into, "G.VQD", nullptr));
       },
       0, 0, [](CTree const& t) { return Moved(t, "/F.VQD", "/S/SUB/G.VQD"); }},
      {"GT::Rename of a file to another letter case",
       [&](std::string const& r) { return done(GT::Rename(r + "/F.VQD", r + "/f.vqd")); }, 0, -1,
       [](CTree const& t) { return Moved(t, "/F.VQD", "/f.vqd"); }},
      {"FSCopyObject of a folder into itself in another letter case",
       [](std::string const& r) {
         FSRef const s{r + "/S"}, sub{r + "/s/SUB"};
         return static_cast<int>(FSCopyObject(&s, &sub, 0, 0, nDupeStandard, "X", 0, 0, nullptr,
                                              nullptr, nullptr, nullptr));
       },
       GT::nFsFileNotFound, GT::nFsCopyIntoItself, nullptr},
      {"CopyDirectory into itself in another letter case",
       [&](std::string const& r) { return done(GT::CopyDirectory(r + "/S", r + "/s/SUB/X")); }, -1,
       -1, nullptr},
      {"GT::Rename of a file onto a file",
       [&](std::string const& r) { return done(GT::Rename(r + "/F.VQD", r + "/S/A.VQD")); }, 0, 0,
       [](CTree const& t) { return Moved(t, "/F.VQD", "/S/A.VQD"); }},
      {"VQ7::Move of a file",
       [&](std::string const& r) { return done(VQ7::Move(r + "/F.VQD", r + "/empty/F.VQD")); }, 0,
       0, [](CTree const& t) { return Moved(t, "/F.VQD", "/empty/F.VQD"); }},
      {"FSMoveRenameObjectUnicode onto a folder",
       [](std::string const& r) {
         FSRef const s{r + "/S"}, top{r};
         return static_cast<int>(FSMoveRenameObjectUnicode(&s, &top, "empty", nullptr));
       },
       GT::nFsDuplicateName, GT::nFsBadName, nullptr},
      {"GT::Rename onto a folder that is not empty",
       [&](std::string const& r) { return done(GT::Rename(r + "/empty", r + "/S")); }, -1, -1,
       nullptr},
  };

  for (std::string const& volume : {local, card}) {
    if (volume == card && !fat.IsMounted()) continue;
    bool const onCard = volume == card;
    EXPECT_EQ(onCard, GT::Posix::EmptiesMovedFolders(volume));
    CTree expected;
    int n = 0;
    for (auto const& c : cases) {
      std::string const root = "/C" + std::to_string(n++);
      ASSERT_TRUE(makeTree(volume + root)) << c.what;
      int const result = onCard ? c.onCard : c.onExt4;
      EXPECT_EQ(result, c.call(volume + root)) << c.what << " in " << volume;
      expected = Placed(expected, root, result == 0 && c.moves ? c.moves(start) : start);
    }
    EXPECT_EQ("", Differences(expected, Support::TreeOf(volume))) << volume;
    if (onCard) {
      ASSERT_TRUE(Support::CFatMount::Unmount(card));
      ASSERT_TRUE(Support::CFatMount::Mount(image, card));
      EXPECT_EQ("", Differences(expected, Support::TreeOf(volume))) << "after a remount";
    }
  }
  if (!fat.IsMounted()) GTEST_SKIP() << fat.WhyNot();
}

// A folder move that fails changes nothing: on ext4 an immutable folder
// refuses to move; on a full card the move is refused before anything is made.
TEST(FatVolume, AFolderMoveThatFailsChangesNothing) {
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
  auto const before = Support::TreeOf(local + "/FROM");
  {
    Support::CImmutable const locked(local + "/FROM");
    if (locked.IsSet()) {
      FSRef const from{local + "/FROM"}, top{local};
      EXPECT_EQ(GT::nFsAccessDenied, FSMoveRenameObjectUnicode(&from, &top, "TO", nullptr));
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
  EXPECT_EQ(GT::nFsBadName, FSMoveRenameObjectUnicode(&from, &top, "TO", nullptr));
  for (char const* when : {"at once", "after a remount"}) {
    EXPECT_EQ(tree, Support::TreeOf(card + "/FROM")) << when;
    EXPECT_EQ((std::set<std::string>{"FROM", "FILL"}), Support::FolderNames(card)) << when;
    ASSERT_TRUE(Support::CFatMount::Unmount(card) && Support::CFatMount::Mount(image, card));
  }
}
}  // namespace
