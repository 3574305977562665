// No failure and no crash leaves the card unreadable or a sample half
// replaced.

#include "Executable/Com/Conversion/CConverter.h"
#include "Executable/Com/Card/CModelMarshaller.h"
#include "Executable/Com/Card/FileUtilities.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using VQ7Test::CCardBench;

namespace {

// "" when the information file holds 128 records and every assigned one's
// files hold the bytes its length needs (16 frames a block of 2 x bits
// bytes; lofi records are twice as long in 4 bits); with unused, also when
// no slot has a file its record does not use.
std::string CheckCard(std::string const& volume, bool unused = false) {
  std::string const info = Support::ReadBytes(VQ7Test::CardFolderOf(volume) + "/WVCINFO0.VQD");
  if (info.size() < 128 * 23) return "information file of " + std::to_string(info.size());
  for (int slot = 0; slot < 128; ++slot) {
    unsigned char const* r = reinterpret_cast<unsigned char const*>(&info[slot * 23]);
    uint64_t const length = (uint64_t{r[8]} << 24) | (r[9] << 16) | (r[10] << 8) | r[11];
    uint64_t const needed = (length * (r[12] == 1 ? 2 : 1) + 15) / 16 * (r[12] == 1 ? 8 : 16);
    for (int side = 0; side < 2; ++side) {
      char name[32];
      std::snprintf(name, sizeof name, "/SMP%04X%c.VQD", slot, side ? 'R' : 'L');
      std::string const path = VQ7Test::CardFolderOf(volume) + name;
      if (length > 0 && side < (r[13] ? 2 : 1)) {
        if (Support::ReadBytes(path).size() < needed)
          return std::string("missing or short ") + name;
      } else if (unused && Support::Exists(path)) {
        return std::string("unused ") + name;
      }
    }
  }
  return "";
}

// "" when the card is whole, the model in memory is what the card says and
// no temporary of ours is left.
std::string Whole(CCardBench& bench, bool unused = true) {
  std::ostringstream model;
  VQ7::CModelMarshaller().Marahsll(bench.Controller().Model())->Write(model);
  if (model.str() != Support::ReadBytes(bench.Info()).substr(0, 2944)) return "model differs";
  return CheckCard(bench.mVolume, unused) + VQ7Test::TemporariesIn(bench.Folder()) +
         VQ7Test::TemporariesIn(VQ7::GetTemporaryDirectoryName());
}

}  // namespace

// Each file step of imports, cancels, deletes and an export fails in turn;
// the run where none fails shows what each writes.
TEST(CardSafetyTest, EveryFileStepFailingInTurnLeavesAWholeCard) {
  CCardBench bench;
  VQ7::CController& controller = bench.Controller();
  std::string const stereo = bench.MakeWave("s.aif", "-r 44100 -n -b 16 -c 2 synth 4000s sine 50");
  std::string const mono = bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 3100s sine 90");
  ASSERT_TRUE(bench.Open(0, 0) && controller.Import(stereo));
  ASSERT_TRUE(controller.SelectCurrentPad(1) && controller.Import(mono));
  std::string const base = bench.mDir / "base", destination = bench.mDir / "export.aif";
  fs::copy(bench.Folder(), base, fs::copy_options::recursive);
  struct {
    char const* name;
    char op;  // import, cancelled import, delete, export
    long pad;
    std::string source, view;
  } const cases[] = {{"shorter mono over stereo", 'i', 0, mono, "23456"},
                     {"stereo onto an empty pad", 'i', 2, stereo, "23456"},
                     {"Converting", 'c', 2, stereo, "23456"},
                     {"Copying", 'c', 2, stereo, "23456"},
                     {"delete stereo", 'd', 0, "", "3456"},
                     {"delete mono, no right channel", 'd', 1, "", "3456"},
                     {"export", 'e', 0, "", ""}};
  // What the run where nothing fails writes: the codec's coding of each
  // channel and the record of an import, the decoded pad of an export.
  auto const check = [&](char op, std::string const& source, long pad) {
    if (op == 'e') {
      EXPECT_EQ(VQ7Test::Interleave(
                    {VQ7Test::DecodeChannel(VQ7Test::Bytes(base + "/SMP0000L.VQD"), 4000, 8),
                     VQ7Test::DecodeChannel(VQ7Test::Bytes(base + "/SMP0000R.VQD"), 4000, 8)}),
                VQ7Test::ReadBySox(destination));
    }
    if (op != 'i') return;
    std::vector<int16_t> const samples = VQ7Test::ReadBySox(source);
    int const channels = source == stereo ? 2 : 1;
    for (int c = 0; c < 2; ++c)
      EXPECT_EQ(
          c < channels ? VQ7Test::EncodeChannel(samples, channels, c, 8)
                       : std::vector<unsigned char>(),
          VQ7Test::Bytes(bench.Folder() + "/SMP000" + std::to_string(pad) + "LR"[c] + ".VQD"));
    VQ7::CSampleParameter const& p = controller.Model().SampleParameter(0, pad);
    long const frames = samples.size() / channels, length = (frames + 15) / 16 * 16;
    EXPECT_EQ(
        (std::vector<long>{0, length, length, 0, channels == 2, 1, 0, 0, 127, 0, 0}),
        (std::vector<long>{p.mField0, p.mField1, p.mLength, p.mLofi, p.mStereo, p.mField5, p.mFlag6,
                           p.mFlag7, p.mField8, p.mTempo1 - VQ7::CConverter::ComputeBpm(frames),
                           p.mTempo2 - p.mTempo1}));
  };
  for (auto const& c : cases) {
    std::string const old = Support::ReadBytes(base + "/WVCINFO0.VQD");
    ASSERT_TRUE(bench.Open(0, c.pad));
    VQ7::CModel emptiedModel(controller.Model());
    emptiedModel.SampleParameter(0, c.pad) = VQ7::CSampleParameter();
    std::ostringstream emptied;
    VQ7::CModelMarshaller().Marahsll(emptiedModel)->Write(emptied);
    std::string updated, exported;
    long steps = 0;
    for (long failAt = 0; failAt <= steps; ++failAt) {
      fs::remove_all(bench.Folder());
      fs::copy(base, bench.Folder(), fs::copy_options::recursive);
      Support::WriteBytes(destination, "earlier");
      ASSERT_TRUE(bench.Open(0, c.pad));
      bench.Messages().clear();
      bench.mView.mCalls.clear();
      bench.mFiles.mFailAt = failAt;
      bench.mFiles.mSteps = 0;
      if (c.op == 'c') {
        bench.mDomain.mProgress = boost::make_shared<VQ7Test::CCancellingProgress>();
        static_cast<VQ7Test::CCancellingProgress&>(*bench.mDomain.mProgress).mCancelAt = c.name;
      }
      bool const result = c.op == 'd' ? controller.Delete(c.pad)
                          : c.op == 'e'
                              ? controller.Export(destination, SL::CWaveFileFormat::FormAiff)
                              : controller.Import(c.source);
      bench.mFiles.mFailAt = 0;
      bench.mDomain.mProgress.reset();
      std::string const info = Support::ReadBytes(bench.Info());
      std::string const where = std::string(c.name) + ", step " + std::to_string(failAt);
      if (failAt == 0) {
        ASSERT_TRUE(result) << where;
        check(c.op, c.source, c.pad);
        updated = info;
        exported = Support::ReadBytes(destination);
        steps = bench.mFiles.mSteps;
      }
      // A step that fails after the commit (removing an unused file or a
      // temporary) is no failure of the work; one before it may have
      // committed the pad empty first.
      EXPECT_EQ(result ? 0u : 1u, bench.Messages().size()) << where;
      bool const committed = info == updated && info != old;
      EXPECT_TRUE(committed || info == old || (!result && info == emptied.str())) << where;
      EXPECT_TRUE(c.op == 'c' || c.op == 'e' || committed == result) << where;
      EXPECT_EQ(c.view, bench.mView.mCalls) << where;
      EXPECT_EQ("", Whole(bench, false) + VQ7Test::TemporariesIn(bench.mDir.Path())) << where;
      ASSERT_TRUE(bench.Open(0, c.pad));
      EXPECT_EQ("", CheckCard(bench.mVolume, true)) << where << ": unused files go at the latest";
      std::string const out = Support::ReadBytes(destination);
      EXPECT_TRUE(out == "earlier" || out == exported) << where;
    }
  }
}

