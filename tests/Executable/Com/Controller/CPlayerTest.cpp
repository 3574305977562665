// The preview player: what reaches the output device, and every refusal.

#include "Executable/Com/Controller/CPlayer.h"

#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// An output device that hands the stream to the test; one that does not
// work refuses to play, as a device of a name that matches nothing does.
class CTestOutDevice : public SL::IAudioOutDevice {
public:
  explicit CTestOutDevice(bool works) : mWorks(works) {}
  std::string GetDeviceName() const override { return "test"; }
  bool IsAvailable(SL::CSampleAttribute const&) const override { return mWorks; }
  long GetCurrentFrame() const override { return 0; }
  void AddAudioEventListener(boost::shared_ptr<SL::IAudioDeviceEventListener>) override {}
  bool Play(boost::shared_ptr<SL::IInputSampleIterator> source) override {
    if (!mWorks || IsPlaying()) return false;
    mSource = source;
    return ++mPlays;
  }
  bool IsPlaying() const override { return mSource && mSource->HasNext(); }
  bool Stop() override {
    mSource.reset();
    return true;
  }
  std::vector<float> Drain() {
    std::vector<float> out;
    auto& floats = dynamic_cast<SL::ITypedInputSampleIterator<131104>&>(*mSource);
    for (; floats.HasNext(); floats.Next()) out.push_back(floats.Get());
    return out;
  }
  bool mWorks;
  int mPlays = 0;
  boost::shared_ptr<SL::IInputSampleIterator> mSource;
};

class CTestFacade : public SL::IAudioDeviceFacade {
public:
  explicit CTestFacade(bool works) : mWorks(works) {}
  int GetInDeviceCount() const override { return 0; }
  int GetOutDeviceCount() const override { return mWorks; }
  std::vector<std::string> GetInDeviceNames() const override { return {}; }
  std::vector<std::string> GetOutDeviceNames() const override { return {}; }
  std::string GetDefaultInDeviceName() const override { return ""; }
  std::string GetDefaultOutDeviceName() const override { return mWorks ? "test" : ""; }
  std::unique_ptr<SL::IAudioInDevice> CreateInDevice(std::string const&) const override {
    return nullptr;
  }
  std::unique_ptr<SL::IAudioOutDevice> CreateOutDevice(std::string const&) const override {
    return std::unique_ptr<SL::IAudioOutDevice>(mDevice = new CTestOutDevice(mWorks));
  }
  bool IsInDeviceAvailable(std::string const&, SL::CSampleAttribute const&) const override {
    return false;
  }
  bool IsOutDeviceAvailable(std::string const&, SL::CSampleAttribute const&) const override {
    return mWorks;
  }
  bool mWorks;
  mutable CTestOutDevice* mDevice = nullptr;
};

class CPlayObserver : public GT::IMvcObserver {
public:
  void Update(boost::any const&, boost::any const&, boost::any const&) override { ++mCalls; }
  int mCalls = 0;
};

}  // namespace

TEST(CPlayerThreaded, PadsAndFilesReachTheDeviceAsStereoFloats) {
  auto const facade = boost::make_shared<CTestFacade>(true);
  VQ7Test::CCardBench bench(facade);
  VQ7::CPlayer& player = bench.mDomain.Player();
  auto const observer = boost::make_shared<CPlayObserver>();
  player.AddView(observer);
  std::string const mono = bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 4000s sine 80");
  ASSERT_TRUE(bench.Open(0, 0));
  ASSERT_TRUE(bench.Controller().Import(mono));
  std::string const file = bench.Folder() + "/SMP0000L.VQD";

  player.PlayKvacWave({file}, false, 4000);
  ASSERT_TRUE(player.IsPlaying());
  player.PlayLinearWave(mono);  // ignored while playing
  CTestOutDevice& device = *facade->mDevice;
  EXPECT_EQ(1, device.mPlays);
  EXPECT_EQ(1, observer->mCalls);
  std::string const coded = Support::ReadBytes(file);
  std::vector<float> expected;
  for (int16_t s : VQ7Test::DecodeChannel({coded.begin(), coded.end()}, 4000, 8))
    expected.insert(expected.end(), 2, s / 32767.0f);
  EXPECT_EQ(expected, device.Drain());
  EXPECT_FALSE(player.IsPlaying());

  player.PlayLinearWave(mono);
  EXPECT_EQ(1, observer->mCalls) << "a file preview tells no pad view";
  EXPECT_EQ(8000u, device.Drain().size());
  EXPECT_TRUE(bench.Messages().empty());
}

TEST(CPlayerThreaded, RefusalsReportTheirMessageAndPlayNothing) {
  auto const facade = boost::make_shared<CTestFacade>(true);
  VQ7Test::CCardBench bench(facade);
  VQ7::CPlayer& player = bench.mDomain.Player();
  std::string const fifo = bench.mDir / "fifo.wav";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  for (std::string const& path :
       {bench.mDir / "missing.wav", fifo,
        bench.MakeWave("w.wav", "-r 44100 -n -b 24 -c 1 synth 400s sine 80"),
        bench.MakeWave("c.wav", "-r 44100 -n -b 16 -c 80 synth 100s sine 80")})
    player.PlayLinearWave(path);
  player.PlayKvacWave({bench.Folder() + "/SMP0000L.VQD"}, false, 100);
  EXPECT_EQ(0, facade->mDevice->mPlays);
  std::vector<std::string> const expected(4,
                                          VQ7::CDomain::sTextCodeTable.ToText(VQ7::WaveLoadFailed));
  ASSERT_EQ(5u, bench.Messages().size());
  EXPECT_EQ(expected,
            std::vector<std::string>(bench.Messages().begin(), bench.Messages().end() - 1));
  EXPECT_EQ("Playback failed.", bench.Messages().back());

  player.SetDeviceFacade(boost::make_shared<CTestFacade>(false));  // no output device
  player.PlayLinearWave(bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 400s sine 80"));
  EXPECT_EQ("Playback failed.", bench.Messages().back());
  player.SetDeviceBufferTime(-1.0);
  player.SetDeviceBufferTime(1e300);
  EXPECT_EQ(0.06, player.GetDeviceBufferTime()) << "bad times leave the time as it was";
}
