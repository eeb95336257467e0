// The automatic model as the curve window runs it: the layer count asked,
// the old model erased, the new one drawn and written back.
#pragma once

#include <functional>

#include "commands/curve/curve_session.h"
#include "core/interpretation/auto_model.h"

namespace orv {

// The menu command: asks N (default 4), builds the model with a progress
// dialog and shows it as a drawn model (the buttons "..." and "<-", the
// curve, the table), written back to the section point when the sounding
// came from there, and followed by the message of fit_verdict.h when the
// model is not to be trusted. Stopped, the model stays as it was.
void autoModel(CurveSession& c);

// What a command that builds a new model made of it.
enum class ModelBuild {
  Built,    // the window's model is the new one
  Refused,  // the curve cannot be fitted: nothing changed
  Stopped,  // the user stopped it: the model is as it was
};

// The window's side of a command that replaces the model by one it builds:
// the old model and curve leave the picture, build runs (Refused: told with
// its message; Stopped: the old picture comes back), the new model is shown
// as a drawn model and written back to its section point.
ModelBuild replaceModelInWindow(CurveSession& c,
                                const std::function<ModelBuild(CurveWindowState&)>& build);

}  // namespace orv
