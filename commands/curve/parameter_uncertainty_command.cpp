#include "commands/curve/parameter_uncertainty_command.h"

#include "commands/curve/inversion_command.h"

namespace orv {

void showParameterUncertainty(CurveSession& c) {
  UncertaintyOutcome u;
  if (!analyseAtMinimum(c, "Nejistota parametrů", u, parameterUncertaintyCore)) return;
  c.dialogs.report("Nejistota parametrů", uncertaintyReport(u));
}

}  // namespace orv
