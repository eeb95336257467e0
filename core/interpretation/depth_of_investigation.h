// Depth of investigation of a fitted model: the depth below which the data
// no longer constrain it. The model is resampled into thin layers, and for
// every depth z the sensitivity of the data to the whole earth below z is
// summed over the data: C(z) = sum_i |d ln rhoa_i / d ln rho(below z)| /
// noise, the summed change of the curve, in units of the data noise, when the
// resistivity of everything below z is multiplied by e. The depth of
// investigation is the depth where C(z) falls to DoiThreshold times C(0)
// (C(0) = data count / noise: the whole earth e times more resistive scales
// every datum by e). Over a half-space it lies near a third of the largest
// AB/2.
#pragma once

#include "core/curve/curve_window_state.h"
#include "core/interpretation/layer_fit.h"

namespace orv {

inline constexpr double DoiThreshold = 0.1;
inline constexpr double DoiDefaultNoise = 0.03;

// The depth (m) for model m seen by cells first..last of the AB/2 grid;
// scratch is a window state for the computation. 0 when the curve sees
// nothing below the surface resolution or the input is not valid.
double depthOfInvestigation(const LayerModel& m, int firstCell, int lastCell, double noise,
                            CurveWindowState& scratch);

// For the model and composite cells of the window state (a scratch of its own).
double depthOfInvestigation(const CurveWindowState& s, double noise = DoiDefaultNoise);

}  // namespace orv
