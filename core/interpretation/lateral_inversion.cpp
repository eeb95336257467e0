#include "core/interpretation/lateral_inversion.h"

#include <algorithm>
#include <cmath>

#include "core/interpretation/forward_problem.h"
#include "core/interpretation/jacobian.h"

namespace orv {

namespace {

// Stops when an accepted step lowers the objective by less than this share.
constexpr double kRelativeImprovement = 1e-5;

// The parameters of one sounding: ln rho_0..ln rho_n, then ln d_0..ln d_(n-1).
int parameterCount(int n) {
  return 2 * n + 1;
}

struct Data {
  std::vector<int> cell;         // grid cell of each data row
  std::vector<double> logValue;  // ln composite
};

// Cholesky factor of the m x m symmetric matrix a in place (lower triangle);
// false when it is not positive definite.
bool cholesky(double* a, int m) {
  for (int j = 0; j < m; ++j) {
    double d = a[j * m + j];
    for (int k = 0; k < j; ++k) d -= a[j * m + k] * a[j * m + k];
    if (!(d > 0.0) || !std::isfinite(d)) return false;
    const double l = std::sqrt(d);
    a[j * m + j] = l;
    for (int i = j + 1; i < m; ++i) {
      double v = a[i * m + j];
      for (int k = 0; k < j; ++k) v -= a[i * m + k] * a[j * m + k];
      a[i * m + j] = v / l;
    }
  }
  return true;
}

// Solves (L L^T) y = b in place with the factor of cholesky().
void choleskySolve(const double* l, double* b, int m) {
  for (int i = 0; i < m; ++i) {
    double v = b[i];
    for (int k = 0; k < i; ++k) v -= l[i * m + k] * b[k];
    b[i] = v / l[i * m + i];
  }
  for (int i = m - 1; i >= 0; --i) {
    double v = b[i];
    for (int k = i + 1; k < m; ++k) v -= l[k * m + i] * b[k];
    b[i] = v / l[i * m + i];
  }
}

// Solves the symmetric block-tridiagonal system with diagonal blocks diag
// (P blocks of m x m) and diagonal coupling blocks: block p is tied to block
// p + 1 by diag(couple[p]). rhs (P x m) becomes the solution. Block
// elimination (the block Thomas algorithm): cost P m^3. False when a pivot
// block is not positive definite.
bool solveBlockTridiagonal(std::vector<double>& diag, const std::vector<double>& couple,
                           std::vector<double>& rhs, int blocks, int m) {
  std::vector<double> column(m);
  const size_t mm = static_cast<size_t>(m) * m;
  for (int p = 0; p < blocks; ++p) {
    double* d = &diag[p * mm];
    if (p > 0) {
      // D_p -= C D'_{p-1}^-1 C and y_p -= C D'_{p-1}^-1 y_{p-1}, C = diag(c).
      const double* prev = &diag[(p - 1) * mm];
      const double* c = &couple[static_cast<size_t>(p - 1) * m];
      for (int j = 0; j < m; ++j) {
        if (c[j] == 0.0) continue;
        std::fill(column.begin(), column.end(), 0.0);
        column[j] = c[j];
        choleskySolve(prev, column.data(), m);
        for (int i = 0; i < m; ++i) d[i * m + j] -= c[i] * column[i];
      }
      for (int i = 0; i < m; ++i) column[i] = rhs[static_cast<size_t>(p - 1) * m + i];
      choleskySolve(prev, column.data(), m);
      for (int i = 0; i < m; ++i) rhs[static_cast<size_t>(p) * m + i] -= c[i] * column[i];
      // Symmetric again (the updates above fill columns only).
      for (int i = 0; i < m; ++i)
        for (int j = 0; j < i; ++j)
          d[j * m + i] = d[i * m + j] = 0.5 * (d[i * m + j] + d[j * m + i]);
    }
    if (!cholesky(d, m)) return false;
  }
  for (int p = blocks - 1; p >= 0; --p) {
    double* y = &rhs[static_cast<size_t>(p) * m];
    if (p + 1 < blocks) {
      const double* c = &couple[static_cast<size_t>(p) * m];
      const double* next = &rhs[static_cast<size_t>(p + 1) * m];
      for (int i = 0; i < m; ++i) y[i] -= c[i] * next[i];
    }
    choleskySolve(&diag[p * mm], y, m);
  }
  return true;
}

bool validSounding(const LateralSounding& s, int n) {
  if (s.n != n || n < 0 || n >= MaxLayers) return false;
  if (s.firstCell < 0 || s.lastCell >= GridCells || s.firstCell > s.lastCell) return false;
  for (int k = 0; k <= n; ++k)
    if (!(std::isfinite(s.rho[k]) && s.rho[k] > 0.0)) return false;
  double above = 0.0;
  for (int k = 0; k < n; ++k) {
    if (!(std::isfinite(s.depth[k]) && s.depth[k] > above)) return false;
    above = s.depth[k];
  }
  return true;
}

class JointFit {
 public:
  JointFit(std::vector<LateralSounding>& soundings, CurveWindowState& scratch,
           const LateralSettings& settings)
      : snd_(soundings),
        s_(scratch),
        set_(settings),
        count_(static_cast<int>(soundings.size())),
        n_(soundings.empty() ? 0 : soundings[0].n),
        m_(parameterCount(n_)) {}

