// The curve window's picture drawn into the production canvas, read back pixel
// by pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "commands/curve/curve_rendering.h"
#include "qt/qimage_canvas.h"
#include "tests/commands/curve/chart_fixture.h"

namespace orv {
namespace {

using namespace testing_support;

constexpr ui::Colour Navy = 0x800000;

class CurvePixelsTest : public ::testing::Test {
 protected:
  CurvePixelsTest() {
    useDefaultDisplaySettings(*s);
    const ui::TextSize w = canvas.textExtent("W");
    useChartGeometry(*s, w.width, w.height, 600, 400);
    canvas.resize(s->imageWidth, s->imageHeight);
    s->curveLoaded = true;
    s->gridMinIndex = 0;
    s->gridMaxIndex = 17;
    addReading(*s, 1, 10, 10, 9);
    addReading(*s, 1, 1, 20, 0);
    addReading(*s, 1, 2.18f, 30, 3);
    addReading(*s, 1, 29.1f, 15, 13);
    addReading(*s, 2, 29.1f, 40, 13);
    addReading(*s, 2, 82.3f, 80, 17);
    for (int k = 0; k < GridCells; ++k) s->mergedRho[k][0] = EmptyCell;
    for (int k = 0; k <= 17; ++k) {
      s->mergedRho[k][0] = static_cast<float>(20 + 2 * k);
      s->gridAbHalf[k] = static_cast<float>(std::pow(10.0, k * AbGridStep));
      s->computedRho[k] = static_cast<float>(25 + 3 * k);
    }
    s->modelBoundaryCount = 2;
    s->modelRho[0] = 20;
    s->modelRho[1] = 200;
    s->modelRho[2] = 50;
    s->modelDepth[0] = 4;
    s->modelDepth[1] = 40;
  }

  ZeroedBlock<CurveWindowState> s;
  ui::QImageCanvas canvas{100, 100};
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  CountingSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};
};

TEST_F(CurvePixelsTest, ReadingCrossIsCentredOnItsPixelInTheBranchColour) {
  s->splineAllCurves = false;
  s->readingCount = 1;  // the reading at 10 m, 10 ohm.m alone
  paintCurves(c);
  EXPECT_FLOAT_EQ(200.0f, s->pixelsPerDecadeRho);
  EXPECT_FLOAT_EQ(200.0f, s->pixelsPerDecadeAb);
  const int x = s->marginLeft + 200, y = s->marginTop + 200;
  for (int d = -2; d <= 2; ++d) {
    EXPECT_EQ(Navy, canvas.pixel(x + d, y)) << d;
    EXPECT_EQ(Navy, canvas.pixel(x, y + d)) << d;
  }
  for (int d : {-3, 3}) {
    EXPECT_NE(Navy, canvas.pixel(x + d, y)) << d;
    EXPECT_NE(Navy, canvas.pixel(x, y + d)) << d;
  }
  EXPECT_NE(Navy, canvas.pixel(x + 1, y + 1));
}

TEST_F(CurvePixelsTest, BackgroundGridAndFrame) {
  paintCurves(c);
  EXPECT_EQ(0xFFFFFF, canvas.pixel(s->marginLeft + 100, s->marginTop + 100));
  EXPECT_EQ(0x000000, canvas.pixel(s->plotLeft, s->plotTop + 77));
  EXPECT_EQ(0x000000, canvas.pixel(s->plotRight, s->plotBottom - 77));
  // The intermediate resistivity line at 50 ohm.m.
  EXPECT_EQ(0xC0C0C0, canvas.pixel(columnOfRho(*s, 50), s->marginTop + 33));
}

TEST_F(CurvePixelsTest, ModelDrawnTwiceLeavesThePictureAsItWas) {
  s->modelActive = true;
  repaintCurveWindow(c);
  const QImage before = canvas.image().copy();
  drawModel(c);
  EXPECT_NE(before, canvas.image());
  // Layer 1 (200 ohm.m between 4 m and 40 m) had inverted the lime bits of
  // what lies under it.
  const int x = columnOfRho(*s, 200), y = rowOfAbHalf(*s, 12);
  EXPECT_EQ(canvas.pixel(x, y) ^ 0x00FF00, ui::colourOfRgb(before.pixel(x, y) & 0xFFFFFF));
  drawModel(c);
  EXPECT_EQ(before, canvas.image());
}

TEST_F(CurvePixelsTest, PickedModelDrawnTwiceLeavesThePictureAsItWas) {
  s->modelActive = true;
  s->hotLayer = 1;
  s->depthFixed[0] = 1;
  repaintCurveWindow(c);
  const QImage before = canvas.image().copy();
  drawModel(c);
  drawModel(c);
  EXPECT_EQ(before, canvas.image());
}

TEST_F(CurvePixelsTest, ComputedCurveDrawnTwiceLeavesThePictureAsItWas) {
  for (bool smooth : {true, false}) {
    s->splineAllCurves = smooth;
    s->computedCurveValid = true;
    repaintCurveWindow(c);
    const QImage before = canvas.image().copy();
    drawComputedCurve(c);
    EXPECT_NE(before, canvas.image()) << smooth;
    drawComputedCurve(c);
    EXPECT_EQ(before, canvas.image()) << smooth;
  }
}

TEST_F(CurvePixelsTest, ComputedCurveIsAquaXor) {
  s->splineAllCurves = false;
  paintCurves(c);
  // Blank out the readings' crosses and lines so that only the curve is XORed
  // over white.
  canvas.setBrushColour(0xFFFFFF);
  canvas.fillRect(s->plotLeft + 1, s->plotTop + 1, s->plotRight, s->plotBottom);
  drawComputedCurve(c);
  const int x = columnOfRho(*s, s->computedRho[0]);
  const int y = s->marginTop;
  EXPECT_EQ(0xFFFFFF ^ 0xFFFF00, canvas.pixel(x, y + 1));
}

TEST_F(CurvePixelsTest, CrosshairDrawnTwiceLeavesThePictureAsItWas) {
  s->compositeReady = true;
  s->modelBuildMode = true;
  repaintCurveWindow(c);
  const QImage before = canvas.image().copy();
  drawCrosshair(c, 300, 200);
  EXPECT_NE(before, canvas.image());
  drawCrosshair(c, 300, 200);
  EXPECT_EQ(before, canvas.image());
}

TEST_F(CurvePixelsTest, LockedScaleKeepsTheFrameOnResize) {
  repaintCurveWindow(c);
  const int right = s->plotRight, bottom = s->plotBottom;
  s->lockCurveScale = true;
  canvas.resize(s->imageWidth + 200, s->imageHeight + 100);
  formResize(c);
  EXPECT_EQ(right, s->plotRight);
  EXPECT_EQ(0x000000, canvas.pixel(right, bottom - 50));
  EXPECT_EQ(0x000000, canvas.pixel(right - 50, bottom));
  EXPECT_EQ(0xFFFFFF, canvas.pixel(right + 100, bottom - 50));
}

TEST_F(CurvePixelsTest, ModelTableTextIsDrawnInTheRightMargin) {
  s->modelActive = true;
  repaintCurveWindow(c);
  int dark = 0;
  const int top = s->textHeight * 2, bottom = s->textHeight * 10;
  for (int y = top; y < bottom; ++y)
    for (int x = s->plotRight + 1; x < s->imageWidth; ++x)
      if ((canvas.pixel(x, y) & 0xFF) < 0x80) ++dark;
  EXPECT_GT(dark, 20);
}

}  // namespace
}  // namespace orv
