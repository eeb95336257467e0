#include "core/section/boundary_lines.h"

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

// Chainages at or beyond this are no soundings the surface line can take.
constexpr double SurfaceChainageLimit = 1e13;
// Start values of the nearest-candidate searches: any real distance beats them.
constexpr double InterfaceSearchStart = 1e11;
constexpr double EndSearchStart = 1e10;
// Averages of a line with nothing beyond the point: the worst a choice can see.
constexpr double NoStretchLowest = 1e10;
constexpr double NoStretchHighest = -1e10;

// Candidate elevations of a sounding for the ties: the surface first, then
// its interfaces top down.
int candidateCount(const SectionPoint& pt) {
  return lastLayerIndex(pt) + 1;
}

double candidateElevation(const SectionPoint& pt, int n) {
  return n == 0 ? double(pt.pointZ) : interfaceElevation(pt, n - 1);
}

double squared(double v) {
  return v * v;
}

// A user line of the profile as a growable view on its fixed slot.
struct UserLine {
  float* x;
  float* z;
  int n;
};

UserLine userLine(SectionProfile& p, int line) {
  return {p.HBV_x[line], p.HBV_z[line], std::clamp(p.HBV_pocetBodu[line], 0, MaxHbvVertices)};
}

// Consecutive vertices at the same chainage make a vertical edge, which no
// band interpolation can cross. After a removal the vertex that moved up is
// compared with the same predecessor, so a run of equal chainages collapses.
void dropRepeatedChainages(UserLine& l) {
  int j = 1;
  while (j < l.n) {
    if (l.x[j] == l.x[j - 1]) {
      std::copy(l.x + j + 1, l.x + l.n, l.x + j);
      std::copy(l.z + j + 1, l.z + l.n, l.z + j);
      --l.n;
    } else {
      ++j;
    }
  }
}

void runLeftToRight(UserLine& l) {
  if (l.n < 2 || !(l.x[0] > l.x[l.n - 1])) return;
  std::reverse(l.x, l.x + l.n);
  std::reverse(l.z, l.z + l.n);
}

// Ties line l to sounding pt: a vertex within the tolerances of an interface
// is moved onto it; otherwise the nearest interface gets a vertex of its own
// at the sounding. A full line keeps its shape instead of growing past its
// slot: the sounding is then simply not tied.
void tieToSounding(UserLine& l, const SectionPoint& pt, double tolX) {
  const double xk = pt.profileChainage;
  if (l.n < 1 || !(l.x[0] <= xk && xk <= l.x[l.n - 1])) return;

  int before = -1;
  for (int v = 0; v < l.n; ++v)
    if (l.x[v] < xk) before = v;

  double best = InterfaceSearchStart;
  double nearest = 0.0;
  bool found = false;
  bool tied = false;
  for (int v = 0; v < l.n; ++v) {
    for (int n = 0; n < candidateCount(pt); ++n) {
      const double e = candidateElevation(pt, n);
      const double d2 = squared(l.x[v] - xk) + squared(l.z[v] - e);
      if (!(d2 < best)) continue;
      best = d2;
      nearest = e;
      found = true;
      if (std::fabs(l.z[v] - e) < HbvTolZ && std::fabs(l.x[v] - xk) < tolX) {
        l.x[v] = float(xk);
        l.z[v] = float(e);
        tied = true;
      }
    }
  }
  if (tied || !found || l.n >= MaxHbvVertices) return;
  const int at = before + 1;
  std::copy_backward(l.x + at, l.x + l.n, l.x + l.n + 1);
  std::copy_backward(l.z + at, l.z + l.n, l.z + l.n + 1);
  l.x[at] = float(xk);
  l.z[at] = float(nearest);
  ++l.n;
}

