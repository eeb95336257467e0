// "Nejistota parametrů": the linearised uncertainty of the fitted model. At
// the least-squares minimum (the model is first brought there by the
// thorough fit) the covariance of the logarithms of the free parameters is
// sigma^2 (J^T J)^-1, J the Jacobian of the log curve and sigma^2 =
// SSQ / (cells - free parameters) the noise the misfit shows. Each
// parameter's standard error in ln is told as a factor exp(se): the value
// times or divided by it; with it the correlation matrix.
#pragma once

#include <string>
#include <vector>

#include "core/curve/curve_window_state.h"
#include "core/interpretation/inversion.h"
#include "ui/progress.h"

namespace orv {

struct UncertainParameter {
  int layer = 0;
  bool isRho = true;    // else the layer's thickness
  double value = 0.0;   // ohm.m or m
  double factor = 1.0;  // exp(standard error of ln value); +infinity: not resolved
};

struct UncertaintyOutcome {
  bool ran = false;  // false: the model cannot be inverted (see refusal)
  InversionRefusal refusal = InversionRefusal::None;
  bool stopped = false;     // the user stopped the fit to the minimum: the model is as it was
  bool changed = false;     // the fit to the minimum changed the window's model
  bool enoughCells = true;  // more cells than free parameters
  double misfit = 0.0;      // SSQ at the minimum
  int cells = 0;
  std::vector<UncertainParameter> parameters;  // the free ones, rho_0, h_0, rho_1, ...
  std::vector<double> correlation;             // parameters x parameters, row-major
};

// Brings the window's model to its minimum (as the equivalence ranges do)
// and gives the uncertainty there.
UncertaintyOutcome parameterUncertaintyCore(CurveWindowState& s, ui::Progress* progress = nullptr);

// The text the window shows: the misfit, one row per free parameter
// ("ρ1  49.9 ohm.m  ×/÷ 1.05", layers counted from 1) and the correlation
// matrix with two decimals.
std::string uncertaintyReport(const UncertaintyOutcome& u);

}  // namespace orv
