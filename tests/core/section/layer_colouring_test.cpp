#include "core/section/layer_colouring.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/zeroed_block.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv::testing {
namespace {

using testing_support::CallKind;
using testing_support::RecordingCanvas;

constexpr ui::Colour Below50 = 0x0000FF;
constexpr ui::Colour Above50 = 0x00FF00;

// Boundaries 0, 50, 1000 as the editor leaves them.
ColourScale scaleWith50() {
  ColourScale s{};
  const int32_t bounds[] = {0, 50, 1000, ColourTableEnd};
  const ui::Colour colours[] = {0, Below50, Above50, 0xFFFFFF};
  for (int k = 0; k < 4; ++k) s.colResBound[k] = bounds[k], s.colResColor[k] = colours[k];
  s.colResCount = 3;
  return s;
}

// One metre a pixel; chainage -20 at the picture's left edge, elevation 110
// at its top; the frame from chainage -15 to 115 down to elevation 10.
SectionLayout unitLayout() {
  SectionLayout l;
  l.pxPerMetreX = l.pxPerMetreZ = 1.0;
  l.imageLeftChainage = -20;
  l.imageTopElevation = 110;
  l.frameLeft = 5;
  l.frameRight = 135;
  l.frameBottom = 100;
  l.dataMinChainage = 0;
  l.dataMaxChainage = 100;
  return l;
}

BandPolygon rectangle(double x0, double x1, double zTop, double zBot) {
  BandPolygon p;
  p.add(x0, zTop);
  p.add(x1, zTop);
  p.add(x1, zBot);
  p.add(x0, zBot);
  return p;
}

struct SplitCase {
  float rhoA, rhoB;
  int splitPixel;
  ui::Colour first, second;
};

TEST(FillBand, SplitWhereTheLinearResistivityCrossesABoundary) {
  // 0 + 100 x (50 - 10) / (100 - 10) = 44.4 m rising, 55.6 m falling.
  const SplitCase cases[] = {{10, 100, 64, Below50, Above50}, {100, 10, 75, Above50, Below50}};
  for (const SplitCase& c : cases) {
    RecordingCanvas canvas(200, 200);
    fillBand(canvas, scaleWith50(), unitLayout(), 0, 100, c.rhoA, c.rhoB,
             rectangle(0, 100, 100, 90));
    const auto strips = canvas.ofKind(CallKind::Polygon);
    ASSERT_EQ(strips.size(), 2u);
    const ui::Colour colours[] = {c.first, c.second};
    const int left[] = {20, c.splitPixel}, right[] = {c.splitPixel, 120};
    for (int s = 0; s < 2; ++s) {
      EXPECT_EQ(strips[s].brushColour, colours[s]);
      EXPECT_EQ(strips[s].penColour, colours[s]);
      EXPECT_EQ(strips[s].penWidth, 0);
      for (const ui::Point& pt : strips[s].points) {
        EXPECT_GE(pt.x, left[s]);
        EXPECT_LE(pt.x, right[s]);
      }
    }
  }
}

TEST(FillBand, NoColourKeepsTheLastFillAndEqualResistivitiesAreNotSplit) {
  RecordingCanvas canvas(200, 200);
  canvas.setBrushColour(0x123456);
  canvas.setPenColour(0x123456);
  // 5000 lies above the top boundary; 50 = 50 would divide by zero if split.
  fillBand(canvas, scaleWith50(), unitLayout(), 0, 100, 5000, 5000, rectangle(0, 100, 100, 90));
  fillBand(canvas, scaleWith50(), unitLayout(), 0, 100, 50, 50, rectangle(0, 100, 100, 90));
  const auto fills = canvas.ofKind(CallKind::Polygon);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].brushColour, 0x123456);
  EXPECT_EQ(fills[1].brushColour, Above50);
}

