// The forward problem: the Schlumberger apparent-resistivity curve of the
// layered model on the AB/2 grid by a 13-point linear filter, and the misfit
// against the composite curve.
#pragma once

#include "curve/curve_session.h"

namespace orv {

// trial = false: the model (modelRho/modelDepth), with the computed curve
// erased and redrawn on the picture; trial = true: the inversion's trial
// parameters, nothing drawn. Returns false on a refusal (nothing changed).
bool computeForward(CurveSession& c, bool trial);

// Sum over gridMinIndex..gridMaxIndex of ln(composite / computed)^2.
double misfitSSQ(const CurveWindowState& s);

// modelFitError := misfitSSQ and the "SSQ = " text below the plot.
void showSSQ(CurveSession& c);

// The message every display caller shows when computeForward fails.
inline constexpr const char* ForwardFailedMessage = "Nepodařila se přímá úloha";

}  // namespace orv
