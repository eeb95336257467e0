// The IP display of the curve window: the time or scale labels below the plot
// and the panel of decay curves (one yellow polygon hanging from each
// reading's row) or isolines (one grey line per window across the readings).
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// The IP display is on: showDecayCurves, at least one window defined (a
// window index of -1 must never be looked up) and a sounding that carries IP
// (no panel of zeros that would read as measured zero chargeability).
bool ipDisplayOn(const CurveWindowState& s);

// Column of time t (ms, on the samples' axis): 5000 ms after switch-off span
// the plot width, in integer arithmetic.
int ipColumnOfTime(const CurveWindowState& s, int64_t t);

// Step 5 of the chart: the labels, while the display is on.
void drawIpLabels(CurveSession& c);
// Step 11: recomputes the values (unless the sounding came from the section,
// and also while the display is off, so that a sounding filed into the section
// carries them), then draws the panel while the display is on.
void drawIpPanel(CurveSession& c);

}  // namespace orv
