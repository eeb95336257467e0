#include "core/interpretation/jacobian.h"

#include <cmath>

#include "core/interpretation/forward_problem.h"
#include "core/interpretation/long_filter.h"

namespace orv {

namespace {

constexpr double kLn10 = 2.30258509299404568402;
constexpr int kFirstAbscissa = -20;

// Transform and its sensitivities at one abscissa lambda (m).
void transformSensitivities(int n, const double* rho, const double* h, double lambda, double* dRho,
                            double* dH) {
  double t[MaxLayers + 1];  // T_i: transform seen at the top of layer i
  double w[MaxLayers];
  float e[MaxLayers];
  double d[MaxLayers];
  double p[MaxLayers + 1];  // P_k = dT_0 / dT_k

  t[n] = rho[n];
  for (int i = n - 1; i >= 0; --i) {
    e[i] = static_cast<float>(std::exp(-2.0 * h[i] / lambda));
    w[i] = rho[i] * (1.0 - e[i]) / (1.0 + e[i]);
    t[i] = (w[i] + t[i + 1]) / (w[i] * t[i + 1] / rho[i] / rho[i] + 1.0);
  }
  p[0] = 1.0;
  for (int i = 0; i < n; ++i) {
    d[i] = w[i] * t[i + 1] / rho[i] / rho[i] + 1.0;
    p[i + 1] = (1.0 - w[i] * w[i] / (rho[i] * rho[i])) * p[i] / (d[i] * d[i]);
  }
  for (int i = 0; i < n; ++i) {
    const double below = t[i + 1];
    const double d2 = d[i] * d[i];
    const double dTdW = (1.0 - below * below / (rho[i] * rho[i])) / d2;
    // dW/dh = rho sech^2(h / lambda) / lambda, written with e = exp(-2h/lambda).
    dH[i] = dTdW * p[i] * 4.0 * rho[i] * e[i] / ((e[i] + 1.0) * lambda * (e[i] + 1.0));
    dRho[i] = (2.0 * w[i] * below * (w[i] + below) / (d2 * rho[i] * rho[i] * rho[i]) +
               (1.0 - below * below / (rho[i] * rho[i])) * w[i] / (rho[i] * d2)) *
              p[i];
  }
  dRho[n] = p[n];
}

}  // namespace

bool computeJacobian(CurveWindowState& s) {
  const int n = s.modelBoundaryCount;
  if (n < 0 || n >= MaxLayers) return false;
  double rho[MaxLayers];
  double h[MaxLayers];
  for (int i = 0; i <= n; ++i) rho[i] = s.modelRho[i];
  for (int i = 0; i < n; ++i) h[i] = s.modelThickness[i];
  return computeJacobianAt(s, n, rho, h);
}

bool computeJacobianAt(CurveWindowState& s, int n, const double* rho, const double* h) {
  if (n < 0 || n >= MaxLayers) return false;
  if (s.accurateForward) return computeLongFilterJacobian(s, n, rho, h);
  const int first = s.gridMinIndex;
  if (first < 0 || s.gridMaxIndex >= GridCells || first > s.gridMaxIndex) return false;
  const int m = s.gridMaxIndex - first + 1;

  for (int k = 0; k < FilterLength; ++k) s.filterCoefficients[k] = ForwardFilterCoefficients[k];

  const int lastAbscissa = (m - 1) + 4;
  for (int j = kFirstAbscissa; j <= lastAbscissa; ++j) {
    const double lambda = std::exp(kLn10 * (j + first) * AbGridStep);
    transformSensitivities(n, rho, h, lambda, s.transformSensRho[j - kFirstAbscissa],
                           s.transformSensThickness[j - kFirstAbscissa]);
  }

  bool finite = true;
  for (int i = 0; i < m; ++i) {
    for (int k = 0; k <= n; ++k) {
      double jr = 0.0;
      double jh = 0.0;
      for (int f = -2; f <= 10; ++f) {
        const int row = i - 2 * f - kFirstAbscissa;
        jr += s.filterCoefficients[f + 2] * s.transformSensRho[row][k];
        if (k < n) jh += s.filterCoefficients[f + 2] * s.transformSensThickness[row][k];
      }
      s.J_rho[i][k] = jr;
      if (k < n) s.J_h[i][k] = jh;
      finite = finite && std::isfinite(jr) && std::isfinite(jh);
    }
  }
  return finite;
}

}  // namespace orv
