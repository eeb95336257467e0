#include "core/interpretation/layer_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/interpretation/forward_problem.h"
#include "core/interpretation/jacobian.h"

namespace orv {

namespace {

// Finite-difference step in the logarithm of a parameter: far above the
// single-precision rounding of the computed curve, far below any structure.
constexpr double kDifferenceStep = 1e-3;
// Damping this strong moves nothing that single precision would see.
constexpr double kMaxDamping = 1e16;
// Directions the data do not see are damped by this share of the largest
// curvature, so that the normal matrix can be solved.
constexpr double kCurvatureFloor = 1e-12;

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

// The Cholesky factor L of a symmetric positive definite n x n matrix, in
// the lower triangle of a. False when a is not positive definite.
bool choleskyFactor(std::vector<double>& a, int n) {
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
  return true;
}

// b := (L L^T)^-1 b with the factor of choleskyFactor.
void choleskySubstitute(const std::vector<double>& a, std::vector<double>& b, int n) {
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
      groupEnd_[columns_] = -1;
      isRho_[columns_++] = true;
    }
    if (layer == n) break;
    if (s.thicknessFixed[layer] != 1 && !interfaceFixed_[layer]) {
      // The first kept interface below takes up the change; its layer's
      // thickness is then a dependent one (a fixed thickness there would
      // have kept the interface above it too).
      int end = -1;
      for (int d = layer + 1; d < n && end < 0; ++d)
        if (interfaceFixed_[d]) end = d;
      hColumn_[layer] = columns_;
      layer_[columns_] = layer;
      groupEnd_[columns_] = end;
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
  const size_t rows = static_cast<size_t>(dataRows_ + MaxLayers);
  jacobianX_.resize(MaxColumns);
  jac_.resize(rows * MaxColumns);
  jacobianResidual_.resize(rows);
  probe_.resize(MaxColumns);
  normal_.resize(MaxColumns * MaxColumns);
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

double LayerFit::logQuantity(const LayerModel& m, LayerQuantity q, int layer) {
  const double rho = std::log(m.rho[layer]);
  if (q == LayerQuantity::Rho) return rho;
  const double h = std::log(m.h[layer]);
  if (q == LayerQuantity::Thickness) return h;
  return q == LayerQuantity::Conductance ? h - rho : h + rho;
}

void LayerFit::logQuantityGradient(const LayerModel& m, LayerQuantity q, int layer,
                                   double* g) const {
  for (int c = 0; c < columns_; ++c) g[c] = 0.0;
  const double byRho = q == LayerQuantity::Rho           ? 1.0
                       : q == LayerQuantity::Thickness   ? 0.0
                       : q == LayerQuantity::Conductance ? -1.0
                                                         : 1.0;
  const double byH = q == LayerQuantity::Rho ? 0.0 : 1.0;
  if (rhoColumn_[layer] >= 0) g[rhoColumn_[layer]] += byRho;
  if (byH == 0.0 || layer >= m.n) return;
  if (hColumn_[layer] >= 0) {
    g[hColumn_[layer]] += byH;
    return;
  }
  // A dependent thickness shrinks by what its group grows.
  for (int c = 0; c < columns_; ++c) {
    if (!isRho_[c] && groupEnd_[c] == layer) g[c] -= byH * m.h[layer_[c]] / m.h[layer];
  }
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

bool LayerFit::jacobian(const double* x, double* jac, double* r, int& evaluations) {
  LayerModel m;
  if (!model(x, m) || !residuals(x, r, evaluations)) return false;
  // The curve of x is in computedRho; its derivatives by rho and h follow.
  if (!computeJacobianAt(s_, m.n, m.rho, m.h)) return false;
  const int n = columns_;
  for (int i = 0; i < dataRows_; ++i) {
    const int row = cell_[i] - s_.gridMinIndex;
    const double rhoa = s_.computedRho[cell_[i]];
    for (int c = 0; c < n; ++c) {
      const int k = layer_[c];
      double d;  // d rho_a / d ln p
      if (isRho_[c]) {
        d = s_.J_rho[row][k] * m.rho[k];
      } else {
        const double taken = groupEnd_[c] >= 0 ? s_.J_h[row][groupEnd_[c]] : 0.0;
        d = (s_.J_h[row][k] - taken) * m.h[k];
      }
      jac[static_cast<size_t>(i) * n + c] = -d / rhoa;
      if (!std::isfinite(jac[static_cast<size_t>(i) * n + c])) return false;
    }
  }
  int row = dataRows_;
  const double w = std::sqrt(smoothing_);
  for (int k = 0; k < base_.n && smoothing_ > 0.0; ++k) {
    if (rhoColumn_[k] < 0 || rhoColumn_[k + 1] < 0) continue;
    double* line = jac + static_cast<size_t>(row++) * n;
    for (int c = 0; c < n; ++c) line[c] = 0.0;
    line[rhoColumn_[k + 1]] = w;
    line[rhoColumn_[k]] = -w;
  }
  return true;
}

bool LayerFit::differenceJacobian(const double* x, const double* r, double* jac, int& evaluations) {
  const int n = columns_;
  const int rows = rowCount();
  // A step that leaves the admissible models is taken to the other side.
  for (int c = 0; c < n; ++c) {
    for (int k = 0; k < n; ++k) probe_[k] = x[k];
    double h = kDifferenceStep;
    probe_[c] = x[c] + h;
    bool ok = residuals(probe_.data(), jacobianResidual_.data(), evaluations);
    if (!ok) {
      h = -kDifferenceStep;
      probe_[c] = x[c] + h;
      ok = residuals(probe_.data(), jacobianResidual_.data(), evaluations);
    }
    for (int i = 0; i < rows; ++i)
      jac[static_cast<size_t>(i) * n + c] = ok ? (jacobianResidual_[i] - r[i]) / h : 0.0;
  }
  return true;
}

bool LayerFit::refreshJacobian(const double* x, const double* r, bool differences,
                               int& evaluations) {
  haveJacobian_ = false;
  const int n = columns_;
  const int rows = rowCount();
  if (differences ? !differenceJacobian(x, r, jac_.data(), evaluations)
                  : !jacobian(x, jac_.data(), jacobianResidual_.data(), evaluations))
    return false;
  // Row by row, so that the loops run along memory.
  for (int k = 0; k < n * n; ++k) normal_[k] = 0.0;
  for (int i = 0; i < rows; ++i) {
    const double* line = jac_.data() + static_cast<size_t>(i) * n;
    for (int p = 0; p < n; ++p) {
      double* target = normal_.data() + static_cast<size_t>(p) * n;
      const double v = line[p];
      for (int q = 0; q <= p; ++q) target[q] += v * line[q];
    }
  }
  for (int p = 0; p < n; ++p)
    for (int q = 0; q < p; ++q) normal_[q * n + p] = normal_[p * n + q];
  for (int c = 0; c < n; ++c) jacobianX_[c] = x[c];
  haveJacobian_ = true;
  differenceJacobian_ = differences;
  return true;
}

bool LayerFit::inverseNormalMatrix(const double* x, std::vector<double>& inverse,
                                   int& evaluations) {
  const int n = columns_;
  const double keep = smoothing_;
  smoothing_ = 0.0;  // the data alone
  std::vector<double> r(rowCount());
  const bool ok =
      residuals(x, r.data(), evaluations) && refreshJacobian(x, r.data(), false, evaluations);
  smoothing_ = keep;
  haveJacobian_ = false;  // penalty rows left out: not for the fits
  if (!ok) return false;
  double largest = 0.0;
  for (int p = 0; p < n; ++p) largest = std::max(largest, normal_[p * n + p]);
  if (!(largest > 0.0)) return false;
  inverse.assign(static_cast<size_t>(n) * n, 0.0);
  std::vector<double> a(normal_.begin(), normal_.begin() + n * n), column(n);
  for (int p = 0; p < n; ++p) a[p * n + p] += kCurvatureFloor * largest;
  if (!choleskyFactor(a, n)) return false;
  for (int q = 0; q < n; ++q) {
    for (int p = 0; p < n; ++p) column[p] = p == q ? 1.0 : 0.0;
    choleskySubstitute(a, column, n);
    for (int p = 0; p < n; ++p) inverse[static_cast<size_t>(p) * n + q] = column[p];
  }
  return true;
}

namespace {

// One damped Gauss-Newton step of the fit: minimises |r + J d|^2 + mu
// sum(scale_p d_p^2) subject to g . d = c (when g is given) and to the box
// lower <= x + d <= upper (when given). Columns whose step would leave the
// box are held at the edge they cross and the rest solved again.
struct StepProblem {
  int n;
  const double* normal;  // J^T J
  const double* b;       // J^T r
  const double* scale;   // Marquardt's damping scale
  double mu;
  const double* g;  // held quantity's gradient, or null
  double c;         // required change of the held quantity
  const double* x;
  const double* lower;  // null: no box
  const double* upper;
};

bool solveStep(const StepProblem& p, double* d) {
  const int n = p.n;
  bool atEdge[LayerFit::MaxColumns] = {};
  std::vector<double> m, u, w;
  for (int pass = 0; pass <= n; ++pass) {
    int free[LayerFit::MaxColumns];
    int f = 0;
    for (int k = 0; k < n; ++k) {
      if (atEdge[k]) continue;
      free[f++] = k;
    }
    double rest = p.c;  // what the free columns must still move the quantity
    for (int k = 0; k < n; ++k) {
      if (atEdge[k] && p.g) rest -= p.g[k] * d[k];
    }
    m.assign(static_cast<size_t>(f) * f, 0.0);
    u.assign(f, 0.0);
    w.assign(f, 0.0);
    for (int a = 0; a < f; ++a) {
      const int ka = free[a];
      double rhs = -p.b[ka];
      for (int k = 0; k < n; ++k) {
        if (atEdge[k]) rhs -= p.normal[ka * n + k] * d[k];
      }
      u[a] = rhs;
      w[a] = p.g ? p.g[ka] : 0.0;
      for (int bIndex = 0; bIndex < f; ++bIndex)
        m[a * f + bIndex] = p.normal[ka * n + free[bIndex]];
      m[a * f + a] += p.mu * p.scale[ka];
    }
    if (!choleskyFactor(m, f)) return false;
    choleskySubstitute(m, u, f);
    if (p.g) {
      choleskySubstitute(m, w, f);
      double gu = 0.0, gw = 0.0;
      for (int a = 0; a < f; ++a) {
        gu += p.g[free[a]] * u[a];
        gw += p.g[free[a]] * w[a];
      }
      if (gw > 1e-300) {
        const double t = (rest - gu) / gw;
        for (int a = 0; a < f; ++a) u[a] += t * w[a];
      } else if (std::fabs(rest) > 1e-12) {
        return false;  // nothing free moves the held quantity
      }
    }
    for (int a = 0; a < f; ++a) d[free[a]] = u[a];
    if (!p.lower) return true;
    bool crossed = false;
    for (int a = 0; a < f; ++a) {
      const int k = free[a];
      if (p.x[k] + d[k] < p.lower[k]) {
        d[k] = p.lower[k] - p.x[k];
        atEdge[k] = crossed = true;
      } else if (p.x[k] + d[k] > p.upper[k]) {
        d[k] = p.upper[k] - p.x[k];
        atEdge[k] = crossed = true;
      }
    }
    if (!crossed) return true;
  }
  return true;
}

}  // namespace

LayerFit::Result LayerFit::minimise(double* x, int maxIterations, double relativeTolerance) {
  Control control;
  control.maxIterations = maxIterations;
  control.relativeTolerance = relativeTolerance;
  return minimise(x, control);
}

LayerFit::Result LayerFit::minimise(double* x, const Control& control) {
  Result out;
  const int n = columns_;
  const int rows = rowCount();
  const FitLimits& limits = control.limits;
  const bool held = limits.heldLayer >= 0;
  std::vector<double> r(rows), rTrial(rows), b(n), scale(n), step(n), trial(n), g(n), lower(n),
      upper(n);
  if (limits.centre) {
    for (int c = 0; c < n; ++c) {
      lower[c] = limits.centre[c] - limits.halfWidth;
      upper[c] = limits.centre[c] + limits.halfWidth;
      x[c] = std::clamp(x[c], lower[c], upper[c]);
    }
  }
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
  // How far x is from holding its quantity at the held value.
  auto heldGap = [&](const double* at) {
    LayerModel m;
    if (!held || !model(at, m)) return 0.0;
    return limits.heldValue - logQuantity(m, limits.quantity, limits.heldLayer);
  };
  if (!residuals(x, r.data(), out.evaluations)) {
    out.misfit = HUGE_VAL;
    return out;
  }
  double f = objective(r);
  out.misfit = dataMisfit(r);
  // A start off the held value first has to reach it; the misfit there is
  // what it is.
  bool reaching = std::fabs(heldGap(x)) > 1e-12;
  if (n == 0) return out;

  double mu = -1.0;
  double nu = 2.0;
  for (int iteration = 0; iteration < control.maxIterations && (f > 0.0 || reaching); ++iteration) {
    double distance = HUGE_VAL;
    if (haveJacobian_ && differenceJacobian_ == control.differences) {
      distance = 0.0;
      for (int c = 0; c < n; ++c) distance = std::max(distance, std::fabs(x[c] - jacobianX_[c]));
    }
    if (distance > control.jacobianReach &&
        !refreshJacobian(x, r.data(), control.differences, out.evaluations))
      break;
    bool fresh = distance <= 0.0 || distance > control.jacobianReach;
    ++out.iterations;

    bool accepted = false;
    bool finished = false;
    while (!accepted) {
      // The residuals at x against the kept Jacobian, which may be of a
      // nearby point.
      double largest = 0.0;
      for (int p = 0; p < n; ++p) {
        double gp = 0.0;
        for (int i = 0; i < rows; ++i) gp += jac_[static_cast<size_t>(i) * n + p] * r[i];
        b[p] = gp;
        largest = std::max(largest, normal_[p * n + p]);
      }
      if (!(largest > 0.0)) {
        finished = true;
        break;
      }
      // Marquardt's scaling: each parameter is damped by its own curvature,
      // with a floor for parameters the data hardly see.
      for (int p = 0; p < n; ++p)
        scale[p] = std::max(normal_[p * n + p], control.dampingFloor * largest);
      if (mu < 0.0) mu = control.firstDamping * largest;
      double gap = 0.0;
      if (held) {
        LayerModel m;
        model(x, m);
        logQuantityGradient(m, limits.quantity, limits.heldLayer, g.data());
        gap = heldGap(x);
      }
      const StepProblem problem{n,
                                normal_.data(),
                                b.data(),
                                scale.data(),
                                mu,
                                held ? g.data() : nullptr,
                                gap,
                                x,
                                limits.centre ? lower.data() : nullptr,
                                limits.centre ? upper.data() : nullptr};
      for (int p = 0; p < n; ++p) step[p] = 0.0;
      if (solveStep(problem, step.data())) {
        for (int p = 0; p < n; ++p) trial[p] = x[p] + step[p];
        // A held quantity that is not linear in the columns (a thickness
        // above a fixed interface) is brought back onto its value.
        for (int k = 0; k < 3 && held; ++k) {
          const double off = heldGap(trial.data());
          if (std::fabs(off) < 1e-12) break;
          LayerModel m;
          if (!model(trial.data(), m)) break;
          logQuantityGradient(m, limits.quantity, limits.heldLayer, g.data());
          double gg = 0.0;
          for (int p = 0; p < n; ++p) gg += g[p] * g[p];
          if (!(gg > 0.0)) break;
          for (int p = 0; p < n; ++p) trial[p] += g[p] * off / gg;
          if (limits.centre) {
            for (int p = 0; p < n; ++p) trial[p] = std::clamp(trial[p], lower[p], upper[p]);
          }
        }
        if (residuals(trial.data(), rTrial.data(), out.evaluations)) {
          const double fTrial = objective(rTrial);
          if (fTrial < f || reaching) {
            double predicted = 0.0;  // |r|^2 - |r + J d|^2
            for (int p = 0; p < n; ++p) {
              double ad = 0.0;
              for (int q = 0; q < n; ++q) ad += normal_[p * n + q] * step[q];
              predicted -= step[p] * (2.0 * b[p] + ad);
            }
            // The step onto a held value raises the misfit by design: it
            // says nothing about the damping.
            if (!reaching) {
              const double gain = predicted > 0.0 ? (f - fTrial) / predicted : 1.0;
              const double t = 2.0 * gain - 1.0;
              mu *= std::max(1.0 / 3.0, 1.0 - t * t * t);
            }
            nu = 2.0;
            const double relative = f > 0.0 ? (f - fTrial) / f : 0.0;
            const double now = dataMisfit(rTrial);
            finished =
                !reaching && (relative < control.relativeTolerance || now <= control.goodEnough);
            reaching = false;
            for (int p = 0; p < n; ++p) x[p] = trial[p];
            r.swap(rTrial);
            f = fTrial;
            out.misfit = dataMisfit(r);
            accepted = true;
            break;
          }
        }
      }
      // A kept Jacobian that no longer leads downhill is renewed first.
      if (!fresh) {
        if (!refreshJacobian(x, r.data(), control.differences, out.evaluations)) {
          finished = true;
          break;
        }
        fresh = true;
        continue;
      }
      mu *= nu;
      nu *= 2.0;
      if (mu > kMaxDamping * largest || nu > 1e30) {
        finished = true;
        break;
      }
    }
    if (control.keepGoing && !control.keepGoing(iteration + 1)) {
      out.stopped = true;
      break;
    }
    if (finished) break;
  }
  if (reaching) out.misfit = HUGE_VAL;  // the held value could not be reached
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
