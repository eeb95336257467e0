#include "core/section/layer_colouring.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace orv {
namespace {

// Tolerance of the line searches beside a sounding, m (horizontally times the
// exaggeration).
constexpr double SearchTol = 0.01;
// Two lines closer than this at the neighbour meet there: the layer wedges out.
constexpr double WedgeGap = 0.05;
// A line from the neighbour's deepest interface that arrives this close to a
// layer's top closes the neighbour's half-space against it.
constexpr double DeepTieGap = 0.075;
// Soundings farther apart than this are no neighbours.
constexpr double NeighbourReach = 1e6;
// Start score of the end extension's reach: every real vertex beats it.
constexpr double ReachStart = -1e9;

struct Vertex {
  double x;
  double z;
};

double deepestInterface(const SectionPoint& pt) {
  const int last = lastLayerIndex(pt);
  return last > 0 ? interfaceElevation(pt, last - 1) : double(pt.pointZ);
}

float layerRhoOf(const SectionPoint& pt, int layer) {
  return std::fabs(pt.layerRho[std::clamp(layer, 0, lastLayerIndex(pt))]);
}

// The layer of c just above interface i where a band's bottom line arrives,
// and the layer just below it where its top line arrives. A line that meets
// c's surface (index MDLmx in the searches) or nothing has only the top layer
// of c beside it.
float rhoAbove(const SectionPoint& pt, int i) {
  return layerRhoOf(pt, (i < 0 || i >= lastLayerIndex(pt)) ? 0 : i);
}
float rhoBelow(const SectionPoint& pt, int i) {
  return layerRhoOf(pt, (i < 0 || i >= lastLayerIndex(pt)) ? 0 : i + 1);
}

// Where edge (a, b) crosses elevation z (a at or above z, b below it).
Vertex crossingAt(double ax, double az, double bx, double bz, double z) {
  return {ax + (bx - ax) * (z - az) / (bz - az), z};
}

struct Neighbours {
  int left = -1;
  int right = -1;
};

// The nearest sounding on each side by chainage; the lower index wins ties.
Neighbours neighboursOf(const SectionProfile& p, int k) {
  Neighbours n;
  double bestLeft = NeighbourReach, bestRight = NeighbourReach;
  const double xk = p.points[k].profileChainage;
  for (int b = 0; b < profilePointCount(p); ++b) {
    const double dx = double(p.points[b].profileChainage) - xk;
    if (dx < 0.0 && -dx < bestLeft) {
      bestLeft = -dx;
      n.left = b;
    } else if (dx > 0.0 && dx < bestRight) {
      bestRight = dx;
      n.right = b;
    }
  }
  return n;
}

// One layer of one sounding, as both passes see it.
struct Layer {
  int k;
  double xk;
  double surface;
  int o;
  int last;
  float rho;
  double zTop;
  double zBot;
  bool top() const { return o == 0; }
  bool halfSpace() const { return o == last; }
};

// A line and a run of its vertices, from <= to by index.
struct LineRun {
  int line = -1;
  int from = 0;
  int to = -1;
};

class ColouringPass {
 public:
  ColouringPass(const SectionProfile& p, const BoundaryLines& lines, const LineSearches& search,
                const SectionWindowState& view, const BandWriter& write)
      : p_(p),
        lines_(lines),
        search_(search),
        exaggeration_(view.exaggeration),
        zBottom_(pixelToElevation(view.layout, view.layout.frameBottom)),
        frameLeftX_(pixelToChainage(view.layout, view.layout.frameLeft)),
        frameRightX_(pixelToChainage(view.layout, view.layout.frameRight)),
        write_(write) {}

  double zBottom() const { return zBottom_; }

  Layer layer(int k, int o) const {
    const SectionPoint& pt = p_.points[k];
    Layer l{
        k,  pt.profileChainage, pt.pointZ, o, lastLayerIndex(pt), std::fabs(pt.layerRho[o]), 0.0,
        0.0};
    l.zTop = o == 0 ? double(pt.pointZ) : interfaceElevation(pt, o - 1);
    l.zBot = o < l.last ? interfaceElevation(pt, o) : zBottom_;
    return l;
  }

