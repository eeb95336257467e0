#include "commands/curve/curve_rendering.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/commands/curve/chart_fixture.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv {
namespace {

using namespace testing_support;

class CurveRenderingTest : public ::testing::Test {
 protected:
  CurveRenderingTest() {
    useDefaultDisplaySettings(*s);
    useChartGeometry(*s, RecordingCanvas::CharWidth, RecordingCanvas::TextHeight, 600, 400);
    canvas.resize(s->imageWidth, s->imageHeight);
    s->splineAllCurves = false;
    s->gridMinIndex = 0;
    s->gridMaxIndex = 17;
  }

  std::vector<Call> linesOfColour(ui::Colour colour) const {
    std::vector<Call> out;
    for (const Call& call : canvas.ofKind(CallKind::Line))
      if (call.penColour == colour) out.push_back(call);
    return out;
  }
  std::vector<Call> polylinesOfColour(ui::Colour colour) const {
    std::vector<Call> out;
    for (const Call& call : canvas.ofKind(CallKind::Polyline))
      if (call.penColour == colour) out.push_back(call);
    return out;
  }

  ZeroedBlock<CurveWindowState> s;
  RecordingCanvas canvas{656, 452};
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  CountingSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};
};

TEST_F(CurveRenderingTest, PlotBoxOf600By400GivesTwoHundredPixelsPerDecade) {
  paintCurves(c);
  EXPECT_FLOAT_EQ(200.0f, s->pixelsPerDecadeRho);
  EXPECT_FLOAT_EQ(200.0f, s->pixelsPerDecadeAb);
  EXPECT_EQ(28, s->plotLeft);
  EXPECT_EQ(26, s->plotTop);
  EXPECT_EQ(628, s->plotRight);
  EXPECT_EQ(426, s->plotBottom);
  EXPECT_FLOAT_EQ(3.0f, s->logRhoMax);
  EXPECT_FLOAT_EQ(2.0f, s->logAbMax);
}

TEST_F(CurveRenderingTest, EmptyRangesCountAsOneDecade) {
  s->logRhoMin = s->logRhoMax = 1.5f;
  s->logAbMin = 1;
  s->logAbMax = 0.5f;
  paintCurves(c);
  EXPECT_FLOAT_EQ(600.0f, s->pixelsPerDecadeRho);
  EXPECT_FLOAT_EQ(400.0f, s->pixelsPerDecadeAb);
  EXPECT_FLOAT_EQ(2.5f, s->logRhoMax);
  EXPECT_FLOAT_EQ(2.0f, s->logAbMax);
}

TEST_F(CurveRenderingTest, UpperBoundsFollowThePlotBox) {
  s->logRhoMax = 2.1f;
  s->imageWidth = 656 + 3;
  paintCurves(c);
  EXPECT_FLOAT_EQ(603.0f / 2.1f, s->pixelsPerDecadeRho);
  EXPECT_NEAR(2.1, s->logRhoMax, 1e-6);
}

TEST_F(CurveRenderingTest, LockedScaleKeepsPlotBoxAndScalesOnResize) {
  s->curveLoaded = true;
  paintCurves(c);
  s->lockCurveScale = true;
  canvas.resize(900, 700);
  formResize(c);
  EXPECT_EQ(900, s->imageWidth);
  EXPECT_EQ(700, s->imageHeight);
  EXPECT_EQ(628, s->plotRight);
  EXPECT_EQ(426, s->plotBottom);
  EXPECT_FLOAT_EQ(200.0f, s->pixelsPerDecadeRho);
  EXPECT_FLOAT_EQ(200.0f, s->pixelsPerDecadeAb);
  s->lockCurveScale = false;
  formResize(c);
  EXPECT_EQ(900 - 28, s->plotRight);
  EXPECT_FLOAT_EQ(844.0f / 3.0f, s->pixelsPerDecadeRho);
}

TEST_F(CurveRenderingTest, ResizeRepaintsOnlyWithALoadedCurve) {
  canvas.resize(700, 500);
  formResize(c);
  EXPECT_EQ(700, s->imageWidth);
  EXPECT_TRUE(canvas.calls.empty());
  s->curveLoaded = true;
  formResize(c);
  ASSERT_FALSE(canvas.calls.empty());
  EXPECT_EQ(CallKind::Fill, canvas.calls.front().kind);
}

struct MappingCase {
  float ppd;
  float logMin;
  double value;
  int column;  // columnOfRho
  int row;     // rowOfAbHalf
};

