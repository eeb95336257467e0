#include "core/section/boundary_lines.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// A sounding as the ties see it, gathered once for all lines: its chainage
// and its candidate elevations, the surface first, then its interfaces top
// down.
struct TieTarget {
  double x;
  int count;
  double e[MaxLayers];
};

std::vector<TieTarget> tieTargets(const SectionProfile& p) {
  std::vector<TieTarget> targets(profilePointCount(p));
  for (size_t k = 0; k < targets.size(); ++k) {
    const SectionPoint& pt = p.points[k];
    TieTarget& t = targets[k];
    t.x = pt.profileChainage;
    t.count = lastLayerIndex(pt) + 1;
    t.e[0] = pt.pointZ;
    for (int n = 1; n < t.count; ++n) t.e[n] = interfaceElevation(pt, n - 1);
  }
  return targets;
}

double squared(double v) {
  return v * v;
}

// The first index of [lo, hi) where pred stops holding; pred holds on a
// prefix of the range.
template <class Pred>
int firstFailing(int lo, int hi, Pred pred) {
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (pred(mid))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

// Chainages chainageAt(v) of n vertices rise strictly over the steps into
// the vertices from .. to (held within 1 .. n-1).
template <class ChainageAt>
bool risesInto(int n, ChainageAt chainageAt, int from, int to) {
  for (int v = std::max(from, 1); v <= std::min(to, n - 1); ++v)
    if (!(chainageAt(v - 1) < chainageAt(v))) return false;
  return true;
}

// The whole line rises: finite ends and every step up (which keeps every
// chainage between them finite too).
template <class ChainageAt>
bool risesWhole(int n, ChainageAt chainageAt) {
  return n > 0 && std::isfinite(chainageAt(0)) && std::isfinite(chainageAt(n - 1)) &&
         risesInto(n, chainageAt, 1, n - 1);
}

struct Run {
  int first;
  int last;  // one past
};

// The run of a rising sequence of n values whose distance from x, as
// |value - x| computes it, lies below tol. The rounded difference value - x
// never falls while the value rises, so the run is one piece.
template <class ValueAt>
Run runWithin(int n, ValueAt valueAt, double x, double tol) {
  const int first = firstFailing(0, n, [&](int j) { return !(double(valueAt(j)) - x > -tol); });
  return {first, firstFailing(first, n, [&](int j) { return double(valueAt(j)) - x < tol; })};
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

auto chainageOf(const UserLine& l) {
  return [&l](int v) { return l.x[v]; };
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

// What the nearest-interface search of a tie has found so far.
struct TieSearch {
  double best = InterfaceSearchStart;
  double nearest = 0.0;
  bool found = false;
  bool tied = false;
};

// The candidates of vertex v in their order: each one nearer than all before
// it becomes the nearest, and when it lies within the tolerances the vertex
// moves onto it at once, so its later candidates are measured from there.
void visitVertex(UserLine& l, int v, const TieTarget& t, double tolX, TieSearch& s) {
  const double xk = t.x;
  // A candidate is never nearer than the vertex's chainage alone.
  if (!(squared(l.x[v] - xk) < s.best)) return;
  for (int n = 0; n < t.count; ++n) {
    const double e = t.e[n];
    const double d2 = squared(l.x[v] - xk) + squared(l.z[v] - e);
    if (!(d2 < s.best)) continue;
    s.best = d2;
    s.nearest = e;
    s.found = true;
    if (std::fabs(l.z[v] - e) < HbvTolZ && std::fabs(l.x[v] - xk) < tolX) {
      l.x[v] = float(xk);
      l.z[v] = float(e);
      s.tied = true;
    }
  }
}

// The vertices before `end` of a line that rises, none of them near enough
// to move: the search only needs the first nearest of them. Walking left from
// `end`, the chainage alone grows, and once it is farther than the nearest
// found no vertex further left can match it.
void nearestBefore(const UserLine& l, int end, const TieTarget& t, TieSearch& s) {
  const double xk = t.x;
  for (int v = end - 1; v >= 0; --v) {
    if (squared(l.x[v] - xk) > s.best) break;
    double vBest = s.best;
    double vNearest = 0.0;
    bool vFound = false;
    for (int n = 0; n < t.count; ++n) {
      const double e = t.e[n];
      const double d2 = squared(l.x[v] - xk) + squared(l.z[v] - e);
      if (d2 < vBest || (!vFound && s.found && d2 == vBest)) {
        vBest = d2;
        vNearest = e;
        vFound = true;
      }
    }
    // An equal distance further left came first in the plain scan.
    if (vFound) {
      s.best = vBest;
      s.nearest = vNearest;
      s.found = true;
    }
  }
}

// Ties line l to sounding t: a vertex within the tolerances of an interface
// is moved onto it; otherwise the nearest interface gets a vertex of its own
// at the sounding. A full line keeps its shape instead of growing past its
// slot: the sounding is then simply not tied.
//
// The result is that of visiting every vertex and candidate in order. On a
// line that rises (`rises`, kept up to date here) only the vertices near the
// sounding are visited in full: those to the left of them count by their
// nearest candidate alone, and those to the right until the chainage alone is
// farther than the nearest found.
void tieToSounding(UserLine& l, bool& rises, const TieTarget& t, double tolX) {
  const double xk = t.x;
  if (l.n < 1 || !(l.x[0] <= xk && xk <= l.x[l.n - 1])) return;

  TieSearch s;
  int before = -1;
  Run near{0, 0};
  if (rises && tolX > 0) {
    // The near run and the vertices left of xk within it are a few at most:
    // one search finds the run's start, short walks the rest.
    near.first = firstFailing(0, l.n, [&](int v) { return !(l.x[v] - xk > -tolX); });
    for (near.last = near.first; near.last < l.n && l.x[near.last] - xk < tolX;) ++near.last;
    for (before = near.first - 1; before + 1 < l.n && l.x[before + 1] < xk;) ++before;
    nearestBefore(l, near.first, t, s);
    for (int v = near.first; v < near.last; ++v) visitVertex(l, v, t, tolX, s);
    for (int v = near.last; v < l.n && squared(l.x[v] - xk) < s.best; ++v)
      visitVertex(l, v, t, tolX, s);
    // The moved vertices lie in the near run: only the steps into and out of
    // it can have stopped rising.
    if (s.tied) rises = risesInto(l.n, chainageOf(l), near.first, near.last);
  } else {
    for (int v = 0; v < l.n; ++v)
      if (l.x[v] < xk) before = v;
    for (int v = 0; v < l.n; ++v) visitVertex(l, v, t, tolX, s);
  }
  if (s.tied || !s.found || l.n >= MaxHbvVertices) return;
  const int at = before + 1;
  std::copy_backward(l.x + at, l.x + l.n, l.x + l.n + 1);
  std::copy_backward(l.z + at, l.z + l.n, l.z + l.n + 1);
  l.x[at] = float(xk);
  l.z[at] = float(s.nearest);
  ++l.n;
  if (rises) rises = risesInto(l.n, chainageOf(l), at, at + 1);
}

// Pulls one end vertex of line `line` onto the nearest interface of any
// sounding, or, failing a tie within the tolerances, onto the nearest
// interface or same-side end of another line, however far.
void attachEnd(SectionProfile& p, int line, bool first, const std::vector<TieTarget>& targets,
               double tolX) {
  const int n = std::clamp(p.HBV_pocetBodu[line], 0, MaxHbvVertices);
  const int at = first ? 0 : n - 1;
  float& ex = p.HBV_x[line][at];
  float& ez = p.HBV_z[line][at];

  double best = EndSearchStart;
  double toX = 0.0, toZ = 0.0;
  bool found = false;
  bool attached = false;
  for (const TieTarget& t : targets) {
    // No interface of a sounding is nearer than its chainage alone.
    if (!(squared(ex - t.x) < best)) continue;
    for (int c = 0; c < t.count; ++c) {
      const double e = t.e[c];
      const double d2 = squared(ex - t.x) + squared(ez - e);
      if (!(d2 < best)) continue;
      best = d2;
      toX = t.x;
      toZ = e;
      found = true;
      if (std::fabs(ez - e) < HbvTolZ && std::fabs(ex - t.x) < tolX) {
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

// The vertex of a line with the chainage nearest to x, the first of equals.
// On a rising line the distances fall up to the first vertex at or beyond x
// and grow after it, so only its two sides and the equals left of them count.
int nearestVertexTo(const BoundaryLines& lines, int line, double x) {
  const int n = lines.vertexCount(line);
  auto dist = [&](int j) { return std::fabs(lines.x(line, j) - x); };
  if (!lines.rises(line)) {
    int nearest = -1;
    double best = 0.0;
    for (int j = 0; j < n; ++j) {
      if (nearest < 0 || dist(j) < best) {
        nearest = j;
        best = dist(j);
      }
    }
    return nearest;
  }
  if (n < 1) return -1;
  const int after = firstFailing(0, n, [&](int j) { return lines.x(line, j) - x < 0.0; });
  if (after == 0) return 0;
  if (after < n && dist(after) < dist(after - 1)) return after;
  int nearest = after - 1;
  while (nearest > 0 && dist(nearest - 1) == dist(nearest)) --nearest;
  return nearest;
}

// Sum and count of the elevations over the stretch of line i beyond its
// vertex j towards xl: from j on the vertices with x < chainage <= xl, or up
// to j those with xl <= chainage < x. They are added in index order, as a
// scan of the whole line adds them, so the average agrees to the last bit;
// on a rising line the stretch is one run and the walk stops at its end.
struct Stretch {
  double sum = 0.0;
  int count = 0;
};

Stretch stretchOf(const BoundaryLines& lines, int i, int j, double x, double xl, bool toRight) {
  const int n = lines.vertexCount(i);
  auto cx = [&](int l) { return double(lines.x(i, l)); };
  Stretch s;
  if (!lines.rises(i)) {
    const int from = toRight ? j : 0;
    const int to = toRight ? n - 1 : j;
    for (int l = from; l <= to; ++l) {
      const bool inStretch = toRight ? (x < cx(l) && cx(l) <= xl) : (xl <= cx(l) && cx(l) < x);
      if (!inStretch) continue;
      s.sum += lines.z(i, l);
      ++s.count;
    }
    return s;
  }
  int first = j, last = j;  // the run [first, last)
  if (toRight) {
    while (first < n && !(x < cx(first))) ++first;
    last = first;
    while (last < n && cx(last) <= xl) ++last;
  } else {
    last = j + 1;
    while (last > 0 && !(cx(last - 1) < x)) --last;
    first = last;
    while (first > 0 && xl <= cx(first - 1)) --first;
  }
  for (int l = first; l < last; ++l) s.sum += lines.z(i, l);
  s.count = last - first;
  return s;
}

// The common search of findLineRight and findLineLeft: the stretch of a line
// beyond its vertex j towards xl decides which line encloses the layer. The
// lines through the point come from the chainage index, taken in the order
// of lines and vertices, so the first found still wins ties.
LineFound findLine(const BoundaryLines& lines, int exaggeration, double x, double z, double xl,
                   double d, LineChoice choice, bool toRight) {
  const double tolX = exaggeration * d;
  const bool lowest = choice == LineChoice::Lowest;
  using Placed = BoundaryLines::PlacedVertex;
  std::vector<Placed> through;
  const std::span<const Placed> near = lines.verticesNear(x, tolX);
  // At one chainage the vertices rise in elevation: those within d of z are
  // one run there.
  for (int g = 0, n = int(near.size()); g < n;) {
    const int end = firstFailing(g + 1, n, [&](int k) { return near[k].x == near[g].x; });
    const Run run = runWithin(
        end - g, [&](int k) { return near[g + k].z; }, z, d);
    for (int k = g + run.first; k < g + run.last; ++k)
      if (std::fabs(near[k].x - x) < tolX && std::fabs(near[k].z - z) < d)
        through.push_back(near[k]);
    g = end;
  }
  auto inOrder = [](const Placed& a, const Placed& b) {
    return a.line != b.line ? a.line < b.line : a.vertex < b.vertex;
  };
  if (!std::is_sorted(through.begin(), through.end(), inOrder))
    std::sort(through.begin(), through.end(), inOrder);

  LineFound found;
  double bestAverage = 0.0;
  for (const Placed& v : through) {
    const Stretch s = stretchOf(lines, v.line, v.vertex, x, xl, toRight);
    const double average =
        s.count > 0 ? s.sum / s.count : (lowest ? NoStretchLowest : NoStretchHighest);
    // A line through the point is always kept when it is the first found;
    // a later one only when strictly better, so the first wins ties.
    const bool better = found.line < 0 || (lowest ? average < bestAverage : average > bestAverage);
    if (!better) continue;
    found.line = v.line;
    found.vertex = v.vertex;
    bestAverage = average;
  }
  if (found.line < 0) return found;
  const int atLimit = nearestVertexTo(lines, found.line, xl);
  if (atLimit >= 0 && std::fabs(lines.x(found.line, atLimit) - xl) < tolX)
    found.vertexAtLimit = atLimit;
  return found;
}

}  // namespace

BoundaryLines::BoundaryLines(const SectionProfile& profile, const SurfaceLine& surface)
    : profile_(profile) {
  const int users = std::clamp(profile.HBV_pocet, 0, MaxHbvLines);
  for (int i = 0; i < users; ++i)
    lines_.push_back({profile.HBV_x[i], profile.HBV_z[i],
                      std::clamp(profile.HBV_pocetBodu[i], 0, MaxHbvVertices), false});
  lines_.push_back(
      {surface.x, surface.z, std::clamp(surface.count, 0, MaxPointsPerProfile), false});
  for (int i = 0; i < lineCount(); ++i) {
    Line& l = lines_[i];
    l.rises = risesWhole(l.count, [&l](int j) { return l.x[j]; });
    // A vertex at no finite position is near no point.
    for (int j = 0; j < l.count; ++j)
      if (std::isfinite(l.x[j]) && std::isfinite(l.z[j]))
        byChainage_.push_back({l.x[j], l.z[j], i, j});
  }
  std::stable_sort(byChainage_.begin(), byChainage_.end(),
                   [](const PlacedVertex& a, const PlacedVertex& b) {
                     return a.x != b.x ? a.x < b.x : a.z < b.z;
                   });
}

std::span<const BoundaryLines::PlacedVertex> BoundaryLines::verticesNear(double x,
                                                                         double tolX) const {
  const Run r = runWithin(
      int(byChainage_.size()), [&](int k) { return byChainage_[k].x; }, x, tolX);
  return {byChainage_.data() + r.first, byChainage_.data() + r.last};
}

void buildSurfaceLine(const SectionProfile& profile, SurfaceLine& surface) {
  // The soundings in rising chainage, the lowest index first among equal
  // chainages, which then give their one vertex.
  auto chainage = [&](int b) { return profile.points[b].profileChainage; };
  std::vector<int> order;
  for (int b = 0; b < profilePointCount(profile); ++b)
    if (chainage(b) > -SurfaceChainageLimit && chainage(b) < SurfaceChainageLimit)
      order.push_back(b);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return chainage(a) < chainage(b); });
  surface.count = 0;
  for (int b : order) {
    if (surface.count > 0 && !(chainage(b) > surface.x[surface.count - 1])) continue;
    surface.x[surface.count] = chainage(b);
    surface.z[surface.count] = profile.points[b].pointZ;
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
  const std::vector<TieTarget> targets = tieTargets(profile);

  for (int j = 0; j < lines; ++j) {
    // A line just opened by a double click (count -10) is left to the mouse.
    if (profile.HBV_pocetBodu[j] < 0) continue;
    UserLine l = userLine(profile, j);
    dropRepeatedChainages(l);
    runLeftToRight(l);
    bool rises = risesWhole(l.n, chainageOf(l));
    for (const TieTarget& t : targets) tieToSounding(l, rises, t, tolX);
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
      attachEnd(profile, j, first, targets, tolX);
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
  // Only the line's vertices beside the sounding can meet one of its
  // interfaces; on a rising line they are one run.
  const int n = lines.vertexCount(line);
  const Run run = lines.rises(line) ? runWithin(
                                          n, [&](int j) { return lines.x(line, j); }, xc, tolX)
                                    : Run{0, n};
  int beside[std::max(MaxHbvVertices, MaxPointsPerProfile)];
  int besideCount = 0;
  for (int j = run.first; j < run.last; ++j)
    if (std::fabs(lines.x(line, j) - xc) < tolX) beside[besideCount++] = j;
  // Interfaces top down, then the surface: the last match wins, so the
  // surface beats an interface and a deeper interface a shallower one. The
  // entry under the half-space is no interface (the export writes the
  // drawing's lower edge into it), so index MDLmx stands for the surface.
  for (int i = 0; i <= surfaceIndex; ++i) {
    const double e = i == surfaceIndex ? double(pt.pointZ) : interfaceElevation(pt, i);
    for (int b = 0; b < besideCount; ++b) {
      const int j = beside[b];
      if (std::fabs(lines.z(line, j) - e) < d) {
        r.interface = i;
        r.vertex = j;
        r.elevation = e;
      }
    }
  }
  return r;
}

}  // namespace orv
