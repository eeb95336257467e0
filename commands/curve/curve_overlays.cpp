// What the editing modes and the label commands write over the chart: the
// XOR crosshair, the cursor read-out and the computed curve's labels.
#include <cmath>
#include <string>

#include "base/c_format.h"
#include "commands/curve/chart_style.h"
#include "commands/curve/curve_rendering.h"

namespace orv {
namespace {

bool cursorShown(const CurveWindowState& s, int x, int y) {
  if (x < 0 || y < 0 || !insidePlot(s, x, y) || !s.compositeReady) return false;
  return s.editCompositeMode || s.modelBuildMode || s.editIpOutlierMode;
}

}  // namespace

void drawCrosshair(CurveSession& c, int x, int y) {
  const CurveWindowState& s = c.s;
  if (!cursorShown(s, x, y)) return;
  ui::Canvas& canvas = c.canvas;
  canvas.setPenMode(ui::PenMode::Xor);
  canvas.setPenColour(chart::Red);
  canvas.setPenWidth(1);
  chart::line(canvas, s.marginLeft, y, s.imageWidth - s.marginRight, y);
  chart::line(canvas, x, s.marginTop, x, s.imageHeight - s.marginBottom);
  canvas.setPenMode(ui::PenMode::Copy);
}

void showCursorReadout(CurveSession& c, int x, int y) {
  const CurveWindowState& s = c.s;
  if (!cursorShown(s, x, y)) return;
  ui::Canvas& canvas = c.canvas;
  const double rho = std::pow(10.0, (x - s.marginLeft) / s.pixelsPerDecadeRho + s.logRhoMin);
  const double abHalf = std::pow(10.0, (y - s.marginTop) / s.pixelsPerDecadeAb + s.logAbMin);
  const std::string rhoText = cformat(" %.1f ", rho);
  const std::string text = "Resistivita kurzoru = " + rhoText +
                           " , AB/2 kurzoru = " + cformat(" %.1f ", abHalf) + "      ";
  canvas.setPenColour(chart::Red);
  canvas.setFontBold(false);
  chart::useOpaqueText(canvas, chart::Black);
  // The read-out stands where the misfit text stands.
  const int left = (s.plotLeft + s.plotRight) / 2 - chart::textWidth(canvas, "SSQ = " + rhoText);
  canvas.textOut(left, s.plotBottom + s.textHeight / 2, text);
}

void labelComputedCurve(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.describeComputedCurve = true;
  if (!s.modelActive) return;
  ui::Canvas& canvas = c.canvas;
  canvas.setFontBold(false);
  chart::useTransparentText(canvas, chart::Red);
  const int first = s.gridMinIndex < 0 ? 0 : s.gridMinIndex;
  const int last = s.gridMaxIndex < GridCells ? s.gridMaxIndex : GridCells - 1;
  for (int k = first; k <= last; ++k) {
    if (!(s.computedRho[k] > 0) || !(s.gridAbHalf[k] > 0)) continue;
    const std::string text = cformat("%.2f-  -%.2f", static_cast<double>(s.computedRho[k]),
                                     static_cast<double>(s.gridAbHalf[k]));
    const ui::TextSize size = canvas.textExtent(text);
    canvas.textOut(columnOfRho(s, s.computedRho[k]) - size.width / 2,
                   rowOfAbHalf(s, s.gridAbHalf[k]) - size.height / 2, text);
  }
}

}  // namespace orv
