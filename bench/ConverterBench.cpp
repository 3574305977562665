// Converts a WAV or AIFF file into the device's coded files and back with the
// application's converter, in a private temporary folder.
//
//   ConverterBench [benchmark options] [file.wav|file.aiff]
//
// Without a file (or VQ7_BENCH_FILE), a 10-minute stereo file is made with
// sox. Reports samples per second ("items_per_second").
#include "Executable/Com/Conversion/CConverter.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"
#include "SL/Com/Stream/IInputSampleIterator.h"
#include "BenchSource.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string gFolder;
std::string gSource;
long gFrames = 0;
int gChannels = 0;

void Import(benchmark::State& state) {
  VQ7::CConverter converter;
  for (auto _ : state) {
    std::vector<std::string> const names = converter.Import(gSource, gFolder + "/dev");
    if (names.empty()) {
      state.SkipWithError("import failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * gFrames * gChannels);
  state.SetBytesProcessed(state.iterations() * gFrames * gChannels * 2);
}

void Export(benchmark::State& state, SL::CWaveFileFormat format) {
  VQ7::CConverter converter;
  std::vector<std::string> const names = converter.Import(gSource, gFolder + "/exp");
  if (names.empty()) {
    state.SkipWithError("import failed");
    return;
  }
  for (auto _ : state) {
    if (!converter.Export(names, gFolder + "/out", format, gFrames, false)) {
      state.SkipWithError("export failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * gFrames * gChannels);
  state.SetBytesProcessed(state.iterations() * gFrames * gChannels * 2);
}

// The same file through another program, for comparison.
void Reference(benchmark::State& state, std::string const& command) {
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError(("failed: " + command).c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * gFrames * gChannels);
  state.SetBytesProcessed(state.iterations() * gFrames * gChannels * 2);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  char folder[] = "/tmp/vq7bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return 1;
  gFolder = folder;

  if (argc > 1)
    gSource = argv[1];
  else if (char const* file = std::getenv("VQ7_BENCH_FILE"))
    gSource = file;
  else {
    gSource = gFolder + "/source.wav";
    if (!VQ7Bench::MakeTenMinuteSource(gSource)) {
      std::fprintf(stderr, "give a 16-bit WAV or AIFF file (sox is needed to make one)\n");
      std::filesystem::remove_all(gFolder);
      return 1;
    }
  }

  {
    boost::shared_ptr<SL::IInputSampleIterator> probe =
        SL::CFileSampleIteratorFactory().Create(gSource);
    if (!probe) {
      std::fprintf(stderr, "%s is no WAV or AIFF file\n", gSource.c_str());
      std::filesystem::remove_all(gFolder);
      return 1;
    }
    gFrames = probe->GetAttribute().mFrameCount;
    gChannels = probe->GetAttribute().mChannelCount;
  }
  std::fprintf(stderr, "%s: %ld frames, %d channels\n", gSource.c_str(), gFrames, gChannels);

  // Wall time: the converter codes on worker threads.
  benchmark::RegisterBenchmark("ImportToDeviceFiles", Import)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("ExportToWav", Export, SL::CWaveFileFormat::RiffWave)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("ExportToAiff", Export, SL::CWaveFileFormat::FormAiff)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  std::string const quoted = "'" + gSource + "' '" + gFolder;
  benchmark::RegisterBenchmark("ReferenceSndfileImaAdpcm", Reference,
                               "sndfile-convert -ima-adpcm " + quoted + "/ima.wav' >/dev/null 2>&1")
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("ReferenceCopy", Reference, "cp " + quoted + "/copy'")
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(gFolder);
  return 0;
}
