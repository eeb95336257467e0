// "Důkladná optimalizace": after the inversion's own run, a Levenberg-Marquardt
// continuation over the same free parameters and fixes, carried on until the
// misfit hardly moves, and never ending worse than it started.
#pragma once

#include "core/curve/curve_window_state.h"
#include "core/interpretation/inversion.h"
#include "ui/progress.h"

namespace orv {

struct ThoroughOutcome {
  bool ran = false;  // false: the model cannot be inverted (see refusal)
  InversionRefusal refusal = InversionRefusal::None;
  bool improved = false;  // the model was replaced by a better one
  bool stopped = false;   // the user stopped it: the model is as it was
  double startMisfit = 0.0;
  double endMisfit = 0.0;  // misfit of the model on return (= modelFitError)
  int iterations = 0;      // Jacobians computed
  int evaluations = 0;     // forward computations
};

// Stops when an accepted step improves the misfit by less than this share of
// it, or after this many iterations.
inline constexpr double ThoroughRelativeImprovement = 1e-6;
inline constexpr int ThoroughMaxIterations = 100;

// The continuation alone, from the window's model, without the picture. On
// return the model is the better of the start and the continuation's end
// (fixed values and fixed interface depths exactly as they were),
// computedRho holds its curve and modelFitError its misfit. Each iteration
// is a step of progress (total unknown); stopped there, the model is the
// start.
ThoroughOutcome thoroughFitCore(CurveWindowState& s, ui::Progress* progress = nullptr);

// The inversion's run and the continuation: the model brought to the least
// misfit near it. startMisfit is the misfit before the inversion; stopped,
// the model is as it was before the inversion.
ThoroughOutcome fitToMinimumCore(CurveWindowState& s, ui::Progress* progress = nullptr);

}  // namespace orv
