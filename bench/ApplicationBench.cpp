// Start-up to the main window shown with a card open, and a click on a pad
// until it is drawn, on the offscreen platform.

#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Linux/Application/CConverterApp.h"
#include "Executable/Linux/MainWindow/CMainWindow.h"
#include "GT/Linux/CIniProfile.h"
#include "Platform/Framework/UResources.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <string>

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
