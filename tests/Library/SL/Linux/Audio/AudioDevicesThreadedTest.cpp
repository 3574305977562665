#include "Platform/Audio/VirtualDevice.h"
#include "SL/Com/Audio/CAudioDeviceEvent.h"
#include "SL/Com/Audio/IAudioDeviceEventListener.h"
#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"
#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"
#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"
#include "SL/Com/Playback/CSampleIteratorStereoDecorator.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"
#include "SL/Linux/Audio/CDeviceIO.h"

#include "Support/DeviceCoding.h"
#include "Support/PrivateTempDir.h"
#include "Support/VectorSampleIterators.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <thread>

namespace {

using std::chrono::milliseconds;
typedef TestSupport::CVectorInputIterator<131104> CFloatSource;

template <class Condition>
bool Eventually(Condition condition, int ms = 10000) {
  auto const end = std::chrono::steady_clock::now() + milliseconds(ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(milliseconds(1));
  }
  return true;
}

// Stereo float frames whose samples are all distinct and non-zero, exactly
// representable: any loss, repetition or change shows.
std::vector<float> Distinct(std::size_t frames, int channels, int seed) {
  std::vector<float> samples;
  for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i) {
    samples.push_back(static_cast<float>((i + 1 + seed * 7919) % 60000 + 1) / 65536.0f);
  }
  return samples;
}

boost::shared_ptr<SL::IInputSampleIterator> Floats(std::vector<float> samples, int channels = 2,
                                                   double rate = 44100.0) {
  return boost::shared_ptr<SL::IInputSampleIterator>(new CFloatSource(samples, channels, rate));
}

std::vector<float> WithoutSilence(std::vector<float> const& samples) {
  std::vector<float> kept;
  std::copy_if(samples.begin(), samples.end(), std::back_inserter(kept),
               [](float f) { return f != 0.0f; });
  return kept;
}

// A pad's device files on disk, and what the output must receive from them.
class CPadFiles {
public:
  CPadFiles(Support::CPrivateTempDir const& dir, int channels, long frames) : mFrames(frames) {
    std::mt19937 random(static_cast<unsigned>(channels));
    std::vector<short> interleaved;
    for (long i = 0; i < frames * channels; ++i) {
      interleaved.push_back(static_cast<short>(static_cast<int>(random() % 60001) - 30000));
    }
    std::vector<boost::shared_ptr<std::ostream> > outs;
    for (int c = 0; c < channels; ++c) {
      mPaths.push_back(dir / ("SMP0010" + std::string(c == 0 ? "L" : "R") + ".VQD"));
      outs.push_back(boost::shared_ptr<std::ostream>(new std::ofstream(mPaths.back())));
    }
    SL::CKvacFileOutputSampleIterator out(8, SL::CSampleAttribute(), outs,
                                          GT::CRange<long>(0, 0x7FFFFFFF),
                                          [](SL::CKvacFileOutputSampleIterator& it,
                                             GT::CRange<long> const&) { return it.FinalFlush(); });
    for (short s : interleaved) {
      out.Set(s);
      out.Next();
    }
    EXPECT_TRUE(out.Finalize());
    outs.clear();
    std::vector<std::vector<int16_t> > decoded;
    for (std::string const& path : mPaths) {
      std::ifstream in(path, std::ios::binary);
      std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
      decoded.push_back(VQ7Test::DecodeChannel(bytes, static_cast<std::size_t>(frames), 8));
    }
    for (long f = 0; f < frames; ++f) {
      for (int c = 0; c < 2; ++c) {  // mono arrives on both channels
        short const s =
            decoded[static_cast<std::size_t>(c % channels)][static_cast<std::size_t>(f)];
        mExpected.push_back(static_cast<float>(s) / 32767.0f);
      }
    }
  }

