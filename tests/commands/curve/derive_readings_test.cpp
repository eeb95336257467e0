#include "commands/curve/derive_readings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/curve/grid_index.h"
#include "tests/commands/curve/curvebase_fakes.h"

namespace orv {
namespace {

using curvebase_test::CurveFixture;

struct Reading {
  float ab;
  float rho;
  int branch = 1;
};

void load(CurveWindowState& s, const std::vector<Reading>& readings) {
  s.readingCount = static_cast<int32_t>(readings.size());
  for (std::size_t i = 0; i < readings.size(); ++i) {
    s.readingAbHalf[i] = readings[i].ab;
    s.readingRho[i] = readings[i].rho;
    s.readingBranch[i] = readings[i].branch;
    s.readingMnHalf[i] = 1.0f;
  }
}

class DeriveReadings : public ::testing::Test {
 protected:
  DeriveReadings() {
    setInitialCurveState(f.s);
    finishCurveStateConstruction(f.s);
  }
  CurveFixture f;
};

const std::vector<Reading> kOneToHundred = {
    {1.0f, 10.0f}, {2.18f, 20.0f}, {4.74f, 40.0f}, {10.0f, 60.0f}, {46.0f, 80.0f}, {100.0f, 100.0f},
};

TEST_F(DeriveReadings, GridIndicesAndSpanOfOneToHundredMetres) {
  load(f.s, kOneToHundred);
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), 1);
  EXPECT_EQ(f.s.gridMinIndex, 0);
  EXPECT_EQ(f.s.gridMaxIndex, 17);
  const int expected[] = {0, 3, 6, 9, 14, 17};  // 46 m lies between the rows
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f.s.readingGridIndex[i], expected[i]) << i;
  EXPECT_EQ(f.s.gridAbHalf[3], 2.18f);
  EXPECT_EQ(f.s.gridAbHalf[17], gridValueOf(17));  // 100 m lies between the rows
  EXPECT_DOUBLE_EQ(f.s.readingLogAbHalf[5], 2.0);
  EXPECT_DOUBLE_EQ(f.s.readingLogRho[0], 1.0);
}

TEST_F(DeriveReadings, AutoscaledBoundsWithTheDefaultMargin) {
  load(f.s, kOneToHundred);
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), 1);
  EXPECT_FLOAT_EQ(f.s.logRhoMin, 0.8f);
  EXPECT_FLOAT_EQ(f.s.logRhoMax, 2.4f);
  EXPECT_FLOAT_EQ(f.s.logAbMin, -0.3025f);
  EXPECT_FLOAT_EQ(f.s.logAbMax, 2.0f);  // not widened
}

TEST_F(DeriveReadings, GeometryFromTheCanvas) {
  f.s.mouseDragging = true;
  f.s.hotLayer = 3;
  f.s.hotBoundary = 2;
  f.chrome.cursor = ui::Cursor::Cross;
  f.canvas.setSize(640, 480);
  load(f.s, kOneToHundred);
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::PlainOax), 1);
  EXPECT_FALSE(f.s.mouseDragging);
  EXPECT_EQ(f.s.hotLayer, -1);
  EXPECT_EQ(f.s.hotBoundary, -1);
  EXPECT_EQ(f.chrome.cursor, ui::Cursor::Arrow);
  ASSERT_FALSE(f.canvas.measured.empty());
  // The text size comes from "W"; the model table's texts are measured for
  // the right margin after it.
  EXPECT_EQ(f.canvas.measured.front(), "W");
  EXPECT_EQ(f.s.textWidth, 9);
  EXPECT_EQ(f.s.textHeight, 15);
  EXPECT_EQ(f.s.imageWidth, 640);
  EXPECT_EQ(f.s.imageHeight, 480);
  EXPECT_EQ(f.s.marginLeft, 36);
  EXPECT_EQ(f.s.marginRight, 36);
  EXPECT_EQ(f.s.marginTop, 30);
  EXPECT_EQ(f.s.marginBottom, 30);
}

