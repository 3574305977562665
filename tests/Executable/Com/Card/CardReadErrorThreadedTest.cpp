// Card files and sources whose reads really fail with EIO, as on a failing
// card or one pulled from its reader: every operation ends with its message
// or quietly as it should, nothing escapes, and the card stays as it was.
// Each case runs in a child process with the read-failure library preloaded.

#include "Executable/Com/Card/FileUtilities.h"
#include "Executable/Com/Playback/CPlayer.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "Platform/Audio/VirtualDevice.h"
#include "SL/Com/Buffer/CFileSampleBufferFactory.h"
#include "SL/Com/Buffer/IFileSampleBufferMixin.h"
#include "SL/Com/Buffer/ITypedSampleBuffer.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

using VQ7::CDomain;

std::string Env(char const* name) {
  char const* value = std::getenv(name);
  return value ? value : "";
}

std::string Text(VQ7::ECode code) { return CDomain::sTextCodeTable.ToText(code); }

// The first bytes of a file, read where the preloaded library lets them be.
std::vector<unsigned char> Head(std::string const& path, std::size_t bytes) {
  std::vector<unsigned char> head(bytes);
  std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(head.data()), bytes);
  return head;
}

long const nPreviewFrames = 2 * 44100;

// Runs the case in a fresh process whose reads of paths containing `match`
// fail from byte `from` on; true when it ran and passed.
bool RunChild(std::string const& name, std::string const& match, long from,
              std::string const& volume, std::string const& folder) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("ASAN_OPTIONS=", 0) != 0) env.push_back(*e);
  // The library comes before a sanitizer's runtime.
  std::string const asan = Env("ASAN_OPTIONS");
  env.push_back("ASAN_OPTIONS=" + asan + (asan.empty() ? "" : ":") + "verify_asan_link_order=0");
  env.push_back(std::string("LD_PRELOAD=") + VQ7_TEST_READ_FAILURE);
  env.push_back("VQ7_EIO_MATCH=" + match);
  env.push_back("VQ7_EIO_FROM=" + std::to_string(from));
  env.push_back("VQ7_EIO_CASE=" + name);
  env.push_back("VQ7_EIO_CARD=" + volume);
  env.push_back("VQ7_EIO_DIR=" + folder);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(&e[0]);
  envp.push_back(nullptr);
  std::remove((folder + "/done").c_str());
  pid_t const child = ::fork();
  if (child == 0) {
    char const* const argv[] = {"vq7_tests", "--gtest_filter=CardReadErrorChild.*",
                                "--gtest_brief=1", nullptr};
    ::execve("/proc/self/exe", const_cast<char* const*>(argv), envp.data());
    ::_exit(127);
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0 && Support::Exists(folder + "/done");
}

}  // namespace