  // The player's chain: the files, a ring, stereo for mono, float last.
  boost::shared_ptr<SL::IInputSampleIterator> Chain() const {
    std::vector<boost::shared_ptr<std::istream> > ins;
    for (std::string const& path : mPaths) {
      ins.push_back(boost::shared_ptr<std::istream>(new std::ifstream(path, std::ios::binary)));
    }
    SL::CSampleAttribute attribute;
    attribute.mSampleRate = 44100.0;
    attribute.mFrameCount = mFrames;
    boost::shared_ptr<SL::IInputSampleIterator> chain(
        new SL::CSampleIteratorRingBufferingDecorator<65552>(
            boost::shared_ptr<SL::IInputSampleIterator>(
                new SL::CKvacFileInputSampleIterator(8, attribute, ins, 0)),
            0.6, 104));
    if (mPaths.size() == 1) {
      chain.reset(new SL::CSampleIteratorStereoDecorator<65552>(chain));
    }
    return boost::shared_ptr<SL::IInputSampleIterator>(
        new SL::CSampleIteratorBitDepthConvertDecorator<65552, 131104>(chain));
  }

  std::vector<float> const& Expected() const { return mExpected; }

private:
  long mFrames;
  std::vector<std::string> mPaths;
  std::vector<float> mExpected;
};

// A stereo float source (left 0.25, right -0.25) that counts every use after
// it was closed, can run a hook from inside the device's callback once a
// given sample is reached, and can have nothing for a moment at a given one.
class CWatchedSource : public SL::ITypedInputSampleIterator<131104> {
public:
  CWatchedSource(long samples, long hookAt = -1, std::function<void()> hook = nullptr)
      : mSamples(samples), mIndex(0), mHookAt(hookAt), mHook(hook), mClosed(false), mLate(0) {
    mAttribute.mBitDepth = SL::CBitDepth(131104);
    mAttribute.mSampleRate = 44100.0;
    mAttribute.mChannelCount = 2;
  }
  bool HasNext() override {
    Touch();
    if (mIndex == mHookAt && mHook) {
      mHook();
    }
    if (mIndex == mGapAt) {
      mGapAt = -1;
      return false;
    }
    return mIndex < mSamples;
  }
  void Next() override {
    Touch();
    ++mIndex;
  }
  float Get() override {
    Touch();
    return mIndex % 2 == 0 ? 0.25f : -0.25f;
  }
  SL::CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  long ToCurrentFrame(long frames) const override { return frames; }
  void SetLocation(long) override {}
  long GetLocation() const override { return 0; }
  long TellLocation(long offset) const override { return offset; }

  void Close() { mClosed.store(true); }
  int Late() const { return mLate.load(); }
  long mGapAt = -1;

private:
  void Touch() {
    if (mClosed.load()) mLate.fetch_add(1);
  }

  long mSamples;
  long mIndex;
  long mHookAt;
  std::function<void()> mHook;
  SL::CSampleAttribute mAttribute;
  std::atomic<bool> mClosed;
  std::atomic<int> mLate;
};

class CCountingListener : public SL::IAudioDeviceEventListener {
public:
  explicit CCountingListener(std::function<void()> atThird = nullptr) : mAtThird(atThird) {}
  void Handle(SL::CAudioDeviceEvent const& event) override {
    if (event.GetType() == SL::CAudioDeviceEvent::Output) mOutputs.fetch_add(1);
    if (CoreAudio::CDeviceIO::IsCallbackThread()) mOnAudioThread.fetch_add(1);
    if (mAtThird && mOutputs.load() == 3) mAtThird();
  }
  std::atomic<int> mOutputs{0};
  std::atomic<int> mOnAudioThread{0};
  std::function<void()> mAtThird;
};

