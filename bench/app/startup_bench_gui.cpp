// Start-up of the program: the set of windows created in their order and the
// curve window shown, and the resident memory that leaves behind (the section
// database reserves ~180 MB of zero pages that cost nothing until used).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/orv_application.h"
#include "app/shell.h"
#include "qt/tulvakwin.h"
#include "ui/scripted_dialogs.h"

namespace {

long residentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    long value = 0;
    if (key == "VmRSS:" && status >> value) return value;
    status.ignore(1 << 12, '\n');
  }
  return -1;
}

void BM_StartUpToCurveWindowShown(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("orv_startup_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  long rssAfterFirst = -1;
  for (auto _ : state) {
    ui::ScriptedDialogs dialogs;
    Shell shell(&dialogs, false);
    shell.start();
    QApplication::setActiveWindow(shell.curve());
    QApplication::processEvents();
    benchmark::DoNotOptimize(shell.curve()->isVisible());
    if (rssAfterFirst < 0) rssAfterFirst = residentKiB();
    state.PauseTiming();
    shell.curve()->hide();
    state.ResumeTiming();
  }
  state.counters["rss_MB_after_first_start"] = static_cast<double>(rssAfterFirst) / 1024.0;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StartUpToCurveWindowShown)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  OrvApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
