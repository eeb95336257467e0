// The layered model on the chart: the XOR staircase, the model table in the
// right margin and the model's value labels.
#include <algorithm>
#include <cmath>
#include <string>

#include "base/c_format.h"
#include "commands/curve/chart_style.h"
#include "commands/curve/curve_rendering.h"
#include "core/interpretation/depth_of_investigation.h"

namespace orv {
namespace {

// The half-space's sentinel depth: it reaches below any plot.
constexpr float HalfSpaceDepth = 1e9f;

int lastLayer(const CurveWindowState& s) {
  return s.modelBoundaryCount < MaxLayers - 1 ? s.modelBoundaryCount : MaxLayers - 1;
}

// Row of a model depth; the model never runs below the plot.
int depthRow(const CurveWindowState& s, double depth) {
  const int y = rowOfAbHalf(s, depth);
  return y < s.plotBottom ? y : s.plotBottom;
}

// Table rows stand 1.1 text heights apart (integer arithmetic).
int tableRow(const CurveWindowState& s, int r) {
  return s.textHeight * r * 11 / 10;
}

void useSegmentPen(ui::Canvas& canvas, const CurveWindowState& s, bool active, bool fixed) {
  canvas.setPenWidth(active ? s.lineWidthActiveModel : s.lineWidthModel);
  canvas.setPenColour(fixed ? s.colourModelFixed : s.colourModel);
}

// The table's texts without the blanks that overwrite a longer old value.
std::string rhoCell(float rho) {
  return cformat("%.1f", static_cast<double>(rho));
}
std::string depthCell(float depth) {
  return cformat(" -%.2f-", static_cast<double>(depth));
}
constexpr const char* DepthHeader = " -hl.- [m]";
constexpr const char* RhoUnit = "[Ohm.m]";

void writeModelTable(CurveSession& c, int n) {
  const CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  const int strip = s.imageWidth - s.plotRight;
  const int rule = static_cast<int>(s.textHeight * 1.5);
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setPenWidth(1);
  canvas.setPenColour(chart::Silver);
  chart::useOpaqueText(canvas, chart::Black);

  canvas.setFontBold(true);
  const char* title = "Model:";
  const int titleY = static_cast<int>(s.textHeight * 1.1 * 2);
  canvas.textOut(s.plotRight + (strip - chart::textWidth(canvas, title)) / 2, titleY, title);
  canvas.setFontBold(false);
  chart::line(canvas, s.plotRight, titleY + rule, s.imageWidth, titleY + rule);

  const char* unit = RhoUnit;
  canvas.textOut(s.imageWidth - 1 - chart::textWidth(canvas, unit), tableRow(s, 4), unit);
  canvas.setFontColour(chart::Grey);
  canvas.textOut(s.plotRight + 2, tableRow(s, 5), DepthHeader);
  chart::line(canvas, s.plotRight, tableRow(s, 5) + rule, s.imageWidth, tableRow(s, 5) + rule);

  canvas.setFontColour(chart::Black);
  for (int i = 0; i <= n; ++i)
    canvas.textOut(s.plotRight + s.textWidth, tableRow(s, 7 + 2 * i),
                   rhoCell(s.modelRho[i]) + "     ");
  canvas.setFontColour(chart::Grey);
  for (int i = 1; i <= n; ++i)
    canvas.textOut(s.plotRight + 2, tableRow(s, 8 + 2 * (i - 1)),
                   depthCell(s.modelDepth[i - 1]) + "       ");
}

void writeModelLabels(CurveSession& c, int n) {
  const CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  canvas.setFontBold(false);
  chart::useTransparentText(canvas, chart::Black);
  for (int i = 0; i <= n; ++i) {
    const int top = i == 0 ? s.marginTop : depthRow(s, s.modelDepth[i - 1]);
    const int bottom = depthRow(s, s.modelDepth[i]);
    canvas.textOut(columnOfRho(s, s.modelRho[i]) + 3, (top + bottom) / 2 - s.textHeight / 2,
                   cformat("%.1f", static_cast<double>(s.modelRho[i])));
  }
  canvas.setFontColour(chart::Grey);
  for (int i = 0; i < n; ++i) {
    const std::string text = cformat("-%.2f-", static_cast<double>(s.modelDepth[i]));
    const int middle = (columnOfRho(s, s.modelRho[i]) + columnOfRho(s, s.modelRho[i + 1])) / 2;
    canvas.textOut(middle - chart::textWidth(canvas, text) / 2, depthRow(s, s.modelDepth[i]) + 2,
                   text);
  }
}

// The depth of investigation as a dashed line across the plot, in the model's
// XOR mode, so that erasing the model erases it too.
void drawDepthOfInvestigation(CurveSession& c) {
  CurveWindowState& s = c.s;
  const double doi = depthOfInvestigation(s);
  if (!(doi > 0.0)) return;
  const int y = rowOfAbHalf(s, doi);
  if (y <= s.marginTop || y >= s.plotBottom) return;
  constexpr int kDash = 8, kGap = 5;
  ui::Canvas& canvas = c.canvas;
  canvas.setPenWidth(s.lineWidthModel);
  canvas.setPenColour(s.colourModel);
  for (int x = s.plotLeft; x < s.plotRight; x += kDash + kGap)
    chart::line(canvas, x, y, std::min(x + kDash, s.plotRight), y);
}

}  // namespace

int modelTableMargin(CurveSession& c) {
  const CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  canvas.setFontBold(true);
  int widest = chart::textWidth(canvas, "Model:");
  canvas.setFontBold(false);
  widest = std::max(widest, chart::textWidth(canvas, RhoUnit) + 1);
  widest = std::max(widest, 2 + chart::textWidth(canvas, DepthHeader));
  // Room for resistivities of five digits and depths of four, whatever the
  // model holds now, so that the plot keeps its box while a model is built.
  widest = std::max(widest, s.textWidth + chart::textWidth(canvas, rhoCell(99999.9f)));
  widest = std::max(widest, 2 + chart::textWidth(canvas, depthCell(9999.99f)));
  const int n = s.modelBoundaryCount < 1 || s.modelBuildMode ? -1 : lastLayer(s);
  for (int i = 0; i <= n; ++i)
    widest = std::max(widest, s.textWidth + chart::textWidth(canvas, rhoCell(s.modelRho[i])));
  for (int i = 0; i < n; ++i)
    widest = std::max(widest, 2 + chart::textWidth(canvas, depthCell(s.modelDepth[i])));
  const int least = 4 * s.textWidth;
  return std::max(least, std::min(widest + 2, s.imageWidth / 2));
}

bool growModelTableMargin(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.modelActive || s.lockCurveScale) return false;
  const int needed = modelTableMargin(c);
  if (needed <= s.marginRight) return false;
  s.marginRight = needed;
  return true;
}