  void bandToRight(const Layer& l, int c);
  void lensToRight(int k, int i, int c);
  void extendToEdge(const Layer& l, bool leftSide);
  void deepToLeft(const Layer& l, int b);
  void deepToRight(const Layer& l, int c);
  void wedgeToLeft(const Layer& l, int b);

 private:
  LineFound right(double x, double z, double xl, LineChoice ch) const {
    return search_.right(lines_, exaggeration_, x, z, xl, SearchTol, ch);
  }
  LineFound left(double x, double z, double xl, LineChoice ch) const {
    return search_.left(lines_, exaggeration_, x, z, xl, SearchTol, ch);
  }
  LineInterface at(const LineFound& f, int c) const {
    return search_.at(lines_, exaggeration_, f.line, c, p_.points[c].profileChainage, SearchTol);
  }
  double vx(int line, int j) const { return lines_.x(line, j); }
  double vz(int line, int j) const { return lines_.z(line, j); }

  // Vertices from..to of a line, walking either way.
  void addRun(BandPolygon& poly, int line, int from, int to) const {
    const int step = from <= to ? 1 : -1;
    for (int j = from;; j += step) {
      poly.add(vx(line, j), vz(line, j));
      if (j == to) break;
    }
  }
  // Vertices of a line from `from` in direction step until one lies below
  // the frame's lower edge; that one is replaced by the edge's crossing.
  void addRunAboveBottom(BandPolygon& poly, int line, int from, int to, int step) const {
    for (int j = from; step > 0 ? j <= to : j >= to; j += step) {
      if (vz(line, j) < zBottom_) {
        if (j == from) {
          poly.add(vx(line, j), zBottom_);
        } else {
          const int prev = j - step;
          const Vertex v =
              crossingAt(vx(line, prev), vz(line, prev), vx(line, j), vz(line, j), zBottom_);
          poly.add(v.x, v.z);
        }
        return;
      }
      poly.add(vx(line, j), vz(line, j));
    }
  }
  bool insideFrame(double x) const { return frameLeftX_ < x && x < frameRightX_; }
  LineRun reachingLine(const Layer& l, double z, bool leftSide) const;
  std::optional<double> elevationAtEdge(int line, double xe) const;
  void emit(double xa, double xb, float rhoA, float rhoB, const BandPolygon& poly) const {
    if (poly.count >= 3) write_(xa, xb, rhoA, rhoB, poly);
  }

