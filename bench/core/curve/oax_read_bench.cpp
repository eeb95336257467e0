// Speed of reading an OAX file with IP header of 200 readings of 1000 decay
// samples each (target: 30 ms), the reader alone and the whole "Otevřít OAX"
// road (read, derive, merge, with the snapshot kept for a refusal).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/c_format.h"
#include "base/zeroed_block.h"
#include "commands/curve/curve_session.h"
#include "commands/curve/no_section.h"
#include "commands/curve/oax_commands.h"
#include "core/curve/curve_window_state.h"
#include "core/curve/grid_index.h"
#include "core/curve/oax_file.h"
#include "core/curve/settings_file.h"
#include "ui/null_canvas.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace {

using namespace orv;

// 200 blocks of 1000 potential samples, 10 current samples and the row; five
// branches of 40 readings climbing the AB/2 grid.
std::string fullOaxFile() {
  std::string t =
      "ODRAM VES-VP\r\n14.05.2026 11:19:10\r\nlokalita\r\nbod\r\n;[Nastaveni]\r\n"
      ";\tZacatekOknaVP=100\r\n;\tKonecOknaVP=1750\r\n;\t[Impulse.Measurement]\r\n"
      ";\tOnTime=2000\r\n;\tOffTime=2000\r\n;\tLeadTime=0\r\n;\tDeadTime=40\r\n"
      ";\tTailTime=1800\r\n;\tSamplingPeriod=2\r\n;\r\nnam\xec\xf8"
      "en\xe9 hodnoty\r\n";
  for (int b = 1; b <= MaxBranch; ++b) {
    for (int n = 0; n < 40; ++n) {
      const int k = (b - 1) * 20 + n;
      t += cformat("U %d\r\n", MaxDecaySamples);
      for (int s = 0; s < MaxDecaySamples; ++s)
        t += cformat("%d %.5f\r\n", 2002 + 2 * s, 12.0 / (1.0 + 0.01 * s));
      t += "I 10\r\n";
      for (int s = 0; s < 10; ++s) t += cformat("%d %.3f\r\n", 2002 + 2 * s, 0.01 * s);
      t += cformat(
          "662.201 20.05 %.3f 33.02748 2.356 2.3 4 %.2f %.2f %.2f 1.00 %d 14.0 11:20:35\r\n",
          80.0 + k, gridValueOf(k), 2.0 * gridValueOf(k), 0.5 * b, b);
    }
  }
  return t;
}

class OaxFile {
 public:
  OaxFile()
      : path_(std::filesystem::temp_directory_path() /
              ("orv_oax_bench_" + std::to_string(static_cast<long>(getpid())) + ".OAX")) {
    std::ofstream(path_, std::ios::binary) << fullOaxFile();
  }
  ~OaxFile() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

void BM_ReadOax200x1000(benchmark::State& state) {
  OaxFile file;
  ZeroedBlock<CurveWindowState> s;
  for (auto _ : state) {
    s->ipWindowCount = -10;
    InstrumentReadResult r = readOaxData(*s, file.path().c_str());
    if (s->readingCount != MaxReadings) state.SkipWithError("not every reading was read");
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_ReadOax200x1000)->Unit(benchmark::kMillisecond);

void BM_OpenOax200x1000(benchmark::State& state) {
  OaxFile file;
  ZeroedBlock<CurveWindowState> s;
  setInitialCurveState(*s);
  applyDefaultSettings(*s);
  finishCurveStateConstruction(*s);
  ui::ScriptedDialogs dialogs;
  ui::NullCanvas canvas(800, 600);
  ui::RecordingChrome chrome;
  NoSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};
  for (auto _ : state) {
    dialogs.answer(file.path());
    openInstrumentFile(c);
    if (s->readingCount != MaxReadings || !dialogs.messages().empty())
      state.SkipWithError("the file was not read whole");
  }
}
BENCHMARK(BM_OpenOax200x1000)->Unit(benchmark::kMillisecond);

}  // namespace