struct CSetup {
  explicit CSetup(std::uint32_t bufferFrames = 512, double rate = 44100.0)
      : audio(Options(bufferFrames, rate)) {
    out = facade.CreateOutDevice(facade.GetDefaultOutDeviceName());
  }
  static std::vector<AudioLayer::CVirtualDeviceOptions> Options(std::uint32_t bufferFrames,
                                                                double rate) {
    AudioLayer::CVirtualDeviceOptions output;
    output.mBufferFrames = bufferFrames;
    output.mFormat = AudioLayer::MakeFloatFormat(rate, 2);
    AudioLayer::CVirtualDeviceOptions input;
    input.mName = "Virtual Input";
    input.mIsInput = true;
    return {output, input};
  }
  bool PlaysOut() {
    return Eventually([this] { return !out->IsPlaying(); }) &&
           audio.Output().WaitUntilIdle(milliseconds(10000));
  }

  AudioLayer::CVirtualAudio audio;
  SL::CCaAudioDeviceFacade facade;
  std::unique_ptr<SL::IAudioOutDevice> out;
};

}  // namespace

TEST(AudioDevicePlaybackThreaded, PadFilesThroughThePlaybackChainArriveBitExactThenSilence) {
  Support::CPrivateTempDir dir;
  for (int channels : {1, 2}) {
    CSetup setup;
    CPadFiles const pad(dir, channels, 11025 + 77);  // ends inside a buffer
    ASSERT_TRUE(setup.out->Play(pad.Chain()));
    ASSERT_TRUE(setup.PlaysOut()) << channels;
    std::vector<float> const out = setup.audio.Output().GetOutput();
    std::vector<float> const& expected = pad.Expected();
    ASSERT_GE(out.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin())) << channels;
    // The rest of the last buffer, and any buffer before the device stopped, is silent.
    EXPECT_TRUE(std::all_of(out.begin() + static_cast<long>(expected.size()), out.end(),
                            [](float f) { return f == 0.0f; }));
    EXPECT_EQ(0u, out.size() % (512 * 2));
  }
}

// Nothing for a moment inside a frame keeps the channels; nothing at all
// retires at once.
TEST(AudioDevicePlaybackThreaded, ASourceWithNothingForAMomentOrAtAllPlaysOut) {
  for (long samples : {44100L, 0L}) {
    CSetup setup;
    auto source = boost::make_shared<CWatchedSource>(samples);
    source->mGapAt = 5001;  // after a left sample
    ASSERT_TRUE(setup.out->Play(source) && setup.PlaysOut());
    std::vector<float> const out = WithoutSilence(setup.audio.Output().GetOutput());
    ASSERT_EQ(static_cast<std::size_t>(samples), out.size());
    for (std::size_t i = 0; i < out.size(); ++i) ASSERT_EQ(i % 2 ? -0.25f : 0.25f, out[i]) << i;
  }
}

TEST(AudioDeviceRecordingThreaded, RecordsExactlyWhatTheInputWasFed) {
  CSetup setup;
  std::vector<float> const fed = Distinct(11025 + 300, 2, 3);
  ASSERT_EQ(fed.size(), setup.audio.Input().Feed(fed));
  std::unique_ptr<SL::IAudioInDevice> in =
      setup.facade.CreateInDevice(setup.facade.GetDefaultInDeviceName());
  EXPECT_EQ("Virtual Input", in->GetDeviceName());
  auto sink = boost::make_shared<TestSupport::CVectorOutputIterator<131104> >(fed.size(), 2);
  ASSERT_TRUE(in->Record(sink));
  EXPECT_FALSE(in->Record(sink));
  // The sink is full: the recording runs dry and is retired.
  ASSERT_TRUE(Eventually([&] { return !in->IsRecording(); }));
  EXPECT_EQ(fed, sink->mSamples);
}

