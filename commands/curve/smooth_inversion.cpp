#include "commands/curve/smooth_inversion.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "base/c_format.h"
#include "commands/curve/auto_model_command.h"
#include "commands/curve/composite_editing.h"
#include "core/interpretation/auto_model.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/layer_fit.h"

namespace orv {

namespace {

// Penalty weights tried from the smoothest down, a decade apart, then halved
// in the logarithm between the last two this many times.
constexpr double kFirstWeight = 1e3;
constexpr double kLastWeight = 1e-6;
constexpr int kBisections = 6;
constexpr int kIterations = 40;
constexpr double kTolerance = 1e-5;

void clearFlags(CurveWindowState& s) {
  for (int i = 0; i < FlagSlots; ++i) s.rhoFixed[i] = s.thicknessFixed[i] = s.depthFixed[i] = 0;
}

}  // namespace

SmoothOutcome smoothInversionCore(CurveWindowState& s, double noise) {
  SmoothOutcome out;
  if (!(noise > 0.0) || !std::isfinite(noise)) return out;
  if (s.gridMinIndex < 0 || s.gridMaxIndex >= GridCells || s.gridMinIndex > s.gridMaxIndex)
    return out;
  int first = -1, last = -1, data = 0;
  double logSum = 0.0;
  for (int g = s.gridMinIndex; g <= s.gridMaxIndex; ++g) {
    if (!(s.mergedRho[g][0] > 0.0f)) continue;
    if (first < 0) first = g;
    last = g;
    ++data;
    logSum += std::log(static_cast<double>(s.mergedRho[g][0]));
  }
  if (data == 0 || last == first) return out;
  out.ran = true;
  out.target = data * noise * noise;

  LayerModel start;
  start.n = SmoothLayerCount - 1;
  const double top = SmoothTopFraction * gridAbscissa(first);
  const double bottom = gridAbscissa(last);
  double above = 0.0;
  for (int i = 0; i < start.n; ++i) {
    const double depth = top * std::pow(bottom / top, static_cast<double>(i) / (start.n - 1));
    start.h[i] = depth - above;
    above = depth;
  }
  for (int i = 0; i <= start.n; ++i) start.rho[i] = std::exp(logSum / data);

  clearFlags(s);
  for (int i = 0; i < start.n; ++i) s.thicknessFixed[i] = 1;
  s.modelBoundaryCount = start.n;
  LayerFit fit(s, start);
  std::vector<double> x(LayerFit::MaxColumns), fitted(LayerFit::MaxColumns);
  fit.start(x.data());
  auto fitWith = [&](double weight, std::vector<double>& at) {
    fit.setSmoothing(weight);
    return fit.minimise(at.data(), kIterations, kTolerance).misfit;
  };
  // From the smoothest down until the curve is fitted to the noise; each fit
  // starts from the smoother one.
  double smooth = kFirstWeight, rough = -1.0;
  std::vector<double> best = x;
  double bestMisfit = fitWith(smooth, x);
  best = x;
  out.weight = smooth;
  for (double w = kFirstWeight; bestMisfit > out.target && w > kLastWeight;) {
    smooth = w;
    w /= 10.0;
    const double m = fitWith(w, x);
    best = x, bestMisfit = m, out.weight = w;
    if (m <= out.target) rough = w;
  }
  out.reached = bestMisfit <= out.target;
  if (rough > 0.0) {
    // The largest weight that still reaches the target, between smooth and rough.
    for (int i = 0; i < kBisections; ++i) {
      const double w = std::sqrt(smooth * rough);
      fitted = best;
      const double m = fitWith(w, fitted);
      if (m <= out.target) {
        rough = w, best = fitted, bestMisfit = m, out.weight = w;
      } else {
        smooth = w;
      }
    }
  }
  LayerModel m;
  if (!fit.model(best.data(), m)) m = start;
  clearFlags(s);
  storeLayerModel(s, m, false);
  computeForwardValues(s, false);
  s.modelFitError = misfitSSQ(s);
  out.misfit = s.modelFitError;
  return out;
}

void smoothInversion(CurveSession& c) {
  if (!c.s.compositeReady) {
    c.dialogs.message(MergeBranchesFirstMessage);
    return;
  }
  const std::optional<std::string> answer = c.dialogs.inputQuery(
      "Hladká inverze", "relativní šum dat (např. 0.03 = 3 %)", cformat("%g", SmoothDefaultNoise));
  if (!answer) return;
  const std::optional<double> noise = parseUserReal(*answer);
  if (!noise || !(*noise > 0.0)) {
    c.dialogs.message("Soustřeďte se (číslo)!");
    return;
  }
  replaceModelInWindow(c, [&](CurveWindowState& s) {
    return smoothInversionCore(s, *noise).ran ? ModelBuild::Built : ModelBuild::Refused;
  });
}

}  // namespace orv
