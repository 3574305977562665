// Import, export and delete on a real FAT16 file system, mounted through
// FUSE, then checked unmounted by fsck and read back with mtools.

#include "Executable/Com/Controller/CModelMarshaller.h"
#include "Support/CardFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <unistd.h>

namespace {

bool Shell(std::string const& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Reads a file of the image with mtools; the FAT's clean-shutdown bit that
// the FUSE driver leaves set is no concern of this check.
std::string ReadFromImage(std::string const& image, std::string const& path) {
  std::string const out = image + ".read";
  if (!Shell("MTOOLS_SKIP_CHECK=1 mcopy -o -n -i '" + image + "' '::" + path + "' '" + out + "'"))
    return "(missing)";
  return Support::ReadBytes(out);
}

}  // namespace

TEST(CardFatImageTest, ImportExportAndDeleteLeaveAConsistentFileSystem) {
  for (char const* tool : {"fusefat", "mkfs.vfat", "fsck.vfat", "mcopy", "mdir", "fusermount"})
    if (!Shell(std::string("command -v ") + tool)) GTEST_SKIP() << tool << " is not installed";
  if (::access("/dev/fuse", R_OK | W_OK) != 0) GTEST_SKIP() << "/dev/fuse cannot be opened here";

  VQ7Test::CCardBench bench;
  std::string const image = bench.mDir / "card.img";
  std::string const mount = bench.mDir / "mnt";
  ASSERT_TRUE(Shell("mkdir -p '" + mount + "' && truncate -s 16M '" + image +
                    "' && mkfs.vfat -F 16 -n CARD '" + image + "'"));
  if (!Shell("fusefat -o rw+ '" + image + "' '" + mount + "'"))
    GTEST_SKIP() << "mounting through FUSE is not permitted here";
  struct CUnmount {
    std::string point;
    bool done = false;
    bool Unmount() { return done = done || Shell("fusermount -u '" + point + "'"); }
    ~CUnmount() { Unmount(); }
  } unmount{mount};

  std::string const stereo = bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 6000s sine 50");
  std::string const mono = bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 5000s sine 70");
  bench.mVolume = mount;
  VQ7Test::MakeEmptyCard(mount);
  ASSERT_TRUE(bench.Open(0, 0));
  ASSERT_TRUE(bench.Controller().Import(stereo));
  ASSERT_TRUE(bench.Controller().SelectCurrentPad(1));
  ASSERT_TRUE(bench.Controller().Import(stereo));
  ASSERT_TRUE(bench.Controller().SelectCurrentPad(2));
  ASSERT_TRUE(bench.Controller().Import(stereo));
  ASSERT_TRUE(bench.Controller().Import(mono));  // shorter mono over stereo
  ASSERT_TRUE(bench.Controller().Delete(1));
  ASSERT_TRUE(bench.Controller().Export(bench.mDir / "out.wav", SL::CWaveFileFormat::RiffWave));
  EXPECT_TRUE(bench.Messages().empty());

  std::vector<std::pair<std::string, std::string> > files;  // name, bytes
  for (char const* name : {"SMP0000L.VQD", "SMP0000R.VQD", "SMP0002L.VQD"})
    files.emplace_back(name, Support::ReadBytes(bench.Folder() + "/" + name));
  std::ostringstream info;
  ASSERT_TRUE(VQ7::CModelMarshaller().Marahsll(bench.Controller().Model())->Write(info));
  ASSERT_TRUE(bench.Controller().SelectCurrentVolume("", 0) == false);
  ASSERT_TRUE(unmount.Unmount());

  EXPECT_TRUE(Shell("fsck.vfat -n '" + image + "'")) << "fsck finds faults";
  EXPECT_EQ(info.str(), ReadFromImage(image, "/TAVRIN/VQ730/WVCINFO0.VQD"));
  EXPECT_EQ(6000u, files[0].second.size());
  EXPECT_EQ(5008u, files[2].second.size()) << "the mono file is exactly as long";
  for (auto const& file : files)
    EXPECT_EQ(file.second, ReadFromImage(image, "/TAVRIN/VQ730/" + file.first)) << file.first;
  for (char const* gone : {"SMP0001L.VQD", "SMP0001R.VQD", "SMP0002R.VQD"})
    EXPECT_EQ("(missing)", ReadFromImage(image, std::string("/TAVRIN/VQ730/") + gone)) << gone;
  EXPECT_FALSE(
      Shell("MTOOLS_SKIP_CHECK=1 mdir -i '" + image + "' ::/TAVRIN/VQ730 | grep -q TEMPORARY"));
}