TEST(AudioDeviceRecordingThreaded, ConvertsFromTheDeviceRateToTheStreamRate) {
  AudioLayer::CVirtualDeviceOptions options;
  options.mName = "Mic";
  options.mIsInput = true;
  options.mFormat = AudioLayer::MakeFloatFormat(48000.0, 2);
  AudioLayer::CVirtualAudio audio({options});
  SL::CCaAudioDeviceFacade facade;
  std::size_t const frames = 9600;
  std::vector<float> fed;
  for (std::size_t i = 0; i < frames; ++i) {
    float const tone = 0.5f * std::sin(0.03f * static_cast<float>(i));
    fed.push_back(tone);
    fed.push_back(-tone);
  }
  audio.Input().Feed(fed);
  std::unique_ptr<SL::IAudioInDevice> in = facade.CreateInDevice("Mic");
  // 16-bit mono at 44.1 kHz: rate, channels and sample format all change.
  auto sink = boost::make_shared<TestSupport::CVectorOutputIterator<65552> >(88200, 1);
  ASSERT_TRUE(in->Record(sink));
  ASSERT_TRUE(audio.Input().WaitForCycles(40, milliseconds(10000)));
  EXPECT_GT(in->GetCurrentFrame(), 0);
  EXPECT_TRUE(in->Stop());
  EXPECT_FALSE(in->IsRecording());
  // The fed tone, resampled: the left channel, about 44.1/48 as many frames.
  std::size_t last = sink->mSamples.size();
  while (last > 0 && std::abs(sink->mSamples[last - 1]) < 200) --last;
  EXPECT_NEAR(frames * 44100.0 / 48000.0, static_cast<double>(last), 60.0);
  short peak = 0;
  for (short s : sink->mSamples) peak = std::max<short>(peak, s);
  EXPECT_NEAR(16384, peak, 400);
}

// Each Play counts frames from its own start; once Stop returns, no sample
// is taken and no event follows.
TEST(AudioDeviceStopThreaded, EachPlayCountsFromItsStartAndNothingFollowsStop) {
  long const bufferFrames = 128;
  CSetup setup(bufferFrames);
  AudioLayer::CVirtualDevice& device = setup.audio.Output();
  auto listener = boost::make_shared<CCountingListener>();
  setup.out->AddAudioEventListener(listener);
  for (int round = 0; round < 6; ++round) {
    EXPECT_EQ(0, setup.out->GetCurrentFrame());
    auto source = boost::make_shared<CWatchedSource>(44100L * 20);
    unsigned long const before = device.GetCycleCount();
    ASSERT_TRUE(setup.out->Play(source));
    ASSERT_TRUE(device.WaitForCycles(before + 6, milliseconds(10000)));
    long const frame = setup.out->GetCurrentFrame();
    unsigned long const after = device.GetCycleCount();
    EXPECT_GT(frame, 0);
    EXPECT_LE(frame, static_cast<long>(after - before + 1) * bufferFrames) << round;
    EXPECT_TRUE(setup.out->Stop());
    source->Close();
    EXPECT_FALSE(setup.out->IsPlaying());
    int const heard = listener->mOutputs.load();
    std::this_thread::sleep_for(milliseconds(25));
    EXPECT_EQ(0, source->Late());
    EXPECT_EQ(heard, listener->mOutputs.load()) << round;
  }
  EXPECT_TRUE(setup.out->Stop());  // idle: nothing to do
}

TEST(AudioDeviceStopThreaded, StopFromInsideTheCallbackNeitherHangsNorBreaksTheDevice) {
  CSetup setup;
  std::atomic<bool> stopped(false);
  SL::IAudioOutDevice* const device = setup.out.get();
  auto source = boost::make_shared<CWatchedSource>(44100L * 20, 4000, [&] {
    EXPECT_TRUE(CoreAudio::CDeviceIO::IsCallbackThread());
    stopped.store(device->Stop());
  });
  ASSERT_TRUE(setup.out->Play(source));
  ASSERT_TRUE(Eventually([&] { return stopped.load(); }));
  EXPECT_FALSE(setup.out->IsPlaying());
  EXPECT_TRUE(setup.audio.Output().WaitUntilIdle(milliseconds(10000)));
  ASSERT_TRUE(setup.out->Play(Floats(Distinct(1000, 2, 1))));
  EXPECT_TRUE(setup.PlaysOut());
}

