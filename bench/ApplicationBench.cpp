// Start-up to the main window shown with a card open, and a click on a pad
// until it is drawn, on the offscreen platform (or the platform named in
// QT_QPA_PLATFORM).
//
// BM_ProgressWindowCost: an import and an export of a 10-minute and a
// 10-second stereo file through the real progress window, each timed in turn
// with the same call behind a progress that reports to nobody. The counters
// give the medians and their ratio; the goal is a ratio of at most 1.15 for
// ten minutes and 1.5 for ten seconds.

#include "BenchSource.h"
#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Linux/Application/CConverterApp.h"
#include "Executable/Linux/MainWindow/CMainWindow.h"
#include "GT/Linux/CIniProfile.h"
#include "Platform/Framework/UResources.h"
#include "SL/Com/Format/CWaveFileFormat.h"
#include "UL/Com/Dialog/ATextDialog.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string const kAppDir = VQ7_BENCH_APP_DIR;

// A card folder in a private folder, remembered as the last volume.
std::string PrepareCard() {
  static std::string folder;
  if (!folder.empty()) return folder;
  char pattern[] = "/tmp/vq7bench-XXXXXX";
  folder = ::mkdtemp(pattern);
  ::setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
  std::system(("mkdir -p " + folder + "/CARD/TAVRIN/VQ730").c_str());
  std::ofstream(folder + "/CARD/TAVRIN/VQ730/WVCINFO0.VQD", std::ios::binary)
      << std::string(128 * 23, '\0');
  GT::CIniProfile().Write("Preference/VolumeName", folder + "/CARD");
  return folder;
}

CMainWindow* MainWindow() {
  for (LWindow* window : LWindow::GetWindows())
    if (CMainWindow* main = dynamic_cast<CMainWindow*>(window)) return main;
  return nullptr;
}

void BM_StartToWindowWithCard(benchmark::State& state) {
  PrepareCard();
  for (auto _ : state) {
    CConverterApp app(boost::shared_ptr<VQ7::CDomain>(new VQ7::CDomain), kAppDir);
    app.Initialize();
    if (!QTest::qWaitForWindowExposed(MainWindow()->GetWindowWidget()))
      state.SkipWithError("no window");
    state.PauseTiming();
    app.ObeyCommand(cmd_Quit, nullptr);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartToWindowWithCard)->Unit(benchmark::kMillisecond);

void BM_ClickOnPadDrawn(benchmark::State& state) {
  PrepareCard();
  CConverterApp app(boost::shared_ptr<VQ7::CDomain>(new VQ7::CDomain), kAppDir);
  app.Initialize();
  CMainWindow* window = MainWindow();
  if (!QTest::qWaitForWindowExposed(window->GetWindowWidget())) state.SkipWithError("no window");
  QPoint const pad(62 + 5 + 32, 72 + 5 + 32);
  for (auto _ : state) {
    QTest::mouseClick(window->GetWidget(), Qt::LeftButton, {}, pad);
    window->GetWidget()->repaint();
  }
}
BENCHMARK(BM_ClickOnPadDrawn)->Unit(benchmark::kMicrosecond);

// Failures go to standard error: an alert would wait for a click forever.
class CLoggedTextDialog : public UL::ATextDialog {
public:
  using UL::ATextDialog::Ask;
  EAnswer Ask(EType, EIcon, std::string const& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return AnswerOk;
  }
};

// The real progress window, or one that reports to nobody.
class CSwitchedProgressDomain : public VQ7::CDomain {
public:
  boost::shared_ptr<UL::IProgress> CreateProgressUi() override {
    if (mWindow) return VQ7::CDomain::CreateProgressUi();
    return boost::shared_ptr<UL::IProgress>(new UL::IProgress);
  }
  boost::shared_ptr<UL::ITextDialog> CreateTextDialog() override {
    return boost::shared_ptr<UL::ITextDialog>(new CLoggedTextDialog);
  }
  bool mWindow = true;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::size_t const n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_ProgressWindowCost(benchmark::State& state) {
  int const seconds = static_cast<int>(state.range(0));
  bool const exporting = state.range(1) != 0;
  std::string const folder = PrepareCard();
  std::string const source = folder + "/source" + std::to_string(seconds) + ".wav";
  if (!std::filesystem::exists(source) && !VQ7Bench::MakeSource(source, seconds)) {
    state.SkipWithError("sox is needed to make the source file");
    return;
  }
  boost::shared_ptr<CSwitchedProgressDomain> domain(new CSwitchedProgressDomain);
  CConverterApp app(domain, kAppDir);
  app.Initialize();
  VQ7::CController& controller = domain->Controller();
  // One call in milliseconds; negative when it failed.
  auto timed = [&](bool window) {
    domain->mWindow = window;
    // What an earlier call left for the windows to do is not this call's.
    QCoreApplication::processEvents();
    auto const start = std::chrono::steady_clock::now();
    bool const ok = exporting
                        ? controller.Export(folder + "/export.wav", SL::CWaveFileFormat::RiffWave)
                        : controller.Import(source);
    std::chrono::duration<double, std::milli> const took = std::chrono::steady_clock::now() - start;
    return ok ? took.count() : -1.0;
  };
  if (!controller.SelectCurrentPad(0) || (exporting && !controller.Import(source))) {
    state.SkipWithError("no sample to work on");
    return;
  }
  std::vector<double> nulls, windows, ratios;
  for (auto _ : state) {
    // Taken in turn, so a machine that slows down for a while slows both.
    double const none = timed(false);
    double const shown = timed(true);
    if (none < 0 || shown < 0) {
      state.SkipWithError(exporting ? "export failed" : "import failed");
      return;
    }
    nulls.push_back(none);
    windows.push_back(shown);
    ratios.push_back(shown / none);
    state.SetIterationTime(shown / 1000);
  }
  state.counters["null_ms"] = Median(nulls);
  state.counters["window_ms"] = Median(windows);
  state.counters["ratio"] = Median(ratios);
  state.SetLabel(std::string(exporting ? "export " : "import ") + std::to_string(seconds) + " s");
}
BENCHMARK(BM_ProgressWindowCost)
    ->Args({600, 0})
    ->Args({600, 1})
    ->UseManualTime()
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgressWindowCost)
    ->Args({10, 0})
    ->Args({10, 1})
    ->UseManualTime()
    ->Iterations(41)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int qtArgc = 1;
  static char name[] = "ApplicationBench";
  static char* qtArgv[] = {name, nullptr};
  QApplication application(qtArgc, qtArgv);
  UResources::Load(kAppDir + "/VQ7Converter.json", false);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
