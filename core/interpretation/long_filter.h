// The accurate forward problem, switched on by the user: the Schlumberger
// curve by a 201-point Hankel filter instead of the 13-point one. The short
// filter is fast and good to a fraction of a percent on ordinary models, but
// on a strong descending contrast (1000 ohm.m over 1 ohm.m) it is off by tens
// of percent at large AB/2; the long filter stays within 1e-6 there.
//
// rho_a(s) = s^2 Int_0^inf T(u) J1(u s) u du, u = 1/lambda the wavenumber and
// T the resistivity transform. With the J1 filter (abscissae b_i, weights
// w_i) and the top layer's resistivity taken out so that the integrand
// decays, rho_a(s) = rho_0 + Sum_i (T(lambda = s / b_i) - rho_0) b_i w_i.
//
// The filter's abscissae are spaced 0.124 in ln b, which does not divide the
// grid step. So the transform is evaluated once per model on a lattice of
// LongFilterLatticePerCell abscissae per grid step, shared by every cell, and
// each tap is interpolated on that lattice by a 12-point Lagrange polynomial
// in ln lambda. Folding the interpolation into the weights gives a filter on
// the lattice itself (about 300 taps) that runs as a lagged convolution.
#pragma once

#include "core/curve/curve_window_state.h"

namespace orv {

// Transform abscissae per grid step of AB/2.
inline constexpr int LongFilterLatticePerCell = 3;

// The filter as folded onto the lattice: cell g takes the transform at
// lattice index LongFilterLatticePerCell * g + firstOffset + t with weight
// weight[t], t = 0..count-1; lattice index j stands for lambda =
// 10^(j x AbGridStep / LongFilterLatticePerCell) metres.
struct LatticeFilter {
  int firstOffset;
  int count;
  const double* weight;
};
const LatticeFilter& longLatticeFilter();

// The published filter itself: 201 abscissae b_i = exp((i - 100) x 0.124)
// and their J1 weights.
inline constexpr int LongFilterPoints = 201;
double longFilterAbscissa(int i);
extern const double LongFilterJ1Weights[LongFilterPoints];

// Apparent resistivities of the model on the cells first..last of the AB/2
// grid into out[0..last-first]. n is the index of the half-space (0..29),
// rho[0..n] in ohm.m (used as given, no floor), h[0..n-1] thicknesses in m.
// False, out untouched, for arguments outside the capacities or a result that
// is not finite.
bool longFilterCurve(int n, const double* rho, const double* h, int first, int last, double* out);

// What computeForwardValues does, by the long filter: the same inputs (the
// model, or the trial parameters), the same floor of 1e-6 ohm.m for the
// layers above the half-space, the same arrays filled, the same refusals.
bool computeLongFilterForward(CurveWindowState& s, bool trial);

// What computeJacobianAt does, by the same folded filter applied to the
// sensitivities of the transform, so that the derivatives are those of the
// curve computeLongFilterForward gives. Fills J_rho and J_h (the transform
// sensitivities per abscissa are not kept) and stores the 13 filter
// coefficients as the short road does.
bool computeLongFilterJacobian(CurveWindowState& s, int n, const double* rho, const double* h);

}  // namespace orv
