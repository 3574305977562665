#include "Platform/Audio/VirtualDevice.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"

#include "Support/VectorSampleIterators.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <cmath>
#include <thread>

namespace {

double const kPi = 3.14159265358979323846;

// One second of a 440 Hz sine (left; the right channel is its negative)
// captured at the device's rate reaches a stream of a higher rate whole:
// as many frames as the second holds at the stream's rate, give or take the
// resampler's edges, with no jump anywhere, whatever the ratio.
TEST(AudioRecordingRatesThreaded, EveryCapturedFrameReachesAStreamOfAnyRate) {
  struct {
    double device;
    double stream;
  } const cases[] = {
      {22050.0, 96000.0}, {44100.0, 96000.0}, {8000.0, 192000.0}, {96000.0, 22050.0}};
  double const amplitude = 0.5;
  double const tone = 440.0;
  for (auto const& c : cases) {
    AudioLayer::CVirtualDeviceOptions options;
    options.mName = "Mic";
    options.mIsInput = true;
    options.mFormat = AudioLayer::MakeFloatFormat(c.device, 2);
    AudioLayer::CVirtualAudio audio({options});
    SL::CCaAudioDeviceFacade facade;

    std::size_t const fedFrames = static_cast<std::size_t>(c.device);
    std::vector<float> fed;
    for (std::size_t i = 0; i < fedFrames; ++i) {
      float const s = static_cast<float>(amplitude * std::sin(2 * kPi * tone * i / c.device));
      fed.push_back(s);
      fed.push_back(-s);
    }
    ASSERT_EQ(fed.size(), audio.Input().Feed(fed));

    // Room for the second and a quarter of silence after it.
    std::size_t const room = static_cast<std::size_t>(c.stream * 1.25) * 2;
    auto sink = boost::make_shared<TestSupport::CVectorOutputIterator<131104> >(room, 2);
    sink->Attribute().mSampleRate = c.stream;
    sink->mSamples.reserve(room);
    std::unique_ptr<SL::IAudioInDevice> in = facade.CreateInDevice("Mic");
    ASSERT_TRUE(in->Record(sink));
    // Full, the recording runs dry and is retired.
    auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (in->IsRecording() && std::chrono::steady_clock::now() < limit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(in->IsRecording()) << c.device << " -> " << c.stream;
    std::vector<float> const& out = sink->mSamples;
    ASSERT_EQ(room, out.size());

    std::size_t const frames = out.size() / 2;
    std::size_t first = frames;
    std::size_t last = 0;
    for (std::size_t f = 0; f < frames; ++f) {
      if (std::abs(out[2 * f]) > 0.01f) {
        first = std::min(first, f);
        last = f;
      }
    }
    ASSERT_LT(first, last);
    // The converter's latency: a few of the device's buffers at most.
    EXPECT_LT(first, static_cast<std::size_t>(4 * 512 * c.stream / c.device))
        << c.device << " -> " << c.stream;
    // Within two of the device's frames: the resampler blurs the edges.
    double const ratio = c.stream / c.device;
    EXPECT_NEAR(c.stream, static_cast<double>(last - first), 2 * std::max(ratio, 1.0) + 2)
        << c.device << " -> " << c.stream;

    // No jump: a sample moves from the last by no more than the sine can,
    // away from the edges, where the resampler rings.
    std::size_t const edge = 64 + static_cast<std::size_t>(8 * ratio);
    double const step = amplitude * 2 * kPi * tone / c.stream;
    double worst = 0.0;
    std::size_t worstAt = 0;
    for (std::size_t f = first + edge; f < last - edge; ++f) {
      double const d = std::abs(out[2 * f + 2] - out[2 * f]);
      if (d > worst) {
        worst = d;
        worstAt = f;
      }
      ASSERT_NEAR(-out[2 * f], out[2 * f + 1], 1e-6) << f;
    }
    EXPECT_LT(worst, step * 1.05 + 1e-3) << c.device << " -> " << c.stream << " at " << worstAt;
  }
}

}  // namespace
