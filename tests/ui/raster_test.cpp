#include "ui/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using ui::PenMode;
using ui::Point;
using ui::raster::Buffer;
using ui::raster::Rasteriser;
using Pixel = std::pair<int, int>;  // (x, y)

constexpr uint32_t White = 0xFFFFFFFFu;
constexpr uint32_t Guard = 0x12345678u;

// A picture with guard bands all around it (extra columns through a wider
// stride, extra rows above and below) to catch any write outside.
class Picture {
 public:
  Picture(int w, int h, uint32_t fill = White) : w_(w), h_(h), stride_(w + 2 * Margin) {
    store_.assign(static_cast<std::size_t>(stride_) * (h + 2 * Margin), Guard);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) at(x, y) = fill;
  }

  Buffer buffer() {
    return Buffer{store_.data() + static_cast<std::size_t>(Margin) * stride_ + Margin, w_, h_,
                  stride_};
  }
  uint32_t& at(int x, int y) {
    return store_[static_cast<std::size_t>(y + Margin) * stride_ + x + Margin];
  }
  uint32_t at(int x, int y) const {
    return store_[static_cast<std::size_t>(y + Margin) * stride_ + x + Margin];
  }
  int width() const { return w_; }
  int height() const { return h_; }

  void randomise(unsigned seed) {
    std::mt19937 gen(seed);
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) at(x, y) = 0xFF000000u | (gen() & 0xFFFFFFu);
  }

  bool guardsIntact() const {
    for (int y = -Margin; y < h_ + Margin; ++y)
      for (int x = -Margin; x < w_ + Margin; ++x) {
        const bool inside = x >= 0 && x < w_ && y >= 0 && y < h_;
        if (!inside && at(x, y) != Guard) return false;
      }
    return true;
  }

  std::vector<uint32_t> pixels() const {
    std::vector<uint32_t> v;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) v.push_back(at(x, y));
    return v;
  }

  std::set<Pixel> differences(const std::vector<uint32_t>& before) const {
    std::set<Pixel> d;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (at(x, y) != before[static_cast<std::size_t>(y) * w_ + x]) d.insert({x, y});
    return d;
  }

  bool allOpaque() const {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if ((at(x, y) >> 24) != 0xFF) return false;
    return true;
  }

 private:
  static constexpr int Margin = 4;
  int w_;
  int h_;
  int stride_;
  std::vector<uint32_t> store_;
};

// Pixels a Copy drawing sets on a white picture.
template <class Draw>
std::set<Pixel> footprint(int w, int h, Draw draw) {
  Picture p(w, h);
  const auto before = p.pixels();
  Rasteriser r;
  Buffer b = p.buffer();
  draw(r, b, PenMode::Copy);
  return p.differences(before);
}

// ---------------------------------------------------------------------------
// Width-1 lines against tables of expected pixels.

struct LineCase {
  const char* name;
  Point a;
  Point b;
  std::vector<Pixel> expected;
};

class ThinLineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(ThinLineTable, SetsExactlyTheExpectedPixels) {
  const LineCase& c = GetParam();
  const auto got = footprint(
      40, 40, [&](Rasteriser& r, Buffer& b, PenMode m) { r.line(b, c.a, c.b, 1, 0x000000, m); });
  EXPECT_EQ(got, std::set<Pixel>(c.expected.begin(), c.expected.end())) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Bresenham, ThinLineTable,
    ::testing::Values(
        LineCase{"horizontal end excluded",
                 {10, 5},
                 {15, 5},
                 {{10, 5}, {11, 5}, {12, 5}, {13, 5}, {14, 5}}},
        LineCase{"horizontal leftwards",
                 {15, 5},
                 {10, 5},
                 {{15, 5}, {14, 5}, {13, 5}, {12, 5}, {11, 5}}},
        LineCase{"vertical down", {3, 1}, {3, 4}, {{3, 1}, {3, 2}, {3, 3}}},
        LineCase{"vertical up", {3, 4}, {3, 1}, {{3, 4}, {3, 3}, {3, 2}}},
        LineCase{"diagonal", {0, 0}, {4, 4}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        LineCase{"anti-diagonal backwards", {4, 0}, {0, 4}, {{4, 0}, {3, 1}, {2, 2}, {1, 3}}},
        LineCase{"shallow", {0, 0}, {6, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
        LineCase{
            "shallow backwards", {6, 2}, {0, 0}, {{6, 2}, {5, 2}, {4, 1}, {3, 1}, {2, 1}, {1, 0}}},
        LineCase{"shallow half rounds away from start",
                 {0, 0},
                 {4, 2},
                 {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        LineCase{"steep", {0, 0}, {2, 6}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5}}},
        LineCase{
            "steep upwards left", {2, 6}, {0, 0}, {{2, 6}, {2, 5}, {1, 4}, {1, 3}, {1, 2}, {0, 1}}},
        LineCase{"zero length", {7, 7}, {7, 7}, {}},
        LineCase{"single step", {7, 7}, {8, 7}, {{7, 7}}}),
    [](const ::testing::TestParamInfo<LineCase>& info) {
      std::string n = info.param.name;
      for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST(RasterLine, ReadingCrossCoversFivePlusFivePixelsAroundItsCentre) {
  const int X = 20, Y = 15;
  Picture p(40, 40);
  const auto before = p.pixels();
  Rasteriser r;
  Buffer b = p.buffer();
  r.line(b, {X - 2, Y}, {X + 3, Y}, 1, 0x0000FF, PenMode::Copy);
  r.line(b, {X, Y - 2}, {X, Y + 3}, 1, 0x0000FF, PenMode::Copy);
  std::set<Pixel> expected;
  for (int d = -2; d <= 2; ++d) {
    expected.insert({X + d, Y});
    expected.insert({X, Y + d});
  }
  EXPECT_EQ(p.differences(before), expected);

  // In XOR the centre is covered by both arms and so comes back.
  Picture q(40, 40);
  const auto qBefore = q.pixels();
  Buffer qb = q.buffer();
  r.line(qb, {X - 2, Y}, {X + 3, Y}, 1, 0x0000FF, PenMode::Xor);
  r.line(qb, {X, Y - 2}, {X, Y + 3}, 1, 0x0000FF, PenMode::Xor);
  std::set<Pixel> withoutCentre = expected;
  withoutCentre.erase({X, Y});
  EXPECT_EQ(q.differences(qBefore), withoutCentre);
}

// ---------------------------------------------------------------------------
// Wide lines.

TEST(RasterWideLine, HorizontalAndVerticalStrokesAreExactlyPenWidthThick) {
  for (int w = 1; w <= 8; ++w) {
    const auto h = footprint(60, 60, [&](Rasteriser& r, Buffer& b, PenMode m) {
      r.line(b, {10, 30}, {40, 30}, w, 0, m);
    });
    const auto v = footprint(60, 60, [&](Rasteriser& r, Buffer& b, PenMode m) {
      r.line(b, {30, 10}, {30, 40}, w, 0, m);
    });
    int rows = 0, cols = 0;
    for (int y = 0; y < 60; ++y) rows += h.count({25, y});
    for (int x = 0; x < 60; ++x) cols += v.count({x, 25});
    EXPECT_EQ(rows, w) << "width " << w;
    EXPECT_EQ(cols, w) << "width " << w;
  }
}

TEST(RasterWideLine, ZeroLengthSegmentIsARoundDot) {
  struct Case {
    int width;
    std::size_t pixels;
  };
  for (const Case c : {Case{1, 0}, Case{2, 4}, Case{3, 9}, Case{4, 12}}) {
    const auto f = footprint(20, 20, [&](Rasteriser& r, Buffer& b, PenMode m) {
      r.line(b, {10, 10}, {10, 10}, c.width, 0, m);
    });
    EXPECT_EQ(f.size(), c.pixels) << "width " << c.width;
  }
}

TEST(RasterWideLine, RoundCapsReachHalfAWidthBeyondTheEnds) {
  const auto f = footprint(60, 60, [&](Rasteriser& r, Buffer& b, PenMode m) {
    r.line(b, {20, 30}, {40, 30}, 5, 0, m);
  });
  EXPECT_TRUE(f.count({18, 30}));
  EXPECT_FALSE(f.count({17, 30}));
  EXPECT_TRUE(f.count({42, 30}));
  EXPECT_FALSE(f.count({43, 30}));
  EXPECT_FALSE(f.count({18, 28}));  // the cap is round, not square
}

// ---------------------------------------------------------------------------
// XOR-type drawings repeated restore the picture.

struct Shape {
  const char* name;
  void (*draw)(Rasteriser&, Buffer&, PenMode, std::mt19937&);
};

Point randomPoint(std::mt19937& g, int lo, int hi) {
  std::uniform_int_distribution<int> d(lo, hi);
  return {d(g), d(g)};
}

const Shape shapes[] = {
    {"lines",
     [](Rasteriser& r, Buffer& b, PenMode m, std::mt19937& g) {
       for (int i = 0; i < 40; ++i)
         r.line(b, randomPoint(g, -20, 100), randomPoint(g, -20, 100), 1 + i % 6, 0x00FF00 + i, m);
     }},
    {"polylines",
     [](Rasteriser& r, Buffer& b, PenMode m, std::mt19937& g) {
       for (int w = 1; w <= 6; ++w) {
         std::vector<Point> pts;
         for (int i = 0; i < 30; ++i) pts.push_back(randomPoint(g, -10, 90));
         r.polyline(b, pts.data(), static_cast<int>(pts.size()), w, 0xABCDEF, m);
       }
     }},
    {"fills",
     [](Rasteriser& r, Buffer& b, PenMode m, std::mt19937& g) {
       for (int i = 0; i < 10; ++i) {
         Point p = randomPoint(g, -10, 90), q = randomPoint(g, -10, 90);
         r.fillRect(b, p.x, p.y, q.x, q.y, 0x123456, m);
       }
     }},
    {"polygons",
     [](Rasteriser& r, Buffer& b, PenMode m, std::mt19937& g) {
       for (int w = 1; w <= 4; ++w) {
         std::vector<Point> pts;
         for (int i = 0; i < 7; ++i) pts.push_back(randomPoint(g, -10, 90));
         r.polygon(b, pts.data(), 7, w, 0xFF0000, 0x00FF00, m);
       }
     }},
    {"ellipses",
     [](Rasteriser& r, Buffer& b, PenMode m, std::mt19937& g) {
       for (int w = 1; w <= 4; ++w) {
         Point p = randomPoint(g, -10, 90), q = randomPoint(g, -10, 90);
         r.ellipse(b, p.x, p.y, q.x, q.y, w, 0x0000FF, 0x808080, m);
       }
     }},
};

class RepeatRestores : public ::testing::TestWithParam<std::tuple<int, PenMode>> {};

TEST_P(RepeatRestores, DrawingTwiceGivesBackEveryPixel) {
  const Shape& s = shapes[std::get<0>(GetParam())];
  const PenMode mode = std::get<1>(GetParam());
  for (unsigned seed = 1; seed <= 5; ++seed) {
    Picture p(80, 80);
    p.randomise(seed);
    const auto before = p.pixels();
    Rasteriser r;
    Buffer b = p.buffer();
    std::mt19937 g1(seed * 7919), g2(seed * 7919);
    s.draw(r, b, mode, g1);
    EXPECT_FALSE(p.differences(before).empty()) << s.name;
    s.draw(r, b, mode, g2);
    EXPECT_TRUE(p.differences(before).empty()) << s.name << " seed " << seed;
    EXPECT_TRUE(p.guardsIntact());
  }
}

INSTANTIATE_TEST_SUITE_P(AllShapes, RepeatRestores,
                         ::testing::Combine(::testing::Range(0, 5),
                                            ::testing::Values(PenMode::Xor, PenMode::NotXor,
                                                              PenMode::Not)));

TEST(RasterModes, ModesCombineThePenWithThePictureAndKeepAlpha) {
  struct Case {
    PenMode mode;
    uint32_t before;
    uint32_t pen;
    uint32_t after;
  };
  const Case cases[] = {
      {PenMode::Copy, 0xFF102030u, 0x00ABCDEF, 0xFFABCDEFu},
      {PenMode::Xor, 0xFF102030u, 0x00FFFF00, 0xFFEFDF30u},
      {PenMode::NotXor, 0xFF102030u, 0x00FFFF00, 0xFF1020CFu},
      {PenMode::Not, 0xFF102030u, 0x00123456, 0xFFEFDFCFu},
      {PenMode::Xor, 0xFFFFFFFFu, 0xFFFFFFFF, 0xFF000000u},  // pen alpha ignored
  };
  for (const Case& c : cases) {
    Picture p(4, 4, c.before);
    Rasteriser r;
    Buffer b = p.buffer();
    r.line(b, {0, 1}, {4, 1}, 1, c.pen, c.mode);
    EXPECT_EQ(p.at(2, 1), c.after) << static_cast<int>(c.mode);
    EXPECT_EQ(p.at(2, 2), c.before);
    EXPECT_TRUE(p.allOpaque());
  }
}

// ---------------------------------------------------------------------------
// Polylines touch every pixel at most once.

TEST(RasterPolyline, XorChangesExactlyTheCopyFootprint) {
  std::mt19937 g(42);
  for (int w = 1; w <= 6; ++w) {
    // A zig-zag that doubles back over itself, plus random points.
    std::vector<Point> pts = {{10, 10}, {60, 12}, {12, 14}, {58, 40}, {10, 40}, {35, 5}};
    for (int i = 0; i < 20; ++i) pts.push_back(randomPoint(g, 0, 70));
    const int n = static_cast<int>(pts.size());
    const auto copy = footprint(70, 70, [&](Rasteriser& r, Buffer& b, PenMode m) {
      r.polyline(b, pts.data(), n, w, 0, m);
    });
    Picture p(70, 70);
    p.randomise(static_cast<unsigned>(w));
    const auto before = p.pixels();
    Rasteriser r;
    Buffer b = p.buffer();
    r.polyline(b, pts.data(), n, w, 0x00FFFFFF, PenMode::Xor);
    EXPECT_EQ(p.differences(before), copy) << "width " << w;
  }
}

TEST(RasterPolyline, LastPointIsLeftOutAtWidthOne) {
  const Point pts[] = {{2, 2}, {6, 2}, {6, 5}};
  const auto f = footprint(
      10, 10, [&](Rasteriser& r, Buffer& b, PenMode m) { r.polyline(b, pts, 3, 1, 0, m); });
  const std::set<Pixel> expected = {{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {6, 3}, {6, 4}};
  EXPECT_EQ(f, expected);
}

TEST(RasterPolyline, ClosedFrameXorChangesEachBorderPixelOnce) {
  const Point frame[] = {{5, 5}, {30, 5}, {30, 20}, {5, 20}, {5, 5}};
  Picture p(40, 30, 0xFF000000u);
  const auto before = p.pixels();
  Rasteriser r;
  Buffer b = p.buffer();
  r.polyline(b, frame, 5, 1, 0xFFFFFF, PenMode::Xor);
  const auto d = p.differences(before);
  EXPECT_EQ(d.size(), static_cast<std::size_t>(2 * 25 + 2 * 15));
  for (const Pixel& px : d) EXPECT_EQ(p.at(px.first, px.second), 0xFFFFFFFFu);
}

TEST(RasterPolyline, FewerThanTwoPointsDrawNothing) {
  const Point one[] = {{3, 3}};
  EXPECT_TRUE(footprint(10, 10, [&](Rasteriser& r, Buffer& b, PenMode m) {
                r.polyline(b, one, 1, 3, 0, m);
                r.polyline(b, nullptr, 5, 3, 0, m);
                r.polyline(b, one, -2, 3, 0, m);
              }).empty());
}

// ---------------------------------------------------------------------------
// Fill, polygon, ellipse.

TEST(RasterFill, RightAndBottomAreExclusiveAndEdgesClip) {
  struct Case {
    int l, t, r, b;
    std::size_t pixels;
  };
  const Case cases[] = {
      {2, 3, 5, 7, 12},  {5, 5, 5, 9, 0},     {6, 6, 2, 2, 0},
      {-5, -5, 3, 2, 6}, {8, 8, 100, 100, 4}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 100},
  };
  for (const Case& c : cases) {
    Picture p(10, 10);
    const auto before = p.pixels();
    Rasteriser r;
    Buffer b = p.buffer();
    r.fillRect(b, c.l, c.t, c.r, c.b, 0x00FF00, PenMode::Copy);
    EXPECT_EQ(p.differences(before).size(), c.pixels) << c.l << "," << c.t;
    EXPECT_TRUE(p.guardsIntact());
  }
}

TEST(RasterPolygon, SquareFillAndOutlineCoverTheClosedSquare) {
  const Point sq[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
  Picture p(20, 20);
  Rasteriser r;
  Buffer b = p.buffer();
  r.polygon(b, sq, 4, 1, 0x000000, 0x00FF00, PenMode::Copy);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool border =
          (x >= 2 && x <= 12 && (y == 2 || y == 12)) || (y >= 2 && y <= 12 && (x == 2 || x == 12));
      const bool interior = x > 2 && x < 12 && y > 2 && y < 12;
      const uint32_t want = border ? 0xFF000000u : interior ? 0xFF00FF00u : White;
      EXPECT_EQ(p.at(x, y), want) << x << "," << y;
    }
}

TEST(RasterPolygon, ClearBrushLeavesTheInside) {
  const Point tri[] = {{2, 2}, {18, 2}, {10, 18}};
  Picture p(20, 20);
  Rasteriser r;
  Buffer b = p.buffer();
  r.polygon(b, tri, 3, 1, 0x000000, std::nullopt, PenMode::Copy);
  EXPECT_EQ(p.at(10, 8), White);
  EXPECT_EQ(p.at(10, 2), 0xFF000000u);
}

TEST(RasterEllipse, StaysInsideItsBoxAndFillsItsCentre) {
  struct Case {
    int l, t, r, b, w;
  };
  for (const Case c : {Case{5, 5, 25, 15, 1}, Case{5, 5, 25, 15, 3}, Case{3, 4, 6, 30, 2},
                       Case{25, 15, 5, 5, 1}}) {
    Picture p(40, 40);
    const auto before = p.pixels();
    Rasteriser r;
    Buffer b = p.buffer();
    r.ellipse(b, c.l, c.t, c.r, c.b, c.w, 0x0000FF, 0x00FF00, PenMode::Copy);
    const int l = std::min(c.l, c.r), rr = std::max(c.l, c.r);
    const int t = std::min(c.t, c.b), bb = std::max(c.t, c.b);
    for (const Pixel& px : p.differences(before)) {
      EXPECT_GE(px.first, l);
      EXPECT_LT(px.first, rr);
      EXPECT_GE(px.second, t);
      EXPECT_LT(px.second, bb);
    }
    // The extreme points of the ring are pen-coloured.
    EXPECT_EQ(p.at(l, (t + bb) / 2), 0xFF0000FFu);
    EXPECT_EQ(p.at((l + rr) / 2, t), 0xFF0000FFu);
    EXPECT_EQ(p.at(rr - 1, (t + bb) / 2), 0xFF0000FFu);
    if (rr - l > 2 * c.w + 2 && bb - t > 2 * c.w + 2) {
      EXPECT_EQ(p.at((l + rr) / 2, (t + bb) / 2), 0xFF00FF00u);
    }
  }
}

TEST(RasterEllipse, EmptyBoxDrawsNothing) {
  EXPECT_TRUE(footprint(10, 10, [&](Rasteriser& r, Buffer& b, PenMode m) {
                r.ellipse(b, 3, 3, 3, 8, 1, 0, 0xFF, m);
                r.ellipse(b, 3, 3, 8, 3, 1, 0, 0xFF, m);
              }).empty());
}

// ---------------------------------------------------------------------------
// Clipping: nothing outside the buffer, whatever the coordinates.

TEST(RasterClipping, NothingIsWrittenOutsideWhateverTheCoordinates) {
  const int big = 1000000;
  const std::vector<std::pair<Point, Point>> segments = {
      {{-5, 5}, {25, 5}},
      {{5, -5}, {5, 25}},
      {{-big, 7}, {big, 7}},
      {{7, -big}, {7, big}},
      {{-big, -big}, {big, big}},
      {{big, -big}, {-big, big}},
      {{-big, 3}, {big, 4}},
      {{19, 19}, {big, big}},
      {{-3, -3}, {0, 0}},
      {{INT_MIN, 0}, {INT_MAX, 19}},
      {{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}},
      {{0, 0}, {19, 0}},
      {{19, 0}, {19, 19}},
      {{0, 19}, {19, 19}},
      {{20, 0}, {20, 19}},
      {{-1, 0}, {-1, 19}},
      {{0, 20}, {19, 20}},
  };
  for (int w = 1; w <= 7; w += 2) {
    for (const auto& [a, b] : segments) {
      Picture p(20, 20);
      Rasteriser r;
      Buffer buf = p.buffer();
      r.line(buf, a, b, w, 0xFFFFFF, PenMode::Xor);
      const Point pl[] = {a, b, {10, 10}, a};
      r.polyline(buf, pl, 4, w, 0x00FF00, PenMode::Xor);
      r.polygon(buf, pl, 3, w, 0x0000FF, 0x00FF00, PenMode::Copy);
      r.ellipse(buf, a.x, a.y, b.x, b.y, w, 0xFF, 0xFF00, PenMode::Copy);
      EXPECT_TRUE(p.guardsIntact()) << a.x << "," << a.y << " " << b.x << "," << b.y << " w" << w;
    }
  }
}

TEST(RasterClipping, ClippedLinesKeepTheirUnclippedPixels) {
  // The part of a long line inside the buffer is the same as if the buffer
  // were larger: clipping must not bend the line.
  const Point a{-37, -11}, b{91, 53};
  Picture small(30, 30);
  Picture large(200, 200);
  Rasteriser r;
  Buffer sb = small.buffer();
  Buffer lb = large.buffer();
  const Point shift{60, 60};
  r.line(sb, a, b, 1, 0, PenMode::Copy);
  r.line(lb, {a.x + shift.x, a.y + shift.y}, {b.x + shift.x, b.y + shift.y}, 1, 0, PenMode::Copy);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      EXPECT_EQ(small.at(x, y), large.at(x + shift.x, y + shift.y)) << x << "," << y;
}

TEST(RasterClipping, HugeWideLineThroughTheBufferStillDraws) {
  const auto f = footprint(20, 20, [&](Rasteriser& r, Buffer& b, PenMode m) {
    r.line(b, {-1000000, 10}, {1000000, 10}, 2, 0, m);
  });
  EXPECT_EQ(f.size(), 40u);  // rows 9 and 10, full width
}

TEST(RasterClipping, EmptyOrMissingBufferIsHarmless) {
  Rasteriser r;
  Buffer none;
  r.line(none, {0, 0}, {10, 10}, 3, 0, PenMode::Copy);
  r.fillRect(none, 0, 0, 10, 10, 0, PenMode::Copy);
  const Point pts[] = {{0, 0}, {5, 5}, {0, 5}};
  r.polyline(none, pts, 3, 1, 0, PenMode::Xor);
  r.polygon(none, pts, 3, 1, 0, 0, PenMode::Copy);
  r.ellipse(none, 0, 0, 5, 5, 1, 0, 0, PenMode::Copy);
  EXPECT_TRUE(r.takeDirty().empty());
}

// ---------------------------------------------------------------------------
// Dirty area.

TEST(RasterDirty, CoversEveryChangedPixelAndResetsWhenTaken) {
  Picture p(50, 50);
  const auto before = p.pixels();
  Rasteriser r;
  Buffer b = p.buffer();
  r.line(b, {5, 7}, {30, 20}, 3, 0, PenMode::Copy);
  r.fillRect(b, 40, 40, 45, 48, 0, PenMode::Copy);
  const ui::raster::Rect d = r.takeDirty();
  for (const Pixel& px : p.differences(before)) {
    EXPECT_GE(px.first, d.left);
    EXPECT_LT(px.first, d.right);
    EXPECT_GE(px.second, d.top);
    EXPECT_LT(px.second, d.bottom);
  }
  EXPECT_EQ(d.bottom, 48);
  EXPECT_EQ(d.right, 45);
  EXPECT_TRUE(r.takeDirty().empty());
}

}  // namespace
