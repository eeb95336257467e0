#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/curve/curve_rendering.h"
#include "tests/commands/curve/chart_fixture.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv {
namespace {

using namespace testing_support;

class ModelDrawingTest : public ::testing::Test {
 protected:
  ModelDrawingTest() {
    useDefaultDisplaySettings(*s);
    useChartGeometry(*s, RecordingCanvas::CharWidth, RecordingCanvas::TextHeight, 600, 400);
    canvas.resize(s->imageWidth, s->imageHeight);
    s->splineAllCurves = false;
    paintCurves(c);
    canvas.clear();
    // 10 ohm.m to 3 m, 100 ohm.m to 30 m, 31.6 ohm.m below.
    s->modelBoundaryCount = 2;
    s->modelRho[0] = 10;
    s->modelRho[1] = 100;
    s->modelRho[2] = 31.6f;
    s->modelDepth[0] = 3;
    s->modelDepth[1] = 30;
    s->modelDepth[2] = 1e12f;
  }

  struct Segment {
    int x0, y0, x1, y1;
    int width;
    ui::Colour colour;
  };
  std::vector<Segment> segments() const {
    std::vector<Segment> out;
    for (const Call& call : canvas.ofKind(CallKind::Line)) {
      EXPECT_EQ(ui::PenMode::Xor, call.penMode);
      out.push_back({call.points[0].x, call.points[0].y, call.points[1].x, call.points[1].y,
                     call.penWidth, call.penColour});
    }
    return out;
  }
  const Call& text(const std::string& t) const {
    const Call* call = canvas.findText(t);
    EXPECT_NE(nullptr, call) << t;
    static const Call none{};
    return call ? *call : none;
  }

  ZeroedBlock<CurveWindowState> s;
  RecordingCanvas canvas{656, 452};
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  CountingSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};
};

struct NoModelCase {
  const char* name;
  float rho0, depth0;
  int boundaries;
};

class NoModelTest : public ModelDrawingTest, public ::testing::WithParamInterface<NoModelCase> {};

TEST_P(NoModelTest, NothingIsDrawn) {
  s->modelRho[0] = GetParam().rho0;
  s->modelDepth[0] = GetParam().depth0;
  s->modelBoundaryCount = GetParam().boundaries;
  s->modelActive = true;
  drawModel(c);
  EXPECT_TRUE(canvas.calls.empty());
  EXPECT_FLOAT_EQ(1e12f, s->modelDepth[2]);
}

INSTANTIATE_TEST_SUITE_P(Cases, NoModelTest,
                         ::testing::Values(NoModelCase{"ZeroResistivity", 0, 3, 2},
                                           NoModelCase{"NegativeResistivity", -10, 3, 2},
                                           NoModelCase{"ZeroDepth", 10, 0, 2},
                                           NoModelCase{"HalfSpaceOnly", 10, 3, 0},
                                           NoModelCase{"NegativeCount", 10, 3, -1}),
                         [](const ::testing::TestParamInfo<NoModelCase>& i) {
                           return i.param.name;
                         });

TEST_F(ModelDrawingTest, StaircaseRunsFromThePlotTopToThePlotBottom) {
  drawModel(c);
  EXPECT_FLOAT_EQ(1e9f, s->modelDepth[2]);
  const int x0 = 228, x1 = 428, x2 = columnOfRho(*s, 31.6);
  const int y0 = rowOfAbHalf(*s, 3), y1 = rowOfAbHalf(*s, 30);
  const auto seg = segments();
  ASSERT_EQ(5u, seg.size());
  const int expected[5][4] = {
      {x0, 26, x0, y0}, {x0, y0, x1, y0}, {x1, y0, x1, y1}, {x1, y1, x2, y1}, {x2, y1, x2, 426}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(expected[i][0], seg[i].x0) << i;
    EXPECT_EQ(expected[i][1], seg[i].y0) << i;
    EXPECT_EQ(expected[i][2], seg[i].x1) << i;
    EXPECT_EQ(expected[i][3], seg[i].y1) << i;
    EXPECT_EQ(2, seg[i].width) << i;
    EXPECT_EQ(0xFF00, seg[i].colour) << i;
  }
  EXPECT_TRUE(canvas.ofKind(CallKind::Text).empty());
}