// While idle the change waits for the next Play; while playing, the sound
// goes on from where it was.
TEST(AudioDeviceStopThreaded, FormatChangeWhileIdleOrPlayingLosesNoFrame) {
  struct {
    double mStart, mRate;  // 44.1 kHz: the source's own rate, passed through
    std::uint32_t mChannels;
    bool mIdle;
  } const cases[] = {{44100, 44100, 1, false}, {48000, 48000, 1, false}, {48000, 44100, 2, false},
                     {48000, 96000, 2, false}, {48000, 22050, 1, false}, {44100, 48000, 2, true}};
  long const frames = 22050;
  std::vector<float> ramp;
  for (long i = 0; i < frames; ++i)
    ramp.insert(ramp.end(), {1.0f * i / frames, -1.0f * i / frames});
  for (auto const& c : cases) {
    CSetup setup(512, c.mStart);
    AudioLayer::CVirtualDevice& device = setup.audio.Output();
    if (c.mIdle) device.SetStreamFormat(AudioLayer::MakeFloatFormat(c.mRate, c.mChannels));
    ASSERT_TRUE(setup.out->Play(Floats(ramp)));
    ASSERT_TRUE(device.WaitForCycles(20, milliseconds(10000)));
    if (!c.mIdle) device.SetStreamFormat(AudioLayer::MakeFloatFormat(c.mRate, c.mChannels));
    ASSERT_TRUE(setup.PlaysOut());
    std::vector<float> left;  // the ramp, at whatever rate each part was played
    for (AudioLayer::CVirtualRecording const& recording : device.GetRecordings()) {
      std::vector<float> const samples = recording.Floats();
      for (std::size_t i = 0; i < samples.size(); i += recording.mFormat.mChannelsPerFrame)
        left.push_back(samples[i]);
    }
    EXPECT_EQ(c.mRate, device.GetRecordings().back().mFormat.mSampleRate);
    left = WithoutSilence(left);
    ASSERT_GT(left.size(), 300u) << c.mRate;
    if (c.mStart == 44100.0 && c.mRate == 44100.0) {  // every frame once, as it was
      std::vector<float> expected;
      for (long i = 1; i < frames; ++i) expected.push_back(ramp[2 * i]);
      EXPECT_EQ(expected, left);
    }
    if (c.mIdle) {
      EXPECT_NEAR(frames * c.mRate / c.mStart, left.size(), 40.0);
    }
    // Each step is what the rate makes of one frame's, never a frame more,
    // up to the ringing of the end; and the end is reached.
    float worst = 0.0f;
    for (std::size_t i = 1; i + 200 < left.size(); ++i)
      worst = std::max(worst, std::abs(left[i] - left[i - 1]));
    EXPECT_LT(worst, (44100.0f / c.mRate + 1.0f) / frames) << c.mRate << " " << c.mChannels;
    EXPECT_GT(*std::max_element(left.begin(), left.end()), 0.99f) << c.mRate;
  }
}

TEST(AudioDeviceStopThreaded, FormatTheStreamCannotTakeRetiresThePlayback) {
  CSetup setup;
  ASSERT_TRUE(setup.out->Play(Floats(Distinct(44100 * 20, 2, 6))));
  ASSERT_TRUE(setup.audio.Output().WaitForCycles(3, milliseconds(10000)));
  AudioStreamBasicDescription strange = AudioLayer::MakeFloatFormat(44100, 2);
  strange.mFormatID = AudioFourCharCode("aac ");
  setup.audio.Output().SetStreamFormat(strange);
  EXPECT_TRUE(Eventually([&] { return !setup.out->IsPlaying(); }, 2000));
  EXPECT_TRUE(setup.audio.Output().WaitUntilIdle(milliseconds(10000)));
}

