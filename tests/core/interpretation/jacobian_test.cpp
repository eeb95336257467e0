#include "core/interpretation/jacobian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/interpretation/forward_problem.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using numerics_test::Fixture;

// The apparent resistivity of one cell by the same recurrence and filter,
// everything in float64.
double apparentRho(const std::vector<double>& rho, const std::vector<double>& h, int cell) {
  const int n = static_cast<int>(h.size());
  double sum = 0.0;
  for (int f = -2; f <= 10; ++f) {
    const double lambda = std::exp(std::log(10.0) * (cell - 2 * f) * orv::AbGridStep);
    double t = rho[n];
    for (int i = n - 1; i >= 0; --i) {
      const double w = rho[i] * std::tanh(h[i] / lambda);
      t = (w + t) / (t * w / (rho[i] * rho[i]) + 1.0);
    }
    sum += orv::ForwardFilterCoefficients[f + 2] * t;
  }
  return sum;
}

double centralDifference(std::vector<double> rho, std::vector<double> h, bool ofRho, int k,
                         int cell) {
  std::vector<double>& p = ofRho ? rho : h;
  const double x = p[k];
  const double step = x * 1e-6;
  p[k] = x + step;
  const double up = apparentRho(rho, h, cell);
  p[k] = x - step;
  const double down = apparentRho(rho, h, cell);
  return (up - down) / (2.0 * step);
}

struct JacobianCase {
  int layers;
  double logRhoLow, logRhoHigh;  // log10 ohm.m
  double logHLow, logHHigh;      // log10 m
  double tolerance;              // of the column's largest entry
};

class JacobianAgainstDifferences : public ::testing::TestWithParam<JacobianCase> {};

// The analytic Jacobian takes e = exp(-2h/lambda) in float32, a relative
// error of 2^-24 that 1 - e amplifies by about lambda / 2h where a layer is
// thin against the abscissa (up to 10^4 here, cells reach 10^(40/8.876) m).
// W then carries that error, and the denominator W T / rho^2 + 1 passes it on
// in proportion to the resistivity contrast T / rho, up to 10^3 over 1 ohm.m:
// a few 1e-5 of the column's largest entry at worst. Central differences
// with a step of 1e-6 of the parameter add about 1e-10. Hence 1e-4 for wide
// models, and 1e-5 where contrasts are small and layers thick (the thin-layer
// amplification alone remains), which still fails on any wrong factor or
// sign of the chain.
TEST_P(JacobianAgainstDifferences, RandomModelsAgree) {
  const JacobianCase& c = GetParam();
  std::mt19937 random(1234u + static_cast<unsigned>(c.layers));
  std::uniform_real_distribution<double> logRho(c.logRhoLow, c.logRhoHigh);
  std::uniform_real_distribution<double> logH(c.logHLow, c.logHHigh);
  for (int trial = 0; trial < 20; ++trial) {
    const int n = c.layers - 1;
    std::vector<double> rho(n + 1);
    std::vector<double> h(n);
    Fixture f;
    f.s.modelBoundaryCount = n;
    for (int i = 0; i <= n; ++i) {
      f.s.modelRho[i] = static_cast<float>(std::pow(10.0, logRho(random)));
      rho[i] = f.s.modelRho[i];
    }
    for (int i = 0; i < n; ++i) {
      f.s.modelThickness[i] = static_cast<float>(std::pow(10.0, logH(random)));
      h[i] = f.s.modelThickness[i];
    }
    f.s.gridMinIndex = 2;
    f.s.gridMaxIndex = 36;
    ASSERT_TRUE(orv::computeJacobian(f.s));
    const int m = f.s.gridMaxIndex - f.s.gridMinIndex + 1;
    for (int kind = 0; kind < 2; ++kind) {
      const bool ofRho = kind == 0;
      for (int k = 0; k <= (ofRho ? n : n - 1); ++k) {
        std::vector<double> numeric(m);
        double scale = 0.0;
        for (int i = 0; i < m; ++i) {
          numeric[i] = centralDifference(rho, h, ofRho, k, f.s.gridMinIndex + i);
          scale = std::fmax(scale, std::fabs(numeric[i]));
        }
        ASSERT_GT(scale, 0.0);
        for (int i = 0; i < m; ++i) {
          const double analytic = ofRho ? f.s.J_rho[i][k] : f.s.J_h[i][k];
          EXPECT_NEAR(analytic, numeric[i], c.tolerance * scale)
              << (ofRho ? "rho " : "h ") << k << " row " << i << " layers " << n + 1;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Models, JacobianAgainstDifferences,
    ::testing::Values(JacobianCase{2, 0, 3, 0, 1.7, 1e-4}, JacobianCase{3, 0, 3, 0, 1.7, 1e-4},
                      JacobianCase{4, 0, 3, 0, 1.7, 1e-4}, JacobianCase{5, 0, 3, 0, 1.7, 1e-4},
                      JacobianCase{6, 0, 3, 0, 1.7, 1e-4}, JacobianCase{2, 1, 2, 0.7, 1.7, 1e-5},
                      JacobianCase{4, 1, 2, 0.7, 1.7, 1e-5},
                      JacobianCase{6, 1, 2, 0.7, 1.7, 1e-5}));

TEST(Jacobian, HalfSpaceSensitivityIsTheFilterSum) {
  Fixture f;
  f.s.modelBoundaryCount = 0;
  f.s.modelRho[0] = 42.0f;
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 10;
  ASSERT_TRUE(orv::computeJacobian(f.s));
  for (int i = 0; i <= 10; ++i) EXPECT_NEAR(f.s.J_rho[i][0], 1.0, 1e-12);
}

TEST(Jacobian, RefusesAZeroResistivityAndBadRanges) {
  Fixture f;
  numerics_test::setModel(f.s, {0, 100}, {5});
  f.s.modelThickness[0] = 5;
  EXPECT_FALSE(orv::computeJacobian(f.s));
  f.s.modelRho[0] = 10;
  EXPECT_TRUE(orv::computeJacobian(f.s));
  f.s.gridMaxIndex = 200;
  EXPECT_FALSE(orv::computeJacobian(f.s));
  f.s.gridMaxIndex = 20;
  f.s.modelBoundaryCount = 30;
  EXPECT_FALSE(orv::computeJacobian(f.s));
}

}  // namespace
