// Any bytes as a KMT file: reading records 0..3 never crashes nor writes
// outside the state, and what it accepts stays within the capacities.
#include <cstdlib>

#include "base/zeroed_block.h"
#include "core/curve/kmt_file.h"
#include "fuzz/support/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile path(data, size, ".kmt");
  static orv::ZeroedBlock<orv::CurveWindowState> state;
  for (int record = 0; record < 4; ++record) {
    orv::KmtReadResult r = orv::readKmtRecord(*state, path.c_str(), record);
    if (r.code == 1 && (state->readingCount < 0 || state->readingCount > orv::MaxReadings))
      std::abort();
  }
  return 0;
}
