// "Hladká inverze (bez počtu vrstev)": a model of many thin layers at fixed,
// logarithmically spaced interfaces whose resistivities are fitted with a
// penalty on the roughness of log resistivity; the penalty weight is the
// largest that still fits the curve to the noise level (the discrepancy
// principle). The result is an ordinary model.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

inline constexpr int SmoothLayerCount = 25;
// The first interface lies at this fraction of the smallest AB/2, the last at
// the largest AB/2.
inline constexpr double SmoothTopFraction = 0.3;
inline constexpr double SmoothDefaultNoise = 0.03;

struct SmoothOutcome {
  bool ran = false;      // false: no composite curve over a valid cell range, or a bad noise level
  double weight = 0.0;   // of the roughness penalty chosen
  double misfit = 0.0;   // SSQ of the model on return
  double target = 0.0;   // data count x noise^2, the misfit aimed at
  bool reached = false;  // a weight reached the target (else the roughest fit is kept)
};

// Replaces the window's model by the smooth model (fix flags cleared);
// computedRho holds its curve and modelFitError its misfit.
SmoothOutcome smoothInversionCore(CurveWindowState& s, double noise);

// The menu command: asks the noise level and shows the smooth model as a
// drawn model, written back to the section point when the sounding came
// from there.
void smoothInversion(CurveSession& c);

}  // namespace orv
