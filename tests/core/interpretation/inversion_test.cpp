#include "core/interpretation/inversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "core/interpretation/forward_problem.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using numerics_test::compositeFromModel;
using numerics_test::Fixture;
using numerics_test::setModel;
using orv::optimiseModelCore;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Snapshot {
  float rho[orv::MaxLayers];
  float depth[orv::MaxLayers];
};

Snapshot snapshot(const orv::CurveWindowState& s) {
  Snapshot k;
  for (int i = 0; i < orv::MaxLayers; ++i) {
    k.rho[i] = s.modelRho[i];
    k.depth[i] = s.modelDepth[i];
  }
  return k;
}

void expectUnchanged(const orv::CurveWindowState& s, const Snapshot& k) {
  for (int i = 0; i <= s.modelBoundaryCount; ++i) EXPECT_EQ(s.modelRho[i], k.rho[i]) << i;
  for (int i = 0; i < s.modelBoundaryCount; ++i) EXPECT_EQ(s.modelDepth[i], k.depth[i]) << i;
}

void expectSoundModel(const orv::CurveWindowState& s) {
  float above = 0.0f;
  for (int i = 0; i <= s.modelBoundaryCount; ++i) {
    EXPECT_TRUE(std::isfinite(s.modelRho[i])) << i;
    EXPECT_GT(s.modelRho[i], 0.0f) << i;
  }
  for (int i = 0; i < s.modelBoundaryCount; ++i) {
    EXPECT_TRUE(std::isfinite(s.modelDepth[i])) << i;
    EXPECT_GT(s.modelDepth[i], above) << i;
    above = s.modelDepth[i];
  }
}

double startMisfit(orv::CurveWindowState& s) {
  EXPECT_TRUE(orv::computeForwardValues(s, false));
  return orv::misfitSSQ(s);
}

const std::vector<double> kTrueRho{20, 200, 50};
const std::vector<double> kTrueDepth{5, 25};

// The true three-layer model's curve on cells 0..29 (1 m to about 2 km).
void threeLayerComposite(Fixture& f) {
  compositeFromModel(f.s, kTrueRho, kTrueDepth, 0, 29);
}

TEST(Inversion, RecoversAThreeLayerModelFromThirtyPercentOff) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  const double before = startMisfit(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  ASSERT_TRUE(out.ran);
  EXPECT_EQ(out.columns, 5);
  EXPECT_GT(out.acceptedSteps, 0);
  EXPECT_LT(f.s.modelFitError, before * 1e-3);
  EXPECT_NEAR(f.s.modelRho[0], 20, 0.5);
  EXPECT_NEAR(f.s.modelRho[2], 50, 2.0);
  EXPECT_NEAR(f.s.modelDepth[0], 5, 0.3);
  expectSoundModel(f.s);
}

TEST(Inversion, ModelFitErrorEndsAsTheMisfitOfTheModelAndItsCurve) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  optimiseModelCore(f.s);
  const double reported = f.s.modelFitError;
  float curve[orv::GridCells];
  for (int g = 0; g < orv::GridCells; ++g) curve[g] = f.s.computedRho[g];
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  EXPECT_EQ(orv::misfitSSQ(f.s), reported);
  for (int g = 0; g <= 29; ++g) EXPECT_EQ(f.s.computedRho[g], curve[g]) << g;
}

TEST(Inversion, EveryParameterFixedLeavesTheModelAlone) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  for (int i = 0; i < 3; ++i) f.s.rhoFixed[i] = 1;
  for (int i = 0; i < 2; ++i) f.s.thicknessFixed[i] = 1;
  const Snapshot k = snapshot(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_TRUE(out.ran);
  EXPECT_EQ(out.columns, 0);
  EXPECT_EQ(out.acceptedSteps, 0);
  expectUnchanged(f.s, k);
}

TEST(Inversion, FixedResistivitiesAndDepthsAllAroundLeaveTheModelAlone) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  for (int i = 0; i < 3; ++i) f.s.rhoFixed[i] = 1;
  f.s.depthFixed[0] = f.s.depthFixed[1] = 1;
  const Snapshot k = snapshot(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_EQ(out.columns, 0);
  EXPECT_EQ(out.acceptedSteps, 0);
  expectUnchanged(f.s, k);
}

