#include "GT/Linux/FileSystem/FileManagerRoutines.h"

#include "Support/FileBytes.h"
#include "Support/PrivateMount.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace GT;
using Support::Exists;
using Support::ModeOf;
using Support::ReadBytes;
using Support::WriteBytes;

class FileManager : public ::testing::Test {
protected:
  Support::CPrivateTempDir mDir;
  std::string P(std::string const& name) const { return mDir / name; }
  static std::set<std::string> Names(std::string const& folder) {
    std::vector<FSRef> refs;
    ItemCount count = 0;
    Boolean changed = 0;
    FSRef const ref{folder};
    std::set<std::string> names;
    if (FSGetDirectoryItems(&ref, &refs, &count, &changed) == nFsNoErr)
      for (FSRef const& r : refs) names.insert(r.path.substr(r.path.rfind('/') + 1));
    return names;
  }
  // a/, a/one.txt, a/ro/ (read-only) with a/ro/two.bin, a/sub/deeper/three, a/link -> one.txt
  void MakeTree(std::string const& root) {
    ASSERT_EQ(0, ::mkdir(root.c_str(), 0755));
    ASSERT_TRUE(WriteBytes(root + "/one.txt", "first"));
    ASSERT_EQ(0, ::mkdir((root + "/ro").c_str(), 0755));
    ASSERT_TRUE(WriteBytes(root + "/ro/two.bin", Support::PatternBytes(70000)));
    ASSERT_EQ(0, ::chmod((root + "/ro/two.bin").c_str(), 0444));
    ASSERT_EQ(0, ::chmod((root + "/ro").c_str(), 0555));
    ASSERT_EQ(0, ::mkdir((root + "/sub").c_str(), 0700));
    ASSERT_EQ(0, ::mkdir((root + "/sub/deeper").c_str(), 0750));
    ASSERT_TRUE(WriteBytes(root + "/sub/deeper/three", ""));
    ASSERT_EQ(0, ::symlink("one.txt", (root + "/link").c_str()));
  }
};

TEST_F(FileManager, VolumeParametersAndCopyBufferRule) {
  GetVolParmsInfoBuffer parms;
  std::memset(&parms, 0x5A, sizeof parms);
  uint32_t actual = 7;
  FSRef const folder{mDir.Path()};
  int16_t volume = 0;
  ASSERT_EQ(nFsNoErr, FSGetVRefNum(&folder, &volume));
  EXPECT_EQ(nFsParameterError, FSGetVolParms(volume, sizeof parms, nullptr, &actual));
  EXPECT_EQ(nFsParameterError, FSGetVolParms(volume, sizeof parms, &parms, nullptr));
  EXPECT_EQ(7u, actual);
  EXPECT_EQ(0x5A5A, static_cast<uint16_t>(parms.vMVersion));  // nothing written

  ASSERT_EQ(nFsNoErr, FSGetVolParms(volume, sizeof parms, &parms, &actual));
  EXPECT_EQ(32u, actual);
  EXPECT_GE(parms.vMVersion, 3);
  EXPECT_GT(parms.vMMaxNameLength, 0u);
  EXPECT_EQ(nFsNoErr, FSGetVolParms(volume, 10, &parms, &actual));
  EXPECT_EQ(10u, actual);
  EXPECT_EQ(nFsNoSuchVolume, FSGetVolParms(12345, sizeof parms, &parms, &actual));
  int16_t again = 0;
  FSRef const file{mDir.Path() + "/."};
  ASSERT_EQ(nFsNoErr, FSGetVRefNum(&file, &again));
  EXPECT_EQ(volume, again);
  EXPECT_EQ(nFsParameterError, FSGetVRefNum(&file, nullptr));
  FSRef const missing{P("missing")};
  EXPECT_EQ(nFsFileNotFound, FSGetVRefNum(&missing, &again));

  GetVolParmsInfoBuffer graded{};
  graded.vMVolumeGrade = -8388608;
  EXPECT_EQ(2097152u, CopyBufferSizeOf(graded, 32));
  graded.vMVolumeGrade = -1000;
  EXPECT_EQ(1024u, CopyBufferSizeOf(graded, 32));
  graded.vMVolumeGrade = -0x7FFFFFFF - 1;
  EXPECT_EQ(0x200000u, CopyBufferSizeOf(graded, 32));
  graded.vMVolumeGrade = -40960;
  EXPECT_EQ(10240u, CopyBufferSizeOf(graded, 18));
  EXPECT_EQ(262144u, CopyBufferSizeOf(graded, 17));  // grade not delivered
  graded.vMVolumeGrade = 0;
  EXPECT_EQ(262144u, CopyBufferSizeOf(graded, 32));
}

