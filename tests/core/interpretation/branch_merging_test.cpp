#include "core/interpretation/branch_merging.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "commands/curve/branch_merging_command.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/grid_index.h"
#include "tests/commands/curve/kmt_test_support.h"

namespace orv {
namespace {

using testing::TestWindow;

void addReading(CurveWindowState& s, int branch, int cell, float rho, float mn = 1.0f,
                float sv = 0) {
  const int i = s.readingCount++;
  s.readingBranch[i] = branch;
  s.readingAbHalf[i] = gridValueOf(cell);
  s.readingMnHalf[i] = mn;
  s.readingRho[i] = rho;
  s.readingS[i] = sv;
}

void derive(TestWindow& w) {
  ASSERT_EQ(deriveReadings(w.session, ReadingOrigin::Kmt), 1);
  resetInterpretation(w.session);
}

// Branch 1 on cells 0..5, branch 2 on cells 3..8, reading exactly twice as
// much as branch 1 on the three common cells.
void twoBranchesFactorTwo(TestWindow& w) {
  CurveWindowState& s = w.s();
  for (int k = 0; k <= 5; ++k) addReading(s, 1, k, 10.0f + k, 1.0f);
  for (int k = 3; k <= 5; ++k) addReading(s, 2, k, 2 * (10.0f + k), 5.0f);
  for (int k = 6; k <= 8; ++k) addReading(s, 2, k, 40.0f + k, 5.0f);
  derive(w);
}

TEST(BranchMerging, OneBranchGivesItsCellMeans) {
  TestWindow w;
  CurveWindowState& s = w.s();
  addReading(s, 1, 0, 10.0f, 0.5f, 2);
  addReading(s, 1, 1, 20.0f, 0.5f, 3);
  addReading(s, 1, 1, 80.0f, 0.5f, 6);
  addReading(s, 1, 2, 30.0f, 0.5f, 1);
  derive(w);
  MergeOutcome out = mergeBranchesCore(s, 2);
  EXPECT_EQ(out.missingOverlapCount, 0);
  EXPECT_TRUE(s.compositeReady);
  EXPECT_EQ(s.branchCount, 1);
  EXPECT_FLOAT_EQ(s.mergedRho[0][0], 10.0f);
  EXPECT_FLOAT_EQ(s.mergedRho[1][0], 40.0f);  // sqrt(20 x 80)
  EXPECT_FLOAT_EQ(s.mergedRho[2][0], 30.0f);
  EXPECT_FLOAT_EQ(s.mergedRho[1][1], 40.0f);
  EXPECT_FLOAT_EQ(s.cellS[1][1], 4.5f);
  EXPECT_FLOAT_EQ(s.cellS[3][1], 1e8f);
  EXPECT_FLOAT_EQ(s.cellRho[3][1], 0.0f);
  EXPECT_FLOAT_EQ(s.branchMnHalf[1], 0.5f);
  EXPECT_FLOAT_EQ(s.branchMnHalf[2], EmptyCell);
  EXPECT_FLOAT_EQ(s.branchMnHalf[0], EmptyCell);
  EXPECT_FLOAT_EQ(s.mergedRho[3][0], EmptyCell);
  EXPECT_FLOAT_EQ(s.cellAbHalf[3][1], EmptyCell);
}

TEST(BranchMerging, GeometricMeanOfTheSameCell) {
  TestWindow w;
  addReading(w.s(), 1, 4, 10.0f);
  addReading(w.s(), 1, 4, 1000.0f);
  derive(w);
  mergeBranchesCore(w.s(), 2);
  EXPECT_FLOAT_EQ(w.s().cellRho[4][1], 100.0f);
  EXPECT_FLOAT_EQ(w.s().mergedRho[4][0], 100.0f);
}

TEST(BranchMerging, OntoBranchOneHalvesBranchTwo) {
  TestWindow w;
  twoBranchesFactorTwo(w);
  CurveWindowState& s = w.s();
  MergeOutcome out = mergeBranchesCore(s, 1);
  EXPECT_EQ(out.missingOverlapCount, 0);
  for (int k = 0; k <= 5; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][0], 10.0f + k) << k;
  for (int k = 3; k <= 5; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][2], 10.0f + k) << k;
  for (int k = 6; k <= 8; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][0], (40.0f + k) / 2) << k;
  EXPECT_FLOAT_EQ(s.branchMnHalf[1], 1.0f);
  EXPECT_FLOAT_EQ(s.branchMnHalf[2], 5.0f);
}

TEST(BranchMerging, OntoBranchTwoDoublesBranchOne) {
  TestWindow w;
  twoBranchesFactorTwo(w);
  CurveWindowState& s = w.s();
  mergeBranchesCore(s, 2);
  for (int k = 0; k <= 5; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][1], 2 * (10.0f + k)) << k;
  for (int k = 0; k <= 5; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][0], 2 * (10.0f + k)) << k;
  for (int k = 6; k <= 8; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][0], 40.0f + k) << k;
  EXPECT_FLOAT_EQ(s.mergedRho[7][1], EmptyCell);
}

