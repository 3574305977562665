#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

using Support::WriteBytes;

TEST(FileSystemQueries, TheProgramsFolderAndFile) {
  std::string const exe = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string const& folder = GT::GetModuleDirectoryNameX();
  EXPECT_EQ(exe.substr(0, exe.rfind('/')), folder);
  EXPECT_EQ(&folder, &GT::GetModuleDirectoryNameX());  // the same string each call
  EXPECT_EQ(folder + "/", GT::GetModuleDirectoryName());
  EXPECT_EQ(exe, GT::GetModuleFileNameA());
}

TEST(FileSystemQueries, ReferencesAndSpecificationsToPaths) {
  Support::CPrivateTempDir dir;
  ASSERT_TRUE(WriteBytes(dir / "file.wav", "x"));
  std::string path = "old";
  EXPECT_EQ(0, GT::FSRefGetPath(FSRef{dir / "file.wav"}, path));
  EXPECT_EQ(dir / "file.wav", path);
  path = "old";
  EXPECT_EQ(-1, GT::FSRefGetPath(FSRef{""}, path));
  EXPECT_EQ("old", path);  // left as it was

  FSSpec file, folder;
  ASSERT_EQ(GT::nFsNoErr, FSPathMakeFSSpec((dir / "file.wav").c_str(), &file, nullptr));
  ASSERT_EQ(GT::nFsNoErr, FSPathMakeFSSpec(dir.Path().c_str(), &folder, nullptr));
  auto named = [](FSSpec spec, std::string const& name) {
    spec.name[0] = static_cast<unsigned char>(name.size());
    std::memcpy(spec.name + 1, name.data(), name.size());
    return spec;
  };
  FSSpec unknownVolume = file;
  unknownVolume.vRefNum = 12345;
  FSSpec unknownFolder = file;
  unknownFolder.parID = 0x7FFFFFF0;
  struct {
    char const* what;
    FSSpec spec;
    OSErr status;
    std::string path;  // afterwards
  } const cases[] = {
      {"a file", file, GT::nFsNoErr, dir / "file.wav"},
      {"a folder", folder, GT::nFsNoErr, dir.Path()},
      {"a file not made yet", named(file, "new.wav"), GT::nFsFileNotFound, "old"},
      {"a name with a slash", named(file, "a/b"), GT::nFsBadName, "old"},
      {"a name of dots", named(file, ".."), GT::nFsBadName, "old"},
      {"no such volume", unknownVolume, GT::nFsNoSuchVolume, "old"},
      {"no such folder", unknownFolder, GT::nFsDirectoryNotFound, "old"},
  };
  for (auto const& c : cases) {
    path = "old";
    EXPECT_EQ(c.status, GT::FSSpecGetPath(c.spec, path)) << c.what;
    EXPECT_EQ(c.path, path) << c.what;
  }
}

TEST(FileSystemQueries, FileTypeFromTheExtension) {
  Support::CPrivateTempDir dir;
  ASSERT_TRUE(std::filesystem::create_directory(dir / "folder.wav"));
  struct {
    char const* name;
    int type;
  } const cases[] = {{"a.wav", 0}, {"A.WAV", 0}, {"b.aif", 1}, {"b.AIFF", 1},  {"b.aifc", 6},
                     {"c.bmp", 2}, {"d.jpg", 3}, {"d.JPE", 3}, {"d.jpeg", 3},  {"e.mid", 4},
                     {"f.mp3", 5}, {"g.txt", 6}, {"noext", 6}, {"x.wav.gz", 6}};
  for (auto const& c : cases) {
    ASSERT_TRUE(WriteBytes(dir / c.name, "")) << c.name;
    EXPECT_EQ(c.type, GT::GetFileType(dir / c.name)) << c.name;
  }
  EXPECT_EQ(GT::FileTypeNone, GT::GetFileType(dir / "folder.wav"));
  EXPECT_EQ(GT::FileTypeNone, GT::GetFileType(dir / "missing.wav"));
  EXPECT_EQ(GT::FileTypeNone, GT::GetFileType(""));
}

TEST(FileSystemQueries, ValidFileNames) {
  struct {
    char const* name;
    bool valid;
  } const cases[] = {{"a", true},    {"a b", true}, {"a.b", true},  {"\xE6\x97\xA5", true},
                     {"", false},    {".a", false}, {".", false},   {"a\"", false},
                     {"a*", false},  {"a,", false}, {"a/b", false}, {"a:b", false},
                     {"a;", false},  {"a<", false}, {"a>", false},  {"a?", false},
                     {"a\\", false}, {"a|", false}, {"a.", true},   {"-a", true}};
  for (auto const& c : cases) EXPECT_EQ(c.valid, GT::IsValidFileName(c.name)) << c.name;
}

