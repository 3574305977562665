// Playback on the virtual device: the CPU it costs, how soon the sound
// starts, and that the IO callback allocates nothing.
#include "Platform/Audio/VirtualDevice.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"
#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"
#include "SL/Linux/Audio/CDeviceIO.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include <time.h>

namespace {

std::atomic<long> gCallbackAllocations(0);

void* Allocate(std::size_t size) {
  if (CoreAudio::CDeviceIO::IsCallbackThread()) {
    gCallbackAllocations.fetch_add(1, std::memory_order_relaxed);
  }
  void* const p = std::malloc(size != 0 ? size : 1);
  if (p == nullptr) {
    throw std::bad_alloc();
  }
  return p;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// 16-bit stereo from memory.
class CToneSource : public SL::ITypedInputSampleIterator<SL::nInteger16> {
public:
  explicit CToneSource(long frames) : mSamples(frames * 2), mIndex(0) {
    mAttribute.mBitDepth = SL::CBitDepth::Integer16;
    mAttribute.mSampleRate = 44100.0;
    mAttribute.mChannelCount = 2;
    mAttribute.mFrameCount = frames;
  }
  bool HasNext() override { return mIndex < mSamples; }
  void Next() override { ++mIndex; }
  short Get() override { return static_cast<short>((mIndex * 37) % 20000 - 10000); }
  SL::CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  long ToCurrentFrame(long frames) const override { return frames; }
  void SetLocation(long) override {}
  long GetLocation() const override { return mIndex / 2; }
  long TellLocation(long offset) const override { return GetLocation() + offset; }

private:
  long mSamples;
  long mIndex;
  SL::CSampleAttribute mAttribute;
};

// The float end of the player's chain, noting when the device takes its
// first sample.
class CFirstSampleWatch : public SL::ITypedInputSampleIterator<SL::nFloat32> {
public:
  explicit CFirstSampleWatch(boost::shared_ptr<SL::IInputSampleIterator> inner)
      : mInner(inner),
        mTyped(dynamic_cast<SL::ITypedInputSampleIterator<SL::nFloat32>*>(inner.get())) {}
  bool HasNext() override { return mTyped->HasNext(); }
  void Next() override { mTyped->Next(); }
  float Get() override {
    if (!mTaken.load(std::memory_order_relaxed)) {
      mWhen = std::chrono::steady_clock::now();
      mTaken.store(true, std::memory_order_release);
    }
    return mTyped->Get();
  }
  SL::CSampleAttribute const& GetAttribute() const override { return mTyped->GetAttribute(); }
  long ToCurrentFrame(long frames) const override { return mTyped->ToCurrentFrame(frames); }
  void SetLocation(long frame) override { mTyped->SetLocation(frame); }
  long GetLocation() const override { return mTyped->GetLocation(); }
  long TellLocation(long offset) const override { return mTyped->TellLocation(offset); }

  std::atomic<bool> mTaken{false};
  std::chrono::steady_clock::time_point mWhen;

private:
  boost::shared_ptr<SL::IInputSampleIterator> mInner;
  SL::ITypedInputSampleIterator<SL::nFloat32>* mTyped;
};

boost::shared_ptr<CFirstSampleWatch> Chain(long frames) {
  boost::shared_ptr<SL::IInputSampleIterator> ring(
      new SL::CSampleIteratorRingBufferingDecorator<SL::nInteger16>(
          boost::shared_ptr<SL::IInputSampleIterator>(new CToneSource(frames)), 0.6, 104));
  return boost::shared_ptr<CFirstSampleWatch>(
      new CFirstSampleWatch(boost::shared_ptr<SL::IInputSampleIterator>(
          new SL::CSampleIteratorBitDepthConvertDecorator<SL::nInteger16, SL::nFloat32>(ring))));
}

double ProcessSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::vector<AudioLayer::CVirtualDeviceOptions> Device(double rate) {
  AudioLayer::CVirtualDeviceOptions output;
  output.mFormat = AudioLayer::MakeFloatFormat(rate, 2);
  output.mCapacitySeconds = 12.0;
  return {output};
}

// Goal: 10 s of stereo costs under 5% of one core, whatever the device rate
// (44.1 kHz passes straight through, 48 kHz is resampled); and the IO
// callback allocates nothing.
void BM_PlayTenSecondsOfStereo(benchmark::State& state) {
  AudioLayer::CVirtualAudio audio(Device(static_cast<double>(state.range(0))));
  SL::CCaAudioDeviceFacade facade;
  std::unique_ptr<SL::IAudioOutDevice> device =
      facade.CreateOutDevice(facade.GetDefaultOutDeviceName());
  double percent = 0.0;
  long allocations = 0;
  for (auto _ : state) {
    boost::shared_ptr<CFirstSampleWatch> const chain = Chain(441000);
    long const allocationsBefore = gCallbackAllocations.load();
    double const cpuBefore = ProcessSeconds();
    auto const wallBefore = std::chrono::steady_clock::now();
    if (!device->Play(chain)) {
      state.SkipWithError("Play failed");
      return;
    }
    while (device->IsPlaying()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    double const wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    percent = 100.0 * (ProcessSeconds() - cpuBefore) / wall;
    allocations = gCallbackAllocations.load() - allocationsBefore;
    state.SetIterationTime(wall);
  }
  state.counters["cpu_percent_of_one_core"] = percent;
  state.counters["allocations_in_io_callback"] = static_cast<double>(allocations);
  if (percent >= 5.0) {
    state.SkipWithError("playback took 5% of a core or more");
  } else if (allocations != 0) {
    state.SkipWithError("the IO callback allocated");
  }
}
BENCHMARK(BM_PlayTenSecondsOfStereo)->Arg(44100)->Arg(48000)->Iterations(1)->UseManualTime();

// Goal: under 50 ms from Play to the first callback that carries source
// samples.
void BM_PlayToFirstSourceSamples(benchmark::State& state) {
  AudioLayer::CVirtualAudio audio(Device(44100.0));
  SL::CCaAudioDeviceFacade facade;
  std::unique_ptr<SL::IAudioOutDevice> device =
      facade.CreateOutDevice(facade.GetDefaultOutDeviceName());
  double worst = 0.0;
  for (auto _ : state) {
    boost::shared_ptr<CFirstSampleWatch> const chain = Chain(44100);
    auto const before = std::chrono::steady_clock::now();
    if (!device->Play(chain)) {
      state.SkipWithError("Play failed");
      return;
    }
    while (!chain->mTaken.load(std::memory_order_acquire)) {
      std::this_thread::yield();
    }
    double const seconds = std::chrono::duration<double>(chain->mWhen - before).count();
    worst = std::max(worst, seconds);
    state.SetIterationTime(seconds);
    device->Stop();
  }
  state.counters["worst_ms"] = worst * 1000.0;
  if (worst >= 0.05) {
    state.SkipWithError("the first samples came 50 ms or more after Play");
  }
}
BENCHMARK(BM_PlayToFirstSourceSamples)
    ->Iterations(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
