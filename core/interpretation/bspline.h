// Every curve the curve window draws as a line goes through drawSmoothCurve:
// a clamped uniform B-spline through the points as control points, or the
// plain polyline.
#pragma once

#include "core/curve/curve_window_state.h"
#include "ui/canvas.h"

namespace orv {

struct CurvePoint {
  float x;
  float y;
};

// Draws with the canvas's current pen. n is the index of the last point, so
// n <= 0 draws nothing. Smoothing follows splineAllCurves, splineDegree,
// splineResolution and the sounding's grid span held in s.
void drawSmoothCurve(ui::Canvas& canvas, const CurveWindowState& s, const CurvePoint* points,
                     int n);

}  // namespace orv
