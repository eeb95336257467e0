// Building the curve window's state when the window is created.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// Initial values, the settings file, the values the construction forces
// after it, hidden buttons "..." and "<-", and the window docked to the right
// edge with screenSplitPercent of the screen width.
void constructCurveState(CurveSession& c);

// Width of the curve window for the current screen split (integer
// arithmetic, as the window has always been sized).
int curveWindowWidth(const CurveWindowState& s, const ui::WindowChrome& chrome);

}  // namespace orv
