// Any bytes as an OAX file: the reader never crashes nor writes outside the
// state, and what it accepts stays within the capacities.
#include <cstdlib>

#include "base/zeroed_block.h"
#include "core/curve/curve_window_state.h"
#include "core/curve/oax_file.h"
#include "core/interpretation/ip_grid_file.h"
#include "core/interpretation/ip_values.h"
#include "fuzz/support/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile path(data, size, ".OAX");
  static orv::ZeroedBlock<orv::CurveWindowState> state;
  orv::CurveWindowState& s = *state;
  s.ipWindowCount = -10;  // the default windows are generated from the file's timing
  orv::readOaxData(s, path.c_str());
  if (s.readingCount < 0 || s.readingCount > orv::MaxReadings) std::abort();
  // Without an IP header no window is generated.
  if (s.ipWindowCount != -10 && (s.ipWindowCount < 0 || s.ipWindowCount > orv::MaxIpWindows))
    std::abort();
  for (int i = 0; i < s.readingCount; ++i) {
    if (s.decaySampleCount[i] < 0 || s.decaySampleCount[i] > orv::MaxDecaySamples) std::abort();
    if (!(s.readingRho[i] > 0)) std::abort();
    if (s.readingBranch[i] < 1 || s.readingBranch[i] > orv::MaxBranch) std::abort();
  }
  // The decays as read go on into the IP values and their grid file.
  s.fromSection = false;
  s.gridMinIndex = 0;
  s.gridMaxIndex = orv::GridCells - 1;
  for (int i = 0; i < s.readingCount; ++i) s.readingGridIndex[i] = i % orv::GridCells;
  orv::computeIpValues(s);
  if (orv::ipGridText(s).compare(0, 5, "AB/4\t") != 0) std::abort();
  return 0;
}
