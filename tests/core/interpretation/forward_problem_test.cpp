#include "core/interpretation/forward_problem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "commands/curve/forward_problem_command.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using numerics_test::Fixture;
using numerics_test::setModel;
using orv::computeForwardValues;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(ForwardProblem, FilterCoefficientsSumToOne) {
  double sum = 0.0;
  for (double c : orv::ForwardFilterCoefficients) sum += c;
  EXPECT_NEAR(sum, 1.0, 1e-12);
}

TEST(ForwardProblem, HalfSpaceGivesItsResistivityEverywhere) {
  Fixture f;
  setModel(f.s, {37.5}, {});
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 199;
  ASSERT_TRUE(computeForwardValues(f.s, false));
  for (int g = 0; g <= 199; ++g) EXPECT_NEAR(f.s.computedRho[g], 37.5, 37.5 * 1e-6) << g;
}

struct TwoLayerCase {
  double rho0, h0, rho1;
  int cell;
  double expected;
  double relativeTolerance;
};

class TwoLayer : public ::testing::TestWithParam<TwoLayerCase> {};

TEST_P(TwoLayer, TendsToTheLayerThatDominates) {
  const TwoLayerCase& t = GetParam();
  Fixture f;
  setModel(f.s, {t.rho0, t.rho1}, {t.h0});
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 80;
  ASSERT_TRUE(computeForwardValues(f.s, false));
  EXPECT_NEAR(f.s.computedRho[t.cell], t.expected, t.expected * t.relativeTolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TwoLayer,
    ::testing::Values(
        // Equal resistivities: the filter's sum of one.
        TwoLayerCase{100, 10, 100, 0, 100, 1e-6}, TwoLayerCase{100, 10, 100, 17, 100, 1e-6},
        TwoLayerCase{100, 10, 100, 80, 100, 1e-6},
        // 10 ohm.m over 100: AB/2 = 1 m sees the top layer, 10^9 m the base.
        TwoLayerCase{10, 10, 100, 0, 10, 0.01}, TwoLayerCase{10, 10, 100, 80, 100, 0.01},
        // The reverse contrast.
        TwoLayerCase{100, 10, 10, 0, 100, 0.01}, TwoLayerCase{100, 10, 10, 80, 10, 0.01}));

TEST(ForwardProblem, RisesMonotonicallyOverAConductiveTopLayer) {
  Fixture f;
  setModel(f.s, {10, 100}, {10});
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 60;
  ASSERT_TRUE(computeForwardValues(f.s, false));
  // The transition lies around AB/2 of a few thicknesses.
  EXPECT_GT(f.s.computedRho[26], 30.0f);  // ~850 m
  EXPECT_LT(f.s.computedRho[9], 20.0f);   // ~10 m
}

class NonPositiveResistivity : public ::testing::TestWithParam<float> {};

TEST_P(NonPositiveResistivity, IsComputedAsOneMicroOhmMetre) {
  Fixture a;
  setModel(a.s, {GetParam(), 50, 200}, {2, 20});
  Fixture b;
  setModel(b.s, {1e-6, 50, 200}, {2, 20});
  ASSERT_TRUE(computeForwardValues(a.s, false));
  ASSERT_TRUE(computeForwardValues(b.s, false));
  for (int g = 0; g <= 29; ++g) EXPECT_EQ(a.s.computedRho[g], b.s.computedRho[g]) << g;
  // Only the working copy is raised; the model keeps what was entered.
  EXPECT_EQ(a.s.modelRho[0], GetParam());
}

INSTANTIATE_TEST_SUITE_P(Values, NonPositiveResistivity, ::testing::Values(0.0f, -5.0f, 1e-9f));

TEST(ForwardProblem, ReplacesTheTableGridValuesByTheLogarithmicGrid) {
  Fixture f;
  setModel(f.s, {100, 10}, {5});
  f.s.gridAbHalf[9] = 10.299999f;  // the reader's table value
  f.s.gridMinIndex = 3;
  f.s.gridMaxIndex = 12;
  f.s.gridAbHalf[13] = 123.0f;
  ASSERT_TRUE(computeForwardValues(f.s, false));
  EXPECT_EQ(f.s.gridAbHalf[9], static_cast<float>(std::exp(std::log(10.0) * 9 * orv::AbGridStep)));
  EXPECT_NEAR(f.s.gridAbHalf[9], std::pow(10.0, 9 / 8.876), 1e-5);
  EXPECT_EQ(f.s.gridAbHalf[0], 1.0f);
  EXPECT_EQ(f.s.gridAbHalf[13], 123.0f);  // beyond gridMaxIndex: untouched
}

TEST(ForwardProblem, PacksTheCurveFromTheFirstCell) {
  Fixture f;
  setModel(f.s, {30, 300, 30}, {3, 30});
  f.s.gridMinIndex = 5;
  f.s.gridMaxIndex = 25;
  ASSERT_TRUE(computeForwardValues(f.s, false));
  for (int g = 5; g <= 25; ++g) EXPECT_EQ(f.s.computedRhoPacked[g - 5], f.s.computedRho[g]);
}

TEST(ForwardProblem, TrialUsesTheTrialThicknessesAndResistivities) {
  Fixture model;
  setModel(model.s, {30, 300, 30}, {3, 30});
  ASSERT_TRUE(computeForwardValues(model.s, false));
  Fixture trial;
  setModel(trial.s, {1, 1, 1}, {1, 2});
  trial.s.rhoParam[0] = 30;
  trial.s.rhoParam[1] = 300;
  trial.s.rhoParam[2] = 30;
  trial.s.thickParam[0] = 3;
  trial.s.thickParam[1] = 27;
  ASSERT_TRUE(computeForwardValues(trial.s, true));
  for (int g = 0; g <= 29; ++g) EXPECT_EQ(trial.s.computedRho[g], model.s.computedRho[g]) << g;
}

struct RefusalCase {
  const char* name;
  int boundaries;
  float rho1;
  float depth1;
  int first;
  int last;
};

class Refusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, LeavesTheResultArraysAlone) {
  const RefusalCase& t = GetParam();
  Fixture f;
  setModel(f.s, {50, 500, 50}, {4, 40});
  f.s.modelBoundaryCount = t.boundaries;
  f.s.modelRho[1] = t.rho1;
  f.s.modelDepth[1] = t.depth1;
  f.s.gridMinIndex = t.first;
  f.s.gridMaxIndex = t.last;
  for (int g = 0; g < orv::GridCells; ++g) {
    f.s.computedRho[g] = -7.0f;
    f.s.computedRhoPacked[g] = -8.0f;
    f.s.gridAbHalf[g] = -9.0f;
  }
  EXPECT_FALSE(computeForwardValues(f.s, false)) << t.name;
  for (int g = 0; g < orv::GridCells; ++g) {
    EXPECT_EQ(f.s.computedRho[g], -7.0f);
    EXPECT_EQ(f.s.computedRhoPacked[g], -8.0f);
    EXPECT_EQ(f.s.gridAbHalf[g], -9.0f);
  }
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, Refusal,
    ::testing::Values(RefusalCase{"NaN resistivity", 2, kNaN, 40, 0, 29},
                      RefusalCase{"infinite resistivity", 2, kInf, 40, 0, 29},
                      RefusalCase{"NaN depth", 2, 500, kNaN, 0, 29},
                      RefusalCase{"infinite middle depth", 3, 500, kInf, 0, 29},
                      RefusalCase{"depth far above the previous", 2, 500, -1e6f, 0, 29},
                      RefusalCase{"30 boundaries", 30, 500, 40, 0, 29},
                      RefusalCase{"negative count", -1, 500, 40, 0, 29},
                      RefusalCase{"cells beyond the grid", 2, 500, 40, 0, 200},
                      RefusalCase{"negative first cell", 2, 500, 40, -1, 29},
                      RefusalCase{"empty range", 2, 500, 40, 10, 9}));

