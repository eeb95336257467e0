#include "core/interpretation/long_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "commands/curve/forward_problem_command.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"
#include "core/interpretation/jacobian.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using numerics_test::Fixture;
using numerics_test::setModel;

struct Model {
  std::vector<double> rho;
  std::vector<double> depth;
};

std::vector<double> thicknesses(const Model& m) {
  std::vector<double> h;
  for (size_t i = 0; i < m.depth.size(); ++i) h.push_back(m.depth[i] - (i ? m.depth[i - 1] : 0));
  return h;
}

double transform(const Model& m, const std::vector<double>& h, double u) {
  const size_t n = h.size();
  double t = m.rho[n];
  for (size_t i = n; i-- > 0;) {
    const double w = m.rho[i] * std::tanh(u * h[i]);
    t = (w + t) / (1.0 + w * t / (m.rho[i] * m.rho[i]));
  }
  return t;
}

// Exact two-layer curve by the image series, summed until the terms vanish.
double imageSeries(double rho0, double h, double rho1, double s) {
  const long double k = (rho1 - rho0) / (rho1 + rho0);
  long double sum = 0.0L;
  long double kn = 1.0L;
  for (int n = 1; n < 1000000 && std::fabs(static_cast<double>(kn)) > 1e-30; ++n) {
    kn *= k;
    const long double d = static_cast<long double>(s) * s + 4.0L * n * n * h * h;
    sum += kn * s * s * s / (d * std::sqrt(d));
  }
  return rho0 * static_cast<double>(1.0L + 2.0L * sum);
}

// rho_a(s) = rho_0 + Int_0^inf (T(x / s) - rho_0) J1(x) x dx by 20-point
// Gauss-Legendre between the zeros of J1, the alternating partial sums
// summed by Wynn's epsilon algorithm: the tail of a slowly varying
// integrand is then exact to rounding, however far it reaches.
double integral(const Model& m, double s) {
  static double node[20], weight[20];
  if (weight[0] == 0.0) {
    for (int i = 0; i < 20; ++i) {
      double t = std::cos(M_PI * (i + 0.75) / 20.5), dp = 0.0;
      for (int it = 0; it < 100; ++it) {
        double p0 = 1.0, p1 = t;
        for (int k = 2; k <= 20; ++k) {
          const double p2 = ((2.0 * k - 1.0) * t * p1 - (k - 1.0) * p0) / k;
          p0 = p1;
          p1 = p2;
        }
        dp = 20.0 * (t * p1 - p0) / (t * t - 1.0);
        t -= p1 / dp;
      }
      node[i] = t;
      weight[i] = 2.0 / ((1.0 - t * t) * dp * dp);
    }
  }
  const std::vector<double> h = thicknesses(m);
  if (h.empty()) return m.rho[0];
  std::vector<double> sums;
  double a = 0.0, sum = 0.0;
  for (int k = 1; k <= 60; ++k) {
    double b = (k + 0.25) * M_PI;  // McMahon's start, then Newton on J1
    for (int it = 0; it < 20; ++it)
      b -= std::cyl_bessel_j(1.0, b) / (std::cyl_bessel_j(0.0, b) - std::cyl_bessel_j(1.0, b) / b);
    // The first interval in pieces halving towards 0, where an ascending
    // contrast turns over at x ~ s / (1000 h).
    for (int piece = k == 1 ? 40 : 0; piece >= 0; --piece) {
      const double lo = piece == 40 || k > 1 ? a : (b - a) * std::ldexp(1.0, -piece - 1);
      const double hi = a + (b - a) * std::ldexp(1.0, -piece);
      for (int i = 0; i < 20; ++i) {
        const double x = lo + (hi - lo) / 2 * (node[i] + 1.0);
        sum += (hi - lo) / 2 * weight[i] * std::cyl_bessel_j(1.0, x) * x *
               (transform(m, h, x / s) - m.rho[0]);
      }
    }
    sums.push_back(sum);
    a = b;
  }
  // Wynn's epsilon on the last 40 partial sums; converged sums end it.
  std::vector<double> previous(41, 0.0), current(sums.end() - 40, sums.end());
  double best = current.back();
  for (int k = 1; current.size() > 1; ++k) {
    std::vector<double> next(current.size() - 1);
    for (size_t i = 0; i + 1 < current.size(); ++i) {
      const double d = current[i + 1] - current[i];
      if (d == 0.0) return m.rho[0] + best;
      next[i] = previous[i + 1] + 1.0 / d;
    }
    previous = current;
    current = next;
    if (k % 2 == 0) best = current.back();
  }
  return m.rho[0] + best;
}

