#include "core/interpretation/bspline.h"

#include <array>
#include <cmath>
#include <vector>

namespace orv {
namespace {

// The drawn spline never has more points than this buffer holds.
constexpr int MaxSplinePoints = 400;
constexpr int MinSplinePoints = 2;

// Pixel conversion truncates toward zero; values far off the bitmap are
// pinned so that the conversion stays defined.
int toPixel(float v) {
  constexpr float Limit = 1.0e6f;
  if (std::isnan(v)) return 0;
  if (v > Limit) v = Limit;
  if (v < -Limit) v = -Limit;
  return static_cast<int>(v);
}

// One level of the Cox-de Boor recursion over integer knots u, in single
// precision, with the zero-length-interval rule: N_{k,t}(v) from N_{k,t-1}(v)
// (lower) and N_{k+1,t-1}(v) (lowerNext).
float blendingStep(const int* u, int k, int t, float v, float lower, float lowerNext) {
  const bool leftEmpty = u[k + t - 1] == u[k];
  const bool rightEmpty = u[k + t] == u[k + 1];
  if (leftEmpty && rightEmpty) return 0.0f;
  float left = 0.0f;
  float right = 0.0f;
  if (!leftEmpty) {
    const float w = (v - static_cast<float>(u[k])) / static_cast<float>(u[k + t - 1] - u[k]);
    left = w * lower;
  }
  if (!rightEmpty) {
    const float w = (static_cast<float>(u[k + t]) - v) / static_cast<float>(u[k + t] - u[k + 1]);
    right = w * lowerNext;
  }
  if (leftEmpty) return right;
  if (rightEmpty) return left;
  return left + right;
}

// N_{k,t}(v) for k = 0..n into basis[0..n]. The recursion is evaluated level
// by level (each N_{j,q} once, by exactly the formula the recursion uses), so
// the values are those of the plain recursion without its 2^(t-1) calls per
// value, which would stall the window for a high order.
void blendingValues(const int* u, int n, int t, float v, float* basis) {
  const int top = n + t;  // N_{j,1} for j = 0..top-1
  for (int j = 0; j < top; ++j)
    basis[j] = (static_cast<float>(u[j]) <= v && v < static_cast<float>(u[j + 1])) ? 1.0f : 0.0f;
  for (int q = 2; q <= t; ++q)
    for (int j = 0; j <= top - q; ++j) basis[j] = blendingStep(u, j, q, v, basis[j], basis[j + 1]);
}

void drawPolyline(ui::Canvas& canvas, const CurvePoint* points, int n) {
  std::vector<ui::Point> line(static_cast<size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) line[i] = {toPixel(points[i].x), toPixel(points[i].y)};
  canvas.polyline(line.data(), n + 1);
}

// Clamped uniform B-spline of order t with the points as control points,
// sampled at r parameter values; the last sample is the last point itself.
void drawSpline(ui::Canvas& canvas, const CurvePoint* points, int n, int t, int r) {
  std::vector<int> knots(static_cast<size_t>(n + t + 1));
  for (int j = 0; j <= n + t; ++j) {
    if (j < t)
      knots[j] = 0;
    else if (j <= n)
      knots[j] = j - t + 1;
    else
      knots[j] = n - t + 2;
  }
  std::vector<float> basis(static_cast<size_t>(n + t));
  std::array<ui::Point, MaxSplinePoints> out;
  const float step = static_cast<float>(n - t + 2) / static_cast<float>(r - 1);
  float v = 0.0f;
  for (int i = 0; i < r - 1; ++i) {
    float x = 0.0f;
    float y = 0.0f;
    blendingValues(knots.data(), n, t, v, basis.data());
    for (int k = 0; k <= n; ++k) {
      x += basis[k] * points[k].x;
      y += basis[k] * points[k].y;
    }
    out[i] = {toPixel(x), toPixel(y)};
    v += step;
  }
  // The blending functions vanish at the right end of the half-open last
  // knot interval, so the end point is taken as it is.
  out[r - 1] = {toPixel(points[n].x), toPixel(points[n].y)};
  canvas.polyline(out.data(), r);
}

}  // namespace

void drawSmoothCurve(ui::Canvas& canvas, const CurveWindowState& s, const CurvePoint* points,
                     int n) {
  if (n <= 0 || points == nullptr) return;
  const bool smooth = s.splineAllCurves && s.gridMaxIndex - s.gridMinIndex >= 2 && n > 1;
  // The recursion starts at order 1 (the knot intervals' indicators); an
  // order below it defines no curve, and the polyline stands in for it.
  if (!smooth || s.splineDegree < 1) {
    drawPolyline(canvas, points, n);
    return;
  }
  // More order than points would make the knot vector run backwards; with
  // n + 1 points the highest order is n + 1 (one Bezier piece).
  int order = s.splineDegree;
  if (order > n + 1) order = n + 1;
  int resolution = s.splineResolution;
  if (resolution < MinSplinePoints) resolution = MinSplinePoints;
  if (resolution > MaxSplinePoints) resolution = MaxSplinePoints;
  drawSpline(canvas, points, n, order, resolution);
}

}  // namespace orv
