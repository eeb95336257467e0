// The automatic model as the curve window runs it: the layer count asked,
// the old model erased, the new one drawn and written back.
#pragma once

#include "commands/curve/curve_session.h"
#include "core/interpretation/auto_model.h"

namespace orv {

// The menu command: asks N (default 4), builds the model and shows it as a
// drawn model (the buttons "..." and "<-", the curve, the table), written
// back to the section point when the sounding came from there.
void autoModel(CurveSession& c);

}  // namespace orv
