#include "qt/qimage_canvas.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <random>
#include <vector>

namespace {

using ui::BrushStyle;
using ui::Colour;
using ui::PenMode;
using ui::Point;
using ui::QImageCanvas;

bool sameImage(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

int countPixels(const QImage& img, QRgb value) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == value;
  return n;
}

TEST(QImageCanvas, StartsWhiteInRgb32) {
  QImageCanvas c(30, 20);
  EXPECT_EQ(c.width(), 30);
  EXPECT_EQ(c.height(), 20);
  EXPECT_EQ(c.image().format(), QImage::Format_RGB32);
  EXPECT_EQ(countPixels(c.image(), 0xFFFFFFFFu), 600);
  EXPECT_EQ(c.pixel(0, 0), 0xFFFFFF);
}

TEST(QImageCanvas, NonPositiveSizesBecomeOnePixel) {
  QImageCanvas c(0, -5);
  EXPECT_EQ(c.width(), 1);
  EXPECT_EQ(c.height(), 1);
}

struct ColourCase {
  Colour colour;  // 0x00BBGGRR
  QRgb image;     // as the image holds it
};

class ColourConversion : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourConversion, PenAndBrushColoursLandInImageOrderAndReadBack) {
  const ColourCase c = GetParam();
  QImageCanvas canvas(20, 20);
  canvas.setPenColour(c.colour);
  canvas.moveTo(2, 3);
  canvas.lineTo(10, 3);
  EXPECT_EQ(canvas.image().pixel(5, 3), c.image);
  EXPECT_EQ(canvas.pixel(5, 3), c.colour);
  canvas.setBrushColour(c.colour);
  canvas.fillRect(0, 10, 20, 20);
  EXPECT_EQ(canvas.image().pixel(7, 15), c.image);
  EXPECT_EQ(canvas.pixel(7, 15), c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ColourConversion,
    ::testing::Values(ColourCase{0x0000FF, 0xFFFF0000u}, ColourCase{0x00FF00, 0xFF00FF00u},
                      ColourCase{0xFF0000, 0xFF0000FFu}, ColourCase{0x123456, 0xFF563412u},
                      ColourCase{0xC0C0C0, 0xFFC0C0C0u}, ColourCase{0xFFFF00, 0xFF00FFFFu}));

TEST(QImageCanvas, PixelOutsideIsMinusOne) {
  QImageCanvas c(10, 8);
  EXPECT_EQ(c.pixel(-1, 0), -1);
  EXPECT_EQ(c.pixel(0, -1), -1);
  EXPECT_EQ(c.pixel(10, 0), -1);
  EXPECT_EQ(c.pixel(0, 8), -1);
  EXPECT_EQ(c.pixel(9, 7), 0xFFFFFF);
}

TEST(QImageCanvas, LineToExcludesItsEndAndMovesThePen) {
  QImageCanvas c(20, 10);
  c.setPenColour(0x000000);
  c.moveTo(10, 5);
  c.lineTo(15, 5);
  for (int x = 10; x <= 14; ++x) EXPECT_EQ(c.pixel(x, 5), 0) << x;
  EXPECT_EQ(c.pixel(15, 5), 0xFFFFFF);
  EXPECT_EQ(c.pixel(9, 5), 0xFFFFFF);
  c.lineTo(15, 8);
  EXPECT_EQ(c.pixel(15, 5), 0);
  EXPECT_EQ(c.pixel(15, 7), 0);
  EXPECT_EQ(c.pixel(15, 8), 0xFFFFFF);
}

TEST(QImageCanvas, FillRectIgnoresThePenMode) {
  QImageCanvas c(10, 10);
  c.setPenMode(PenMode::Xor);
  c.setBrushColour(0x0000FF);
  c.fillRect(0, 0, 5, 5);
  c.fillRect(0, 0, 5, 5);
  EXPECT_EQ(c.pixel(2, 2), 0x0000FF);
}

TEST(QImageCanvas, XorDrawingsRepeatedRestoreThePicture) {
  QImageCanvas c(120, 90);
  // Something to draw over: fills and text in copy mode.
  c.setBrushColour(0x80FF20);
  c.fillRect(10, 10, 70, 60);
  c.setFontColour(0x000000);
  c.textOut(15, 20, "Rzd-> ěščřžýáíé");
  const QImage before = c.image().copy();

  std::mt19937 g(7);
  std::uniform_int_distribution<int> d(-20, 140);
  std::vector<Point> pts;
  for (int i = 0; i < 40; ++i) pts.push_back({d(g), d(g)});
  for (PenMode mode : {PenMode::Xor, PenMode::NotXor, PenMode::Not}) {
    for (int pass = 0; pass < 2; ++pass) {
      c.setPenMode(mode);
      c.setPenColour(0xFFFF00);
      for (int w = 1; w <= 5; ++w) {
        c.setPenWidth(w);
        c.moveTo(pts[w].x, pts[w].y);
        c.lineTo(pts[w + 10].x, pts[w + 10].y);
        c.lineTo(pts[w + 20].x, pts[w + 20].y);
        c.polyline(pts.data(), 30);
      }
      c.setBrushStyle(BrushStyle::Solid);
      c.polygon(pts.data() + 30, 6);
      c.ellipse(5, 5, 100, 70);
      c.setBrushStyle(BrushStyle::Clear);
      c.ellipse(20, 30, 90, 85);
    }
    EXPECT_TRUE(sameImage(c.image(), before)) << static_cast<int>(mode);
  }
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) ASSERT_EQ(qAlpha(c.image().pixel(x, y)), 255);
}

