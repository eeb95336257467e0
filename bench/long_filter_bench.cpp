// The accurate forward problem runs on every mouse move of a model drag when
// the user has switched it on: 30 layers over the whole grid must stay under
// 1 ms, the usual 4 layers over 30 cells under 30 us, without allocation.
// The Jacobian of the long filter is timed as well (once per Gauss-Newton
// step).
#include <benchmark/benchmark.h>

#include "allocation_counter.h"
#include "base/zeroed_block.h"
#include "curve/curve_window_state.h"
#include "interpretation/forward_problem.h"
#include "interpretation/jacobian.h"
#include "interpretation/long_filter.h"

namespace {

void prepare(orv::CurveWindowState& s, int layers, int first, int last) {
  orv::setInitialCurveState(s);
  orv::finishCurveStateConstruction(s);
  s.accurateForward = true;
  s.modelBoundaryCount = layers - 1;
  for (int i = 0; i < layers; ++i) {
    s.modelRho[i] = i % 2 ? 300.0f : 30.0f;
    s.modelThickness[i] = 1.5f * static_cast<float>(i + 1);
    s.modelDepth[i] = (i ? s.modelDepth[i - 1] : 0.0f) + s.modelThickness[i];
  }
  s.gridMinIndex = first;
  s.gridMaxIndex = last;
}

void forward(benchmark::State& state, int layers, int first, int last) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  prepare(*block, layers, first, last);
  orv::longLatticeFilter();  // folded once per process, not per call
  long before = bench_support::allocations.load();
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::computeForwardValues(*block, false));
    benchmark::ClobberMemory();
  }
  state.counters["allocations"] = static_cast<double>(bench_support::allocations.load() - before);
}

void BM_LongForward30LayersCells0to199(benchmark::State& state) {
  forward(state, 30, 0, 199);
}
void BM_LongForward4Layers30Cells(benchmark::State& state) {
  forward(state, 4, 0, 29);
}

void jacobian(benchmark::State& state, int layers, int first, int last) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  prepare(*block, layers, first, last);
  orv::longLatticeFilter();
  long before = bench_support::allocations.load();
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::computeJacobian(*block));
    benchmark::ClobberMemory();
  }
  state.counters["allocations"] = static_cast<double>(bench_support::allocations.load() - before);
}

void BM_LongJacobian4Layers30Cells(benchmark::State& state) {
  jacobian(state, 4, 0, 29);
}
void BM_LongJacobian30LayersCells0to199(benchmark::State& state) {
  jacobian(state, 30, 0, 199);
}

}  // namespace

BENCHMARK(BM_LongForward30LayersCells0to199)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongForward4Layers30Cells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongJacobian4Layers30Cells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongJacobian30LayersCells0to199)->Unit(benchmark::kMicrosecond);
