#include "core/interpretation/bspline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/zeroed_block.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv {
namespace {

using testing_support::CallKind;
using testing_support::RecordingCanvas;

class BsplineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->splineAllCurves = true;
    s->splineDegree = 3;
    s->splineResolution = 128;
    s->gridMinIndex = 0;
    s->gridMaxIndex = 20;
  }

  // The points of the one polyline drawn (fails when there is not exactly one).
  std::vector<ui::Point> draw(const std::vector<CurvePoint>& pts) {
    canvas.clear();
    drawSmoothCurve(canvas, *s, pts.data(), static_cast<int>(pts.size()) - 1);
    const auto lines = canvas.ofKind(CallKind::Polyline);
    EXPECT_EQ(canvas.calls.size(), lines.size());
    EXPECT_EQ(1u, lines.size());
    return lines.empty() ? std::vector<ui::Point>{} : lines[0].points;
  }

  ZeroedBlock<CurveWindowState> s;
  RecordingCanvas canvas{800, 600};
};

std::vector<CurvePoint> zigzag(int count) {
  std::vector<CurvePoint> pts;
  for (int i = 0; i < count; ++i)
    pts.push_back({30.7f + 17.3f * i, (i % 2 ? 210.9f : 120.2f) + 3.1f * i});
  return pts;
}

bool samePoint(ui::Point a, ui::Point b) {
  return a.x == b.x && a.y == b.y;
}

TEST_F(BsplineTest, FewerThanTwoPointsDrawNothing) {
  const CurvePoint one[1] = {{10, 10}};
  drawSmoothCurve(canvas, *s, one, 0);
  drawSmoothCurve(canvas, *s, one, -3);
  drawSmoothCurve(canvas, *s, nullptr, 5);
  EXPECT_TRUE(canvas.calls.empty());
}

struct PolylineCase {
  const char* name;
  bool smoothing;
  int gridMin, gridMax;
  int degree;
  int count;
};

class BsplinePolylineTest : public BsplineTest,
                            public ::testing::WithParamInterface<PolylineCase> {};

// Whenever the spline is not used, the curve is the polyline through the
// points, each coordinate truncated toward zero.
TEST_P(BsplinePolylineTest, DrawsThePlainPolyline) {
  const PolylineCase& p = GetParam();
  s->splineAllCurves = p.smoothing;
  s->gridMinIndex = p.gridMin;
  s->gridMaxIndex = p.gridMax;
  s->splineDegree = p.degree;
  std::vector<CurvePoint> pts = zigzag(p.count);
  pts[0] = {-2.7f, 5.99f};
  const auto drawn = draw(pts);
  ASSERT_EQ(pts.size(), drawn.size());
  for (size_t i = 0; i < pts.size(); ++i) {
    EXPECT_EQ(static_cast<int>(std::trunc(pts[i].x)), drawn[i].x) << i;
    EXPECT_EQ(static_cast<int>(std::trunc(pts[i].y)), drawn[i].y) << i;
  }
  EXPECT_EQ(-2, drawn[0].x);
  EXPECT_EQ(5, drawn[0].y);
}

INSTANTIATE_TEST_SUITE_P(Cases, BsplinePolylineTest,
                         ::testing::Values(PolylineCase{"SmoothingOff", false, 0, 20, 3, 6},
                                           PolylineCase{"SpanOfOneGridStep", true, 4, 5, 3, 6},
                                           PolylineCase{"SpanOfNoGridStep", true, 7, 7, 3, 6},
                                           PolylineCase{"TwoPointsOnly", true, 0, 20, 3, 2},
                                           PolylineCase{"OrderZero", true, 0, 20, 0, 6},
                                           PolylineCase{"NegativeOrder", true, 0, 20, -4, 6}),
                         [](const ::testing::TestParamInfo<PolylineCase>& i) {
                           return i.param.name;
                         });

// Order 1: the blending functions are the indicators of the knot intervals
// [k, k+1), so each sample is the control point whose interval holds its
// parameter. Six points, four samples: step 6/3 = 2 gives points 0, 2, 4 and
// the last point.
TEST_F(BsplineTest, OrderOneSamplesTheControlPointOfEachParameter) {
  s->splineDegree = 1;
  s->splineResolution = 4;
  const auto pts = zigzag(6);
  const auto drawn = draw(pts);
  ASSERT_EQ(4u, drawn.size());
  const int picked[4] = {0, 2, 4, 5};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(static_cast<int>(pts[picked[i]].x), drawn[i].x) << i;
    EXPECT_EQ(static_cast<int>(pts[picked[i]].y), drawn[i].y) << i;
  }
}

TEST_F(BsplineTest, SpanOfExactlyTwoGridStepsIsSmoothed) {
  s->gridMinIndex = 3;
  s->gridMaxIndex = 5;
  EXPECT_EQ(128u, draw(zigzag(5)).size());
}

TEST_F(BsplineTest, TwentyPointsGiveTheResolutionsPointCountWithExactEnds) {
  const auto pts = zigzag(20);
  const auto drawn = draw(pts);
  ASSERT_EQ(128u, drawn.size());
  EXPECT_TRUE(samePoint({30, 120}, drawn.front()));
  EXPECT_EQ(static_cast<int>(pts.back().x), drawn.back().x);
  EXPECT_EQ(static_cast<int>(pts.back().y), drawn.back().y);
}

