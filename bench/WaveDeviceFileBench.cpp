// A 10-minute 16-bit stereo WAV streamed into the device's per-channel files
// and back, in samples per second, beside two references on the same file:
// libsndfile converting it to IMA ADPCM, and a plain copy. The files sit in
// the page cache (each is read once before timing).

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/CFileInputSampleIterator.h"
#include "SL/Com/Stream/CFileOutputSampleIterator.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"
#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

long const kFrames = 44100L * 600;

struct CFiles {
  std::string dir, wav, left, right, back;
  CFiles() {
    char pattern[] = "/tmp/vq7-bench-XXXXXX";
    dir = mkdtemp(pattern) ? pattern : "/tmp";
    wav = dir + "/ten-minutes.wav";
    left = dir + "/L.vqd";
    right = dir + "/R.vqd";
    back = dir + "/back.wav";
    SL::CSampleAttribute const a(SL::CBitDepth::Integer16, 44100.0, 2, kFrames,
                                 GT::CEndianness::sPlatform);
    boost::shared_ptr<SL::IOutputSampleIterator> base =
        SL::CFileSampleIteratorFactory().Create(a, wav, SL::CWaveFileFormat::RiffWave);
    auto& out = dynamic_cast<SL::CFileOutputSampleIterator<SL::nInteger16>&>(*base);
    for (long i = 0; i < kFrames; ++i) {
      double const t = i / 44100.0;
      out.Set(static_cast<short>(16000 * std::sin(2 * M_PI * 440 * t)));
      out.Next();
      out.Set(static_cast<short>(12000 * std::sin(2 * M_PI * 997 * t + 0.3 * std::sin(t))));
      out.Next();
    }
    out.IsValid();
    out.mFinalizer(out.mAttribute, out.mStream, GT::CRange<long>(out.mRange.begin, out.mPosition));
  }
  ~CFiles() {
    std::error_code e;
    std::filesystem::remove_all(dir, e);
  }
};

CFiles& Files() {
  static CFiles files;
  return files;
}

void Warm(std::string const& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::vector<char> buffer(1 << 20);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
  }
}

bool WaveToDevice(CFiles const& f) {
  boost::shared_ptr<SL::IInputSampleIterator> base = SL::CFileSampleIteratorFactory().Create(f.wav);
  // Through the concrete classes, as the application's converter drives them.
  auto& in = dynamic_cast<SL::CFileInputSampleIterator<SL::nInteger16>&>(*base);
  std::vector<boost::shared_ptr<std::ostream> > streams = {
      boost::shared_ptr<std::ostream>(
          new std::ofstream(f.left.c_str(), std::ios::binary | std::ios::trunc)),
      boost::shared_ptr<std::ostream>(
          new std::ofstream(f.right.c_str(), std::ios::binary | std::ios::trunc))};
  SL::CKvacFileOutputSampleIterator device(8, in.GetAttribute(), streams,
                                           GT::CRange<long>(0, 0x7FFFFFFF),
                                           SL::CKvacFileOutputSampleIterator::CFinalizer());
  SL::CKvacFileOutputSampleIterator& out = device;
  while (in.HasNext() && out.HasNext()) {
    out.Set(in.Get());
    out.Next();
    in.Next();
  }
  return in.IsValid() && out.IsValid() && device.FinalFlush();
}

bool DeviceToWave(CFiles const& f) {
  std::vector<boost::shared_ptr<std::istream> > streams = {
      boost::shared_ptr<std::istream>(new std::ifstream(f.left.c_str(), std::ios::binary)),
      boost::shared_ptr<std::istream>(new std::ifstream(f.right.c_str(), std::ios::binary))};
  SL::CSampleAttribute const a(SL::CBitDepth::Integer16, 44100.0, 2, kFrames,
                               GT::CEndianness::sPlatform);
  SL::CKvacFileInputSampleIterator device(8, a, streams, 0);
  SL::CKvacFileInputSampleIterator& in = device;
  boost::shared_ptr<SL::IOutputSampleIterator> base = SL::CFileSampleIteratorFactory().Create(
      in.GetAttribute(), f.back, SL::CWaveFileFormat::RiffWave);
  auto& file = dynamic_cast<SL::CFileOutputSampleIterator<SL::nInteger16>&>(*base);
  SL::CFileOutputSampleIterator<SL::nInteger16>& out = file;
  while (in.HasNext() && out.HasNext()) {
    out.Set(in.Get());
    out.Next();
    in.Next();
  }
  return in.IsValid() && out.IsValid() &&
         file.mFinalizer(file.mAttribute, file.mStream,
                         GT::CRange<long>(file.mRange.begin, file.mPosition));
}

