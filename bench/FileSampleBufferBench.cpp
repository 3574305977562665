// A minute of 16-bit stereo written through a WAV file buffer's output
// iterator, in samples per second: the plain sequential write, which must
// never read the file, beside halving every written sample in place, which
// reads each one back.

#include "SL/Com/Buffer/CFileSampleBufferFactory.h"
#include "SL/Com/Buffer/IFileSampleBufferMixin.h"
#include "SL/Com/Buffer/ITypedSampleBuffer.h"
#include "SL/Com/Format/BitDepthCodes.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

long const kSamples = 44100L * 60 * 2;

struct CDir {
  std::string path;
  CDir() {
    char pattern[] = "/tmp/vq7-bench-XXXXXX";
    path = mkdtemp(pattern) ? pattern : "/tmp";
  }
  ~CDir() {
    std::error_code e;
    std::filesystem::remove_all(path, e);
  }
};

boost::shared_ptr<SL::ISampleBuffer> Written(std::string const& path) {
  SL::CSampleAttribute const a(SL::CBitDepth::Integer16, 44100.0, 2, 0, GT::CEndianness::sPlatform);
  boost::shared_ptr<SL::ISampleBuffer> buffer =
      SL::CFileSampleBufferFactory().Create(a, path, SL::CWaveFileFormat::RiffWave);
  if (!buffer) return buffer;
  auto& typed = dynamic_cast<SL::ITypedSampleBuffer<SL::nInteger16>&>(*buffer);
  auto out = typed.OutputBegin();
  for (long i = 0; i < kSamples; ++i, ++out) *out = static_cast<short>(i & 0x3FFF);
  return buffer;
}

void BM_FileBufferSequentialWrite(benchmark::State& state) {
  CDir dir;
  for (auto _ : state) {
    boost::shared_ptr<SL::ISampleBuffer> buffer = Written(dir.path + "/w.wav");
    if (!buffer || !dynamic_cast<SL::IFileSampleBufferMixin&>(*buffer).Finalize())
      state.SkipWithError("write failed");
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_FileBufferSequentialWrite)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void BM_FileBufferHalveInPlace(benchmark::State& state) {
  CDir dir;
  boost::shared_ptr<SL::ISampleBuffer> buffer = Written(dir.path + "/h.wav");
  if (!buffer) {
    state.SkipWithError("write failed");
    return;
  }
  auto& typed = dynamic_cast<SL::ITypedSampleBuffer<SL::nInteger16>&>(*buffer);
  for (auto _ : state) {
    auto it = typed.OutputBegin();
    for (long i = 0; i < kSamples; ++i, ++it) *it = static_cast<short>(*it / 2);
  }
  if (!dynamic_cast<SL::IFileSampleBufferMixin&>(*buffer).Finalize())
    state.SkipWithError("finalize failed");
  state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_FileBufferHalveInPlace)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
