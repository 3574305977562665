#include "Platform/Audio/AlsaConfiguration.h"
#include "SL/Linux/Audio/CAudioStreamDesc.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"

#include "Support/PrivateTempDir.h"
#include "Support/VectorSampleIterators.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

enum EEnd { None, Drain, Drop };
// How the first PCM since the last look was ended; ALSA's own calls after it
// (closing drops) do not count.
std::atomic<int> gFirstEnd(None);

int Note(EEnd end, char const* name, snd_pcm_t* pcm) {
  int none = None;
  gFirstEnd.compare_exchange_strong(none, end);
  return reinterpret_cast<int (*)(snd_pcm_t*)>(dlsym(RTLD_NEXT, name))(pcm);
}

}  // namespace

// Counted on their way to ALSA: whether a stop lets the queue play out.
extern "C" int snd_pcm_drain(snd_pcm_t* pcm) { return Note(Drain, "snd_pcm_drain", pcm); }
extern "C" int snd_pcm_drop(snd_pcm_t* pcm) { return Note(Drop, "snd_pcm_drop", pcm); }

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

}  // namespace

TEST(AlsaFileOutputThreaded, BytesWrittenAreTheFramesPlayedThenSilence) {
  Support::CPrivateTempDir dir;
  std::string const path = dir / "played.raw";
  std::vector<float> samples;
  std::vector<char> written;
  {
    CAlsaFileOutput const alsa(path);
    SL::CCaAudioDeviceFacade facade;
    std::string const name = facade.GetDefaultOutDeviceName();
    if (name.empty()) {
      GTEST_SKIP() << "ALSA cannot open its file output here";
    }
    CoreAudio::CAudioStreamDesc const format(CoreAudio::CDevice::NameToDeviceID(name, false),
                                             false);
    ASSERT_EQ(2u, format.mChannelsPerFrame);
    ASSERT_EQ(kAudioFormatFlagIsFloat, format.mFormatFlags & kAudioFormatFlagIsFloat);
    for (int i = 0; i < 9000 * 2; ++i) {
      samples.push_back(static_cast<float>(i % 4000 + 1) / 8192.0f);
    }
    // At the device's own rate, so the frames pass unconverted.
    std::unique_ptr<SL::IAudioOutDevice> device = facade.CreateOutDevice(name);
    ASSERT_TRUE(device->Play(boost::shared_ptr<SL::IInputSampleIterator>(
        new TestSupport::CVectorInputIterator<131104>(samples, 2, format.mSampleRate))));
    gFirstEnd.store(None);
    auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (device->IsPlaying() && std::chrono::steady_clock::now() < limit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(device->IsPlaying());
    // Played out: what ALSA holds is the end of the sound, and plays.
    auto const settled = [] {
      for (int i = 0; i < 2000 && gFirstEnd.load() == None; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      return gFirstEnd.exchange(None);
    };
    EXPECT_EQ(Drain, settled());
    // The next Play starts the file anew: read it once ALSA has closed it.
    for (int i = 0; i < 1000 && written.size() < samples.size() * sizeof(float); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      std::ifstream in(path, std::ios::binary);
      written.assign((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Stopped in the middle: what is queued goes at once.
    std::vector<float> const tone(48000 * 2, 0.25f);
    ASSERT_TRUE(device->Play(boost::shared_ptr<SL::IInputSampleIterator>(
        new TestSupport::CVectorInputIterator<131104>(tone, 2, format.mSampleRate))));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(device->Stop());
    EXPECT_EQ(Drop, settled());
  }  // the devices leave the layer
  std::vector<float> frames(written.size() / sizeof(float));
  std::memcpy(frames.data(), written.data(), frames.size() * sizeof(float));
  ASSERT_GE(frames.size(), samples.size());
  EXPECT_TRUE(std::equal(samples.begin(), samples.end(), frames.begin()));
  EXPECT_TRUE(std::all_of(frames.begin() + static_cast<long>(samples.size()), frames.end(),
                          [](float f) { return f == 0.0f; }));
}