// Pulls one end vertex of line `line` onto the nearest interface of any
// sounding, or, failing a tie within the tolerances, onto the nearest
// interface or same-side end of another line, however far.
void attachEnd(SectionProfile& p, int line, bool first, double tolX) {
  const int n = std::clamp(p.HBV_pocetBodu[line], 0, MaxHbvVertices);
  const int at = first ? 0 : n - 1;
  float& ex = p.HBV_x[line][at];
  float& ez = p.HBV_z[line][at];

  double best = EndSearchStart;
  double toX = 0.0, toZ = 0.0;
  bool found = false;
  bool attached = false;
  for (int k = 0; k < profilePointCount(p); ++k) {
    const SectionPoint& pt = p.points[k];
    for (int c = 0; c < candidateCount(pt); ++c) {
      const double e = candidateElevation(pt, c);
      const double d2 = squared(ex - double(pt.profileChainage)) + squared(ez - e);
      if (!(d2 < best)) continue;
      best = d2;
      toX = pt.profileChainage;
      toZ = e;
      found = true;
      if (std::fabs(ez - e) < HbvTolZ && std::fabs(ex - double(pt.profileChainage)) < tolX) {
        ex = float(toX);
        ez = float(toZ);
        attached = true;
      }
    }
  }
  if (attached) return;
  const int lines = std::clamp(p.HBV_pocet, 0, MaxHbvLines);
  for (int o = 0; o < lines; ++o) {
    const int on = std::clamp(p.HBV_pocetBodu[o], 0, MaxHbvVertices);
    if (o == line || on < 1) continue;
    const int oat = first ? 0 : on - 1;
    const double d2 = squared(ex - double(p.HBV_x[o][oat])) + squared(ez - double(p.HBV_z[o][oat]));
    if (!(d2 < best)) continue;
    best = d2;
    toX = p.HBV_x[o][oat];
    toZ = p.HBV_z[o][oat];
    found = true;
  }
  if (!found) return;
  ex = float(toX);
  ez = float(toZ);
}

int nearestVertexTo(const BoundaryLines& lines, int line, double x) {
  int nearest = -1;
  double best = 0.0;
  for (int j = 0; j < lines.vertexCount(line); ++j) {
    const double dist = std::fabs(lines.x(line, j) - x);
    if (nearest < 0 || dist < best) {
      nearest = j;
      best = dist;
    }
  }
  return nearest;
}

// The common search of findLineRight and findLineLeft: the stretch of a line
// beyond its vertex j towards xl decides which line encloses the layer.
LineFound findLine(const BoundaryLines& lines, int exaggeration, double x, double z, double xl,
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
      const int from = toRight ? j : 0;
      const int to = toRight ? n - 1 : j;
      for (int l = from; l <= to; ++l) {
        const double lx = lines.x(i, l);
        const bool inStretch = toRight ? (x < lx && lx <= xl) : (xl <= lx && lx < x);
        if (!inStretch) continue;
        sum += lines.z(i, l);
        ++count;
      }
      const double average =
          count > 0 ? sum / count : (lowest ? NoStretchLowest : NoStretchHighest);
      // A line through the point is always kept when it is the first found;
      // a later one only when strictly better, so the first wins ties.
      const bool better =
          found.line < 0 || (lowest ? average < bestAverage : average > bestAverage);
      if (!better) continue;
      found.line = i;
      found.vertex = j;
      bestAverage = average;
    }
  }
  if (found.line < 0) return found;
  const int atLimit = nearestVertexTo(lines, found.line, xl);
  if (atLimit >= 0 && std::fabs(lines.x(found.line, atLimit) - xl) < tolX)
    found.vertexAtLimit = atLimit;
  return found;
}

}  // namespace

int BoundaryLines::userCount() const {
  return std::clamp(profile_.HBV_pocet, 0, MaxHbvLines);
}

int BoundaryLines::vertexCount(int i) const {
  if (i == userCount()) return std::clamp(surface_.count, 0, MaxPointsPerProfile);
  if (i < 0 || i > userCount()) return 0;
  return std::clamp(profile_.HBV_pocetBodu[i], 0, MaxHbvVertices);
}

float BoundaryLines::x(int i, int j) const {
  if (j < 0 || j >= vertexCount(i)) return 0.0f;
  return i == userCount() ? surface_.x[j] : profile_.HBV_x[i][j];
}

float BoundaryLines::z(int i, int j) const {
  if (j < 0 || j >= vertexCount(i)) return 0.0f;
  return i == userCount() ? surface_.z[j] : profile_.HBV_z[i][j];
}

