// The forward problem runs on every mouse move of a model drag, so it must be
// cheap and allocation-free: 30 layers over the whole grid, and the usual
// 4 layers over 30 cells. The allocation count inside the measured loop is
// reported as a counter and must stay 0. The accurate forward (the long
// filter, when the user has switched it on) must stay under 1 ms and 30 us
// for the same two; its Jacobian is timed as well (once per Gauss-Newton
// step).
#include <benchmark/benchmark.h>

#include "base/zeroed_block.h"
#include "bench/support/allocation_counter.h"
#include "core/curve/curve_window_state.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/jacobian.h"
#include "core/interpretation/long_filter.h"
#include "core/interpretation/svd.h"

namespace {

void prepare(orv::CurveWindowState& s, int layers, int first, int last, bool accurate) {
  orv::setInitialCurveState(s);
  orv::finishCurveStateConstruction(s);
  s.accurateForward = accurate;
  if (accurate) orv::longLatticeFilter();  // folded once per process, not per call
  s.modelBoundaryCount = layers - 1;
  for (int i = 0; i < layers; ++i) {
    s.modelRho[i] = i % 2 ? 300.0f : 30.0f;
    s.modelThickness[i] = 1.5f * static_cast<float>(i + 1);
    s.modelDepth[i] = (i ? s.modelDepth[i - 1] : 0.0f) + s.modelThickness[i];
  }
  s.gridMinIndex = first;
  s.gridMaxIndex = last;
}

void forward(benchmark::State& state, int layers, int first, int last, bool accurate) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  prepare(*block, layers, first, last, accurate);
  long before = bench_support::allocations.load();
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::computeForwardValues(*block, false));
    benchmark::ClobberMemory();
  }
  state.counters["allocations"] = static_cast<double>(bench_support::allocations.load() - before);
}

void jacobian(benchmark::State& state, int layers, int first, int last, bool accurate) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  prepare(*block, layers, first, last, accurate);
  long before = bench_support::allocations.load();
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::computeJacobian(*block));
    benchmark::ClobberMemory();
  }
  state.counters["allocations"] = static_cast<double>(bench_support::allocations.load() - before);
}

void BM_Forward30LayersCells0to199(benchmark::State& state) {
  forward(state, 30, 0, 199, false);
}
void BM_Forward4Layers30Cells(benchmark::State& state) {
  forward(state, 4, 0, 29, false);
}
void BM_Jacobian4Layers30Cells(benchmark::State& state) {
  jacobian(state, 4, 0, 29, false);
}
void BM_LongForward30LayersCells0to199(benchmark::State& state) {
  forward(state, 30, 0, 199, true);
}
void BM_LongForward4Layers30Cells(benchmark::State& state) {
  forward(state, 4, 0, 29, true);
}
void BM_LongJacobian4Layers30Cells(benchmark::State& state) {
  jacobian(state, 4, 0, 29, true);
}
void BM_LongJacobian30LayersCells0to199(benchmark::State& state) {
  jacobian(state, 30, 0, 199, true);
}

void BM_Svd200x59(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  unsigned seed = 12345u;
  long allocations = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < 200; ++i) {
      for (int j = 0; j < 59; ++j) {
        seed = seed * 1103515245u + 12345u;
        s.weightedJacobian[i][j] = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
      }
    }
    const long before = bench_support::allocations.load();
    state.ResumeTiming();
    benchmark::DoNotOptimize(orv::decomposeSVD(s.weightedJacobian, 200, 59, s.svdU, s.svdV));
    allocations += bench_support::allocations.load() - before;
  }
  state.counters["allocations"] = static_cast<double>(allocations);
}

}  // namespace

BENCHMARK(BM_Forward30LayersCells0to199)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Forward4Layers30Cells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Jacobian4Layers30Cells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongForward30LayersCells0to199)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongForward4Layers30Cells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongJacobian4Layers30Cells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongJacobian30LayersCells0to199)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Svd200x59)->Unit(benchmark::kMillisecond);