TEST_F(DeriveReadings, LockedScaleKeepsAllFourBounds) {
  f.s.lockCurveScale = true;
  f.s.logRhoMin = 0.25f;
  f.s.logRhoMax = 3.5f;
  f.s.logAbMin = -0.5f;
  f.s.logAbMax = 1.25f;
  f.s.modelBoundaryCount = 1;
  f.s.modelRho[0] = 1e5f;
  f.s.modelRho[1] = 1.0f;
  f.s.modelDepth[0] = 5000.0f;
  load(f.s, kOneToHundred);
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), 1);
  EXPECT_EQ(f.s.logRhoMin, 0.25f);
  EXPECT_EQ(f.s.logRhoMax, 3.5f);
  EXPECT_EQ(f.s.logAbMin, -0.5f);
  EXPECT_EQ(f.s.logAbMax, 1.25f);
  EXPECT_DOUBLE_EQ(f.s.readingLogRho[5], 2.0);  // the logarithms are still taken
}

TEST_F(DeriveReadings, TheModelWidensTheBounds) {
  f.s.modelBoundaryCount = 2;
  f.s.modelRho[0] = 0.5f;  // log10 -0.301: the margin moves it towards zero
  f.s.modelRho[1] = 1000.0f;
  f.s.modelRho[2] = 50.0f;
  f.s.modelDepth[0] = 0.5f;
  f.s.modelDepth[1] = 300.0f;
  f.s.modelDepth[2] = 1e6f;  // depth of the half-space is not a boundary
  load(f.s, kOneToHundred);
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), 1);
  EXPECT_NEAR(f.s.logRhoMin, 0.8 * std::log10(0.5), 1e-6);
  EXPECT_NEAR(f.s.logRhoMax, 1.2 * 3.0, 1e-6);
  EXPECT_NEAR(f.s.logAbMin, 1.1 * std::log10(0.5), 1e-6);
  EXPECT_NEAR(f.s.logAbMax, std::log10(300.0), 1e-6);
}

// The widened bound is (100 -/+ m) x bound x 0.01 rounded once to float32:
// the product is not rounded to float32 on the way.
float widened(int percent, float bound) {
  return static_cast<float>(percent * static_cast<double>(bound) * 0.01);
}

TEST_F(DeriveReadings, TheWideningIsRoundedOnceToFloat32) {
  f.s.modelBoundaryCount = 1;
  f.s.modelRho[0] = 60.0f;
  f.s.modelRho[1] = 400.0f;
  f.s.modelDepth[0] = 0.3f;
  load(f.s, {{1.0f, 60.0f}, {10.0f, 400.0f}});
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), 1);
  EXPECT_EQ(f.s.logRhoMin, widened(80, static_cast<float>(std::log10(60.0))));
  EXPECT_EQ(f.s.logRhoMax, widened(120, static_cast<float>(std::log10(400.0))));
  EXPECT_EQ(f.s.logAbMin, widened(110, static_cast<float>(std::log10(static_cast<double>(0.3f)))));
}

TEST_F(DeriveReadings, PositiveAbMinShrinksByHalfTheMargin) {
  f.s.modelBoundaryCount = 1;
  f.s.modelRho[0] = 20.0f;
  f.s.modelRho[1] = 20.0f;
  f.s.modelDepth[0] = 10.0f;
  f.s.scaleMarginPercent = 30;  // h = 15
  load(f.s, {{10.0f, 20.0f}, {20.0f, 20.0f}});
  // logAbMin starts at -0.275 and is only lowered: stays negative.
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), 1);
  EXPECT_NEAR(f.s.logAbMin, -0.275 * 1.15, 1e-6);
  EXPECT_NEAR(f.s.logRhoMin, 0.7 * std::log10(20.0), 1e-6);
}

TEST_F(DeriveReadings, NoReadingKeepsTheSectionPointAndTheBounds) {
  load(f.s, kOneToHundred);
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), 1);
  const float before[4] = {f.s.logRhoMin, f.s.logRhoMax, f.s.logAbMin, f.s.logAbMax};
  const int recordIndex = f.s.soundingRecordIndex;
  f.s.readingCount = 0;
  EXPECT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), -1);
  EXPECT_EQ(f.section.deleted, 0);  // a bad sounding never costs a stored point
  EXPECT_EQ(f.s.logRhoMin, before[0]);
  EXPECT_EQ(f.s.logRhoMax, before[1]);
  EXPECT_EQ(f.s.logAbMin, before[2]);
  EXPECT_EQ(f.s.logAbMax, before[3]);
  EXPECT_EQ(f.s.gridMinIndex, 0);
  EXPECT_EQ(f.s.gridMaxIndex, 17);
  EXPECT_EQ(f.s.soundingRecordIndex, recordIndex);
}

