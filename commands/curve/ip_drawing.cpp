#include "commands/curve/ip_drawing.h"

#include <string>

#include "base/c_format.h"
#include "commands/curve/chart_style.h"
#include "commands/curve/curve_rendering.h"
#include "core/interpretation/ip_values.h"

namespace orv {
namespace {

constexpr ui::Colour Yellow = 0x00FFFF;
// Time after switch-off that spans the plot width, ms.
constexpr int64_t ShownDecayTime = 5000;

int plotWidth(const CurveWindowState& s) {
  return s.imageWidth - s.marginLeft - s.marginRight;
}

int64_t switchOff(const CurveWindowState& s) {
  return static_cast<int64_t>(s.ipOnTime) + s.ipLeadTime;
}

std::string decimal(int64_t v) {
  return std::to_string(v);
}

int readingRow(const CurveWindowState& s, int j) {
  return rowOfLogAbHalf(s, s.readingLogAbHalf[j]);
}

// Height of the decay curve per unit of value: `share` grid steps of the
// average grid step's height at the largest value shown. A plot of one grid
// index or a maximum of 0 gives no height instead of a division by zero.
double liftPerValue(const CurveWindowState& s, double gridSteps, double share) {
  const double plotHeight = s.plotBottom - s.plotTop;
  if (gridSteps == 0.0 || s.ipMaxShown == 0) return 0.0;
  return plotHeight / gridSteps / s.ipMaxShown * share;
}

int liftedRow(const CurveWindowState& s, int j, double lift, float value) {
  const double y = (s.readingLogAbHalf[j] - s.logAbMin) * s.pixelsPerDecadeAb - lift * value;
  return truncatePixel(y) + s.marginTop;
}

void drawIsolines(CurveSession& c, int readings, int windows, float largest) {
  const CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  const double width = plotWidth(s);
  ui::Point points[MaxReadings];
  for (int w = 0; w < windows; ++w) {
    canvas.setPenColour(chart::Grey + 50 * w);
    for (int j = 0; j < readings; ++j) {
      const float v = s.ipValue[j][w];
      const double x = s.ipMaxShown != 0 ? width * v / s.ipMaxShown : 0.0;
      points[j] = {truncatePixel(x) + s.marginLeft, readingRow(s, j)};
      if (v >= largest && v > 0) canvas.textOut(points[j].x, points[j].y, cformat("%.1f", v));
    }
    canvas.polyline(points, readings);
  }
}

void drawDecayCurves(CurveSession& c, int readings, int windows) {
  CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  canvas.setPenColour(chart::Grey);
  const double windowLift = liftPerValue(s, s.gridMaxIndex, 20.0);
  const double firstLift = liftPerValue(s, s.gridMaxIndex + 0.0001, 10.0);
  ui::Point vertices[MaxIpWindows + 3];
  for (int j = 0; j < readings; ++j) {
    const int row = readingRow(s, j);
    const int firstColumn = ipColumnOfTime(s, s.ipWindowMidTime[0]);
    canvas.textOut(truncatePixel(firstColumn - 1.5 * s.textWidth), row - s.textHeight,
                   cformat("%.1f", s.ipValue[j][0]));
    for (int w = 0; w < windows; ++w) {
      const int64_t mid = (static_cast<int64_t>(s.ipWindowStart[w]) + s.ipWindowEnd[w]) / 2;
      s.ipWindowMidTime[w] = static_cast<int32_t>(mid);
      vertices[w] = {ipColumnOfTime(s, mid), liftedRow(s, j, windowLift, s.ipValue[j][w])};
    }
    // The midpoints just stored may have moved the first one.
    const int left = ipColumnOfTime(s, s.ipWindowMidTime[0]);
    vertices[windows] = {ipColumnOfTime(s, s.ipWindowMidTime[windows - 1]), row};
    vertices[windows + 1] = {left, row};
    vertices[windows + 2] = {left, liftedRow(s, j, firstLift, s.ipValue[j][0])};
    canvas.setBrushColour(Yellow);
    canvas.polygon(vertices, windows + 3);
    canvas.setBrushColour(chart::White);
  }
}

}  // namespace

bool ipDisplayOn(const CurveWindowState& s) {
  return s.showDecayCurves && s.ipWindowCount > 0 && soundingHasIp(s);
}

int ipColumnOfTime(const CurveWindowState& s, int64_t t) {
  const int64_t column = (t - switchOff(s)) * plotWidth(s) / ShownDecayTime;
  return truncatePixel(static_cast<double>(column)) + s.marginLeft;
}

void drawIpLabels(CurveSession& c) {
  const CurveWindowState& s = c.s;
  if (!ipDisplayOn(s)) return;
  ui::Canvas& canvas = c.canvas;
  if (s.ipAsIsolines) {
    const std::string text = "zdánl.pol. " + decimal(s.ipMaxShown) + " [%]     ";
    canvas.textOut(s.imageWidth - chart::textWidth(canvas, text), s.plotBottom, text);
    return;
  }
  const int windows = ipWindowsDefined(s);
  const int64_t last = s.ipWindowMidTime[windows - 1];
  const int64_t first = s.ipWindowMidTime[0];
  canvas.textOut(ipColumnOfTime(s, last), s.plotBottom,
                 "čas " + decimal(last - switchOff(s)) + " ms po vypnutí Iab         ");
  canvas.textOut(ipColumnOfTime(s, first), s.plotBottom,
                 decimal(first - switchOff(s)) + " ms     ");
}

void drawIpPanel(CurveSession& c) {
  CurveWindowState& s = c.s;
  computeIpValues(s);
  if (!ipDisplayOn(s)) return;
  const int readings = ipReadingCount(s);
  const int windows = ipWindowsDefined(s);
  if (readings == 0) return;
  if (s.ipAsIsolines)
    drawIsolines(c, readings, windows, largestIpValue(s));
  else
    drawDecayCurves(c, readings, windows);
}

}  // namespace orv
