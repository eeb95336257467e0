// Speed of branch merging with a full sounding (target: 50 us for 200
// readings) and of reading the last record of a long KMT file (target: 20 ms
// for the 300th record of 300).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/c_format.h"
#include "base/zeroed_block.h"
#include "core/curve/curve_window_state.h"
#include "core/curve/grid_index.h"
#include "core/curve/kmt_file.h"
#include "core/interpretation/branch_merging.h"

namespace {

using namespace orv;

// 200 readings in five branches of 40, consecutive branches overlapping on
// eight grid cells, each branch a few per cent off the one before.
void fillFullSounding(CurveWindowState& s) {
  s.readingCount = 0;
  for (int b = 1; b <= MaxBranch; ++b) {
    for (int n = 0; n < 40; ++n) {
      const int k = (b - 1) * 32 + n;
      const int i = s.readingCount++;
      s.readingBranch[i] = b;
      s.readingGridIndex[i] = k;
      s.readingAbHalf[i] = gridValueOf(k);
      s.readingMnHalf[i] = 0.5f * b;
      s.readingRho[i] = static_cast<float>(100.0 * (1.0 + 0.03 * b) * (1.0 + 0.5 * std::sin(k)));
      s.readingS[i] = static_cast<float>(n % 10);
    }
  }
  s.gridMinIndex = 0;
  s.gridMaxIndex = 4 * 32 + 39;
  s.averageOverlaps = true;
}

void BM_MergeBranches200Readings(benchmark::State& state) {
  ZeroedBlock<CurveWindowState> s;
  fillFullSounding(*s);
  for (auto _ : state) {
    MergeOutcome out = mergeBranchesCore(*s, 2);
    benchmark::DoNotOptimize(out);
    benchmark::DoNotOptimize(s->mergedRho[0][0]);
  }
}
BENCHMARK(BM_MergeBranches200Readings)->Unit(benchmark::kMicrosecond);

std::string writeLongKmtFile() {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("kmt-bench-" + std::to_string(static_cast<long>(getpid())) + ".kmt"))
                               .string();
  std::string text;
  for (int r = 0; r < 300; ++r) {
    if (r > 0) text += "\r\n";
    text += cformat("n Svoboda\r\nb %i\r\np 1\r\nl Lhota\r\nd 2026-04-02", 25 * r);
    for (int k = 0; k < 30; ++k)
      text += cformat("\r\nr %f s%i a%f m%f", 100.0 + k, k % 10,
                      static_cast<double>(gridValueOf(k)), k < 10 ? 0.5 : (k < 20 ? 2.5 : 10.0));
  }
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

void BM_ReadLastOf300Records(benchmark::State& state) {
  const std::string path = writeLongKmtFile();
  ZeroedBlock<CurveWindowState> s;
  for (auto _ : state) {
    KmtReadResult r = readKmtRecord(*s, path.c_str(), 299);
    if (r.code != 1) state.SkipWithError("record 299 not read");
    benchmark::DoNotOptimize(r);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadLastOf300Records)->Unit(benchmark::kMillisecond);

}  // namespace
