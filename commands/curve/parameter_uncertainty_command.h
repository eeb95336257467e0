// "Nejistota parametrů" as the curve window runs it.
#pragma once

#include "commands/curve/curve_session.h"
#include "core/interpretation/parameter_uncertainty.h"

namespace orv {

// The menu command: a progress dialog for the fit, the model at its minimum
// drawn as a fit draws it, then the report.
void showParameterUncertainty(CurveSession& c);

}  // namespace orv