TEST(FileSystemQueries, DriveCapacityOfTheNearestExistingFolder) {
  Support::CPrivateTempDir dir;
  struct statvfs vfs;
  ASSERT_EQ(0, ::statvfs(dir.Path().c_str(), &vfs));
  long long const expected = static_cast<long long>(vfs.f_blocks * vfs.f_frsize);
  for (std::string const& path : {dir.Path(), dir / "missing/deeper/file", dir / "../"}) {
    long long total = -1, free = -1;
    EXPECT_TRUE(GT::GetDriveCapacity(path, total, free)) << path;
    EXPECT_EQ(expected, total) << path;
    EXPECT_GE(free, 0) << path;
    EXPECT_LE(free, total) << path;
  }
  long long total = -1, free = -1;
  EXPECT_FALSE(GT::GetDriveCapacity("", total, free));
  EXPECT_EQ(-1, total);
  EXPECT_TRUE(GT::GetDriveCapacity("no-such-relative-name", total, free));
  EXPECT_GT(total, 0);
}

TEST(FileSystemQueries, ScanDirectorySortsFoldersFromOthers) {
  Support::CPrivateTempDir dir;
  std::string const d = dir / "d";
  ASSERT_TRUE(std::filesystem::create_directories(d + "/sub/inner"));
  ASSERT_TRUE(WriteBytes(d + "/a", "a") && WriteBytes(d + "/b.wav", "b"));
  ASSERT_EQ(0, ::symlink("sub", (d + "/tosub").c_str()));
  ASSERT_EQ(0, ::symlink("b.wav", (d + "/tofile").c_str()));
  ASSERT_EQ(0, ::symlink("nowhere", (d + "/broken").c_str()));  // unreadable: skipped
  std::vector<std::string> folders{"kept"}, files{"kept"};
  ASSERT_TRUE(GT::ScanDirectory(d, folders, files));
  std::sort(folders.begin(), folders.end());
  std::sort(files.begin(), files.end());
  EXPECT_EQ((std::vector<std::string>{d + "/sub", d + "/tosub", "kept"}), folders);
  EXPECT_EQ((std::vector<std::string>{d + "/a", d + "/b.wav", d + "/tofile", "kept"}), files);
  for (std::string const& path : {d + "/a", d + "/missing", std::string()}) {
    std::vector<std::string> none1, none2;
    EXPECT_FALSE(GT::ScanDirectory(path, none1, none2)) << path;
    EXPECT_TRUE(none1.empty() && none2.empty());
  }
}

TEST(FileSystemQueries, VolumeParameters) {
  Support::CPrivateTempDir dir;
  FSRef const ref{dir.Path()};
  int16_t volume = 0;
  ASSERT_EQ(GT::nFsNoErr, FSGetVRefNum(&ref, &volume));
  GetVolParmsInfoBuffer parms;
  std::memset(&parms, 0xAB, sizeof parms);
  uint32_t actual = 77;
  EXPECT_EQ(GT::nFsParameterError, FSGetVolParms(volume, sizeof parms, nullptr, &actual));
  EXPECT_EQ(GT::nFsParameterError, FSGetVolParms(volume, sizeof parms, &parms, nullptr));
  EXPECT_EQ(77u, actual);
  EXPECT_EQ(int16_t(0xABAB), int16_t{parms.vMVersion}) << "written on a parameter error";
  EXPECT_EQ(GT::nFsNoSuchVolume, FSGetVolParms(12345, sizeof parms, &parms, &actual));
  EXPECT_EQ(GT::nFsNoErr, FSGetVolParms(volume, 6, &parms, &actual));
  EXPECT_EQ(6u, actual);
  EXPECT_EQ(int32_t(0xABABABAB), int32_t{parms.vMLocalHand}) << "written past the size given";
  EXPECT_EQ(GT::nFsNoErr, FSGetVolParms(volume, 1000, &parms, &actual));
  EXPECT_EQ(32u, actual);
  EXPECT_EQ(4, int16_t{parms.vMVersion});    // (packed fields by value)
  EXPECT_EQ(0, int32_t{parms.vMServerAdr});  // a local volume
  struct statvfs vfs;
  ASSERT_EQ(0, ::statvfs(dir.Path().c_str(), &vfs));
  EXPECT_EQ(vfs.f_namemax, uint32_t{parms.vMMaxNameLength});
}

// The copy buffer from a volume's speed grade.
TEST(FileSystemQueries, CopyBufferRule) {
  struct {
    int32_t grade;
    uint32_t actual;
    uint32_t size;
  } const cases[] = {{-8388608, 32, 2097152},  {-1000, 32, 1024},
                     {0, 32, 262144},          {-8388608, 17, 262144},
                     {-8388608, 18, 2097152},  {-4194304, 32, 1048576},
                     {INT32_MIN, 32, 2097152}, {-2048 * 3, 32, 1536},
                     {5, 32, 262144},          {-1, 32, 1024}};
  for (auto const& c : cases) {
    GetVolParmsInfoBuffer parms;
    std::memset(&parms, 0, sizeof parms);
    parms.vMVolumeGrade = c.grade;
    EXPECT_EQ(c.size, CopyBufferSizeOf(parms, c.actual)) << c.grade << " " << c.actual;
  }
}

}  // namespace
