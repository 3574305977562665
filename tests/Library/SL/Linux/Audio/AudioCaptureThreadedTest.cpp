// The capture path: ALSA's file input through the system device, the input
// device's events and refusals on the virtual one.

#include "Platform/Audio/AlsaConfiguration.h"
#include "Platform/Audio/VirtualDevice.h"
#include "SL/Com/Audio/CAudioDeviceEvent.h"
#include "SL/Com/Audio/IAudioDeviceEventListener.h"
#include "SL/Linux/Audio/CAudioStreamDesc.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"
#include "SL/Linux/Audio/CDeviceIO.h"

#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"
#include "Support/VectorSampleIterators.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

template <class Done>
bool Until(Done done) {
  for (int i = 0; i < 2000 && !done(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return done();
}

typedef TestSupport::CVectorOutputIterator<131104> CFloatSink;

class CInputListener : public SL::IAudioDeviceEventListener {
public:
  void Handle(SL::CAudioDeviceEvent const& event) override {
    (event.GetType() == SL::CAudioDeviceEvent::Input ? mInputs : mOutputs).fetch_add(1);
    if (CoreAudio::CDeviceIO::IsCallbackThread()) mOnAudioThread.fetch_add(1);
  }
  std::atomic<int> mInputs{0}, mOutputs{0}, mOnAudioThread{0};
};

}  // namespace

// "default" reads raw frames from a file (through the null device): the
// recording holds them as they are, at the device's own rate.
TEST(AudioCaptureThreaded, AlsaFileInputArrivesBitExact) {
  Support::CPrivateTempDir dir;
  std::string const path = dir / "captured.raw";
  std::vector<float> fed;
  for (int i = 0; i < 6000 * 2; ++i) fed.push_back(static_cast<float>(i % 3000 + 1) / 4096.0f);
  std::string bytes(fed.size() * sizeof(float), '\0');
  std::memcpy(&bytes[0], fed.data(), bytes.size());
  ASSERT_TRUE(Support::WriteBytes(path, bytes));
  AudioLayer::SetAlsaConfiguration(
      "pcm.!default { type file slave.pcm { type null } file \"/dev/null\" infile \"" + path +
      "\" format \"raw\" }\n");
  struct CReset {
    ~CReset() { AudioLayer::SetAlsaConfiguration(""); }
  } const reset;
  SL::CCaAudioDeviceFacade facade;
  std::string const name = facade.GetDefaultInDeviceName();
  if (name.empty()) GTEST_SKIP() << "ALSA cannot open its file input here";
  CoreAudio::CAudioStreamDesc const format(CoreAudio::CDevice::NameToDeviceID(name, true), true);
  ASSERT_EQ(2u, format.mChannelsPerFrame);
  std::unique_ptr<SL::IAudioInDevice> in = facade.CreateInDevice(name);
  auto sink = boost::make_shared<CFloatSink>(fed.size(), 2);
  sink->Attribute().mSampleRate = format.mSampleRate;
  sink->mSamples.reserve(fed.size());
  ASSERT_TRUE(in->Record(sink));
  EXPECT_TRUE(Until([&] { return !in->IsRecording(); })) << "the full sink retires it";
  EXPECT_TRUE(in->Stop());
  EXPECT_EQ(fed, sink->mSamples);
}

// Listeners of an input device hear of each block, off the audio thread;
// nothing follows Stop. Refusals leave the device idle and usable.
TEST(AudioCaptureThreaded, InputEventsAndRefusals) {
  AudioLayer::CVirtualAudio audio;
  SL::CCaAudioDeviceFacade facade;
  std::unique_ptr<SL::IAudioInDevice> missing = facade.CreateInDevice("No Such Input");
  EXPECT_FALSE(missing->Record(boost::make_shared<CFloatSink>(100, 2)));
  EXPECT_FALSE(missing->IsRecording());

  std::unique_ptr<SL::IAudioInDevice> in = facade.CreateInDevice("Virtual Input");
  EXPECT_TRUE(in->Stop()) << "stopping an idle device is no failure";
  EXPECT_FALSE(in->Record(boost::shared_ptr<SL::IOutputSampleIterator>()));
  EXPECT_FALSE(in->IsRecording());

  auto listener = boost::make_shared<CInputListener>();
  in->AddAudioEventListener(listener);
  auto sink = boost::make_shared<CFloatSink>(44100 * 2 * 20, 2);
  sink->mSamples.reserve(44100 * 2 * 20);
  ASSERT_TRUE(in->Record(sink));
  EXPECT_TRUE(Until([&] { return listener->mInputs.load() >= 5; }));
  EXPECT_GT(in->GetCurrentFrame(), 0);
  EXPECT_TRUE(in->Stop());
  EXPECT_FALSE(in->IsRecording());
  std::size_t const recorded = sink->mSamples.size();
  int const heard = listener->mInputs.load();
  ASSERT_TRUE(audio.Input().WaitUntilIdle(std::chrono::milliseconds(10000)));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(recorded, sink->mSamples.size());
  EXPECT_EQ(heard, listener->mInputs.load());
  EXPECT_EQ(0, listener->mOutputs.load());
  EXPECT_EQ(0, listener->mOnAudioThread.load());
  // Each block is 512 frames of silence: the frames match the events' count.
  EXPECT_EQ(0u, recorded % (512 * 2));
  EXPECT_LE(static_cast<std::size_t>(heard), recorded / (512 * 2));
}