  LateralOutcome run(const WorkProgress& progress);

 private:
  double* params(std::vector<double>& x, int p) { return &x[static_cast<size_t>(p) * m_]; }
  bool fixed(int p, int k) const {
    return k <= n_ ? snd_[p].rhoFixed[k] : snd_[p].depthFixed[k - n_ - 1];
  }
  // The curve of sounding p with parameters x into the scratch state; false
  // when the model is not admissible (interfaces out of order) or fails.
  bool curve(int p, const double* x);
  // Weighted data misfit of every sounding (into misfit) and the objective.
  bool objective(const std::vector<double>& x, std::vector<double>& misfit, double& value);
  // G^T G / noise^2 and G^T r / noise^2 of sounding p at x into a, b.
  bool normalBlock(int p, const double* x, double* a, double* b);

  std::vector<LateralSounding>& snd_;
  CurveWindowState& s_;
  const LateralSettings& set_;
  int count_, n_, m_;
  std::vector<Data> data_;
  std::vector<double> weight_;  // of the constraints between p and p + 1
};

bool JointFit::curve(int p, const double* x) {
  const LateralSounding& snd = snd_[p];
  double above = 0.0;
  for (int k = 0; k <= n_; ++k) s_.rhoParam[k] = std::exp(x[k]);
  for (int k = 0; k < n_; ++k) {
    const double d = std::exp(x[n_ + 1 + k]);
    if (!(d > above * (1.0 + 1e-9)) || !std::isfinite(d)) return false;
    s_.thickParam[k] = d - above;
    above = d;
  }
  s_.modelBoundaryCount = n_;
  s_.gridMinIndex = snd.firstCell;
  s_.gridMaxIndex = snd.lastCell;
  return computeForwardValues(s_, true);
}

bool JointFit::objective(const std::vector<double>& x, std::vector<double>& misfit, double& value) {
  value = 0.0;
  const double w = 1.0 / (set_.noise * set_.noise);
  for (int p = 0; p < count_; ++p) {
    if (!curve(p, &x[static_cast<size_t>(p) * m_])) return false;
    double sum = 0.0;
    const Data& d = data_[p];
    for (size_t i = 0; i < d.cell.size(); ++i) {
      const float c = s_.computedRho[d.cell[i]];
      if (!(c > 0.0f)) return false;
      const double r = d.logValue[i] - std::log(static_cast<double>(c));
      sum += r * r;
    }
    misfit[p] = sum;
    value += w * sum;
  }
  for (int p = 0; p + 1 < count_; ++p) {
    for (int k = 0; k < m_; ++k) {
      const double r = x[static_cast<size_t>(p) * m_ + k] - x[static_cast<size_t>(p + 1) * m_ + k];
      value += weight_[p] * r * r;
    }
  }
  return std::isfinite(value);
}

bool JointFit::normalBlock(int p, const double* x, double* a, double* b) {
  if (!curve(p, x)) return false;
  const Data& d = data_[p];
  const int rows = static_cast<int>(d.cell.size());
  std::vector<double> r(rows), g(static_cast<size_t>(rows) * m_);
  for (int i = 0; i < rows; ++i) {
    const double f = s_.computedRho[d.cell[i]];
    r[i] = d.logValue[i] - std::log(f);
  }
  // The Jacobian at the same model, in the window's thicknesses.
  for (int k = 0; k <= n_; ++k) s_.modelRho[k] = static_cast<float>(std::exp(x[k]));
  for (int k = 0; k < n_; ++k) s_.modelThickness[k] = static_cast<float>(s_.thickParam[k]);
  if (!computeJacobian(s_)) return false;
  for (int i = 0; i < rows; ++i) {
    const int row = d.cell[i] - snd_[p].firstCell;
    const double f = s_.computedRho[d.cell[i]];
    double* gi = &g[static_cast<size_t>(i) * m_];
    for (int k = 0; k <= n_; ++k) gi[k] = s_.J_rho[row][k] * std::exp(x[k]) / f;
    // A deeper interface k thickens layer k and thins layer k + 1.
    for (int k = 0; k < n_; ++k) {
      const double dh = s_.J_h[row][k] - (k + 1 < n_ ? s_.J_h[row][k + 1] : 0.0);
      gi[n_ + 1 + k] = dh * std::exp(x[n_ + 1 + k]) / f;
    }
  }
  const double w = 1.0 / (set_.noise * set_.noise);
  for (int j = 0; j < m_; ++j) {
    double bj = 0.0;
    for (int i = 0; i < rows; ++i) bj += g[static_cast<size_t>(i) * m_ + j] * r[i];
    b[j] = w * bj;
    for (int k = 0; k <= j; ++k) {
      double v = 0.0;
      for (int i = 0; i < rows; ++i)
        v += g[static_cast<size_t>(i) * m_ + j] * g[static_cast<size_t>(i) * m_ + k];
      a[j * m_ + k] = a[k * m_ + j] = w * v;
    }
  }
  return true;
}

LateralOutcome JointFit::run(const WorkProgress& progress) {
  LateralOutcome out;
  if (count_ == 0 || !(set_.noise > 0.0)) return out;
  for (const LateralSounding& snd : snd_)
    if (!validSounding(snd, n_)) return out;
  data_.resize(count_);
  for (int p = 0; p < count_; ++p) {
    for (int g = snd_[p].firstCell; g <= snd_[p].lastCell; ++g) {
      if (!(snd_[p].composite[g] > 0.0f)) continue;
      data_[p].cell.push_back(g);
      data_[p].logValue.push_back(std::log(static_cast<double>(snd_[p].composite[g])));
    }
    if (data_[p].cell.empty()) return out;
  }
  weight_.assign(std::max(0, count_ - 1), 0.0);
  if (set_.strength > 0.0) {
    for (int p = 0; p + 1 < count_; ++p) {
      const double sigma =
          lateralDeviation(set_.strength, std::fabs(snd_[p + 1].chainage - snd_[p].chainage));
      weight_[p] = 1.0 / (sigma * sigma);
    }
  }
  const size_t total = static_cast<size_t>(count_) * m_;
  std::vector<double> x(total), trial(total), misfit(count_), trialMisfit(count_);
  for (int p = 0; p < count_; ++p) {
    double* xp = params(x, p);
    for (int k = 0; k <= n_; ++k) xp[k] = std::log(snd_[p].rho[k]);
    for (int k = 0; k < n_; ++k) xp[n_ + 1 + k] = std::log(snd_[p].depth[k]);
  }
  double f = 0.0;
  if (!objective(x, misfit, f)) return out;
  out.ran = true;

  const size_t mm = static_cast<size_t>(m_) * m_;
  std::vector<double> a(count_ * mm), grad(total), system(count_ * mm), step(total),
      couple(total > static_cast<size_t>(m_) ? total - m_ : 0);
  double mu = -1.0, nu = 2.0;
  for (int iteration = 0; iteration < set_.maxIterations; ++iteration) {
    if (progress && !progress(iteration, set_.maxIterations)) {
      out.cancelled = true;
      break;
    }
    // Normal equations: data blocks, then the constraints' couplings.
    bool ok = true;
    for (int p = 0; p < count_ && ok; ++p)
      ok = normalBlock(p, params(x, p), &a[p * mm], params(grad, p));
    if (!ok) break;
    for (int p = 0; p + 1 < count_; ++p) {
      for (int k = 0; k < m_; ++k) {
        const double w = weight_[p];
        const double r =
            x[static_cast<size_t>(p) * m_ + k] - x[static_cast<size_t>(p + 1) * m_ + k];
        a[p * mm + k * m_ + k] += w;
        a[(p + 1) * mm + k * m_ + k] += w;
        grad[static_cast<size_t>(p) * m_ + k] -= w * r;
        grad[static_cast<size_t>(p + 1) * m_ + k] += w * r;
      }
    }
    double largest = 0.0;
    for (int p = 0; p < count_; ++p)
      for (int k = 0; k < m_; ++k) largest = std::max(largest, a[p * mm + k * m_ + k]);
    if (!(largest > 0.0)) break;
    if (mu < 0.0) mu = 1e-3;
    ++out.iterations;
    bool accepted = false, finished = false;
    while (!accepted) {
      system = a;
      for (size_t i = 0; i < total; ++i) step[i] = grad[i];
      for (int p = 0; p < count_; ++p) {
        double* sp = &system[p * mm];
        for (int k = 0; k < m_; ++k) {
          // Marquardt's scaling with a floor for parameters the data hardly see.
          sp[k * m_ + k] += mu * std::max(a[p * mm + k * m_ + k], 1e-9 * largest);
          if (!fixed(p, k)) continue;
          for (int j = 0; j < m_; ++j) sp[k * m_ + j] = sp[j * m_ + k] = 0.0;
          sp[k * m_ + k] = 1.0;
          step[static_cast<size_t>(p) * m_ + k] = 0.0;
        }
      }
      for (int p = 0; p + 1 < count_; ++p) {
        for (int k = 0; k < m_; ++k) {
          couple[static_cast<size_t>(p) * m_ + k] =
              fixed(p, k) || fixed(p + 1, k) ? 0.0 : -weight_[p];
        }
      }
      if (solveBlockTridiagonal(system, couple, step, count_, m_)) {
        for (size_t i = 0; i < total; ++i) trial[i] = x[i] + step[i];
        double fTrial = 0.0;
        if (objective(trial, trialMisfit, fTrial) && fTrial < f) {
          const double relative = (f - fTrial) / f;
          x.swap(trial);
          misfit.swap(trialMisfit);
          f = fTrial;
          mu = std::max(mu / 3.0, 1e-9);
          nu = 2.0;
          accepted = true;
          finished = relative < kRelativeImprovement;
          break;
        }
      }
      mu *= nu;
      nu *= 2.0;
      if (mu > 1e12) {
        finished = true;
        break;
      }
    }
    if (finished) break;
  }
  out.dataMisfit = 0.0;
  for (int p = 0; p < count_; ++p) {
    LateralSounding& snd = snd_[p];
    const double* xp = params(x, p);
    // Fixed values stay exactly as given, not as exp(ln v).
    for (int k = 0; k <= n_; ++k)
      if (!snd.rhoFixed[k]) snd.rho[k] = std::exp(xp[k]);
    for (int k = 0; k < n_; ++k)
      if (!snd.depthFixed[k]) snd.depth[k] = std::exp(xp[n_ + 1 + k]);
    snd.misfit = misfit[p];
    out.dataMisfit += misfit[p];
  }
  return out;
}

}  // namespace

double lateralDeviation(double strength, double distance) {
  return std::log1p(strength * std::max(distance, LateralMinDistance) / 100.0);
}

LateralOutcome lateralInversion(std::vector<LateralSounding>& soundings, CurveWindowState& scratch,
                                const LateralSettings& settings, const WorkProgress& progress) {
  scratch.accurateForward = settings.accurateForward;
  JointFit fit(soundings, scratch, settings);
  return fit.run(progress);
}

LateralOutcome independentInversions(std::vector<LateralSounding>& soundings,
                                     CurveWindowState& scratch, const LateralSettings& settings,
                                     const WorkProgress& progress) {
  LateralOutcome out;
  LateralSettings alone = settings;
  alone.strength = 0.0;
  const int count = static_cast<int>(soundings.size());
  out.ran = count > 0;
  for (int p = 0; p < count; ++p) {
    if (progress && !progress(p, count)) {
      out.cancelled = true;
      return out;
    }
    std::vector<LateralSounding> one(1, soundings[p]);
    const LateralOutcome r = lateralInversion(one, scratch, alone);
    if (!r.ran) return LateralOutcome{};
    soundings[p] = one[0];
    out.dataMisfit += r.dataMisfit;
    out.iterations += r.iterations;
  }
  return out;
}

}  // namespace orv