TEST_F(ModelDrawingTest, DeepInterfacesAreClampedToThePlotBottom) {
  s->modelDepth[1] = 5000;
  drawModel(c);
  const auto seg = segments();
  ASSERT_EQ(5u, seg.size());
  EXPECT_EQ(426, seg[2].y1);
  EXPECT_EQ(426, seg[3].y0);
  EXPECT_EQ(426, seg[4].y1);
}

TEST_F(ModelDrawingTest, BuildModeKeepsTheCornerBeingPlaced) {
  s->modelBuildMode = true;
  s->modelDepth[2] = 60;
  drawModel(c);
  EXPECT_FLOAT_EQ(60.0f, s->modelDepth[2]);
  EXPECT_EQ(rowOfAbHalf(*s, 60), segments().back().y1);
}

TEST_F(ModelDrawingTest, PickedAndFixedSegmentsShowTheirWidthAndColour) {
  s->hotLayer = 1;
  s->hotBoundary = 1;
  s->rhoFixed[2] = 1;
  s->depthFixed[0] = 1;
  s->thicknessFixed[0] = 1;  // not shown
  drawModel(c);
  const auto seg = segments();
  ASSERT_EQ(5u, seg.size());
  const int widths[] = {2, 2, 4, 4, 2};
  const ui::Colour colours[] = {0xFF00, 0xFFFF, 0xFF00, 0xFF00, 0xFFFF};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(widths[i], seg[i].width) << i;
    EXPECT_EQ(colours[i], seg[i].colour) << i;
  }
}

TEST_F(ModelDrawingTest, ActiveModelWritesTheTableInTheRightMargin) {
  s->modelActive = true;
  drawModel(c);
  const int th = 13;
  const Call& title = text("Model:");
  EXPECT_TRUE(title.bold);
  EXPECT_EQ(628 + (28 - 6 * 8) / 2, title.points[0].x);
  EXPECT_EQ(static_cast<int>(th * 1.1 * 2), title.points[0].y);
  const Call& unit = text("[Ohm.m]");
  EXPECT_EQ(656 - 1 - 49, unit.points[0].x);
  EXPECT_EQ(th * 4 * 11 / 10, unit.points[0].y);
  const Call& depthUnit = text(" -hl.- [m]");
  EXPECT_EQ(0x808080, depthUnit.fontColour);
  EXPECT_EQ(630, depthUnit.points[0].x);
  EXPECT_EQ(th * 5 * 11 / 10, depthUnit.points[0].y);

  const char* rhos[] = {"10.0     ", "100.0     ", "31.6     "};
  for (int i = 0; i < 3; ++i) {
    const Call& t = text(rhos[i]);
    EXPECT_EQ(0, t.fontColour);
    EXPECT_EQ(628 + 7, t.points[0].x);
    EXPECT_EQ(th * (7 + 2 * i) * 11 / 10, t.points[0].y);
  }
  const char* depths[] = {" -3.00-       ", " -30.00-       "};
  for (int i = 0; i < 2; ++i) {
    const Call& t = text(depths[i]);
    EXPECT_EQ(0x808080, t.fontColour);
    EXPECT_EQ(630, t.points[0].x);
    EXPECT_EQ(th * (8 + 2 * i) * 11 / 10, t.points[0].y);
  }
  for (const Call& t : canvas.ofKind(CallKind::Text)) {
    EXPECT_FALSE(t.transparent) << t.text;
    EXPECT_EQ(0xFFFFFF, t.brushColour) << t.text;
    EXPECT_EQ(t.text == "Model:", t.bold) << t.text;
  }
  EXPECT_EQ(8u, canvas.ofKind(CallKind::Text).size());
  std::vector<int> rules;
  for (const Call& l : canvas.ofKind(CallKind::Line))
    if (l.penColour == 0xC0C0C0) {
      EXPECT_EQ(ui::PenMode::Copy, l.penMode);
      EXPECT_EQ(1, l.penWidth);
      EXPECT_EQ(628, l.points[0].x);
      EXPECT_EQ(656, l.points[1].x);
      rules.push_back(l.points[0].y);
    }
  EXPECT_EQ((std::vector<int>{static_cast<int>(th * 1.1 * 2) + 19, th * 5 * 11 / 10 + 19}), rules);
}

