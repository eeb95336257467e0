// The automatic model as the curve window runs it: the layer count asked,
// the old model erased, the new one drawn and written back.
#pragma once

#include <functional>

#include "commands/curve/curve_session.h"
#include "core/interpretation/auto_model.h"

namespace orv {

// The menu command: asks N (default 4), builds the model and shows it as a
// drawn model (the buttons "..." and "<-", the curve, the table), written
// back to the section point when the sounding came from there.
void autoModel(CurveSession& c);

// The window's side of a command that replaces the model by one it builds:
// the old model and curve leave the picture, build runs (false: the curve
// cannot be fitted, refused with its message), the new model is shown as a
// drawn model and written back to its section point.
void replaceModelInWindow(CurveSession& c, const std::function<bool(CurveWindowState&)>& build);

}  // namespace orv
