// Equivalence ranges of fitted models of 4, 10 and 30 layers (the automatic
// model of the noisy curve of a known four-layer model on cells 0..29), by
// the short filter (accurate 0) and the long one (1), q = 0.1, the walks on
// one thread or on all the machine has (threads 0). Target: 30 layers by the
// short filter within 1 s (wall). offLimit counts the ends a walk met short
// of the limit.
#include <benchmark/benchmark.h>

#include "base/zeroed_block.h"
#include "bench/core/interpretation/fit_bench_support.h"
#include "core/interpretation/auto_model.h"
#include "core/interpretation/equivalence.h"
#include "core/interpretation/model_backup.h"
#include "core/interpretation/thorough_fit.h"

namespace {

void BM_Equivalence(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  fit_bench::prepare(s, 4, fit_bench::kTrueRho, fit_bench::kTrueDepth, 0.02);
  s.accurateForward = state.range(1) != 0;
  orv::autoModelCore(s, static_cast<int>(state.range(0)));
  // Every run starts from the automatic model: the ranges leave the model at
  // its minimum, from where a second run would have less to do.
  const orv::ModelBackup start(s);
  orv::EquivalenceOutcome out;
  for (auto _ : state) {
    out = orv::equivalenceRangesCore(s, 0.1, nullptr, static_cast<int>(state.range(2)));
    benchmark::ClobberMemory();
    state.PauseTiming();
    start.restore(s);
    state.ResumeTiming();
  }
  state.counters["SSQ"] = out.bestMisfit;
  state.counters["forwards"] = out.evaluations;
  state.counters["offLimit"] = out.endsOffLimit;
}
BENCHMARK(BM_Equivalence)
    ->ArgNames({"layers", "accurate", "threads"})
    ->ArgsProduct({{4, 10, 30}, {0, 1}, {1, 0}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
