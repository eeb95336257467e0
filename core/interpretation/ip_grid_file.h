// The IP grid for Surfer ("WINSURF"): the apparent polarisability of every
// reading in every window at AB/4 and the window's middle time. Windows-1250
// text: a title line and the units with no break between them, then one
// "ab4<TAB>time<TAB>value" row per line, each preceded by CR LF, no break
// after the last. Window by window, the readings in file order.
#pragma once

#include <cstdio>
#include <string>

#include "core/curve/curve_window_state.h"

namespace orv {

// The file's bytes for the windows defined (none when ipWindowCount is below
// 1; the title then says 0).
std::string ipGridText(const CurveWindowState& s);

// Writes ipGridText to out (opened in binary mode); false when a write failed.
bool writeIpGrid(const CurveWindowState& s, std::FILE* out);

}  // namespace orv
