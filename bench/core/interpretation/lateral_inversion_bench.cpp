// The laterally constrained inversion of a full profile: 420 soundings of a
// five-layer earth with a gentle lateral trend, each starting 20 % off.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "base/zeroed_block.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/lateral_inversion.h"

namespace {

constexpr int kSoundings = 420;

std::vector<orv::LateralSounding> profile(orv::CurveWindowState& s) {
  std::vector<orv::LateralSounding> out(kSoundings);
  for (int p = 0; p < kSoundings; ++p) {
    const double t = static_cast<double>(p) / kSoundings;
    const double rho[5] = {80, 20 + 10 * t, 300, 40, 800};
    const double depth[4] = {2 + t, 6 + 2 * t, 20 + 5 * t, 60};
    orv::LateralSounding& snd = out[p];
    snd.chainage = 10.0 * p;
    snd.n = 4;
    snd.firstCell = 0;
    snd.lastCell = 26;
    s.gridMinIndex = 0;
    s.gridMaxIndex = 26;
    s.modelBoundaryCount = 4;
    double above = 0.0;
    for (int k = 0; k < 5; ++k) s.rhoParam[k] = rho[k];
    for (int k = 0; k < 4; ++k) s.thickParam[k] = depth[k] - above, above = depth[k];
    orv::computeForwardValues(s, true);
    for (int g = 0; g <= 26; ++g)
      snd.composite[g] =
          static_cast<float>(s.computedRho[g] * std::exp(0.03 * std::sin(2.7 * g + p)));
    for (int k = 0; k < 5; ++k) snd.rho[k] = rho[k] * (k % 2 ? 1.2 : 0.8);
    for (int k = 0; k < 4; ++k) snd.depth[k] = depth[k] * 1.2;
  }
  return out;
}

void BM_Lateral420Points5Layers(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> s;
  const std::vector<orv::LateralSounding> start = profile(*s);
  orv::LateralOutcome out;
  for (auto _ : state) {
    std::vector<orv::LateralSounding> fit = start;
    out = orv::lateralInversion(fit, *s, orv::LateralSettings{});
  }
  state.counters["iterations"] = out.iterations;
  state.counters["misfit"] = out.dataMisfit;
}
BENCHMARK(BM_Lateral420Points5Layers)->Unit(benchmark::kMillisecond);

}  // namespace
