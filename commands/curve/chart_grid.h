// The chart's background: grid lines, axis labels, axis captions and the plot
// frame of the curve window.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// Vertical lines and labels of the resistivity decades and their
// intermediate values, then the captions "Rzd->" and "[Ohm.m]".
void drawResistivityGrid(CurveSession& c);
// Horizontal lines and labels of the AB/2 decades and their intermediate
// values, then the caption "AB" "/2" "[m]".
void drawAbGrid(CurveSession& c);
// Black frame round the plot rectangle.
void drawPlotFrame(CurveSession& c);

}  // namespace orv
