// The forward problem as the curve window runs it: the computed curve on the
// picture and the misfit text below the plot.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// trial = false: the model (modelRho/modelDepth), with the computed curve
// erased and redrawn on the picture; trial = true: the inversion's trial
// parameters, nothing drawn. Returns false on a refusal (nothing changed).
bool computeForward(CurveSession& c, bool trial);

// modelFitError := misfitSSQ and the "SSQ = " text below the plot.
void showSSQ(CurveSession& c);

// After the accurate forward was switched on or off: the computed curve of a
// model in the window is computed again and redrawn (the failure message when
// it cannot be).
void recomputeShownForward(CurveSession& c);

// The message every display caller shows when computeForward fails.
inline constexpr const char* ForwardFailedMessage = "Nepodařila se přímá úloha";

}  // namespace orv
