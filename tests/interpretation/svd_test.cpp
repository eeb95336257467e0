#include "interpretation/svd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

#include "base/zeroed_block.h"

namespace {

struct Work {
  double a[orv::SvdMaxRows][orv::SvdMaxColumns];
  double original[orv::SvdMaxRows][orv::SvdMaxColumns];
  double u[orv::SvdMaxRows][orv::SvdMaxRows];
  double v[orv::SvdMaxColumns][orv::SvdMaxColumns];
};

void fillRandom(Work& w, int m, int n, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) w.a[i][j] = w.original[i][j] = value(random);
  }
}

double frobenius(const Work& w, int m, int n) {
  double s = 0.0;
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) s += w.original[i][j] * w.original[i][j];
  }
  return std::sqrt(s);
}

class RandomMatrix : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(RandomMatrix, TransformationsRebuildTheMatrixFromTheDiagonal) {
  const auto [m, n] = GetParam();
  orv::ZeroedBlock<Work> block;
  Work& w = *block;
  fillRandom(w, m, n, static_cast<unsigned>(m * 1000 + n));
  ASSERT_TRUE(orv::decomposeSVD(w.a, m, n, w.u, w.v));
  const double norm = frobenius(w, m, n);
  // original = U^T diag V^T
  double worst = 0.0;
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) {
      double s = 0.0;
      for (int k = 0; k < n; ++k) s += w.u[k][i] * w.a[k][k] * w.v[j][k];
      worst = std::fmax(worst, std::fabs(s - w.original[i][j]));
    }
  }
  EXPECT_LT(worst, 1e-10 * norm);
  // Nothing of weight is left off the diagonal.
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) {
      if (i != j) {
        EXPECT_LT(std::fabs(w.a[i][j]), 1e-10 * norm) << i << "," << j;
      }
    }
  }
}

TEST_P(RandomMatrix, UAndVAreOrthogonal) {
  const auto [m, n] = GetParam();
  orv::ZeroedBlock<Work> block;
  Work& w = *block;
  fillRandom(w, m, n, static_cast<unsigned>(m * 7 + n));
  ASSERT_TRUE(orv::decomposeSVD(w.a, m, n, w.u, w.v));
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < m; ++j) {
      double s = 0.0;
      for (int k = 0; k < m; ++k) s += w.u[i][k] * w.u[j][k];
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-12) << "U " << i << "," << j;
    }
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      double s = 0.0;
      for (int k = 0; k < n; ++k) s += w.v[k][i] * w.v[k][j];
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-12) << "V " << i << "," << j;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, RandomMatrix,
                         ::testing::Values(std::make_tuple(1, 1), std::make_tuple(2, 1),
                                           std::make_tuple(2, 2), std::make_tuple(3, 3),
                                           std::make_tuple(5, 3), std::make_tuple(30, 7),
                                           std::make_tuple(60, 59), std::make_tuple(59, 59),
                                           std::make_tuple(120, 40), std::make_tuple(200, 59),
                                           std::make_tuple(200, 60)));

struct ColumnCase {
  double first;
  double second;
  double expected;
};

class OneColumn : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(OneColumn, GivesMinusTheSignOfTheFirstTimesTheNorm) {
  const ColumnCase& t = GetParam();
  orv::ZeroedBlock<Work> block;
  Work& w = *block;
  w.a[0][0] = t.first;
  w.a[1][0] = t.second;
  w.a[2][0] = 2.0;
  ASSERT_TRUE(orv::decomposeSVD(w.a, 3, 1, w.u, w.v));
  EXPECT_NEAR(w.a[0][0], t.expected, 1e-14);
  EXPECT_EQ(w.a[1][0], 0.0);
  EXPECT_EQ(w.a[2][0], 0.0);
}

INSTANTIATE_TEST_SUITE_P(Signs, OneColumn,
                         ::testing::Values(ColumnCase{1.0, 2.0, -3.0}, ColumnCase{-1.0, 2.0, 3.0},
                                           ColumnCase{0.0, 2.0 * std::sqrt(2.0), -std::sqrt(12.0)},
                                           ColumnCase{-2.0, -1.0, 3.0}));

TEST(Svd, SingularValuesHaveTheMagnitudesOfAKnownMatrix) {
  orv::ZeroedBlock<Work> block;
  Work& w = *block;
  // Orthogonal columns of norms 5 and 2 (up to rotation): singular values 5, 2.
  w.a[0][0] = 3;
  w.a[1][0] = 4;
  w.a[0][1] = -1.6;
  w.a[1][1] = 1.2;
  w.a[2][1] = 0;
  ASSERT_TRUE(orv::decomposeSVD(w.a, 3, 2, w.u, w.v));
  double a = std::fabs(w.a[0][0]);
  double b = std::fabs(w.a[1][1]);
  if (a < b) std::swap(a, b);
  EXPECT_NEAR(a, 5.0, 1e-12);
  EXPECT_NEAR(b, 2.0, 1e-12);
}

TEST(Svd, ZeroMatrixAndEmptyColumnsComeBackZero) {
  orv::ZeroedBlock<Work> block;
  Work& w = *block;
  ASSERT_TRUE(orv::decomposeSVD(w.a, 10, 4, w.u, w.v));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(w.a[k][k], 0.0);
  ASSERT_TRUE(orv::decomposeSVD(w.a, 5, 0, w.u, w.v));
}

TEST(Svd, RefusesNonFiniteEntriesAndBadSizes) {
  orv::ZeroedBlock<Work> block;
  Work& w = *block;
  w.a[1][1] = std::nan("");
  EXPECT_FALSE(orv::decomposeSVD(w.a, 3, 3, w.u, w.v));
  w.a[1][1] = HUGE_VAL;
  EXPECT_FALSE(orv::decomposeSVD(w.a, 3, 3, w.u, w.v));
  w.a[1][1] = 1;
  EXPECT_FALSE(orv::decomposeSVD(w.a, 0, 0, w.u, w.v));
  EXPECT_FALSE(orv::decomposeSVD(w.a, 201, 3, w.u, w.v));
  EXPECT_FALSE(orv::decomposeSVD(w.a, 10, 61, w.u, w.v));
}

TEST(Svd, FewerRowsThanColumnsStillEnds) {
  orv::ZeroedBlock<Work> block;
  Work& w = *block;
  fillRandom(w, 5, 11, 99u);
  // Whatever it settles on, it returns and keeps U and V orthogonal.
  orv::decomposeSVD(w.a, 5, 11, w.u, w.v);
  for (int i = 0; i < 11; ++i) {
    double s = 0.0;
    for (int k = 0; k < 11; ++k) s += w.v[k][i] * w.v[k][i];
    EXPECT_NEAR(s, 1.0, 1e-12);
  }
}

}  // namespace
