// The forward problem: the Schlumberger apparent-resistivity curve of the
// layered model on the AB/2 grid by a 13-point linear filter, and the misfit
// against the composite curve.
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"

namespace orv {

// The filter, k = -2 .. 10 (k = -2 first); the coefficients sum to 1.
extern const double ForwardFilterCoefficients[FilterLength];

// AB/2 (m) of grid index g, or the transform's abscissa of index j:
// 10^(g x AbGridStep) evaluated as exp(ln 10 x g x AbGridStep), in float32.
float gridAbscissa(int g);

// The computation alone, shared by the window and the command-line tool:
// fills gridAbHalf (0..gridMaxIndex), filterCoefficients, computedRho
// (gridMinIndex..gridMaxIndex) and computedRhoPacked. trial = false takes
// modelRho/modelDepth, trial = true rhoParam/thickParam. Returns false, with
// none of those arrays touched, when the model or the grid range cannot be
// computed (boundary count outside 0..29, cells outside 0..199, a nearly zero
// abscissa, e + 1 nearly zero, or a transform that is not finite). With
// accurateForward set the long filter computes the same arrays
// (core/interpretation/long_filter.h).
bool computeForwardValues(CurveWindowState& s, bool trial);

// Sum over gridMinIndex..gridMaxIndex of ln(composite / computed)^2. Cells
// without a composite value (<= 0, the -999 marks) are left out; a cell whose
// computed value is not positive makes the misfit +infinity.
double misfitSSQ(const CurveWindowState& s);

// "SSQ = " followed by the misfit as " %.6f ".
std::string ssqText(double misfit);

}  // namespace orv
