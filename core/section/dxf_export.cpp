#include "core/section/dxf_export.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/fixed_text.h"
#include "core/section/boundary_lines.h"

namespace orv {
namespace {

// "Colour by layer": the layer decides how the entity is drawn.
constexpr int ByLayer = 256;
constexpr int SurfaceColour = 104;
constexpr int DepthReachColour = 41;
constexpr int HbvColour = 10;
constexpr double SurfaceWidth = 0.015;
constexpr double NoWidth = -1.0;

// log10 of AB/2 per grid cell: 1 / 8.876 decade.
constexpr double AbDecadePerCell = 0.11266336187471834863;

// Tick lengths in metres of elevation per unit of the chainage factor.
constexpr double LongTick = 0.95;
constexpr double ShortTick = 0.65;

// The smallest box around every point an entity covers, in drawing units.
struct DrawingBox {
  double minX = HUGE_VAL, minY = HUGE_VAL;
  double maxX = -HUGE_VAL, maxY = -HUGE_VAL;

  void include(double x, double y) {
    // A coordinate that is no number would make the whole box none.
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
  }
  bool empty() const { return minX > maxX; }
};

// Group codes, values and the CR LF that separates every line from the one
// before it (the first line has none, the last no break after it). The text
// goes out to the file in pieces, so a long profile never stands in memory.
// A measuring output writes nothing and only gathers the box of the
// entities, which the head must state before them.
class DxfOut {
 public:
  explicit DxfOut(std::FILE* f) : f_(f) {}
  static DxfOut measuring() {
    DxfOut o(nullptr);
    o.measuring_ = true;
    return o;
  }

  void include(double x, double y) { box_.include(x, y); }
  const DrawingBox& box() const { return box_; }

  // A measuring pass spends nothing on the text it does not write.
  void code(int c) {
    if (!measuring_) line(cformat("  %d", c));
  }
  void integer(int v) {
    if (!measuring_) line(cformat("      %d", v));
  }
  void real(double v) {
    if (!measuring_) line(cformat("%12.3f", v));
  }
  void rotation(double v) {
    if (!measuring_) line(formatF(v));
  }
  void text(std::string_view s) {
    if (measuring_) return;
    std::string one(s);
    // A line break inside a value would end its record and shift the
    // pairing of every code and value after it.
    std::replace(one.begin(), one.end(), '\r', ' ');
    std::replace(one.begin(), one.end(), '\n', ' ');
    line(one);
  }
  void pair(int c, std::string_view s) {
    code(c);
    text(s);
  }

  bool finish() {
    flush();
    if (f_ && (std::fflush(f_) != 0 || std::ferror(f_))) ok_ = false;
    return ok_;
  }
  std::string& buffer() { return buf_; }

 private:
  static constexpr std::size_t Chunk = 1 << 20;

  void line(std::string_view s) {
    if (!first_) buf_ += "\r\n";
    first_ = false;
    buf_ += s;
    if (f_ && buf_.size() >= Chunk) flush();
  }
  void flush() {
    if (f_ && !buf_.empty()) {
      if (std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) ok_ = false;
      buf_.clear();
    }
  }

