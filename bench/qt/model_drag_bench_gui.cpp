// Speed of one step of a model drag on a 1600 x 1000 picture: the model is
// erased, the value rule applied, the model drawn again, and the forward
// problem recomputed with the XOR erase and redraw of the computed curve and
// the misfit text. A six-layer model over a sounding of 40 grid cells.
// Target: one step within 2 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "bench/support/bench_curve_window.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/curve_session.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/model_editing.h"
#include "core/curve/settings_file.h"
#include "core/interpretation/branch_merging.h"
#include "core/interpretation/forward_problem.h"

namespace {

struct Window : orv::bench::BenchCurveWindow {
  int layerY = 0;
  int layerX = 0;

  Window() {
    orv::CurveWindowState& st = *s;
    // Two overlapping branches over grid cells 0..39.
    for (int b = 0; b < 2; ++b)
      for (int k = b * 18; k < 22 + b * 18; ++k) {
        const int i = st.readingCount++;
        st.readingAbHalf[i] = static_cast<float>(std::pow(10.0, k * orv::AbGridStep));
        st.readingMnHalf[i] = b == 0 ? 1.0f : 10.0f;
        st.readingRho[i] = static_cast<float>(80 * (1 + 0.7 * std::sin(k * 0.2)) * (1 + 0.05 * b));
        st.readingBranch[i] = b + 1;
      }
    orv::deriveReadings(c, orv::ReadingOrigin::InMemory);
    orv::resetInterpretation(c);
    orv::mergeBranches(c, 2);
    const float rho[6] = {80, 150, 40, 200, 30, 300};
    const float depth[5] = {1.5f, 4, 12, 35, 90};
    st.modelBoundaryCount = 5;
    std::copy(rho, rho + 6, st.modelRho);
    std::copy(depth, depth + 5, st.modelDepth);
    st.modelDepth[5] = 1e12f;
    st.modelActive = true;
    orv::repaintCurveWindow(c);
    orv::computeForward(c, false);
    // Pick layer 3 and start dragging it.
    layerX = orv::columnOfRho(st, st.modelRho[3]);
    layerY = (orv::rowOfAbHalf(st, st.modelDepth[2]) + orv::rowOfAbHalf(st, st.modelDepth[3])) / 2;
    orv::MouseEvent e;
    e.x = layerX;
    e.y = layerY;
    orv::imageMouseMove(c, e);
    e.button = orv::MouseButton::Left;
    e.leftHeld = true;
    orv::imageMouseDown(c, e);
  }
};

void BM_ModelDragStep(benchmark::State& state) {
  orv::bench::ensureGuiApplication();
  Window w;
  if (!w.s->mouseDragging || w.s->hotLayer != 3 ||
      w.s->gridMaxIndex - w.s->gridMinIndex + 1 != 40) {
    state.SkipWithError("the drag did not start on a six-layer model over 40 cells");
    return;
  }
  orv::MouseEvent e;
  e.button = orv::MouseButton::Left;
  e.leftHeld = true;
  e.y = w.layerY;
  int step = 0;
  for (auto _ : state) {
    // Back and forth over 60 pixels, a new position every step.
    const int k = step++ % 60;
    e.x = w.layerX + (k < 30 ? k : 60 - k) - 15;
    orv::imageMouseMove(w.c, e);
    benchmark::DoNotOptimize(w.canvas.image().constBits());
  }
}
BENCHMARK(BM_ModelDragStep)->Unit(benchmark::kMicrosecond);

}  // namespace
