#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

using Support::ReadBytes;
using Support::WriteBytes;

class FurtherRoutines : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(WriteBytes(mDir / "file.wav", "12345"));
    ASSERT_TRUE(std::filesystem::create_directories(mDir / "d/e"));
    ASSERT_TRUE(WriteBytes(mDir / "d/e/f", "f"));
    ASSERT_EQ(GT::nFsNoErr, FSGetVRefNum(&mRoot, &mVolume));
  }
  Support::CPrivateTempDir mDir;
  FSRef const mRoot{mDir.Path()}, mFile{mDir / "file.wav"}, mFolder{mDir / "d"};
  int16_t mVolume = 0;
};

TEST_F(FurtherRoutines, VolumeInformation) {
  struct statvfs vfs;
  struct statfs fs;
  ASSERT_EQ(0, ::statvfs(mDir.Path().c_str(), &vfs));
  ASSERT_EQ(0, ::statfs(mDir.Path().c_str(), &fs));
  std::string name;
  uint64_t free = 0, total = 0;
  ASSERT_EQ(GT::nFsNoErr, FSGetVInfo(mVolume, &name, &free, &total));
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(uint64_t(vfs.f_blocks) * vfs.f_frsize, total);
  EXPECT_LE(free, total);
  uint32_t id = 0;
  uint16_t signature = 0;
  ASSERT_EQ(GT::nFsNoErr, FSGetVolFileSystemID(mVolume, &id, &signature));
  EXPECT_EQ(static_cast<uint32_t>(fs.f_type), id);
  EXPECT_EQ(id & 0xFFFFu, signature);
  EXPECT_EQ(GT::nFsNoSuchVolume, FSGetVInfo(12345, &name, &free, &total));
  EXPECT_EQ(GT::nFsNoSuchVolume, FSGetVolFileSystemID(12345, &id, &signature));
  std::vector<FSRef> volumes;
  ItemCount count = 0;
  ASSERT_EQ(GT::nFsNoErr, FSGetMountedVolumes(&volumes, &count));
  EXPECT_EQ(volumes.size(), count);
  EXPECT_NE(volumes.end(), std::find(volumes.begin(), volumes.end(), FSRef{"/"}));
  EXPECT_EQ(GT::nFsParameterError, FSGetMountedVolumes(nullptr, &count));
}

TEST_F(FurtherRoutines, ReferencesSpecificationsAndNames) {
  FSSpec spec;
  ASSERT_EQ(GT::nFsNoErr, FSRefMakeFSSpec(&mFile, &spec));
  char path[4096];
  ASSERT_EQ(GT::nFsNoErr, FSMakePath(spec.vRefNum, spec.parID, spec.name, path, sizeof path));
  EXPECT_EQ(mFile.path, path);
  EXPECT_EQ(GT::nFsBadName, FSMakePath(spec.vRefNum, spec.parID, spec.name, path, 4));
  EXPECT_EQ(GT::nFsParameterError, FSMakePath(spec.vRefNum, spec.parID, spec.name, nullptr, 9));
  EXPECT_EQ(GT::nFsParameterError, FSRefMakeFSSpec(&mFile, nullptr));

  FSRef const missing{mDir / "missing"}, top{"/"};
  EXPECT_EQ(1, FSRefValid(&mFile));
  EXPECT_EQ(0, FSRefValid(&missing));
  EXPECT_EQ(0, FSRefValid(nullptr));
  FSRef parent;
  ASSERT_EQ(GT::nFsNoErr, FSGetParentRef(&mFile, &parent));
  EXPECT_EQ(mDir.Path(), parent.path);
  ASSERT_EQ(GT::nFsNoErr, FSGetParentRef(&top, &parent));
  EXPECT_EQ("", parent.path);  // the root of a volume
  std::string name;
  ASSERT_EQ(GT::nFsNoErr, FSGetFileDirName(&mFile, &name));
  EXPECT_EQ("file.wav", name);
  EXPECT_EQ(GT::nFsFileNotFound, FSGetFileDirName(&missing, &name));
  uint64_t node = 0;
  Boolean isFolder = 1;
  ASSERT_EQ(GT::nFsNoErr, FSGetNodeID(&mFile, &node, &isFolder));
  struct stat st;
  ASSERT_EQ(0, ::stat(mFile.path.c_str(), &st));
  EXPECT_EQ(uint64_t(st.st_ino), node);
  EXPECT_EQ(0, isFolder);
  ASSERT_EQ(GT::nFsNoErr, FSGetNodeID(&mFolder, nullptr, &isFolder));
  EXPECT_EQ(1, isFolder);

  int const fd = ::open(mFile.path.c_str(), O_RDONLY | O_CLOEXEC);
  FSRef behind;
  ASSERT_EQ(GT::nFsNoErr, FileRefNumGetFSRef(fd, &behind));
  EXPECT_EQ(mFile.path, behind.path);
  ::close(fd);
  EXPECT_NE(GT::nFsNoErr, FileRefNumGetFSRef(fd, &behind));
}

