// Damped Gauss-Newton inversion of the layered model against the composite
// curve, on the logarithms of the free resistivities and thicknesses, with
// the damping taken from the singular values of the weighted Jacobian.
#pragma once

#include "curve/curve_session.h"

namespace orv {

struct InversionOutcome {
  bool ran = false;       // false: the model or the cells cannot be inverted
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

// "Optimalizace (ENTER, klik na tlačítko ...)" (Ctrl+Alt+F): draws the
// model's curve, runs the inversion, redraws, and writes the sounding back to
// its section point when it came from the section.
void optimiseModel(CurveSession& c);

// The run button "...": shows "<-" unless the sounding came from the section,
// runs optimiseModel and widens the view so that the model fits.
void spustitClick(CurveSession& c);

}  // namespace orv
