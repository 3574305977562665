// Encoding and decoding speed of the device's block coding, in samples per
// second on one core.

#include "SL/Com/Kvac/KvacBlock.h"
#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int nBlocks = 4096;
constexpr int nFrames = SL::nKvacBlockFrames;

// A music-like signal: a few partials with a slow envelope and some noise.
const std::vector<short>& Music() {
  static const std::vector<short> signal = [] {
    std::vector<short> s(nBlocks * nFrames);
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 300.0);
    for (size_t i = 0; i < s.size(); ++i) {
      const double t = static_cast<double>(i) / 44100.0;
      const double envelope = 0.5 + 0.5 * std::sin(2.0 * M_PI * 0.7 * t);
      double v = 9000.0 * std::sin(2.0 * M_PI * 220.0 * t) +
                 5000.0 * std::sin(2.0 * M_PI * 1375.0 * t) +
                 2500.0 * std::sin(2.0 * M_PI * 5100.0 * t);
      v = v * envelope + noise(rng);
      s[i] = static_cast<short>(std::lround(std::max(-32768.0, std::min(32767.0, v))));
    }
    return s;
  }();
  return signal;
}

// Full-scale white noise: every block takes the unpredicted mode.
const std::vector<short>& Noise() {
  static const std::vector<short> signal = [] {
    std::vector<short> s(nBlocks * nFrames);
    std::mt19937 rng(2);
    std::uniform_int_distribution<int> full(-32768, 32767);
    for (short& v : s) v = static_cast<short>(full(rng));
    return s;
  }();
  return signal;
}

const std::vector<short>& Signal(int64_t kind) { return kind == 0 ? Music() : Noise(); }

void Encode(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const std::vector<short>& in = Signal(state.range(1));
  std::vector<unsigned char> out(nBlocks * SL::KvacBlockBytes(bits));
  SL::Private::compressor c;
  for (auto _ : state) {
    int prev = 0;
    for (int b = 0; b < nBlocks; ++b) {
      prev = c.compress(&in[b * nFrames], &out[b * SL::KvacBlockBytes(bits)], prev, bits);
    }
    benchmark::DoNotOptimize(prev);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * nBlocks * nFrames);
}

void Decode(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const std::vector<short>& signal = Signal(state.range(1));
  std::vector<unsigned char> coded(nBlocks * SL::KvacBlockBytes(bits));
  SL::Private::compressor c;
  int prev = 0;
  for (int b = 0; b < nBlocks; ++b)
    prev = c.compress(&signal[b * nFrames], &coded[b * SL::KvacBlockBytes(bits)], prev, bits);
  std::vector<short> out(nBlocks * nFrames);
  SL::Private::expander e;
  for (auto _ : state) {
    int last = 0;
    for (int b = 0; b < nBlocks; ++b) {
      last = e.expand(&coded[b * SL::KvacBlockBytes(bits)], &out[b * nFrames], last, bits);
    }
    benchmark::DoNotOptimize(last);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * nBlocks * nFrames);
}

}  // namespace

// Arguments: coded bits per sample, signal (0 music-like, 1 white noise).
BENCHMARK(Encode)->ArgNames({"bits", "noise"})->Args({8, 0})->Args({4, 0})->Args({8, 1});
BENCHMARK(Decode)->ArgNames({"bits", "noise"})->Args({8, 0})->Args({4, 0})->Args({8, 1});

BENCHMARK_MAIN();
