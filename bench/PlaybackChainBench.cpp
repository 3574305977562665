// Throughput of the ring and of the playback chain on the output thread's side.
#include "SL/Com/Buffer/CRingSampleBuffer.h"
#include "SL/Com/Buffer/CSampleCopier.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"
#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"
#include "SL/Com/Playback/CSampleIteratorStereoDecorator.h"
#include "SL/Com/Buffer/CSampleTransformer.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// An endless 16-bit source.
class CEndlessSource : public SL::ITypedInputSampleIterator<SL::nInteger16> {
public:
  explicit CEndlessSource(int channels) : mIndex(0) {
    mAttribute.mBitDepth = SL::CBitDepth(SL::nInteger16);
    mAttribute.mSampleRate = 44100.0;
    mAttribute.mChannelCount = channels;
  }
  bool HasNext() override { return true; }
  void Next() override { ++mIndex; }
  SL::CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  long ToCurrentFrame(long frames) const override { return frames; }
  short Get() override { return static_cast<short>(mIndex * 7); }
  void SetLocation(long) override {}
  long GetLocation() const override { return mIndex / mAttribute.mChannelCount; }
  long TellLocation(long offset) const override { return GetLocation() + offset; }

private:
  long mIndex;
  SL::CSampleAttribute mAttribute;
};

// One thread fills a 1024-frame stereo ring with the transformer and reads it out.
void BM_RingFillAndRead(benchmark::State& state) {
  SL::CRingSampleBuffer<SL::nInteger16> ring(2, 1024, GT::CEndianness::sPlatform);
  SL::CSampleTransformer<SL::nInteger16> transformer;
  CEndlessSource source(2);
  SL::CRingSampleBuffer<SL::nInteger16>::CInputIterator reader = ring.InputBegin();
  long samples = 0;
  for (auto _ : state) {
    transformer.Transform(source, ring, SL::ISampleTransformer::CopyOnly);
    long sum = 0;
    while (ring.IsReadable()) {
      sum += reader.Get();
      ++reader;
      ++samples;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(samples);
}
BENCHMARK(BM_RingFillAndRead);

// A producer and a consumer thread through a 0.05 s stereo ring.
void BM_RingTwoThreads(benchmark::State& state) {
  long const total = 2 * 44100 * 10;
  for (auto _ : state) {
    SL::CRingSampleBuffer<SL::nInteger16> ring(2, 2205, GT::CEndianness::sPlatform);
    std::atomic<bool> stop(false);
    std::thread producer([&] {
      SL::CSampleTransformer<SL::nInteger16> transformer;
      CEndlessSource source(2);
      while (!stop.load(std::memory_order_relaxed)) {
        if (transformer.Transform(source, ring, SL::ISampleTransformer::CopyOnly) == 0) {
          std::this_thread::yield();
        }
      }
    });
    SL::CRingSampleBuffer<SL::nInteger16>::CInputIterator reader = ring.InputBegin();
    long taken = 0;
    long sum = 0;
    while (taken < total) {
      while (ring.IsReadable() && taken < total) {
        sum += reader.Get();
        ++reader;
        ++taken;
      }
    }
    stop.store(true);
    producer.join();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * total);
}
BENCHMARK(BM_RingTwoThreads)->UseRealTime()->Unit(benchmark::kMillisecond);

// What the device callback costs: the float copier pulling 512 stereo frames
// through ring, stereo and float decorators over a mono stream.
void BM_DeviceCallbackThroughChain(benchmark::State& state) {
  boost::shared_ptr<SL::IInputSampleIterator> chain(
      new SL::CSampleIteratorRingBufferingDecorator<SL::nInteger16>(
          boost::shared_ptr<SL::IInputSampleIterator>(new CEndlessSource(1)), 1.6, 104));
  chain.reset(new SL::CSampleIteratorStereoDecorator<SL::nInteger16>(chain));
  chain.reset(new SL::CSampleIteratorBitDepthConvertDecorator<SL::nInteger16, SL::nFloat32>(chain));
  SL::CSampleCopier<SL::nFloat32> copier;
  std::vector<float> memory(512 * 2);
  long frames = 0;
  for (auto _ : state) {
    unsigned long bytes = memory.size() * sizeof(float);
    unsigned long got = copier.CopyToBuffer(*chain, memory.data(), bytes);
    frames += static_cast<long>(got);
    if (got == 0) {
      state.PauseTiming();
      std::this_thread::sleep_for(std::chrono::milliseconds(15));  // let the fill thread catch up
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_DeviceCallbackThroughChain);

}  // namespace

BENCHMARK_MAIN();
