#include <gtest/gtest.h>

#include <string>

#include "commands/curve/curve_rendering.h"
#include "tests/commands/curve/chart_fixture.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv {
namespace {

using namespace testing_support;

class CurveOverlaysTest : public ::testing::Test {
 protected:
  CurveOverlaysTest() {
    useDefaultDisplaySettings(*s);
    useChartGeometry(*s, RecordingCanvas::CharWidth, RecordingCanvas::TextHeight, 600, 400);
    canvas.resize(s->imageWidth, s->imageHeight);
    paintCurves(c);
    canvas.clear();
    s->compositeReady = true;
    s->editCompositeMode = true;
  }

  ZeroedBlock<CurveWindowState> s;
  RecordingCanvas canvas{656, 452};
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  CountingSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};
};

TEST_F(CurveOverlaysTest, CrosshairSpansThePlotInRedXor) {
  drawCrosshair(c, 300, 200);
  const auto lines = canvas.ofKind(CallKind::Line);
  ASSERT_EQ(2u, lines.size());
  for (const Call& l : lines) {
    EXPECT_EQ(ui::PenMode::Xor, l.penMode);
    EXPECT_EQ(0x0000FF, l.penColour);
    EXPECT_EQ(1, l.penWidth);
  }
  EXPECT_EQ(28, lines[0].points[0].x);
  EXPECT_EQ(628, lines[0].points[1].x);
  EXPECT_EQ(200, lines[0].points[0].y);
  EXPECT_EQ(26, lines[1].points[0].y);
  EXPECT_EQ(426, lines[1].points[1].y);
  EXPECT_EQ(300, lines[1].points[0].x);
  EXPECT_EQ(ui::PenMode::Copy, canvas.penMode());
}

struct CursorCase {
  const char* name;
  int x, y;
  bool composite, editComposite, buildModel, editIp;
  bool shown;
};

class CursorConditionsTest : public CurveOverlaysTest,
                             public ::testing::WithParamInterface<CursorCase> {};

TEST_P(CursorConditionsTest, CrosshairAndReadoutNeedAModeAndAPlace) {
  const CursorCase& p = GetParam();
  s->compositeReady = p.composite;
  s->editCompositeMode = p.editComposite;
  s->modelBuildMode = p.buildModel;
  s->editIpOutlierMode = p.editIp;
  drawCrosshair(c, p.x, p.y);
  EXPECT_EQ(p.shown ? 2u : 0u, canvas.calls.size());
  canvas.clear();
  showCursorReadout(c, p.x, p.y);
  EXPECT_EQ(p.shown ? 1u : 0u, canvas.calls.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CursorConditionsTest,
    ::testing::Values(CursorCase{"EditComposite", 300, 200, true, true, false, false, true},
                      CursorCase{"BuildModel", 300, 200, true, false, true, false, true},
                      CursorCase{"EditIp", 300, 200, true, false, false, true, true},
                      CursorCase{"NoMode", 300, 200, true, false, false, false, false},
                      CursorCase{"NoComposite", 300, 200, false, true, true, true, false},
                      CursorCase{"OnPlotCorner", 28, 26, true, true, false, false, true},
                      CursorCase{"LeftOfPlot", 27, 200, true, true, false, false, false},
                      CursorCase{"BelowPlot", 300, 427, true, true, false, false, false},
                      CursorCase{"NoPosition", -1, -1, true, true, false, false, false}),
    [](const ::testing::TestParamInfo<CursorCase>& i) { return i.param.name; });

TEST_F(CurveOverlaysTest, ReadoutStandsAtTheMisfitTextsPlace) {
  showCursorReadout(c, 28 + 200, 26 + 200);
  const auto texts = canvas.ofKind(CallKind::Text);
  ASSERT_EQ(1u, texts.size());
  EXPECT_EQ("Resistivita kurzoru =  10.0  , AB/2 kurzoru =  10.0       ", texts[0].text);
  EXPECT_EQ((28 + 628) / 2 - 7 * static_cast<int>(std::string("SSQ =  10.0 ").size()),
            texts[0].points[0].x);
  EXPECT_EQ(426 + 13 / 2, texts[0].points[0].y);
  EXPECT_FALSE(texts[0].transparent);
  EXPECT_EQ(0xFFFFFF, texts[0].brushColour);
}

TEST_F(CurveOverlaysTest, ReadoutValuesFollowTheMouseMapping) {
  showCursorReadout(c, 28 + 300, 26 + 50);
  const auto texts = canvas.ofKind(CallKind::Text);
  ASSERT_EQ(1u, texts.size());
  // 10^1.5 = 31.62 ohm.m, 10^0.25 = 1.778 m
  EXPECT_EQ("Resistivita kurzoru =  31.6  , AB/2 kurzoru =  1.8       ", texts[0].text);
}

TEST_F(CurveOverlaysTest, ComputedCurveLabelsAreCentredOnTheirPoints) {
  s->modelActive = true;
  s->gridMinIndex = 3;
  s->gridMaxIndex = 5;
  s->computedRho[3] = 12.5f;
  s->computedRho[4] = 0;
  s->computedRho[5] = 100;
  s->gridAbHalf[3] = 2.18f;
  s->gridAbHalf[5] = 10;
  s->computedRho[6] = 50;  // beyond gridMaxIndex
  s->gridAbHalf[6] = 20;
  labelComputedCurve(c);
  EXPECT_TRUE(s->describeComputedCurve);
  const auto texts = canvas.ofKind(CallKind::Text);
  ASSERT_EQ(2u, texts.size());
  EXPECT_EQ("12.50-  -2.18", texts[0].text);
  EXPECT_EQ("100.00-  -10.00", texts[1].text);
  EXPECT_EQ(428 - 7 * 15 / 2, texts[1].points[0].x);
  EXPECT_EQ(226 - 6, texts[1].points[0].y);
  for (const Call& t : texts) {
    EXPECT_TRUE(t.transparent);
    EXPECT_EQ(0x0000FF, t.fontColour);
  }
}

TEST_F(CurveOverlaysTest, ComputedCurveLabelsNeedAnActiveModel) {
  s->gridMinIndex = 3;
  s->gridMaxIndex = 3;
  s->computedRho[3] = 12.5f;
  s->gridAbHalf[3] = 2.18f;
  labelComputedCurve(c);
  EXPECT_TRUE(s->describeComputedCurve);
  EXPECT_TRUE(canvas.calls.empty());
}

}  // namespace
}  // namespace orv
