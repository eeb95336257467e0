// The inversion as the curve window runs it: the picture is brought up to
// date around the computation, and a sounding taken from the section goes
// back to its point.
#include "commands/curve/inversion_command.h"

#include <cmath>
#include <string>

#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"
#include "core/interpretation/fit_verdict.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"

namespace orv {

std::optional<double> fitModelInWindow(CurveSession& c,
                                       const std::function<bool(CurveWindowState& s)>& fit) {
  CurveWindowState& s = c.s;
  // A refused model is left exactly as it is, picture included.
  if (const char* refusal = inversionRefusalMessage(inversionRefusal(s))) {
    c.dialogs.message(refusal);
    return std::nullopt;
  }
  // The computed curve on the picture is erased with its own data before the
  // computation overwrites it.
  if (!computeForward(c, false)) {
    c.dialogs.message(ForwardFailedMessage);
    return std::nullopt;
  }
  const double before = s.modelFitError;
  if (fit(s)) {
    repaintCurveWindow(c);
    if (!computeForward(c, false)) c.dialogs.message(ForwardFailedMessage);
  }
  if (s.modelActive) drawModel(c);
  drawModel(c);
  s.modelActive = true;
  if (s.fromSection) c.section.storeSounding();
  return before;
}

std::optional<double> optimiseModelInWindow(CurveSession& c) {
  return fitModelInWindow(
      c, [](CurveWindowState& s) { return optimiseModelCore(s).acceptedSteps > 0; });
}

void reportFailedFit(CurveSession& c, double misfitBefore) {
  const std::string reasons = failedFitReasons(c.s, misfitBefore);
  if (!reasons.empty()) c.dialogs.message(failedFitMessage(reasons));
}

void optimiseModel(CurveSession& c) {
  if (const std::optional<double> before = optimiseModelInWindow(c)) reportFailedFit(c, *before);
}

namespace {

// Widens [low, high] to take log10 of value; values that have no logarithm
// are left out.
void include(float& low, float& high, float value) {
  if (!(value > 0.0f) || !std::isfinite(value)) return;
  const float v = static_cast<float>(std::log10(static_cast<double>(value)));
  if (v > high) high = v;
  if (v < low) low = v;
}

}  // namespace

void spustitClick(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.fromSection) c.chrome.setButtonVisible(ui::Button::Transfer, true);
  optimiseModel(c);
  const int n = s.modelBoundaryCount;
  if (s.lockCurveScale || n <= 0 || n >= MaxLayers) return;
  const float before[4] = {s.logAbMin, s.logAbMax, s.logRhoMin, s.logRhoMax};
  for (int i = 0; i < n; ++i) include(s.logAbMin, s.logAbMax, s.modelDepth[i]);
  for (int i = 0; i <= n; ++i) include(s.logRhoMin, s.logRhoMax, s.modelRho[i]);
  if (before[0] != s.logAbMin || before[1] != s.logAbMax || before[2] != s.logRhoMin ||
      before[3] != s.logRhoMax) {
    repaintCurveWindow(c);
  }
}

}  // namespace orv