class MappingTest : public CurveRenderingTest, public ::testing::WithParamInterface<MappingCase> {};

TEST_P(MappingTest, ColumnsAndRowsTruncate) {
  const MappingCase& m = GetParam();
  s->pixelsPerDecadeRho = s->pixelsPerDecadeAb = m.ppd;
  s->logRhoMin = s->logAbMin = m.logMin;
  EXPECT_EQ(m.column, columnOfRho(*s, m.value));
  EXPECT_EQ(m.row, rowOfAbHalf(*s, m.value));
}

// marginLeft 28, marginTop 26. The row truncates the scale to whole pixels
// per decade first; both truncate toward zero, also left of and above the
// plot.
INSTANTIATE_TEST_SUITE_P(Cases, MappingTest,
                         ::testing::Values(MappingCase{200, 0, 10, 228, 226},
                                           MappingCase{199.9f, 0, 10, 227, 225},
                                           MappingCase{200.9f, 0, 100, 429, 426},
                                           MappingCase{200, 1, 5, 28 - 60, 26 - 60},
                                           MappingCase{200, 1.001f, 10, 28, 25}));

TEST_F(CurveRenderingTest, NonPositiveValuesMapFarOffThePicture) {
  paintCurves(c);
  EXPECT_LT(columnOfRho(*s, 0), -100000);
  EXPECT_LT(rowOfAbHalf(*s, -5), -100000);
  EXPECT_EQ(1000000, rowOfAbHalf(*s, HUGE_VAL));
}

TEST_F(CurveRenderingTest, ReadingCrossIsCentredOnItsPixel) {
  addReading(*s, 1, 10, 10, 9);
  paintCurves(c);
  const auto lines = linesOfColour(0x800000);
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(1, lines[0].penWidth);
  EXPECT_EQ(ui::PenMode::Copy, lines[0].penMode);
  const int x = 28 + 200, y = 26 + 200;
  EXPECT_EQ((std::vector<int>{x - 2, y, x + 3, y}),
            (std::vector<int>{lines[0].points[0].x, lines[0].points[0].y, lines[0].points[1].x,
                              lines[0].points[1].y}));
  EXPECT_EQ((std::vector<int>{x, y - 2, x, y + 3}),
            (std::vector<int>{lines[1].points[0].x, lines[1].points[0].y, lines[1].points[1].x,
                              lines[1].points[1].y}));
}

TEST_F(CurveRenderingTest, EachBranchIsDrawnInItsColourWithItsWidth) {
  s->lineWidthMeasured = 3;
  for (int b = 1; b <= 5; ++b) {
    addReading(*s, b, 2, 10.0f * b, 3);
    addReading(*s, b, 4.74f, 10.0f * b, 6);
  }
  addReading(*s, 6, 4.74f, 10, 6);  // no slot for a sixth branch
  paintCurves(c);
  for (int b = 1; b <= 5; ++b) {
    EXPECT_EQ(4u, linesOfColour(s->colourBranch[b]).size()) << b;
    const auto branch = polylinesOfColour(s->colourBranch[b]);
    ASSERT_EQ(1u, branch.size()) << b;
    EXPECT_EQ(3, branch[0].penWidth);
    EXPECT_EQ(2u, branch[0].points.size());
  }
  EXPECT_EQ(4u * 5, canvas.ofKind(CallKind::Line).size() - linesOfColour(0xC0C0C0).size());
}

TEST_F(CurveRenderingTest, BranchLineJoinsTheCentroidsOfEachGridIndex) {
  addReading(*s, 2, 1, 10, 0);
  addReading(*s, 2, 2.0f, 20, 3);
  addReading(*s, 2, 2.2f, 40, 3);
  addReading(*s, 2, 10.3f, 100, 9);
  paintCurves(c);
  const auto line = polylinesOfColour(0x8000);
  ASSERT_EQ(1u, line.size());
  ASSERT_EQ(3u, line[0].points.size());
  const double x = ((std::log10(20.0) + std::log10(40.0)) / 2) * 200 + 28;
  const double y = ((std::log10(2.0) + std::log10(2.2)) / 2) * 200 + 26;
  EXPECT_EQ(static_cast<int>(x), line[0].points[1].x);
  EXPECT_EQ(static_cast<int>(y), line[0].points[1].y);
  EXPECT_EQ(228 + 200, line[0].points[2].x);
}

