#include "core/interpretation/svd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

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

// The reflection of a column [x0, x1, x2] step by step: scaled vector, its
// signed norm added to the first entry, and the reflection subtracted from
// the column itself.
void reflectColumn(const double (&x)[3], double (&out)[3]) {
  double scale = 0.0;
  for (double e : x) scale = std::fmax(scale, std::fabs(e));
  double v[3];
  double sum = 0.0;
  for (int i = 0; i < 3; ++i) {
    v[i] = x[i] / scale;
    sum += v[i] * v[i];
  }
  const double alpha = (v[0] >= 0.0 ? 1.0 : -1.0) * std::sqrt(sum);
  v[0] += alpha;
  const double beta = alpha * v[0];
  double dot = 0.0;
  for (int i = 0; i < 3; ++i) dot += v[i] * x[i];
  for (int i = 0; i < 3; ++i) out[i] = x[i] - dot / beta * v[i];
}

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
  // The entries under the diagonal keep what the reflection leaves there,
  // zero or a rounding residue, and the diagonal is the reflected entry.
  double reflected[3];
  reflectColumn({t.first, t.second, 2.0}, reflected);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(w.a[i][0], reflected[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(Signs, OneColumn,
                         ::testing::Values(ColumnCase{1.0, 2.0, -3.0}, ColumnCase{-1.0, 2.0, 3.0},
                                           ColumnCase{0.0, 2.0 * std::sqrt(2.0), -std::sqrt(12.0)},
                                           ColumnCase{-2.0, -1.0, 3.0},
                                           // These leave rounding residues under the diagonal.
                                           ColumnCase{0.3, 0.7, -std::sqrt(0.09 + 0.49 + 4.0)},
                                           ColumnCase{1.0, 3.0, -std::sqrt(14.0)}));

// A small matrix taken through the decomposition in plain steps on small
// arrays: column reflection applied to columns k.., row reflection to rows
// k.. (the row then exactly zero beyond the superdiagonal), sweeps with the
// shift from the squared norm of column t, annihilated entries exactly zero
// and every other entry as the arithmetic leaves it.
constexpr int kP = 6;
struct Plain {
  double a[kP][kP] = {};
  double u[kP][kP] = {};
  double v[kP][kP] = {};
};

void reflect(double (&x)[kP][kP], const double* h, int from, int to, double beta, bool rows,
             int lineFrom, int lineTo) {
  // rows: the vector runs along a row (indices from..to-1 are columns).
  for (int l = lineFrom; l < lineTo; ++l) {
    double dot = 0.0;
    for (int i = from; i < to; ++i) dot += h[i] * (rows ? x[l][i] : x[i][l]);
    const double f = dot / beta;
    for (int i = from; i < to; ++i) (rows ? x[l][i] : x[i][l]) -= f * h[i];
  }
}

Plain plainDecomposition(const std::vector<std::vector<double>>& in) {
  const int m = static_cast<int>(in.size());
  const int n = static_cast<int>(in[0].size());
  Plain p;
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) p.a[i][j] = in[i][j];
    p.u[i][i] = 1.0;
  }
  for (int i = 0; i < n; ++i) p.v[i][i] = 1.0;
  double h[kP];
  for (int k = 0; k < n; ++k) {
    double scale = 0.0;
    for (int i = k; i < m; ++i) scale = std::fmax(scale, std::fabs(p.a[i][k]));
    if (scale >= 1e-55) {
      double sum = 0.0;
      for (int i = k; i < m; ++i) {
        h[i] = p.a[i][k] / scale;
        sum += h[i] * h[i];
      }
      const double alpha = (h[k] >= 0.0 ? 1.0 : -1.0) * std::sqrt(sum);
      h[k] += alpha;
      reflect(p.a, h, k, m, alpha * h[k], false, k, n);
      reflect(p.u, h, k, m, alpha * h[k], false, 0, m);
    }
    if (k < n - 2) {
      scale = 0.0;
      for (int c = k + 1; c < n; ++c) scale = std::fmax(scale, std::fabs(p.a[k][c]));
      if (scale > 1e-55) {
        double sum = 0.0;
        for (int c = k + 1; c < n; ++c) {
          h[c] = p.a[k][c] / scale;
          sum += h[c] * h[c];
        }
        const double alpha = (h[k + 1] >= 0.0 ? 1.0 : -1.0) * std::sqrt(sum);
        h[k + 1] += alpha;
        reflect(p.a, h, k + 1, n, alpha * h[k + 1], true, k, m);
        for (int c = k + 2; c < n; ++c) p.a[k][c] = 0.0;
        reflect(p.v, h, k + 1, n, alpha * h[k + 1], true, 0, n);
      }
    }
  }
  auto rotateColumns = [](double(&x)[kP][kP], int lines, int k, double c, double s) {
    for (int i = 0; i < lines; ++i) {
      const double l = x[i][k], r = x[i][k + 1];
      x[i][k] = c * l + s * r;
      x[i][k + 1] = c * r - s * l;
    }
  };
  auto rotateRows = [](double(&x)[kP][kP], int lines, int k, double c, double s) {
    for (int j = 0; j < lines; ++j) {
      const double up = x[k][j], lo = x[k + 1][j];
      x[k][j] = c * up + s * lo;
      x[k + 1][j] = c * lo - s * up;
    }
  };
  int t = n - 1;
  while (t >= 1) {
    double mu = 0.0;
    for (int i = 0; i < m; ++i) mu += p.a[i][t] * p.a[i][t];
    const double x = p.a[0][0] * p.a[0][0] - mu;
    const double y = p.a[0][0] * p.a[0][1];
    double c = x / std::sqrt(x * x + y * y);
    double s = y / std::sqrt(x * x + y * y);
    for (int k = 0; k < t; ++k) {
      rotateColumns(p.a, m, k, c, s);
      if (k > 0) p.a[k - 1][k + 1] = 0.0;
      rotateColumns(p.v, n, k, c, s);
      const double r = std::sqrt(p.a[k][k] * p.a[k][k] + p.a[k + 1][k] * p.a[k + 1][k]);
      if (r > 1e-25) {
        const double cr = p.a[k][k] / r;
        const double sr = p.a[k + 1][k] / r;
        rotateRows(p.a, n, k, cr, sr);
        p.a[k + 1][k] = 0.0;
        rotateRows(p.u, m, k, cr, sr);
        if (k < t - 1) {
          const double r2 =
              std::sqrt(p.a[k][k + 1] * p.a[k][k + 1] + p.a[k][k + 2] * p.a[k][k + 2]);
          if (r2 < 1e-25) return p;
          c = p.a[k][k + 1] / r2;
          s = p.a[k][k + 2] / r2;
        }
      }
    }
    if (std::fabs(p.a[t - 1][t]) < 1e-10) --t;
  }
  return p;
}

