// The preview player: what reaches the output device, and every refusal.

#include "Executable/Com/Controller/CPlayer.h"

#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"
#include "Support/FileBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

// An output device that hands the stream to the test instead of a sound card.
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
    ++mPlays;
    return true;
  }
  bool IsPlaying() const override { return mSource && mSource->HasNext(); }
  bool Stop() override {
    mSource.reset();
    return true;
  }
  // Everything the stream still gives, as the device would take it.
  std::vector<float> Drain() {
    std::vector<float> out;
    auto& floats = dynamic_cast<SL::ITypedInputSampleIterator<131104>&>(*mSource);
    while (floats.HasNext()) {
      out.push_back(floats.Get());
      floats.Next();
    }
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
  int GetOutDeviceCount() const override { return mWorks ? 1 : 0; }
  std::vector<std::string> GetInDeviceNames() const override { return {}; }
  std::vector<std::string> GetOutDeviceNames() const override {
    return std::vector<std::string>(GetOutDeviceCount(), "test");
  }
  std::string GetDefaultInDeviceName() const override { return ""; }
  std::string GetDefaultOutDeviceName() const override { return mWorks ? "test" : ""; }
  std::unique_ptr<SL::IAudioInDevice> CreateInDevice(std::string const&) const override {
    return nullptr;
  }
  std::unique_ptr<SL::IAudioOutDevice> CreateOutDevice(std::string const&) const override {
    mDevice = new CTestOutDevice(mWorks);
    return std::unique_ptr<SL::IAudioOutDevice>(mDevice);
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
  CTestOutDevice& device = *facade->mDevice;
  ASSERT_TRUE(player.IsPlaying());
  EXPECT_EQ(1, observer->mCalls);
  EXPECT_EQ(2, device.mSource->GetAttribute().mChannelCount);
  EXPECT_EQ(131104, device.mSource->GetAttribute().mBitDepth.GetValue());
  player.PlayLinearWave(mono);  // ignored while playing
  EXPECT_EQ(1, device.mPlays);
  std::vector<float> expected;
  std::string const coded = Support::ReadBytes(file);
  for (int16_t s :
       VQ7Test::DecodeChannel(std::vector<unsigned char>(coded.begin(), coded.end()), 4000, 8)) {
    expected.push_back(s / 32767.0f);
    expected.push_back(s / 32767.0f);
  }
  EXPECT_EQ(expected, device.Drain());
  EXPECT_FALSE(player.IsPlaying());

  player.PlayLinearWave(mono);
  EXPECT_EQ(2, device.mPlays);
  EXPECT_EQ(1, observer->mCalls) << "a file preview tells no pad view";
  EXPECT_EQ(8000u, device.Drain().size());
  player.Stop();
  EXPECT_TRUE(bench.Messages().empty());
}

TEST(CPlayerThreaded, RefusalsReportTheirMessageAndPlayNothing) {
  auto const facade = boost::make_shared<CTestFacade>(true);
  VQ7Test::CCardBench bench(facade);
  VQ7::CPlayer& player = bench.mDomain.Player();
  std::string const fifo = bench.mDir / "fifo.wav";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  std::string const wide = bench.MakeWave("w.wav", "-r 44100 -n -b 24 -c 1 synth 4000s sine 80");
  std::string const many = bench.MakeWave("c.wav", "-r 44100 -n -b 16 -c 80 synth 100s sine 80");
  struct {
    std::function<void()> play;
    char const* message;
  } const cases[] = {
      {[&] { player.PlayLinearWave(bench.mDir / "missing.wav"); }, "Failed to load"},
      {[&] { player.PlayLinearWave(fifo); }, "Failed to load"},
      {[&] { player.PlayLinearWave(wide); }, "Failed to load"},
      {[&] { player.PlayLinearWave(many); }, "Failed to load"},
      {[&] { player.PlayKvacWave({bench.Folder() + "/SMP0000L.VQD"}, false, 100); },
       "Playback failed."},
  };
  for (auto const& c : cases) {
    bench.Messages().clear();
    c.play();
    ASSERT_EQ(1u, bench.Messages().size()) << c.message;
    EXPECT_EQ(0u, bench.Messages()[0].find(c.message)) << bench.Messages()[0];
    EXPECT_EQ(0, facade->mDevice->mPlays);
  }

  // No output device at all.
  auto const none = boost::make_shared<CTestFacade>(false);
  player.SetDeviceFacade(none);
  bench.Messages().clear();
  player.PlayLinearWave(bench.MakeWave("m.wav", "-r 44100 -n -b 16 -c 1 synth 400s sine 80"));
  EXPECT_EQ(std::vector<std::string>{"Playback failed."}, bench.Messages());
  player.SetDeviceBufferTime(-1.0);
  player.SetDeviceBufferTime(1e300);
  EXPECT_EQ(0.06, player.GetDeviceBufferTime()) << "bad times leave the time as it was";
}
