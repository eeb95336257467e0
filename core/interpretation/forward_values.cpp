// The forward computation without the picture: Pekeris recurrence of the
// resistivity transform at logarithmic abscissae, convolved with the
// 13-point Schlumberger filter at two grid steps per filter step.
#include <cmath>

#include "base/c_format.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/long_filter.h"

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
// exp(x) < 2^-150 for every x below this, so the float it rounds to is +0.
constexpr double kFloatExpZero = -104.0;

}  // namespace

float gridAbscissa(int g) {
  return static_cast<float>(std::exp(kLn10 * g * AbGridStep));
}

bool computeForwardValues(CurveWindowState& s, bool trial) {
  if (s.accurateForward) return computeLongFilterForward(s, trial);
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

  // The floor is met at the first abscissa for every layer above the
  // half-space and then holds for all later ones, so it can be applied once.
  // The square of a float is exact in double.
  double rho2[MaxLayers];
  double minusTwoH[MaxLayers];
  for (int i = 0; i < n; ++i) {
    if (rho[i] < 1e-6) rho[i] = kRhoFloor;
    rho2[i] = static_cast<double>(rho[i]) * rho[i];
    minusTwoH[i] = -2.0 * thickness[i];
  }

  // The whole transform is evaluated before any result array is written, so
  // that a refusal leaves the previous curve in place. The recurrence runs
  // layer by layer over all abscissae at once: the abscissae are independent
  // of each other, and each value still goes through exactly the same
  // operations in the same order as when taken one abscissa at a time.
  const int abscissae = last + 4 - kFirstAbscissa + 1;
  float lambda[TransformAbscissae];  // m
  float transform[TransformAbscissae];
  for (int a = 0; a < abscissae; ++a) {
    lambda[a] = gridAbscissa(a + kFirstAbscissa);
    if (n > 0 && std::fabs(lambda[a]) < 1e-11) return false;
    transform[a] = rho[n];  // the half-space is not clamped
  }
  float e[TransformAbscissae];
  for (int i = n - 1; i >= 0; --i) {
    bool refused = false;
    for (int a = 0; a < abscissae; ++a) {
      const double x = minusTwoH[i] / lambda[a];
      // Below -104 the exponential is under half the smallest float and
      // rounds to zero: a layer many abscissae thick needs no call.
      e[a] = x < kFloatExpZero ? 0.0f : static_cast<float>(std::exp(x));
      refused = refused || std::fabs(e[a] + 1.0) < 1e-8;
    }
    if (refused) return false;
    const double r = rho[i];
    const double r2 = rho2[i];
    for (int a = 0; a < abscissae; ++a) {
      const double w = (1.0 - e[a]) * r / (e[a] + 1.0);  // rho tanh(h / lambda)
      const float t = transform[a];
      transform[a] = static_cast<float>((w + t) / (t * w / r2 + 1.0));
    }
  }
  // A model with a non-finite or sign-changing value could give an infinite
  // or undefined transform; such a curve is not a result.
  for (int a = 0; a < abscissae; ++a) {
    if (!std::isfinite(transform[a])) return false;
  }

  for (int g = 0; g <= last; ++g) s.gridAbHalf[g] = lambda[g - kFirstAbscissa];
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
