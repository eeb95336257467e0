// Any bytes as orvwin.ini: the settings always end in a sane state.
#include <cstdlib>

#include "base/zeroed_block.h"
#include "core/curve/settings_file.h"
#include "fuzz/support/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile path(data, size, ".ini");
  static orv::ZeroedBlock<orv::CurveWindowState> state;
  orv::readSettingsFile(*state, path.c_str());
  const orv::CurveWindowState& s = *state;
  // The screen split is taken as written; the window bounds its width.
  if (s.lineWidthModel < 1 || s.lineWidthModel > 50 || s.splineResolution < 2 ||
      s.splineResolution > 400 || s.splineDegree < 1 || s.splineDegree > 10 ||
      (s.colourComposite & ~0x00FFFFFF) != 0)
    std::abort();
  return 0;
}
