// Any bytes as a SAS file: the reader never crashes nor writes outside the
// state, and what it accepts stays within the capacities.
#include <cstdlib>

#include "base/zeroed_block.h"
#include "core/curve/curve_window_state.h"
#include "core/curve/sas_file.h"
#include "fuzz/support/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile path(data, size, ".sas");
  static orv::ZeroedBlock<orv::CurveWindowState> state;
  orv::CurveWindowState& s = *state;
  orv::readSasData(s, path.c_str());
  if (s.readingCount < 0 || s.readingCount > orv::MaxReadings) std::abort();
  for (int i = 0; i < s.readingCount; ++i) {
    if (!(s.readingRho[i] > 0)) std::abort();
    if (s.readingBranch[i] < 1 || s.readingBranch[i] > orv::MaxBranch) std::abort();
  }
  return 0;
}