TEST(FillBand, ThePolygonHoldsFiveHundredAndTheStripsGrowBeyond) {
  BandPolygon p;
  for (int i = 0; i < MaxBandVertices + 5; ++i)
    EXPECT_EQ(p.add(i % 2 ? 100 : 0, 100 - i * 0.1), i < MaxBandVertices);
  EXPECT_EQ(p.count, MaxBandVertices);
  // A zigzag across the band and a boundary every 10 ohm.m: 99 crossings of
  // almost every edge.
  ColourScale s{};
  for (int k = 0; k <= 100; ++k) s.colResBound[k] = 10 * k, s.colResColor[k] = k;
  s.colResCount = 100;
  RecordingCanvas canvas(200, 200);
  fillBand(canvas, s, unitLayout(), 0, 100, 5, 995, p);
  const auto strips = canvas.ofKind(CallKind::Polygon);
  EXPECT_EQ(strips.size(), 100u);
  size_t vertices = 0;
  for (const auto& c : strips) vertices += c.points.size();
  EXPECT_GT(vertices, size_t(MaxBandVertices) * 50);
  EXPECT_EQ(strips.front().brushColour, 1);
  EXPECT_EQ(strips.back().brushColour, 100);
}

struct Band {
  double xa, xb;
  float rhoA, rhoB;
  std::vector<std::pair<double, double>> outline;
};

class ColourLayersTest : public ::testing::Test {
 protected:
  ColourLayersTest() : view(std::make_unique<SectionWindowState>()) {
    db->profiles[0].mxindex_bodu = -1;
    view->layout = unitLayout();
    view->colourScale = scaleWith50();
  }
  SectionProfile& profile() { return db->profiles[0]; }
  void addSounding(float x, float rhoTop, float rhoBelow) {
    SectionPoint& pt = profile().points[++profile().mxindex_bodu];
    pt.profileChainage = x;
    pt.pointZ = 100;
    pt.MDLmx = 1;
    pt.layerDepth[0] = 10;
    pt.layerRho[0] = rhoTop;
    pt.layerRho[1] = rhoBelow;
  }
  void addLine(std::vector<std::pair<float, float>> vertices) {
    SectionProfile& p = profile();
    const int i = p.HBV_pocet++;
    p.HBV_pocetBodu[i] = int(vertices.size());
    for (size_t j = 0; j < vertices.size(); ++j)
      p.HBV_x[i][j] = vertices[j].first, p.HBV_z[i][j] = vertices[j].second;
  }
  std::vector<Band> bands() {
    std::vector<Band> out;
    colourLayers(*db, *view, [&](double xa, double xb, float ra, float rb, const BandPolygon& p) {
      Band b{xa, xb, ra, rb, {}};
      for (int i = 0; i < p.count; ++i) b.outline.push_back({p.x[i], p.z[i]});
      out.push_back(b);
    });
    return out;
  }

  ZeroedBlock<SectionDatabase> db;
  std::unique_ptr<SectionWindowState> view;
};

using Outline = std::vector<std::pair<double, double>>;