TEST(ForwardProblem, ThirtyLayersOverTheWholeGrid) {
  Fixture f;
  f.s.modelBoundaryCount = 29;
  for (int i = 0; i < 30; ++i) {
    f.s.modelRho[i] = i % 2 ? 300.0f : 30.0f;
    if (i < 29) f.s.modelDepth[i] = 2.0f * static_cast<float>(i + 1);
  }
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 199;
  ASSERT_TRUE(computeForwardValues(f.s, false));
  for (int g = 0; g <= 199; ++g) {
    EXPECT_TRUE(std::isfinite(f.s.computedRho[g]));
    EXPECT_GT(f.s.computedRho[g], 0.0f);
  }
  // The last layer is layer 29 of 300 ohm.m, reached at very large spacing.
  EXPECT_NEAR(f.s.computedRho[199], 300.0f, 3.0f);
}

TEST(Misfit, IsZeroForTheModelsOwnCurve) {
  Fixture f;
  setModel(f.s, {30, 300, 30}, {3, 30});
  numerics_test::compositeFromModel(f.s, {30, 300, 30}, {3, 30}, 2, 27);
  ASSERT_TRUE(computeForwardValues(f.s, false));
  EXPECT_EQ(orv::misfitSSQ(f.s), 0.0);
}

TEST(Misfit, SumsSquaredNaturalLogRatios) {
  Fixture f;
  f.s.gridMinIndex = 3;
  f.s.gridMaxIndex = 5;
  for (int g = 0; g < orv::GridCells; ++g) f.s.mergedRho[g][0] = orv::EmptyCell;
  f.s.computedRho[3] = 10.0f;
  f.s.mergedRho[3][0] = 10.0f * std::exp(1.0f);
  f.s.computedRho[4] = 20.0f;
  f.s.mergedRho[4][0] = 20.0f / std::exp(2.0f);
  f.s.computedRho[5] = 40.0f;
  f.s.mergedRho[5][0] = 40.0f;
  EXPECT_NEAR(orv::misfitSSQ(f.s), 1.0 + 4.0, 1e-6);
}

