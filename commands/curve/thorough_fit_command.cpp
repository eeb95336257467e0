#include "commands/curve/thorough_fit_command.h"

#include <optional>

#include "commands/curve/inversion_command.h"

namespace orv {

void thoroughFit(CurveSession& c) {
  // The progress dialog closes with the computation, before the redraw.
  const std::optional<double> before = fitModelInWindow(c, [&](CurveWindowState& s) {
    return fitToMinimumCore(s, c.dialogs.progress("Důkladná optimalizace").get()).improved;
  });
  if (before) reportFailedFit(c, *before);
}

}  // namespace orv
