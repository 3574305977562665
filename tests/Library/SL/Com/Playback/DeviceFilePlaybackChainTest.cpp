#include "GT/Com/Thread/CWorkerPool.h"
#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"
#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"
#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"
#include "SL/Com/Playback/CSampleIteratorStereoDecorator.h"

#include "Support/DeviceCoding.h"
#include "Support/PrivateTempDir.h"
#include "Support/ThreadCount.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

// Device files of one sample on disk: one file per channel, written by the
// compressed output iterator, and the samples an independent decoder gets
// back from their bytes.
class CDeviceSample {
public:
  CDeviceSample(Support::CPrivateTempDir const& dir, int channels, long frames, int seed)
      : mChannels(channels), mFrames(frames) {
    std::mt19937 random(seed);
    std::vector<short> interleaved;
    for (long i = 0; i < frames * channels; ++i) {
      double const tone =
          12000.0 * std::sin(0.01 * static_cast<double>(i / channels) * (1 + i % channels));
      interleaved.push_back(
          static_cast<short>(tone + static_cast<double>(random() % 2001) - 1000.0));
    }
    std::vector<boost::shared_ptr<std::ostream> > outs;
    for (int c = 0; c < channels; ++c) {
      mPaths.push_back(dir / ("SMP" + std::to_string(seed) + (c == 0 ? "L" : "R") + ".VQD"));
      outs.push_back(
          boost::shared_ptr<std::ostream>(new std::ofstream(mPaths.back(), std::ios::binary)));
    }
    {
      SL::CKvacFileOutputSampleIterator out(
          8, SL::CSampleAttribute(), outs, GT::CRange<long>(0, 0x7FFFFFFF),
          [](SL::CKvacFileOutputSampleIterator& it, GT::CRange<long> const&) {
            return it.FinalFlush();
          });
      for (short s : interleaved) {
        out.Set(s);
        out.Next();
      }
      EXPECT_TRUE(out.Finalize());
    }
    outs.clear();
    std::vector<std::vector<int16_t> > decoded;
    for (int c = 0; c < channels; ++c) {
      std::ifstream in(mPaths[static_cast<std::size_t>(c)], std::ios::binary);
      std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
      decoded.push_back(VQ7Test::DecodeChannel(bytes, static_cast<std::size_t>(frames), 8));
    }
    for (long f = 0; f < frames; ++f) {
      for (int c = 0; c < channels; ++c) {
        mExpected.push_back(decoded[static_cast<std::size_t>(c)][static_cast<std::size_t>(f)]);
      }
    }
  }

  // The card's iterator over the files, as the player opens it.
  boost::shared_ptr<SL::IInputSampleIterator> Open() const {
    std::vector<boost::shared_ptr<std::istream> > ins;
    for (std::string const& path : mPaths) {
      ins.push_back(boost::shared_ptr<std::istream>(new std::ifstream(path, std::ios::binary)));
    }
    SL::CSampleAttribute attribute;
    attribute.mSampleRate = 44100.0;
    attribute.mFrameCount = mFrames;
    return boost::shared_ptr<SL::IInputSampleIterator>(
        new SL::CKvacFileInputSampleIterator(8, attribute, ins, 0));
  }

  // The player's chain: ring, stereo for mono, float last.
  boost::shared_ptr<SL::IInputSampleIterator> Chain(double ringTime) const {
    boost::shared_ptr<SL::IInputSampleIterator> chain(
        new SL::CSampleIteratorRingBufferingDecorator<65552>(Open(), ringTime, 104));
    if (chain->GetAttribute().mChannelCount == 1) {
      chain.reset(new SL::CSampleIteratorStereoDecorator<65552>(chain));
    }
    return boost::shared_ptr<SL::IInputSampleIterator>(
        new SL::CSampleIteratorBitDepthConvertDecorator<65552, 131104>(chain));
  }

  // What the audio output must receive: two channels of s / 32767.
  std::vector<float> ExpectedFloats() const {
    std::vector<float> out;
    for (short s : mExpected) {
      float const f = static_cast<float>(s) / 32767.0f;
      out.push_back(f);
      if (mChannels == 1) {
        out.push_back(f);
      }
    }
    return out;
  }

private:
  int mChannels;
  long mFrames;
  std::vector<std::string> mPaths;
  std::vector<short> mExpected;
};

std::vector<float> ReadAvailable(SL::IInputSampleIterator& chain) {
  auto& floats = dynamic_cast<SL::ITypedInputSampleIterator<131104>&>(chain);
  std::vector<float> out;
  while (floats.HasNext()) {
    out.push_back(floats.Get());
    floats.Next();
  }
  return out;
}

}  // namespace

TEST(DeviceFilePlaybackChainThreaded, ShortMonoAndStereoSamplesComeOutWholeAsStereoFloats) {
  Support::CPrivateTempDir dir;
  ASSERT_FALSE(dir.Path().empty());
  for (int channels : {1, 2}) {
    CDeviceSample const sample(dir, channels, 1000 + 7, channels);  // shorter than the ring
    boost::shared_ptr<SL::IInputSampleIterator> chain = sample.Chain(0.6);
    EXPECT_EQ(2, chain->GetAttribute().mChannelCount);
    EXPECT_EQ(131104, chain->GetAttribute().mBitDepth.GetValue());
    EXPECT_EQ(44100.0, chain->GetAttribute().mSampleRate);
    EXPECT_EQ(sample.ExpectedFloats(), ReadAvailable(*chain)) << channels;
  }
}

TEST(DeviceFilePlaybackChainThreaded,
     LongSampleThroughASmallRingOnTheOutputThreadThenNoThreadLeft) {
  Support::CPrivateTempDir dir;
  CDeviceSample const sample(dir, 1, 44100 * 3, 7);
  std::vector<float> const expected = sample.ExpectedFloats();
  GT::CWorkerPool::Shared();  // the coding threads stay for the program's life
  int const before = TestSupport::CountProcessThreadsAtRest();
  std::vector<float> received;
  {
    boost::shared_ptr<SL::IInputSampleIterator> chain = sample.Chain(0.05);
    EXPECT_EQ(before + 1, TestSupport::CountProcessThreads());  // the fill thread
    // Like the device callback: a block every few milliseconds until the end.
    std::thread output([&] {
      auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (chain->HasNext() && std::chrono::steady_clock::now() < limit) {
        for (int n = 0; n < 2 * 441 && chain->HasNext(); ++n, chain->Next())
          received.push_back(dynamic_cast<SL::ITypedInputSampleIterator<131104>&>(*chain).Get());
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
      }
    });
    output.join();
  }
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
  std::vector<float> sound = expected;  // where the ring ran dry, silence came
  for (auto* v : {&sound, &received}) v->erase(std::remove(v->begin(), v->end(), 0.0f), v->end());
  EXPECT_EQ(sound, received);
}
