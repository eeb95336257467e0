// Analytic sensitivities of the computed curve to the layer resistivities and
// thicknesses, by differentiating the Pekeris recurrence through the chain of
// partial derivatives dT_0/dT_k.
#pragma once

#include "core/curve/curve_window_state.h"

namespace orv {

// At the current model: modelRho[0..N] and modelThickness[0..N-1] (no
// clamping). Fills transformSensRho/transformSensThickness for the abscissae
// -20 .. (gridMaxIndex - gridMinIndex) + 4 and J_rho/J_h for the cells
// gridMinIndex..gridMaxIndex (row 0 = gridMinIndex), and stores the filter
// coefficients. Returns false when the boundary count or the cell range is
// outside the capacities, or when a sensitivity is not finite (a resistivity
// of zero, for instance); the arrays are then not to be used. With
// accurateForward set the derivatives are those of the long filter, and the
// transform sensitivities are left as they were.
bool computeJacobian(CurveWindowState& s);

// The same at a given model instead of the window's: n the index of the
// half-space (the window's boundary count is not used), rho[0..n] (ohm.m),
// h[0..n-1] (m). The fits of the additions take their derivatives here.
bool computeJacobianAt(CurveWindowState& s, int n, const double* rho, const double* h);

}  // namespace orv
