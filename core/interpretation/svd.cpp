#include "core/interpretation/svd.h"

#include <cmath>

namespace orv {

namespace {

// Below this a column or row is taken as already reduced.
constexpr double kReflectionFloor = 1e-55;
// A rotation from a pair whose norm is below this is not taken.
constexpr double kRotationFloor = 1e-25;
// A superdiagonal entry below this has deflated.
constexpr double kDeflationLimit = 1e-10;
// The sweeps converge in a few per singular value; this bound only keeps a
// pathological matrix from holding the window forever.
constexpr long kSweepsPerColumn = 200;

double signOf(double x) {
  return x >= 0.0 ? 1.0 : -1.0;
}

}  // namespace

bool decomposeSVD(double (&a)[SvdMaxRows][SvdMaxColumns], int m, int n,
                  double (&u)[SvdMaxRows][SvdMaxRows], double (&v)[SvdMaxColumns][SvdMaxColumns]) {
  if (m < 1 || m > SvdMaxRows || n < 0 || n > SvdMaxColumns) return false;
  // With fewer cells than parameters the rotations reach rows m..n-1, which
  // stay zero; the loops below run over both.
  const int rows = m > n ? m : n;
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < n; ++j) {
      if (!std::isfinite(a[i][j])) return false;
    }
  }
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < m; ++j) u[i][j] = i == j ? 1.0 : 0.0;
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) v[i][j] = i == j ? 1.0 : 0.0;
  }

  double h[SvdMaxRows];  // the current Householder vector
  for (int k = 0; k < n; ++k) {
    // Column reflection, applied to column k as to the others: what it
    // leaves under the diagonal is rounding, and stays.
    double scale = 0.0;
    for (int i = k; i < m; ++i) scale = std::fmax(scale, std::fabs(a[i][k]));
    if (k < m && scale >= kReflectionFloor) {
      double sum = 0.0;
      for (int i = k; i < m; ++i) {
        h[i] = a[i][k] / scale;
        sum += h[i] * h[i];
      }
      const double alpha = signOf(h[k]) * std::sqrt(sum);
      h[k] += alpha;
      const double beta = alpha * h[k];
      for (int c = k; c < n; ++c) {
        double dot = 0.0;
        for (int i = k; i < m; ++i) dot += h[i] * a[i][c];
        const double f = dot / beta;
        for (int i = k; i < m; ++i) a[i][c] -= f * h[i];
      }
      for (int c = 0; c < m; ++c) {
        double dot = 0.0;
        for (int i = k; i < m; ++i) dot += h[i] * u[i][c];
        const double f = dot / beta;
        for (int i = k; i < m; ++i) u[i][c] -= f * h[i];
      }
    }
    // Row reflection on a[k][k+1..], row k included.
    if (k < n - 2) {
      scale = 0.0;
      for (int c = k + 1; c < n; ++c) scale = std::fmax(scale, std::fabs(a[k][c]));
      if (scale > kReflectionFloor) {
        double sum = 0.0;
        for (int c = k + 1; c < n; ++c) {
          h[c] = a[k][c] / scale;
          sum += h[c] * h[c];
        }
        const double alpha = signOf(h[k + 1]) * std::sqrt(sum);
        h[k + 1] += alpha;
        const double beta = alpha * h[k + 1];
        for (int r = k; r < m; ++r) {
          double dot = 0.0;
          for (int c = k + 1; c < n; ++c) dot += h[c] * a[r][c];
          const double f = dot / beta;
          for (int c = k + 1; c < n; ++c) a[r][c] -= f * h[c];
        }
        // Beyond the superdiagonal the row must be exactly zero: the sweeps
        // chase a single bulge and take any rounding left there for more
        // bidiagonal to reduce (a 59 x 59 matrix then sweeps thousands of
        // times and ends through the split test undiagonalised).
        for (int c = k + 2; c < n; ++c) a[k][c] = 0.0;
        for (int r = 0; r < n; ++r) {
          double dot = 0.0;
          for (int c = k + 1; c < n; ++c) dot += h[c] * v[r][c];
          const double f = dot / beta;
          for (int c = k + 1; c < n; ++c) v[r][c] -= f * h[c];
        }
      }
    }
  }

  // Implicit-shift sweeps, always from the top, until the superdiagonal
  // entries have deflated from the bottom up.
  const long maxSweeps = kSweepsPerColumn * n + 100;
  long sweeps = 0;
  int t = n - 1;
  while (t >= 1) {
    if (++sweeps > maxSweeps) return false;
    double mu = 0.0;
    for (int i = 0; i < rows; ++i) mu += a[i][t] * a[i][t];
    if (!std::isfinite(mu)) return false;
    const double x = a[0][0] * a[0][0] - mu;
    const double y = a[0][0] * a[0][1];
    const double norm = std::sqrt(x * x + y * y);
    // Both zero (an empty leading column against an empty column t): the
    // first rotation is the identity.
    double c = norm > 0.0 ? x / norm : 1.0;
    double s = norm > 0.0 ? y / norm : 0.0;
    for (int k = 0; k < t; ++k) {
      for (int i = 0; i < rows; ++i) {
        const double left = a[i][k];
        const double right = a[i][k + 1];
        a[i][k] = c * left + s * right;
        a[i][k + 1] = c * right - s * left;
      }
      if (k > 0) a[k - 1][k + 1] = 0.0;
      for (int i = 0; i < n; ++i) {
        const double left = v[i][k];
        const double right = v[i][k + 1];
        v[i][k] = c * left + s * right;
        v[i][k + 1] = c * right - s * left;
      }
      const double r = std::sqrt(a[k][k] * a[k][k] + a[k + 1][k] * a[k + 1][k]);
      if (r > kRotationFloor) {
        const double cr = a[k][k] / r;
        const double sr = a[k + 1][k] / r;
        for (int j = 0; j < n; ++j) {
          const double upper = a[k][j];
          const double lower = a[k + 1][j];
          a[k][j] = cr * upper + sr * lower;
          a[k + 1][j] = cr * lower - sr * upper;
        }
        a[k + 1][k] = 0.0;  // annihilated
        for (int j = 0; j < m; ++j) {
          const double upper = u[k][j];
          const double lower = u[k + 1][j];
          u[k][j] = cr * upper + sr * lower;
          u[k + 1][j] = cr * lower - sr * upper;
        }
        if (k < t - 1) {
          const double r2 = std::sqrt(a[k][k + 1] * a[k][k + 1] + a[k][k + 2] * a[k][k + 2]);
          // Nothing left to chase: the bidiagonal has split above the
          // bottom block and the decomposition ends here.
          if (r2 < kRotationFloor) return true;
          c = a[k][k + 1] / r2;
          s = a[k][k + 2] / r2;
        }
      }
    }
    if (std::fabs(a[t - 1][t]) < kDeflationLimit) --t;
  }
  return true;
}

}  // namespace orv
