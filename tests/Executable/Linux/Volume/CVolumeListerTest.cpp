#include "Executable/Linux/Volume/CVolumeLister.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using VQ7::CVolumeLister;

std::string Line(long id, std::string const& point) {
  return std::to_string(id) + " 27 8:17 / " + point +
         " rw,nosuid,nodev,relatime shared:600 - vfat /dev/sdb1 rw,fmask=0022\n";
}

std::vector<std::string> const kRoots = CVolumeLister::MediaRoots("kim");

struct CCase {
  char const* what;
  std::string table;
  std::vector<std::string> names;
};

TEST(VolumeLister, ListsDirectChildrenOfTheMediaFolders) {
  std::vector<CCase> const cases = {
      {"each media folder",
       Line(40, "/media/kim/CARD") + Line(41, "/run/media/kim/B") + Line(42, "/media/C") +
           Line(43, "/mnt/D"),
       {"CARD", "B", "C", "D"}},
      {"other places, deeper levels and the user's own folder",
       Line(1, "/") + Line(3, "/media/kim/CARD/sub") + Line(4, "/mnt") + Line(5, "/media/other/X") +
           Line(6, "/run/media/other/Y") + Line(7, "/media/kim"),
       {}},
      {"octal escapes decoded, other bytes unchanged",
       Line(8, "/media/kim/My\\040\xe3\x82\xab\\011x\\134y"),
       {"My \xe3\x82\xab\tx\\y"}},
      {"malformed lines skipped",
       "garbage\n12\nx 27 8:1 / /media/kim/X rw\n" + Line(10, "/mnt/E"),
       {"E"}},
      {"a point mounted over counts once, as its top mount",
       Line(11, "/mnt/F") + Line(12, "/mnt/G") + Line(13, "/mnt/F"),
       {"G", "F"}},
  };
  for (CCase const& c : cases) {
    std::vector<std::string> names;
    for (CVolumeLister::CVolume const& v : CVolumeLister::Candidates(c.table, kRoots))
      names.push_back(v.mName);
    EXPECT_EQ(c.names, names) << c.what;
  }
}

TEST(VolumeLister, ListsNonEmptyVolumesByMountIdAndPollsEachMountAndUnmountOnce) {
  std::string table = Line(40, "/media/kim/CARD") + Line(39, "/mnt/EMPTY");
  CVolumeLister lister([&] { return table; },
                       [](std::string const& path) { return path == "/mnt/EMPTY" ? 0u : 1u; },
                       kRoots);
  std::vector<CVolumeLister::CVolume> const listed = lister.List();
  ASSERT_EQ(1u, listed.size());
  EXPECT_EQ(40, listed[0].mRefNum);
  EXPECT_EQ("/media/kim/CARD", listed[0].mPath);
  CVolumeLister::CVolume found;
  EXPECT_TRUE(lister.Find(39, found) && found.mPath == "/mnt/EMPTY");

  CVolumeLister::CChange change = lister.Poll();  // the first look only takes the snapshot
  EXPECT_TRUE(change.mMounted.empty() && change.mUnmounted.empty());

  table = Line(39, "/mnt/EMPTY") + Line(41, "/media/kim/OTHER");
  change = lister.Poll();
  EXPECT_EQ(std::vector<long>{40}, change.mUnmounted);
  ASSERT_EQ(1u, change.mMounted.size());
  EXPECT_EQ("/media/kim/OTHER", change.mMounted[0].mPath);

  table += Line(52, "/media/kim/CARD");  // plugged in again: a new mount id
  change = lister.Poll();
  ASSERT_EQ(1u, change.mMounted.size());
  EXPECT_EQ(52, change.mMounted[0].mRefNum);
  EXPECT_TRUE(change.mUnmounted.empty());
}

}  // namespace
