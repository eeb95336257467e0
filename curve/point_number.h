// The chainage a sounding proposes for its point: the point number of a KMT
// record, or the number in an OAX file's name ("pf1_120.OAX" → 120).
#pragma once

#include "curve/curve_window_state.h"

namespace orv {

// The number written left of the first ".OAX" or ".oax" of the file name;
// pointNumber for a KMT sounding, and also when the name holds no such
// number.
int pointNumberFromFileName(const CurveWindowState& s);

}  // namespace orv
