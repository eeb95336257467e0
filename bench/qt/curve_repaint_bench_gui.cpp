// Speed of the curve window's universal refresh on a 1600 x 1000 picture: a
// five-branch sounding of 60 readings drawn as B-splines, its composite curve,
// a three-layer model with its table and the computed curve with the misfit.
// Target: a repaint within 5 ms. Also the XOR redraw of the computed curve
// that runs on every mouse move of a model drag.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/support/bench_curve_window.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/curve_session.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/forward_problem_command.h"
#include "core/interpretation/branch_merging.h"
#include "core/interpretation/forward_problem.h"

namespace {

struct Window : orv::bench::BenchCurveWindow {
  Window() {
    orv::CurveWindowState& st = *s;
    orv::bench::addFiveBranchSounding(st, 0.04);
    orv::deriveReadings(c, orv::ReadingOrigin::InMemory);
    orv::resetInterpretation(c);
    st.imageWidth = canvas.width();
    st.imageHeight = canvas.height();
    orv::mergeBranchesCore(st, 2);
    st.modelBoundaryCount = 2;
    st.modelRho[0] = 60;
    st.modelRho[1] = 120;
    st.modelRho[2] = 20;
    st.modelDepth[0] = 4;
    st.modelDepth[1] = 40;
    st.modelDepth[2] = 1e12f;
    st.modelActive = true;
    orv::paintCurves(c);
    orv::computeForward(c, false);
  }
};

void BM_RepaintCurveWindow(benchmark::State& state) {
  orv::bench::ensureGuiApplication();
  Window w;
  for (auto _ : state) {
    orv::repaintCurveWindow(w.c);
    benchmark::DoNotOptimize(w.canvas.image().constBits());
  }
}
BENCHMARK(BM_RepaintCurveWindow)->Unit(benchmark::kMillisecond);

// Erase and redraw of the computed curve, as during a model drag.
void BM_ComputedCurveXorPair(benchmark::State& state) {
  orv::bench::ensureGuiApplication();
  Window w;
  orv::repaintCurveWindow(w.c);
  for (auto _ : state) {
    orv::drawComputedCurve(w.c);
    orv::drawComputedCurve(w.c);
    benchmark::DoNotOptimize(w.canvas.image().constBits());
  }
}
BENCHMARK(BM_ComputedCurveXorPair)->Unit(benchmark::kMicrosecond);

}  // namespace
