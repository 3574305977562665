// Frames per second turned from interleaved raw bytes into per-channel
// doubles, for the depths and byte orders a WAV or AIFF file brings.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "SL/Com/Wave/CChannelInterleaver.h"

#include "SL/Com/Format/BitDepthCodes.h"

namespace {

constexpr int nFrames = 44100 * 10;
constexpr int nChannels = 2;

std::vector<unsigned char> const& Noise(int bytesPerSample) {
  static std::vector<unsigned char> bytes[9];
  std::vector<unsigned char>& b = bytes[bytesPerSample];
  if (b.empty()) {
    std::mt19937 rng(7);
    b.resize(static_cast<size_t>(nFrames) * nChannels * bytesPerSample);
    for (unsigned char& c : b) c = static_cast<unsigned char>(rng());
  }
  return b;
}

template <int N, int W>
void Convert(benchmark::State& state) {
  auto const order = static_cast<GT::CEndianness::EEndian>(state.range(0));
  std::vector<unsigned char> const& bytes = Noise(W);
  for (auto _ : state) {
    auto result = SL::CChannelInterleaver::Convert<N, SL::nFloat64>(SL::CWaveFormat::Wave, bytes,
                                                                    order, nChannels);
    benchmark::DoNotOptimize(result->front().Begin());
  }
  state.SetItemsProcessed(state.iterations() * nFrames);
  state.SetLabel(order == GT::CEndianness::BigEndian ? "big endian" : "little endian");
}

BENCHMARK_TEMPLATE(Convert, SL::nInteger8, 1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Convert, SL::nInteger16, 2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Convert, SL::nInteger24, 3)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Convert, SL::nInteger32, 4)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Convert, SL::nFloat32, 4)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
