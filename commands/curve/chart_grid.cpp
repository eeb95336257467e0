#include "commands/curve/chart_grid.h"

#include <cmath>
#include <string>

#include "base/c_format.h"
#include "commands/curve/chart_style.h"
#include "commands/curve/curve_rendering.h"

namespace orv {
namespace {

// Labels keep this much room (times their size) from their neighbours.
constexpr double LabelSpacing = 1.15;
// No label has been written yet in this pass.
constexpr int NoLabel = -9999;
// Decades far outside any float resistivity or depth are never visited.
constexpr int LowestDecade = -60;
constexpr int HighestDecade = 60;

std::string decadeLabel(int d) {
  return formatReal(std::pow(10.0, d));
}

std::string intermediateLabel(double v) {
  return v > 1 ? formatReal(v) : cformat("%.2f", v);
}

// Intermediate values below decade d, from 10^(d-1) up to below 10^d: in
// halves of 10^(d-1) from 10^(d-1) on when that is above 1 (10, 15, ... 95),
// else in whole 10^(d-1) from twice it on (2 ... 9, 0.2 ... 0.9).
struct IntermediateValues {
  double step;
  int first, last;  // multiples of the step
  double value(int m) const { return step * m; }
};

IntermediateValues intermediatesOf(int d) {
  const double base = std::pow(10.0, d - 1);
  if (base > 1) return {base / 2, 2, 19};
  return {base, 2, 9};
}

}  // namespace

void drawResistivityGrid(CurveSession& c) {
  CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  const int labelY = s.marginTop / 2 - s.textHeight / 2;
  if (std::isfinite(s.logRhoMin) && std::isfinite(s.logRhoMax)) {
    int lastLabelX = NoLabel;
    int d = static_cast<int>(std::trunc(std::fmax(s.logRhoMin, LowestDecade)));
    for (; d < s.logRhoMax + 2 && d <= HighestDecade; ++d) {
      const int xd = columnOfLogRho(s, d);
      // Everything of this decade and the later ones lies right of the plot.
      if (columnOfLogRho(s, d - 1) > s.plotRight) break;
      const std::string label = decadeLabel(d);
      const int labelWidth = chart::textWidth(canvas, label);
      canvas.setPenWidth(2);
      if (s.plotLeft < xd && xd < s.plotRight) {
        chart::line(canvas, xd, s.plotTop, xd, s.plotBottom);
        canvas.textOut(xd - labelWidth / 2, labelY, label);
      }
      canvas.setPenWidth(1);
      const IntermediateValues values = intermediatesOf(d);
      const int roomForDecade = static_cast<int>(LabelSpacing * labelWidth);
      for (int m = values.first; m <= values.last; ++m) {
        const double v = values.value(m);
        const int x = columnOfRho(s, v);
        if (!(s.plotLeft < x && x < s.plotRight)) continue;
        chart::line(canvas, x, s.plotTop, x, s.plotBottom);
        const std::string text = intermediateLabel(v);
        const int w = chart::textWidth(canvas, text);
        if (static_cast<int>(LabelSpacing * w) < x - lastLabelX && roomForDecade < xd - x) {
          canvas.textOut(x - w / 2, labelY, text);
          lastLabelX = x;
        }
      }
    }
  }
  canvas.textOut(s.textHeight / 3, s.textHeight / 2, "Rzd->");
  const char* unit = "[Ohm.m]";
  canvas.textOut(s.imageWidth - chart::textWidth(canvas, unit), s.textHeight / 2, unit);
}

void drawAbGrid(CurveSession& c) {
  CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  const int labelRight = s.marginLeft - s.textWidth;
  const int room = static_cast<int>(LabelSpacing * s.textHeight);
  if (std::isfinite(s.logAbMin) && std::isfinite(s.logAbMax)) {
    int lastTop = NoLabel;
    // The range follows the bounds, not the plot box: under a locked scale the
    // bounds may reach past the plot, and their lines then run below it.
    for (int d = -2; d < s.logAbMax + 1 && d <= HighestDecade; ++d) {
      const int yd = rowOfLogAbHalf(s, d);
      const int decadeTop = yd - s.textHeight / 2;
      canvas.setPenWidth(2);
      if (s.logAbMin < d && d < s.logAbMax) {
        chart::line(canvas, s.plotLeft, yd, s.plotRight, yd);
        const std::string label = decadeLabel(d);
        canvas.textOut(labelRight - chart::textWidth(canvas, label), decadeTop, label);
      }
      canvas.setPenWidth(1);
      const double base = std::pow(10.0, d - 1);
      for (int m = 2; m <= 9; ++m) {
        const double v = m * base;
        const double logV = std::log10(v);
        if (!(s.logAbMin < logV && logV < s.logAbMax)) continue;
        const int y = rowOfLogAbHalf(s, logV);
        chart::line(canvas, s.plotLeft, y, s.plotRight, y);
        const int top = y - s.textHeight / 2;
        if (room < top - lastTop && room < decadeTop - top) {
          const std::string text = intermediateLabel(v);
          canvas.textOut(labelRight - chart::textWidth(canvas, text), top, text);
          lastTop = top;
        }
      }
    }
  }
  canvas.setPenWidth(1);
  const int x = s.textWidth / 5;
  const int middle = (s.imageHeight - s.marginTop) / 2 + s.marginTop;
  canvas.textOut(x, middle - s.textHeight, "AB");
  canvas.textOut(x, middle, "/2");
  canvas.textOut(x, middle + s.textHeight, "[m]");
}

void drawPlotFrame(CurveSession& c) {
  const CurveWindowState& s = c.s;
  c.canvas.setPenColour(chart::Black);
  const ui::Point frame[5] = {{s.plotLeft, s.plotTop},
                              {s.plotRight, s.plotTop},
                              {s.plotRight, s.plotBottom},
                              {s.plotLeft, s.plotBottom},
                              {s.plotLeft, s.plotTop}};
  c.canvas.polyline(frame, 5);
}

}  // namespace orv