TEST(Inversion, FixedDepthOfInterfaceOneStaysWhileTheTopThicknessMoves) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {20, 200, 50}, {3, 25});
  f.s.depthFixed[1] = 1;
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  ASSERT_GT(out.acceptedSteps, 0);
  EXPECT_EQ(out.columns, 4);  // rho 0..2 and h_0; h_1 follows
  EXPECT_EQ(f.s.modelDepth[1], 25.0f);
  EXPECT_NE(f.s.modelDepth[0], 3.0f);
  EXPECT_NEAR(f.s.modelDepth[0], 5.0f, 0.5f);
  EXPECT_NEAR(f.s.modelThickness[1], 25.0f - f.s.modelDepth[0], 1e-4f);
}

TEST(Inversion, FixedResistivityAndThicknessKeepTheirValuesExactly) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  f.s.rhoFixed[1] = 1;
  f.s.thicknessFixed[1] = 1;
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  ASSERT_GT(out.acceptedSteps, 0);
  EXPECT_EQ(f.s.modelRho[1], 140.0f);
  EXPECT_EQ(f.s.modelThickness[1], 11.0f);
  EXPECT_NEAR(f.s.modelDepth[1] - f.s.modelDepth[0], 11.0f, 1e-5f);
  EXPECT_NE(f.s.modelRho[0], 26.0f);
}

TEST(Inversion, FixedThicknessOverAFixedInterfaceKeepsBoth) {
  Fixture f;
  compositeFromModel(f.s, {20, 200, 60, 300}, {5, 25, 60}, 0, 29);
  setModel(f.s, {26, 140, 70, 250}, {3, 20, 60});
  f.s.thicknessFixed[2] = 1;
  f.s.depthFixed[2] = 1;
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  ASSERT_TRUE(out.ran);
  EXPECT_GT(out.acceptedSteps, 0);
  EXPECT_EQ(f.s.modelDepth[2], 60.0f);
  EXPECT_EQ(f.s.modelThickness[2], 40.0f);
  EXPECT_EQ(f.s.modelDepth[1], 20.0f);
  expectSoundModel(f.s);
}

TEST(Inversion, ACurveOfTheModelItselfIsLeftUnchanged) {
  Fixture f;
  compositeFromModel(f.s, {26, 140, 65}, {6.5, 17.5}, 0, 29);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  const Snapshot k = snapshot(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_EQ(out.acceptedSteps, 0);
  EXPECT_EQ(f.s.modelFitError, 0.0);
  expectUnchanged(f.s, k);
}

// A zigzag between neighbouring cells is what no smooth curve follows; with
// the model nearly at its best otherwise, the first step gains very little.
void zigzagComposite(Fixture& f) {
  threeLayerComposite(f);
  for (int g = 0; g <= 29; ++g) f.s.mergedRho[g][0] *= std::exp(g % 2 ? 0.1f : -0.1f);
  setModel(f.s, {20.2f, 200, 50}, {5, 25});
}

TEST(Inversion, StopsAfterAFirstStepThatGainsLessThanTwoAndAHalfPercent) {
  Fixture f;
  zigzagComposite(f);
  const double before = startMisfit(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  ASSERT_EQ(out.acceptedSteps, 1);
  EXPECT_EQ(out.jacobians, 1);
  EXPECT_LT(f.s.modelFitError, before);
  EXPECT_LT((before - f.s.modelFitError) / f.s.modelFitError, 0.025);
}

TEST(Inversion, TheFirstTrialOfAJacobianIsUndamped) {
  Fixture f;
  zigzagComposite(f);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  ASSERT_EQ(out.trials, 1);  // taken at once
  // The step left in the working arrays is the one with lambda = 0: only
  // singular values above 0.05 contribute, each with q_s / S_s.
  const int n = out.columns;
  for (int p = 0; p < n; ++p) {
    double expected = 0.0;
    for (int k = 0; k < n; ++k) {
      const double sv = f.s.weightedJacobian[k][k];
      if (sv > 0.05) expected += f.s.projectedResidual[k] / sv * f.s.svdV[p][k];
    }
    EXPECT_NEAR(f.s.parameterStep[p], expected, 1e-12 * (1 + std::fabs(expected))) << p;
  }
  const int count = 2 * 2 + 2;
  EXPECT_EQ(f.s.dampingCandidate[count - 1], 0.0);
  for (int i = 0; i + 1 < count; ++i) {
    EXPECT_GE(std::fabs(f.s.dampingCandidate[i]), std::fabs(f.s.dampingCandidate[i + 1]));
  }
}

TEST(Inversion, GoesOnWhileTheGainIsLarger) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_GE(out.jacobians, 2);
}

TEST(Inversion, HalfSpaceOnlyIsReturnedUnchanged) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {80}, {});
  const Snapshot k = snapshot(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_TRUE(out.ran);
  EXPECT_EQ(out.columns, 1);
  EXPECT_EQ(out.acceptedSteps, 0);
  EXPECT_LT(f.s.weightedJacobian[0][0], 0.0);  // the single, negative value
  expectUnchanged(f.s, k);
}

