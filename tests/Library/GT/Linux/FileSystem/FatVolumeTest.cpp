#include "GT/Com/FileSystem/FileReplacement.h"
#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"
#include "Support/FatImage.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <set>
#include <sys/stat.h>

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
  // (The FUSE driver itself loses the contents of a folder moved to another
  // folder, as the finished copy of a tree is: only the tree's top is checked.)
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

}  // namespace
