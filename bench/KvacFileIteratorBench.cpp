// Samples per second through the compressed per-channel file iterators
// (interleaved stereo in, two in-memory streams out, and back), beside the
// raw block codec on the same signal.
#include <benchmark/benchmark.h>

#include <cmath>
#include <istream>
#include <ostream>
#include <streambuf>
#include <vector>

#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"
#include "SL/Com/Kvac/KvacBlock.h"
#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

namespace {

std::size_t const kFrames = 44100 * 4;
std::size_t const kBlockFrames = SL::nKvacBlockFrames;
std::size_t const kBlockBytes = SL::KvacBlockBytes(8);

std::vector<short> Signal(std::size_t frames, int channels) {
  std::vector<short> out(frames * channels);
  unsigned noise = 1;
  for (std::size_t i = 0; i < out.size(); ++i) {
    noise = noise * 1103515245u + 12345u;
    double v =
        12000 * std::sin(0.031 * i) + 4000 * std::sin(0.0071 * i) + ((noise >> 16) % 2000) - 1000.0;
    out[i] = static_cast<short>(v);
  }
  return out;
}

// A stream over a fixed block of memory: no allocation while writing or reading.
class CMemoryBuf : public std::streambuf {
public:
  explicit CMemoryBuf(std::size_t size) : mBytes(size) { Rewind(); }
  void Rewind() {
    setp(mBytes.data(), mBytes.data() + mBytes.size());
    setg(mBytes.data(), mBytes.data(), mBytes.data() + mBytes.size());
  }

protected:
  pos_type seekoff(off_type off, std::ios::seekdir dir, std::ios::openmode which) override {
    char* base = mBytes.data();
    off_type const size = static_cast<off_type>(mBytes.size());
    if (which & std::ios::in) {
      off_type from = dir == std::ios::beg ? 0 : dir == std::ios::cur ? gptr() - base : size;
      if (from + off < 0 || from + off > size) return pos_type(off_type(-1));
      setg(base, base + from + off, base + size);
    }
    if (which & std::ios::out) {
      off_type from = dir == std::ios::beg ? 0 : dir == std::ios::cur ? pptr() - base : size;
      if (from + off < 0 || from + off > size) return pos_type(off_type(-1));
      setp(base, base + size);
      pbump(static_cast<int>(from + off));
    }
    return pos_type(off);
  }
  pos_type seekpos(pos_type pos, std::ios::openmode which) override {
    return seekoff(off_type(pos), std::ios::beg, which);
  }

private:
  std::vector<char> mBytes;
};

SL::CSampleAttribute Attribute() {
  return SL::CSampleAttribute(SL::CBitDepth::Integer16, 44100.0, 2, kFrames,
                              GT::CEndianness::sPlatform);
}

void OutputIterator(benchmark::State& state) {
  auto const samples = Signal(kFrames, 2);
  std::size_t const bytes = (kFrames / kBlockFrames + 1) * kBlockBytes;
  CMemoryBuf lbuf(bytes), rbuf(bytes);
  auto left = boost::shared_ptr<std::ostream>(new std::ostream(&lbuf));
  auto right = boost::shared_ptr<std::ostream>(new std::ostream(&rbuf));
  std::vector<boost::shared_ptr<std::ostream> > streams = {left, right};
  for (auto _ : state) {
    SL::CKvacFileOutputSampleIterator out(8, Attribute(), streams, GT::CRange<long>(0, 0x7FFFFFFF),
                                          SL::CKvacFileOutputSampleIterator::CFinalizer());
    for (short s : samples) {
      out.Set(s);
      out.Next();
    }
    benchmark::DoNotOptimize(out.FinalFlush());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples.size()));
}
BENCHMARK(OutputIterator)->Unit(benchmark::kMillisecond)->UseRealTime();  // codes on worker threads

void InputIterator(benchmark::State& state) {
  auto const samples = Signal(kFrames, 2);
  std::size_t const bytes = (kFrames / kBlockFrames + 1) * kBlockBytes;
  CMemoryBuf lbuf(bytes), rbuf(bytes);
  {
    auto left = boost::shared_ptr<std::ostream>(new std::ostream(&lbuf));
    auto right = boost::shared_ptr<std::ostream>(new std::ostream(&rbuf));
    SL::CKvacFileOutputSampleIterator out(8, Attribute(), {left, right},
                                          GT::CRange<long>(0, 0x7FFFFFFF),
                                          SL::CKvacFileOutputSampleIterator::CFinalizer());
    for (short s : samples) {
      out.Set(s);
      out.Next();
    }
    out.FinalFlush();
  }
  auto left = boost::shared_ptr<std::istream>(new std::istream(&lbuf));
  auto right = boost::shared_ptr<std::istream>(new std::istream(&rbuf));
  std::vector<boost::shared_ptr<std::istream> > streams = {left, right};
  for (auto _ : state) {
    SL::CKvacFileInputSampleIterator in(8, Attribute(), streams, 0);
    int sum = 0;
    while (in.HasNext()) {
      sum += in.Get();
      in.Next();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples.size()));
}
BENCHMARK(InputIterator)->Unit(benchmark::kMillisecond)->UseRealTime();

// The raw codec on the same samples, one channel after the other.
void RawEncode(benchmark::State& state) {
  auto const samples = Signal(kFrames, 2);
  SL::Private::compressor c;
  unsigned char block[kBlockBytes];
  for (auto _ : state) {
    int prev = 0;
    for (std::size_t i = 0; i + kBlockFrames <= samples.size(); i += kBlockFrames) {
      prev = c.compress(&samples[i], block, prev, 8);
      benchmark::DoNotOptimize(block);
    }
    benchmark::DoNotOptimize(prev);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples.size()));
}
BENCHMARK(RawEncode)->Unit(benchmark::kMillisecond);

void RawDecode(benchmark::State& state) {
  auto const samples = Signal(kFrames, 2);
  SL::Private::compressor c;
  std::vector<unsigned char> coded(samples.size() / kBlockFrames * kBlockBytes);
  int prev = 0;
  for (std::size_t i = 0; i + kBlockFrames <= samples.size(); i += kBlockFrames) {
    prev = c.compress(&samples[i], &coded[i / kBlockFrames * kBlockBytes], prev, 8);
  }
  SL::Private::expander e;
  short out[kBlockFrames];
  for (auto _ : state) {
    prev = 0;
    for (std::size_t i = 0; i + kBlockBytes <= coded.size(); i += kBlockBytes) {
      prev = e.expand(&coded[i], out, prev, 8);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples.size()));
}
BENCHMARK(RawDecode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