// The spline smooths: in between it does not follow the zigzag's corners.
TEST_F(BsplineTest, InteriorDoesNotPassThroughTheCorners) {
  // Corners at y = 120 + 3.1 i (even i) and 210 + 3.1 i (odd i); the ends
  // are even.
  const auto drawn = draw(zigzag(9));
  int highest = 0;
  for (const ui::Point& p : drawn) highest = std::max(highest, p.y);
  EXPECT_LT(highest, 215);
  EXPECT_GT(highest, 150);
}

TEST_F(BsplineTest, ThreePointsAtFullOrderGiveTheQuadraticBezier) {
  s->splineResolution = 3;
  const auto drawn = draw({{0, 0}, {100, 200}, {200, 0}});
  ASSERT_EQ(3u, drawn.size());
  EXPECT_TRUE(samePoint({0, 0}, drawn[0]));
  EXPECT_TRUE(samePoint({100, 100}, drawn[1]));
  EXPECT_TRUE(samePoint({200, 0}, drawn[2]));
}

// The blending functions sum to one everywhere on the parameter range, so a
// curve through one repeated point stays on it.
TEST_F(BsplineTest, RepeatedPointStaysPut) {
  for (int degree : {2, 3, 4, 5}) {
    s->splineDegree = degree;
    const auto drawn = draw(std::vector<CurvePoint>(9, CurvePoint{50.5f, 70.9f}));
    ASSERT_EQ(128u, drawn.size());
    for (const ui::Point& p : drawn) {
      EXPECT_EQ(50, p.x) << degree;
      EXPECT_EQ(70, p.y) << degree;
    }
  }
}

// Evenly spaced points on a line: the uniform spline runs along the line.
TEST_F(BsplineTest, CollinearPointsStayOnTheirLine) {
  std::vector<CurvePoint> pts;
  for (int i = 0; i < 12; ++i) pts.push_back({10.0f * i, 20.0f * i});
  int lastX = -1;
  for (const ui::Point& p : draw(pts)) {
    EXPECT_NEAR(2 * p.x, p.y, 2.01);
    EXPECT_GE(p.x, lastX);
    lastX = p.x;
  }
}

struct ResolutionCase {
  int resolution;
  size_t drawn;
};

class BsplineResolutionTest : public BsplineTest,
                              public ::testing::WithParamInterface<ResolutionCase> {};

TEST_P(BsplineResolutionTest, ResolutionIsKeptBetweenTwoAndFourHundred) {
  s->splineResolution = GetParam().resolution;
  const auto pts = zigzag(30);
  const auto drawn = draw(pts);
  ASSERT_EQ(GetParam().drawn, drawn.size());
  EXPECT_TRUE(samePoint({30, 120}, drawn.front()));
  EXPECT_EQ(static_cast<int>(pts.back().x), drawn.back().x);
}

INSTANTIATE_TEST_SUITE_P(Cases, BsplineResolutionTest,
                         ::testing::Values(ResolutionCase{-5, 2}, ResolutionCase{0, 2},
                                           ResolutionCase{1, 2}, ResolutionCase{2, 2},
                                           ResolutionCase{3, 3}, ResolutionCase{399, 399},
                                           ResolutionCase{400, 400}, ResolutionCase{401, 400},
                                           ResolutionCase{100000, 400}));

// An order above the number of points is drawn with the highest order the
// points allow.
TEST_F(BsplineTest, OrderAboveThePointCountIsCappedAtPointCount) {
  const auto pts = zigzag(4);
  s->splineDegree = 4;
  const auto capped = draw(pts);
  for (int degree : {5, 9, 1000}) {
    s->splineDegree = degree;
    const auto drawn = draw(pts);
    ASSERT_EQ(capped.size(), drawn.size());
    for (size_t i = 0; i < drawn.size(); ++i) EXPECT_TRUE(samePoint(capped[i], drawn[i])) << i;
  }
}

TEST_F(BsplineTest, HighOrderOnManyPointsFinishesWithExactEnds) {
  s->splineDegree = 60;
  s->splineResolution = 400;
  const auto pts = zigzag(200);
  const auto drawn = draw(pts);
  ASSERT_EQ(400u, drawn.size());
  EXPECT_TRUE(samePoint({30, 120}, drawn.front()));
  EXPECT_EQ(static_cast<int>(pts.back().x), drawn.back().x);
  EXPECT_EQ(static_cast<int>(pts.back().y), drawn.back().y);
}

TEST_F(BsplineTest, PointsFarOffTheBitmapArePinned) {
  s->splineAllCurves = false;
  const auto drawn = draw({{1e30f, -1e30f}, {NAN, 5.0f}});
  ASSERT_EQ(2u, drawn.size());
  EXPECT_EQ(1000000, drawn[0].x);
  EXPECT_EQ(-1000000, drawn[0].y);
}

}  // namespace
}  // namespace orv
