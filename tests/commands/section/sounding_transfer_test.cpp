#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

// A sounding in the curve window with a fixed second-layer depth of 12.5 m
// and a fixed first-layer resistivity, IP values in four windows.
void giveSounding(CurveWindowState& s) {
  s.readingCount = 7;
  for (int m = 0; m < s.readingCount; ++m) {
    s.readingAbHalf[m] = 1.5f * (m + 1);
    s.readingMnHalf[m] = 0.5f + m / 4;
    s.readingRho[m] = 100.0f + m;
    s.readingBranch[m] = 1 + m / 4;
    for (int k = 0; k < 4; ++k) s.ipValue[m][k] = 10.0f * m + k + 0.5f;
  }
  s.gridMinIndex = 2;
  s.gridMaxIndex = 11;
  s.branchCount = 2;
  for (int g = 0; g < GridCells; ++g) s.mergedRho[g][0] = 50.0f + g;
  s.modelBoundaryCount = 2;
  s.modelRho[0] = 80.0f;
  s.modelRho[1] = 15.0f;
  s.modelRho[2] = 400.0f;
  s.modelDepth[0] = 3.0f;
  s.modelDepth[1] = 12.5f;
  s.rhoFixed[0] = 1;
  s.depthFixed[1] = 1;
  s.modelFitError = 0.0375;
  s.ipWindowCount = 4;
  s.ipWindowLength = 40;
  s.ipWindowDelay = 20;
  s.ipOnTime = 2000;
  s.ipOffTime = 2000;
  s.ipLeadTime = 100;
  s.ipTailTime = 50;
  for (int k = 0; k < 4; ++k) {
    s.ipWindowStart[k] = 2120 + 40 * k;
    s.ipWindowEnd[k] = 2160 + 40 * k;
    s.ipWindowMidTime[k] = 2140 + 40 * k;
  }
}

// Filing never cuts the profile's IP windows: a sounding with fewer keeps the
// profile's count and timing, one with more raises them, the other points
// reading zeros in the new windows.
TEST_F(SectionTest, OneSoundingNeverCutsTheProfilesIpWindows) {
  for (const auto& [windows, sounding] : {std::pair{20, 12}, {20, -10}, {3, 12}}) {
    givePoints(2);
    profile(0).num_IPoken = windows;
    profile(0).ipWindowTo[0] = 7;
    giveSounding(curve());
    curve().ipWindowCount = sounding;
    db().currentPoint = 1;
    storeSounding(session);
    EXPECT_EQ(profile(0).num_IPoken, std::max(windows, sounding));
    EXPECT_EQ(profile(0).ipWindowTo[0] == 7, sounding < windows);
    for (int k = 0; k < profile(0).num_IPoken; ++k) {
      EXPECT_EQ(profile(0).points[0].ipValue[3][k], k < windows ? 100300.0f + k : 0.0f) << k;
      EXPECT_EQ(profile(0).points[1].ipValue[3][k], k < sounding ? curve().ipValue[3][k] : 0.0f);
    }
  }
}

TEST_F(SectionTest, StoreSoundingWritesModelWithFixMarksAndTheReadings) {
  givePoints(2);
  db().currentPoint = 1;
  giveSounding(curve());
  storeSounding(session);
  const SectionPoint& p = profile(0).points[1];
  EXPECT_EQ(p.MDLmx, 2);
  EXPECT_EQ(p.layerRho[0], -80.0f);
  EXPECT_EQ(p.layerRho[1], 15.0f);
  EXPECT_EQ(p.layerDepth[0], 3.0f);
  EXPECT_EQ(p.layerDepth[1], -12.5f);
  EXPECT_EQ(p.Mermx, 7);
  EXPECT_EQ(p.AO[6], 10.5f);
  EXPECT_EQ(p.iMN[6], 2);
  EXPECT_EQ(p.nABmn, 2);
  EXPECT_EQ(p.ABmx, 11);
  EXPECT_EQ(p.MNmx, 2);
  for (int g = 0; g <= 11; ++g) EXPECT_EQ(p.compositeRho[g], 50.0f + g);
  EXPECT_EQ(p.compositeRho[12], 2000.0f * 2 + 12 + 0.5f);  // beyond the grid: untouched
  EXPECT_FLOAT_EQ(p.fitError, 0.0375f);
  EXPECT_EQ(p.ipValue[6][3], 63.5f);
  EXPECT_EQ(p.ipValue[6][4], 0.0f);  // a window the sounding does not have
  // Texts and position stay.
  EXPECT_EQ(textOf(p.pointName), "bod2");
  EXPECT_EQ(p.pointZ, 204.0f);
  // The profile-wide IP description comes from the sounding.
  EXPECT_EQ(profile(0).num_IPoken, 4);
  EXPECT_EQ(profile(0).span_IPoken, 40);
  EXPECT_EQ(profile(0).zpozdeni_IPoken, 20);
  EXPECT_EQ(profile(0).OnTime, 2000);
  EXPECT_EQ(profile(0).LeadTime, 100);
  EXPECT_EQ(profile(0).TailTime, 50);
  EXPECT_EQ(profile(0).ipWindowFrom[3], 2240);
  EXPECT_EQ(profile(0).ipWindowTo[3], 2280);
  EXPECT_EQ(profile(0).ipWindowMid[3], 2260);
  EXPECT_EQ(sectionRedraws, 1);
}