class SmallMatrix : public ::testing::TestWithParam<std::vector<std::vector<double>>> {};

TEST_P(SmallMatrix, FollowsThePlainStepsBitForBit) {
  const auto& in = GetParam();
  const int m = static_cast<int>(in.size());
  const int n = static_cast<int>(in[0].size());
  orv::ZeroedBlock<Work> block;
  Work& w = *block;
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) w.a[i][j] = in[i][j];
  }
  ASSERT_TRUE(orv::decomposeSVD(w.a, m, n, w.u, w.v));
  const Plain p = plainDecomposition(in);
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) EXPECT_EQ(w.a[i][j], p.a[i][j]) << "a " << i << "," << j;
    for (int j = 0; j < m; ++j) EXPECT_EQ(w.u[i][j], p.u[i][j]) << "u " << i << "," << j;
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) EXPECT_EQ(w.v[i][j], p.v[i][j]) << "v " << i << "," << j;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, SmallMatrix,
    ::testing::Values(std::vector<std::vector<double>>{{0.3, 0.7}, {1.1, -0.4}},
                      std::vector<std::vector<double>>{{1, 2}, {3, 4}},
                      std::vector<std::vector<double>>{{0.77, 0.13}, {-0.52, 0.91}, {0.2, 0.05}},
                      std::vector<std::vector<double>>{
                          {0.3, 0.7, -0.2}, {1.1, -0.4, 0.6}, {0.9, 0.1, 0.35}},
                      std::vector<std::vector<double>>{{0.3, 0.7, -0.2, 0.5},
                                                       {1.1, -0.4, 0.6, 0.15},
                                                       {0.9, 0.1, 0.35, -0.8},
                                                       {-0.25, 0.45, 0.65, 0.3},
                                                       {0.12, -0.33, 0.27, 0.71}},
                      std::vector<std::vector<double>>{{2.0, -1.0, 0.5, 0.25, 0.1},
                                                       {0.1, 0.5, -0.3, 0.8, 0.6},
                                                       {0.4, 0.2, 0.9, -0.7, 0.3},
                                                       {-0.6, 0.35, 0.15, 0.45, -0.9},
                                                       {0.55, -0.25, 0.75, 0.05, 0.2},
                                                       {0.3, 0.6, -0.1, 0.4, 0.5}}));

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
