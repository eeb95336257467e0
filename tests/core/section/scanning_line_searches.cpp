#include "tests/core/section/scanning_line_searches.h"

#include <algorithm>
#include <cmath>

namespace orv::testing {
namespace {

double sq(double v) {
  return v * v;
}
double candidate(const SectionPoint& pt, int n) {
  return n == 0 ? double(pt.pointZ) : interfaceElevation(pt, n - 1);
}
int nearestVertex(const BoundaryLines& lines, int line, double x) {
  int nearest = -1;
  double best = 0.0;
  for (int j = 0; j < lines.vertexCount(line); ++j)
    if (nearest < 0 || std::fabs(lines.x(line, j) - x) < best)
      nearest = j, best = std::fabs(lines.x(line, j) - x);
  return nearest;
}

void tie(float* x, float* z, int& n, const SectionPoint& pt, double tolX) {
  const double xk = pt.profileChainage;
  if (n < 1 || !(x[0] <= xk && xk <= x[n - 1])) return;
  int before = -1;
  for (int v = 0; v < n; ++v)
    if (x[v] < xk) before = v;
  double best = 1e11, nearest = 0.0;
  bool found = false, tied = false;
  for (int v = 0; v < n; ++v)
    for (int c = 0; c <= lastLayerIndex(pt); ++c) {
      const double e = candidate(pt, c), d2 = sq(x[v] - xk) + sq(z[v] - e);
      if (!(d2 < best)) continue;
      best = d2, nearest = e, found = true;
      if (std::fabs(z[v] - e) < HbvTolZ && std::fabs(x[v] - xk) < tolX)
        x[v] = float(xk), z[v] = float(e), tied = true;
    }
  if (tied || !found || n >= MaxHbvVertices) return;
  std::copy_backward(x + before + 1, x + n, x + n + 1);
  std::copy_backward(z + before + 1, z + n, z + n + 1);
  x[before + 1] = float(xk), z[before + 1] = float(nearest), ++n;
}

void attach(SectionProfile& p, int line, bool first, double tolX) {
  const int n = std::clamp(p.HBV_pocetBodu[line], 0, MaxHbvVertices);
  float& ex = p.HBV_x[line][first ? 0 : n - 1];
  float& ez = p.HBV_z[line][first ? 0 : n - 1];
  double best = 1e10, toX = 0.0, toZ = 0.0;
  bool found = false, attached = false;
  for (int k = 0; k < profilePointCount(p); ++k)
    for (int c = 0; c <= lastLayerIndex(p.points[k]); ++c) {
      const double xk = p.points[k].profileChainage, e = candidate(p.points[k], c);
      const double d2 = sq(ex - xk) + sq(ez - e);
      if (!(d2 < best)) continue;
      best = d2, toX = xk, toZ = e, found = true;
      if (std::fabs(ez - e) < HbvTolZ && std::fabs(ex - xk) < tolX)
        ex = float(toX), ez = float(toZ), attached = true;
    }
  if (attached) return;
  for (int o = 0; o < std::clamp(p.HBV_pocet, 0, MaxHbvLines); ++o) {
    const int on = std::clamp(p.HBV_pocetBodu[o], 0, MaxHbvVertices);
    if (o == line || on < 1) continue;
    const float ox = p.HBV_x[o][first ? 0 : on - 1], oz = p.HBV_z[o][first ? 0 : on - 1];
    const double d2 = sq(ex - double(ox)) + sq(ez - double(oz));
    if (d2 < best) best = d2, toX = ox, toZ = oz, found = true;
  }
  if (found) ex = float(toX), ez = float(toZ);
}

LineFound find(const BoundaryLines& lines, int exaggeration, double x, double z, double xl,
               double d, LineChoice choice, bool toRight) {
  const double tolX = exaggeration * d;
  const bool lowest = choice == LineChoice::Lowest;
  LineFound found;
  double bestAverage = 0.0;
  for (int i = 0; i < lines.lineCount(); ++i) {
    const int n = lines.vertexCount(i);
    for (int j = 0; j < n; ++j) {
      if (!(std::fabs(lines.x(i, j) - x) < tolX && std::fabs(lines.z(i, j) - z) < d)) continue;
      double sum = 0.0;
      int count = 0;
      for (int l = toRight ? j : 0; l <= (toRight ? n - 1 : j); ++l) {
        const double lx = lines.x(i, l);
        if (toRight ? (x < lx && lx <= xl) : (xl <= lx && lx < x)) sum += lines.z(i, l), ++count;
      }
      const double average = count > 0 ? sum / count : (lowest ? 1e10 : -1e10);
      if (found.line < 0 || (lowest ? average < bestAverage : average > bestAverage))
        found.line = i, found.vertex = j, bestAverage = average;
    }
  }
  if (found.line < 0) return found;
  const int atLimit = nearestVertex(lines, found.line, xl);
  if (atLimit >= 0 && std::fabs(lines.x(found.line, atLimit) - xl) < tolX)
    found.vertexAtLimit = atLimit;
  return found;
}

}  // namespace

void scanningPrepare(SectionProfile& p, SurfaceLine& surface, const SectionLayout& layout,
                     int exaggeration) {
  buildSurfaceLine(p, surface);
  const double tolX = hbvTolX(exaggeration);
  const int lines = std::clamp(p.HBV_pocet, 0, MaxHbvLines);
  for (int j = 0; j < lines; ++j) {
    if (p.HBV_pocetBodu[j] < 0) continue;
    float *x = p.HBV_x[j], *z = p.HBV_z[j];
    int n = std::clamp(p.HBV_pocetBodu[j], 0, MaxHbvVertices);
    for (int v = 1; v < n;)
      if (x[v] == x[v - 1]) {
        std::copy(x + v + 1, x + n, x + v), std::copy(z + v + 1, z + n, z + v), --n;
      } else {
        ++v;
      }
    if (n >= 2 && x[0] > x[n - 1]) std::reverse(x, x + n), std::reverse(z, z + n);
    for (int k = 0; k < profilePointCount(p); ++k) tie(x, z, n, p.points[k], tolX);
    p.HBV_pocetBodu[j] = n;
  }
  const double zBottom = pixelToElevation(layout, layout.frameBottom);
  for (int j = 0; j < lines; ++j) {
    const int n = std::clamp(p.HBV_pocetBodu[j], 0, MaxHbvVertices);
    if (n < 2) continue;
    for (bool first : {true, false}) {
      const double x = p.HBV_x[j][first ? 0 : n - 1], z = p.HBV_z[j][first ? 0 : n - 1];
      if (x < layout.dataMinChainage || x > layout.dataMaxChainage || z < zBottom) continue;
      attach(p, j, first, tolX);
    }
  }
}

LineFound scanningFindRight(const BoundaryLines& lines, int exaggeration, double x, double z,
                            double xl, double d, LineChoice choice) {
  return find(lines, exaggeration, x, z, xl, d, choice, true);
}

LineFound scanningFindLeft(const BoundaryLines& lines, int exaggeration, double x, double z,
                           double xl, double d, LineChoice choice) {
  return find(lines, exaggeration, x, z, xl, d, choice, false);
}

LineInterface scanningInterfaceAt(const BoundaryLines& lines, int exaggeration, int line, int c,
                                  double xc, double d) {
  LineInterface r;
  if (line < 0 || line >= lines.lineCount()) return r;
  r.nearestVertex = nearestVertex(lines, line, xc);
  const SectionProfile& p = lines.profile();
  if (c < 0 || c >= profilePointCount(p)) return r;
  const SectionPoint& pt = p.points[c];
  const int top = lastLayerIndex(pt);
  for (int i = 0; i <= top; ++i) {
    const double e = i == top ? double(pt.pointZ) : interfaceElevation(pt, i);
    for (int j = 0; j < lines.vertexCount(line); ++j)
      if (std::fabs(lines.x(line, j) - xc) < exaggeration * d &&
          std::fabs(lines.z(line, j) - e) < d)
        r.interface = i, r.vertex = j, r.elevation = e;
  }
  return r;
}

}  // namespace orv::testing
