// Equivalence ranges of a fitted four-layer model on 30 cells with q = 0.1
// (target: at most 50 ms).
#include <benchmark/benchmark.h>

#include "base/zeroed_block.h"
#include "bench/core/interpretation/fit_bench_support.h"
#include "core/interpretation/equivalence.h"
#include "core/interpretation/thorough_fit.h"

namespace {

void BM_Equivalence4Layers30Cells(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  fit_bench::prepare(s, 4, fit_bench::kTrueRho, fit_bench::kTrueDepth, 0.02);
  orv::thoroughFitCore(s);
  orv::EquivalenceOutcome out;
  for (auto _ : state) {
    out = orv::equivalenceRangesCore(s, 0.1);
    benchmark::ClobberMemory();
  }
  state.counters["SSQ"] = out.bestMisfit;
  state.counters["forwards"] = out.evaluations;
}
BENCHMARK(BM_Equivalence4Layers30Cells)->Unit(benchmark::kMillisecond);

}  // namespace
