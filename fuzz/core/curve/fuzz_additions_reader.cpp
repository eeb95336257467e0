// Any bytes as orvplus.ini: the additions end as a switch and a usable
// tolerance, and what the program would write back reads back the same.
#include <cstdlib>
#include <string>

#include "base/zeroed_block.h"
#include "core/curve/additions_file.h"
#include "fuzz/support/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orv::ZeroedBlock<orv::CurveWindowState> state, again;
  orv::CurveWindowState& s = *state;
  {
    const FuzzInputFile path(data, size, ".ini");
    orv::readAdditionsFile(s, path.c_str());
  }
  if (!orv::validEquivalenceTolerance(s.equivalenceTolerance)) std::abort();
  const std::string text = orv::additionsFileText(s);
  const FuzzInputFile written(reinterpret_cast<const uint8_t*>(text.data()), text.size(), ".ini");
  if (!orv::readAdditionsFile(*again, written.c_str())) std::abort();
  if (again->accurateForward != s.accurateForward ||
      again->equivalenceTolerance != s.equivalenceTolerance)
    std::abort();
  return 0;
}
