// Any bytes as a table of readings (CSV or TXT): the reader never crashes nor
// writes outside the state, what it accepts is a reading the grid can hold,
// and a file it refuses leaves the state as it was.
#include <cstdlib>
#include <cstring>

#include "base/zeroed_block.h"
#include "core/curve/curve_window_state.h"
#include "core/curve/grid_index.h"
#include "core/curve/table_file.h"
#include "fuzz/support/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile path(data, size, ".csv");
  static orv::ZeroedBlock<orv::CurveWindowState> state;
  orv::CurveWindowState& s = *state;
  s.readingCount = 1;
  s.readingAbHalf[0] = 12.5f;
  const orv::TableReadResult read = orv::readTableFile(s, path.c_str());
  orv::tableNoticeText(read);
  if (read.code != 1) {
    if (s.readingCount != 1 || s.readingAbHalf[0] != 12.5f) std::abort();
    return 0;
  }
  if (s.readingCount < 1 || s.readingCount > orv::MaxReadings) std::abort();
  if (s.readingCount != read.readingCount) std::abort();
  for (int i = 0; i < s.readingCount; ++i) {
    if (!(s.readingRho[i] > 0) || !(s.readingMnHalf[i] > 0)) std::abort();
    if (s.readingBranch[i] < 1 || s.readingBranch[i] > orv::MaxBranch) std::abort();
    const int32_t k = orv::gridIndexOf(s.readingAbHalf[i]).k;
    if (k < 0 || k >= orv::GridCells) std::abort();
  }
  return 0;
}