TEST_F(CurveRenderingTest, ReadingsBeyondGridIndex27AreCrossedButNotJoined) {
  addReading(*s, 1, 1, 10, 0);
  addReading(*s, 1, 10, 20, 9);
  addReading(*s, 1, 50, 30, 27);
  addReading(*s, 1, 60, 40, 28);
  addReading(*s, 1, 70, 50, 40);
  paintCurves(c);
  EXPECT_EQ(10u, linesOfColour(0x800000).size());
  const auto line = polylinesOfColour(0x800000);
  ASSERT_EQ(1u, line.size());
  ASSERT_EQ(3u, line[0].points.size());
  EXPECT_EQ(columnOfRho(*s, 30), line[0].points[2].x);
}

TEST_F(CurveRenderingTest, NonPositiveReadingsAreNotDrawn) {
  addReading(*s, 1, 1, 10, 0);
  addReading(*s, 1, 10, 20, 9);
  s->readingRho[1] = 0;
  paintCurves(c);
  EXPECT_EQ(2u, linesOfColour(0x800000).size());
  EXPECT_TRUE(polylinesOfColour(0x800000).empty());
}

TEST_F(CurveRenderingTest, PaintingMarksTheCurveDrawnAndShowsTheSectionOnce) {
  paintCurves(c);
  EXPECT_TRUE(s->curveDrawn);
  EXPECT_TRUE(s->sectionWindowShown);
  paintCurves(c);
  repaintCurveWindow(c);
  EXPECT_EQ(1, section.shown);
}

TEST_F(CurveRenderingTest, CompositeSkipsEmptyCellsAndUsesTheGridSpacing) {
  for (int k = 0; k < GridCells; ++k) s->mergedRho[k][0] = EmptyCell;
  s->gridMinIndex = 2;
  s->gridMaxIndex = 6;
  s->mergedRho[1][0] = 50;  // below gridMinIndex
  s->mergedRho[2][0] = 10;
  s->mergedRho[4][0] = 100;
  s->mergedRho[5][0] = 0;
  s->mergedRho[6][0] = 20;
  s->mergedRho[7][0] = 50;  // above gridMaxIndex
  paintCurves(c);
  canvas.clear();
  drawComposite(c);
  const auto lines = canvas.ofKind(CallKind::Polyline);
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ(0, lines[0].penColour);
  EXPECT_EQ(2, lines[0].penWidth);
  EXPECT_EQ(ui::PenMode::Copy, lines[0].penMode);
  ASSERT_EQ(3u, lines[0].points.size());
  const int ks[] = {2, 4, 6};
  const double rhos[] = {10, 100, 20};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(static_cast<int>(std::log10(rhos[i]) * 200 + 28), lines[0].points[i].x);
    EXPECT_EQ(static_cast<int>(ks[i] * AbGridStep * 200 + 26), lines[0].points[i].y);
  }
}

TEST_F(CurveRenderingTest, RepaintDrawsTheComputedCurveOnlyWhenValid) {
  s->gridMinIndex = 0;
  s->gridMaxIndex = 9;
  for (int k = 0; k <= 9; ++k) {
    s->mergedRho[k][0] = 20;
    s->computedRho[k] = 20;
    s->gridAbHalf[k] = static_cast<float>(std::pow(10.0, k * AbGridStep));
  }
  repaintCurveWindow(c);
  EXPECT_TRUE(polylinesOfColour(0xFFFF00).empty());
  s->computedCurveValid = true;
  canvas.clear();
  repaintCurveWindow(c);
  const auto curve = polylinesOfColour(0xFFFF00);
  ASSERT_EQ(1u, curve.size());
  EXPECT_EQ(ui::PenMode::Xor, curve[0].penMode);
  EXPECT_EQ(2, curve[0].penWidth);
  EXPECT_EQ(10u, curve[0].points.size());
  EXPECT_NE(nullptr, canvas.findText("SSQ =  0.000000 "));
}

struct ViewMoveCase {
  const char* name;
  MouseButton button;
  int x, y;
  bool handled;
  float dRhoMin, dRhoMax, dAbMin, dAbMax;
};

class ViewMoveTest : public CurveRenderingTest,
                     public ::testing::WithParamInterface<ViewMoveCase> {};