TEST_F(ModelDrawingTest, TheMarginGrowsWhenTheTablesWidestTextDoes) {
  s->modelActive = true;
  s->modelDepth[1] = 11309.16f;  // an inversion result, after the load sized the margin
  repaintCurveWindow(c);
  EXPECT_LE(text(" -11309.16-       ").points[0].x + 11 * 7, s->imageWidth);
  EXPECT_EQ(s->plotRight, s->imageWidth - s->marginRight);
}

TEST_F(ModelDrawingTest, ModelCountBeyondTheLayerArrayIsCut) {
  s->modelBoundaryCount = 500;
  for (int i = 0; i < MaxLayers; ++i) {
    s->modelRho[i] = 10.0f + i;
    s->modelDepth[i] = 1.5f + i;
  }
  s->modelActive = true;
  drawModel(c);
  EXPECT_EQ(2u * MaxLayers - 1, canvas.ofKind(CallKind::Line).size() - 2);
  EXPECT_FLOAT_EQ(1e9f, s->modelDepth[MaxLayers - 1]);
}

TEST_F(ModelDrawingTest, VTogglesTheLabelsAndRepaintsWhenSwitchedOff) {
  s->modelActive = true;
  ASSERT_TRUE(s->describeModel);
  labelModel(c);  // on -> off: a plain repaint
  EXPECT_FALSE(s->describeModel);
  EXPECT_FALSE(s->modelLabelsDrawn);
  EXPECT_EQ(CallKind::Fill, canvas.calls.front().kind);
  EXPECT_EQ(nullptr, canvas.findText("10.0"));

  canvas.clear();
  labelModel(c);  // off -> on: the labels
  EXPECT_TRUE(s->describeModel);
  EXPECT_TRUE(s->modelLabelsDrawn);
  EXPECT_TRUE(canvas.ofKind(CallKind::Fill).empty());
  const int y0 = rowOfAbHalf(*s, 3), y1 = rowOfAbHalf(*s, 30);
  const Call* top = canvas.findText("10.0");
  ASSERT_NE(nullptr, top);
  EXPECT_TRUE(top->transparent);
  EXPECT_EQ(0, top->fontColour);
  EXPECT_EQ(columnOfRho(*s, 10) + 3, top->points[0].x);  // the repaint widened the table
  EXPECT_EQ((26 + y0) / 2 - 6, top->points[0].y);
  const Call* bottom = canvas.findText("31.6");
  ASSERT_NE(nullptr, bottom);
  EXPECT_EQ((y1 + 426) / 2 - 6, bottom->points[0].y);
  const Call* depth = canvas.findText("-30.00-");
  ASSERT_NE(nullptr, depth);
  EXPECT_EQ(0x808080, depth->fontColour);
  EXPECT_EQ((columnOfRho(*s, 100) + columnOfRho(*s, 31.6)) / 2 - 7 * 7 / 2, depth->points[0].x);
  EXPECT_EQ(y1 + 2, depth->points[0].y);
}

TEST_F(ModelDrawingTest, LabelsAreRedrawnOnACleanPicture) {
  s->modelActive = true;
  s->describeModel = false;
  s->modelLabelsDrawn = true;
  labelModel(c);
  ASSERT_FALSE(canvas.calls.empty());
  EXPECT_EQ(CallKind::Fill, canvas.calls.front().kind);
  EXPECT_NE(nullptr, canvas.findText("100.0"));
}

TEST_F(ModelDrawingTest, LabelsNeedAnActiveModel) {
  s->describeModel = false;
  labelModel(c);
  EXPECT_TRUE(s->describeModel);
  EXPECT_FALSE(s->modelLabelsDrawn);
  EXPECT_TRUE(canvas.calls.empty());
}

}  // namespace
}  // namespace orv
