// No failure and no crash leaves the card unreadable or a sample half
// replaced: every file step of import, delete and export is made to fail in
// turn, and a child process doing imports and deletes is killed at random.

#include "Executable/Com/Controller/CModelMarshaller.h"
#include "Executable/Com/Controller/CSampleInformationDto.h"
#include "Executable/Com/Controller/FileUtilities.h"
#include "Support/CardFixture.h"
#include "Support/FileBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using VQ7Test::CCardBench;

namespace {

// "" when the model in memory is what the card's information file says.
std::string ModelMatchesCard(CCardBench& bench) {
  VQ7::CSampleInformationDto dto;
  std::istringstream in(Support::ReadBytes(bench.Info()));
  if (!dto.Read(in)) return "card unreadable";
  boost::shared_ptr<VQ7::CModel> card = VQ7::CModelMarshaller().Unmarshall(dto);
  VQ7::CModel const& model = bench.Controller().Model();
  // Written back, the two give the same bytes exactly when they agree.
  boost::shared_ptr<VQ7::CSampleInformationDto> mine = VQ7::CModelMarshaller().Marahsll(model);
  std::ostringstream out;
  if (!mine || !mine->Write(out)) return "model not writable";
  if (out.str() != Support::ReadBytes(bench.Info()).substr(0, 2944)) return "model differs";
  return "";
}

std::string LeftTemporaries(std::string const& folder) {
  std::string names;
  for (std::string const& name : VQ7Test::TemporariesIn(folder)) names += name + " ";
  return names;
}

struct CStepCase {
  char const* name;
  long pad;
  std::function<bool(CCardBench&)> run;
};

}  // namespace

TEST(CardSafetyTest, EveryFileStepFailingInTurnLeavesAWholeCard) {
  CCardBench bench;
  std::string const stereo = bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 4000s sine 50");
  std::string const mono = bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 3100s sine 90");
  ASSERT_TRUE(bench.Open(0, 0));
  ASSERT_TRUE(bench.Controller().Import(stereo));
  std::string const base = bench.mDir / "base";
  fs::copy(bench.Folder(), base, fs::copy_options::recursive);
  std::string const destination = bench.mDir / "export.aif";

  CStepCase const cases[] = {
      {"shorter mono over stereo", 0, [&](CCardBench& b) { return b.Controller().Import(mono); }},
      {"stereo onto an empty pad", 2, [&](CCardBench& b) { return b.Controller().Import(stereo); }},
      {"delete stereo", 0, [&](CCardBench& b) { return b.Controller().Delete(0); }},
      {"export", 0,
       [&](CCardBench& b) {
         return b.Controller().Export(destination, SL::CWaveFileFormat::FormAiff);
       }},
  };
  for (CStepCase const& c : cases) {
    std::string const old = Support::ReadBytes(base + "/WVCINFO0.VQD");
    std::string updated, exported;
    long steps = 0;
    for (long failAt = 0; failAt <= steps; ++failAt) {
      fs::remove_all(bench.Folder());
      fs::copy(base, bench.Folder(), fs::copy_options::recursive);
      Support::WriteBytes(destination, "earlier");
      ASSERT_TRUE(bench.Open(0, c.pad));
      bench.Messages().clear();
      bench.mFiles.mFailAt = failAt;
      bench.mFiles.mSteps = 0;
      bool const result = c.run(bench);
      bench.mFiles.mFailAt = 0;
      std::string const info = Support::ReadBytes(bench.Info());
      std::string const where = std::string(c.name) + ", step " + std::to_string(failAt);
      if (failAt == 0) {
        ASSERT_TRUE(result) << where;
        updated = info;
        exported = Support::ReadBytes(destination);
        steps = bench.mFiles.mSteps;
        ASSERT_LT(steps, 40);
      }
      // A step that fails after the work is done (removing a temporary)
      // is no failure of the work.
      EXPECT_EQ(result ? 0u : 1u, bench.Messages().size()) << where;
      if (result) {
        EXPECT_EQ(updated, info) << where;
      }
      EXPECT_TRUE(info == old || info == updated) << where;
      EXPECT_EQ("", VQ7Test::CheckCard(bench.Volume())) << where;
      EXPECT_EQ("", ModelMatchesCard(bench)) << where;
      EXPECT_EQ("", LeftTemporaries(bench.Folder())) << where;
      EXPECT_EQ("", LeftTemporaries(bench.mDir.Path())) << where;
      EXPECT_EQ("", LeftTemporaries(VQ7::GetTemporaryDirectoryName())) << where;
      std::string const written = Support::ReadBytes(destination);
      EXPECT_TRUE(written == "earlier" || written == exported) << where;
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
  if (!bench.Controller().SelectCurrentVolume(volume, 0)) std::_Exit(3);
  for (int i = 0; i < 100000; ++i) {
    long const pad = static_cast<long>(random() % 4);
    bench.Controller().SelectCurrentPad(pad);
    if (bench.Controller().IsPadValid(pad) && random() % 3 == 0)
      bench.Controller().Delete(pad);
    else
      bench.Controller().Import(std::string(sources) + (random() % 2 ? "/m.wav" : "/s.wav"));
  }
  std::_Exit(0);
}

TEST(CardSafetyTest, KilledAtRandomMomentsTheCardStaysWhole) {
  CCardBench bench;
  ASSERT_FALSE(bench.MakeWave("s.wav", "-r 44100 -n -b 16 -c 2 synth 0.3 sine 50").empty());
  ASSERT_FALSE(bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 0.2 sine 90").empty());
  std::string const childTemp = bench.mDir / "tmp";
  fs::create_directory(childTemp);
  Support::CScopedEnv card("VQ7_KILL_CARD", bench.Volume());
  Support::CScopedEnv sources("VQ7_KILL_SOURCES", bench.mDir.Path());
  Support::CScopedEnv temp("TMPDIR", childTemp);
  std::mt19937 random(20261206);
  int assigned = 0;
  for (int round = 0; round < 10; ++round) {
    char const* argv[] = {"/proc/self/exe", "--gtest_filter=CardKillChild.*", nullptr};
    pid_t child = 0;
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    int const spawned =
        ::posix_spawn(&child, "/proc/self/exe", &quiet, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&quiet);
    ASSERT_EQ(0, spawned);
    std::this_thread::sleep_for(std::chrono::milliseconds(100 + random() % 400));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;

    std::string const where = "round " + std::to_string(round);
    EXPECT_EQ("", VQ7Test::CheckCard(bench.Volume())) << where;
    ASSERT_TRUE(bench.Open(0, 0)) << where;
    EXPECT_EQ("", LeftTemporaries(bench.Folder())) << where << ": opening clears them";
    EXPECT_EQ("", ModelMatchesCard(bench)) << where;
    for (long pad = 0; pad < 4; ++pad) assigned += bench.Controller().IsPadValid(pad);
  }
  EXPECT_GT(assigned, 0) << "the children never got to change the card";
}
