#include "commands/section/section_painting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "commands/section/point_column.h"
#include "commands/section/section_axes.h"
#include "core/section/section_layout.h"
#include "core/section/section_window_state.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv {
namespace {

using testing_support::Call;
using testing_support::CallKind;
using testing_support::RecordingCanvas;

constexpr ui::Colour Red = 0x0000FF;
constexpr ui::Colour Black = 0x000000;

class SectionPaintingTest : public ::testing::Test {
 protected:
  SectionPaintingTest() : view(std::make_unique<SectionWindowState>()) {
    setInitialDatabaseState(*db);
    setText(db->localityName, "Lhota");
    setText(profile().profileName, "P3");
  }

  SectionProfile& profile() { return db->profiles[0]; }

  // A three-layer point at chainage c with its surface at elevation z.
  SectionPoint& addPoint(float c, float z) {
    SectionProfile& p = profile();
    SectionPoint& pt = p.points[++p.mxindex_bodu];
    pt.profileChainage = c;
    pt.surfaceChainage = c;
    pt.pointZ = z;
    pt.MDLmx = 2;
    pt.layerRho[0] = 20;
    pt.layerRho[1] = 200;
    pt.layerRho[2] = 50;
    pt.layerDepth[0] = 5;
    pt.layerDepth[1] = 25;
    pt.fitError = 0.1f;
    pt.nABmn = 0;
    pt.ABmx = 20;
    for (int g = 0; g <= 20; ++g) pt.compositeRho[g] = 10.0f * (1 + g);
    return pt;
  }

  void paint(ui::ScreenSize client = {1000, 600}) {
    canvas.clear();
    paintSection(*db, *view, canvas, client);
  }

  const SectionLayout& layout() const { return view->layout; }

  // Polylines of five vertices ending where they start: the point arrows.
  std::vector<Call> arrows() const {
    std::vector<Call> out;
    for (const Call& c : canvas.ofKind(CallKind::Polyline))
      if (c.points.size() == 5 && c.points[1].x == c.points[4].x &&
          c.points[1].y == c.points[4].y && c.points[0].x == c.points[1].x)
        out.push_back(c);
    return out;
  }

