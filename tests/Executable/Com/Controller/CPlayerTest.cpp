// The preview player: what reaches the output device, and every refusal.

#include "Executable/Com/Controller/CPlayer.h"

#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Hands the stream to the test. A device that does not work refuses to
// play, as one whose name matches no device does.
struct CTestDevice : SL::IAudioOutDevice {
  std::string GetDeviceName() const override { return ""; }
  bool IsAvailable(SL::CSampleAttribute const&) const override { return mWorks; }
  long GetCurrentFrame() const override { return 0; }
  void AddAudioEventListener(boost::shared_ptr<SL::IAudioDeviceEventListener>) override {}
  bool Play(boost::shared_ptr<SL::IInputSampleIterator> source) override {
    return mWorks && !IsPlaying() && (mSource = source, ++*mPlays);
  }
  bool IsPlaying() const override { return mSource && mSource->HasNext(); }
  bool Stop() override { return !(mSource = nullptr); }
  std::vector<float> Drain() {
    std::vector<float> out;
    auto& floats = dynamic_cast<SL::ITypedInputSampleIterator<131104>&>(*mSource);
    for (; floats.HasNext(); floats.Next()) out.push_back(floats.Get());
    return out;
  }
  bool mWorks = true;
  int* mPlays = nullptr;
  boost::shared_ptr<SL::IInputSampleIterator> mSource;
};

struct CTestFacade : SL::IAudioDeviceFacade {
  int GetInDeviceCount() const override { return 0; }
  int GetOutDeviceCount() const override { return 1; }
  std::vector<std::string> GetInDeviceNames() const override { return {}; }
  std::vector<std::string> GetOutDeviceNames() const override { return {""}; }
  std::string GetDefaultInDeviceName() const override { return ""; }
  std::string GetDefaultOutDeviceName() const override { return ""; }
  std::unique_ptr<SL::IAudioInDevice> CreateInDevice(std::string const&) const override {
    return {};
  }
  std::unique_ptr<SL::IAudioOutDevice> CreateOutDevice(std::string const&) const override {
    mDevice = new CTestDevice;
    mDevice->mWorks = mWorks;
    mDevice->mPlays = &mPlays;
    return std::unique_ptr<SL::IAudioOutDevice>(mDevice);
  }
  bool IsInDeviceAvailable(std::string const&, SL::CSampleAttribute const&) const override {
    return false;
  }
  bool IsOutDeviceAvailable(std::string const&, SL::CSampleAttribute const&) const override {
    return mWorks;
  }
  bool mWorks = true;
  mutable int mPlays = 0;
  mutable CTestDevice* mDevice = nullptr;
};

}  // namespace

TEST(CPlayerThreaded, PadsAndFilesReachTheDeviceAsStereoFloatsAndRefusalsAreReported) {
  auto const facade = boost::make_shared<CTestFacade>();
  VQ7Test::CCardBench bench(facade);
  VQ7::CPlayer& player = bench.mDomain.Player();
  std::string const sox = "-r 44100 -n -c 1 -b ";
  std::string const mono = bench.MakeWave("m.wav", sox + "16 synth 4000s sine 80");
  ASSERT_TRUE(bench.Open(0, 0) && bench.Controller().Import(mono));
  std::string const file = bench.Folder() + "/SMP0000L.VQD";

  player.PlayKvacWave({file}, false, 4000);
  player.PlayLinearWave(mono);  // ignored while playing
  EXPECT_EQ(1, facade->mPlays);
  std::vector<float> expected;
  for (int16_t s : VQ7Test::DecodeChannel(VQ7Test::Bytes(file), 4000, 8))
    expected.insert(expected.end(), 2, s / 32767.0f);
  EXPECT_EQ(expected, facade->mDevice->Drain());
  EXPECT_FALSE(player.IsPlaying());
  player.PlayLinearWave(mono);
  EXPECT_EQ(8000u, facade->mDevice->Drain().size());
  EXPECT_TRUE(bench.Messages().empty());

  std::string const fifo = bench.mDir / "fifo.wav";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  for (std::string const& path :
       {bench.mDir / "missing.wav", fifo, bench.MakeWave("w.wav", sox + "24 synth 400s sine 80"),
        bench.MakeWave("c.wav", "-r 44100 -n -c 80 synth 100s sine 80")})
    player.PlayLinearWave(path);
  player.PlayKvacWave({bench.Folder() + "/SMP0001L.VQD"}, false, 100);
  facade->mWorks = false;
  player.SetDeviceFacade(facade);  // a device that cannot play
  player.PlayLinearWave(mono);
  EXPECT_EQ(2, facade->mPlays);
  std::vector<std::string> messages(4, VQ7::CDomain::sTextCodeTable.ToText(VQ7::WaveLoadFailed));
  messages.insert(messages.end(), 2, "Playback failed.");
  EXPECT_EQ(messages, bench.Messages());
  player.SetDeviceBufferTime(1e300);
  EXPECT_EQ(0.06, player.GetDeviceBufferTime()) << "a bad time leaves the time as it was";
}