void BM_WaveToDeviceFiles(benchmark::State& state) {
  CFiles& f = Files();
  Warm(f.wav);
  for (auto _ : state) {
    if (!WaveToDevice(f)) state.SkipWithError("conversion failed");
  }
  state.SetItemsProcessed(state.iterations() * kFrames * 2);
}
BENCHMARK(BM_WaveToDeviceFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_DeviceFilesToWave(benchmark::State& state) {
  CFiles& f = Files();
  if (!WaveToDevice(f)) state.SkipWithError("no device files");
  Warm(f.left);
  Warm(f.right);
  for (auto _ : state) {
    if (!DeviceToWave(f)) state.SkipWithError("conversion failed");
  }
  state.SetItemsProcessed(state.iterations() * kFrames * 2);
}
BENCHMARK(BM_DeviceFilesToWave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The WAV side alone: every sample read through the input iterator.
void BM_WaveRead(benchmark::State& state) {
  CFiles& f = Files();
  Warm(f.wav);
  for (auto _ : state) {
    boost::shared_ptr<SL::IInputSampleIterator> base =
        SL::CFileSampleIteratorFactory().Create(f.wav);
    auto& in = dynamic_cast<SL::CFileInputSampleIterator<SL::nInteger16>&>(*base);
    int sum = 0;
    while (in.HasNext()) {
      sum += in.Get();
      in.Next();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kFrames * 2);
}
BENCHMARK(BM_WaveRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The WAV side alone: every sample written through the output iterator.
void BM_WaveWrite(benchmark::State& state) {
  CFiles& f = Files();
  for (auto _ : state) {
    SL::CSampleAttribute const a(SL::CBitDepth::Integer16, 44100.0, 2, 0,
                                 GT::CEndianness::sPlatform);
    boost::shared_ptr<SL::IOutputSampleIterator> base =
        SL::CFileSampleIteratorFactory().Create(a, f.back, SL::CWaveFileFormat::RiffWave);
    auto& out = dynamic_cast<SL::CFileOutputSampleIterator<SL::nInteger16>&>(*base);
    SL::CFileOutputSampleIterator<SL::nInteger16>& file = out;
    for (long i = 0; i < kFrames * 2 && out.HasNext(); ++i) {
      out.Set(static_cast<short>(i));
      out.Next();
    }
    if (!out.IsValid() || !file.mFinalizer(file.mAttribute, file.mStream,
                                           GT::CRange<long>(file.mRange.begin, file.mPosition))) {
      state.SkipWithError("write failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * kFrames * 2);
}
BENCHMARK(BM_WaveWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void RunReference(benchmark::State& state, std::string const& command) {
  CFiles& f = Files();
  Warm(f.wav);
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
  }
  state.SetItemsProcessed(state.iterations() * kFrames * 2);
}

void BM_ReferenceSndfileImaAdpcm(benchmark::State& state) {
  CFiles& f = Files();
  RunReference(state,
               "sndfile-convert -ima-adpcm " + f.wav + " " + f.dir + "/ima.wav >/dev/null 2>&1");
}
BENCHMARK(BM_ReferenceSndfileImaAdpcm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ReferenceCopy(benchmark::State& state) {
  CFiles& f = Files();
  RunReference(state, "cp " + f.wav + " " + f.dir + "/copy.wav");
}
BENCHMARK(BM_ReferenceCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