void drawModel(CurveSession& c) {
  CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  if (!(s.modelRho[0] > 0) || !(s.modelDepth[0] > 0) || s.modelBoundaryCount < 1) return;
  const int n = lastLayer(s);
  if (!s.modelBuildMode) s.modelDepth[n] = HalfSpaceDepth;

  canvas.setPenMode(ui::PenMode::Xor);
  // Each segment ends where the next begins and lines leave out their end
  // pixel, so every pixel of the staircase is inverted once.
  int x = columnOfRho(s, s.modelRho[0]);
  int y = s.marginTop;
  for (int i = 0; i <= n; ++i) {
    if (i > 0) {
      const int nextX = columnOfRho(s, s.modelRho[i]);
      useSegmentPen(canvas, s, s.hotBoundary == i - 1, s.depthFixed[i - 1] != 0);
      chart::line(canvas, x, y, nextX, y);
      x = nextX;
    }
    const int bottom = depthRow(s, s.modelDepth[i]);
    useSegmentPen(canvas, s, s.hotLayer == i, s.rhoFixed[i] != 0);
    chart::line(canvas, x, y, x, bottom);
    y = bottom;
  }
  if (s.showDepthOfInvestigation && !s.modelBuildMode) drawDepthOfInvestigation(c);
  canvas.setPenMode(ui::PenMode::Copy);
  if (s.modelActive) writeModelTable(c, n);
}

void toggleDepthOfInvestigation(CurveSession& c) {
  c.s.showDepthOfInvestigation = !c.s.showDepthOfInvestigation;
  c.chrome.setChecked(ShowDepthOfInvestigationItem, c.s.showDepthOfInvestigation);
  repaintCurveWindow(c);
}

void labelModel(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (s.describeModel) {
    s.describeModel = false;
    repaintCurveWindow(c);
    return;
  }
  s.describeModel = true;
  if (!s.modelActive || s.modelBoundaryCount < 1) return;
  if (s.modelLabelsDrawn) repaintCurveWindow(c);
  writeModelLabels(c, lastLayer(s));
  s.modelLabelsDrawn = true;
}

}  // namespace orv