TEST(BranchMerging, DisagreeingOverlapIsAveragedGeometrically) {
  TestWindow w;
  CurveWindowState& s = w.s();
  // The shift is the mean log ratio (factor 2); cell 2 disagrees by 8 / 2.
  addReading(s, 1, 1, 10.0f);
  addReading(s, 1, 2, 10.0f);
  addReading(s, 2, 1, 10.0f);
  addReading(s, 2, 2, 40.0f);
  addReading(s, 2, 3, 40.0f);
  derive(w);
  mergeBranchesCore(s, 1);
  // d = (log 1 + log 0.25) / 2 = -log 2: branch 2 is halved.
  EXPECT_FLOAT_EQ(s.mergedRho[1][0], std::sqrt(10.0f * 5.0f));
  EXPECT_FLOAT_EQ(s.mergedRho[2][0], std::sqrt(10.0f * 20.0f));
  EXPECT_FLOAT_EQ(s.mergedRho[2][1], s.mergedRho[2][2]);
  EXPECT_FLOAT_EQ(s.mergedRho[3][0], 20.0f);
}

TEST(BranchMerging, AveragingHasNoOffSwitch) {
  TestWindow w;
  CurveWindowState& s = w.s();
  addReading(s, 1, 1, 10.0f);
  addReading(s, 1, 2, 10.0f);
  addReading(s, 2, 1, 10.0f);
  addReading(s, 2, 2, 40.0f);
  derive(w);
  // Whatever the settings file said, the overlaps are averaged.
  s.averageOverlaps = false;
  mergeBranchesCore(s, 1);
  EXPECT_FLOAT_EQ(s.mergedRho[2][1], std::sqrt(10.0f * 20.0f));
  EXPECT_FLOAT_EQ(s.mergedRho[2][2], std::sqrt(10.0f * 20.0f));
  EXPECT_FLOAT_EQ(s.mergedRho[2][0], std::sqrt(10.0f * 20.0f));
}

TEST(BranchMerging, AReadingWithoutResistivityStillNamesAbAndMnHalf) {
  TestWindow w;
  CurveWindowState& s = w.s();
  addReading(s, 2, 3, 50.0f, 2.5f);
  addReading(s, 2, 4, 60.0f, 2.5f);
  addReading(s, 2, 4, 0.0f, 1.5f);  // the branch's last reading, no value
  derive(w);
  s.readingAbHalf[2] = 4.7f;
  mergeBranchesCore(s, 2);
  EXPECT_FLOAT_EQ(s.branchMnHalf[2], 1.5f);
  EXPECT_FLOAT_EQ(s.cellAbHalf[4][2], 4.7f);
  EXPECT_FLOAT_EQ(s.cellRho[4][2], 60.0f);
  EXPECT_FLOAT_EQ(s.mergedRho[4][0], 60.0f);
}

TEST(BranchMerging, BranchesWithoutOverlapAreReportedAndLeftUnshifted) {
  TestWindow w;
  CurveWindowState& s = w.s();
  for (int k = 0; k <= 3; ++k) addReading(s, 1, k, 10.0f);
  for (int k = 6; k <= 9; ++k) addReading(s, 2, k, 50.0f);
  derive(w);
  mergeBranches(w.session, 2);
  EXPECT_EQ(w.dialogs.messages(),
            std::vector<std::string>{
                "Mezi větví1 a 2 nemáš převaz!, snos byl proveden s delta Rz = 0 !!!"});
  for (int k = 0; k <= 3; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][0], 10.0f) << k;
  for (int k = 4; k <= 5; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][0], EmptyCell) << k;
  for (int k = 6; k <= 9; ++k) EXPECT_FLOAT_EQ(s.mergedRho[k][0], 50.0f) << k;
  EXPECT_TRUE(s.compositeReady);
}

TEST(BranchMerging, OneMessagePerMissingOverlap) {
  TestWindow w;
  CurveWindowState& s = w.s();
  // Branch 2 was never measured: neither 1-2 nor 2-3 overlap.
  for (int k = 0; k <= 3; ++k) addReading(s, 1, k, 10.0f);
  for (int k = 3; k <= 6; ++k) addReading(s, 3, k, 30.0f);
  derive(w);
  MergeOutcome out = mergeBranchesCore(s, 2);
  ASSERT_EQ(out.missingOverlapCount, 2);
  EXPECT_EQ(out.missingOverlapLower[0], 1);
  EXPECT_EQ(out.missingOverlapLower[1], 2);
  EXPECT_EQ(missingOverlapMessage(2),
            "Mezi větví2 a 3 nemáš převaz!, snos byl proveden s delta Rz = 0 !!!");
  EXPECT_FLOAT_EQ(s.mergedRho[3][0], std::sqrt(10.0f * 30.0f));
}