TEST(Inversion, SingleFreeParameterWithPositiveSensitivityIsUnchanged) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {20, 200, 80}, {5, 25});
  f.s.rhoFixed[0] = f.s.rhoFixed[1] = 1;
  f.s.thicknessFixed[0] = f.s.thicknessFixed[1] = 1;
  const Snapshot k = snapshot(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_EQ(out.columns, 1);
  EXPECT_EQ(out.acceptedSteps, 0);
  expectUnchanged(f.s, k);
}

class RandomStart : public ::testing::TestWithParam<int> {};

TEST_P(RandomStart, TheMisfitNeverIncreases) {
  std::mt19937 random(77u + static_cast<unsigned>(GetParam()));
  std::uniform_real_distribution<double> factor(0.4, 2.5);
  std::uniform_real_distribution<double> noise(-0.05, 0.05);
  Fixture f;
  threeLayerComposite(f);
  for (int g = 0; g <= 29; ++g) f.s.mergedRho[g][0] *= static_cast<float>(std::exp(noise(random)));
  const double r0 = 20 * factor(random), r1 = 200 * factor(random), r2 = 50 * factor(random);
  const double d0 = 5 * factor(random);
  setModel(f.s, {r0, r1, r2}, {d0, d0 + 20 * factor(random)});
  if (GetParam() % 3 == 1) f.s.depthFixed[0] = 1;
  if (GetParam() % 3 == 2) f.s.rhoFixed[1] = 1;
  const double before = startMisfit(f.s);
  optimiseModelCore(f.s);
  EXPECT_LE(f.s.modelFitError, before);
  expectSoundModel(f.s);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomStart, ::testing::Range(0, 12));

struct BadModelCase {
  const char* name;
  float rho1;
  float depth0;
};

class BadModel : public ::testing::TestWithParam<BadModelCase> {};

