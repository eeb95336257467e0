// The geometry of the section picture: what paintSection computes in its
// layout passes and keeps for the mouse, the boundary lines and the exports.
// All pixel values are integers; conversions from real to integer truncate
// towards zero.
#pragma once

#include <cstdint>

#include "core/section/section_database.h"
#include "ui/canvas.h"
#include "ui/window_chrome.h"

namespace orv {

inline constexpr double DrawingDpi = 360.0;
inline constexpr double PixelsPerMetreAtScale1 = 360.0 * 39.37007874015748;
inline constexpr int MarkerSize = 6;
inline constexpr int TickSize = 3;

struct SectionLayout {
  double pxPerMetreX = 0.0;
  double pxPerMetreZ = 0.0;
  double dataMinChainage = 0.0;
  double dataMaxChainage = 0.0;
  double chainageSpan = 0.0;
  double minElevation = 0.0;
  double maxElevation = 0.0;
  double elevationSpan = 0.0;
  double imageLeftChainage = 0.0;
  double imageRightChainage = 0.0;
  double imageBottomElevation = 0.0;
  double imageTopElevation = 0.0;
  int sectionTextHeight = 0;
  int sectionTextWidth = 0;
  int sectionMarginLeft = 0;
  int sectionMarginRight = 0;
  int sectionMarginTop = 0;
  int sectionMarginBottom = 0;
  int sectionImageWidth = 0;
  int sectionImageHeight = 0;
  int frameLeft = 0;
  int frameRight = 0;
  int frameTop = 0;
  int frameBottom = 0;
  int curveOverhangLeft = 0;
  int curveOverhangRight = 0;
  double maxLogAbHalf = 0.0;
  double curveMetresPerDecade = 0.0;
  double meanLogRho = 1.0;
  // Index of the leftmost and rightmost point of the current profile, -1
  // while it has none.
  int leftmostPoint = -1;
  int rightmostPoint = -1;
};

// World to pixel and back with the layout of the last paintSection.
int chainageToPixel(const SectionLayout& l, double chainage);
int elevationToPixel(const SectionLayout& l, double elevation);
double pixelToChainage(const SectionLayout& l, int x);
double pixelToElevation(const SectionLayout& l, int y);

struct SectionWindowState;

// A pixel value from a real one: truncated towards zero, held within
// +-100000000 so that far-off points stay representable.
int truncPixel(double v);
// The surface line's rounding: truncated, plus one when the remainder
// exceeds 0.5.
int roundPixel(double v);

// The layout passes of paintSection: fitting, extents, margins, picture size
// and the world at its edges. Fitting writes scaleX / scaleZ of the current
// profile. The picture font is the canvas's.
void computeSectionLayout(SectionDatabase& db, SectionWindowState& view, ui::Canvas& canvas,
                          ui::ScreenSize client);

// Confines the drawing to the inside of the frame: right of its left side,
// left of its right side and above its bottom, from its top level down.
// The ground (columns, bands, curves, IP lines, the surface line) is drawn
// there, so that nothing of it covers the frame, the axis labels, the status
// line or the legend.
void clipToFrame(const SectionLayout& l, ui::Canvas& canvas);
// The same clip further confined to the rows top <= y < bottom.
void clipToFrameRows(const SectionLayout& l, ui::Canvas& canvas, int top, int bottom);

// The layout values that only the drawing needs, after the passes: the curve
// size in metres per AB/2 decade and the frame.
void completeSectionLayout(const SectionWindowState& view, SectionLayout& l);

}  // namespace orv
