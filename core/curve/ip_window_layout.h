// The regular IP windows: ipWindowCount windows of ipWindowLength ms, the
// first beginning ipWindowDelay ms after the current is switched off, on the
// time axis of the decay samples (switch-off = ipLeadTime + ipOnTime).
#pragma once

#include "core/curve/curve_window_state.h"

namespace orv {

// Sets start, end and middle (truncated toward zero) of windows
// 0 .. ipWindowCount - 1 (clamped to 0..MaxIpWindows first). Times that do
// not fit an int32 are pinned to its range.
void layOutIpWindows(CurveWindowState& s);

}  // namespace orv
