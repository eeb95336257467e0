// Damped Gauss-Newton inversion of the layered model against the composite
// curve, on the logarithms of the free resistivities and thicknesses, with
// the damping taken from the singular values of the weighted Jacobian.
#pragma once

#include "core/curve/curve_window_state.h"

namespace orv {

// Why a model is not inverted.
enum class InversionRefusal {
  None,
  NoModel,            // no layer with a resistivity: nothing was built
  LayerCount,         // boundary count outside 0..29
  CurveRange,         // the composite's grid cells are not a valid range
  Resistivity,        // a resistivity that is not a positive finite number
  ZeroThickness,      // two interfaces at one depth, or one at the surface
  NegativeThickness,  // interfaces out of order
  Depth,              // a depth that is not a finite number
  ForwardFailed,      // the model's own curve cannot be computed
};

// What the user is told ("... - optimalizace neproběhla."); nullptr for None.
const char* inversionRefusalMessage(InversionRefusal r);

// The first reason why the model in s cannot be inverted, or None.
InversionRefusal inversionRefusal(const CurveWindowState& s);

struct InversionOutcome {
  bool ran = false;  // false: the model or the cells cannot be inverted
  InversionRefusal refusal = InversionRefusal::None;
  int columns = 0;        // free parameters (columns of the weighted Jacobian)
  int acceptedSteps = 0;  // trial models taken over into the model
  int jacobians = 0;      // Jacobians (and decompositions) computed
  int trials = 0;         // forward computations of trial models
};

// One run without the picture, as far as the computation goes: on return the
// model holds the best accepted trial (depths rebuilt from the thicknesses,
// fixed interfaces exactly where they were), computedRho/computedRhoPacked
// hold the curve of that model and modelFitError its misfit. A model with a
// resistivity or thickness that is not a positive finite number is not
// inverted (ran = false) and nothing is changed.
InversionOutcome optimiseModelCore(CurveWindowState& s);

}  // namespace orv
