// The thorough fit of four layers on 30 cells, from where the inversion's own
// run stops (target: at most 5 ms), on an exact and on a noisy curve.
#include <benchmark/benchmark.h>

#include "base/zeroed_block.h"
#include "bench/core/interpretation/fit_bench_support.h"
#include "core/interpretation/inversion.h"
#include "core/interpretation/thorough_fit.h"

namespace {

void BM_ThoroughFit4Layers30Cells(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  fit_bench::prepare(s, 4, fit_bench::kTrueRho, fit_bench::kTrueDepth, state.range(0) / 100.0);
  fit_bench::setModel(s, 4, fit_bench::kStartRho, fit_bench::kStartDepth);
  orv::optimiseModelCore(s);
  float rho[4], depth[3];
  for (int i = 0; i < 4; ++i) rho[i] = s.modelRho[i];
  for (int i = 0; i < 3; ++i) depth[i] = s.modelDepth[i];
  orv::ThoroughOutcome out;
  for (auto _ : state) {
    state.PauseTiming();
    fit_bench::setModel(s, 4, rho, depth);
    state.ResumeTiming();
    out = orv::thoroughFitCore(s);
    benchmark::ClobberMemory();
  }
  state.counters["startSSQ"] = out.startMisfit;
  state.counters["SSQ"] = out.endMisfit;
  state.counters["iterations"] = out.iterations;
  state.counters["forwards"] = out.evaluations;
}
BENCHMARK(BM_ThoroughFit4Layers30Cells)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
