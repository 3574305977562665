#include "GT/Linux/FileSystem/FileManagerRoutines.h"

#include "Support/FileBytes.h"
#include "Support/PrivateMount.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
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

TEST_F(FileManager, ANameCannotLeaveItsFolder) {
  ASSERT_TRUE(WriteBytes(P("f"), "x"));
  FSSpec spec;
  ASSERT_EQ(nFsNoErr, FSPathMakeFSSpec(P("f").c_str(), &spec, nullptr));
  unsigned char const sneaky[] = "\x05../..";
  FSRef ref;
  EXPECT_EQ(nFsBadName, FSMakeFSRef(spec.vRefNum, spec.parID, sneaky, &ref));
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

  // Nor for a link named with a "/" after it, which would name the folder it leads to.
  for (auto remove : {FSDeleteObjects, FSDeleteContainerContents, FSDeleteContainer}) {
    ::symlink("outside", P("dirlink").c_str());
    FSRef const slashed{P("dirlink//")};
    remove(&slashed);
    EXPECT_EQ(static_cast<std::size_t>(files), Names(P("outside")).size());
  }
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
  // Nothing to replace: the refused copy is not left behind either.
  EXPECT_EQ(-1, FSCopyObject(&source, &dest, 0, 0, nDupeStandard, "refused", 0, 0, RefuseTop,
                             nullptr, nullptr, nullptr));
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