TEST_F(DeriveReadings, ANonPositiveSpacingRefusesTheSounding) {
  for (float bad : {0.0f, -3.0f}) {
    SCOPED_TRACE(bad);
    CurveFixture g;
    setInitialCurveState(g.s);
    g.s.gridAbHalf[0] = 7.0f;
    load(g.s, {{1.0f, 10.0f}, {bad, 10.0f}, {10.0f, 20.0f}});
    EXPECT_EQ(deriveReadings(g.session, ReadingOrigin::InMemory), -1);
    EXPECT_EQ(g.section.deleted, 0);     // a bad sounding never costs a stored point
    EXPECT_EQ(g.s.gridAbHalf[0], 7.0f);  // nothing written for the refused sounding
    EXPECT_EQ(g.s.sourceKind, SourceNone);
  }
}

TEST_F(DeriveReadings, TheSmallestSpacingStillAtItsStartValueMeansNoReading) {
  // The search for the smallest AB/2 starts at 999999 m; a sounding that never
  // goes below it counts as one without readings.
  for (float far : {999999.0f, 2.0e6f}) {
    SCOPED_TRACE(far);
    CurveFixture g;
    setInitialCurveState(g.s);
    load(g.s, {{far, 10.0f}});
    EXPECT_EQ(deriveReadings(g.session, ReadingOrigin::InMemory), -1);
    EXPECT_EQ(g.section.deleted, 0);  // a bad sounding never costs a stored point
    EXPECT_EQ(g.s.sourceKind, SourceNone);
  }
  CurveFixture g;
  setInitialCurveState(g.s);
  load(g.s, {{999998.9f, 10.0f}, {2.0e6f, 10.0f}});
  EXPECT_EQ(deriveReadings(g.session, ReadingOrigin::InMemory), 1);
  EXPECT_EQ(g.section.deleted, 0);
}

TEST_F(DeriveReadings, ANegativeReadingCountIsNoReading) {
  f.s.readingCount = -4;
  EXPECT_EQ(deriveReadings(f.session, ReadingOrigin::Sas), -1);
  EXPECT_EQ(f.s.readingCount, 0);
  EXPECT_EQ(f.section.deleted, 0);  // a bad sounding never costs a stored point
}

struct OriginCase {
  ReadingOrigin origin;
  bool takesNonPositiveRho;
  int32_t sourceKind;
  int recordStep;
};

class DeriveReadingsByOrigin : public ::testing::TestWithParam<OriginCase> {};

TEST_P(DeriveReadingsByOrigin, NonPositiveRhoAndTheRecordedOrigin) {
  const OriginCase c = GetParam();
  CurveFixture f;
  setInitialCurveState(f.s);
  f.s.soundingRecordIndex = 4;
  load(f.s, {{1.0f, 10.0f}, {2.18f, 0.0f}, {4.74f, -5.0f}, {10.0f, 100.0f}});
  f.s.readingLogRho[1] = 123.0;
  f.s.readingLogRho[2] = 123.0;
  f.s.readingLogAbHalf[1] = 123.0;
  ASSERT_EQ(deriveReadings(f.session, c.origin), 1);
  if (c.takesNonPositiveRho) {
    EXPECT_EQ(f.s.readingLogRho[1], -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(f.s.readingLogRho[2]));
    EXPECT_NEAR(f.s.readingLogAbHalf[1], std::log10(2.18), 1e-6);
  } else {
    EXPECT_EQ(f.s.readingLogRho[1], 123.0);
    EXPECT_EQ(f.s.readingLogRho[2], 123.0);
    EXPECT_EQ(f.s.readingLogAbHalf[1], 123.0);
  }
  // A non-positive resistivity never reaches the scale.
  EXPECT_FLOAT_EQ(f.s.logRhoMin, 0.8f);
  EXPECT_FLOAT_EQ(f.s.logRhoMax, 2.4f);
  EXPECT_EQ(f.s.readingGridIndex[1], 3);  // every reading keeps its grid index
  EXPECT_EQ(f.s.sourceKind, c.sourceKind);
  EXPECT_EQ(f.s.soundingRecordIndex, 4 + c.recordStep);
}

