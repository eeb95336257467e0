// Slow but sure references for the fitting tests: curves made from known
// models with a fixed pseudo-noise, and a restarted Nelder-Mead simplex on
// the logarithms of the free parameters.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "core/curve/curve_window_state.h"
#include "core/interpretation/forward_problem.h"
#include "tests/core/interpretation/numerics_support.h"

namespace fit_test {

struct Layers {
  std::vector<double> rho;
  std::vector<double> depth;
};

// The model's curve on cells first..last, each cell multiplied by
// exp(noise x sin(2.7 g + 1.3)): the same "measurement error" every run.
inline void noisyComposite(orv::CurveWindowState& s, const Layers& m, int first, int last,
                           double noise) {
  numerics_test::compositeFromModel(s, m.rho, m.depth, first, last);
  for (int g = first; g <= last; ++g)
    s.mergedRho[g][0] =
        static_cast<float>(s.mergedRho[g][0] * std::exp(noise * std::sin(2.7 * g + 1.3)));
}

inline double misfitOf(orv::CurveWindowState& s, const Layers& m) {
  numerics_test::setModel(s, m.rho, m.depth);
  if (!orv::computeForwardValues(s, false)) return HUGE_VAL;
  return orv::misfitSSQ(s);
}

// Nelder-Mead on f from x, restarted from its own best with a fresh simplex
// until a restart gains nothing; returns the least value found.
inline double nelderMead(const std::function<double(const std::vector<double>&)>& f,
                         std::vector<double> x, int restarts = 12, int iterations = 3000) {
  const size_t n = x.size();
  double best = f(x);
  for (int r = 0; r < restarts; ++r) {
    std::vector<std::vector<double>> p(n + 1, x);
    std::vector<double> v(n + 1);
    for (size_t i = 0; i < n; ++i) p[i + 1][i] += r % 2 == 0 ? 0.2 : 0.05;
    for (size_t i = 0; i <= n; ++i) v[i] = f(p[i]);
    for (int it = 0; it < iterations; ++it) {
      std::vector<size_t> order(n + 1);
      for (size_t i = 0; i <= n; ++i) order[i] = i;
      std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return v[a] < v[b]; });
      const size_t lo = order[0], hi = order[n], second = order[n - 1];
      std::vector<double> c(n, 0.0);
      for (size_t i = 0; i <= n; ++i)
        if (i != hi)
          for (size_t k = 0; k < n; ++k) c[k] += p[i][k] / n;
      auto along = [&](double t) {
        std::vector<double> y(n);
        for (size_t k = 0; k < n; ++k) y[k] = c[k] + t * (p[hi][k] - c[k]);
        return y;
      };
      const std::vector<double> xr = along(-1.0);
      const double fr = f(xr);
      if (fr < v[lo]) {
        const std::vector<double> xe = along(-2.0);
        const double fe = f(xe);
        if (fe < fr) {
          p[hi] = xe, v[hi] = fe;
        } else {
          p[hi] = xr, v[hi] = fr;
        }
      } else if (fr < v[second]) {
        p[hi] = xr, v[hi] = fr;
      } else {
        const std::vector<double> xc = along(fr < v[hi] ? -0.5 : 0.5);
        const double fc = f(xc);
        if (fc < std::min(fr, v[hi])) {
          p[hi] = xc, v[hi] = fc;
        } else {
          for (size_t i = 0; i <= n; ++i) {
            if (i == lo) continue;
            for (size_t k = 0; k < n; ++k) p[i][k] = p[lo][k] + 0.5 * (p[i][k] - p[lo][k]);
            v[i] = f(p[i]);
          }
        }
      }
    }
    const size_t lo = std::min_element(v.begin(), v.end()) - v.begin();
    const bool gained = v[lo] < best * (1.0 - 1e-9);
    if (v[lo] < best) {
      best = v[lo];
      x = p[lo];
    }
    if (!gained && r > 1) break;
  }
  return best;
}

// The least misfit over the models whose free resistivities and thicknesses
// (all of them) are exp(x), from start.
inline double referenceMinimum(orv::CurveWindowState& s, const Layers& start) {
  const size_t layers = start.rho.size();
  std::vector<double> x;
  double above = 0.0;
  for (size_t i = 0; i < layers; ++i) {
    x.push_back(std::log(start.rho[i]));
    if (i + 1 < layers) {
      x.push_back(std::log(start.depth[i] - above));
      above = start.depth[i];
    }
  }
  auto f = [&](const std::vector<double>& y) {
    Layers m;
    double depth = 0.0;
    for (size_t i = 0; i < layers; ++i) {
      m.rho.push_back(std::exp(y[2 * i]));
      if (i + 1 < layers) {
        depth += std::exp(y[2 * i + 1]);
        m.depth.push_back(depth);
      }
    }
    return misfitOf(s, m);
  };
  return nelderMead(f, x);
}

}  // namespace fit_test