  const SectionProfile& p_;
  const BoundaryLines& lines_;
  const LineSearches& search_;
  int exaggeration_;
  double zBottom_;
  double frameLeftX_;
  double frameRightX_;
  const BandWriter& write_;
};

// The band of layer l from its sounding to the right neighbour c, between the
// lowest line leaving its top and the highest leaving its bottom, with the
// resistivity taken from the layer of c the lines arrive at.
void ColouringPass::bandToRight(const Layer& l, int c) {
  const SectionPoint& pc = p_.points[c];
  const double xc = pc.profileChainage;
  const LineFound v = right(l.xk, l.zTop, xc, LineChoice::Lowest);
  const LineFound u = right(l.xk, l.zBot, xc, LineChoice::Highest);
  const LineInterface lv = at(v, c);
  const LineInterface lu = at(u, c);

  float rhoC = lu.vertex >= 0  ? rhoAbove(pc, lu.interface)
               : lv.vertex < 0 ? l.rho
                               : rhoBelow(pc, lv.interface);

  if (v.line >= 0 && u.line >= 0) {
    BandPolygon poly;
    const int vEnd = std::max(lv.vertex >= 0 ? lv.vertex : lv.nearestVertex, v.vertex);
    addRun(poly, v.line, v.vertex, vEnd);
    if (lv.vertex < 0) poly.add(xc, poly.z[poly.count - 1]);
    if (lu.vertex < 0) poly.add(xc, std::max(vz(u.line, lu.nearestVertex), zBottom_));
    const int uStart = std::max(lu.vertex >= 0 ? lu.vertex : lu.nearestVertex, u.vertex);
    addRunAboveBottom(poly, u.line, uStart, u.vertex, -1);
    // Both lines arrive at the same elevation: the layer wedges out at c and
    // keeps its own resistivity up to the tip.
    if (lv.elevation == lu.elevation) rhoC = l.rho;
    emit(l.xk, xc, l.rho, rhoC, poly);
  }

  // The half-space (or the layer above it with no bottom line reaching c) is
  // closed against the frame's lower edge.
  const bool halfSpaceBand = (l.halfSpace() && u.line < 0 && v.line >= 0 && lv.vertex >= 0) ||
                             (l.o == l.last - 1 && lu.vertex < 0 && v.line >= 0);
  if (halfSpaceBand) {
    BandPolygon poly;
    const int vEnd = std::max(lv.vertex >= 0 ? lv.vertex : lv.nearestVertex, v.vertex);
    addRun(poly, v.line, v.vertex, vEnd);
    poly.add(xc, zBottom_);
    poly.add(l.xk, zBottom_);
    emit(l.xk, xc, l.rho, rhoBelow(pc, lv.interface), poly);
  }
}

// The line through (xk, z) that reaches farthest towards the open side, with
// its run from the sounding's vertex out to that side. Both sides follow
// their line out to the edge, so a band beside an end sounding keeps the
// shape of its boundaries instead of a straight cut to the frame.
LineRun ColouringPass::reachingLine(const Layer& l, double z, bool leftSide) const {
  const double s = leftSide ? -1.0 : 1.0;
  const double tolX = hbvTolX(exaggeration_);
  LineRun best;
  double bestScore = ReachStart;
  for (int i = 0; i < lines_.lineCount(); ++i) {
    const int n = lines_.vertexCount(i);
    for (int j = 0; j < n; ++j) {
      if (!(std::fabs(vx(i, j) - l.xk) < tolX && std::fabs(vz(i, j) - z) < HbvTolZ)) continue;
      const int from = leftSide ? 0 : j;
      const int to = leftSide ? j : n - 1;
      for (int m = from; m <= to; ++m) {
        const double score = (vx(i, m) - l.xk) * s;
        if (!(score > bestScore)) continue;
        bestScore = score;
        best.line = i;
        best.from = leftSide ? m : j;
        best.to = leftSide ? j : m;
      }
    }
  }
  return best;
}

// A line's elevation at the frame edge xe, between (or beyond) the two
// vertices that bracket it; none for a line of a single vertex.
std::optional<double> ColouringPass::elevationAtEdge(int line, double xe) const {
  const int n = lines_.vertexCount(line);
  if (line < 0 || n < 1) return std::nullopt;
  int lo = 0, hi = n - 1;
  for (int j = 0; j < n; ++j)
    if (vx(line, j) <= xe) lo = j;
  for (int j = 0; j < n; ++j) {
    if (vx(line, j) >= xe) {
      hi = j;
      break;
    }
  }
  if (lo == hi) {
    if (lo == 0)
      hi = 1;
    else
      lo = lo - 1;
  }
  hi = std::min(hi, n - 1);
  lo = std::clamp(lo, 0, n - 1);
  if (!(lo < hi)) return std::nullopt;
  const double x1 = vx(line, lo), z1 = vz(line, lo), x2 = vx(line, hi), z2 = vz(line, hi);
  // Two vertices at one chainage have no slope to follow.
  if (x2 == x1) return z1;
  return z1 + (z2 - z1) * (xe - x1) / (x2 - x1);
}

// A layer beside a sounding with no neighbour on that side, extended to the
// frame edge in its own colour. A sounding with no neighbour at all is
// extended to both edges, each side a band of its own.
void ColouringPass::extendToEdge(const Layer& l, bool leftSide) {
  const LineRun v = reachingLine(l, l.zTop, leftSide);
  const LineRun u = reachingLine(l, l.zBot, leftSide);
  const double xe = leftSide ? frameLeftX_ : frameRightX_;
  const std::optional<double> vEdge = elevationAtEdge(v.line, xe);
  const std::optional<double> uEdge = elevationAtEdge(u.line, xe);
  const bool top = l.top(), hs = l.halfSpace();
  if (!(vEdge || top) || !(uEdge || hs) || !(u.line >= 0 || hs) || !(v.line >= 0 || top) ||
      u.line == v.line)
    return;

  BandPolygon poly;
  auto addTopAtEdge = [&] {
    if (top)
      poly.add(xe, l.surface);
    else if (vEdge)
      poly.add(xe, *vEdge);
  };
  auto addBottomAtEdge = [&] {
    if (hs)
      poly.add(xe, zBottom_);
    else if (uEdge)
      poly.add(xe, *uEdge);
  };
  if (leftSide) {
    addBottomAtEdge();
    addTopAtEdge();
  }
  // The top layer runs level from the surface at the sounding: beyond the
  // end sounding there is no terrain to follow.
  if (top && u.line >= 0) {
    poly.add(l.xk, l.surface);
  } else {
    for (int j = v.from; j <= v.to; ++j)
      if (insideFrame(vx(v.line, j))) poly.add(vx(v.line, j), vz(v.line, j));
  }
  if (!leftSide) {
    addTopAtEdge();
    addBottomAtEdge();
  }
  if (hs && v.line >= 0) {
    if (leftSide) {
      poly.add(l.xk, zBottom_);
      poly.add(xe, zBottom_);
    } else {
      poly.add(xe, zBottom_);
      poly.add(l.xk, zBottom_);
    }
  } else {
    for (int j = u.to; j >= u.from; --j)
      if (insideFrame(vx(u.line, j))) poly.add(vx(u.line, j), vz(u.line, j));
  }
  emit(std::min(xe, l.xk), std::max(xe, l.xk), l.rho, l.rho, poly);
}

// The deepest layers toward the left neighbour b: where the top line dives
// below the frame before b, the part above the edge is this layer's, and the
// wedge between that line and a line from b's deepest interface is b's
// half-space.
void ColouringPass::deepToLeft(const Layer& l, int b) {
  const SectionPoint& pb = p_.points[b];
  const double xb = pb.profileChainage;
  const LineFound v = left(l.xk, l.zTop, xb, LineChoice::Lowest);
  const LineInterface lv = at(v, b);
  if (v.line < 0 || lv.vertex >= 0 || lv.nearestVertex < 0 ||
      !(vz(v.line, lv.nearestVertex) < zBottom_))
    return;
  BandPolygon poly;
  addRunAboveBottom(poly, v.line, v.vertex, 0, -1);
  poly.add(l.xk, zBottom_);
  emit(xb, l.xk, l.rho, l.rho, poly);

  const double deepest = deepestInterface(pb);
  const LineFound w = right(xb, deepest, l.xk, LineChoice::Lowest);
  if (w.line < 0 || w.vertexAtLimit < 0 ||
      !(std::fabs(vz(w.line, w.vertexAtLimit) - l.zTop) < DeepTieGap))
    return;
  BandPolygon wedge = poly;
  --wedge.count;
  wedge.add(xb, zBottom_);
  wedge.add(xb, deepest);
  for (int j = 0; j < lines_.vertexCount(w.line); ++j) {
    const double x = vx(w.line, j);
    if (xb <= x && x <= l.xk) wedge.add(x, vz(w.line, j));
  }
  const float rhoB = layerRhoOf(pb, lastLayerIndex(pb));
  emit(xb, l.xk, rhoB, rhoB, wedge);
}

// The mirror of deepToLeft toward the right neighbour c.
void ColouringPass::deepToRight(const Layer& l, int c) {
  const SectionPoint& pc = p_.points[c];
  const double xc = pc.profileChainage;
  const LineFound v = right(l.xk, l.zTop, xc, LineChoice::Lowest);
  const LineInterface lv = at(v, c);
  if (v.line < 0 || lv.vertex >= 0 || lv.nearestVertex < 0 ||
      !(vz(v.line, lv.nearestVertex) < zBottom_))
    return;
  BandPolygon poly;
  addRunAboveBottom(poly, v.line, v.vertex, lines_.vertexCount(v.line) - 1, 1);
  poly.add(l.xk, zBottom_);
  emit(l.xk, xc, l.rho, l.rho, poly);

  const double deepest = deepestInterface(pc);
  const LineFound w = left(xc, deepest, l.xk, LineChoice::Lowest);
  if (w.line < 0 || w.vertexAtLimit < 0 ||
      !(std::fabs(vz(w.line, w.vertexAtLimit) - l.zTop) < DeepTieGap))
    return;
  BandPolygon wedge = poly;
  --wedge.count;
  wedge.add(xc, zBottom_);
  wedge.add(xc, deepest);
  for (int j = lines_.vertexCount(w.line) - 1; j >= 0; --j) {
    const double x = vx(w.line, j);
    if (l.xk <= x && x <= xc) wedge.add(x, vz(w.line, j));
  }
  const float rhoC = layerRhoOf(pc, lastLayerIndex(pc));
  emit(l.xk, xc, rhoC, rhoC, wedge);
}

// A layer that wedges out between its sounding and the left neighbour b
// (its lines meet before b, or neither reaches an interface of b): the
// neighbour's own band to the right does not cover it.
void ColouringPass::wedgeToLeft(const Layer& l, int b) {
  const double xb = p_.points[b].profileChainage;
  const LineFound v = left(l.xk, l.zTop, xb, LineChoice::Lowest);
  const LineFound u = left(l.xk, l.zBot, xb, LineChoice::Highest);
  const LineInterface lv = at(v, b);
  const LineInterface lu = at(u, b);
  if (v.line < 0 || u.line < 0) return;
  const bool meet = std::fabs(lv.elevation - lu.elevation) < WedgeGap;
  if (!meet && !(lv.vertex < 0 && lu.vertex < 0)) return;
  BandPolygon poly;
  const int vEnd = std::min(lv.vertex >= 0 ? lv.vertex : lv.nearestVertex, v.vertex);
  addRun(poly, v.line, v.vertex, vEnd);
  const int uStart = std::min(lu.vertex >= 0 ? lu.vertex : lu.nearestVertex, u.vertex);
  addRun(poly, u.line, uStart, u.vertex);
  emit(xb, l.xk, l.rho, l.rho, poly);
}

// The area of an outline (shoelace formula, m^2) and its centre of area.
struct AreaCentre {
  double area;
  double x;
  double z;
};

AreaCentre areaCentreOf(const BandPolygon& poly) {
  double twiceArea = 0.0, sx = 0.0, sz = 0.0;
  for (int j = 0; j < poly.count; ++j) {
    const int n = (j + 1) % poly.count;
    const double cross = poly.x[j] * poly.z[n] - poly.x[n] * poly.z[j];
    twiceArea += cross;
    sx += (poly.x[j] + poly.x[n]) * cross;
    sz += (poly.z[j] + poly.z[n]) * cross;
  }
  if (twiceArea == 0.0) return {0.0, 0.0, 0.0};
  return {0.5 * twiceArea, sx / (3.0 * twiceArea), sz / (3.0 * twiceArea)};
}

// The layer of a sounding that holds elevation z: above the surface the top
// layer, below the deepest interface the half-space.
int layerAt(const SectionPoint& pt, double z) {
  const int last = lastLayerIndex(pt);
  for (int o = 0; o < last; ++o)
    if (z > interfaceElevation(pt, o)) return o;
  return last;
}

// A lens: two lines that leave interface i of sounding k together and meet
// again on one interface of its right neighbour c. Every band runs between
// lines that leave different interfaces of its sounding, so none covers the
// ground between these two; it takes the colour of the layer it lies in at
// the sounding nearer to it.
void ColouringPass::lensToRight(int k, int i, int c) {
  const SectionPoint& pk = p_.points[k];
  const double xk = pk.profileChainage;
  const double xc = p_.points[c].profileChainage;
  const double z = interfaceElevation(pk, i);
  const LineFound upper = right(xk, z, xc, LineChoice::Highest);
  const LineFound lower = right(xk, z, xc, LineChoice::Lowest);
  if (upper.line < 0 || lower.line < 0 || upper.line == lower.line) return;
  const LineInterface au = at(upper, c);
  const LineInterface al = at(lower, c);
  if (au.vertex <= upper.vertex || al.vertex <= lower.vertex) return;
  if (!(std::fabs(au.elevation - al.elevation) < WedgeGap)) return;

  BandPolygon poly;
  addRun(poly, upper.line, upper.vertex, au.vertex);
  addRun(poly, lower.line, al.vertex, lower.vertex);
  const AreaCentre centre = areaCentreOf(poly);
  // Two lines along one another enclose nothing.
  if (std::fabs(centre.area) < SearchTol * SearchTol) return;
  const SectionPoint& nearer = centre.x - xk <= xc - centre.x ? pk : p_.points[c];
  const float rho = layerRhoOf(nearer, layerAt(nearer, centre.z));
  emit(xk, xc, rho, rho, poly);
}

// The step after both passes: the lenses between each shown sounding and
// its right neighbour, one search per interface.
void fillLenses(const SectionProfile& p, ColouringPass& pass,
                const std::function<bool(int)>& shown) {
  for (int k = 0; k < profilePointCount(p); ++k) {
    if (!shown(k)) continue;
    const Neighbours n = neighboursOf(p, k);
    if (n.right < 0) continue;
    for (int i = 0; i < lastLayerIndex(p.points[k]); ++i) pass.lensToRight(k, i, n.right);
  }
}

}  // namespace