INSTANTIATE_TEST_SUITE_P(
    Origins, DeriveReadingsByOrigin,
    ::testing::Values(OriginCase{ReadingOrigin::Kmt, true, SourceKmt, 1},
                      OriginCase{ReadingOrigin::PlainOax, true, SourceInstrument, 0},
                      OriginCase{ReadingOrigin::OaxWithIpHeader, false, SourceInstrument, 0},
                      OriginCase{ReadingOrigin::Sas, false, SourceInstrument, 0},
                      OriginCase{ReadingOrigin::InMemory, false, SourceInstrument, 0}));

TEST_F(DeriveReadings, ReadingsTheGridCannotHoldAreDropped) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  load(f.s, {
                {0.5f, 11.0f},      // grid index -2
                {1.0f, 12.0f},      // kept
                {nan, 13.0f},       // not a number
                {2.18f, 14.0f, 6},  // branch 6 (MN/2 >= 300 m in KMT files)
                {4.74f, 15.0f},     // kept
                {1e25f, 16.0f},     // grid index above 199
                {6.15f, 17.0f, 0},  // branch 0 would land on the composite slot
                {inf, 18.0f},
                {10.0f, 19.0f, 2},   // kept
                {7.97f, 20.0f, -6},  // no branch, even left out of the merge
            });
  for (int i = 0; i < 10; ++i) {
    f.s.readingIpReference[i] = 100.0f + i;
    f.s.decaySampleCount[i] = i;
    f.s.decaySampleValue[i][MaxDecaySamples - 1] = 200.0f + i;
    f.s.decaySampleTime[i][0] = 300 + i;
    f.s.ipValue[i][MaxIpWindows - 1] = 400.0f + i;
    f.s.readingS[i] = 500.0f + i;
  }
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::PlainOax), 1);
  ASSERT_EQ(f.s.readingCount, 3);
  const int from[] = {1, 4, 8};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const int j = from[i];
    EXPECT_EQ(f.s.readingRho[i], 10.0f + j + 1);
    EXPECT_EQ(f.s.readingIpReference[i], 100.0f + j);
    EXPECT_EQ(f.s.decaySampleCount[i], j);
    EXPECT_EQ(f.s.decaySampleValue[i][MaxDecaySamples - 1], 200.0f + j);
    EXPECT_EQ(f.s.decaySampleTime[i][0], 300 + j);
    EXPECT_EQ(f.s.ipValue[i][MaxIpWindows - 1], 400.0f + j);
    EXPECT_EQ(f.s.readingS[i], 500.0f + j);
    EXPECT_EQ(f.s.readingMnHalf[i], 1.0f);
  }
  EXPECT_EQ(f.s.readingBranch[2], 2);
  EXPECT_EQ(f.s.gridMinIndex, 0);
  EXPECT_EQ(f.s.gridMaxIndex, 9);
}

TEST_F(DeriveReadings, OnlyUnusableReadingsMeanNoReading) {
  load(f.s, {{0.3f, 10.0f}, {2.0f, 10.0f, 7}});
  EXPECT_EQ(deriveReadings(f.session, ReadingOrigin::InMemory), -1);
  EXPECT_EQ(f.section.deleted, 0);  // a bad sounding never costs a stored point
  EXPECT_EQ(f.s.readingCount, 0);
}

TEST_F(DeriveReadings, TheLowestIndexNeverLeavesTheGrid) {
  // 0.7 m takes index 0 from the table but -1 from the logarithmic rule.
  load(f.s, {{0.7f, 10.0f}, {3.66f, 10.0f}});
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Sas), 1);
  EXPECT_EQ(f.s.readingGridIndex[0], 0);
  EXPECT_EQ(f.s.gridMinIndex, 0);
  EXPECT_EQ(f.s.gridMaxIndex, 5);
}

TEST_F(DeriveReadings, TheHighestIndexNeverLeavesTheGrid) {
  // 2.5e22 m: the logarithmic rule gives 199 for the reading itself.
  load(f.s, {{1.0f, 10.0f}, {2.5e22f, 10.0f}});
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Sas), 1);
  EXPECT_EQ(f.s.readingGridIndex[1], 199);
  EXPECT_EQ(f.s.gridMaxIndex, 199);
}

