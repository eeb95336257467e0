// Speed of the curve window's repaint with the IP display on, at 1600 x 1000:
// 60 readings in five branches, each with 1000 decay samples, 20 windows,
// the values recomputed at every repaint as for a sounding read from a file.
// Target: within 10 ms with isolines; the decay curves shown for comparison.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/support/bench_curve_window.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/ip_window_layout.h"
#include "core/interpretation/branch_merging.h"

namespace {

struct IpWindow : orv::bench::BenchCurveWindow {
  explicit IpWindow(bool isolines) {
    orv::CurveWindowState& st = *s;
    orv::bench::addFiveBranchSounding(st, 0.0);
    for (int i = 0; i < st.readingCount; ++i) {
      st.readingIpReference[i] = 100;
      st.decaySampleCount[i] = orv::MaxDecaySamples;
      for (int t = 0; t < orv::MaxDecaySamples; ++t) {
        st.decaySampleTime[i][t] = 2005 + 5 * t;
        st.decaySampleValue[i][t] = static_cast<float>((3 + i % 7) * std::exp(-t / 150.0));
      }
    }
    orv::deriveReadings(c, orv::ReadingOrigin::InMemory);
    orv::resetInterpretation(c);
    st.imageWidth = canvas.width();
    st.imageHeight = canvas.height();
    orv::mergeBranchesCore(st, 2);
    st.ipOnTime = 2000;
    st.ipWindowDelay = 100;
    st.ipWindowLength = 150;
    st.ipWindowCount = orv::MaxIpWindows;
    orv::layOutIpWindows(st);
    st.showDecayCurves = true;
    st.ipAsIsolines = isolines;
    st.fromSection = false;
  }
};

void BM_RepaintWithIp(benchmark::State& state) {
  orv::bench::ensureGuiApplication();
  IpWindow w(state.range(0) != 0);
  for (auto _ : state) {
    orv::repaintCurveWindow(w.c);
    benchmark::DoNotOptimize(w.canvas.image().constBits());
  }
}
BENCHMARK(BM_RepaintWithIp)->ArgName("isolines")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
