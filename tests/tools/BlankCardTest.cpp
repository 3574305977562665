// The try-out card of tools/blank-card.sh, made, mounted and unmounted by the
// script in whatever way this machine offers: through FUSE where the kernel
// has no FAT driver.

#include "Support/CardFixture.h"
#include "Support/FatImage.h"
#include "Support/FileBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string const sScript = "bash '" VQ7_SOURCE_DIR "/tools/blank-card.sh' ";

struct CRun {
  int status = -1;
  std::string out, err;  // standard output without its last line end; standard error
};

// Runs a command line; its standard error goes through a file in folder.
CRun Shell(std::string const& command, std::string const& folder) {
  CRun run;
  std::string const said = folder + "/said.txt";
  if (FILE* pipe = ::popen((command + " 2>'" + said + "'").c_str(), "r")) {
    char buffer[4096];
    while (std::size_t const n = std::fread(buffer, 1, sizeof buffer, pipe))
      run.out.append(buffer, n);
    int const status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  if (!run.out.empty() && run.out.back() == '\n') run.out.pop_back();
  run.err = Support::ReadBytes(said);
  ::unlink(said.c_str());
  return run;
}

// Bytes per cluster by the boot sector: bytes per sector (little-endian, at
// 11) times sectors per cluster (at 13).
unsigned ClusterBytes(std::string const& image) {
  unsigned char boot[14] = {};
  std::ifstream in(image, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(boot), sizeof boot)) return 0;
  return (boot[11] | (boot[12] << 8u)) * boot[13];
}

// The file-system type mounted last on point, or "".
std::string MountTypeOf(std::string const& point) {
  std::ifstream in("/proc/self/mountinfo");
  std::string line, type;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string id, parent, device, root, at, field;
    fields >> id >> parent >> device >> root >> at;
    if (at != point) continue;
    while (fields >> field && field != "-") {
    }
    fields >> type;
  }
  return type;
}

// An image mounted for the object's lifetime, or until Unmount: by the
// script, or (Fuse) as the script mounts it through FUSE.
class CCardMount {
public:
  CCardMount(std::string const& image, std::string const& name, std::string const& folder)
      : mFolder(folder) {
    mRun = Shell(sScript + "mount '" + image + "' " + name, folder);
    if (mRun.status == 0) mPoint = mRun.out;
  }
  static std::unique_ptr<CCardMount> Fuse(std::string const& image, std::string const& point) {
    std::unique_ptr<CCardMount> mount(new CCardMount);
    if (::mkdir(point.c_str(), 0755) == 0 && Support::CFatMount::Mount(image, point))
      mount->mPoint = point;
    return mount;
  }
  ~CCardMount() { Unmount(); }
  CCardMount(CCardMount const&) = delete;
  CCardMount& operator=(CCardMount const&) = delete;
  bool Unmount() {
    if (mPoint.empty()) return true;
    bool const done = mFolder.empty()
                          ? Support::CFatMount::Unmount(mPoint)
                          : Shell(sScript + "unmount '" + mPoint + "'", mFolder).status == 0;
    mPoint.clear();
    return done;
  }
  std::string mFolder, mPoint;  // mFolder: "" when not mounted by the script
  CRun mRun;

private:
  CCardMount() = default;
};

// Why the script's card cannot be made and checked here, or "".
std::string ToolsMissing() {
  for (char const* tool : {"mkfs.vfat", "mmd", "mcopy", "fsck.vfat", "od", "sox"})
    if (!TestSupport::HasTool(tool)) return std::string(tool) + " is not installed";
  return "";
}

// The files under two folders that differ by name or contents, with why.
std::string Differences(std::string const& expected, std::string const& actual) {
  std::map<std::string, std::string> const a = Support::TreeOf(expected),
                                           b = Support::TreeOf(actual);
  std::string said;
  for (auto const& [name, bytes] : a) {
    auto const other = b.find(name);
    if (other == b.end())
      said += name + " missing; ";
    else if (other->second != bytes)
      said +=
          name + (other->second.find_first_not_of('\0') == std::string::npos ? " holds only zeros; "
                                                                             : " differs; ");
  }
  for (auto const& entry : b)
    if (a.count(entry.first) == 0) said += entry.first + " is extra; ";
  return said;
}

}  // namespace

