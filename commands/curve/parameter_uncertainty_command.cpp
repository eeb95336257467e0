#include "commands/curve/parameter_uncertainty_command.h"

#include <optional>

#include "commands/curve/inversion_command.h"

namespace orv {

void showParameterUncertainty(CurveSession& c) {
  UncertaintyOutcome u;
  // The progress dialog closes with the computation, before the redraw.
  const std::optional<double> before = fitModelInWindow(c, [&](CurveWindowState& s) {
    u = parameterUncertaintyCore(s, c.dialogs.progress("Nejistota parametrů").get());
    return u.changed;
  });
  if (!before) return;
  if (!u.ran) {
    c.dialogs.message(inversionRefusalMessage(u.refusal));
    return;
  }
  if (u.stopped) return;
  c.dialogs.report("Nejistota parametrů", uncertaintyReport(u));
}

}  // namespace orv