TEST_F(SectionTest, StoreThenLoadGivesTheSoundingBack) {
  givePoints(2);
  db().currentPoint = 0;
  giveSounding(curve());
  storeSounding(session);

  ZeroedBlock<CurveWindowState> before;
  giveSounding(*before);
  // Wipe the curve window, then bring the point back.
  setInitialCurveState(curve());
  finishCurveStateConstruction(curve());
  for (int g = 0; g < GridCells; ++g)
    for (int slot = 0; slot < BranchSlots; ++slot) curve().mergedRho[g][slot] = EmptyCell;
  db().currentPoint = 1;
  loadPoint(session, 0);

  const CurveWindowState& s = curve();
  EXPECT_EQ(db().currentPoint, 0);
  EXPECT_EQ(s.modelBoundaryCount, 2);
  EXPECT_EQ(s.modelDepth[1], 12.5f);
  EXPECT_EQ(s.depthFixed[1], 1);
  EXPECT_EQ(s.depthFixed[0], 0);
  EXPECT_EQ(s.modelRho[0], 80.0f);
  EXPECT_EQ(s.rhoFixed[0], 1);
  EXPECT_EQ(s.rhoFixed[1], 0);
  ASSERT_EQ(s.readingCount, 7);
  for (int m = 0; m < 7; ++m) {
    EXPECT_EQ(s.readingAbHalf[m], before->readingAbHalf[m]);
    EXPECT_EQ(s.readingMnHalf[m], before->readingMnHalf[m]);
    EXPECT_EQ(s.readingRho[m], before->readingRho[m]);
    EXPECT_EQ(s.readingBranch[m], before->readingBranch[m]);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(s.ipValue[m][k], before->ipValue[m][k]);
  }
  EXPECT_EQ(s.gridMinIndex, 2);
  EXPECT_EQ(s.gridMaxIndex, 11);
  EXPECT_EQ(s.branchCount, 2);
  // The composite goes into every slot up to the branch count, within the grid.
  for (int g = 2; g <= 11; ++g)
    for (int slot = 0; slot <= 2; ++slot) EXPECT_EQ(s.mergedRho[g][slot], 50.0f + g);
  EXPECT_EQ(s.mergedRho[2][3], EmptyCell);
  EXPECT_EQ(s.mergedRho[1][0], EmptyCell);
  EXPECT_EQ(s.mergedRho[12][0], EmptyCell);
  EXPECT_TRUE(s.curveLoaded);
  EXPECT_TRUE(s.compositeReady);
  EXPECT_FLOAT_EQ(static_cast<float>(s.modelFitError), 0.0375f);
  EXPECT_EQ(s.pointElevation, 104.0f);
  EXPECT_EQ(s.ipWindowCount, 4);
  EXPECT_EQ(s.ipWindowLength, 40);
  EXPECT_EQ(s.ipWindowDelay, 20);
  EXPECT_EQ(s.ipOffTime, 2000);
  EXPECT_EQ(s.ipTailTime, 50);
  EXPECT_EQ(s.ipWindowStart[2], 2200);
  EXPECT_EQ(s.ipWindowMidTime[2], 2220);
  EXPECT_EQ(textOf(s.instrumentFilePath), "bod1");
  EXPECT_EQ(link.takeOvers, 1);
  EXPECT_TRUE(link.fromSectionAtTakeOver);
}

TEST_F(SectionTest, StoreSoundingNeedsAStoredCurrentPoint) {
  giveSounding(curve());
  db().currentPoint = NoPointYet;
  storeSounding(session);
  db().currentPoint = 0;  // after a profile selection on an empty profile
  storeSounding(session);
  EXPECT_EQ(profile(0).points[0].Mermx, 0);
  EXPECT_EQ(profile(0).num_IPoken, 0);
  EXPECT_EQ(sectionRedraws, 0);
}

TEST_F(SectionTest, StoreSoundingCutsOddCountsToTheCapacities) {
  givePoints(1);
  db().currentPoint = 0;
  curve().readingCount = 250;
  curve().gridMaxIndex = 260;
  curve().gridMinIndex = -3;
  curve().modelBoundaryCount = 45;
  curve().branchCount = 8;
  curve().ipWindowCount = 33;
  storeSounding(session);
  const SectionPoint& p = profile(0).points[0];
  EXPECT_EQ(p.Mermx, MaxReadings);
  EXPECT_EQ(p.ABmx, GridCells - 1);
  EXPECT_EQ(p.nABmn, 0);
  EXPECT_EQ(p.MDLmx, MaxLayers - 1);
  EXPECT_EQ(p.MNmx, MaxBranch);
  EXPECT_EQ(profile(0).num_IPoken, MaxIpWindows);
}

TEST_F(SectionTest, ASoundingWithoutIpMarksTheProfileSo) {
  givePoints(1);
  db().currentPoint = 0;
  curve().ipWindowCount = NoIpInformation;
  storeSounding(session);
  EXPECT_EQ(profile(0).num_IPoken, NoIpInformation);
  loadPoint(session, 0);
  EXPECT_EQ(curve().ipWindowCount, NoIpInformation);
}

TEST_F(SectionTest, LoadPointIgnoresIndicesThatAreNoPoint) {
  givePoints(2);
  db().currentPoint = 1;
  for (int b : {-2, -1, 2, 419, 420}) {
    loadPoint(session, b);
    EXPECT_EQ(db().currentPoint, 1) << b;
  }
  EXPECT_EQ(link.takeOvers, 0);
  EXPECT_EQ(curve().readingCount, 0);
}

TEST_F(SectionTest, ModelValueMinus25IsLoadedAs25Fixed) {
  givePoints(1);
  profile(0).points[0].layerRho[2] = -25.0f;
  loadPoint(session, 0);
  EXPECT_EQ(curve().modelRho[2], 25.0f);
  EXPECT_EQ(curve().rhoFixed[2], 1);
}

}  // namespace
}  // namespace orv::testing
