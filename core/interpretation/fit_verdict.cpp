#include "core/interpretation/fit_verdict.h"

#include <algorithm>
#include <cmath>

#include "base/c_format.h"
#include "core/interpretation/forward_problem.h"

namespace orv {

namespace {

// The largest AB/2 (m) with a composite value; 0 without one.
double largestAbHalf(const CurveWindowState& s) {
  for (int g = std::min(s.gridMaxIndex, GridCells - 1); g >= std::max(s.gridMinIndex, 0); --g) {
    if (s.mergedRho[g][0] > 0.0f) return gridAbscissa(g);
  }
  return 0.0;
}

void add(std::string& reasons, const std::string& clause) {
  if (!reasons.empty()) reasons += "; ";
  reasons += clause;
}

}  // namespace

std::string failedFitReasons(const CurveWindowState& s, double misfitBefore) {
  std::string reasons;
  const int n = s.modelBoundaryCount;
  if (n < 0 || n >= MaxLayers) return reasons;
  if (std::isfinite(misfitBefore) && s.modelFitError > misfitBefore) {
    add(reasons, "SSQ se zvětšilo z " + cformat("%.6f", misfitBefore) + " na " +
                     cformat("%.6f", s.modelFitError));
  }
  const double ab = largestAbHalf(s);
  int deep = 0;
  int first = -1;
  for (int i = 0; i < n && ab > 0.0; ++i) {
    if (!(s.modelDepth[i] <= FailedFitDepthFactor * ab)) {
      if (first < 0) first = i;
      ++deep;
    }
  }
  if (deep > 0) {
    const std::string where = cformat("%.4g m", s.modelDepth[first]);
    add(reasons, (deep == 1 ? "rozhraní v hloubce " + where + " leží"
                            : cformat("%i", deep) + " rozhraní od hloubky " + where + " leží") +
                     " pod trojnásobkem největšího AB/2 (3 × " + cformat("%.4g", ab) + " m)");
  }
  for (int i = 0; i <= n; ++i) {
    const float rho = s.modelRho[i];
    if (rho >= FailedFitRhoMin && rho <= FailedFitRhoMax) continue;
    add(reasons, "rezistivita vrstvy " + cformat("%i", i + 1) + " je " +
                     cformat("%.3g", static_cast<double>(rho)) +
                     " ohm.m, mimo 0.001 až 1000000 ohm.m");
    break;
  }
  return reasons;
}

std::string failedFitMessage(const std::string& reasons) {
  return "Optimalizace nenašla dobrý model (" + reasons +
         "). Zkuste Automatický model (Ctrl+Alt+A).";
}

}  // namespace orv
