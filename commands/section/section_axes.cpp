#include "commands/section/section_axes.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/c_format.h"
#include "commands/section/section_colours.h"

namespace orv {
namespace {

using namespace section_colours;

constexpr int ChainageSteps[] = {5, 10, 20, 30, 50, 100, 150, 200, 250, 300, 350, 400, 450, 500};
constexpr int ElevationSteps[] = {1, 2, 5, 10, 50};

// The values first, first + step, ... below end whose pixel lies strictly
// between lowPixel and highPixel, for a pixelOf that grows with the value.
// The walk starts two steps below lowValue (the value at lowPixel) and stops
// at highPixel, so the widest view limits cost nothing.
template <typename PixelOf, typename Draw>
void ticksInside(long first, long end, int step, double lowValue, int lowPixel, int highPixel,
                 PixelOf pixelOf, Draw draw) {
  const double below = std::floor((lowValue - double(first)) / step) - 2.0;
  const double steps = double(end - first) / step + 1.0;
  const long k = below > 0.0 ? long(std::min(below, steps)) : 0;
  for (long v = first + k * step; v < end; v += step) {
    const int p = pixelOf(double(v));
    if (p >= highPixel) break;
    if (p > lowPixel) draw(v, p);
  }
}

// The first tick of an axis: the multiple of step next to the view's lower
// limit (plus one metre) towards zero, so that every label is a whole
// multiple of the step whatever the view limits.
long firstTick(double viewMin, int step) {
  // Far beyond any elevation or chainage: held where a long cannot overflow.
  constexpr double Reach = 1e15;
  return long(std::trunc(std::clamp((viewMin + 1.0) / step, -Reach, Reach))) * step;
}

// Pen and text of the axes: thin, copied, transparent text in colour.
void axisPen(ui::Canvas& canvas, ui::Colour colour) {
  canvas.setPenColour(colour);
  canvas.setPenWidth(1);
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setFontColour(colour);
  canvas.setTextTransparent(true);
}

void line(ui::Canvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.moveTo(x0, y0);
  canvas.lineTo(x1, y1);
}

}  // namespace

int chainageLabelStep(double pxPerMetreX, int widestLabelPixels) {
  for (int step : ChainageSteps)
    if (truncPixel(step * pxPerMetreX) >= widestLabelPixels) return step;
  return 1000;
}

int elevationLabelStep(double pxPerMetreZ, int textHeight) {
  for (int step : ElevationSteps)
    if (truncPixel(step * pxPerMetreZ) >= (4 * textHeight) / 3) return step;
  return 100;
}

void drawChainageAxis(const SectionWindowState& view, ui::Canvas& canvas) {
  const SectionLayout& l = view.layout;
  axisPen(canvas, Black);
  const long maxChainage = long(std::trunc(view.viewMaxChainage));
  const int step =
      chainageLabelStep(l.pxPerMetreX, canvas.textExtent(cformat("%ld", maxChainage)).width);
  const long first = firstTick(view.viewMinChainage, step);
  ticksInside(
      first, maxChainage, step, pixelToChainage(l, l.frameLeft), l.frameLeft, l.frameRight,
      [&](double c) { return chainageToPixel(l, c); },
      [&](long v, int x) {
        const std::string text = cformat("%ld", v);
        const ui::TextSize size = canvas.textExtent(text);
        canvas.textOut(x - size.width / 2, l.frameBottom + (2 * size.height) / 10, text);
        line(canvas, x, l.frameBottom - TickSize / 3, x, l.frameBottom + TickSize);
      });
}

void drawElevationAxis(const SectionWindowState& view, ui::Canvas& canvas) {
  const SectionLayout& l = view.layout;
  axisPen(canvas, Black);
  const int step = elevationLabelStep(l.pxPerMetreZ, canvas.textExtent("1").height);
  const long first = firstTick(view.viewMinElevation, step);
  const long end = long(std::trunc(view.viewMaxElevation));
  // Elevation grows upwards: the bottom of the frame is the low end.
  ticksInside(
      first, end, step, pixelToElevation(l, l.frameBottom), -l.frameBottom, -l.frameTop,
      [&](double z) { return -elevationToPixel(l, z); },
      [&](long v, int negY) {
        const int y = -negY;
        const std::string text = cformat("%ld", v);
        const ui::TextSize size = canvas.textExtent(text);
        const int third = l.sectionTextWidth / 3;
        canvas.textOut(l.frameLeft - third - size.width, y - size.height / 2, text);
        line(canvas, l.frameLeft + TickSize / 3, y, l.frameLeft - TickSize, y);
        canvas.textOut(l.frameRight + third, y - size.height / 2, text);
        line(canvas, l.frameRight - TickSize / 3, y, l.frameRight + TickSize, y);
      });
}

void drawAbHalfScale(const SectionProfile& profile, const SectionWindowState& view,
                     ui::Canvas& canvas) {
  const SectionLayout& l = view.layout;
  if (l.rightmostPoint < 0 || l.maxLogAbHalf <= 0.0) return;
  const double surface = profile.points[l.rightmostPoint].pointZ;
  axisPen(canvas, Red);
  const int third = l.sectionTextWidth / 3;
  for (int d = 0; d <= int(std::trunc(l.maxLogAbHalf)); ++d) {
    const int y = elevationToPixel(l, surface - d * l.curveMetresPerDecade);
    if (!(y > l.frameTop && y < l.frameBottom)) continue;
    const std::string text = cformat("%ld", long(std::trunc(std::pow(10.0, d) + 0.001)));
    const ui::TextSize size = canvas.textExtent(text);
    canvas.textOut(l.frameRight - third - size.width, y - size.height / 2, text);
    line(canvas, l.frameRight - 2 * TickSize / 3, y, l.frameRight, y);
    canvas.textOut(l.frameLeft + third, y - size.height / 2, text);
    line(canvas, l.frameLeft + 2 * TickSize / 3, y, l.frameLeft, y);
  }
  canvas.setFontColour(Black);
}

}  // namespace orv