bool BandPolygon::add(double chainage, double elevation) {
  if (count < 0 || count >= MaxBandVertices) return false;
  x[count] = chainage;
  z[count] = elevation;
  ++count;
  return true;
}

void fillBand(ui::Canvas& canvas, const ColourScale& scale, const SectionLayout& layout, double xa,
              double xb, float rhoA, float rhoB, const BandPolygon& polygon) {
  canvas.setPenWidth(0);
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setBrushStyle(ui::BrushStyle::Solid);
  // Pen and brush in one colour, so the outline closes the seams between
  // strips; without a colour both stay as the last fill left them.
  auto useColour = [&](std::optional<ui::Colour> c) {
    if (!c) return;
    canvas.setPenColour(*c);
    canvas.setBrushColour(*c);
  };
  auto paint = [&](const std::vector<Vertex>& outline) {
    if (outline.size() < 3) return;
    std::vector<ui::Point> pts;
    pts.reserve(outline.size());
    for (const Vertex& v : outline)
      pts.push_back({chainageToPixel(layout, v.x), elevationToPixel(layout, v.z)});
    canvas.polygon(pts.data(), int(pts.size()));
  };

  std::vector<Vertex> outline;
  for (int i = 0; i < std::clamp(polygon.count, 0, MaxBandVertices); ++i)
    outline.push_back({polygon.x[i], polygon.z[i]});

  const double ra = std::fabs(double(rhoA));
  const double rb = std::fabs(double(rhoB));
  const bool rising = ra < rb;
  const int last = std::clamp(scale.colResCount, 0, MaxColourEntries - 1);
  // The boundaries met from xa to xb. Equal resistivities, or a band of no
  // width, have no crossing to place (it would divide by zero).
  std::vector<int> met;
  if (ra != rb && xa != xb) {
    const double lo = std::min(ra, rb), hi = std::max(ra, rb);
    for (int n = 0; n <= last; ++n) {
      const int k = rising ? n : last - n;
      const double beta = scale.colResBound[k];
      if (lo <= beta && beta <= hi) met.push_back(k);
    }
  }
  if (met.empty()) {
    useColour(resistivityColour(scale, float(ra)));
    paint(outline);
    canvas.setBrushStyle(ui::BrushStyle::Clear);
    return;
  }

  // The resistivity runs linearly in ohm.m between the two soundings, so the
  // crossing of a boundary lies at its linear share of the band.
  std::vector<double> cross;
  for (int k : met) {
    const double xBeta = xa + (xb - xa) * (scale.colResBound[k] - ra) / (rb - ra);
    cross.push_back(xBeta);
    // Locally grown: a band crossing many boundaries is not cut short.
    std::vector<Vertex> split;
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
      const Vertex a = outline[i], b = outline[(i + 1) % n];
      split.push_back(a);
      if ((a.x < xBeta && xBeta < b.x) || (b.x < xBeta && xBeta < a.x))
        split.push_back({xBeta, a.z + (b.z - a.z) * (xBeta - a.x) / (b.x - a.x)});
    }
    outline.swap(split);
  }

  // Strip colours by entry index; an index past the table's end has no colour.
  auto entryColour = [&](int k) -> std::optional<ui::Colour> {
    if (k < 0 || k > last) return std::nullopt;
    return scale.colResColor[k];
  };
  const double inf = std::numeric_limits<double>::infinity();
  const bool ascending = xa < xb;
  const size_t m = cross.size();
  for (size_t s = 0; s <= m; ++s) {
    // The outer strips take everything beyond their crossing, so a vertex a
    // hair outside [xa, xb] is not lost.
    const double from = s == 0 ? (ascending ? -inf : inf) : cross[s - 1];
    const double to = s == m ? (ascending ? inf : -inf) : cross[s];
    const double lo = std::min(from, to), hi = std::max(from, to);
    if (s < m)
      useColour(entryColour(rising ? met[s] : met[s] + 1));
    else
      useColour(entryColour(rising ? met[m - 1] + 1 : met[m - 1]));
    if (!(lo < hi)) continue;
    std::vector<Vertex> strip;
    for (const Vertex& v : outline)
      if (lo <= v.x && v.x <= hi) strip.push_back(v);
    paint(strip);
  }
  canvas.setBrushStyle(ui::BrushStyle::Clear);
}

