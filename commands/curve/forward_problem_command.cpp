// The forward problem as the curve window runs it: the computed curve is an
// XOR overlay, so the old one is erased with its own data before the arrays
// change and the new one is drawn afterwards.
#include "commands/curve/forward_problem_command.h"

#include <algorithm>

#include "commands/curve/curve_rendering.h"
#include "core/interpretation/forward_problem.h"

namespace orv {

bool computeForward(CurveSession& c, bool trial) {
  CurveWindowState& s = c.s;
  if (!trial && s.computedCurveValid) {
    drawComputedCurve(c);
    s.computedCurveValid = false;
  }
  if (!computeForwardValues(s, trial)) return false;
  if (!trial) {
    drawComputedCurve(c);
    s.computedCurveValid = true;
  }
  return true;
}

void showSSQ(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.modelFitError = misfitSSQ(s);
  const std::string text = ssqText(s.modelFitError);
  const int width = c.canvas.textExtent(text).width;
  const int height = c.canvas.textExtent("W").height;
  const int middle = (s.plotLeft + s.plotRight) / 2;
  const int x = middle - width;
  const int y = s.plotBottom + height / 2;
  // The text ends at the middle of the plot: a shorter misfit would leave the
  // first letters of a longer one standing, so they are cleared with the
  // text's own background, and no more (the IP time labels stand beside).
  if (s.ssqTextWidth > width) c.canvas.fillRect(middle - s.ssqTextWidth, y, x, y + height);
  s.ssqTextWidth = std::max(s.ssqTextWidth, width);
  c.canvas.textOut(x, y, text);
}

void recomputeShownForward(CurveSession& c) {
  if (c.s.modelBoundaryCount > 0 && !computeForward(c, false))
    c.dialogs.message(ForwardFailedMessage);
}

}  // namespace orv
