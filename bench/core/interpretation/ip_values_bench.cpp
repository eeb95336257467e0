// Speed of the IP values: 200 readings of 1000 decay samples each in 20
// windows. Target: within 2 ms. The samples come in time order as the
// instruments write them; the same in shuffled order shows the slower scan
// that other orders take.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "base/zeroed_block.h"
#include "core/curve/ip_window_layout.h"
#include "core/interpretation/ip_values.h"

namespace {

void fill(orv::CurveWindowState& s, bool shuffled) {
  orv::setInitialCurveState(s);
  s.ipOnTime = 2000;
  s.ipWindowDelay = 100;
  s.ipWindowLength = 150;
  s.ipWindowCount = orv::MaxIpWindows;
  orv::layOutIpWindows(s);
  s.readingCount = orv::MaxReadings;
  s.gridMinIndex = 0;
  s.gridMaxIndex = orv::MaxReadings / 2 - 1;
  std::mt19937 random(7);
  for (int j = 0; j < orv::MaxReadings; ++j) {
    s.readingGridIndex[j] = j / 2;  // two branches overlap everywhere
    s.readingIpReference[j] = 100.0f + j;
    s.decaySampleCount[j] = orv::MaxDecaySamples;
    for (int i = 0; i < orv::MaxDecaySamples; ++i) {
      s.decaySampleTime[j][i] = 2005 + 5 * i;
      s.decaySampleValue[j][i] = static_cast<float>(5.0 * std::exp(-i / 200.0));
    }
    if (shuffled) {
      std::shuffle(s.decaySampleTime[j], s.decaySampleTime[j] + orv::MaxDecaySamples, random);
    }
  }
}

void BM_ComputeIpValues(benchmark::State& state) {
  orv::ZeroedBlock<orv::CurveWindowState> s;
  fill(*s, state.range(0) != 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::computeIpValues(*s));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ComputeIpValues)->ArgName("shuffled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