TEST(AudioDeviceRefusalThreaded, EveryRefusalIsACleanFalseWithTheDeviceIdle) {
  struct {
    char const* mWhat;
    std::function<std::unique_ptr<SL::IAudioOutDevice>(CSetup&)> mPrepare;
    boost::shared_ptr<SL::IInputSampleIterator> mSource;
  } const cases[] = {
      {"unknown device", [](CSetup& s) { return s.facade.CreateOutDevice("No Such Device"); },
       Floats(Distinct(100, 2, 1))},
      {"start fails",
       [](CSetup& s) {
         s.audio.Output().SetStartFails(true);
         return s.facade.CreateOutDevice(s.facade.GetDefaultOutDeviceName());
       },
       Floats(Distinct(100, 2, 1))},
      {"no device at all",
       [](CSetup& s) {
         s.audio.RemoveAllDevices();
         EXPECT_EQ(0, s.facade.GetOutDeviceCount());
         EXPECT_EQ(0, s.facade.GetInDeviceCount());
         EXPECT_EQ("", s.facade.GetDefaultOutDeviceName());
         return s.facade.CreateOutDevice(s.facade.GetDefaultOutDeviceName());
       },
       Floats(Distinct(100, 2, 1))},
      {"16-bit source on a float device",
       [](CSetup& s) { return s.facade.CreateOutDevice(s.facade.GetDefaultOutDeviceName()); },
       boost::shared_ptr<SL::IInputSampleIterator>(
           new TestSupport::CVectorInputIterator<65552>({1, 2, 3, 4}, 2))},
      {"no source",
       [](CSetup& s) { return s.facade.CreateOutDevice(s.facade.GetDefaultOutDeviceName()); },
       boost::shared_ptr<SL::IInputSampleIterator>()},
  };
  for (auto const& c : cases) {
    CSetup setup;
    std::unique_ptr<SL::IAudioOutDevice> device = c.mPrepare(setup);
    EXPECT_FALSE(device->Play(c.mSource)) << c.mWhat;
    EXPECT_FALSE(device->IsPlaying()) << c.mWhat;
    EXPECT_EQ(0, device->GetCurrentFrame()) << c.mWhat;
    EXPECT_TRUE(device->Stop()) << c.mWhat;
  }
  // Busy: the second Play is refused and the first plays on.
  CSetup setup;
  ASSERT_TRUE(setup.out->Play(Floats(Distinct(22050, 2, 2))));
  EXPECT_FALSE(setup.out->Play(Floats(Distinct(100, 2, 3))));
  EXPECT_TRUE(setup.PlaysOut());
  EXPECT_EQ(Distinct(22050, 2, 2), WithoutSilence(setup.audio.Output().GetOutput()));
}

TEST(AudioDeviceRefusalThreaded, AvailabilityFollowsTheDeviceFormatKindAndBits) {
  AudioLayer::CVirtualDeviceOptions floats;
  floats.mName = "Float Device";
  AudioLayer::CVirtualDeviceOptions integers;
  integers.mName = "Integer Device";
  integers.mFormat = AudioLayer::MakeInteger16Format(48000, 1);
  AudioLayer::CVirtualDeviceOptions twin = integers;  // same name: the first wins
  twin.mFormat = AudioLayer::MakeFloatFormat(48000, 2);
  AudioLayer::CVirtualAudio audio({floats, integers, twin});
  SL::CCaAudioDeviceFacade facade;
  EXPECT_EQ((std::vector<std::string>{"Float Device", "Integer Device", "Integer Device"}),
            facade.GetOutDeviceNames());
  EXPECT_EQ("Float Device", facade.GetDefaultOutDeviceName());
  EXPECT_TRUE(facade.GetInDeviceNames().empty());
  struct {
    char const* mDevice;
    int mDepth;
    bool mAvailable;
  } const cases[] = {
      {"Float Device", 131104, true},   {"Float Device", 65552, false},
      {"Float Device", 131136, false},  {"Float Device", 262208, false},
      {"Integer Device", 65552, true},  {"Integer Device", 131104, false},
      {"Integer Device", 65568, false}, {"Nothing", 131104, false},
  };
  for (auto const& c : cases) {
    SL::CSampleAttribute const attribute(SL::CBitDepth(c.mDepth), 22050.0, 5,
                                         GT::CEndianness::sPlatform);
    EXPECT_EQ(c.mAvailable, facade.IsOutDeviceAvailable(c.mDevice, attribute))
        << c.mDevice << " " << c.mDepth;
    EXPECT_FALSE(facade.IsInDeviceAvailable(c.mDevice, attribute));
    EXPECT_EQ(c.mAvailable, facade.CreateOutDevice(c.mDevice)->IsAvailable(attribute));
  }
}

