// The forward computation without the picture: Pekeris recurrence of the
// resistivity transform at logarithmic abscissae, convolved with the
// 13-point Schlumberger filter at two grid steps per filter step.
#include <cmath>

#include "base/c_format.h"
#include "interpretation/forward_problem.h"

namespace orv {

const double ForwardFilterCoefficients[FilterLength] = {0.0225,  0.0336,  0.2525,  0.8183, 1.6448,
                                                        -2.7841, 1.3396,  -0.4390, 0.1605, -0.0746,
                                                        0.0416,  -0.0262, 0.0105};

namespace {

constexpr double kLn10 = 2.30258509299404568402;
// The transform is needed from 20 grid steps below the first cell (the
// filter's k = 10 tap) to 4 above the last (k = -2).
constexpr int kFirstAbscissa = -20;
// The working copy of the resistivities never goes below this (ohm.m): the
// recurrence divides by rho squared.
constexpr float kRhoFloor = 1e-6f;

}  // namespace

float gridAbscissa(int g) {
  return static_cast<float>(std::exp(kLn10 * g * AbGridStep));
}

bool computeForwardValues(CurveWindowState& s, bool trial) {
  const int n = s.modelBoundaryCount;
  if (n < 0 || n >= MaxLayers) return false;
  const int first = s.gridMinIndex;
  const int last = s.gridMaxIndex;
  if (first < 0 || last >= GridCells || first > last) return false;

  double thickness[MaxLayers];  // m
  float rho[MaxLayers];         // ohm.m, the clamped working copy
  for (int i = 0; i < n; ++i) {
    if (trial) {
      thickness[i] = s.thickParam[i];
    } else {
      const double above = i == 0 ? 0.0 : static_cast<double>(s.modelDepth[i - 1]);
      thickness[i] = static_cast<double>(s.modelDepth[i]) - above;
    }
  }
  for (int i = 0; i <= n; ++i) rho[i] = trial ? static_cast<float>(s.rhoParam[i]) : s.modelRho[i];

  // The whole transform is evaluated before any result array is written, so
  // that a refusal leaves the previous curve in place.
  float transform[TransformAbscissae];
  const int lastAbscissa = last + 4;
  for (int j = kFirstAbscissa; j <= lastAbscissa; ++j) {
    const float lambda = gridAbscissa(j);
    float t = rho[n];  // the half-space is not clamped
    for (int i = n - 1; i >= 0; --i) {
      if (rho[i] < 1e-6) rho[i] = kRhoFloor;
      if (std::fabs(lambda) < 1e-11) return false;
      const float e = static_cast<float>(std::exp(-2.0 * thickness[i] / lambda));
      if (std::fabs(e + 1.0) < 1e-8) return false;
      const double w = (1.0 - e) * rho[i] / (e + 1.0);  // rho tanh(h / lambda)
      const double rho2 = static_cast<double>(rho[i]) * rho[i];
      t = static_cast<float>((w + t) / (t * w / rho2 + 1.0));
    }
    // A model with a non-finite or sign-changing value could give an infinite
    // or undefined transform; such a curve is not a result.
    if (!std::isfinite(t)) return false;
    transform[j - kFirstAbscissa] = t;
  }

  for (int g = 0; g <= last; ++g) s.gridAbHalf[g] = gridAbscissa(g);
  for (int k = 0; k < FilterLength; ++k) s.filterCoefficients[k] = ForwardFilterCoefficients[k];

  for (int g = first; g <= last; ++g) {
    s.computedRho[g] = 0.0f;
    for (int k = -2; k <= 10; ++k) {
      s.computedRho[g] += s.filterCoefficients[k + 2] * transform[g - 2 * k - kFirstAbscissa];
    }
  }
  for (int g = first; g <= last; ++g) s.computedRhoPacked[g - first] = s.computedRho[g];
  return true;
}

double misfitSSQ(const CurveWindowState& s) {
  const int first = s.gridMinIndex < 0 ? 0 : s.gridMinIndex;
  const int last = s.gridMaxIndex >= GridCells ? GridCells - 1 : s.gridMaxIndex;
  double sum = 0.0;
  for (int g = first; g <= last; ++g) {
    const float composite = s.mergedRho[g][0];
    // A cell the composite curve does not cover has nothing to be compared.
    if (!(composite > 0.0f)) continue;
    const float computed = s.computedRho[g];
    if (!(computed > 0.0f)) return HUGE_VAL;
    const double r = std::log(static_cast<double>(composite) / computed);
    sum += r * r;
  }
  return sum;
}

std::string ssqText(double misfit) {
  return "SSQ = " + cformat(" %.6f ", misfit);
}

}  // namespace orv