TEST(QImageCanvas, EllipseAndPolygonStayInsideTheirBounds) {
  QImageCanvas c(60, 60);
  c.setPenColour(0x0000FF);
  c.setPenWidth(3);
  c.setBrushColour(0x00FF00);
  c.ellipse(10, 12, 40, 30);
  const Point tri[] = {{5, 40}, {30, 58}, {55, 45}};
  c.polygon(tri, 3);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      if (c.pixel(x, y) == 0xFFFFFF) continue;
      const bool inEllipseBox = x >= 10 && x < 40 && y >= 12 && y < 30;
      // A width-3 outline may stand one pixel beyond the polygon's corners.
      const bool inPolygonBox = x >= 4 && x <= 56 && y >= 39 && y <= 59;
      EXPECT_TRUE(inEllipseBox || inPolygonBox) << x << "," << y;
    }
  EXPECT_EQ(c.pixel(25, 21), 0x00FF00);  // ellipse's inside: brush
  EXPECT_EQ(c.pixel(10, 21), 0x0000FF);  // its left extreme: pen
  EXPECT_EQ(c.pixel(30, 47), 0x00FF00);  // polygon's inside
}

TEST(QImageCanvas, ResizeKeepsTheTopLeftAndWhitensTheRest) {
  QImageCanvas c(20, 10);
  c.setBrushColour(0x0000FF);
  c.fillRect(0, 0, 20, 10);
  c.resize(40, 30);
  EXPECT_EQ(c.width(), 40);
  EXPECT_EQ(c.height(), 30);
  EXPECT_EQ(c.pixel(19, 9), 0x0000FF);
  EXPECT_EQ(c.pixel(20, 9), 0xFFFFFF);
  EXPECT_EQ(c.pixel(19, 10), 0xFFFFFF);
  EXPECT_EQ(c.pixel(39, 29), 0xFFFFFF);
  c.resize(5, 4);
  EXPECT_EQ(c.width(), 5);
  EXPECT_EQ(c.pixel(4, 3), 0x0000FF);
  EXPECT_EQ(c.image().format(), QImage::Format_RGB32);
}

TEST(QImageCanvas, DrawingAfterTheImageWasCopiedLeavesTheCopyAlone) {
  QImageCanvas c(10, 10);
  const QImage copy = c.image();  // shares the data until the canvas writes
  c.setBrushColour(0);
  c.fillRect(0, 0, 10, 10);
  EXPECT_EQ(copy.pixel(5, 5), 0xFFFFFFFFu);
  EXPECT_EQ(c.pixel(5, 5), 0);
}

TEST(QImageCanvas, TextExtentOfWIsPositiveStableAndFollowsTheFont) {
  QImageCanvas c(50, 50);
  const ui::TextSize a = c.textExtent("W");
  const ui::TextSize b = c.textExtent("W");
  EXPECT_GT(a.width, 0);
  EXPECT_GT(a.height, 0);
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_EQ(c.textExtent("WW").width, 2 * a.width);
  EXPECT_EQ(c.textExtent("").width, 0);
  c.setFontSize(30);
  const ui::TextSize big = c.textExtent("W");
  EXPECT_GT(big.height, a.height);
  EXPECT_GT(big.width, a.width);
  c.setFontSize(0);
  EXPECT_EQ(c.textExtent("W").height, a.height);
}