TEST_P(ViewMoveTest, ClickOutsideThePlotMovesTheNearestEdges) {
  const ViewMoveCase& m = GetParam();
  paintCurves(c);
  s->logRhoMin = 0.5f;
  s->logRhoMax = 2.5f;
  s->logAbMin = -0.25f;
  s->logAbMax = 1.75f;
  s->lockCurveScale = true;  // keeps the moved bounds readable after the repaint
  canvas.clear();
  EXPECT_EQ(m.handled, moveViewByClick(c, m.button, m.x, m.y));
  EXPECT_FLOAT_EQ(0.5f + m.dRhoMin, s->logRhoMin);
  EXPECT_FLOAT_EQ(2.5f + m.dRhoMax, s->logRhoMax);
  EXPECT_FLOAT_EQ(-0.25f + m.dAbMin, s->logAbMin);
  EXPECT_FLOAT_EQ(1.75f + m.dAbMax, s->logAbMax);
  EXPECT_EQ(m.handled, !canvas.calls.empty());
}

// Plot rectangle 28..628 x 26..426.
INSTANTIATE_TEST_SUITE_P(
    Cases, ViewMoveTest,
    ::testing::Values(
        ViewMoveCase{"LeftOfPlot", MouseButton::Left, 27, 200, true, -0.3333f, 0, 0, 0},
        ViewMoveCase{"RightOfPlot", MouseButton::Left, 629, 200, true, 0, 0.3333f, 0, 0},
        ViewMoveCase{"AbovePlot", MouseButton::Left, 300, 25, true, 0, 0, -0.3333f, 0},
        ViewMoveCase{"BelowPlot", MouseButton::Left, 300, 427, true, 0, 0, 0, 0.33333f},
        ViewMoveCase{"RightButtonLeft", MouseButton::Right, 5, 200, true, 0.3333f, 0, 0, 0},
        ViewMoveCase{"RightButtonRight", MouseButton::Right, 650, 200, true, 0, -0.3333f, 0, 0},
        ViewMoveCase{"RightButtonAbove", MouseButton::Right, 300, 0, true, 0, 0, 0.3333f, 0},
        ViewMoveCase{"RightButtonBelow", MouseButton::Right, 300, 450, true, 0, 0, 0, -0.3333f},
        ViewMoveCase{"TopLeftCorner", MouseButton::Left, 0, 0, true, -0.3333f, 0, -0.3333f, 0},
        ViewMoveCase{"BottomRightCorner", MouseButton::Left, 640, 440, true, 0, 0.3333f, 0,
                     0.33333f},
        ViewMoveCase{"RightButtonBottomLeft", MouseButton::Right, 3, 440, true, 0.3333f, 0, 0,
                     -0.3333f},
        ViewMoveCase{"OnTheFrame", MouseButton::Left, 28, 426, false, 0, 0, 0, 0},
        ViewMoveCase{"Inside", MouseButton::Left, 300, 200, false, 0, 0, 0, 0},
        ViewMoveCase{"MiddleButton", MouseButton::Middle, 3, 200, false, 0, 0, 0, 0}),
    [](const ::testing::TestParamInfo<ViewMoveCase>& i) { return i.param.name; });

TEST_F(CurveRenderingTest, ViewMovesOnlyOnceTheCurveIsDrawn) {
  EXPECT_FALSE(moveViewByClick(c, MouseButton::Left, 3, 200));
  EXPECT_FLOAT_EQ(0.0f, s->logRhoMin);
}

TEST_F(CurveRenderingTest, MovedViewIsRedrawnWithTheNewScale) {
  paintCurves(c);
  EXPECT_TRUE(moveViewByClick(c, MouseButton::Left, 700, 200));
  EXPECT_FLOAT_EQ(600.0f / 3.3333f, s->pixelsPerDecadeRho);
}

TEST_F(CurveRenderingTest, IpPanelIsDrawnOnlyWhileIpDataAreShown) {
  // One reading with a value: its decay curve is one yellow polygon.
  s->readingCount = 1;
  s->readingLogAbHalf[0] = 1.0;
  s->ipValue[0][0] = 5.0f;
  s->fromSection = true;
  auto decayPolygons = [&] {
    canvas.calls.clear();
    paintCurves(c);
    return canvas.ofKind(CallKind::Polygon).size();
  };
  s->showDecayCurves = true;
  s->ipWindowCount = -10;
  EXPECT_EQ(0u, decayPolygons());
  s->ipWindowCount = 3;
  s->showDecayCurves = false;
  EXPECT_EQ(0u, decayPolygons());
  s->showDecayCurves = true;
  EXPECT_EQ(1u, decayPolygons());
}

}  // namespace
}  // namespace orv
