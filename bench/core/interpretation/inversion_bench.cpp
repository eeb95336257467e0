// One inversion run of a 4-layer model on 30 cells from a start 30 % off the
// true model, and what a run reaches on the noise-free curve of a known
// 3-layer model (reported as counters: the model found and its misfit).
#include <benchmark/benchmark.h>

#include <cmath>

#include "base/zeroed_block.h"
#include "bench/core/interpretation/fit_bench_support.h"
#include "bench/support/allocation_counter.h"
#include "core/curve/curve_window_state.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"

namespace {

using fit_bench::setModel;

// The composite curve is the true model's own curve on cells 0..29.
void prepare(orv::CurveWindowState& s, int layers, const float* rho, const float* depth) {
  fit_bench::prepare(s, layers, rho, depth, 0.0);
}

constexpr float kTrue4Rho[4] = {50, 10, 200, 30};
constexpr float kTrue4Depth[3] = {2, 8, 40};
constexpr float kStart4Rho[4] = {65, 7, 260, 21};
constexpr float kStart4Depth[3] = {2.6f, 5.6f, 52};

void BM_Inversion4Layers30Cells(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  prepare(s, 4, kTrue4Rho, kTrue4Depth);
  orv::InversionOutcome out;
  long allocations = 0;
  for (auto _ : state) {
    state.PauseTiming();
    setModel(s, 4, kStart4Rho, kStart4Depth);
    const long before = bench_support::allocations.load();
    state.ResumeTiming();
    out = orv::optimiseModelCore(s);
    benchmark::ClobberMemory();
    allocations += bench_support::allocations.load() - before;
  }
  state.counters["allocations"] = static_cast<double>(allocations);
  state.counters["jacobians"] = out.jacobians;
  state.counters["trials"] = out.trials;
  state.counters["SSQ"] = s.modelFitError;
}

constexpr float kTrue3Rho[3] = {20, 200, 50};
constexpr float kTrue3Depth[2] = {5, 25};
constexpr float kStart3Rho[3] = {26, 140, 65};
constexpr float kStart3Depth[2] = {6.5f, 17.5f};

void BM_Inversion3LayersRecovery(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  prepare(s, 3, kTrue3Rho, kTrue3Depth);
  double startSsq = 0;
  for (auto _ : state) {
    state.PauseTiming();
    setModel(s, 3, kStart3Rho, kStart3Depth);
    orv::computeForwardValues(s, false);
    startSsq = orv::misfitSSQ(s);
    state.ResumeTiming();
    orv::optimiseModelCore(s);
  }
  state.counters["startSSQ"] = startSsq;
  state.counters["SSQ"] = s.modelFitError;
  state.counters["rho0"] = s.modelRho[0];
  state.counters["rho1"] = s.modelRho[1];
  state.counters["rho2"] = s.modelRho[2];
  state.counters["depth0"] = s.modelDepth[0];
  state.counters["depth1"] = s.modelDepth[1];
}

}  // namespace

BENCHMARK(BM_Inversion4Layers30Cells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Inversion3LayersRecovery)->Unit(benchmark::kMicrosecond);
