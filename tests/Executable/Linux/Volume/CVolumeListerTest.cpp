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
      {"other places and deeper levels",
       Line(1, "/") + Line(2, "/home") + Line(3, "/media/kim/CARD/sub") + Line(4, "/mnt") +
           Line(5, "/media/other/X") + Line(6, "/run/media/other/Y"),
       {}},
      {"the user's own folder is no volume", Line(7, "/media/kim"), {}},
      {"octal escapes decoded", Line(8, "/media/kim/My\\040Card\\011x\\134y"), {"My Card\tx\\y"}},
      {"any bytes of a name pass unchanged",
       Line(9, "/media/kim/\xe3\x82\xab\xe3\x83\xbc\xe3\x83\x89"),
       {"\xe3\x82\xab\xe3\x83\xbc\xe3\x83\x89"}},
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

TEST(VolumeLister, ReferenceIsTheMountIdAndEmptyVolumesAreLeftOut) {
  std::string table = Line(40, "/media/kim/CARD") + Line(41, "/mnt/EMPTY");
  CVolumeLister lister([&] { return table; },
                       [](std::string const& path) { return path == "/mnt/EMPTY" ? 0u : 1u << 20; },
                       kRoots);
  std::vector<CVolumeLister::CVolume> const listed = lister.List();
  ASSERT_EQ(1u, listed.size());
  EXPECT_EQ(40, listed[0].mRefNum);
  EXPECT_EQ("/media/kim/CARD", listed[0].mPath);

  CVolumeLister::CVolume found;
  EXPECT_TRUE(lister.Find(41, found));
  EXPECT_EQ("/mnt/EMPTY", found.mPath);
  EXPECT_FALSE(lister.Find(99, found));
}

TEST(VolumeLister, PollReportsEachMountAndUnmountOnce) {
  std::string table = Line(40, "/media/kim/CARD");
  CVolumeLister lister([&] { return table; }, [](std::string const&) { return 1u; }, kRoots);

  CVolumeLister::CChange change = lister.Poll();  // the first look only takes the snapshot
  EXPECT_TRUE(change.mMounted.empty() && change.mUnmounted.empty());

  table = Line(41, "/media/kim/OTHER");
  change = lister.Poll();
  EXPECT_EQ(std::vector<long>{40}, change.mUnmounted);
  ASSERT_EQ(1u, change.mMounted.size());
  EXPECT_EQ("/media/kim/OTHER", change.mMounted[0].mPath);

  change = lister.Poll();
  EXPECT_TRUE(change.mMounted.empty() && change.mUnmounted.empty());

  table += Line(52, "/media/kim/CARD");  // plugged in again: a new mount id
  change = lister.Poll();
  ASSERT_EQ(1u, change.mMounted.size());
  EXPECT_EQ(52, change.mMounted[0].mRefNum);
  EXPECT_TRUE(change.mUnmounted.empty());
}

}  // namespace
