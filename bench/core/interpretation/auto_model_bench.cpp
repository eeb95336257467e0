// The automatic start model from the curve alone, with the inversion's run
// and the thorough fit (target: at most 100 ms), for 3 to 5 layers on the
// noisy curve of a known four-layer model.
#include <benchmark/benchmark.h>

#include "base/zeroed_block.h"
#include "bench/core/interpretation/fit_bench_support.h"
#include "core/interpretation/auto_model.h"

namespace {

void BM_AutoModel30Cells(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  fit_bench::prepare(s, 4, fit_bench::kTrueRho, fit_bench::kTrueDepth, 0.02);
  const int layers = static_cast<int>(state.range(0));
  orv::AutoModelOutcome out;
  for (auto _ : state) {
    out = orv::autoModelCore(s, layers);
    benchmark::ClobberMemory();
  }
  state.counters["SSQ"] = out.misfit;
  state.counters["starts"] = out.starts;
}
BENCHMARK(BM_AutoModel30Cells)->DenseRange(3, 5)->Unit(benchmark::kMillisecond);

}  // namespace