TEST(LongFilterReference, ImageSeriesAndIntegralAgree) {
  // The two references of the tests below check each other.
  for (const Model& m : {Model{{1000, 1}, {10}}, Model{{1, 1000}, {10}}}) {
    for (double s : {3.0, 40.0, 900.0, 1e5, 1e7}) {
      EXPECT_NEAR(integral(m, s) / imageSeries(m.rho[0], 10, m.rho[1], s), 1.0, 1e-8)
          << m.rho[0] << " " << s;
    }
  }
}

TEST(LongFilter, FoldedWeightsAnswerAConstantExactly) {
  // Sum b_i w_i is the filter's answer for a constant kernel: the published
  // taper leaves 3.7e-7 of it out, the continued and folded filter none.
  double published = 0.0;
  for (int i = 0; i < orv::LongFilterPoints; ++i)
    published += orv::longFilterAbscissa(i) * orv::LongFilterJ1Weights[i];
  const orv::LatticeFilter& f = orv::longLatticeFilter();
  double folded = 0.0;
  for (int k = 0; k < f.count; ++k) folded += f.weight[k];
  EXPECT_NEAR(published, 1.0 - 3.72e-7, 1e-9);
  EXPECT_NEAR(folded, 1.0, 1e-15);
  EXPECT_LE(f.count, 330);
  EXPECT_NEAR(orv::longFilterAbscissa(100), 1.0, 1e-15);
  EXPECT_NEAR(orv::longFilterAbscissa(0), 4.1185887075357082e-06, 1e-19);
}

struct AccuracyCase {
  const char* name;
  Model model;
  int first, last;  // cells
  double tolerance;
};

class LongFilterAccuracy : public ::testing::TestWithParam<AccuracyCase> {};