TEST_F(FileManager, SpecsReferencesAndPathsRoundTrip) {
  ASSERT_TRUE(WriteBytes(P("file name.txt"), "x"));
  FSSpec spec;
  Boolean isFolder = 7;
  ASSERT_EQ(nFsNoErr, FSPathMakeFSSpec(P("file name.txt").c_str(), &spec, &isFolder));
  EXPECT_EQ(0, isFolder);
  EXPECT_EQ(std::string("file name.txt"),
            std::string(reinterpret_cast<char*>(spec.name + 1), spec.name[0]));

  FSRef ref;
  ASSERT_EQ(nFsNoErr, FSMakeFSRef(spec.vRefNum, spec.parID, spec.name, &ref));
  EXPECT_EQ(P("file name.txt"), ref.path);
  FSRef folder;
  ASSERT_EQ(nFsNoErr, FSMakeFSRef(spec.vRefNum, spec.parID, nullptr, &folder));
  EXPECT_EQ(mDir.Path(), folder.path);
  char path[4096];
  ASSERT_EQ(nFsNoErr, FSMakePath(spec.vRefNum, spec.parID, spec.name, path, sizeof path));
  EXPECT_EQ(P("file name.txt"), path);
  EXPECT_NE(nFsNoErr, FSMakePath(spec.vRefNum, spec.parID, spec.name, path, 4));
  EXPECT_EQ(nFsParameterError, FSMakePath(spec.vRefNum, spec.parID, spec.name, nullptr, 10));

  unsigned char const absent[] =
      "\x06"
      "absent";
  EXPECT_EQ(nFsFileNotFound, FSMakeFSRef(spec.vRefNum, spec.parID, absent, &ref));
  unsigned char const sneaky[] =
      "\x05"
      "../..";
  EXPECT_EQ(nFsBadName, FSMakeFSRef(spec.vRefNum, spec.parID, sneaky, &ref));
  EXPECT_EQ(nFsParameterError, FSMakeFSRef(spec.vRefNum, spec.parID, spec.name, nullptr));
  EXPECT_EQ(nFsDirectoryNotFound, FSMakeFSRef(spec.vRefNum, 999999, spec.name, &ref));
  EXPECT_EQ(nFsParameterError, FSPathMakeFSSpec(P("file name.txt").c_str(), nullptr, nullptr));
  EXPECT_EQ(nFsFileNotFound, FSPathMakeFSSpec(P("nothing").c_str(), &spec, nullptr));

  ASSERT_EQ(nFsNoErr, FSPathMakeFSSpec(mDir.Path().c_str(), &spec, &isFolder));
  EXPECT_EQ(1, isFolder);
  FSSpec viaRef;
  FSRef const folderRef{mDir.Path()};
  ASSERT_EQ(nFsNoErr, FSRefMakeFSSpec(&folderRef, &viaRef));
  EXPECT_EQ(spec.parID, viaRef.parID);
}

TEST_F(FileManager, DirectoryItemsListEveryEntryOrFailCleanly) {
  ASSERT_TRUE(WriteBytes(P("a"), "1"));
  ASSERT_TRUE(WriteBytes(P(".hidden"), "2"));
  ASSERT_EQ(0, ::mkdir(P("sub").c_str(), 0755));
  EXPECT_EQ((std::set<std::string>{"a", ".hidden", "sub"}), Names(mDir.Path()));

  std::vector<FSRef> refs{FSRef{"stale"}};
  ItemCount count = 9;
  Boolean changed = 1;
  FSRef const file{P("a")};
  EXPECT_EQ(nFsNotAFolder, FSGetDirectoryItems(&file, &refs, &count, &changed));
  EXPECT_TRUE(refs.empty());
  EXPECT_EQ(0u, count);
  FSRef const missing{P("missing")};
  EXPECT_EQ(nFsFileNotFound, FSGetDirectoryItems(&missing, &refs, &count, &changed));
  EXPECT_EQ(nFsParameterError, FSGetDirectoryItems(&missing, nullptr, &count, &changed));
}

TEST_F(FileManager, DeleteObjectsRemovesLockedTrees) {
  MakeTree(P("tree"));
  ASSERT_EQ(0, ::chmod(P("tree").c_str(), 0555));
  FSRef const tree{P("tree")};
  EXPECT_EQ(nFsNoErr, FSDeleteObjects(&tree));
  EXPECT_FALSE(Exists(P("tree")));
  EXPECT_EQ(nFsFileNotFound, FSDeleteObjects(&tree));
  EXPECT_EQ(nFsParameterError, FSDeleteObjects(nullptr));

  ASSERT_TRUE(WriteBytes(P("target"), "keep"));
  ASSERT_EQ(0, ::symlink("target", P("link").c_str()));
  FSRef const link{P("link")};
  EXPECT_EQ(nFsNoErr, FSDeleteObjects(&link));
  EXPECT_EQ("keep", ReadBytes(P("target")));  // the link goes, never what it points to

  // Nor with a "/" after the link's name, which would name the folder it leads to.
  ASSERT_EQ(0, ::mkdir(P("outside").c_str(), 0755));
  ASSERT_TRUE(WriteBytes(P("outside/f"), "keep"));
  for (auto remove : {FSDeleteObjects, FSDeleteContainerContents, FSDeleteContainer}) {
    ::symlink("outside", P("dirlink").c_str());
    FSRef const slashed{P("dirlink//")};
    remove(&slashed);
    EXPECT_EQ("keep", ReadBytes(P("outside/f")));
  }
}