TEST_F(FurtherRoutines, SizesDatesAndAccess) {
  uint64_t data = 0, rsrc = 9, logical = 0, physical = 0;
  ASSERT_EQ(GT::nFsNoErr, FSGetForkSizes(&mFile, &data, &rsrc));
  EXPECT_EQ(5u, data);
  EXPECT_EQ(0u, rsrc);
  EXPECT_EQ(GT::nFsNotAFile, FSGetForkSizes(&mFolder, &data, &rsrc));
  ASSERT_EQ(GT::nFsNoErr, FSGetTotalForkSizes(&mFile, &logical, &physical));
  EXPECT_EQ(5u, logical);
  long long size = 0;
  EXPECT_TRUE(GT::GetFileSize(mFile.path, size));
  EXPECT_EQ(5, size);
  EXPECT_TRUE(GT::GetFileSizeOnDisk(mFile.path, size));
  EXPECT_EQ(static_cast<long long>(physical), size);
  EXPECT_FALSE(GT::GetFileSize(mFolder.path, size));
  EXPECT_FALSE(GT::GetFileSizeOnDisk(mFolder.path, size));
  unsigned long creator = 9, type = 9;
  EXPECT_TRUE(GT::GetFileCreatorType(mFile.path, creator, type));
  EXPECT_EQ(0u, creator + type);
  EXPECT_FALSE(GT::GetFileCreatorType(mFolder.path, creator, type));

  struct timespec const old[2] = {{1000, 0}, {1000, 0}};
  ASSERT_EQ(0, ::utimensat(AT_FDCWD, mFile.path.c_str(), old, 0));
  ASSERT_EQ(GT::nFsNoErr, FSBumpDate(&mFile));
  struct stat st;
  ASSERT_EQ(0, ::stat(mFile.path.c_str(), &st));
  EXPECT_GT(st.st_mtim.tv_sec, 1000);
  EXPECT_EQ(1000, st.st_atim.tv_sec);  // only the modification date

  ASSERT_EQ(0, ::chmod(mFile.path.c_str(), 0640));
  uint8_t privileges = 0xFF;
  FSPermissionInfo permissions{};
  ASSERT_EQ(GT::nFsNoErr, FSGetUserPrivilegesPermissions(&mFile, &privileges, &permissions));
  EXPECT_EQ(0640, permissions.mode);
  EXPECT_EQ(st.st_uid, permissions.userID);
  EXPECT_EQ(GT::nFsDirectoryNotFound, FSGetDirAccess(&mFile, &permissions));
  EXPECT_EQ(GT::nFsNoErr, FSCheckLock(&mFile));
  ASSERT_EQ(0, ::chmod(mFile.path.c_str(), 0444));
  EXPECT_EQ(GT::nFsFileLocked, FSCheckLock(&mFile));

  // Attributes: mode and dates, the lock only when asked for.
  ASSERT_TRUE(WriteBytes(mDir / "copy", ""));
  FSRef const copy{mDir / "copy"};
  for (Boolean const lock : {0, 1}) {
    ASSERT_EQ(GT::nFsNoErr, FSCopyFileMgrAttributes(&mFile, &copy, lock));
    EXPECT_EQ(lock ? 0444u : 0644u, Support::ModeOf(copy.path));
    ASSERT_EQ(0, ::stat(copy.path.c_str(), &st));
    EXPECT_EQ(1000, st.st_atim.tv_sec);
    ::chmod(copy.path.c_str(), 0644);
  }
}

