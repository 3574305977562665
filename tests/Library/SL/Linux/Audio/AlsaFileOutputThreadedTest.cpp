#include "Platform/Audio/AlsaConfiguration.h"
#include "SL/Linux/Audio/CAudioStreamDesc.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"

#include "Support/PrivateTempDir.h"
#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

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
    auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (device->IsPlaying() && std::chrono::steady_clock::now() < limit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(device->IsPlaying());
  }  // the devices leave the layer and ALSA closes the file
  std::ifstream in(path, std::ios::binary);
  std::vector<char> const bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  std::vector<float> written(bytes.size() / sizeof(float));
  std::memcpy(written.data(), bytes.data(), written.size() * sizeof(float));
  ASSERT_GE(written.size(), samples.size());
  EXPECT_TRUE(std::equal(samples.begin(), samples.end(), written.begin()));
  EXPECT_TRUE(std::all_of(written.begin() + static_cast<long>(samples.size()), written.end(),
                          [](float f) { return f == 0.0f; }));
}
