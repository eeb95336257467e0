#include "core/interpretation/depth_of_investigation.h"

#include <algorithm>
#include <cmath>

#include "base/zeroed_block.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/jacobian.h"

namespace orv {

namespace {

// The thin layers span from this fraction of the smallest AB/2 down to this
// multiple of the largest, as many as the window's model can hold.
constexpr double kTopFraction = 0.1;
constexpr double kBottomMultiple = 3.0;
constexpr int kSlices = MaxLayers - 1;

// Resistivity (ohm.m) of m at depth z (m).
double rhoAt(const LayerModel& m, double z) {
  double depth = 0.0;
  for (int i = 0; i < m.n; ++i) {
    depth += m.h[i];
    if (z < depth) return m.rho[i];
  }
  return m.rho[m.n];
}

}  // namespace

double depthOfInvestigation(const LayerModel& m, int firstCell, int lastCell, double noise,
                            CurveWindowState& scratch) {
  if (firstCell < 0 || lastCell >= GridCells || firstCell > lastCell || !(noise > 0.0)) return 0.0;
  if (m.n < 0 || m.n >= MaxLayers) return 0.0;
  for (int i = 0; i <= m.n; ++i)
    if (!(m.rho[i] > 0.0 && std::isfinite(m.rho[i]))) return 0.0;
  const double top = kTopFraction * gridAbscissa(firstCell);
  const double bottom = kBottomMultiple * gridAbscissa(lastCell);
  double z[kSlices];  // interfaces of the thin layers
  for (int k = 0; k < kSlices; ++k) z[k] = top * std::pow(bottom / top, k / (kSlices - 1.0));
  CurveWindowState& s = scratch;
  s.modelBoundaryCount = kSlices;
  s.gridMinIndex = firstCell;
  s.gridMaxIndex = lastCell;
  for (int k = 0; k <= kSlices; ++k) {
    const double upper = k == 0 ? 0.0 : z[k - 1];
    const double mid = k == 0 ? z[0] / 2 : (k == kSlices ? 2 * z[k - 1] : std::sqrt(upper * z[k]));
    s.modelRho[k] = static_cast<float>(rhoAt(m, mid));
    if (k < kSlices) {
      s.modelDepth[k] = static_cast<float>(z[k]);
      s.modelThickness[k] = static_cast<float>(z[k] - upper);
    }
  }
  if (!computeForwardValues(s, false) || !computeJacobian(s)) return 0.0;
  // below[i]: d ln rhoa_i / d ln rho of every thin layer from k down.
  const int rows = lastCell - firstCell + 1;
  double below[GridCells] = {};
  // C at the surface: every datum scales with the whole earth.
  double total = 0.0;
  for (int i = 0; i < rows; ++i) {
    double all = 0.0;
    for (int k = 0; k <= kSlices; ++k) all += s.J_rho[i][k] * s.modelRho[k];
    total += std::fabs(all / s.computedRho[firstCell + i]);
  }
  total /= noise;
  double previous = 0.0;  // C at the interface below
  for (int k = kSlices; k >= 1; --k) {
    double c = 0.0;
    for (int i = 0; i < rows; ++i) {
      below[i] += s.J_rho[i][k] * s.modelRho[k] / s.computedRho[firstCell + i];
      c += std::fabs(below[i]);
    }
    c /= noise;
    if (c >= DoiThreshold * total) {
      // Between the top of layer k (where C = c) and the one below, in log depth.
      const double upper = z[k - 1];
      if (k == kSlices) return upper;
      const double lower = z[k];
      const double t = (c - DoiThreshold * total) / (c - previous);
      return std::exp(std::log(upper) + t * (std::log(lower) - std::log(upper)));
    }
    previous = c;
  }
  return z[0];
}

double depthOfInvestigation(const CurveWindowState& s, double noise) {
  ZeroedBlock<CurveWindowState> scratch;
  scratch->accurateForward = s.accurateForward;
  return depthOfInvestigation(windowModel(s), s.gridMinIndex, s.gridMaxIndex, noise, *scratch);
}

}  // namespace orv
