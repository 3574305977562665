#include "Platform/Audio/AlsaConfiguration.h"
#include "Platform/Audio/AudioHardware.h"
#include "SL/Linux/Audio/CAudioStreamDesc.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"

#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"
#include "Support/VectorSampleIterators.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

enum EEnd { None, Drain, Drop };
// How the first PCM since the last look was ended. Only our own calls count:
// ALSA's plugins call these again on their slaves, and closing drops, on the
// same thread, possibly after the test has looked.
std::atomic<int> gFirstEnd(None);
thread_local int tDepth = 0;

template <class Result, class... Arguments>
Result Forward(char const* name, Arguments... arguments) {
  ++tDepth;
  Result const result =
      reinterpret_cast<Result (*)(Arguments...)>(dlsym(RTLD_NEXT, name))(arguments...);
  --tDepth;
  return result;
}

int Note(EEnd end, char const* name, snd_pcm_t* pcm) {
  int none = None;
  if (tDepth == 0) gFirstEnd.compare_exchange_strong(none, end);
  return Forward<int>(name, pcm);
}

}  // namespace

// Counted on their way to ALSA: whether a stop lets the queue play out.
extern "C" int snd_pcm_drain(snd_pcm_t* pcm) { return Note(Drain, "snd_pcm_drain", pcm); }
extern "C" int snd_pcm_drop(snd_pcm_t* pcm) { return Note(Drop, "snd_pcm_drop", pcm); }
extern "C" int snd_pcm_close(snd_pcm_t* pcm) { return Forward<int>("snd_pcm_close", pcm); }

namespace {

// Points the layer's system devices at ALSA's file output for one scope:
// "default" writes raw frames to a file, through the null device.
class CAlsaFileOutput {
public:
  explicit CAlsaFileOutput(std::string const& path) {
    AudioLayer::SetAlsaConfiguration("pcm.!default { type file slave.pcm { type null } file \"" +
                                     path + "\" format \"raw\" }\n");
  }
  ~CAlsaFileOutput() { AudioLayer::SetAlsaConfiguration(""); }
};

// Polls for up to 10 s.
template <class Done>
bool Until(Done done) {
  for (int i = 0; i < 2000 && !done(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return done();
}

}  // namespace

TEST(AlsaFileOutputThreaded, BytesWrittenAreTheFramesPlayedThenSilence) {
  Support::CPrivateTempDir dir;
  std::string const path = dir / "played.raw";
  std::vector<float> samples, frames;
  {
    CAlsaFileOutput const alsa(path);
    SL::CCaAudioDeviceFacade facade;
    std::string const name = facade.GetDefaultOutDeviceName();
    if (name.empty()) GTEST_SKIP() << "ALSA cannot open its file output here";
    AudioDeviceId const id = CoreAudio::CDevice::NameToDeviceID(name, false);
    CoreAudio::CAudioStreamDesc const format(id, false);
    std::uint32_t alive = 0, size = sizeof alive;
    ASSERT_EQ(kAudioStatusOk,
              AudioDeviceGetProperty(id, 0, false, kAudioPropertyDeviceIsAlive, &size, &alive));
    EXPECT_EQ(1u, alive) << "an ALSA device that opened is alive";
    ASSERT_EQ(2u, format.mChannelsPerFrame);
    ASSERT_EQ(kAudioFormatFlagIsFloat, format.mFormatFlags & kAudioFormatFlagIsFloat);
    for (int i = 0; i < 9000 * 2; ++i)
      samples.push_back(static_cast<float>(i % 4000 + 1) / 8192.0f);
    // At the device's own rate, so the frames pass unconverted.
    std::unique_ptr<SL::IAudioOutDevice> device = facade.CreateOutDevice(name);
    auto const play = [&](std::vector<float> const& played) {
      return device->Play(boost::shared_ptr<SL::IInputSampleIterator>(
          new TestSupport::CVectorInputIterator<131104>(played, 2, format.mSampleRate)));
    };
    auto const ended = [] {
      Until([] { return gFirstEnd.load() != None; });
      return gFirstEnd.exchange(None);
    };
    gFirstEnd.store(None);
    ASSERT_TRUE(play(samples));
    EXPECT_TRUE(Until([&] { return !device->IsPlaying(); }));
    EXPECT_EQ(Drain, ended()) << "played out: what ALSA holds is the end of the sound";
    // The next Play starts the file anew: read it once ALSA has closed it.
    Until([&] {
      std::string const bytes = Support::ReadBytes(path);
      frames.resize(bytes.size() / sizeof(float));
      std::memcpy(frames.data(), bytes.data(), frames.size() * sizeof(float));
      return frames.size() >= samples.size();
    });
    ASSERT_TRUE(play(std::vector<float>(48000 * 2, 0.25f)));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(device->Stop());
    EXPECT_EQ(Drop, ended()) << "stopped in the middle: what is queued goes at once";
  }  // the devices leave the layer
  ASSERT_GE(frames.size(), samples.size());
  EXPECT_TRUE(std::equal(samples.begin(), samples.end(), frames.begin()));
  EXPECT_TRUE(std::all_of(frames.begin() + static_cast<long>(samples.size()), frames.end(),
                          [](float f) { return f == 0.0f; }));
}