TEST_F(DeriveReadings, AnOversizedReadingCountIsCutToTheCapacity) {
  for (int i = 0; i < MaxReadings; ++i) {
    f.s.readingAbHalf[i] = 1.0f + i;
    f.s.readingRho[i] = 10.0f;
    f.s.readingBranch[i] = 1;
  }
  f.s.readingCount = 5000;
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::InMemory), 1);
  EXPECT_EQ(f.s.readingCount, MaxReadings);
  EXPECT_EQ(f.s.gridMaxIndex, 20);  // 200 m
}

TEST_F(DeriveReadings, AnOversizedModelIsReadOnlyWithinItsArrays) {
  f.s.modelBoundaryCount = 1000;
  for (int q = 0; q < MaxLayers; ++q) {
    f.s.modelRho[q] = 10.0f;
    f.s.modelDepth[q] = 10.0f;
  }
  load(f.s, kOneToHundred);
  ASSERT_EQ(deriveReadings(f.session, ReadingOrigin::Kmt), 1);
  EXPECT_FLOAT_EQ(f.s.logRhoMax, 2.4f);
  EXPECT_EQ(f.s.modelBoundaryCount, 1000);  // the model itself is not touched
}

TEST(DropUnusableReadings, ReportsHowManyWentAndKeepsTheOrder) {
  CurveFixture f;
  load(f.s, {{1.0f, 1.0f}, {0.2f, 2.0f}, {1.3f, 3.0f}, {1.68f, 4.0f, 9}, {2.18f, 5.0f}});
  EXPECT_EQ(dropUnusableReadings(f.s), 2);
  ASSERT_EQ(f.s.readingCount, 3);
  EXPECT_EQ(f.s.readingRho[0], 1.0f);
  EXPECT_EQ(f.s.readingRho[1], 3.0f);
  EXPECT_EQ(f.s.readingRho[2], 5.0f);
  EXPECT_EQ(dropUnusableReadings(f.s), 0);
}

TEST(ResetInterpretation, ClearsTheInterpretationAndHidesTheButtons) {
  CurveFixture f;
  setInitialCurveState(f.s);
  f.s.curveDrawn = f.s.compositeReady = f.s.modelBuildMode = f.s.modelActive = true;
  f.s.modelLabelsDrawn = f.s.computedCurveValid = f.s.editCompositeMode = true;
  f.s.modelBoundaryCount = 4;
  f.s.cursorX = 10;
  f.s.cursorY = 20;
  for (int i = 0; i < FlagSlots; ++i)
    f.s.depthFixed[i] = f.s.thicknessFixed[i] = f.s.rhoFixed[i] = 1;
  f.chrome.optimiseVisible = f.chrome.transferVisible = true;
  resetInterpretation(f.session);
  EXPECT_TRUE(f.s.curveLoaded);
  EXPECT_FALSE(f.s.curveDrawn);
  EXPECT_FALSE(f.s.compositeReady);
  EXPECT_FALSE(f.s.modelBuildMode);
  EXPECT_FALSE(f.s.modelActive);
  EXPECT_FALSE(f.s.modelLabelsDrawn);
  EXPECT_FALSE(f.s.computedCurveValid);
  EXPECT_FALSE(f.s.editCompositeMode);
  EXPECT_EQ(f.s.modelBoundaryCount, 0);
  EXPECT_EQ(f.s.cursorX, -1);
  EXPECT_EQ(f.s.cursorY, -1);
  for (int i = 0; i < FlagSlots; ++i) {
    ASSERT_EQ(f.s.depthFixed[i], 0);
    ASSERT_EQ(f.s.thicknessFixed[i], 0);
    ASSERT_EQ(f.s.rhoFixed[i], 0);
  }
  EXPECT_FALSE(f.chrome.optimiseVisible);
  EXPECT_FALSE(f.chrome.transferVisible);
}

TEST(ResetInterpretation, TheMouseEntryKeepsEditingTheComposite) {
  CurveFixture f;
  f.s.mouseEntryActive = true;
  f.s.editCompositeMode = true;
  resetInterpretation(f.session);
  EXPECT_TRUE(f.s.editCompositeMode);
  EXPECT_TRUE(f.s.mouseEntryActive);
}

}  // namespace
}  // namespace orv