TEST(Misfit, LeavesOutCellsWithoutACompositeValue) {
  Fixture f;
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 2;
  f.s.computedRho[0] = f.s.computedRho[1] = f.s.computedRho[2] = 10.0f;
  f.s.mergedRho[0][0] = 10.0f * std::exp(0.5f);
  f.s.mergedRho[1][0] = orv::EmptyCell;
  f.s.mergedRho[2][0] = 0.0f;
  EXPECT_NEAR(orv::misfitSSQ(f.s), 0.25, 1e-6);
}

TEST(Misfit, IsInfiniteWhenTheComputedCurveIsNotPositive) {
  Fixture f;
  f.s.gridMinIndex = 0;
  f.s.gridMaxIndex = 1;
  f.s.mergedRho[0][0] = f.s.mergedRho[1][0] = 10.0f;
  f.s.computedRho[0] = 10.0f;
  f.s.computedRho[1] = 0.0f;
  EXPECT_EQ(orv::misfitSSQ(f.s), HUGE_VAL);
}

TEST(Misfit, TextHasTwoBlanksAfterTheEqualsSignAndOneAtTheEnd) {
  EXPECT_EQ(orv::ssqText(0.0), "SSQ =  0.000000 ");
  EXPECT_EQ(orv::ssqText(12.3456789), "SSQ =  12.345679 ");
}

TEST(Misfit, ShownEndingAtTheMiddleOfThePlot) {
  Fixture f;
  setModel(f.s, {30, 300, 30}, {3, 30});
  numerics_test::compositeFromModel(f.s, {30, 300, 30}, {3, 30}, 0, 29);
  ASSERT_TRUE(computeForwardValues(f.s, false));
  f.s.modelFitError = 99.0;
  orv::showSSQ(f.session);
  EXPECT_EQ(f.s.modelFitError, 0.0);
  ASSERT_EQ(f.canvas.texts.size(), 1u);
  const std::string text = "SSQ =  0.000000 ";
  EXPECT_EQ(f.canvas.texts[0].text, text);
  EXPECT_EQ(f.canvas.texts[0].x, (40 + 760) / 2 - static_cast<int>(text.size()) * 8);
  EXPECT_EQ(f.canvas.texts[0].y, 568 + 16 / 2);
}

TEST(ComputeForward, DisplayModeDrawsTheCurveAndSetsTheFlag) {
  Fixture f;
  setModel(f.s, {30, 300, 30}, {3, 30});
  numerics_test::compositeFromModel(f.s, {30, 300, 30}, {3, 30}, 0, 29);
  ASSERT_TRUE(orv::computeForward(f.session, false));
  EXPECT_TRUE(f.s.computedCurveValid);
  EXPECT_GT(f.canvas.drawCalls, 0);
  ASSERT_FALSE(f.canvas.texts.empty());
  EXPECT_EQ(f.canvas.texts.back().text, "SSQ =  0.000000 ");
}

TEST(ComputeForward, TrialModeDrawsNothing) {
  Fixture f;
  setModel(f.s, {30, 300, 30}, {3, 30});
  f.s.rhoParam[0] = f.s.rhoParam[1] = f.s.rhoParam[2] = 10;
  f.s.thickParam[0] = f.s.thickParam[1] = 1;
  ASSERT_TRUE(orv::computeForward(f.session, true));
  EXPECT_FALSE(f.s.computedCurveValid);
  EXPECT_EQ(f.canvas.drawCalls, 0);
  EXPECT_TRUE(f.canvas.texts.empty());
}