TEST_P(LongFilterAccuracy, MatchesTheExactCurve) {
  const AccuracyCase& t = GetParam();
  Fixture f;
  f.s.accurateForward = true;
  setModel(f.s, t.model.rho, t.model.depth);
  f.s.gridMinIndex = t.first;
  f.s.gridMaxIndex = t.last;
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  const Model& m = t.model;
  for (int g = t.first; g <= t.last; ++g) {
    const double s = std::pow(10.0, g * orv::AbGridStep);
    const double exact =
        m.rho.size() == 2 ? imageSeries(m.rho[0], m.depth[0], m.rho[1], s) : integral(m, s);
    EXPECT_NEAR(f.s.computedRho[g] / exact, 1.0, t.tolerance) << t.name << " AB/2 " << s;
    EXPECT_EQ(f.s.computedRhoPacked[g - t.first], f.s.computedRho[g]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Models, LongFilterAccuracy,
    ::testing::Values(
        // The contrast the short filter gets wrong by 46 % at 1101 m.
        AccuracyCase{"1000 over 1", {{1000, 1}, {10}}, 0, 27, 1e-4},
        AccuracyCase{"1 over 1000", {{1, 1000}, {10}}, 0, 27, 1e-4},
        AccuracyCase{"equal", {{100, 100}, {10}}, 0, 60, 1e-6},
        AccuracyCase{"10 over 100", {{10, 100}, {10}}, 0, 40, 1e-4},
        AccuracyCase{"100 over 10", {{100, 10}, {10}}, 0, 40, 1e-4},
        AccuracyCase{"thin top", {{30, 300}, {0.3}}, 0, 30, 1e-4},
        AccuracyCase{"H", {{100, 10, 1000}, {5, 25}}, 0, 36, 1e-4},
        AccuracyCase{"K", {{50, 2000, 20}, {2, 12}}, 0, 36, 1e-4},
        AccuracyCase{"four layers", {{50, 500, 5, 200}, {2, 12, 42}}, 5, 36, 1e-4},
        AccuracyCase{"alternating", {{30, 300, 30, 300, 30, 300}, {2, 4, 6, 8, 10}}, 0, 30, 1e-4},
        // Out to AB/2 = 10^6 x the first thickness, where every tap of the
        // published filter sees the half-space.
        AccuracyCase{"1000 over 1, far", {{1000, 1}, {1}}, 0, 54, 1e-6},
        AccuracyCase{"1 over 1000, far", {{1, 1000}, {1}}, 0, 54, 1e-6},
        AccuracyCase{"K, far", {{50, 2000, 20}, {0.5, 3}}, 0, 51, 1e-6},
        AccuracyCase{"four layers, far", {{50, 500, 5, 200}, {1, 6, 21}}, 0, 54, 1e-6}));

TEST(LongFilter, HalfSpaceIsExact) {
  Fixture f;
  f.s.accurateForward = true;
  for (const Model& m : {Model{{37.5}, {}}, Model{{37.5, 37.5, 37.5}, {3, 40}}}) {
    setModel(f.s, m.rho, m.depth);
    f.s.gridMinIndex = 0;
    f.s.gridMaxIndex = 199;
    ASSERT_TRUE(orv::computeForwardValues(f.s, false));
    for (int g = 0; g <= 199; ++g) ASSERT_EQ(f.s.computedRho[g], 37.5f) << g;
  }
}

TEST(LongFilter, ThirtyLayersOverTheWholeGridStayFiniteAndEndAtTheHalfSpace) {
  Fixture f;
  f.s.accurateForward = true;
  f.s.modelBoundaryCount = 29;
  for (int i = 0; i < 30; ++i) {
    f.s.modelRho[i] = i % 2 ? 300.0f : 30.0f;
    if (i < 29) f.s.modelDepth[i] = 2.0f * static_cast<float>(i + 1);
  }
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 199;
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  for (int g = 0; g <= 199; ++g) ASSERT_GT(f.s.computedRho[g], 0.0f) << g;
  EXPECT_NEAR(f.s.computedRho[199], 300.0f, 300.0f * 1e-6);
}

TEST(LongFilter, SwitchedOffTheCurveIsTheShortFiltersToTheBit) {
  Fixture f;
  setModel(f.s, {1000, 1}, {10});
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 40;
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  float before[orv::GridCells];
  for (int g = 0; g < orv::GridCells; ++g) before[g] = f.s.computedRho[g];
  f.s.accurateForward = true;
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  // The short filter is far off at 1101 m (cell 27); the long one is not.
  EXPECT_GT(std::fabs(before[27] / f.s.computedRho[27] - 1.0f), 0.3f);
  EXPECT_GE(f.s.computedRho[27], 1.0f);
  f.s.accurateForward = false;
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  for (int g = 0; g < orv::GridCells; ++g) ASSERT_EQ(f.s.computedRho[g], before[g]) << g;
}

struct LongRefusalCase {
  const char* name;
  int boundaries;
  float rho1;
  float depth0;
  int first, last;
};

class LongFilterRefusal : public ::testing::TestWithParam<LongRefusalCase> {};

TEST_P(LongFilterRefusal, LeavesTheResultArraysAlone) {
  const LongRefusalCase& t = GetParam();
  Fixture f;
  f.s.accurateForward = true;
  setModel(f.s, {100, 10, 100}, {5, 50});
  f.s.modelRho[1] = t.rho1;
  f.s.modelDepth[0] = t.depth0;
  f.s.modelBoundaryCount = t.boundaries;
  f.s.gridMinIndex = t.first;
  f.s.gridMaxIndex = t.last;
  for (int g = 0; g < orv::GridCells; ++g) f.s.computedRho[g] = f.s.computedRhoPacked[g] = -7.0f;
  EXPECT_FALSE(orv::computeForwardValues(f.s, false)) << t.name;
  for (int g = 0; g < orv::GridCells; ++g) {
    ASSERT_EQ(f.s.computedRho[g], -7.0f) << t.name;
    ASSERT_EQ(f.s.computedRhoPacked[g], -7.0f) << t.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LongFilterRefusal,
    ::testing::Values(LongRefusalCase{"NaN resistivity", 2, NAN, 5, 0, 29},
                      LongRefusalCase{"infinite resistivity", 2, INFINITY, 5, 0, 29},
                      LongRefusalCase{"NaN depth", 2, 10, NAN, 0, 29},
                      LongRefusalCase{"30 boundaries", 30, 10, 5, 0, 29},
                      LongRefusalCase{"negative count", -1, 10, 5, 0, 29},
                      LongRefusalCase{"cells beyond the grid", 2, 10, 5, 0, 200},
                      LongRefusalCase{"empty range", 2, 10, 5, 10, 9}));

TEST(LongFilter, ZeroResistivityIsComputedAsOneMicroOhmMetre) {
  Fixture a, b;
  for (Fixture* f : {&a, &b}) {
    f->s.accurateForward = true;
    setModel(f->s, {100, 0, 100}, {5, 50});
  }
  b.s.modelRho[1] = 1e-6f;
  ASSERT_TRUE(orv::computeForwardValues(a.s, false));
  ASSERT_TRUE(orv::computeForwardValues(b.s, false));
  for (int g = 0; g <= 29; ++g) ASSERT_EQ(a.s.computedRho[g], b.s.computedRho[g]) << g;
}

class LongFilterJacobian : public ::testing::TestWithParam<Model> {};

TEST_P(LongFilterJacobian, IsTheDerivativeOfTheLongCurve) {
  const Model& m = GetParam();
  Fixture f;
  f.s.accurateForward = true;
  const int n = static_cast<int>(m.depth.size());
  f.s.modelBoundaryCount = n;
  std::vector<double> h = thicknesses(m);
  for (int i = 0; i <= n; ++i) f.s.modelRho[i] = static_cast<float>(m.rho[i]);
  for (int i = 0; i < n; ++i) f.s.modelThickness[i] = static_cast<float>(h[i]);
  f.s.gridMinIndex = 3;
  f.s.gridMaxIndex = 40;
  ASSERT_TRUE(orv::computeJacobian(f.s));
  std::vector<double> rho(f.s.modelRho, f.s.modelRho + n + 1);
  for (int i = 0; i < n; ++i) h[i] = f.s.modelThickness[i];
  auto curve = [&](std::vector<double> r, std::vector<double> t) {
    std::vector<double> out(38);
    EXPECT_TRUE(orv::longFilterCurve(n, r.data(), t.data(), 3, 40, out.data()));
    return out;
  };
  for (int k = 0; k <= 2 * n; ++k) {
    const bool isRho = k % 2 == 0;
    const int layer = k / 2;
    std::vector<double> up = isRho ? rho : h, down = up;
    const double step = 1e-5 * up[layer];
    up[layer] += step;
    down[layer] -= step;
    const std::vector<double> a = isRho ? curve(up, h) : curve(rho, up);
    const std::vector<double> b = isRho ? curve(down, h) : curve(rho, down);
    for (int i = 0; i < 38; ++i) {
      const double numeric = (a[i] - b[i]) / (2 * step);
      const double analytic = isRho ? f.s.J_rho[i][layer] : f.s.J_h[i][layer];
      // Both scaled to d ln rho_a / d ln p, which is of order one.
      EXPECT_NEAR(analytic * up[layer] / a[i], numeric * up[layer] / a[i], 1e-6)
          << (isRho ? "rho" : "h") << layer << " row " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Models, LongFilterJacobian,
                         ::testing::Values(Model{{1000, 1}, {10}}, Model{{100, 10, 1000}, {5, 25}},
                                           Model{{50, 500, 5, 200}, {2, 12, 42}}));

class LongFilterInversion : public ::testing::TestWithParam<Model> {};

TEST_P(LongFilterInversion, ImprovesTheFitOfTheSteepModelsOwnCurve) {
  // A Jacobian that were not the derivative of the long curve would leave
  // the Gauss-Newton steps going astray.
  Fixture f;
  f.s.accurateForward = true;
  numerics_test::compositeFromModel(f.s, {1000, 1}, {10}, 0, 27);
  setModel(f.s, GetParam().rho, GetParam().depth);
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  const double before = orv::misfitSSQ(f.s);
  const orv::InversionOutcome out = orv::optimiseModelCore(f.s);
  ASSERT_TRUE(out.ran);
  EXPECT_GT(out.acceptedSteps, 0);
  EXPECT_LT(f.s.modelFitError, 0.2 * before);
  EXPECT_NEAR(f.s.modelDepth[0], 10.0f, 0.3f);
}

INSTANTIATE_TEST_SUITE_P(Starts, LongFilterInversion,
                         ::testing::Values(Model{{700, 2}, {14}}, Model{{900, 1.2}, {11}},
                                           Model{{1000, 1}, {12}}, Model{{1100, 0.8}, {9}}));

TEST(LongFilter, SwitchingRecomputesTheShownCurveOnly) {
  Fixture f;
  numerics_test::compositeFromModel(f.s, {1000, 1}, {10}, 0, 29);
  setModel(f.s, {1000, 1}, {10});
  ASSERT_TRUE(orv::computeForward(f.session, false));
  const float shortValue = f.s.computedRho[27];
  f.s.accurateForward = true;
  orv::recomputeShownForward(f.session);
  EXPECT_TRUE(f.s.computedCurveValid);
  EXPECT_NE(f.s.computedRho[27], shortValue);
  EXPECT_NEAR(f.s.computedRho[27], 1.0002475f, 1e-5f);
  EXPECT_TRUE(f.dialogs.messages().empty());

  // Without a model nothing is computed or drawn.
  Fixture empty;
  empty.s.modelBoundaryCount = 0;
  empty.s.accurateForward = true;
  orv::recomputeShownForward(empty.session);
  EXPECT_EQ(empty.canvas.drawCalls, 0);
  EXPECT_FALSE(empty.s.computedCurveValid);
  // A model that cannot be computed is said.
  setModel(empty.s, {100, NAN}, {5});
  orv::recomputeShownForward(empty.session);
  ASSERT_EQ(empty.dialogs.messages().size(), 1u);
  EXPECT_EQ(empty.dialogs.messages()[0], orv::ForwardFailedMessage);
}

}  // namespace