void colourLayers(SectionDatabase& db, SectionWindowState& view, const BandWriter& write,
                  const LineSearches& searches) {
  if (db.currentProfile < 0 || db.currentProfile >= MaxProfiles) return;
  SectionProfile& p = db.profiles[db.currentProfile];
  if (std::clamp(p.HBV_pocet, 0, MaxHbvLines) < 1) return;
  searches.prepare(p, view.surfaceLine, view.layout, view.exaggeration);
  const BoundaryLines lines(p, view.surfaceLine);
  ColouringPass pass(p, lines, searches, view, write);

  auto shown = [&](int k) {
    const float x = p.points[k].profileChainage;
    return view.viewMinChainage < x && x < view.viewMaxChainage;
  };

  for (int k = 0; k < profilePointCount(p); ++k) {
    if (!shown(k)) continue;
    const Neighbours n = neighboursOf(p, k);
    for (int o = 0; o <= lastLayerIndex(p.points[k]); ++o) {
      const Layer l = pass.layer(k, o);
      if (n.right >= 0) pass.bandToRight(l, n.right);
      if (n.left < 0) pass.extendToEdge(l, true);
      if (n.right < 0) pass.extendToEdge(l, false);
    }
  }
  for (int k = 0; k < profilePointCount(p); ++k) {
    if (!shown(k)) continue;
    const Neighbours n = neighboursOf(p, k);
    for (int o = 0; o <= lastLayerIndex(p.points[k]); ++o) {
      const Layer l = pass.layer(k, o);
      if (o >= l.last - 1) {
        if (n.left >= 0) pass.deepToLeft(l, n.left);
        if (n.right >= 0) pass.deepToRight(l, n.right);
      }
      if (n.left >= 0) pass.wedgeToLeft(l, n.left);
    }
  }
  fillLenses(p, pass, shown);
}

BandWriter bandFiller(ui::Canvas& canvas, const SectionWindowState& view) {
  return [&canvas, &view](double xa, double xb, float rhoA, float rhoB, const BandPolygon& poly) {
    fillBand(canvas, view.colourScale, view.layout, xa, xb, rhoA, rhoB, poly);
  };
}

}  // namespace orv