void buildSurfaceLine(const SectionProfile& profile, SurfaceLine& surface) {
  surface.count = 0;
  double last = -SurfaceChainageLimit;
  const int points = profilePointCount(profile);
  for (int n = 0; n < points; ++n) {
    int next = -1;
    for (int b = 0; b < points; ++b) {
      const double c = profile.points[b].profileChainage;
      if (c > last && c < SurfaceChainageLimit &&
          (next < 0 || c < profile.points[next].profileChainage))
        next = b;
    }
    // Nothing greater is left: every further search would find nothing too.
    if (next < 0) break;
    const SectionPoint& pt = profile.points[next];
    last = pt.profileChainage;
    surface.x[surface.count] = pt.profileChainage;
    surface.z[surface.count] = pt.pointZ;
    ++surface.count;
  }
}

void prepareBoundaryLines(SectionProfile& profile, SurfaceLine& surface,
                          const SectionLayout& layout, int exaggeration) {
  // The surface line has its own store: a profile of 420 soundings needs more
  // vertices than a line slot holds, and a profile read with all 200 lines has
  // no free slot for it.
  buildSurfaceLine(profile, surface);
  const double tolX = hbvTolX(exaggeration);
  const int lines = std::clamp(profile.HBV_pocet, 0, MaxHbvLines);
  const int points = profilePointCount(profile);

  for (int j = 0; j < lines; ++j) {
    // A line just opened by a double click (count -10) is left to the mouse.
    if (profile.HBV_pocetBodu[j] < 0) continue;
    UserLine l = userLine(profile, j);
    dropRepeatedChainages(l);
    runLeftToRight(l);
    for (int k = 0; k < points; ++k) tieToSounding(l, profile.points[k], tolX);
    profile.HBV_pocetBodu[j] = l.n;
  }

  const double zBottom = pixelToElevation(layout, layout.frameBottom);
  for (int j = 0; j < lines; ++j) {
    const int n = std::clamp(profile.HBV_pocetBodu[j], 0, MaxHbvVertices);
    if (n < 2) continue;
    for (bool first : {true, false}) {
      const int at = first ? 0 : n - 1;
      const double x = profile.HBV_x[j][at];
      const double z = profile.HBV_z[j][at];
      if (x < layout.dataMinChainage || x > layout.dataMaxChainage || z < zBottom) continue;
      attachEnd(profile, j, first, tolX);
    }
  }
}

LineFound findLineRight(const BoundaryLines& lines, int exaggeration, double x, double z, double xl,
                        double d, LineChoice choice) {
  return findLine(lines, exaggeration, x, z, xl, d, choice, true);
}

LineFound findLineLeft(const BoundaryLines& lines, int exaggeration, double x, double z, double xl,
                       double d, LineChoice choice) {
  return findLine(lines, exaggeration, x, z, xl, d, choice, false);
}

LineInterface lineInterfaceAt(const BoundaryLines& lines, int exaggeration, int line, int c,
                              double xc, double d) {
  LineInterface r;
  if (line < 0 || line >= lines.lineCount()) return r;
  r.nearestVertex = nearestVertexTo(lines, line, xc);
  const SectionProfile& p = lines.profile();
  if (c < 0 || c >= profilePointCount(p)) return r;
  const SectionPoint& pt = p.points[c];
  const int surfaceIndex = lastLayerIndex(pt);
  const double tolX = exaggeration * d;
  // Interfaces top down, then the surface: the last match wins, so the
  // surface beats an interface and a deeper interface a shallower one. The
  // entry under the half-space is no interface (the export writes the
  // drawing's lower edge into it), so index MDLmx stands for the surface.
  for (int i = 0; i <= surfaceIndex; ++i) {
    const double e = i == surfaceIndex ? double(pt.pointZ) : interfaceElevation(pt, i);
    for (int j = 0; j < lines.vertexCount(line); ++j) {
      if (std::fabs(lines.x(line, j) - xc) < tolX && std::fabs(lines.z(line, j) - e) < d) {
        r.interface = i;
        r.vertex = j;
        r.elevation = e;
      }
    }
  }
  return r;
}

}  // namespace orv