// Imports onto 40 pads of the script's card, mono and stereo, then again onto
// some with the other channel count: unmounted, the image passes fsck and
// holds, file for file, what the same imports leave in a folder on this disk.
// Where the script mounts through the kernel, its card is tried through FUSE
// too, mounted as the script would.
TEST(BlankCardTest, ImportsOntoTheScriptsCardEqualThoseOntoAFolder) {
  if (!ToolsMissing().empty()) GTEST_SKIP() << ToolsMissing();
  VQ7Test::CCardBench bench;
  std::string const folder = bench.mDir.Path(), local = bench.mVolume;
  int const pads = 40;
  std::vector<std::string> waves;
  for (int i = 0; i < pads; ++i) {
    std::string const channels = i % 3 == 0 ? "1" : "2";
    waves.push_back(bench.MakeWave("w" + std::to_string(i) + ".wav",
                                   "-r 44100 -n -b 16 -c " + channels + " synth 3528s sine " +
                                       std::to_string(110 + 37 * i) + " sine " +
                                       std::to_string(3000 - 41 * i)));
    ASSERT_FALSE(waves.back().empty());
  }
  // (pad, wave): every pad once, then the first eight with the other count
  // of channels.
  std::vector<std::pair<int, int>> imports;
  for (int i = 0; i < pads; ++i) imports.emplace_back(i, i);
  for (int i = 0; i < 8; ++i) imports.emplace_back(i, i % 3 == 0 ? 1 + 3 * i : 3 * i);
  auto const importAll = [&](std::string const& volume) {
    bench.mVolume = volume;
    testing::internal::CaptureStderr();  // the copy's traces
    for (auto const& [pad, wave] : imports) {
      EXPECT_TRUE(bench.Open(pad / VQ7::CModel::nPadCount, pad % VQ7::CModel::nPadCount) &&
                  bench.Controller().Import(waves[static_cast<std::size_t>(wave)]))
          << volume << ", pad " << pad;
    }
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(bench.Messages().empty()) << bench.Messages().front();
  };
  // Unmounted, the image is whole and holds what the folder holds.
  auto const check = [&](std::string const& image) {
    CRun const checked = Shell("fsck.vfat -n '" + image + "'", folder);
    EXPECT_EQ(0, checked.status) << checked.out << checked.err;
    std::string const back = image + ".files";
    ASSERT_EQ(0, ::mkdir(back.c_str(), 0755));
    ASSERT_TRUE(TestSupport::RunTool("MTOOLS_SKIP_CHECK=1 mcopy -s -n -i '" + image + "' '::*' '" +
                                     back + "'"));
    EXPECT_EQ("", Differences(local, back));
  };

  std::string const image = folder + "/card.img", name = "VQ7IMPORT" + std::to_string(::getpid());
  CRun const made = Shell(sScript + "make '" + image + "'", folder);
  ASSERT_EQ(0, made.status) << made.err;
  EXPECT_EQ(32768u, ClusterBytes(image));
  ASSERT_TRUE(TestSupport::RunTool("MTOOLS_SKIP_CHECK=1 mcopy -n -i '" + image +
                                   "' ::TAVRIN/VQ730/WVCINFO0.VQD '" +
                                   VQ7Test::CardFolderOf(local) + "'"));
  importAll(local);

  std::string const fuseMissing = Support::CFatMount::Unavailable();
  CCardMount card(image, name, folder);
  if (card.mPoint.empty()) {
    // Where FUSE works the script mounts its card through it at least.
    ASSERT_NE("", fuseMissing) << card.mRun.err;
    GTEST_SKIP() << "the script cannot mount its card here: " << card.mRun.err;
  }
  std::string const type = MountTypeOf(card.mPoint);
  std::cout << "[ mounted  ] " << type << ": " << card.mRun.err;
  importAll(card.mPoint);
  ASSERT_TRUE(card.Unmount());
  check(image);

  if (type.compare(0, 4, "fuse") == 0 || !fuseMissing.empty()) return;
  std::string const second = folder + "/fuse.img";
  ASSERT_EQ(0, Shell(sScript + "make '" + second + "'", folder).status);
  std::unique_ptr<CCardMount> const fuse = CCardMount::Fuse(second, folder + "/fuse");
  ASSERT_NE("", fuse->mPoint) << "fusefat cannot mount the script's card";
  std::cout << "[ mounted  ] fusefat, as the script would where the kernel has no FAT\n";
  importAll(fuse->mPoint);
  ASSERT_TRUE(fuse->Unmount());
  check(second);
}

// The script makes only images with the clusters that FUSE needs, and does
// not mount an older image with smaller ones through FUSE, saying why and
// what to do.
TEST(BlankCardTest, TheScriptsFuseMountNeedsLargeClusters) {
  if (!ToolsMissing().empty()) GTEST_SKIP() << ToolsMissing();
  Support::CPrivateTempDir dir;
  std::string const image = dir / "card.img";
  for (char const* size : {"127", "2048", "64", "x"}) {
    CRun const made = Shell(sScript + "make '" + image + "' " + size, dir.Path());
    EXPECT_NE(0, made.status) << size;
    EXPECT_NE(std::string::npos, made.err.find("size must be 128 to 2047 MB")) << made.err;
    EXPECT_EQ(std::set<std::string>{}, Support::FolderNames(dir.Path())) << size;
  }
  CRun const made = Shell(sScript + "make '" + image + "' 128", dir.Path());
  ASSERT_EQ(0, made.status) << made.err;
  EXPECT_EQ(32768u, ClusterBytes(image));

  // An image the script made before, with mkfs.vfat's clusters.
  std::string const old = dir / "old.img";
  ASSERT_TRUE(TestSupport::RunTool("{ truncate -s 64M '" + old + "' && mkfs.vfat -F 16 -n VQ730 '" +
                                   old + "' && MTOOLS_SKIP_CHECK=1 mmd -i '" + old +
                                   "' ::TAVRIN ::TAVRIN/VQ730; }"));
  ASSERT_EQ(2048u, ClusterBytes(old));
  std::string const before = Support::ReadBytes(old);
  std::string const name = "VQ7OLD" + std::to_string(::getpid());
  CCardMount card(old, name, dir.Path());
  std::string const type = MountTypeOf(card.mPoint);
  if (!card.mPoint.empty() && type.compare(0, 4, "fuse") != 0)
    GTEST_SKIP() << "the kernel's FAT driver mounts it here (" << type << ")";
  if (!Support::CFatMount::Unavailable().empty())
    GTEST_SKIP() << "the script falls back to no FUSE here: " << Support::CFatMount::Unavailable();
  EXPECT_NE(0, card.mRun.status);
  for (std::string const& said : std::vector<std::string>{
           "has clusters of 2048 bytes", "needs 32 KB clusters", "remove " + old, "make NEWIMAGE"})
    EXPECT_NE(std::string::npos, card.mRun.err.find(said)) << card.mRun.err;
  EXPECT_EQ("", card.mPoint) << "mounted through " << type;
  EXPECT_TRUE(before == Support::ReadBytes(old)) << "the image was changed";
}
