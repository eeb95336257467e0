#include "commands/curve/curve_rendering.h"

#include <algorithm>
#include <cmath>

#include "commands/curve/chart_grid.h"
#include "commands/curve/chart_style.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/ip_drawing.h"
#include "core/interpretation/forward_problem.h"

namespace orv {
namespace {

// Only the first 28 grid indices (AB/2 up to about 1.4 km) join the branch
// lines; readings beyond them keep their crosses.
constexpr int JoinedGridIndices = 28;

int clampCell(int k) {
  if (k < 0) return 0;
  if (k >= GridCells) return GridCells - 1;
  return k;
}

// Plot box and scales from the image size and the bounds; the upper bounds
// are then moved to what the plot box actually shows.
void computeGeometry(CurveWindowState& s) {
  s.plotLeft = s.marginLeft;
  s.plotRight = s.imageWidth - s.marginRight;
  s.plotTop = s.marginTop;
  s.plotBottom = s.imageHeight - s.marginBottom;
  const int w = s.imageWidth - s.marginLeft - s.marginRight;
  const int h = s.imageHeight - s.marginBottom - s.marginTop;
  float dx = s.logRhoMax - s.logRhoMin;
  float dy = s.logAbMax - s.logAbMin;
  if (dx <= 0) dx = 1;
  if (dy <= 0) dy = 1;
  s.pixelsPerDecadeRho = static_cast<float>(w) / dx;
  s.pixelsPerDecadeAb = static_cast<float>(h) / dy;
  // A plot box of no width would make the scale 0 and the bounds undefined.
  if (s.pixelsPerDecadeRho > 0)
    s.logRhoMax = static_cast<float>(w) / s.pixelsPerDecadeRho + s.logRhoMin;
  if (s.pixelsPerDecadeAb > 0)
    s.logAbMax = static_cast<float>(h) / s.pixelsPerDecadeAb + s.logAbMin;
}

void drawReadingCross(ui::Canvas& canvas, int x, int y, int half) {
  chart::line(canvas, x - half, y, x + half + 1, y);
  chart::line(canvas, x, y - half, x, y + half + 1);
}

bool readingDrawable(const CurveWindowState& s, int i) {
  return s.readingRho[i] > 0 && s.readingAbHalf[i] > 0;
}

// Crosses of every reading of branch j, then the line through the centroids
// of its readings per grid index.
void drawBranch(CurveSession& c, int branch) {
  CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  canvas.setPenColour(s.colourBranch[branch]);
  const int count = s.readingCount < MaxReadings ? s.readingCount : MaxReadings;
  for (int i = 0; i < count; ++i) {
    if (s.readingBranch[i] != branch || !readingDrawable(s, i)) continue;
    drawReadingCross(canvas, columnOfLogRho(s, s.readingLogRho[i]),
                     rowOfLogAbHalf(s, s.readingLogAbHalf[i]), s.markerHalfSize);
  }
  CurvePoint points[JoinedGridIndices];
  int n = 0;
  for (int k = 0; k < JoinedGridIndices; ++k) {
    double sx = 0, sy = 0;
    int m = 0;
    for (int i = 0; i < count; ++i) {
      if (s.readingBranch[i] != branch || s.readingGridIndex[i] != k || !readingDrawable(s, i))
        continue;
      const CurvePoint p = curvePointOfLog(s, s.readingLogRho[i], s.readingLogAbHalf[i]);
      sx += p.x;
      sy += p.y;
      ++m;
    }
    if (m == 0) continue;
    points[n++] = {static_cast<float>(sx / m), static_cast<float>(sy / m)};
  }
  drawSmoothCurve(canvas, s, points, n - 1);
}

// The readings left out of the merge: grey crosses, joined to nothing, so
// that the user still sees what was measured there.
void drawMaskedReadings(CurveSession& c) {
  CurveWindowState& s = c.s;
  constexpr int32_t Grey = 0x808080;
  c.canvas.setPenColour(Grey);
  const int count = s.readingCount < MaxReadings ? s.readingCount : MaxReadings;
  for (int i = 0; i < count; ++i) {
    if (!readingMasked(s, i) || !readingDrawable(s, i)) continue;
    drawReadingCross(c.canvas, columnOfLogRho(s, s.readingLogRho[i]),
                     rowOfLogAbHalf(s, s.readingLogAbHalf[i]), s.markerHalfSize);
  }
}

void showSectionOnce(CurveSession& c) {
  if (c.s.sectionWindowShown) return;
  c.s.sectionWindowShown = true;
  c.section.show();
}

}  // namespace

int truncatePixel(double v) {
  constexpr double Limit = 1.0e6;
  if (std::isnan(v)) return -static_cast<int>(Limit);
  if (v > Limit) v = Limit;
  if (v < -Limit) v = -Limit;
  return static_cast<int>(v);
}

int columnOfLogRho(const CurveWindowState& s, double logRho) {
  return truncatePixel((logRho - s.logRhoMin) * s.pixelsPerDecadeRho) + s.marginLeft;
}

int rowOfLogAbHalf(const CurveWindowState& s, double logAbHalf) {
  const double wholePixelsPerDecade = std::trunc(static_cast<double>(s.pixelsPerDecadeAb));
  return truncatePixel(wholePixelsPerDecade * (logAbHalf - s.logAbMin) + s.marginTop);
}

int columnOfRho(const CurveWindowState& s, double rho) {
  return columnOfLogRho(s, std::log10(rho));
}

int rowOfAbHalf(const CurveWindowState& s, double abHalf) {
  return rowOfLogAbHalf(s, std::log10(abHalf));
}

CurvePoint curvePointOfLog(const CurveWindowState& s, double logRho, double logAbHalf) {
  const double x = (logRho - s.logRhoMin) * s.pixelsPerDecadeRho + s.marginLeft;
  const double y = (logAbHalf - s.logAbMin) * s.pixelsPerDecadeAb + s.marginTop;
  return {static_cast<float>(x), static_cast<float>(y)};
}

bool insidePlot(const CurveWindowState& s, int x, int y) {
  return x >= s.plotLeft && x <= s.plotRight && y >= s.plotTop && y <= s.plotBottom;
}

void paintCurves(CurveSession& c) {
  CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  // A locked scale keeps the plot box, the scales and the bounds as they are.
  if (!s.lockCurveScale) computeGeometry(s);

  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setBrushStyle(ui::BrushStyle::Solid);
  canvas.setBrushColour(chart::White);
  canvas.fillRect(0, 0, canvas.width(), canvas.height());
  s.ssqTextWidth = 0;
  canvas.setPenColour(chart::Silver);
  canvas.setFontBold(false);
  chart::useOpaqueText(canvas, chart::Black);

  drawResistivityGrid(c);
  drawIpLabels(c);
  drawAbGrid(c);
  drawPlotFrame(c);

  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setPenWidth(s.lineWidthMeasured);
  for (int branch = 1; branch <= MaxBranch; ++branch) drawBranch(c, branch);
  drawMaskedReadings(c);

  s.curveDrawn = true;
  showSectionOnce(c);
  drawIpPanel(c);
}

void drawComposite(CurveSession& c) {
  CurveWindowState& s = c.s;
  c.canvas.setPenColour(s.colourComposite);
  c.canvas.setPenWidth(s.lineWidthComposite);
  CurvePoint points[GridCells];
  int n = 0;
  const int first = clampCell(s.gridMinIndex);
  const int last = clampCell(s.gridMaxIndex);
  for (int k = first; k <= last; ++k) {
    const float rho = s.mergedRho[k][0];
    if (!(rho > 0)) continue;
    points[n++] = curvePointOfLog(s, std::log10(rho), k * AbGridStep);
  }
  drawSmoothCurve(c.canvas, s, points, n - 1);
}

void drawComputedCurve(CurveSession& c) {
  CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  canvas.setPenMode(ui::PenMode::Xor);
  canvas.setPenColour(chart::Aqua);
  canvas.setPenWidth(2);
  CurvePoint points[GridCells];
  int n = 0;
  const int first = clampCell(s.gridMinIndex);
  const int last = clampCell(s.gridMaxIndex);
  for (int k = first; k <= last; ++k) {
    if (!(s.computedRho[k] > 0) || !(s.gridAbHalf[k] > 0)) continue;
    points[n++] = curvePointOfLog(s, std::log10(s.computedRho[k]), std::log10(s.gridAbHalf[k]));
  }
  drawSmoothCurve(canvas, s, points, n - 1);
  canvas.setPenMode(ui::PenMode::Copy);
  // The misfit text replaces its old value in place, whatever text style a
  // label left behind.
  canvas.setFontBold(false);
  chart::useOpaqueText(canvas, chart::Black);
  showSSQ(c);
}

void repaintCurveWindow(CurveSession& c) {
  growModelTableMargin(c);
  paintCurves(c);
  drawComposite(c);
  drawModel(c);
  if (c.s.computedCurveValid) drawComputedCurve(c);
  showSectionOnce(c);
}

void formResize(CurveSession& c) {
  c.s.imageWidth = c.canvas.width();
  c.s.imageHeight = c.canvas.height();
  if (c.s.curveLoaded) repaintCurveWindow(c);
}

bool moveViewByClick(CurveSession& c, MouseButton button, int x, int y) {
  CurveWindowState& s = c.s;
  if (!s.curveDrawn || insidePlot(s, x, y)) return false;
  if (button == MouseButton::Middle) return false;
  // A third of a decade per click; the lower edge's step has always been
  // written with one digit more.
  const double sign = button == MouseButton::Left ? 1.0 : -1.0;
  if (x < s.plotLeft) s.logRhoMin -= sign * 0.3333;
  if (x > s.plotRight) s.logRhoMax += sign * 0.3333;
  if (y < s.plotTop) s.logAbMin -= sign * 0.3333;
  if (y > s.plotBottom) s.logAbMax += sign * (button == MouseButton::Left ? 0.33333 : 0.3333);
  repaintCurveWindow(c);
  return true;
}

}  // namespace orv
