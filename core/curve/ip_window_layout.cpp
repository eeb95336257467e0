#include "core/curve/ip_window_layout.h"

#include <algorithm>
#include <cstdint>

namespace orv {
namespace {

int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

void layOutIpWindows(CurveWindowState& s) {
  s.ipWindowCount = std::clamp(s.ipWindowCount, 0, MaxIpWindows);
  const int64_t first =
      static_cast<int64_t>(s.ipLeadTime) + s.ipOnTime + static_cast<int64_t>(s.ipWindowDelay);
  for (int w = 0; w < s.ipWindowCount; ++w) {
    const int64_t start = first + static_cast<int64_t>(w) * s.ipWindowLength;
    const int64_t end = start + s.ipWindowLength;
    s.ipWindowStart[w] = clampToInt32(start);
    s.ipWindowEnd[w] = clampToInt32(end);
    s.ipWindowMidTime[w] = clampToInt32((end + start) / 2);
  }
}

}  // namespace orv