  ZeroedBlock<SectionDatabase> db;
  std::unique_ptr<SectionWindowState> view;
  RecordingCanvas canvas{3200, 2000};
};

TEST(SectionAxesTest, LabelStepsAreTheFirstThatHoldTheirText) {
  struct Case {
    double pxPerMetre;
    int widest;
    int step;
  } cases[] = {
      {1.4173, 40, 30},  // 5 -> 7, 10 -> 14, 20 -> 28, 30 -> 42
      {1.4173, 7, 5},   {1.4173, 8, 10}, {0.01, 40, 1000},
      {100.0, 40, 5},   {0.1, 50, 500},  {0.0999, 50, 1000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(chainageLabelStep(c.pxPerMetre, c.widest), c.step) << c.pxPerMetre << " " << c.widest;
  struct ElevationCase {
    double pxPerMetre;
    int textHeight;
    int step;
  } elevations[] = {{20.0, 13, 1}, {17.0, 13, 1}, {16.9, 13, 2},
                    {3.4, 13, 5},  {3.3, 13, 10}, {0.3, 13, 100}};
  for (const ElevationCase& c : elevations)
    EXPECT_EQ(elevationLabelStep(c.pxPerMetre, c.textHeight), c.step) << c.pxPerMetre;
}

TEST_F(SectionPaintingTest, FittingToWidthFillsTheClientAndSetsTheProfileScale) {
  addPoint(0, 300);
  addPoint(250, 310);
  addPoint(500, 305);
  view->fitWidth = true;
  paint({1000, 600});
  EXPECT_NEAR(layout().sectionImageWidth, 1000, 2);
  EXPECT_NEAR(profile().scaleX * PixelsPerMetreAtScale1, layout().pxPerMetreX, 1e-3);
  EXPECT_GT(profile().scaleX, InitialScaleX);

  view->exaggerationLock = true;
  view->exaggeration = 2;
  for (int width : {700, 1300}) {
    paint({width, 600});
    EXPECT_FLOAT_EQ(profile().scaleZ, 2 * profile().scaleX) << width;
  }
}

TEST_F(SectionPaintingTest, PointLabelsFollowTheirSettings) {
  SectionPoint& pt = addPoint(120.4f, 300);
  pt.surfaceChainage = -118.6f;
  struct Case {
    bool prefix;
    bool bySurface;
    const char* label;
  } cases[] = {{true, false, "P3120.4"},
               {false, false, "120.4"},
               {false, true, "119"},
               {true, true, "P3119"}};
  for (const Case& c : cases) {
    view->profilePrefix = c.prefix;
    view->labelBySurfaceChainage = c.bySurface;
    EXPECT_EQ(pointLabel(profile(), pt, *view), c.label);
  }
}

TEST_F(SectionPaintingTest, FixedInterfaceTickStandsAtItsMagnitudeBelowTheSurface) {
  SectionPoint& pt = addPoint(100, 300);
  pt.MDLmx = 1;
  pt.layerDepth[0] = -12.5f;
  addPoint(200, 300);
  paint();
  const int x = chainageToPixel(layout(), 100);
  const int expected = roundPixel((layout().imageTopElevation - 287.5) * layout().pxPerMetreZ);
  bool found = false;
  for (const Call& c : canvas.ofKind(CallKind::Line))
    if (c.points[0].x == x - MarkerSize / 2 && c.points[1].x == x + MarkerSize / 2 &&
        c.points[0].y == expected && c.penColour == Black)
      found = true;
  EXPECT_TRUE(found);
}

TEST_F(SectionPaintingTest, TheCurrentPointStandsOutAndPointsAtTheRightLimitAreLeftOut) {
  addPoint(100, 300);
  addPoint(200, 300);
  addPoint(300, 300);
  db->currentPoint = 1;
  view->showCurves = true;
  view->viewMaxChainage = 300;
  view->labelBySurfaceChainage = false;
  paint();
  const std::vector<Call> drawn = arrows();
  ASSERT_EQ(drawn.size(), 2u) << "the point at exactly the right limit is not drawn";
  for (const Call& a : drawn) {
    const bool current = a.points[1].x == chainageToPixel(layout(), 200);
    EXPECT_EQ(a.penWidth, current ? 2 : 1);
  }
  const Call* label = canvas.findText("200.0");
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->bold);
  ASSERT_NE(canvas.findText("100.0"), nullptr);
  EXPECT_FALSE(canvas.findText("100.0")->bold);
  EXPECT_EQ(canvas.findText("300.0"), nullptr);

  int black = 0, red = 0;
  for (const Call& c : canvas.ofKind(CallKind::Polyline))
    if (c.penMode == ui::PenMode::NotXor && c.penWidth == 2) (c.penColour == Black ? black : red)++;
  EXPECT_EQ(black, 1);
  EXPECT_EQ(red, 1);
}

TEST_F(SectionPaintingTest, AxesAtTheWidestViewLimitsDrawOnlyInsideTheFrame) {
  addPoint(0, 300);
  addPoint(400, 320);
  view->viewMinChainage = -1000000;
  view->viewMaxChainage = 1000000;
  view->viewMinElevation = -10000;
  view->viewMaxElevation = 10000;
  paint();
  int ticks = 0;
  for (const Call& c : canvas.ofKind(CallKind::Text)) {
    if (c.points[0].y <= layout().frameBottom) continue;
    ++ticks;
    const int x = c.points[0].x + int(c.text.size()) * RecordingCanvas::CharWidth / 2;
    EXPECT_GT(x, layout().frameLeft) << c.text;
    EXPECT_LT(x, layout().frameRight) << c.text;
  }
  EXPECT_GT(ticks, 2);
  EXPECT_LT(ticks, 200);
  EXPECT_NE(canvas.findText("0"), nullptr);
}

// Whatever the view's lower limits, the labels of both axes are whole
// multiples of their step (the difference of neighbouring labels): elevation
// every 50 m, every 100 m, and from a limit between two steps.
TEST_F(SectionPaintingTest, AxisLabelsAreWholeMultiplesOfTheirStep) {
  addPoint(0, 300);
  addPoint(600, 1300);
  for (const auto& [scaleZ, limit] : {std::pair{1e-4f, -1e4f}, {2e-5f, -1e4f}, {1e-4f, -9977.5f}}) {
    profile().scaleX = 1e-4f;
    profile().scaleZ = scaleZ;
    view->viewMinChainage = view->viewMinElevation = limit;
    paint();
    std::vector<long> labels[2];  // below the frame, left of it
    for (const Call& t : canvas.ofKind(CallKind::Text))
      if (t.points[0].y > layout().frameBottom ||
          t.points[0].x + RecordingCanvas::CharWidth * int(t.text.size()) < layout().frameLeft)
        labels[t.points[0].y <= layout().frameBottom].push_back(std::stol(t.text));
    for (std::vector<long>& axis : labels) {
      ASSERT_GE(axis.size(), 3u) << scaleZ;
      std::sort(axis.begin(), axis.end());
      for (long v : axis) EXPECT_EQ(v % (axis[1] - axis[0]), 0) << v << " at " << scaleZ;
    }
  }
}

TEST_F(SectionPaintingTest, LayersTakeTheColoursOfTheScaleAndKeepThePreviousOneWithout) {
  ColourScale& scale = view->colourScale;
  scale.colResCount = 3;
  const int bounds[] = {0, 100, 1000};
  const int colours[] = {0, 0x00AA00, 0xBB0000};
  for (int k = 0; k < 3; ++k) {
    scale.colResBound[k] = bounds[k];
    scale.colResColor[k] = colours[k];
  }
  SectionPoint& pt = addPoint(100, 300);
  pt.layerRho[2] = 5000;  // above the top boundary: no colour of its own
  paint();
  std::vector<ui::Colour> fills;
  for (const Call& c : canvas.ofKind(CallKind::Fill))
    if (c.points[1].x < 3200) fills.push_back(c.brushColour);  // not the clearing
  EXPECT_EQ(fills, (std::vector<ui::Colour>{0x00AA00, 0xBB0000, 0xBB0000}));
}

TEST_F(SectionPaintingTest, StatusLineNamesTheWindowAndTheHbvCounts) {
  profile().OnTime = 2000;
  profile().LeadTime = 20;
  profile().num_IPoken = 2;
  profile().ipWindowFrom[1] = 2040;
  profile().ipWindowTo[1] = 2080;
  profile().HBV_pocet = 2;
  profile().HBV_pocetBodu[1] = 7;
  view->currentIpWindow = 1;
  const std::string blanks(30, ' ');
  struct Case {
    bool ip;
    bool hbv;
    std::string text;
  } cases[] = {
      {false, false, "jméno lokality: Lhota - profil: P3" + blanks},
      {true, false, "jméno lokality: Lhota - profil: P3 - oknoVP: 20 - 60 ms po"},
      {false, true, "jméno lokality: Lhota - profil: P3 - i_HBV: 2 bod_HBV: 7" + blanks},
      {true, true,
       "jméno lokality: Lhota - profil: P3 - oknoVP: 20 - 60 ms po - i_HBV: 2 bod_HBV: 7" + blanks},
  };
  for (const Case& c : cases) {
    view->showIp = c.ip;
    view->hbvEditMode = c.hbv;
    EXPECT_EQ(sectionStatusText(*db, *view), c.text);
  }
  profile().num_IPoken = -10;  // a profile without IP names no window
  view->showIp = true;
  view->hbvEditMode = false;
  EXPECT_EQ(sectionStatusText(*db, *view), cases[0].text);
}

TEST_F(SectionPaintingTest, SurfaceLineRepeatsItsVertexForADuplicateChainage) {
  addPoint(300, 310);
  addPoint(100, 300);
  addPoint(100, 305);
  paint();
  const std::vector<ui::Point> line = surfaceLine(profile(), layout());
  ASSERT_EQ(line.size(), 3u);
  EXPECT_EQ(line[0].x, chainageToPixel(layout(), 100));
  EXPECT_EQ(line[1].x, chainageToPixel(layout(), 300));
  EXPECT_EQ(line[2].x, line[1].x);
  EXPECT_EQ(line[2].y, line[1].y);
}

TEST_F(SectionPaintingTest, BoundaryLinesAreCutAtTheFrameWithTheirCrossingsPutIn) {
  addPoint(0, 300);
  addPoint(200, 300);
  SectionProfile& p = profile();
  p.HBV_pocet = 1;
  p.HBV_pocetBodu[0] = 3;
  const float xs[] = {10, 100, 190};
  const float zs[] = {295, -5000, 290};  // dives far below the frame
  for (int k = 0; k < 3; ++k) {
    p.HBV_x[0][k] = xs[k];
    p.HBV_z[0][k] = zs[k];
  }
  paint();
  std::vector<Call> red;
  for (const Call& c : canvas.ofKind(CallKind::Polyline))
    if (c.penColour == Red && c.penWidth == 2) red.push_back(c);
  ASSERT_EQ(red.size(), 1u);
  const std::vector<ui::Point>& v = red[0].points;
  ASSERT_EQ(v.size(), 4u) << "two ends and two crossings of the bottom";
  EXPECT_EQ(v[1].y, elevationToPixel(layout(), pixelToElevation(layout(), layout().frameBottom)));
  EXPECT_LT(v[1].x, v[2].x);

  view->hbvEditMode = true;
  view->hbvSelected = 0;
  paint();
  bool unclipped = false;
  for (const Call& c : canvas.ofKind(CallKind::Polyline))
    if (c.penColour == Red && c.penWidth == 3 && c.points.size() == 3) unclipped = true;
  EXPECT_TRUE(unclipped) << "in the edit mode the whole line shows, selected wider";
}

}  // namespace
}  // namespace orv
