#include "commands/section/section_painting.h"

#include <algorithm>
#include <cmath>

#include "base/fixed_text.h"
#include "commands/section/point_column.h"
#include "commands/section/section_axes.h"
#include "commands/section/section_colours.h"
#include "core/section/colour_scale.h"
#include "core/section/layer_colouring.h"

namespace orv {
namespace {

using namespace section_colours;

constexpr double BelowAnyChainage = -1e14;

int lastPointOf(const SectionProfile& p) {
  return std::min(p.mxindex_bodu, MaxPointsPerProfile - 1);
}

int lineCount(const SectionProfile& p) {
  return std::clamp(p.HBV_pocet, 0, MaxHbvLines);
}

int vertexCount(const SectionProfile& p, int line) {
  return std::clamp(p.HBV_pocetBodu[line], 0, MaxHbvVertices);
}

bool hbvModes(const SectionWindowState& view) {
  return view.defineLayersMode || view.hbvEditMode;
}

void drawSurfaceLine(const SectionProfile& p, const SectionLayout& l, ui::Canvas& canvas) {
  const std::vector<ui::Point> line = surfaceLine(p, l);
  if (line.size() < 2) return;
  canvas.setPenColour(Green);
  canvas.setPenWidth(1);
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.polyline(line.data(), int(line.size()));
}

void drawFrame(const SectionLayout& l, ui::Canvas& canvas) {
  const ui::Point sides[] = {{l.frameLeft, l.frameTop},
                             {l.frameLeft, l.frameBottom},
                             {l.frameRight, l.frameBottom},
                             {l.frameRight, l.frameTop}};
  canvas.setPenColour(Grey);
  canvas.setPenWidth(1);
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.polyline(sides, 4);
}

std::string hbvCounts(const SectionProfile& p) {
  const int lines = lineCount(p);
  const int vertices = lines > 0 ? p.HBV_pocetBodu[lines - 1] : 0;
  return " - i_HBV: " + std::to_string(p.HBV_pocet) + " bod_HBV: " + std::to_string(vertices);
}

// A boundary line clipped for the normal view: vertices outside the frame's
// chainage range or above the picture or below the frame are left out, and
// where a segment crosses the top or bottom level the crossing is put in.
std::vector<ui::Point> clippedLine(const SectionProfile& p, int line,
                                   const SectionWindowState& view) {
  const SectionLayout& l = view.layout;
  const double left = pixelToChainage(l, l.frameLeft);
  const double right = pixelToChainage(l, l.frameRight);
  const double top = l.imageTopElevation;
  const double bottom = pixelToElevation(l, l.frameBottom);
  const bool clip = !hbvModes(view);
  std::vector<ui::Point> out;
  auto add = [&](double c, double z) {
    out.push_back({chainageToPixel(l, c), elevationToPixel(l, z)});
  };
  double prevC = 0.0, prevZ = 0.0;
  bool havePrev = false;
  for (int k = 0; k < vertexCount(p, line); ++k) {
    const double c = p.HBV_x[line][k];
    const double z = p.HBV_z[line][k];
    if (c < view.viewMinChainage || c > view.viewMaxChainage) continue;
    if (!clip) {
      add(c, z);
      continue;
    }
    if (c < left || c > right) continue;
    if (havePrev && z != prevZ) {
      // Crossings of the two levels, in their order along the segment.
      double t[2] = {(top - prevZ) / (z - prevZ), (bottom - prevZ) / (z - prevZ)};
      if (t[0] > t[1]) std::swap(t[0], t[1]);
      for (double u : t)
        if (u > 0.0 && u < 1.0) add(prevC + (c - prevC) * u, prevZ + (z - prevZ) * u);
    }
    prevC = c;
    prevZ = z;
    havePrev = true;
    if (z <= top && z >= bottom) add(c, z);
  }
  return out;
}

void drawStatus(const SectionDatabase& db, const SectionWindowState& view, ui::Canvas& canvas) {
  canvas.setFontColour(Black);
  canvas.setFontBold(false);
  canvas.setTextTransparent(true);
  canvas.textOut(0, 0, sectionStatusText(db, view));
}

}  // namespace

std::optional<IpWindowTimes> ipWindowTimes(const SectionProfile& p, int window) {
  if (window < 0 || window >= std::min(p.num_IPoken, MaxIpWindows)) return std::nullopt;
  const int shift = p.LeadTime + p.OnTime;
  return IpWindowTimes{p.ipWindowFrom[window] - shift, p.ipWindowTo[window] - shift};
}

std::vector<ui::Point> surfaceLine(const SectionProfile& p, const SectionLayout& l) {
  std::vector<ui::Point> line;
  double previous = BelowAnyChainage;
  for (int n = 0; n <= lastPointOf(p); ++n) {
    int next = -1;
    for (int b = 0; b <= lastPointOf(p); ++b) {
      const double c = p.points[b].profileChainage;
      if (c > previous && (next < 0 || c < p.points[next].profileChainage)) next = b;
    }
    if (next < 0) {
      if (!line.empty()) line.push_back(line.back());
      continue;
    }
    const SectionPoint& pt = p.points[next];
    previous = pt.profileChainage;
    line.push_back({chainageToPixel(l, pt.profileChainage),
                    roundPixel((l.imageTopElevation - pt.pointZ) * l.pxPerMetreZ)});
  }
  return line;
}

std::string sectionStatusText(const SectionDatabase& db, const SectionWindowState& view) {
  if (db.currentProfile < 0 || db.currentProfile >= MaxProfiles) return "";
  const SectionProfile& p = db.profiles[db.currentProfile];
  std::string text =
      "jméno lokality: " + shownText(db.localityName) + " - profil: " + shownText(p.profileName);
  const std::optional<IpWindowTimes> t =
      view.showIp ? ipWindowTimes(p, view.currentIpWindow) : std::nullopt;
  if (t)
    text += " - oknoVP: " + std::to_string(t->start) + " - " + std::to_string(t->end) + " ms po";
  if (hbvModes(view)) text += hbvCounts(p);
  if (!t || hbvModes(view)) text += std::string(30, ' ');
  return text;
}

void drawBoundaryLines(const SectionProfile& p, const SectionWindowState& view,
                       ui::Canvas& canvas) {
  canvas.setPenColour(Red);
  canvas.setPenMode(ui::PenMode::Copy);
  for (int j = 0; j < lineCount(p); ++j) {
    canvas.setPenWidth(hbvModes(view) && j == view.hbvSelected ? 3 : 2);
    const std::vector<ui::Point> line = clippedLine(p, j, view);
    if (line.size() >= 2) canvas.polyline(line.data(), int(line.size()));
  }
  canvas.setPenWidth(1);
}

void paintSection(SectionDatabase& db, SectionWindowState& view, ui::Canvas& canvas,
                  ui::ScreenSize client) {
  if (db.currentProfile < 0 || db.currentProfile >= MaxProfiles) return;
  computeSectionLayout(db, view, canvas, client);
  SectionLayout& l = view.layout;
  completeSectionLayout(view, l);
  const SectionProfile& p = db.profiles[db.currentProfile];

  canvas.setBrushColour(White);
  canvas.setBrushStyle(ui::BrushStyle::Solid);
  canvas.fillRect(0, 0, canvas.width(), canvas.height());

  const bool hasLines = lineCount(p) > 0;
  // The bands and the surface line belong to the ground: inside the frame.
  clipToFrame(l, canvas);
  if (view.colourLayersMode && hasLines) colourLayers(db, view, bandFiller(canvas, view));
  drawSurfaceLine(p, l, canvas);
  canvas.clearClip();
  drawFrame(l, canvas);
  drawChainageAxis(view, canvas);
  drawElevationAxis(view, canvas);
  drawStatus(db, view, canvas);

  if (!view.colourLayersMode && !view.coloursOnly)
    for (int b = 0; b <= lastPointOf(p); ++b) drawPoint(db, view, canvas, b);
  if (hasLines && !view.coloursOnly && view.drawLayerBounds) drawBoundaryLines(p, view, canvas);
  canvas.setPenWidth(1);
  if (view.colourLayersMode && !view.coloursOnly)
    for (int b = 0; b <= lastPointOf(p); ++b) drawPoint(db, view, canvas, b);
  // Inside the frame, over the columns' fills, which would hide it.
  if (view.showCurves) drawAbHalfScale(p, view, canvas);
  if (view.drawLegend) drawColourLegend(view.colourScale, p, l, canvas);
}

}  // namespace orv