// The body of the child that the kill test starts; skips in a normal run.
TEST(CardKillChild, ImportsAndDeletesUntilKilled) {
  char const* volume = std::getenv("VQ7_KILL_CARD");
  char const* sources = std::getenv("VQ7_KILL_SOURCES");
  if (volume == nullptr || sources == nullptr) GTEST_SKIP() << "started by the kill test only";
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  CCardBench bench;
  std::mt19937 random(static_cast<unsigned>(::getpid()));
  bench.Controller().SelectCurrentVolume(volume, 0);
  Support::WriteBytes(std::string(sources) + "/started", "");
  for (int i = 0; i < 100000; ++i) {
    long const pad = static_cast<long>(random() % 4);
    bench.Controller().SelectCurrentPad(pad);
    if (bench.Controller().IsPadValid(pad) && random() % 3 == 0)
      bench.Controller().Delete(pad);
    else
      bench.Controller().Import(std::string(sources) + (random() % 2 ? "/1.wav" : "/2.wav"));
  }
  std::_Exit(0);
}

TEST(CardSafetyTest, KilledAtRandomMomentsTheCardStaysWhole) {
  CCardBench bench;
  for (std::string c : {"1", "2"})
    ASSERT_NE("", bench.MakeWave(c + ".wav", "-r 44100 -n -b 16 -c " + c + " synth 0.3 sine 5"));
  fs::create_directory(bench.mDir / "tmp");
  Support::CScopedEnv card("VQ7_KILL_CARD", bench.mVolume);
  Support::CScopedEnv sources("VQ7_KILL_SOURCES", bench.mDir.Path());
  Support::CScopedEnv temp("TMPDIR", bench.mDir / "tmp");  // the child's private folders
  std::mt19937 random(20261206);
  int assigned = 0;
  for (int round = 0; round < 10; ++round) {
    fs::remove(bench.mDir / "started");
    pid_t const child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // a fresh process image: no threads of this one carried over
      int const null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::execl("/proc/self/exe", "vq7_tests", "--gtest_filter=CardKillChild.*", nullptr);
      ::_exit(127);
    }
    // Killed at a random moment of its work, however slow it is to start.
    for (int wait = 0; wait < 3000 && !Support::Exists(bench.mDir / "started"); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 300));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;
    EXPECT_EQ("", CheckCard(bench.mVolume)) << round;
    ASSERT_TRUE(bench.Open(0, 0)) << round;
    EXPECT_EQ("", Whole(bench)) << round << ": opening clears the temporaries";
    for (long pad = 0; pad < 4; ++pad) assigned += bench.Controller().IsPadValid(pad);
  }
  EXPECT_GT(assigned, 0) << "the children never got to change the card";
}
