#include "commands/section/point_column.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "commands/section/section_colours.h"
#include "core/interpretation/depth_of_investigation.h"
#include "core/section/colour_scale.h"

namespace orv {
namespace {

using namespace section_colours;

// A misfit bar never reaches further than this (a broken misfit must not
// make the bar run off into the integer limits).
constexpr double MaxMisfitBar = 100000.0;

int lastPointOf(const SectionProfile& p) {
  return std::min(p.mxindex_bodu, MaxPointsPerProfile - 1);
}

bool hasBoundaryLines(const SectionProfile& p) {
  return p.HBV_pocet > 0;
}

void textCentred(ui::Canvas& canvas, int x, int yCentre, const std::string& text) {
  const ui::TextSize size = canvas.textExtent(text);
  canvas.textOut(x - size.width / 2, yCentre - size.height / 2, text);
}

// The pixel columns of the nearest points to the left and to the right; the
// outermost columns mirror themselves on the frame.
struct Neighbours {
  int leftX;
  int rightX;
};

Neighbours neighbourColumns(const SectionProfile& p, const SectionLayout& l, int b) {
  const double here = p.points[b].profileChainage;
  int left = -1;
  int right = -1;
  for (int k = 0; k <= lastPointOf(p); ++k) {
    const double c = p.points[k].profileChainage;
    if (c < here && (left < 0 || c > p.points[left].profileChainage)) left = k;
    if (c > here && (right < 0 || c < p.points[right].profileChainage)) right = k;
  }
  const int x = chainageToPixel(l, here);
  Neighbours n;
  n.leftX =
      left >= 0 ? chainageToPixel(l, p.points[left].profileChainage) : 2 * l.frameLeft - x + 2;
  n.rightX =
      right >= 0 ? chainageToPixel(l, p.points[right].profileChainage) : 2 * l.frameRight - x;
  return n;
}

void drawArrow(ui::Canvas& canvas, int x, int y0) {
  const ui::Point arrow[] = {{x, y0 - 2 * MarkerSize},
                             {x, y0},
                             {x - MarkerSize / 2, y0 - MarkerSize / 2},
                             {x + MarkerSize / 2, y0 - MarkerSize / 2},
                             {x, y0}};
  canvas.polyline(arrow, 5);
}

// The IP line of a point: one vertical stroke per reading, as wide as its
// value, from the middle towards the reading above down to the middle towards
// the reading below (each reading stands at AB/4 below the surface). Only the
// strokes that reach the rows top <= y < bottom are drawn; the caller clips to
// them.
void drawIpValues(const SectionPoint& pt, const SectionWindowState& view, ui::Canvas& canvas, int x,
                  int y0, int top, int bottom) {
  const SectionLayout& l = view.layout;
  const int window = view.currentIpWindow;
  if (window < 0 || window >= MaxIpWindows) return;
  canvas.setPenColour(Yellow);
  canvas.setPenMode(ui::PenMode::Copy);
  int previous = y0;
  int upper = y0;
  for (int m = 0; m < std::min(pt.Mermx, MaxReadings); ++m) {
    const int width = std::max(truncPixel(pt.ipValue[m][window] * view.ipLineStrength), 0);
    const int ym = elevationToPixel(l, pt.pointZ - 0.5 * pt.AO[m]);
    const int lower = ym + (ym - previous + 2) / 2;
    // The round ends of a wide stroke reach half its width beyond it.
    const int reach = width / 2 + 1;
    if (std::max(lower, upper) + reach >= top && std::min(lower, upper) - reach < bottom) {
      canvas.setPenWidth(width);
      canvas.moveTo(x, lower);
      canvas.lineTo(x, upper);
    }
    previous = ym;
    upper = ym - 1;
  }
}

// The IP line between the rows top and bottom, over what is drawn there
// already; the clip returns to the frame.
void drawIpRows(const SectionPoint& pt, const SectionWindowState& view, ui::Canvas& canvas, int x,
                int y0, int top, int bottom) {
  if (!view.showIp) return;
  clipToFrameRows(view.layout, canvas, std::min(top, bottom), std::max(top, bottom));
  drawIpValues(pt, view, canvas, x, y0, std::min(top, bottom), std::max(top, bottom));
  clipToFrame(view.layout, canvas);
}

// The layers top down, each filled in its colour, the IP line over the fill
// and the resistivity over both, so that the IP values show with the colours
// on and the labels stay readable. The IP line above the surface (the round
// end of a wide first stroke) comes first.
void drawLayers(const SectionProfile& p, const SectionPoint& pt, const SectionWindowState& view,
                ui::Canvas& canvas, int b, int x, int y0) {
  const SectionLayout& l = view.layout;
  const int layers = std::clamp(pt.MDLmx, 0, MaxLayers - 1);
  const bool fill = view.colourByRes && !(view.colourLayersMode && hasBoundaryLines(p));
  const Neighbours n = fill ? neighbourColumns(p, l, b) : Neighbours{0, 0};
  drawIpRows(pt, view, canvas, x, y0, l.frameTop, y0);
  int upper = y0;
  for (int i = 0; i <= layers; ++i) {
    const int lower =
        i < layers ? elevationToPixel(l, pt.pointZ - std::fabs(pt.layerDepth[i])) : l.frameBottom;
    if (fill) {
      // Without a colour the fill keeps the brush of the previous layer.
      if (std::optional<ui::Colour> c = resistivityColour(view.colourScale, pt.layerRho[i]))
        canvas.setBrushColour(*c);
      canvas.setBrushStyle(ui::BrushStyle::Solid);
      canvas.fillRect((x + n.leftX) / 2, upper, (n.rightX + x + 1) / 2, lower);
    }
    drawIpRows(pt, view, canvas, x, y0, upper, lower);
    textCentred(canvas, x, (upper + lower) / 2,
                cformat(view.oneDecimal ? "%.1f" : "%.0f", std::fabs(double(pt.layerRho[i]))));
    upper = lower;
  }
  canvas.setPenColour(Black);
  canvas.setPenWidth(1);
  for (int i = 0; i < layers; ++i) {
    const int y = roundPixel((l.imageTopElevation - (pt.pointZ - std::fabs(pt.layerDepth[i]))) *
                             l.pxPerMetreZ);
    canvas.moveTo(x - MarkerSize / 2, y);
    canvas.lineTo(x + MarkerSize / 2, y);
  }
}

// The depth of investigation of the point's model, computed when drawn (the
// file has no place for it), as a short red mark across the column.
void drawDepthMark(const SectionPoint& pt, const SectionLayout& l, ui::Canvas& canvas, int x) {
  LayerModel m;
  m.n = std::clamp(pt.MDLmx, 0, MaxLayers - 1);
  double above = 0.0;
  for (int i = 0; i <= m.n; ++i) {
    m.rho[i] = std::fabs(pt.layerRho[i]);
    if (i == m.n) break;
    m.h[i] = std::fabs(pt.layerDepth[i]) - above;
    above = std::fabs(pt.layerDepth[i]);
  }
  ZeroedBlock<CurveWindowState> scratch;
  const double doi = depthOfInvestigation(
      m, std::max(pt.nABmn, 0), std::min(pt.ABmx, GridCells - 1), DoiDefaultNoise, *scratch);
  if (!(doi > 0.0)) return;
  const int y = elevationToPixel(l, pt.pointZ - doi);
  if (y < l.frameTop || y > l.frameBottom) return;
  canvas.setPenColour(Red);
  canvas.setPenWidth(2);
  canvas.moveTo(x - MarkerSize, y);
  canvas.lineTo(x + MarkerSize, y);
  canvas.setPenWidth(1);
}

void drawMisfitBar(const SectionPoint& pt, const SectionLayout& l, ui::Canvas& canvas, int x) {
  canvas.setPenColour(Grey);
  // The bar stands on the frame's bottom line, which it may cover.
  canvas.setClipRect(l.frameLeft + 1, l.frameTop, l.frameRight, l.frameBottom + 1);
  canvas.moveTo(x, l.frameBottom);
  const double bar = std::clamp(double(pt.fitError) * 100.0, -MaxMisfitBar, MaxMisfitBar);
  canvas.lineTo(x, l.frameBottom - truncPixel(bar));
  clipToFrame(l, canvas);
}

void drawCurve(const SectionPoint& pt, const SectionWindowState& view, ui::Canvas& canvas,
               bool current, int x, int y0) {
  const SectionLayout& l = view.layout;
  std::vector<ui::Point> vertices;
  for (int g = std::max(pt.nABmn, 0); g <= std::min(pt.ABmx, GridCells - 1); ++g) {
    const float rho = pt.compositeRho[g];
    if (!(std::isfinite(rho) && rho > 0.0f)) continue;
    vertices.push_back(
        {truncPixel((std::log10(rho) - l.meanLogRho) * view.curvePixelsPerDecade + x),
         elevationToPixel(l, pt.pointZ - g * AbGridStep * l.curveMetresPerDecade)});
  }
  if (vertices.empty()) return;
  canvas.setPenMode(ui::PenMode::NotXor);
  canvas.setPenColour(current ? Black : Red);
  canvas.setPenWidth(2);
  canvas.polyline(vertices.data(), int(vertices.size()));
  canvas.setPenWidth(1);
  const ui::Point last = vertices.back();
  canvas.moveTo(last.x, last.y);
  canvas.lineTo(x, last.y);
  canvas.lineTo(x, y0);
  const ui::Point first = vertices.front();
  canvas.moveTo(first.x, first.y);
  canvas.lineTo(x, first.y);
}

}  // namespace

std::string pointLabel(const SectionProfile& profile, const SectionPoint& point,
                       const SectionWindowState& view) {
  std::string label = view.profilePrefix ? shownText(profile.profileName) : std::string();
  label += view.labelBySurfaceChainage ? cformat("%.0f", std::fabs(double(point.surfaceChainage)))
                                       : cformat("%.1f", std::fabs(double(point.profileChainage)));
  return label;
}

void drawPoint(const SectionDatabase& db, const SectionWindowState& view, ui::Canvas& canvas,
               int b) {
  if (db.currentProfile < 0 || db.currentProfile >= MaxProfiles) return;
  const SectionProfile& p = db.profiles[db.currentProfile];
  if (b < 0 || b > lastPointOf(p)) return;
  const SectionPoint& pt = p.points[b];
  if (!(view.viewMinChainage < pt.profileChainage && pt.profileChainage < view.viewMaxChainage))
    return;
  const SectionLayout& l = view.layout;
  const bool current = b == db.currentPoint;
  const int x = chainageToPixel(l, pt.profileChainage);
  const int y0 = elevationToPixel(l, pt.pointZ);

  canvas.setPenColour(Black);
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setPenWidth(current ? 2 : 1);
  canvas.setFontColour(Black);
  canvas.setFontBold(current);
  canvas.setTextTransparent(true);
  drawArrow(canvas, x, y0);

  const std::string label = pointLabel(p, pt, view);
  const ui::TextSize size = canvas.textExtent(label);
  canvas.textOut(x - size.width / 2, y0 - 2 * MarkerSize - size.height, label);

  // Below its arrow the column belongs to the ground: it stays inside the
  // frame.
  clipToFrame(l, canvas);
  canvas.setPenMode(ui::PenMode::Copy);
  drawLayers(p, pt, view, canvas, b, x, y0);
  // Before the misfit bar, whose grey pen the columns drawn after the points
  // inherit.
  if (view.showDepthOfInvestigation) drawDepthMark(pt, l, canvas, x);
  drawMisfitBar(pt, l, canvas, x);
  if (view.showCurves && l.curveMetresPerDecade != 0.0) drawCurve(pt, view, canvas, current, x, y0);
  canvas.clearClip();

  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setPenWidth(1);
  canvas.setFontBold(false);
}

}  // namespace orv