TEST(AudioDeviceStressThreaded, PlayStopPairsBackToBackPlaysAndTeardownsUnderFormatChanges) {
  CSetup setup(256);
  AudioLayer::CVirtualDevice& device = setup.audio.Output();
  std::atomic<bool> done(false);
  std::thread formats([&] {
    std::mt19937 random(1);
    for (int i = 0; !done.load(); ++i) {
      std::this_thread::sleep_for(milliseconds(5 + random() % 30));
      device.SetStreamFormat(AudioLayer::MakeFloatFormat(i % 2 ? 48000.0 : 44100.0, 2));
    }
  });
  std::mt19937 random(2);
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(setup.out->Play(Floats(Distinct(2205, 2, i))));
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    EXPECT_TRUE(setup.out->Stop());
  }
  for (int i = 0; i < 20; ++i) {
    std::unique_ptr<SL::IAudioOutDevice> doomed =
        setup.facade.CreateOutDevice(setup.facade.GetDefaultOutDeviceName());
    ASSERT_TRUE(doomed->Play(Floats(Distinct(44100, 2, i))));
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 5000));
  }
  done.store(true);
  formats.join();
  // Back to back on a steady format: every sample once, in order.
  device.SetStreamFormat(AudioLayer::MakeFloatFormat(44100.0, 2));
  ASSERT_TRUE(device.WaitUntilIdle(milliseconds(10000)));
  device.ClearOutput();
  std::vector<float> expected;
  for (int i = 0; i < 200; ++i) {
    std::vector<float> const samples = Distinct(300, 2, i);
    expected.insert(expected.end(), samples.begin(), samples.end());
    ASSERT_TRUE(setup.out->Play(Floats(samples))) << i;
    ASSERT_TRUE(Eventually([&] { return !setup.out->IsPlaying(); })) << i;
  }
  ASSERT_TRUE(device.WaitUntilIdle(milliseconds(10000)));
  EXPECT_EQ(expected, WithoutSilence(device.GetOutput()));
}

TEST(AudioDeviceEventsThreaded, ListenersHearOfBlocksOffTheAudioThreadAndMayStopOrReleaseIt) {
  for (bool release : {false, true}) {
    CSetup setup;
    std::atomic<bool> done(false);
    auto listener = boost::make_shared<CCountingListener>([&] {
      release ? setup.out.reset() : void(setup.out->Stop());  // reset: on its own runner
      done.store(true);
    });
    setup.out->AddAudioEventListener(listener);
    ASSERT_TRUE(setup.out->Play(Floats(Distinct(44100 * 10, 2, 1))));
    EXPECT_TRUE(Eventually([&] { return done.load(); }));
    EXPECT_TRUE(release || !setup.out->IsPlaying());
    EXPECT_TRUE(setup.audio.Output().WaitUntilIdle(milliseconds(10000)));
    EXPECT_EQ(3, listener->mOutputs.load()) << release;
    EXPECT_EQ(0, listener->mOnAudioThread.load());
  }
}