// Three branches on cells 0..5, 4..9, 8..13, each 10 % above the one before.
void threeBranches(TestWindow& w) {
  CurveWindowState& s = w.s();
  for (int k = 0; k <= 5; ++k) addReading(s, 1, k, 100.0f);
  for (int k = 4; k <= 9; ++k) addReading(s, 2, k, 110.0f);
  for (int k = 8; k <= 13; ++k) addReading(s, 3, k, 121.0f);
  derive(w);
}

TEST(BranchMerging, TargetAboveTheLastBranchTakesTheLastLevel) {
  TestWindow onto4;
  threeBranches(onto4);
  mergeBranchesCore(onto4.s(), 4);
  TestWindow onto3;
  threeBranches(onto3);
  mergeBranchesCore(onto3.s(), 3);
  for (int k = 0; k <= 13; ++k) {
    EXPECT_FLOAT_EQ(onto4.s().mergedRho[k][0], 121.0f) << k;
    for (int j = 0; j <= 3; ++j) EXPECT_EQ(onto4.s().mergedRho[k][j], onto3.s().mergedRho[k][j]);
  }
}

TEST(BranchMerging, EveryTargetBringsAllBranchesToItsLevel) {
  const float level[] = {0, 100.0f, 110.0f, 121.0f};
  for (int t = 1; t <= 3; ++t) {
    TestWindow w;
    threeBranches(w);
    mergeBranchesCore(w.s(), t);
    for (int k = 0; k <= 13; ++k) EXPECT_NEAR(w.s().mergedRho[k][0], level[t], 1e-3) << t << k;
  }
}

TEST(BranchMerging, ReadingsTheTablesCannotHoldTakeNoPart) {
  TestWindow w;
  CurveWindowState& s = w.s();
  addReading(s, 1, 0, 10.0f);
  addReading(s, 1, 1, 20.0f);
  derive(w);
  // Put in after the completion, as a careless caller might.
  s.readingBranch[s.readingCount] = 6;
  s.readingGridIndex[s.readingCount] = 1;
  s.readingRho[s.readingCount++] = 500.0f;
  s.readingBranch[s.readingCount] = 1;
  s.readingGridIndex[s.readingCount] = 1;
  s.readingRho[s.readingCount++] = -3.0f;
  s.readingBranch[s.readingCount] = 1;
  s.readingGridIndex[s.readingCount] = -2;
  s.readingRho[s.readingCount++] = 7.0f;
  s.gridMinIndex = -2;
  mergeBranchesCore(s, 2);
  EXPECT_EQ(s.branchCount, 1);
  EXPECT_FLOAT_EQ(s.mergedRho[1][0], 20.0f);
  EXPECT_FLOAT_EQ(s.mergedRho[0][0], 10.0f);
}

TEST(BranchMerging, CommandWithoutReadingsDrawsNothing) {
  TestWindow w;
  mergeBranches(w.session, 2);
  EXPECT_FALSE(w.s().compositeReady);
  EXPECT_EQ(w.canvas.fills, 0);
  EXPECT_TRUE(w.canvas.segments.empty());
  EXPECT_FALSE(w.s().curveDrawn);
}

TEST(BranchMerging, CommandWithoutReadingsLeavesNoEarlierComposite) {
  TestWindow w;
  twoBranchesFactorTwo(w);
  mergeBranches(w.session, 2);
  ASSERT_TRUE(w.s().compositeReady);
  w.s().readingCount = 0;
  const int fills = w.canvas.fills;
  mergeBranches(w.session, 2);
  // Nothing of the earlier sounding may be fitted or written as this one.
  EXPECT_FALSE(w.s().compositeReady);
  EXPECT_EQ(w.s().branchCount, 0);
  for (int k = 0; k <= 8; ++k) EXPECT_EQ(w.s().mergedRho[k][0], EmptyCell) << k;
  EXPECT_EQ(w.canvas.fills, fills);
}

TEST(BranchMerging, CommandRepaintsAndDrawsTheComposite) {
  TestWindow w;
  twoBranchesFactorTwo(w);
  mergeBranches(w.session, 2);
  EXPECT_TRUE(w.dialogs.messages().empty());
  EXPECT_GT(w.canvas.fills, 0);
  EXPECT_TRUE(w.s().curveDrawn);
  bool compositeDrawn = false;
  for (const auto& seg : w.canvas.segments)
    if (seg.colour == w.s().colourComposite && seg.width == w.s().lineWidthComposite)
      compositeDrawn = true;
  EXPECT_TRUE(compositeDrawn);
}

}  // namespace
}  // namespace orv