  std::FILE* f_;
  std::string buf_;
  bool first_ = true;
  bool ok_ = true;
  bool measuring_ = false;
  DrawingBox box_;
};

void dxfLine(DxfOut& o, const char* layer, int colour, double x1, double y1, double x2, double y2) {
  o.include(x1, y1);
  o.include(x2, y2);
  o.pair(0, "LINE");
  o.pair(8, layer);
  o.code(62);
  o.integer(colour);
  // Every line of the export is drawn without thickness, so no group 39.
  o.code(10);
  o.real(x1);
  o.code(20);
  o.real(y1);
  o.code(11);
  o.real(x2);
  o.code(21);
  o.real(y2);
}

struct TextStyle {
  const char* layer;
  int horizontal;  // group 72
  int vertical;    // group 73
  double height;
  double rotation;  // degrees
};

// A box that surely holds the letters of a text of n characters at (x, y):
// each character as wide as the text is high, descenders a third of the
// height below the base line, the vertical alignments read generously (CAD
// programs place "bottom" and "middle" a little differently), turned by the
// rotation about the alignment point. The extents only must not cut a text.
void includeText(DxfOut& o, const TextStyle& st, double x, double y, std::size_t n) {
  const double h = st.height;
  const double w = double(n) * h;
  const double share[] = {0.0, 0.5, 1.0};  // of the width left of the point
  const double left = -w * share[std::clamp(st.horizontal, 0, 2)];
  // Group 73: 0 base line, 1 bottom, 2 middle, 3 top.
  const double low[] = {-h / 3.0, -h / 3.0, -h * 5.0 / 6.0, -h * 4.0 / 3.0};
  const double high[] = {h, h * 4.0 / 3.0, h * 5.0 / 6.0, 0.0};
  const int v = std::clamp(st.vertical, 0, 3);
  const double a = st.rotation * (3.14159265358979323846 / 180.0);
  const double c = std::cos(a), sn = std::sin(a);
  for (double u : {left, left + w})
    for (double t : {low[v], high[v]}) o.include(x + u * c - t * sn, y + u * sn + t * c);
}

// The text stands at the second alignment point; the first is 0, 0.
void dxfText(DxfOut& o, const TextStyle& st, double x, double y, std::string_view cp1250Text) {
  includeText(o, st, x, y, cp1250Text.size());
  o.pair(0, "TEXT");
  o.pair(8, st.layer);
  o.code(62);
  o.integer(ByLayer);
  o.code(72);
  o.integer(st.horizontal);
  o.code(73);
  o.integer(st.vertical);
  o.code(10);
  o.real(0.0);
  o.code(20);
  o.real(0.0);
  o.code(11);
  o.real(x);
  o.code(21);
  o.real(y);
  o.code(40);
  o.real(st.height);
  o.code(50);
  o.rotation(st.rotation);
  o.pair(1, cp1250Text);
}

void dxfPolyline(DxfOut& o, const char* layer, int colour, double width) {
  o.pair(0, "POLYLINE");
  o.pair(8, layer);
  o.code(66);
  o.integer(1);
  o.code(62);
  o.integer(colour);
  if (width >= 0.0) {
    o.code(40);
    o.real(width);
    o.code(41);
    o.real(width);
  }
}

void dxfVertex(DxfOut& o, double x, double y) {
  o.include(x, y);
  o.pair(0, "VERTEX");
  o.pair(8, "osyXY");
  o.code(10);
  o.real(x);
  o.code(20);
  o.real(y);
}

void dxfSeqEnd(DxfOut& o) {
  o.pair(0, "SEQEND");
}

void headPoint(DxfOut& o, const char* name, double x, double y) {
  o.pair(9, name);
  o.code(10);
  o.real(x);
  o.code(20);
  o.real(y);
}

std::string cp(std::string_view utf8) {
  return utf8ToCp1250(utf8);
}

// The ticks t = floor(top / step) * step, step by step downwards while
// trunc(low) <= t. A range that is not a finite number of metres has none.
template <class Tick>
void forEachTick(double top, double low, int32_t step, Tick tick) {
  if (step <= 0 || !std::isfinite(top) || !std::isfinite(low)) return;
  constexpr double Limit = 1e15;
  const double first = std::floor(top / step) * step;
  const double last = std::trunc(low);
  if (std::fabs(first) > Limit || std::fabs(last) > Limit) return;
  for (long long t = static_cast<long long>(first); static_cast<double>(t) >= last; t -= step)
    tick(t);
}

// The point label of the section picture, in the file's own bytes.
std::string pointLabelBytes(const SectionProfile& p, const SectionPoint& pt,
                            const SectionWindowState& view) {
  std::string label = view.profilePrefix ? std::string(textOf(p.profileName)) : std::string();
  label += view.labelBySurfaceChainage ? cformat("%.0f", std::fabs(double(pt.surfaceChainage)))
                                       : cformat("%.1f", std::fabs(double(pt.profileChainage)));
  return label;
}

// Half the largest AB/2 of the composite curve: how deep the sounding sees.
double depthReach(const SectionPoint& pt) {
  const int cell = std::clamp<int32_t>(pt.ABmx, 0, GridCells - 1);
  return 0.5 * std::pow(10.0, cell * AbDecadePerCell);
}

void writeAxes(DxfOut& o, const DxfSettings& s, const DxfRanges& r, double xf) {
  const double left = r.xl * xf, right = r.xr * xf;
  if (s.dxfTickX > 0) {
    dxfLine(o, "osa_X", ByLayer, left, r.zLow, right, r.zLow);
    const TextStyle label{"popisOs", 1, 3, s.dxfTextSmall, 0.0};
    forEachTick(r.xr, r.xl, s.dxfTickX, [&](long long t) {
      const double x = double(t) * xf;
      if (s.dxfLabelX > s.dxfTickX && t % s.dxfLabelX == 0) {
        dxfLine(o, "osa_X", ByLayer, x, r.zLow, x, r.zLow - LongTick * xf);
        dxfText(o, label, x, r.zLow - 1.5 * LongTick * xf, cformat("%lld", t));
      } else {
        dxfLine(o, "osa_X", ByLayer, x, r.zLow, x, r.zLow - ShortTick * xf);
      }
    });
  }
  if (s.dxfLabelZ > 0) {
    dxfLine(o, "osa_Z", ByLayer, left, r.zLow, left, r.zTop);
    dxfLine(o, "osa_Z", ByLayer, right, r.zLow, right, r.zTop);
    const TextStyle leftLabel{"osa_Z_popis", 2, 2, s.dxfTextSmall, 0.0};
    const TextStyle rightLabel{"osa_Z_popis", 0, 2, s.dxfTextSmall, 0.0};
    // A step of zero or less would never reach the bottom: no ticks then.
    forEachTick(r.zTop, r.zLow, s.dxfTickZ, [&](long long t) {
      const double z = double(t);
      if (s.dxfLabelZ >= s.dxfTickZ && t % s.dxfLabelZ == 0) {
        dxfLine(o, "osa_Z", ByLayer, left, z, left - LongTick * xf, z);
        dxfLine(o, "osa_Z", ByLayer, right, z, right + LongTick * xf, z);
        const std::string value = cformat("%lld", t);
        dxfText(o, leftLabel, left - 1.5 * LongTick * xf, z, value);
        dxfText(o, rightLabel, right + 1.5 * LongTick * xf, z, value);
      } else {
        dxfLine(o, "osa_Z", ByLayer, left, z, left - ShortTick * xf, z);
        dxfLine(o, "osa_Z", ByLayer, right, z, right + ShortTick * xf, z);
      }
    });
  }
}

void writeTitles(DxfOut& o, const SectionDatabase& db, const SectionProfile& p,
                 const SectionLayout& l, const DxfSettings& s, const DxfRanges& r, double xf) {
  const double large = s.dxfTextLarge, small = s.dxfTextSmall;
  const TextStyle title{"nadpisy", 0, 1, large, 0.0};
  const double x0 = l.dataMinChainage * xf - 2.0 * large;
  const double z0 = p.points[0].pointZ;
  dxfText(o, title, x0, z0 + 11.5 * 1.1 * large, cp("Geologicko-geofyzikální řez podle VES"));
  dxfText(o, title, x0, z0 + 9.35 * 1.1 * large,
          cp("lokalita: ") + std::string(textOf(db.localityName)) + cp(", profil: ") +
              std::string(textOf(p.profileName)));
  const double mid = (l.imageBottomElevation + r.zTop) / 2.0;
  const std::string elevation = cp("nadmořská výška [m]");
  dxfText(o, {"osa_Z_nadpis", 1, 1, small, 90.0}, r.xl * xf - 2.0 * LongTick * xf - 3.0 * small,
          mid, elevation);
  dxfText(o, {"osa_Z_nadpis", 1, 3, small, 90.0}, r.xr * xf + 2.0 * LongTick * xf + 3.0 * small,
          mid, elevation);
  dxfText(o, {"osa_Z_nadpis", 1, 3, small, 0.0}, (l.dataMinChainage + l.dataMaxChainage) / 2.0 * xf,
          l.imageBottomElevation - small - 2.15 * LongTick * xf, cp("metráž profilu [m]"));
}

void writePointLines(DxfOut& o, const SectionProfile& p, double xf) {
  int order[MaxPointsPerProfile];
  const int n = dxfPointOrder(p, order);
  dxfPolyline(o, "povrch_terenu_dle_VES", SurfaceColour, SurfaceWidth);
  for (int k = 0; k < n; ++k)
    dxfVertex(o, p.points[order[k]].profileChainage * xf, p.points[order[k]].pointZ);
  dxfSeqEnd(o);
  dxfPolyline(o, "max_hloubkovy_dosah_VES", DepthReachColour, NoWidth);
  for (int k = 0; k < n; ++k) {
    const SectionPoint& pt = p.points[order[k]];
    dxfVertex(o, pt.profileChainage * xf, pt.pointZ - depthReach(pt));
  }
  dxfSeqEnd(o);
}

void writePoint(DxfOut& o, const SectionProfile& p, SectionPoint& pt,
                const SectionWindowState& view, const DxfSettings& s, const DxfRanges& r,
                double xf) {
  const double x = pt.profileChainage, z = pt.pointZ;
  const double aw = s.dxfArrowWidth, ah = s.dxfArrowHeight;
  dxfPolyline(o, "sipka_na_bodu_VES", ByLayer, NoWidth);
  dxfVertex(o, x * xf, z + ah);
  dxfVertex(o, x * xf, z);
  dxfVertex(o, (x - 0.5 * aw) * xf, z + 0.25 * ah);
  dxfVertex(o, x * xf, z);
  dxfVertex(o, (x + 0.5 * aw) * xf, z + 0.25 * ah);
  dxfSeqEnd(o);
  dxfText(o, {"jmeno_VES", 0, 2, s.dxfTextLarge, 90.0}, x * xf, z + 1.1 * ah,
          pointLabelBytes(p, pt, view));

  // The half-space reaches down to the drawing's edge; its resistivity
  // stands half-way there. The model keeps this depth.
  const int last = lastLayerIndex(pt);
  pt.layerDepth[last] = static_cast<float>(z - r.zLow);
  const TextStyle rho{"rezistivita", 1, 2, s.dxfTextSmall, 0.0};
  for (int i = 0; i <= last; ++i) {
    const double depth = std::fabs(double(pt.layerDepth[i]));
    if (i < last) {
      const double zi = z - depth;
      dxfLine(o, "rozhrani_VES", ByLayer, x * xf - s.dxfCrossWidth, zi, x * xf + s.dxfCrossWidth,
              zi);
      dxfLine(o, "rozhrani_VES", ByLayer, x * xf, zi - s.dxfCrossHeight, x * xf,
              zi + s.dxfCrossHeight);
    }
    const double above = i == 0 ? 0.0 : std::fabs(double(pt.layerDepth[i - 1]));
    const double middle = z - (depth + above) / 2.0;
    dxfText(o, rho, x * xf, middle, cformat("%.0f", std::trunc(std::fabs(double(pt.layerRho[i])))));
  }
}

double elevationAt(double x, double x1, double z1, double x2, double z2) {
  return z1 + (z2 - z1) * (x - x1) / (x2 - x1);
}

// Each line within the drawing: vertices far below or above it, or beyond
// the view, are left out; where a line leaves to the right or enters from
// the left, it gets a vertex exactly on the edge.
void writeHbvLines(DxfOut& o, const SectionProfile& p, const SectionWindowState& view,
                   const DxfRanges& r, double xf) {
  const int lines = std::clamp<int32_t>(p.HBV_pocet, 0, MaxHbvLines);
  for (int j = 0; j < lines; ++j) {
    const int n = std::clamp<int32_t>(p.HBV_pocetBodu[j], 0, MaxHbvVertices);
    const float* hx = p.HBV_x[j];
    const float* hz = p.HBV_z[j];
    dxfPolyline(o, "propojeni_vrstev_VES", HbvColour, NoWidth);
    for (int v = 0; v < n; ++v) {
      const double x = hx[v], z = hz[v];
      if (!(r.zLow - 5.0 <= z && z <= r.zTop + 1.0)) continue;
      if (!(view.viewMinChainage <= x && x <= view.viewMaxChainage)) continue;
      if (r.xl <= x && x <= r.xr) {
        dxfVertex(o, x * xf, z);
        continue;
      }
      if (v > 0 && hx[v - 1] < r.xr && x > r.xr)
        dxfVertex(o, r.xr * xf, elevationAt(r.xr, hx[v - 1], hz[v - 1], x, z));
      if (x < r.xl && v + 1 < n && hx[v + 1] > r.xl)
        dxfVertex(o, r.xl * xf, elevationAt(r.xl, x, z, hx[v + 1], hz[v + 1]));
    }
    dxfSeqEnd(o);
  }
}

void writeEntities(DxfOut& o, const SectionDatabase& db, SectionProfile& p,
                   const SectionWindowState& view, const DxfSettings& s, const DxfRanges& r,
                   double xf) {
  writeAxes(o, s, r, xf);
  writeTitles(o, db, p, view.layout, s, r, xf);
  writePointLines(o, p, xf);
  const int points = profilePointCount(p);
  for (int b = 0; b < points; ++b) writePoint(o, p, p.points[b], view, s, r, xf);
  if (p.HBV_pocet > 0) writeHbvLines(o, p, view, r, xf);
}

int writeDrawing(SectionDatabase& db, const SectionWindowState& view, DxfSettings& s, DxfOut& o) {
  SectionProfile* profile = exportedProfile(db);
  if (!profile) return DxfNoPoint;
  SectionProfile& p = *profile;
  const SectionLayout& l = view.layout;
  // An exaggeration of zero would put the whole drawing at infinity.
  const double e = s.dxfExaggeration;
  const double xf = std::isfinite(e) && e != 0.0 ? 1.0 / e : 1.0;
  const DxfRanges r = dxfRanges(p, l);
  applyAutomaticDxfSteps(s, r, l);

  // The extents stand in the head, before the entities: a first pass that
  // writes nothing measures them.
  DxfOut measure = DxfOut::measuring();
  writeEntities(measure, db, p, view, s, r, xf);
  DrawingBox box = measure.box();
  if (box.empty()) box.include(r.xl * xf, r.zLow);

  o.pair(0, "SECTION");
  o.pair(2, "HEADER");
  // The texts are Windows-1250 bytes; a reader told nothing takes them for
  // Windows-1252.
  o.pair(9, "$DWGCODEPAGE");
  o.pair(3, "ANSI_1250");
  headPoint(o, "$LIMMIN", r.xl * xf - 1000.0, l.imageBottomElevation - 1000.0);
  headPoint(o, "$LIMMAX", r.xr * xf + 1000.0, r.zTop + 1000.0);
  headPoint(o, "$EXTMIN", box.minX, box.minY);
  headPoint(o, "$EXTMAX", box.maxX, box.maxY);
  o.pair(0, "ENDSEC");
  o.pair(0, "SECTION");
  o.pair(2, "ENTITIES");
  writeEntities(o, db, p, view, s, r, xf);
  o.pair(0, "ENDSEC");
  o.pair(0, "EOF");
  return o.finish() ? DxfWritten : DxfWriteFailed;
}

}  // namespace

DxfRanges dxfRanges(const SectionProfile& profile, const SectionLayout& l) {
  DxfRanges r;
  if (profile.HBV_pocet > 0) {
    r.xl = pixelToChainage(l, l.frameLeft);
    r.xr = pixelToChainage(l, l.frameRight);
    r.zLow = pixelToElevation(l, l.frameBottom);
  } else {
    r.xl = l.dataMinChainage - 7.5;
    r.xr = l.dataMaxChainage + 7.5;
    r.zLow = l.imageBottomElevation;
  }
  r.zTop = l.imageTopElevation;
  return r;
}

void applyAutomaticDxfSteps(DxfSettings& s, const DxfRanges& r, const SectionLayout& l) {
  const double height = r.zTop - l.imageBottomElevation;
  if (height >= 50.0) s.dxfLabelZ = 5;
  if (height >= 100.0) {
    s.dxfTickZ = 2;
    s.dxfLabelZ = 10;
  }
  const double width = r.xr - r.xl;
  if (width > 100.0) s.dxfLabelX = 20;
  if (width > 200.0) s.dxfLabelX = 25;
  if (width > 250.0) {
    s.dxfTickX = 10;
    s.dxfLabelX = 50;
  }
}

int dxfPointOrder(const SectionProfile& p, int order[MaxPointsPerProfile]) {
  const int points = profilePointCount(p);
  int written = 0;
  int taken = -1;
  double lastChainage = -1e14;
  for (int k = 0; k < points; ++k) {
    int best = -1;
    for (int b = 0; b < points; ++b) {
      const double c = p.points[b].profileChainage;
      if (c > lastChainage && c < 1e14 && (best < 0 || c < p.points[best].profileChainage))
        best = b;
    }
    if (best >= 0) {
      taken = best;
      lastChainage = p.points[best].profileChainage;
    }
    // Nothing taken yet (every chainage out of range): no vertex to repeat.
    if (taken >= 0) order[written++] = taken;
  }
  return written;
}

SectionProfile* exportedProfile(SectionDatabase& db) {
  SectionProfile* p = currentProfilePtr(db);
  return p && profilePointCount(*p) > 0 ? p : nullptr;
}

int writeDxf(SectionDatabase& db, const SectionWindowState& view, DxfSettings& settings,
             std::FILE* out) {
  DxfOut o(out);
  return writeDrawing(db, view, settings, o);
}

std::string dxfDocument(SectionDatabase& db, const SectionWindowState& view,
                        DxfSettings& settings) {
  DxfOut o(nullptr);
  if (writeDrawing(db, view, settings, o) != DxfWritten) return {};
  return std::move(o.buffer());
}

}  // namespace orv