// In each round, treeN/d and outside hold files of the same names, and spareN/d is a link
// that leads to outside from either folder; a thread keeps swapping treeN/d and spareN/d
// while treeN is deleted. A walk that follows the link at any point deletes outside files.
TEST_F(FileManager, DeleteNeverLeavesTheTreeForAFolderSwappedWithALink) {
  int const rounds = 24, files = 150;
  ASSERT_EQ(0, ::mkdir(P("outside").c_str(), 0755));
  for (int f = 0; f < files; ++f) ASSERT_TRUE(WriteBytes(P("outside/f" + std::to_string(f)), ""));
  std::vector<std::pair<std::string, std::string> > pairs;
  for (int r = 0; r < rounds; ++r)
    pairs.emplace_back(P("tree" + std::to_string(r) + "/d"), P("spare" + std::to_string(r) + "/d"));
  std::atomic<int> round(-1);
  std::atomic<bool> done(false);
  std::atomic<long> swaps(0);
  std::thread swapper([&] {
    while (!done) {
      int const r = round;
      if (r >= 0 && ::renameat2(AT_FDCWD, pairs[r].first.c_str(), AT_FDCWD, pairs[r].second.c_str(),
                                RENAME_EXCHANGE) == 0)
        ++swaps;
    }
  });
  for (int r = 0; r < rounds && Names(P("outside")).size() == static_cast<std::size_t>(files);
       ++r) {
    std::string const tree = P("tree" + std::to_string(r)), spare = P("spare" + std::to_string(r));
    ASSERT_EQ(0, ::mkdir(tree.c_str(), 0755));
    ASSERT_EQ(0, ::mkdir((tree + "/d").c_str(), 0755));
    ASSERT_EQ(0, ::mkdir(spare.c_str(), 0755));
    for (int f = 0; f < files; ++f) ASSERT_TRUE(WriteBytes(tree + "/d/f" + std::to_string(f), ""));
    ASSERT_EQ(0, ::symlink("../outside", (spare + "/d").c_str()));
    long const before = swaps;
    round = r;
    while (swaps < before + 50) std::this_thread::yield();
    FSRef const ref{tree};
    FSDeleteObjects(&ref);  // may well fail: what matters is where it deleted
  }
  done = true;
  swapper.join();
  EXPECT_EQ(static_cast<std::size_t>(files), Names(P("outside")).size());
}

