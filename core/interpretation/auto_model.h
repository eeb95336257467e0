// "Automatický model": an N-layer start model from the composite curve alone.
// A smooth many-layer fit of the curve is merged into N layers, which the
// inversion and the thorough fit then carry to the curve; of a few such
// starts the best fit is kept.
#pragma once

#include "core/curve/curve_window_state.h"
#include "ui/progress.h"

namespace orv {

inline constexpr int AutoModelMinLayers = 2;
inline constexpr int AutoModelMaxLayers = MaxLayers;
inline constexpr int AutoModelDefaultLayers = 4;

struct AutoModelOutcome {
  bool ran = false;      // false: no composite curve over a valid cell range, or a bad count
  bool stopped = false;  // the user stopped it: nothing changed
  double misfit = 0.0;   // of the model on return
  int starts = 0;        // start models tried
};

// The number of start models autoModelCore fits: the steps of its progress.
int autoModelStarts(int layers);

// Replaces the window's model by an N-layer model (N = layers, 2..30;
// boundary count N - 1) fitted to the composite curve, with every fix flag
// cleared; computedRho holds its curve and modelFitError its misfit. Each
// start fitted is a step of progress. Nothing changes when ran is false or
// when stopped.
AutoModelOutcome autoModelCore(CurveWindowState& s, int layers, ui::Progress* progress = nullptr);

}  // namespace orv
