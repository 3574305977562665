#include "GT/Com/FileSystem/FileReplacement.h"
#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

namespace {

using Support::ReadBytes;
using Support::WriteBytes;

// Names up to the longest a file may have go through every call that writes
// beside its target first, new and replacing.
TEST(LongName, LongestNamesCopyAndReplace) {
  for (std::size_t const length : {247u, 248u, 250u, 255u}) {
    Support::CPrivateTempDir dir;
    std::string const name(length, 'n');
    std::string const into = dir / "into";
    std::string const target = into + "/" + name;
    ASSERT_TRUE(std::filesystem::create_directory(into));
    ASSERT_TRUE(WriteBytes(dir / "src", "new"));
    ASSERT_TRUE(std::filesystem::create_directories(dir / "tree/sub"));
    ASSERT_TRUE(WriteBytes(dir / "tree/sub/f", "f"));
    FSRef const source{dir / "src"}, folder{into};
    struct {
      char const* what;
      std::function<bool()> call;
      char const* inside;  // what the target then holds ("/" + a file for a folder)
    } const cases[] = {
        {"CopyFileX", [&] { return GT::CopyFileX(dir / "src", target); }, "new"},
        {"CopyFileR", [&] { return GT::CopyFileR(dir / "src", target); }, "new"},
        {"CreateFileBeside",
         [&] {
           std::string const temp = GT::CreateFileBeside(target);
           return !temp.empty() && WriteBytes(temp, "new") && GT::ReplaceFileWith(target, temp);
         },
         "new"},
        {"FSCopyObject",
         [&] {
           return FSCopyObject(&source, &folder, 0, 0, nDupeReplace, name.c_str(), 0, 0, nullptr,
                               nullptr, nullptr, nullptr) == GT::nFsNoErr;
         },
         "new"},
        {"CopyDirectory", [&] { return GT::CopyDirectory(dir / "tree", target); }, "/sub/f"},
    };
    for (auto const& c : cases) {
      for (bool const replacing : {false, true}) {
        std::filesystem::remove_all(target);
        if (replacing) {
          ASSERT_TRUE(WriteBytes(target, "old"));
        }
        EXPECT_TRUE(c.call()) << c.what << " " << length << (replacing ? " replacing" : "");
        std::string const inside = c.inside;
        EXPECT_EQ(inside[0] == '/' ? "f" : inside,
                  ReadBytes(inside[0] == '/' ? target + inside : target))
            << c.what << " " << length;
        EXPECT_EQ(std::set<std::string>{name}, Support::FolderNames(into))
            << c.what << " " << length;
      }
    }
  }
}

// The temporary sibling's name: a point, the name cut to fit, the suffix.
TEST(LongName, TemporarySiblingNameFitsOneFileName) {
  std::string const e = "\xC3\xA9";  // two bytes in UTF-8
  std::string accented;
  for (int i = 0; i < 125; ++i) accented += e;
  struct {
    std::string name;
    std::string expected;
  } const cases[] = {
      {"a", ".a.XXXXXX"},
      {std::string(247, 'n'), "." + std::string(247, 'n') + ".XXXXXX"},
      {std::string(248, 'n'), "." + std::string(247, 'n') + ".XXXXXX"},
      {std::string(255, 'n'), "." + std::string(247, 'n') + ".XXXXXX"},
      // 247 bytes would end inside a character: 246 it is.
      {accented, "." + accented.substr(0, 246) + ".XXXXXX"},
  };
  for (auto const& c : cases)
    EXPECT_EQ(c.expected, GT::Posix::TemporarySiblingName(c.name, ".XXXXXX")) << c.name.size();
  EXPECT_EQ(".DeleteMe", GT::Posix::TemporarySiblingName("DeleteMe", ""));
}

}  // namespace