TEST_F(FileManager, CopyObjectCopiesFilesWithAttributes) {
  ASSERT_EQ(0, ::mkdir(P("dest").c_str(), 0755));
  std::string const data = Support::PatternBytes(300000);
  ASSERT_TRUE(WriteBytes(P("src.bin"), data));
  ASSERT_EQ(0, ::chmod(P("src.bin").c_str(), 0640));
  struct timespec const times[2] = {{1000000000, 0}, {1200000000, 500}};
  ASSERT_EQ(0, ::utimensat(AT_FDCWD, P("src.bin").c_str(), times, 0));
  bool const xattrs = ::setxattr(P("src.bin").c_str(), "user.vq7", "tag", 3, 0) == 0;

  FSRef const source{P("src.bin")};
  FSRef const dest{P("dest")};
  FSRef made;
  FSSpec spec;
  ASSERT_EQ(nFsNoErr, FSCopyObject(&source, &dest, 0, 0, nDupeStandard, nullptr, 1, 0, nullptr,
                                   nullptr, &made, &spec));
  EXPECT_EQ(P("dest/src.bin"), made.path);
  EXPECT_EQ(data, ReadBytes(made.path));
  EXPECT_EQ(0640u, ModeOf(made.path));
  struct stat st;
  ASSERT_EQ(0, ::stat(made.path.c_str(), &st));
  EXPECT_EQ(1200000000, st.st_mtim.tv_sec);
  if (xattrs) {
    char value[8] = {0};
    EXPECT_EQ(3, ::getxattr(made.path.c_str(), "user.vq7", value, sizeof value));
    EXPECT_STREQ("tag", value);
  }
  EXPECT_EQ(std::string("src.bin"),
            std::string(reinterpret_cast<char*>(spec.name + 1), spec.name[0]));

  // Standard action onto an existing name fails and leaves it alone.
  ASSERT_TRUE(WriteBytes(P("dest/other"), "old"));
  EXPECT_EQ(nFsDuplicateName, FSCopyObject(&source, &dest, 0, 0, nDupeStandard, "other", 0, 0,
                                           nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ("old", ReadBytes(P("dest/other")));

  // Unique names: "name N.ext", blank and digit before the last point.
  FSRef const txt{P("src.bin")};
  ASSERT_EQ(nFsNoErr, FSCopyObject(&txt, &dest, 0, 0, nDupeRename, nullptr, 0, 0, nullptr, nullptr,
                                   &made, nullptr));
  EXPECT_EQ(P("dest/src 1.bin"), made.path);
  ASSERT_EQ(nFsNoErr, FSCopyObject(&txt, &dest, 0, 0, nDupeRename, nullptr, 0, 0, nullptr, nullptr,
                                   &made, nullptr));
  EXPECT_EQ(P("dest/src 2.bin"), made.path);
  ASSERT_EQ(nFsNoErr, FSCopyObject(&txt, &dest, 0, 0, nDupeRename, "other", 0, 0, nullptr, nullptr,
                                   &made, nullptr));
  EXPECT_EQ(P("dest/other 1"), made.path);

  FSRef const notFolder{P("src.bin")};
  EXPECT_EQ(nFsNotAFolder, FSCopyObject(&source, &notFolder, 0, 0, nDupeStandard, nullptr, 0, 0,
                                        nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(nFsParameterError, FSCopyObject(nullptr, &dest, 0, 0, nDupeStandard, nullptr, 0, 0,
                                            nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(nFsBadName, FSCopyObject(&source, &dest, 0, 0, nDupeStandard, "a/b", 0, 0, nullptr,
                                     nullptr, nullptr, nullptr));
}

OSErr RefuseTop(Boolean, ItemCount level, OSErr error, struct stat const*, FSRef const*,
                FSSpec const*, std::string const*, void*) {
  return level == 0 && error == nFsNoErr ? OSErr(-1) : error;
}

OSErr SeeOld(Boolean, ItemCount, OSErr error, struct stat const*, FSRef const*, FSSpec const*,
             std::string const*, void* data) {
  auto* seen = static_cast<std::pair<std::string, bool>*>(data);
  seen->second = seen->second && ReadBytes(seen->first) == "old contents";
  return error;
}

TEST_F(FileManager, ReplacingKeepsTheOldObjectUntilTheCopySucceeded) {
  ASSERT_EQ(0, ::mkdir(P("dest").c_str(), 0755));
  ASSERT_TRUE(WriteBytes(P("new"), "new contents"));
  ASSERT_TRUE(WriteBytes(P("dest/new"), "old contents"));
  ASSERT_TRUE(WriteBytes(P("dest/.DeleteMe"), "someone else's"));
  FSRef const source{P("new")};
  FSRef const dest{P("dest")};

  EXPECT_EQ(-1, FSCopyObject(&source, &dest, 0, 0, nDupeReplace, nullptr, 0, 0, RefuseTop, nullptr,
                             nullptr, nullptr));
  EXPECT_EQ("old contents", ReadBytes(P("dest/new")));
  EXPECT_EQ("someone else's", ReadBytes(P("dest/.DeleteMe")));
  EXPECT_EQ((std::set<std::string>{"new", ".DeleteMe"}), Names(P("dest")));

  // The old object keeps its place while the copy is made, should the copy be interrupted.
  std::pair<std::string, bool> oldInPlace(P("dest/new"), true);
  EXPECT_EQ(nFsNoErr, FSCopyObject(&source, &dest, 0, 0, nDupeReplace, nullptr, 0, 0, SeeOld,
                                   &oldInPlace, nullptr, nullptr));
  EXPECT_TRUE(oldInPlace.second);
  EXPECT_EQ("new contents", ReadBytes(P("dest/new")));
  EXPECT_EQ("someone else's", ReadBytes(P("dest/.DeleteMe")));
  EXPECT_EQ((std::set<std::string>{"new", ".DeleteMe"}), Names(P("dest")));

  // A folder replaces a file of the same name the same way.
  MakeTree(P("tree"));
  ASSERT_TRUE(WriteBytes(P("dest/tree"), "a file"));
  FSRef const tree{P("tree")};
  EXPECT_EQ(nFsNoErr, FSCopyObject(&tree, &dest, 0, 0, nDupeReplace, nullptr, 0, 0, nullptr,
                                   nullptr, nullptr, nullptr));
  EXPECT_EQ("first", ReadBytes(P("dest/tree/one.txt")));
}

struct CSeen {
  std::vector<std::pair<ItemCount, std::string> > items;
  std::string refuse;
};

OSErr Record(Boolean, ItemCount level, OSErr error, struct stat const*, FSRef const*, FSSpec const*,
             std::string const* name, void* data) {
  CSeen* seen = static_cast<CSeen*>(data);
  seen->items.push_back(std::make_pair(level, name ? *name : std::string("?")));
  if (name && *name == seen->refuse) return -7;
  return error;
}

TEST_F(FileManager, CopyObjectCopiesFolderTrees) {
  MakeTree(P("a"));
  ASSERT_EQ(0, ::mkdir(P("dest").c_str(), 0755));
  FSRef const source{P("a")};
  FSRef const dest{P("dest")};
  CSeen seen;
  FSRef made;
  ASSERT_EQ(nFsNoErr, FSCopyObject(&source, &dest, 0, 0, nDupeStandard, "copy", 0, 1, Record, &seen,
                                   &made, nullptr));
  EXPECT_EQ(P("dest/copy"), made.path);
  EXPECT_EQ("first", ReadBytes(P("dest/copy/one.txt")));
  EXPECT_EQ(Support::PatternBytes(70000), ReadBytes(P("dest/copy/ro/two.bin")));
  EXPECT_EQ("", ReadBytes(P("dest/copy/sub/deeper/three")));
  EXPECT_TRUE(Exists(P("dest/copy/sub/deeper/three")));
  char link[64] = {0};
  EXPECT_EQ(7, ::readlink(P("dest/copy/link").c_str(), link, sizeof link));
  EXPECT_EQ(0555u, ModeOf(P("dest/copy/ro")));
  EXPECT_EQ(0444u, ModeOf(P("dest/copy/ro/two.bin")));
  EXPECT_EQ(0700u, ModeOf(P("dest/copy/sub")));
  EXPECT_EQ(0750u, ModeOf(P("dest/copy/sub/deeper")));
  std::set<std::pair<ItemCount, std::string> > const seenSet(seen.items.begin(), seen.items.end());
  EXPECT_EQ((std::set<std::pair<ItemCount, std::string> >{{0, "copy"},
                                                          {1, "one.txt"},
                                                          {1, "ro"},
                                                          {1, "sub"},
                                                          {1, "link"},
                                                          {2, "two.bin"},
                                                          {2, "deeper"},
                                                          {3, "three"}}),
            seenSet);
  EXPECT_EQ(std::make_pair(ItemCount(0), std::string("copy")), seen.items.front());

  // One level: the first level's folders are made but not entered.
  ASSERT_EQ(nFsNoErr, FSCopyObject(&source, &dest, 1, 0, nDupeStandard, "flat", 0, 0, nullptr,
                                   nullptr, nullptr, nullptr));
  EXPECT_TRUE(Exists(P("dest/flat/sub")));
  EXPECT_TRUE(Names(P("dest/flat/sub")).empty());
  EXPECT_TRUE(Names(P("dest/flat/ro")).empty());

  // A filter's refusal of a nested item ends the copy with its code.
  CSeen refusing;
  refusing.refuse = "deeper";
  EXPECT_EQ(-7, FSCopyObject(&source, &dest, 0, 0, nDupeStandard, "stopped", 0, 1, Record,
                             &refusing, nullptr, nullptr));
  EXPECT_FALSE(Exists(P("dest/stopped")));  // nothing of a failed copy stays
}

TEST_F(FileManager, FolderCannotBeCopiedIntoItself) {
  MakeTree(P("a"));
  FSRef const source{P("a")};
  FSRef const inner{P("a/sub/deeper")};
  FSRef const self{P("a")};
  EXPECT_EQ(nFsCopyIntoItself, FSCopyObject(&source, &inner, 0, 0, nDupeStandard, nullptr, 0, 0,
                                            nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(nFsCopyIntoItself, FSCopyObject(&source, &self, 0, 0, nDupeStandard, "again", 0, 0,
                                            nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ((std::set<std::string>{"three"}), Names(P("a/sub/deeper")));
  EXPECT_EQ((std::set<std::string>{"one.txt", "ro", "sub", "link"}), Names(P("a")));
}

TEST_F(FileManager, ObjectQueriesAndLocks) {
  ASSERT_TRUE(WriteBytes(P("f"), std::string(1000, 'x')));
  FSRef const file{P("f")};
  FSRef const folder{mDir.Path()};
  EXPECT_EQ(nFsNoErr, FSCheckLock(&file));
  ASSERT_EQ(0, ::chmod(P("f").c_str(), 0444));
  EXPECT_EQ(nFsFileLocked, FSCheckLock(&file));
  uint64_t data = 0, rsrc = 9;
  EXPECT_EQ(nFsNoErr, FSGetForkSizes(&file, &data, &rsrc));
  EXPECT_EQ(1000u, data);
  EXPECT_EQ(0u, rsrc);
  EXPECT_EQ(nFsNotAFile, FSGetForkSizes(&folder, &data, &rsrc));
  uint64_t logical = 0, physical = 0;
  EXPECT_EQ(nFsNoErr, FSGetTotalForkSizes(&file, &logical, &physical));
  EXPECT_EQ(1000u, logical);

  FSRef parent;
  EXPECT_EQ(nFsNoErr, FSGetParentRef(&file, &parent));
  EXPECT_EQ(mDir.Path(), parent.path);
  FSRef const root{"/"};
  EXPECT_EQ(nFsNoErr, FSGetParentRef(&root, &parent));
  EXPECT_TRUE(parent.path.empty());
  std::string name;
  EXPECT_EQ(nFsNoErr, FSGetFileDirName(&file, &name));
  EXPECT_EQ("f", name);
  uint64_t node = 0;
  Boolean isFolder = 1;
  EXPECT_EQ(nFsNoErr, FSGetNodeID(&file, &node, &isFolder));
  EXPECT_EQ(0, isFolder);
  EXPECT_NE(0u, node);
  EXPECT_TRUE(FSRefValid(&file));
  FSRef const gone{P("gone")};
  EXPECT_FALSE(FSRefValid(&gone));

  struct timespec const old[2] = {{5, 0}, {5, 0}};
  ASSERT_EQ(0, ::utimensat(AT_FDCWD, P("f").c_str(), old, 0));
  EXPECT_EQ(nFsNoErr, FSBumpDate(&file));
  struct stat st;
  ASSERT_EQ(0, ::stat(P("f").c_str(), &st));
  EXPECT_GT(st.st_mtim.tv_sec, 5);

  std::string volumeName;
  uint64_t freeBytes = 0, totalBytes = 0;
  int16_t volume = 0;
  ASSERT_EQ(nFsNoErr, FSGetVRefNum(&folder, &volume));
  EXPECT_EQ(nFsNoErr, FSGetVInfo(volume, &volumeName, &freeBytes, &totalBytes));
  EXPECT_GT(totalBytes, 0u);
  EXPECT_LE(freeBytes, totalBytes);
  uint32_t fsid = 0;
  EXPECT_EQ(nFsNoErr, FSGetVolFileSystemID(volume, &fsid, nullptr));
  std::vector<FSRef> volumes;
  ItemCount count = 0;
  EXPECT_EQ(nFsNoErr, FSGetMountedVolumes(&volumes, &count));
  EXPECT_EQ(count, volumes.size());
  EXPECT_NE(volumes.end(), std::find(volumes.begin(), volumes.end(), FSRef{"/"}));
}

TEST_F(FileManager, MovesExchangesAndUniqueNames) {
  ASSERT_EQ(0, ::mkdir(P("d").c_str(), 0755));
  ASSERT_TRUE(WriteBytes(P("a"), "AAA"));
  ASSERT_TRUE(WriteBytes(P("b"), "B"));
  ASSERT_TRUE(WriteBytes(P("d/taken"), "T"));
  FSRef const a{P("a")}, b{P("b")}, d{P("d")};
  FSRef na, nb;
  EXPECT_EQ(nFsNoErr, FSExchangeObjectsCompat(&a, &b, &na, &nb));
  EXPECT_EQ("B", ReadBytes(P("a")));
  EXPECT_EQ("AAA", ReadBytes(P("b")));
  EXPECT_EQ(nFsNotAFile, FSExchangeObjectsCompat(&a, &d, &na, &nb));

  FSRef moved;
  EXPECT_EQ(nFsDuplicateName, FSMoveRenameObjectUnicode(&a, &d, "taken", &moved));
  EXPECT_EQ("T", ReadBytes(P("d/taken")));
  EXPECT_EQ(nFsDirectoryNotFound, FSMoveRenameObjectUnicode(&a, &b, "x", &moved));
  EXPECT_EQ(nFsNoErr, FSMoveRenameObjectUnicode(&a, &d, "renamed", &moved));
  EXPECT_EQ(P("d/renamed"), moved.path);
  EXPECT_EQ("B", ReadBytes(P("d/renamed")));
  EXPECT_FALSE(Exists(P("a")));

  ASSERT_TRUE(WriteBytes(P("d/00000005"), ""));
  ASSERT_TRUE(WriteBytes(P("00000006"), ""));
  uint32_t seed = 5;
  std::string unique;
  FSRef const top{mDir.Path()};
  EXPECT_EQ(nFsNoErr, GenerateUniqueHFSUniStr(&seed, &d, &top, &unique));
  EXPECT_EQ("00000007", unique);
  EXPECT_EQ(8u, seed);
}

Boolean CountItems(Boolean, ItemCount level, struct stat const*, FSRef const*,
                   std::string const* name, void* data) {
  auto* seen = static_cast<std::set<std::pair<ItemCount, std::string> >*>(data);
  seen->insert(std::make_pair(level, *name));
  return *name == "stop" ? 1 : 0;
}

TEST_F(FileManager, ContainerWalksDeletesForksAndBuffers) {
  MakeTree(P("a"));
  FSRef const a{P("a")};
  std::set<std::pair<ItemCount, std::string> > seen;
  EXPECT_EQ(nFsNoErr, FSIterateContainer(&a, 1, CountItems, &seen));
  EXPECT_EQ((std::set<std::pair<ItemCount, std::string> >{
                {1, "one.txt"}, {1, "ro"}, {1, "sub"}, {1, "link"}}),
            seen);
  seen.clear();
  EXPECT_EQ(nFsNoErr, FSIterateContainer(&a, 0, CountItems, &seen));
  EXPECT_EQ(7u, seen.size());
  EXPECT_EQ(nFsParameterError, FSIterateContainer(&a, 0, nullptr, nullptr));

  FSRef const file{P("a/one.txt")};
  EXPECT_EQ(nFsDirectoryNotFound, FSDeleteContainer(&file));
  EXPECT_EQ(nFsNoErr, FSDeleteContainerContents(&a));
  EXPECT_TRUE(Names(P("a")).empty());
  EXPECT_EQ(nFsNoErr, FSDeleteContainer(&a));
  EXPECT_FALSE(Exists(P("a")));

  std::string const data = Support::PatternBytes(10000);
  ASSERT_TRUE(WriteBytes(P("in"), data));
  ASSERT_TRUE(WriteBytes(P("out"), std::string(20000, 'z')));
  int const in = ::open(P("in").c_str(), O_RDONLY);
  int const out = ::open(P("out").c_str(), O_RDWR);
  char buffer[5000];
  EXPECT_EQ(nFsParameterError, FSCopyFork(in, out, nullptr, 10));
  EXPECT_EQ(nFsParameterError, FSCopyFork(in, out, buffer, 0));
  EXPECT_EQ(nFsNoErr, FSCopyFork(in, out, buffer, sizeof buffer));
  FSRef fromFd;
  EXPECT_EQ(nFsNoErr, FileRefNumGetFSRef(out, &fromFd));
  EXPECT_EQ(P("out"), fromFd.path);
  ::close(in);
  ::close(out);
  EXPECT_EQ(data, ReadBytes(P("out")));
  EXPECT_NE(nFsNoErr, FileRefNumGetFSRef(-1, &fromFd));

  uint32_t size = 0;
  void* temp = GetTempBuffer(10000, &size);
  ASSERT_NE(nullptr, temp);
  EXPECT_EQ(8192u, size);
  DisposeTempBuffer(temp);
  temp = GetTempBuffer(100, &size);
  EXPECT_EQ(4096u, size);
  DisposeTempBuffer(temp);

  FSRef const folder{mDir.Path()};
  FSRef old;
  ASSERT_EQ(nFsNoErr, FSSetDefault(&folder, &old));
  EXPECT_EQ("data", std::string(ReadBytes("in").empty() ? "none" : "data"));
  EXPECT_EQ(nFsNoErr, FSRestoreDefault(&old));
  EXPECT_EQ(nFsDirectoryNotFound, FSSetDefault(&fromFd, &old));
}

TEST_F(FileManager, PermissionsAttributesRangeLocksAndNames) {
  ASSERT_TRUE(WriteBytes(P("f"), "x"));
  ASSERT_EQ(0, ::chmod(P("f").c_str(), 0444));
  struct timespec const when[2] = {{1300000000, 0}, {1300000000, 0}};
  ASSERT_EQ(0, ::utimensat(AT_FDCWD, P("f").c_str(), when, 0));
  FSRef const file{P("f")};
  uint8_t privileges = 0xFF;
  FSPermissionInfo info{};
  ASSERT_EQ(nFsNoErr, FSGetUserPrivilegesPermissions(&file, &privileges, &info));
  EXPECT_EQ(0444, info.mode);
  EXPECT_EQ(::geteuid(), info.userID);
  EXPECT_EQ(0, privileges & nPrivilegeNoRead);

  ASSERT_EQ(0, ::mkdir(P("d").c_str(), 0700));
  FSRef const folder{P("d")};
  ASSERT_EQ(nFsNoErr, FSSetDirAccess(&folder, FSPermissionInfo{info.userID, info.groupID, 0750}));
  FSPermissionInfo access{};
  ASSERT_EQ(nFsNoErr, FSGetDirAccess(&folder, &access));
  EXPECT_EQ(0750, access.mode);
  EXPECT_EQ(nFsDirectoryNotFound, FSGetDirAccess(&file, &access));

  ASSERT_TRUE(WriteBytes(P("g"), "y"));
  FSRef const other{P("g")};
  ASSERT_EQ(nFsNoErr, FSCopyFileMgrAttributes(&file, &other, 0));
  EXPECT_EQ(0644u, ModeOf(P("g")));  // the lock is not copied unless asked
  struct stat st;
  ASSERT_EQ(0, ::stat(P("g").c_str(), &st));
  EXPECT_EQ(1300000000, st.st_mtim.tv_sec);
  ASSERT_EQ(nFsNoErr, FSCopyFileMgrAttributes(&file, &other, 1));
  EXPECT_EQ(0444u, ModeOf(P("g")));

  // A range held by another process is reported busy, a free one is taken.
  int ready[2], release[2];
  ASSERT_EQ(0, ::pipe(ready));
  ASSERT_EQ(0, ::pipe(release));
  ASSERT_EQ(0, ::chmod(P("g").c_str(), 0644));
  pid_t const child = ::fork();
  if (child == 0) {
    int const fd = ::open(P("g").c_str(), O_RDWR);
    char c = FSLockRangeCompat(fd, 0, 10) == nFsNoErr ? 'y' : 'n';
    ssize_t ignored = ::write(ready[1], &c, 1);
    ignored = ::read(release[0], &c, 1);
    (void)ignored;
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(1, ::read(ready[0], &c, 1));
  EXPECT_EQ('y', c);
  int const fd = ::open(P("g").c_str(), O_RDWR);
  EXPECT_EQ(nFsBusy, FSLockRangeCompat(fd, 5, 10));
  EXPECT_EQ(nFsNoErr, FSLockRangeCompat(fd, 10, 10));
  EXPECT_EQ(nFsNoErr, FSUnlockRangeCompat(fd, 10, 10));
  ASSERT_EQ(1, ::write(release[1], "x", 1));
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(nFsNoErr, FSLockRangeCompat(fd, 5, 10));
  ::close(fd);
  for (int p : {ready[0], ready[1], release[0], release[1]}) ::close(p);

  std::string name;
  ASSERT_EQ(nFsNoErr, FSMapID(0, 0, &name));
  EXPECT_EQ("root", name);
  uint32_t id = 99;
  ASSERT_EQ(nFsNoErr, FSMapName("root", 0, &id));
  EXPECT_EQ(0u, id);
  EXPECT_EQ(nFsFileNotFound, FSMapName("no-such-user-vq7", 0, &id));
  EXPECT_EQ(nFsFileNotFound, FSMapID(4000000000u, 1, &name));
}

std::string Check(bool condition, char const* what) {
  return condition ? std::string() : std::string(what) + "; ";
}

TEST_F(FileManager, LockedItemsCopyAndDeleteWithoutPrivileges) {
  // Everything belongs to the unprivileged user, as on a user's own card.
  MakeTree(P("a"));
  ASSERT_EQ(0, ::mkdir(P("drop").c_str(), 0755));
  ASSERT_EQ(0, ::mkdir(P("out").c_str(), 0755));
  if (::geteuid() == 0) {
    for (char const* item : {"", "/a", "/a/one.txt", "/a/ro", "/a/ro/two.bin", "/a/sub",
                             "/a/sub/deeper", "/a/sub/deeper/three", "/drop", "/out"})
      ASSERT_EQ(0, ::lchown((mDir.Path() + item).c_str(), 65534, 65534));
    ASSERT_EQ(0, ::lchown(P("a/link").c_str(), 65534, 65534));
  }
  ASSERT_EQ(0, ::chmod(mDir.Path().c_str(), 0755));
  ASSERT_EQ(0, ::chmod(P("drop").c_str(), 0333));  // write and search only
  std::string const root = mDir.Path();
  auto const result = Support::RunUnprivileged([&]() {
    std::string failure;
    FSRef const source{root + "/a"}, out{root + "/out"}, drop{root + "/drop"};
    // A read-only folder still takes its contents; its mode is set once they are in.
    failure += Check(FSCopyObject(&source, &out, 0, 0, nDupeStandard, nullptr, 0, 0, nullptr,
                                  nullptr, nullptr, nullptr) == nFsNoErr,
                     "copy of a tree with a read-only folder failed");
    failure += Check(Support::ReadBytes(root + "/out/a/ro/two.bin") == Support::PatternBytes(70000),
                     "read-only folder lost its contents");
    failure += Check(ModeOf(root + "/out/a/ro") == 0555, "read-only folder lost its mode");
    failure += Check(FSCopyObject(&source, &drop, 0, 0, nDupeStandard, nullptr, 0, 0, nullptr,
                                  nullptr, nullptr, nullptr) == nFsNoErr,
                     "copy into a drop folder failed");
    FSRef const copied{root + "/out/a"};
    failure += Check(FSDeleteObjects(&copied) == nFsNoErr, "locked tree was not deleted");
    failure += Check(!Exists(root + "/out/a"), "locked tree is still there");
    return failure;
  });
  if (!result.available) GTEST_SKIP() << "cannot drop privileges here";
  EXPECT_EQ("", result.failure);
  ::chmod(P("drop").c_str(), 0755);
  EXPECT_EQ("first", ReadBytes(P("drop/a/one.txt")));
}

}  // namespace
