// Damped Gauss-Newton inversion of the layered model against the composite
// curve, on the logarithms of the free resistivities and thicknesses, with
// the damping taken from the singular values of the weighted Jacobian.
#pragma once

#include <functional>
#include <optional>

#include "curve/curve_session.h"

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

// "Optimalizace (ENTER, klik na tlačítko ...)" (Ctrl+Alt+F): draws the
// model's curve, runs the inversion, redraws, and writes the sounding back to
// its section point when it came from the section. A model that cannot be
// inverted is refused with its reason in one message and stays as it is; a
// run that ends in a model not to be trusted is followed by the message of
// fit_verdict.h.
void optimiseModel(CurveSession& c);

// optimiseModel without the message after it; the misfit of the model before
// the run, nothing when the model was refused.
std::optional<double> optimiseModelInWindow(CurveSession& c);

// The window's frame around any fit of the model: the refusal, the curve
// drawn before, fit(s) (true when it changed the model) and the redraw and
// write-back after, as optimiseModel does them. Returns the misfit of the
// model before the fit, nothing when the model was refused.
std::optional<double> fitModelInWindow(CurveSession& c,
                                       const std::function<bool(CurveWindowState& s)>& fit);

// The run button "...": shows "<-" unless the sounding came from the section,
// runs optimiseModel and widens the view so that the model fits.
void spustitClick(CurveSession& c);

}  // namespace orv