TEST_F(FurtherRoutines, WalksNamesAndMoves) {
  struct CSeen {
    std::vector<std::pair<std::string, ItemCount> > items;
    std::string stopAt;
  };
  auto const filter = [](Boolean, ItemCount level, struct stat const*, FSRef const*,
                         std::string const* name, void* data) -> Boolean {
    CSeen& seen = *static_cast<CSeen*>(data);
    seen.items.emplace_back(*name, level);
    return *name == seen.stopAt;
  };
  ASSERT_TRUE(WriteBytes(mDir / "d/g", "g"));
  struct {
    ItemCount maxLevels;
    char const* stopAt;
    std::vector<std::pair<std::string, ItemCount> > seen;  // sorted
  } const cases[] = {{0, "", {{"e", 1}, {"f", 2}, {"g", 1}}},
                     {1, "", {{"e", 1}, {"g", 1}}},
                     {0, "f", {{"e", 1}, {"f", 2}}}};
  for (auto const& c : cases) {
    CSeen seen;
    seen.stopAt = c.stopAt;
    ASSERT_EQ(GT::nFsNoErr, FSIterateContainer(&mFolder, c.maxLevels, filter, &seen));
    if (*c.stopAt) {
      EXPECT_EQ(c.seen.back(), seen.items.back()) << "went on after the stop";
    } else {
      std::sort(seen.items.begin(), seen.items.end());
      EXPECT_EQ(c.seen, seen.items) << c.maxLevels;
    }
  }
  EXPECT_EQ(GT::nFsParameterError, FSIterateContainer(&mFolder, 0, nullptr, nullptr));

  ASSERT_TRUE(WriteBytes(mDir / "0000000A", "") && WriteBytes(mDir / "d/0000000B", ""));
  uint32_t seed = 0x0A;
  std::string unique;
  ASSERT_EQ(GT::nFsNoErr, GenerateUniqueHFSUniStr(&seed, &mRoot, &mFolder, &unique));
  EXPECT_EQ("0000000C", unique);
  EXPECT_EQ(0x0Du, seed);

  FSRef moved;
  struct {
    FSRef into;
    char const* name;
    OSErr status;
  } const moves[] = {{mFolder, "d/x", GT::nFsBadName},
                     {mFolder, "g", GT::nFsDuplicateName},
                     {mFile, "x", GT::nFsDirectoryNotFound},
                     {mFolder, "moved.wav", GT::nFsNoErr}};
  for (auto const& m : moves)
    EXPECT_EQ(m.status, FSMoveRenameObjectUnicode(&mFile, &m.into, m.name, &moved)) << m.name;
  EXPECT_EQ(mDir / "d/moved.wav", moved.path);
  EXPECT_EQ(GT::nFsNoErr, FSMoveRename(&moved, &mRoot, "file.wav", &moved));
  EXPECT_EQ("12345", ReadBytes(mFile.path));

  FSRef const other{mDir / "d/g"};
  EXPECT_EQ(GT::nFsNoErr, FSExchangeObjectsCompat(&mFile, &other, nullptr, nullptr));
  EXPECT_EQ("g", ReadBytes(mFile.path));
  EXPECT_EQ("12345", ReadBytes(other.path));
  EXPECT_EQ(GT::nFsNotAFile, FSExchangeObjectsCompat(&mFile, &mFolder, nullptr, nullptr));
}