// Card: pad 0 a 2 s stereo sample, pad 1 a short mono one; src.wav 1 s mono.
TEST(CardReadErrorThreaded, ReadsFailingWithEioEndTheWorkCleanly) {
  struct {
    char const* name;
    char const* match;
    long from;  // first byte that fails
  } const cases[] = {{"export, right channel failing after its first blocks", "/SMP0000R", 20000},
                     {"pad preview that cannot start", "/SMP0001L", 0},
                     {"pad preview failing while it plays", "/SMP0000", 30000},
                     {"file preview that cannot start", "src.wav", 1000},
                     {"import of a source failing after its header", "src.wav", 20000},
                     {"mount table", "mountinfo", 0},
                     {"file buffer edited in place", "edit.wav", 0}};
  VQ7Test::CCardBench bench;
  ASSERT_TRUE(bench.Open(0, 0) && bench.Controller().Import(bench.MakeWave(
                                      "s.wav", "-r 44100 -n -b 16 -c 2 synth 2 sine 300")));
  ASSERT_TRUE(bench.Controller().SelectCurrentPad(1) &&
              bench.Controller().Import(
                  bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 0.5 sine 90")));
  ASSERT_NE("", bench.MakeWave("src.wav", "-r 44100 -n -b 16 -c 1 synth 1 sine 200"));
  auto const card = Support::TreeOf(bench.mVolume);
  for (auto const& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(RunChild(c.name, c.match, c.from, bench.mVolume, bench.mDir.Path()));
    EXPECT_TRUE(card == Support::TreeOf(bench.mVolume)) << "the card changed";
    EXPECT_FALSE(Support::Exists(bench.mDir / "out.wav"));
    EXPECT_EQ("", VQ7Test::TemporariesIn(bench.mDir.Path()));
  }
}

// The body of the child of the test above; skips in a normal run.
TEST(CardReadErrorChild, RunsTheCaseItIsGiven) {
  std::string const name = Env("VQ7_EIO_CASE");
  if (name.empty()) GTEST_SKIP() << "started by the read-error test only";
  std::string const dir = Env("VQ7_EIO_DIR");
  AudioLayer::CVirtualAudio audio;
  VQ7Test::CCardBench bench(boost::make_shared<SL::CCaAudioDeviceFacade>());
  bench.mVolume = Env("VQ7_EIO_CARD");
  VQ7::CPlayer& player = bench.mDomain.Player();
  std::string const pad0 = bench.Folder() + "/SMP0000";
  std::vector<std::string> expected;
  if (name.find("export") == 0) {
    ASSERT_TRUE(bench.Open(0, 0));
    EXPECT_FALSE(bench.Controller().Export(dir + "/out.wav", SL::CWaveFileFormat::RiffWave));
    expected = {Text(VQ7::ExportFailed)};
  } else if (name.find("pad preview that") == 0) {
    ASSERT_TRUE(bench.Open(0, 1));
    player.PlayKvacWave({bench.Folder() + "/SMP0001L.VQD"}, false,
                        bench.Controller().Model().SampleParameter(0, 1).mLength);
    expected = {Text(VQ7::PlaybackFailed)};
  } else if (name.find("pad preview failing") == 0) {
    // A ring shorter than the first blocks read: the failing ones are read
    // on the fill thread, while the start plays.
    player.SetRingBufferTime(0.15);
    player.PlayKvacWave({pad0 + "L.VQD", pad0 + "R.VQD"}, false, nPreviewFrames);
    ASSERT_TRUE(player.IsPlaying());
    for (int wait = 0; wait < 1000 && player.IsPlaying(); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(player.IsPlaying());
    ASSERT_TRUE(audio.Output().WaitUntilIdle(std::chrono::milliseconds(5000)));
    std::vector<float> played = audio.Output().GetOutput();
    EXPECT_LE(played.size(), 2u * nPreviewFrames);
    std::vector<float> start;
    for (int16_t s :
         VQ7Test::Interleave({VQ7Test::DecodeChannel(Head(pad0 + "L.VQD", 4096), 4096, 8),
                              VQ7Test::DecodeChannel(Head(pad0 + "R.VQD", 4096), 4096, 8)}))
      start.push_back(s / 32767.0f);
    played.resize(std::min(played.size(), start.size()));
    EXPECT_EQ(start, played) << "the start was played";
  } else if (name.find("file preview") == 0) {
    player.PlayLinearWave(dir + "/src.wav");
    expected = {Text(VQ7::WaveLoadFailed)};
  } else if (name.find("import") == 0) {
    ASSERT_TRUE(bench.Open(0, 2));
    EXPECT_FALSE(bench.Controller().Import(dir + "/src.wav"));
    expected = {Text(VQ7::ImportFailed)};
  } else if (name.find("file buffer") == 0) {
    // Written in order it never reads; an edit in place reads each sample back.
    boost::shared_ptr<SL::ISampleBuffer> const buffer = SL::CFileSampleBufferFactory().Create(
        SL::CSampleAttribute(SL::CBitDepth::Integer16, 44100.0, 1, 10, GT::CEndianness::sPlatform),
        dir + "/edit.wav", SL::CWaveFileFormat::RiffWave);
    ASSERT_TRUE(buffer);
    auto& typed = dynamic_cast<SL::ITypedSampleBuffer<SL::nInteger16>&>(*buffer);
    auto& file = dynamic_cast<SL::IFileSampleBufferMixin&>(*buffer);
    for (auto out = typed.OutputBegin(); out != typed.OutputEnd(); ++out) *out = 1000;
    EXPECT_TRUE(file.Finalize());
    for (auto half = typed.OutputBegin(); half != typed.OutputEnd(); ++half)
      *half = static_cast<short>(*half / 2);
    EXPECT_FALSE(file.Finalize());
    std::remove((dir + "/edit.wav").c_str());
  } else {
    EXPECT_TRUE(GT::GetDriveNames().empty());
    EXPECT_TRUE(VQ7::CVolumeLister().List().empty());
  }
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(expected, bench.Messages());
  EXPECT_EQ("", VQ7Test::TemporariesIn(VQ7::GetTemporaryDirectoryName()));
  Support::WriteBytes(dir + "/done", "");
}