TEST(ComputeForward, RefusalErasesTheOldCurveAndLeavesTheFlagCleared) {
  Fixture f;
  setModel(f.s, {30, 300, 30}, {3, 30});
  ASSERT_TRUE(orv::computeForward(f.session, false));
  const int drawsAfterFirst = f.canvas.drawCalls;
  f.s.modelRho[1] = kNaN;
  EXPECT_FALSE(orv::computeForward(f.session, false));
  EXPECT_FALSE(f.s.computedCurveValid);
  EXPECT_GT(f.canvas.drawCalls, drawsAfterFirst);  // the erasing redraw
  const int drawsAfterRefusal = f.canvas.drawCalls;
  f.s.modelRho[1] = 300;
  ASSERT_TRUE(orv::computeForward(f.session, false));
  // Nothing left to erase: only the new curve is drawn.
  EXPECT_EQ(f.canvas.drawCalls - drawsAfterRefusal, drawsAfterFirst);
}

}  // namespace

// The transform evaluated abscissa by abscissa, layer by layer, with the
// resistivity floor applied inside the recurrence as it is met: the plain
// order of the computation. The production code may reorder the loops only
// if every float comes out the same.
void plainForward(const float* modelRho, const double* thickness, int n, int first, int last,
                  float* curve) {
  const double ln10 = std::log(10.0);
  float rho[orv::MaxLayers];
  for (int i = 0; i <= n; ++i) rho[i] = modelRho[i];
  float transform[orv::TransformAbscissae];
  for (int j = -20; j <= last + 4; ++j) {
    const float lambda = static_cast<float>(std::exp(ln10 * j * orv::AbGridStep));
    float t = rho[n];
    for (int i = n - 1; i >= 0; --i) {
      if (rho[i] < 1e-6) rho[i] = 1e-6f;
      const float e = static_cast<float>(std::exp(-2.0 * thickness[i] / lambda));
      const double w = (1.0 - e) * rho[i] / (e + 1.0);
      t = static_cast<float>((w + t) / (t * w / (static_cast<double>(rho[i]) * rho[i]) + 1.0));
    }
    transform[j + 20] = t;
  }
  for (int g = first; g <= last; ++g) {
    curve[g] = 0.0f;
    for (int k = -2; k <= 10; ++k) {
      curve[g] += orv::ForwardFilterCoefficients[k + 2] * transform[g - 2 * k + 20];
    }
  }
}

class AgainstPlainOrder : public ::testing::TestWithParam<int> {};

TEST_P(AgainstPlainOrder, EveryCellIsBitForBitTheSame) {
  std::mt19937 random(4242u + static_cast<unsigned>(GetParam()));
  const int counts[] = {0, 1, 2, 3, 5, 10, 29};
  const int n = counts[GetParam() % 7];
  std::uniform_real_distribution<double> logRho(-8.0, 5.0);
  std::uniform_real_distribution<double> logH(-2.0, 2.7);
  std::uniform_int_distribution<int> cell(0, 199);
  Fixture f;
  const bool trial = GetParam() % 2 == 1;
  double thickness[orv::MaxLayers];
  float rho[orv::MaxLayers];
  f.s.modelBoundaryCount = n;
  double depth = 0.0;
  for (int i = 0; i <= n; ++i) {
    rho[i] = static_cast<float>(std::pow(10.0, logRho(random)));
    if (i % 7 == 3) rho[i] = i % 2 ? 0.0f : -12.0f;  // raised to the floor
    if (i < n) {
      if (trial) {
        thickness[i] = std::pow(10.0, logH(random));
      } else {
        f.s.modelDepth[i] = static_cast<float>(depth + std::pow(10.0, logH(random)));
        thickness[i] = static_cast<double>(f.s.modelDepth[i]) - depth;
        depth = f.s.modelDepth[i];
      }
    }
    f.s.modelRho[i] = rho[i];
    f.s.rhoParam[i] = rho[i];
    f.s.thickParam[i] = thickness[i];
  }
  if (trial) {
    // The trial resistivities are not single precision values.
    for (int i = 0; i <= n; ++i) f.s.rhoParam[i] *= 1.0 + 1e-9;
    for (int i = 0; i <= n; ++i) rho[i] = static_cast<float>(f.s.rhoParam[i]);
  }
  int a = cell(random), b = cell(random);
  f.s.gridMinIndex = std::min(a, b);
  f.s.gridMaxIndex = GetParam() % 5 == 0 ? 199 : std::max(a, b);
  float expected[orv::GridCells];
  plainForward(rho, thickness, n, f.s.gridMinIndex, f.s.gridMaxIndex, expected);
  ASSERT_TRUE(computeForwardValues(f.s, trial));
  for (int g = f.s.gridMinIndex; g <= f.s.gridMaxIndex; ++g) {
    EXPECT_EQ(f.s.computedRho[g], expected[g]) << g;
    EXPECT_EQ(f.s.computedRhoPacked[g - f.s.gridMinIndex], expected[g]) << g;
  }
}

INSTANTIATE_TEST_SUITE_P(Models, AgainstPlainOrder, ::testing::Range(0, 70));