TEST_P(BadModel, IsNotInvertedAndNotChanged) {
  const BadModelCase& t = GetParam();
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  f.s.modelRho[1] = t.rho1;
  f.s.modelDepth[0] = t.depth0;
  const Snapshot k = snapshot(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_FALSE(out.ran) << t.name;
  EXPECT_EQ(out.acceptedSteps, 0);
  for (int i = 0; i < 3; ++i) {
    if (std::isnan(k.rho[i])) {
      EXPECT_TRUE(std::isnan(f.s.modelRho[i]));
    } else {
      EXPECT_EQ(f.s.modelRho[i], k.rho[i]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Values, BadModel,
                         ::testing::Values(BadModelCase{"zero resistivity", 0, 6.5f},
                                           BadModelCase{"negative resistivity", -3, 6.5f},
                                           BadModelCase{"NaN resistivity", kNaN, 6.5f},
                                           BadModelCase{"infinite resistivity", kInf, 6.5f},
                                           BadModelCase{"zero thickness", 140, 0.0f},
                                           BadModelCase{"negative thickness", 140, -2.0f},
                                           BadModelCase{"depth below the next", 140, 20.0f},
                                           BadModelCase{"NaN depth", 140, kNaN},
                                           BadModelCase{"infinite depth", 140, kInf}));

TEST(Inversion, CellsWithoutCompositeValuesAreLeftOut) {
  Fixture f;
  threeLayerComposite(f);
  f.s.mergedRho[10][0] = orv::EmptyCell;
  f.s.mergedRho[11][0] = 0.0f;
  f.s.mergedRho[12][0] = kNaN;
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_GT(out.acceptedSteps, 0);
  EXPECT_TRUE(std::isfinite(f.s.modelFitError));
  EXPECT_LT(f.s.modelFitError, 1e-3);
  expectSoundModel(f.s);
}

TEST(Inversion, ThirtyLayersRunAndStaySound) {
  Fixture f;
  threeLayerComposite(f);
  f.s.modelBoundaryCount = 29;
  for (int i = 0; i < 30; ++i) {
    f.s.modelRho[i] = i < 10 ? 25.0f : (i < 20 ? 150.0f : 60.0f);
    if (i < 29) f.s.modelDepth[i] = 0.8f * static_cast<float>(i + 1);
  }
  const double before = startMisfit(f.s);
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  EXPECT_TRUE(out.ran);
  EXPECT_EQ(out.columns, 59);
  EXPECT_LE(f.s.modelFitError, before);
  expectSoundModel(f.s);
}

TEST(Inversion, RefusesBoundaryCountsAndCellRangesOutsideTheCapacities) {
  Fixture f;
  threeLayerComposite(f);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
  f.s.modelBoundaryCount = 30;
  EXPECT_FALSE(optimiseModelCore(f.s).ran);
  f.s.modelBoundaryCount = 2;
  f.s.gridMaxIndex = 200;
  EXPECT_FALSE(optimiseModelCore(f.s).ran);
}

}  // namespace

// A step that gains too little to go on is the last thing a run does, so the
// step left in the working arrays is the one that built the model.
struct LastStepCase {
  float zigzag;  // ln of the composite's alternating offset
  float rho0;
  float depth0;
};

class LastStep : public ::testing::TestWithParam<LastStepCase> {};

TEST_P(LastStep, ScalesEachParameterInSinglePrecisionOfTheExactProduct) {
  const LastStepCase& t = GetParam();
  Fixture f;
  threeLayerComposite(f);
  for (int g = 0; g <= 29; ++g) f.s.mergedRho[g][0] *= std::exp(g % 2 ? t.zigzag : -t.zigzag);
  setModel(f.s, {t.rho0, 200, 50}, {t.depth0, 25});
  const float rho[3] = {f.s.modelRho[0], f.s.modelRho[1], f.s.modelRho[2]};
  const float h[2] = {f.s.modelDepth[0], f.s.modelDepth[1] - f.s.modelDepth[0]};
  const orv::InversionOutcome out = optimiseModelCore(f.s);
  ASSERT_EQ(out.acceptedSteps, 1);
  ASSERT_EQ(out.jacobians, 1);
  // Columns in parameter order: rho_0, h_0, rho_1, h_1, rho_2. The factor
  // exp(step) is not rounded on its own; only the product is.
  const double* step = f.s.parameterStep;
  EXPECT_EQ(f.s.modelRho[0], static_cast<float>(rho[0] * std::exp(step[0])));
  EXPECT_EQ(f.s.modelThickness[0], static_cast<float>(h[0] * std::exp(step[1])));
  EXPECT_EQ(f.s.modelRho[1], static_cast<float>(rho[1] * std::exp(step[2])));
  EXPECT_EQ(f.s.modelThickness[1], static_cast<float>(h[1] * std::exp(step[3])));
  EXPECT_EQ(f.s.modelRho[2], static_cast<float>(rho[2] * std::exp(step[4])));
}

INSTANTIATE_TEST_SUITE_P(
    Starts, LastStep,
    ::testing::Values(LastStepCase{0.1f, 20.2f, 5.0f}, LastStepCase{0.1f, 20.1f, 5.0f},
                      LastStepCase{0.12f, 20.3f, 5.0f}, LastStepCase{0.1f, 20.0f, 5.05f},
                      LastStepCase{0.08f, 19.9f, 4.97f}, LastStepCase{0.15f, 20.0f, 5.0f}));
