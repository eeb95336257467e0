#include "commands/curve/thorough_fit_command.h"

#include "commands/curve/inversion_command.h"

namespace orv {

void thoroughFit(CurveSession& c) {
  fitModelInWindow(c, [](CurveWindowState& s) {
    const bool first = optimiseModelCore(s).acceptedSteps > 0;
    return thoroughFitCore(s).improved || first;
  });
}

}  // namespace orv