TEST(QImageCanvas, OpaqueTextFillsItsBoxWithTheBrushTransparentDoesNot) {
  for (bool transparent : {false, true}) {
    QImageCanvas c(200, 60);
    c.setBrushColour(0x00FF00);
    c.setFontColour(0x0000FF);
    c.setFontSize(20);
    c.setTextTransparent(transparent);
    c.textOut(10, 10, "W.");
    const ui::TextSize box = c.textExtent("W.");
    // The box's last column stands right of the dot: background only.
    const Colour corner = c.pixel(10 + box.width - 1, 10);
    EXPECT_EQ(corner, transparent ? 0xFFFFFF : 0x00FF00);
    EXPECT_EQ(c.pixel(10 + box.width, 10), 0xFFFFFF);  // outside the box
    EXPECT_EQ(c.pixel(9, 10), 0xFFFFFF);
    int red = 0;
    for (int y = 10; y < 10 + box.height; ++y)
      for (int x = 10; x < 10 + box.width; ++x) red += c.pixel(x, y) == 0x0000FF;
    EXPECT_GT(red, 10) << "glyph pixels in the font colour";
  }
}

TEST(QImageCanvas, BoldTextIsAtLeastAsWide) {
  QImageCanvas c(10, 10);
  c.setFontSize(14);
  const int normal = c.textExtent("Model:").width;
  c.setFontBold(true);
  EXPECT_GE(c.textExtent("Model:").width, normal);
}

TEST(QImageCanvas, DirtyRectCollectsWhatWasTouched) {
  QImageCanvas c(100, 80);
  EXPECT_EQ(c.takeDirtyRect(), QRect(0, 0, 100, 80));  // the first blit: all
  EXPECT_TRUE(c.takeDirtyRect().isEmpty());
  c.moveTo(10, 10);
  c.lineTo(20, 10);
  c.setBrushColour(0);
  c.fillRect(50, 60, 55, 70);
  EXPECT_EQ(c.takeDirtyRect(), QRect(QPoint(10, 10), QPoint(54, 69)));
  c.moveTo(-50, -50);
  c.lineTo(-10, -10);  // entirely outside: nothing to blit
  EXPECT_TRUE(c.takeDirtyRect().isEmpty());
  c.textOut(30, 30, "W");
  const QRect t = c.takeDirtyRect();
  EXPECT_TRUE(t.contains(QRect(30, 30, c.textExtent("W").width, c.textExtent("W").height)));
}

TEST(QImageCanvas, NotifierFiresOncePerBurst) {
  QImageCanvas c(50, 50);
  c.takeDirtyRect();
  int calls = 0;
  c.setChangeNotifier([&] { ++calls; });
  for (int i = 0; i < 10; ++i) {
    c.moveTo(i, 0);
    c.lineTo(i, 40);
  }
  EXPECT_EQ(calls, 1);
  c.takeDirtyRect();
  c.fillRect(0, 0, 3, 3);
  EXPECT_EQ(calls, 2);
}

TEST(QImageCanvas, PenStateReadsBack) {
  QImageCanvas c;
  c.setPenColour(0x808080);
  c.setPenWidth(4);
  c.setPenMode(PenMode::NotXor);
  EXPECT_EQ(c.penColour(), 0x808080);
  EXPECT_EQ(c.penWidth(), 4);
  EXPECT_EQ(c.penMode(), PenMode::NotXor);
}

TEST(QImageCanvas, ZeroPenWidthDrawsOnePixelLines) {
  QImageCanvas c(10, 10);
  c.setPenWidth(0);
  c.setPenColour(0);
  c.moveTo(0, 5);
  c.lineTo(10, 5);
  EXPECT_EQ(c.pixel(3, 5), 0);
  EXPECT_EQ(c.pixel(3, 4), 0xFFFFFF);
  EXPECT_EQ(c.pixel(3, 6), 0xFFFFFF);
}

}  // namespace
