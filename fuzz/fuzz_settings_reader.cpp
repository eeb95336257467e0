// Any bytes as orvwin.ini: reading stays inside its buffers, and what would
// be written at exit reads back to the same values.
#include <cstdlib>
#include <string>

#include "base/zeroed_block.h"
#include "curve/settings_file.h"
#include "fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = writeFuzzInput(data, size, ".ini");
  static orv::ZeroedBlock<orv::CurveWindowState> state;
  static orv::ZeroedBlock<orv::CurveWindowState> back;
  orv::readSettingsFile(*state, path.c_str());
  // The window switches averaging on after reading, as line 2 cannot say.
  orv::finishCurveStateConstruction(*state);
  const std::string text = orv::settingsFileText(*state);
  const std::string again =
      writeFuzzInput(reinterpret_cast<const uint8_t*>(text.data()), text.size(), ".written.ini");
  orv::readSettingsFile(*back, again.c_str());
  if (orv::settingsFileText(*back) != text) std::abort();
  return 0;
}