TEST_F(ColourLayersTest, BandsBetweenTwoSoundingsAndOutToBothEdges) {
  addSounding(0, 10, 100);
  addSounding(100, 100, 100);
  view->surfaceLine.count = 7;
  EXPECT_TRUE(bands().empty()) << "no line, no band";
  EXPECT_EQ(view->surfaceLine.count, 7) << "and nothing prepared";
  addLine({{0, 90}, {100, 90}});
  const std::vector<Band> b = bands();
  ASSERT_EQ(b.size(), 6u);
  // Top layer: 10 ohm.m at 0 m to 100 ohm.m at 100 m, under the surface.
  EXPECT_EQ(b[0].outline, (Outline{{0, 100}, {100, 100}, {100, 90}, {0, 90}}));
  EXPECT_EQ(b[0].rhoA, 10);
  EXPECT_EQ(b[0].rhoB, 100);
  // The open left side in the layer's own colour, to the frame at -15 m.
  EXPECT_EQ(b[1].outline, (Outline{{-15, 90}, {-15, 100}, {0, 100}, {0, 90}}));
  EXPECT_EQ(b[1].rhoA, b[1].rhoB);
  // The half-space down to the frame's lower edge at 10 m, then to the left.
  EXPECT_EQ(b[2].outline, (Outline{{0, 90}, {100, 90}, {100, 10}, {0, 10}}));
  EXPECT_EQ(b[3].outline, (Outline{{-15, 10}, {-15, 90}, {0, 90}, {0, 10}, {-15, 10}}));
  // The open right side of the second sounding, to the frame at 115 m.
  EXPECT_EQ(b[4].outline, (Outline{{100, 100}, {115, 100}, {115, 90}, {100, 90}}));
  EXPECT_EQ(b[5].outline, (Outline{{100, 90}, {115, 90}, {115, 10}, {115, 10}, {100, 10}}));
  for (int i : {4, 5}) EXPECT_EQ(b[i].rhoA, 100);

  // Filled on the picture, the top band is split at 44.4 m (pixel 64).
  RecordingCanvas canvas(300, 200);
  colourLayers(*db, *view, bandFiller(canvas, *view));
  const auto fills = canvas.ofKind(CallKind::Polygon);
  ASSERT_GE(fills.size(), 2u);
  EXPECT_EQ(fills[0].points[1].x, 64);
  EXPECT_EQ(fills[0].brushColour, Below50);
  EXPECT_EQ(fills[1].brushColour, Above50);
}

TEST_F(ColourLayersTest, ALoneSoundingFollowsItsLinesToBothEdges) {
  addSounding(0, 10, 100);
  // Falls to the left, rises to the right beyond the frame; its ends lie
  // outside the data range and stay where they are.
  view->layout.dataMaxChainage = 0;
  addLine({{-30, 80}, {0, 90}, {15, 95}, {215, 99}});
  const std::vector<Band> b = bands();
  ASSERT_EQ(b.size(), 4u);
  // Top layer to the left, levelled at the surface, and to the right, where
  // the line is cut at the frame (97 m at 115 m).
  EXPECT_EQ(b[0].outline, (Outline{{-15, 85}, {-15, 100}, {0, 100}, {0, 90}}));
  EXPECT_EQ(b[1].outline, (Outline{{0, 100}, {115, 100}, {115, 97}, {15, 95}, {0, 90}}));
  // The half-space under the line on both sides.
  EXPECT_EQ(b[2].outline, (Outline{{-15, 10}, {-15, 85}, {0, 90}, {0, 10}, {-15, 10}}));
  EXPECT_EQ(b[3].outline, (Outline{{0, 90}, {15, 95}, {115, 97}, {115, 10}, {115, 10}, {0, 10}}));
  for (const Band& band : b) EXPECT_EQ(band.rhoA, band.rhoB);
}

// Two lines that leave the interface at 90 m of the first sounding and meet
// again on the second enclose a lens no band covers (in the picture and the
// layer grid alike); it comes last, in the resistivity of its layer at the
// nearer sounding: the first's top layer, or with the peak nearer the
// second, the second's.
TEST_F(ColourLayersTest, ALensBetweenTwoLinesTakesItsLayerAtTheNearerSounding) {
  for (const auto& [peakX, rho] : {std::pair{30.0f, 10.0f}, {70.0f, 100.0f}}) {
    profile().mxindex_bodu = -1;
    profile().HBV_pocet = 0;
    addSounding(0, 10, 100);
    addSounding(100, 100, 100);
    addLine({{0, 90}, {100, 90}});
    addLine({{0, 90}, {peakX, 96}, {100, 90}});
    const Band lens = bands().back();
    EXPECT_EQ(lens.outline, (Outline{{0, 90}, {peakX, 96}, {100, 90}, {100, 90}, {0, 90}}));
    EXPECT_TRUE(lens.rhoA == rho && lens.rhoB == rho) << lens.rhoA << " " << lens.rhoB;
  }
}

}  // namespace
}  // namespace orv::testing
