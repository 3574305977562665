// Import, export and delete on a FAT16 image mounted through FUSE, then
// checked unmounted by fsck and read back with mtools.

#include "Executable/Com/Card/CModelMarshaller.h"
#include "Support/CardFixture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

namespace {

bool Shell(std::string const& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(CardFatImageTest, ImportExportAndDeleteLeaveAConsistentFileSystem) {
  for (char const* tool : {"fusefat", "mkfs.vfat", "fsck.vfat", "mcopy", "fusermount"})
    if (!Shell(std::string("command -v ") + tool)) GTEST_SKIP() << tool << " is not installed";
  if (::access("/dev/fuse", R_OK | W_OK) != 0) GTEST_SKIP() << "/dev/fuse cannot be opened here";
  VQ7Test::CCardBench bench;
  std::string const image = bench.mDir / "card.img", mount = bench.mDir / "mnt";
  ASSERT_TRUE(Shell("mkdir '" + mount + "' && truncate -s 16M '" + image +
                    "' && mkfs.vfat -F 16 '" + image + "'"));
  if (!Shell("fusefat -o rw+ '" + image + "' '" + mount + "'"))
    GTEST_SKIP() << "mounting through FUSE is not permitted here";
  std::unique_ptr<std::string, void (*)(std::string*)> mounted(
      new std::string(mount), [](std::string* point) {
        Shell("fusermount -u '" + *point + "'");
        delete point;
      });

  std::string const stereo = bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 6000s sine 50");
  std::string const mono = bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 5000s sine 70");
  VQ7Test::MakeEmptyCard(bench.mVolume = mount);
  VQ7::CController& controller = bench.Controller();
  for (long pad : {0, 1, 2}) ASSERT_TRUE(bench.Open(0, pad) && controller.Import(stereo));
  ASSERT_TRUE(controller.Import(mono));  // shorter mono over stereo
  ASSERT_TRUE(controller.Delete(1));
  ASSERT_TRUE(controller.Export(bench.mDir / "out.wav", SL::CWaveFileFormat::RiffWave));
  EXPECT_TRUE(bench.Messages().empty());
  std::ostringstream info;
  VQ7::CModelMarshaller().Marahsll(controller.Model())->Write(info);
  std::map<std::string, std::string> files{{"WVCINFO0.VQD", info.str()}};
  for (char const* name : {"SMP0000L.VQD", "SMP0000R.VQD", "SMP0002L.VQD"})
    files[name] = Support::ReadBytes(bench.Folder() + "/" + name);
  EXPECT_EQ(6000u, files["SMP0000R.VQD"].size());
  EXPECT_EQ(5008u, files["SMP0002L.VQD"].size()) << "the mono file is exactly as long";
  controller.SelectCurrentVolume("", 0);
  mounted.reset();

  EXPECT_TRUE(Shell("fsck.vfat -n '" + image + "'")) << "fsck finds faults";
  // The FAT's clean-shutdown bit the FUSE driver leaves set is no concern.
  std::string const mcopy = "MTOOLS_SKIP_CHECK=1 mcopy -n -i '" + image + "' ::/TAVRIN/VQ730/";
  std::string const backFolder = bench.mDir / "back";
  ASSERT_TRUE(Shell("mkdir '" + backFolder + "' && " + mcopy + "* '" + backFolder + "'"));
  std::map<std::string, std::string> back;
  for (auto const& entry : std::filesystem::directory_iterator(backFolder))
    back[entry.path().filename()] = Support::ReadBytes(entry.path());
  EXPECT_EQ(files, back) << "deleted and temporary files are gone";
}
