#include "core/section/section_layout.h"

#include <algorithm>
#include <cmath>

#include "core/section/section_window_state.h"

namespace orv {
namespace {

// Passes of the layout: fitting needs the picture width of the previous pass,
// and the margins depend on the fitted scale through the curve overhangs.
constexpr int LayoutPasses = 6;
constexpr double PixelLimit = 100000000.0;
constexpr double ExtentStart = 9999999.0;

int lastPoint(const SectionProfile& p) {
  return std::min(p.mxindex_bodu, MaxPointsPerProfile - 1);
}

int lastCell(const SectionPoint& pt) {
  return std::min(pt.ABmx, GridCells - 1);
}

int firstCell(const SectionPoint& pt) {
  return std::max(pt.nABmn, 0);
}

bool usableRho(float r) {
  return std::isfinite(r) && r > 0.0f;
}

struct Extents {
  double minChainage = ExtentStart;
  double maxChainage = -ExtentStart;
  double minElevation = ExtentStart;
  double maxElevation = -ExtentStart;
  int leftmost = -1;
  int rightmost = -1;
  double maxLogAbHalf = 0.0;
  double meanLogRho = 1.0;
};

Extents profileExtents(const SectionProfile& p, bool withCurves) {
  Extents e;
  double logSum = 0.0;
  long cells = 0;
  for (int b = 0; b <= lastPoint(p); ++b) {
    const SectionPoint& pt = p.points[b];
    if (pt.profileChainage < e.minChainage) {
      e.minChainage = pt.profileChainage;
      e.leftmost = b;
    }
    if (pt.profileChainage > e.maxChainage) {
      e.maxChainage = pt.profileChainage;
      e.rightmost = b;
    }
    e.minElevation = std::min<double>(e.minElevation, pt.pointZ);
    e.maxElevation = std::max<double>(e.maxElevation, pt.pointZ);
    for (int i = 0; i < std::min(pt.MDLmx, MaxLayers); ++i) {
      const double z = pt.pointZ - std::fabs(pt.layerDepth[i]);
      e.minElevation = std::min(e.minElevation, z);
      e.maxElevation = std::max(e.maxElevation, z);
    }
    if (!withCurves) continue;
    e.maxLogAbHalf = std::max(e.maxLogAbHalf, pt.ABmx * AbGridStep);
    for (int g = firstCell(pt); g <= lastCell(pt); ++g) {
      if (!usableRho(pt.compositeRho[g])) continue;
      logSum += std::log10(pt.compositeRho[g]);
      ++cells;
    }
  }
  if (cells > 0) e.meanLogRho = logSum / double(cells);
  return e;
}

// How far the curve of a point reaches to the left (smallest) or to the
// right (largest) of its column, in pixels.
int curveReach(const SectionPoint& pt, const SectionWindowState& view, double meanLogRho,
               bool right) {
  int reach = right ? -10000 : 10000;
  const int pixelsPerDecade = truncPixel(view.curvePixelsPerDecade);
  for (int g = firstCell(pt); g <= lastCell(pt); ++g) {
    if (!usableRho(pt.compositeRho[g])) continue;
    const int v = truncPixel(pixelsPerDecade * (std::log10(pt.compositeRho[g]) - meanLogRho));
    reach = right ? std::max(reach, v) : std::min(reach, v);
  }
  return reach;
}

double atLeastTiny(double v) {
  return v < 0.00000000001 ? 1.0 : v;
}

}  // namespace

int truncPixel(double v) {
  if (!(v == v)) return 0;
  return int(std::trunc(std::clamp(v, -PixelLimit, PixelLimit)));
}

int roundPixel(double v) {
  const int t = truncPixel(v);
  return (v - t > 0.5) ? t + 1 : t;
}

int chainageToPixel(const SectionLayout& l, double chainage) {
  return truncPixel((chainage - l.imageLeftChainage) * l.pxPerMetreX);
}

int elevationToPixel(const SectionLayout& l, double elevation) {
  return truncPixel((l.imageTopElevation - elevation) * l.pxPerMetreZ);
}

double pixelToChainage(const SectionLayout& l, int x) {
  return l.pxPerMetreX > 0.0 ? x / l.pxPerMetreX + l.imageLeftChainage : l.imageLeftChainage;
}

double pixelToElevation(const SectionLayout& l, int y) {
  return l.pxPerMetreZ > 0.0 ? l.imageTopElevation - y / l.pxPerMetreZ : l.imageTopElevation;
}

void computeSectionLayout(SectionDatabase& db, SectionWindowState& view, ui::Canvas& canvas,
                          ui::ScreenSize client) {
  SectionLayout& l = view.layout;
  if (db.currentProfile < 0 || db.currentProfile >= MaxProfiles) return;
  SectionProfile& p = db.profiles[db.currentProfile];
  const int pointCount = lastPoint(p) + 1;
  for (int pass = 0; pass < LayoutPasses; ++pass) {
    if (view.fitWidth && pointCount >= 2) {
      double span = l.imageRightChainage - l.imageLeftChainage;
      if (span == 0.0) span = 0.001;
      l.pxPerMetreX = (client.width + 0.000001) / span;
      p.scaleX = float(l.pxPerMetreX / PixelsPerMetreAtScale1);
    }
    if (view.fitHeight) {
      double span = l.imageTopElevation - l.imageBottomElevation;
      if (span == 0.0) span = 0.001;
      l.pxPerMetreZ = (client.height + 0.000001) / span;
      p.scaleZ = float(l.pxPerMetreZ / PixelsPerMetreAtScale1);
    }
    if (view.exaggerationLock && view.exaggeration != 0) {
      if (view.fitHeight && !view.fitWidth)
        p.scaleX = p.scaleZ / float(view.exaggeration);
      else if (view.fitWidth)
        p.scaleZ = float(view.exaggeration) * p.scaleX;
    }

    const Extents e = profileExtents(p, view.showCurves);
    l.leftmostPoint = e.leftmost;
    l.rightmostPoint = e.rightmost;
    l.maxLogAbHalf = e.maxLogAbHalf;
    l.meanLogRho = e.meanLogRho;
    l.dataMinChainage = std::max<double>(e.minChainage, view.viewMinChainage);
    l.dataMaxChainage = std::min<double>(e.maxChainage, view.viewMaxChainage);
    l.chainageSpan = l.dataMaxChainage - l.dataMinChainage;
    l.minElevation = std::max<double>(e.minElevation, view.viewMinElevation);
    l.maxElevation = std::min<double>(e.maxElevation, view.viewMaxElevation);
    l.elevationSpan = l.maxElevation - l.minElevation;

    l.pxPerMetreX = atLeastTiny(double(p.scaleX) * PixelsPerMetreAtScale1);
    l.pxPerMetreZ = atLeastTiny(double(p.scaleZ) * PixelsPerMetreAtScale1);

    const ui::TextSize w = canvas.textExtent("W");
    l.sectionTextHeight = w.height;
    l.sectionTextWidth = w.width;
    l.sectionMarginLeft = l.sectionMarginRight = 5 * w.width;

    l.curveOverhangLeft = l.curveOverhangRight = 0;
    if (view.showCurves && e.leftmost >= 0) {
      const int left = curveReach(p.points[e.leftmost], view, e.meanLogRho, false);
      const int right = curveReach(p.points[e.rightmost], view, e.meanLogRho, true);
      if (right >= 1) {
        l.curveOverhangRight = right;
        l.sectionMarginRight += right;
      }
      if (left < 0) {
        l.curveOverhangLeft = -left;
        l.sectionMarginLeft += -left;
      }
    }
    l.sectionMarginTop = l.sectionMarginBottom = 2 * w.height;

    l.sectionImageWidth = std::max(
        truncPixel(l.chainageSpan * l.pxPerMetreX) + l.sectionMarginLeft + l.sectionMarginRight,
        l.sectionMarginLeft + l.sectionMarginRight);
    l.sectionImageHeight = std::max(truncPixel(l.elevationSpan * l.pxPerMetreZ) + 2 * w.height +
                                        l.sectionMarginTop + l.sectionMarginBottom,
                                    l.sectionMarginTop + l.sectionMarginBottom);

    l.imageLeftChainage = l.dataMinChainage - l.sectionMarginLeft / l.pxPerMetreX;
    l.imageRightChainage = l.imageLeftChainage + l.sectionImageWidth / l.pxPerMetreX;
    l.imageBottomElevation =
        l.minElevation - (l.sectionTextHeight + l.sectionMarginBottom) / l.pxPerMetreZ;
    l.imageTopElevation = l.imageBottomElevation + l.sectionImageHeight / l.pxPerMetreZ;
  }
}

void completeSectionLayout(const SectionWindowState& view, SectionLayout& l) {
  l.curveMetresPerDecade =
      (view.showCurves && l.maxLogAbHalf > 0.0) ? l.elevationSpan / l.maxLogAbHalf : 0.0;
  l.frameLeft = l.sectionMarginLeft - 2 * l.sectionTextWidth;
  l.frameRight = l.sectionImageWidth + 2 * l.sectionTextWidth - l.sectionMarginRight;
  if (view.showCurves) {
    l.frameRight += l.curveOverhangRight;
    l.frameLeft -= l.curveOverhangLeft;
  }
  l.frameTop = l.sectionMarginTop;
  l.frameBottom = l.sectionImageHeight - l.sectionMarginBottom + l.sectionTextHeight / 2;
}

void clipToFrame(const SectionLayout& l, ui::Canvas& canvas) {
  clipToFrameRows(l, canvas, l.frameTop, l.frameBottom);
}

void clipToFrameRows(const SectionLayout& l, ui::Canvas& canvas, int top, int bottom) {
  // The outermost column fills end one pixel right of the left side and just
  // before the right side: the frame's lines themselves stay outside.
  canvas.setClipRect(l.frameLeft + 1, std::max(top, l.frameTop), l.frameRight,
                     std::min(bottom, l.frameBottom));
}

}  // namespace orv
