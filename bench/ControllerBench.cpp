// The controller end to end on a card folder on the same disk as the source:
//
// - ImportTenMinutesStereo: a 10-minute stereo WAV imported onto a pad
//   (converted, staged on the card, committed, every file synced); the goal
//   is within twice CopyAndWriteHalf, which copies the WAV and writes half
//   its size, both synced.
// - OpenCardAndListPads: opening the card and asking all 128 pads with the
//   card in the page cache; the goal is under 20 ms.
#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Card/CModel.h"
#include "Executable/Com/Controller/IView.h"
#include "BenchSource.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string gFolder;
std::string gSource;

class CNoView : public VQ7::IView {
public:
  void UpdataCurrentVolumeUi() override {}
  void UpdataCurrentBankUi() override {}
  void UpdataPadUi() override {}
  void UpdataImportCommandUi() override {}
  void UpdataExportCommandUi() override {}
  void UpdataDeleteCommandUi() override {}
};

class CNoBitmaps : public UL::IStateBitmapFactory {
public:
  boost::shared_ptr<UL::AStateBitmap> Create(std::string const&, long, bool, bool) override {
    return boost::shared_ptr<UL::AStateBitmap>();
  }
  std::string GetDirectoryPathName() const override { return gFolder; }
};

std::string MakeCard(std::string const& name) {
  std::string const volume = gFolder + "/" + name;
  std::filesystem::create_directories(volume + "/TAVRIN/VQ730");
  std::ofstream(volume + "/TAVRIN/VQ730/WVCINFO0.VQD", std::ios::binary)
      << std::string(128 * 23, '\0');
  return volume;
}

// No window: the progress reports to nobody.
class CDomain : public VQ7::CDomain {
public:
  CDomain() : VQ7::CDomain(boost::shared_ptr<SL::IAudioDeviceFacade>()) {}
  boost::shared_ptr<UL::IProgress> CreateProgressUi() override {
    return boost::shared_ptr<UL::IProgress>(new UL::IProgress);
  }
};

struct CBench {
  CBench() {
    domain.Initialize(bitmaps);
    domain.Controller().Initialize(view);
  }
  CNoBitmaps bitmaps;
  CNoView view;
  CDomain domain;
};

void ImportTenMinutesStereo(benchmark::State& state) {
  CBench bench;
  VQ7::CController& controller = bench.domain.Controller();
  std::string const volume = MakeCard("import");
  for (auto _ : state) {
    if (!controller.SelectCurrentVolume(volume, 0) || !controller.SelectCurrentPad(0) ||
        !controller.Import(gSource)) {
      state.SkipWithError("import failed");
      return;
    }
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(gSource)));
}

bool CopySynced(std::string const& from, std::string const& to, std::size_t limit) {
  int const in = ::open(from.c_str(), O_RDONLY);
  int const out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char> buffer(1 << 18);
  std::size_t total = 0;
  bool ok = in >= 0 && out >= 0;
  while (ok && total < limit) {
    ssize_t const n = ::read(in, buffer.data(), std::min(buffer.size(), limit - total));
    if (n <= 0) break;
    ok = ::write(out, buffer.data(), static_cast<std::size_t>(n)) == n;
    total += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(out) == 0;
  if (in >= 0) ::close(in);
  if (out >= 0) ::close(out);
  return ok;
}

void CopyAndWriteHalf(benchmark::State& state) {
  std::size_t const size = std::filesystem::file_size(gSource);
  for (auto _ : state) {
    if (!CopySynced(gSource, gFolder + "/copy.wav", size) ||
        !CopySynced(gSource, gFolder + "/half", size / 2)) {
      state.SkipWithError("copy failed");
      return;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}

void OpenCardAndListPads(benchmark::State& state) {
  CBench bench;
  VQ7::CController& controller = bench.domain.Controller();
  std::string const volume = MakeCard("open");
  long assigned = 0;
  for (auto _ : state) {
    controller.SelectCurrentVolume(volume, 0);
    for (long bank = 0; bank < VQ7::CModel::nBankCount; ++bank) {
      controller.SelectCurrentBank(bank);
      for (long pad = 0; pad < VQ7::CModel::nPadCount; ++pad)
        assigned += controller.IsPadValid(pad);
    }
  }
  benchmark::DoNotOptimize(assigned);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  char folder[] = "/tmp/vq7bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return 1;
  gFolder = folder;
  ::setenv("XDG_CONFIG_HOME", (gFolder + "/config").c_str(), 1);
  gSource = gFolder + "/source.wav";
  if (!VQ7Bench::MakeTenMinuteSource(gSource)) {
    std::fprintf(stderr, "sox is needed to make the source file\n");
    std::filesystem::remove_all(gFolder);
    return 1;
  }
  benchmark::RegisterBenchmark("ImportTenMinutesStereo", ImportTenMinutesStereo)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("CopyAndWriteHalf", CopyAndWriteHalf)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("OpenCardAndListPads", OpenCardAndListPads)
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(gFolder);
  return 0;
}
