#include "core/interpretation/layer_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/interpretation/forward_problem.h"

namespace orv {

namespace {

// Finite-difference step in the logarithm of a parameter: far above the
// single-precision rounding of the computed curve, far below any structure.
constexpr double kDifferenceStep = 1e-3;

bool positiveFinite(double v) {
  return std::isfinite(v) && v > 0.0;
}

// Interfaces whose depth is kept: the fixed ones, and every interface above
// a fixed-thickness layer that ends at a kept interface (its depth is then
// fixed too), as the inversion keeps them.
void keptInterfaces(const CurveWindowState& s, int n, bool* kept) {
  for (int i = 0; i < n; ++i) kept[i] = s.depthFixed[i] == 1;
  for (int i = n - 1; i >= 1; --i) {
    if (kept[i] && s.thicknessFixed[i] == 1) kept[i - 1] = true;
  }
}

// Solves (a) y = b for a symmetric positive definite n x n matrix by
// Cholesky; a is overwritten. False when a is not positive definite.
bool choleskySolve(std::vector<double>& a, std::vector<double>& b, int n) {
  for (int j = 0; j < n; ++j) {
    double d = a[j * n + j];
    for (int k = 0; k < j; ++k) d -= a[j * n + k] * a[j * n + k];
    if (!(d > 0.0) || !std::isfinite(d)) return false;
    const double l = std::sqrt(d);
    a[j * n + j] = l;
    for (int i = j + 1; i < n; ++i) {
      double v = a[i * n + j];
      for (int k = 0; k < j; ++k) v -= a[i * n + k] * a[j * n + k];
      a[i * n + j] = v / l;
    }
  }
  for (int i = 0; i < n; ++i) {
    double v = b[i];
    for (int k = 0; k < i; ++k) v -= a[i * n + k] * b[k];
    b[i] = v / a[i * n + i];
  }
  for (int i = n - 1; i >= 0; --i) {
    double v = b[i];
    for (int k = i + 1; k < n; ++k) v -= a[k * n + i] * b[k];
    b[i] = v / a[i * n + i];
  }
  return true;
}

}  // namespace

LayerModel windowModel(const CurveWindowState& s) {
  LayerModel m;
  m.n = s.modelBoundaryCount < 0
            ? 0
            : (s.modelBoundaryCount >= MaxLayers ? MaxLayers - 1 : s.modelBoundaryCount);
  for (int i = 0; i <= m.n; ++i) m.rho[i] = s.modelRho[i];
  for (int i = 0; i < m.n; ++i) {
    const double above = i == 0 ? 0.0 : static_cast<double>(s.modelDepth[i - 1]);
    m.h[i] = static_cast<double>(s.modelDepth[i]) - above;
  }
  return m;
}

LayerFit::LayerFit(CurveWindowState& s, const LayerModel& base) : s_(s), base_(base) {
  const int n = base_.n;
  keptInterfaces(s, n, interfaceFixed_);
  double depth = 0.0;
  for (int i = 0; i < n; ++i) {
    depth += base_.h[i];
    fixedDepth_[i] = depth;
  }
  for (int layer = 0; layer <= n; ++layer) {
    rhoColumn_[layer] = -1;
    hColumn_[layer] = -1;
    if (s.rhoFixed[layer] != 1) {
      rhoColumn_[layer] = columns_;
      layer_[columns_] = layer;
      isRho_[columns_++] = true;
    }
    if (layer == n) break;
    if (s.thicknessFixed[layer] != 1 && !interfaceFixed_[layer]) {
      hColumn_[layer] = columns_;
      layer_[columns_] = layer;
      isRho_[columns_++] = false;
    }
  }
  const int first = s.gridMinIndex < 0 ? 0 : s.gridMinIndex;
  const int last = s.gridMaxIndex >= GridCells ? GridCells - 1 : s.gridMaxIndex;
  for (int g = first; g <= last; ++g) {
    const float composite = s.mergedRho[g][0];
    if (!(composite > 0.0f)) continue;
    cell_[dataRows_] = g;
    logComposite_[dataRows_++] = std::log(static_cast<double>(composite));
  }
}

void LayerFit::start(double* x) const {
  for (int c = 0; c < columns_; ++c) {
    const int k = layer_[c];
    x[c] = std::log(isRho_[c] ? base_.rho[k] : base_.h[k]);
  }
}

bool LayerFit::model(const double* x, LayerModel& out) const {
  const int n = base_.n;
  out.n = n;
  for (int k = 0; k <= n; ++k) {
    out.rho[k] = rhoColumn_[k] >= 0 ? std::exp(x[rhoColumn_[k]]) : base_.rho[k];
    if (!positiveFinite(out.rho[k])) return false;
  }
  double top = 0.0;
  for (int k = 0; k < n; ++k) {
    double h;
    if (hColumn_[k] >= 0) {
      h = std::exp(x[hColumn_[k]]);
    } else if (interfaceFixed_[k] && s_.thicknessFixed[k] != 1) {
      h = fixedDepth_[k] - top;  // takes up what the group above gained or lost
    } else {
      h = base_.h[k];
    }
    if (!positiveFinite(h)) return false;
    out.h[k] = h;
    top = interfaceFixed_[k] ? fixedDepth_[k] : top + h;
  }
  return true;
}

bool LayerFit::computeCurve(const LayerModel& m) {
  for (int i = 0; i <= m.n; ++i) s_.rhoParam[i] = m.rho[i];
  for (int i = 0; i < m.n; ++i) s_.thickParam[i] = m.h[i];
  const int keep = s_.modelBoundaryCount;
  s_.modelBoundaryCount = m.n;
  const bool ok = computeForwardValues(s_, true);
  s_.modelBoundaryCount = keep;
  return ok;
}

double LayerFit::misfit(const LayerModel& m) {
  if (!computeCurve(m)) return HUGE_VAL;
  double sum = 0.0;
  for (int i = 0; i < dataRows_; ++i) {
    const float c = s_.computedRho[cell_[i]];
    if (!(c > 0.0f)) return HUGE_VAL;
    const double r = logComposite_[i] - std::log(static_cast<double>(c));
    sum += r * r;
  }
  return sum;
}

double LayerFit::misfitOf(const double* x) {
  LayerModel m;
  if (!model(x, m)) return HUGE_VAL;
  return misfit(m);
}

int LayerFit::penaltyRows() const {
  if (!(smoothing_ > 0.0)) return 0;
  int rows = 0;
  for (int k = 0; k < base_.n; ++k) {
    if (rhoColumn_[k] >= 0 && rhoColumn_[k + 1] >= 0) ++rows;
  }
  return rows;
}

bool LayerFit::residuals(const double* x, double* r, int& evaluations) {
  LayerModel m;
  if (!model(x, m)) return false;
  ++evaluations;
  if (!computeCurve(m)) return false;
  for (int i = 0; i < dataRows_; ++i) {
    const float c = s_.computedRho[cell_[i]];
    if (!(c > 0.0f) || !std::isfinite(c)) return false;
    r[i] = logComposite_[i] - std::log(static_cast<double>(c));
  }
  if (smoothing_ > 0.0) {
    const double w = std::sqrt(smoothing_);
    int row = dataRows_;
    for (int k = 0; k < base_.n; ++k) {
      if (rhoColumn_[k] >= 0 && rhoColumn_[k + 1] >= 0)
        r[row++] = w * (x[rhoColumn_[k + 1]] - x[rhoColumn_[k]]);
    }
  }
  return true;
}

LayerFit::Result LayerFit::minimise(double* x, int maxIterations, double relativeTolerance,
                                    int held) {
  Result out;
  const int n = columns_;
  const int rows = rowCount();
  std::vector<double> r(rows), rTrial(rows), jac(static_cast<size_t>(rows) * n), a(n * n),
      normal(n * n), g(n), step(n), trial(n), probe(n);
  auto dataMisfit = [&](const std::vector<double>& res) {
    double sum = 0.0;
    for (int i = 0; i < dataRows_; ++i) sum += res[i] * res[i];
    return sum;
  };
  auto objective = [&](const std::vector<double>& res) {
    double sum = 0.0;
    for (int i = 0; i < rows; ++i) sum += res[i] * res[i];
    return sum;
  };
  if (!residuals(x, r.data(), out.evaluations)) {
    out.misfit = HUGE_VAL;
    return out;
  }
  double f = objective(r);
  out.misfit = dataMisfit(r);
  if (n == 0 || (n == 1 && held == 0)) return out;

  double mu = -1.0;
  double nu = 2.0;
  for (int iteration = 0; iteration < maxIterations && f > 0.0; ++iteration) {
    // Jacobian of the residuals; a step that leaves the admissible models
    // is taken to the other side.
    for (int c = 0; c < n; ++c) {
      if (c == held) {
        for (int i = 0; i < rows; ++i) jac[static_cast<size_t>(i) * n + c] = 0.0;
        continue;
      }
      for (int k = 0; k < n; ++k) probe[k] = x[k];
      double h = kDifferenceStep;
      probe[c] = x[c] + h;
      bool ok = residuals(probe.data(), rTrial.data(), out.evaluations);
      if (!ok) {
        h = -kDifferenceStep;
        probe[c] = x[c] + h;
        ok = residuals(probe.data(), rTrial.data(), out.evaluations);
      }
      for (int i = 0; i < rows; ++i)
        jac[static_cast<size_t>(i) * n + c] = ok ? (rTrial[i] - r[i]) / h : 0.0;
    }
    double largest = 0.0;
    for (int p = 0; p < n; ++p) {
      double gp = 0.0;
      for (int i = 0; i < rows; ++i) gp += jac[static_cast<size_t>(i) * n + p] * r[i];
      g[p] = gp;
      for (int q = 0; q <= p; ++q) {
        double v = 0.0;
        for (int i = 0; i < rows; ++i)
          v += jac[static_cast<size_t>(i) * n + p] * jac[static_cast<size_t>(i) * n + q];
        a[p * n + q] = a[q * n + p] = v;
      }
      largest = std::max(largest, a[p * n + p]);
    }
    if (!(largest > 0.0)) break;
    if (mu < 0.0) mu = 1e-3 * largest;
    ++out.iterations;

    bool accepted = false;
    bool finished = false;
    while (!accepted) {
      for (int k = 0; k < n * n; ++k) normal[k] = a[k];
      for (int p = 0; p < n; ++p) {
        // Marquardt's scaling: each parameter is damped by its own curvature,
        // with a floor for parameters the data hardly see.
        const double d = std::max(a[p * n + p], 1e-12 * largest);
        normal[p * n + p] += mu * d;
        step[p] = -g[p];
      }
      if (held >= 0) {
        for (int k = 0; k < n; ++k) normal[held * n + k] = normal[k * n + held] = 0.0;
        normal[held * n + held] = 1.0;
        step[held] = 0.0;
      }
      if (choleskySolve(normal, step, n)) {
        for (int p = 0; p < n; ++p) trial[p] = x[p] + step[p];
        if (residuals(trial.data(), rTrial.data(), out.evaluations)) {
          const double fTrial = objective(rTrial);
          if (fTrial < f) {
            double predicted = 0.0;
            for (int p = 0; p < n; ++p) {
              const double d = std::max(a[p * n + p], 1e-12 * largest);
              predicted += step[p] * (mu * d * step[p] - g[p]);
            }
            const double gain = predicted > 0.0 ? (f - fTrial) / predicted : 1.0;
            const double t = 2.0 * gain - 1.0;
            mu *= std::max(1.0 / 3.0, 1.0 - t * t * t);
            nu = 2.0;
            const double relative = (f - fTrial) / f;
            for (int p = 0; p < n; ++p) x[p] = trial[p];
            r.swap(rTrial);
            f = fTrial;
            out.misfit = dataMisfit(r);
            accepted = true;
            finished = relative < relativeTolerance;
            break;
          }
        }
      }
      mu *= nu;
      nu *= 2.0;
      // Damping this strong moves nothing that single precision would see.
      if (mu > 1e16 * largest || nu > 1e30) {
        finished = true;
        break;
      }
    }
    if (finished) break;
  }
  return out;
}

void storeLayerModel(CurveWindowState& s, const LayerModel& m, bool keepFixedDepths) {
  bool kept[MaxLayers] = {};
  if (keepFixedDepths) keptInterfaces(s, m.n, kept);
  s.modelBoundaryCount = m.n;
  for (int i = 0; i <= m.n; ++i) s.modelRho[i] = static_cast<float>(m.rho[i]);
  double depth = 0.0;
  for (int i = 0; i < m.n; ++i) {
    if (kept[i]) {
      depth = s.modelDepth[i];
    } else {
      depth += m.h[i];
      float d = static_cast<float>(depth);
      // A layer thinner than the rounding of its depth keeps a thickness:
      // two interfaces at one depth would refuse the next inversion.
      const float above = i == 0 ? 0.0f : s.modelDepth[i - 1];
      if (!(d > above)) d = std::nextafter(above, HUGE_VALF);
      s.modelDepth[i] = d;
    }
    const double above = i == 0 ? 0.0 : static_cast<double>(s.modelDepth[i - 1]);
    s.modelThickness[i] = static_cast<float>(s.modelDepth[i] - above);
  }
  if (m.n < MaxLayers) s.modelDepth[m.n] = 1e9f;
}

}  // namespace orv