TEST_F(FurtherRoutines, DefaultFolderBuffersLocksAndNames) {
  FSRef old;
  EXPECT_EQ(GT::nFsDirectoryNotFound, FSSetDefault(&mFile, &old));
  ASSERT_EQ(GT::nFsNoErr, FSSetDefault(&mFolder, &old));
  EXPECT_EQ(std::filesystem::canonical(mFolder.path), std::filesystem::current_path());
  ASSERT_EQ(GT::nFsNoErr, FSRestoreDefault(&old));
  EXPECT_EQ(old.path, std::filesystem::current_path().string());

  struct {
    uint32_t asked, got;
  } const buffers[] = {{10000, 8192}, {100, 4096}, {4096, 4096}, {0, 4096}};
  for (auto const& b : buffers) {
    uint32_t size = 0;
    void* const buffer = GetTempBuffer(b.asked, &size);
    EXPECT_NE(nullptr, buffer);
    EXPECT_EQ(b.got, size) << b.asked;
    DisposeTempBuffer(buffer);
  }

  int const in = ::open(mFile.path.c_str(), O_RDONLY | O_CLOEXEC);
  int const out = ::open((mDir / "forkcopy").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  char buffer[3];
  EXPECT_EQ(GT::nFsParameterError, FSCopyFork(in, out, nullptr, 3));
  EXPECT_EQ(GT::nFsNoErr, FSCopyFork(in, out, buffer, sizeof buffer));
  EXPECT_EQ("12345", ReadBytes(mDir / "forkcopy"));
  EXPECT_EQ(GT::nFsNoErr, FSLockRangeCompat(out, 0, 10));
  EXPECT_EQ(GT::nFsNoErr, FSUnlockRangeCompat(out, 0, 10));
  EXPECT_EQ(GT::nFsParameterError, FSLockRangeCompat(out, ~0ull, 1));
  ::close(in);
  ::close(out);

  std::string name;
  uint32_t id = 99;
  EXPECT_EQ(GT::nFsNoErr, FSMapID(0, 0, &name));
  EXPECT_EQ("root", name);
  EXPECT_EQ(GT::nFsNoErr, FSMapName("root", 0, &id));
  EXPECT_EQ(0u, id);
  EXPECT_EQ(GT::nFsNoErr, FSMapID(0, 1, &name));
  EXPECT_EQ(GT::nFsNoErr, FSMapName(name, 1, &id));
  EXPECT_EQ(0u, id);
  EXPECT_EQ(GT::nFsFileNotFound, FSMapName("no such user here", 0, &id));
  EXPECT_EQ(GT::nFsFileNotFound, FSMapID(0x7FFFFFF0u, 1, &name));
}

TEST_F(FurtherRoutines, SpecialFoldersAndFolderNames) {
  Support::CScopedEnv const config("XDG_CONFIG_HOME", mDir / "config");
  Support::CScopedEnv const data("XDG_DATA_HOME", mDir / "data");
  Support::CScopedEnv const home("HOME", mDir.Path());
  struct {
    unsigned long type;
    std::string path;
  } const cases[] = {{0x70726566UL, mDir / "config"},
                     {0x61737570UL, mDir / "data"},
                     {0x6465736BUL, mDir / "Desktop"},
                     {0x646F6373UL, mDir / "Documents"},
                     {0x74656D70UL, GT::GetTemporaryDirectoryName()},
                     {0x78787878UL, ""}};
  for (auto const& c : cases) {
    EXPECT_EQ(c.path, GT::GetSpecialFolderName(0, c.type)) << c.type;
    EXPECT_TRUE(c.path.empty() || GT::IsDirectoryValid(c.path)) << c.path;
  }
  struct {
    char const *path, *terminated, *unterminated;
  } const names[] = {
      {"", "/", ""}, {"/", "/", ""}, {"a", "a/", "a"}, {"a/", "a/", "a"}, {"a//", "a//", "a/"}};
  for (auto const& n : names) {
    EXPECT_EQ(n.terminated, GT::TerminateDirectoryName(n.path, '/')) << n.path;
    EXPECT_EQ(n.unterminated, GT::UnterminateDirectoryName(n.path, '/')) << n.path;
  }
  EXPECT_EQ(GT::nFsFileNotFound, GT::OpenByShell(mDir / "missing"));
  EXPECT_FALSE(GT::PrepareEject(mFile.path));
  EXPECT_FALSE(GT::PrepareEject(mDir / "missing"));
}

}  // namespace
