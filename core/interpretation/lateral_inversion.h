// Laterally constrained inversion of the soundings of a profile: one
// Gauss-Newton/Levenberg-Marquardt fit of all their layered models at once,
// the data misfit of every sounding weighted by the data noise, plus
// constraints that tie log resistivity of each layer and log depth of each
// interface to the same quantity of the neighbouring soundings, looser the
// further apart the soundings are. The normal equations are block
// tridiagonal (one block per sounding) and are solved as such, so the cost
// grows linearly with the number of soundings.
#pragma once

#include <vector>

#include "core/curve/curve_window_state.h"
#include "core/interpretation/work_progress.h"

namespace orv {

struct LateralSounding {
  double chainage = 0.0;  // m along the profile; the soundings are in this order
  int firstCell = 0;      // AB/2 grid cells of the composite curve
  int lastCell = -1;
  float composite[GridCells] = {};  // ohm.m; <= 0: no value
  int n = 0;                        // boundary count (layers n + 1), the same for all
  double rho[MaxLayers] = {};       // ohm.m: the start, and the result
  double depth[MaxLayers] = {};     // m, interfaces 0..n-1: the start, and the result
  bool rhoFixed[MaxLayers] = {};
  bool depthFixed[MaxLayers] = {};
  double misfit = 0.0;  // result: sum of ln(composite / computed)^2 (the window's SSQ)
};

struct LateralSettings {
  // S, the relative change allowed per 100 m; 0 or less: no constraints (each
  // sounding fitted on its own).
  double strength = 0.5;
  double noise = 0.03;  // relative noise of the apparent resistivities
  int maxIterations = 40;
  bool accurateForward = false;
};

inline constexpr double LateralDefaultNoise = 0.03;
inline constexpr double LateralDefaultStrength = 0.5;
// Soundings closer than this (m) are constrained as if this far apart.
inline constexpr double LateralMinDistance = 1.0;

// Standard deviation (of a natural logarithm) that a constraint allows
// between two soundings `distance` metres apart: ln(1 + S x d / 100 m).
double lateralDeviation(double strength, double distance);

struct LateralOutcome {
  bool ran = false;         // false: soundings without a common, valid model
  bool cancelled = false;   // stopped through progress; the soundings hold the best so far
  double dataMisfit = 0.0;  // sum of the soundings' misfits
  int iterations = 0;
};

// Fits the soundings (in chainage order) jointly; scratch is a window state
// used for the forward computations and Jacobians. Fixed resistivities and
// depths keep their values exactly. Never ends with a larger objective than
// its start.
LateralOutcome lateralInversion(std::vector<LateralSounding>& soundings, CurveWindowState& scratch,
                                const LateralSettings& settings, const WorkProgress& progress = {});

// Each sounding fitted alone with the same weighting (the reference the joint
// fit is compared with).
LateralOutcome independentInversions(std::vector<LateralSounding>& soundings,
                                     CurveWindowState& scratch, const LateralSettings& settings,
                                     const WorkProgress& progress = {});

}  // namespace orv
