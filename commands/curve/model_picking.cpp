// Finding the model element under the mouse and dragging it: the picked
// element is drawn with the active width, and while it is dragged the model
// and the computed curve follow the mouse on the picture.
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "commands/curve/curve_rendering.h"
#include "commands/curve/model_editing.h"
#include "commands/curve/model_editing_steps.h"

namespace orv {
namespace {

// Nothing is in range until a candidate comes nearer than this.
constexpr int NoDistance = 999;

bool positiveFiniteFloat(double v) {
  return std::isfinite(v) && v > 0 && v <= FLT_MAX && static_cast<float>(v) > 0;
}

// Row of a model depth as the model is drawn: never below the plot.
int depthRow(const CurveWindowState& s, double depth) {
  const int y = rowOfAbHalf(s, depth);
  return y < s.plotBottom ? y : s.plotBottom;
}

}  // namespace

bool rhoAtColumn(const CurveWindowState& s, int x, float* out) {
  if (!(s.pixelsPerDecadeRho > 0) || !std::isfinite(s.pixelsPerDecadeRho)) return false;
  const double v = std::pow(10.0, (x - s.marginLeft) / static_cast<double>(s.pixelsPerDecadeRho) +
                                      static_cast<double>(s.logRhoMin));
  if (!positiveFiniteFloat(v)) return false;
  *out = static_cast<float>(v);
  return true;
}

bool depthAtRow(const CurveWindowState& s, int y, float* out) {
  const double v = model_editing::depthOfRow(s, y);
  if (!positiveFiniteFloat(v)) return false;
  *out = static_cast<float>(v);
  return true;
}

ModelPick pickModelElement(const CurveWindowState& s, int x, int y) {
  ModelPick pick;
  const int n = s.modelBoundaryCount;
  if (n < 1 || n >= MaxLayers) return pick;

  int boundaryDistance = NoDistance;
  for (int i = 0; i < n; ++i) {
    const int a = columnOfRho(s, s.modelRho[i]);
    const int b = columnOfRho(s, s.modelRho[i + 1]);
    const int left = a < b ? a : b;
    const int right = a < b ? b : a;
    if (!(x > left && x < right)) continue;
    const int d = std::abs(depthRow(s, s.modelDepth[i]) - y);
    if (d < s.pickTolerance && d < boundaryDistance) {
      boundaryDistance = d;
      pick.boundary = i;
    }
  }

  int layerDistance = NoDistance;
  for (int i = 0; i <= n; ++i) {
    const int top = i == 0 ? s.marginTop : depthRow(s, s.modelDepth[i - 1]);
    const int bottom = depthRow(s, s.modelDepth[i]);
    if (!(y > top && y < bottom)) continue;
    const int d = std::abs(columnOfRho(s, s.modelRho[i]) - x);
    if (d < s.pickTolerance && d < layerDistance) {
      layerDistance = d;
      pick.layer = i;
    }
  }

  if (layerDistance < boundaryDistance)
    pick.boundary = -1;
  else
    pick.layer = -1;
  return pick;
}

bool modelElementPicked(const CurveWindowState& s) {
  const int n = s.modelBoundaryCount;
  if (!s.modelActive || n < 1 || n >= MaxLayers) return false;
  return (s.hotBoundary >= 0 && s.hotBoundary < n) || (s.hotLayer >= 0 && s.hotLayer <= n);
}

bool applyDragValue(CurveWindowState& s, int x, int y) {
  const int n = s.modelBoundaryCount;
  if (n < 1 || n >= MaxLayers) return false;
  const int i = s.hotBoundary;
  if (i >= 0 && i < n) {
    float depth = 0;
    if (!depthAtRow(s, model_editing::clampToPlotY(s, y), &depth)) return false;
    // Interfaces cannot cross: the neighbours bound the dragged one.
    if (depth > s.modelDepth[i + 1]) depth = s.modelDepth[i + 1];
    if (i >= 1 && depth < s.modelDepth[i - 1]) depth = s.modelDepth[i - 1];
    if (!(depth > 0)) return false;
    s.modelDepth[i] = depth;
    return true;
  }
  const int layer = s.hotLayer;
  if (layer >= 0 && layer <= n) {
    float rho = 0;
    if (!rhoAtColumn(s, model_editing::clampToPlotX(s, x), &rho)) return false;
    s.modelRho[layer] = rho;
    return true;
  }
  return false;
}

namespace model_editing {

double depthOfRow(const CurveWindowState& s, int y) {
  if (!(s.pixelsPerDecadeAb > 0) || !std::isfinite(s.pixelsPerDecadeAb)) return 0;
  // Model depths are read against the bottom margin (it equals the top one).
  return std::pow(10.0, (y - s.marginBottom) / static_cast<double>(s.pixelsPerDecadeAb) +
                            static_cast<double>(s.logAbMin));
}

void pickingMove(CurveSession& c, int x, int y) {
  CurveWindowState& s = c.s;
  // The picking is remembered as it was last drawn. A load resets the
  // element under the mouse without telling the picking, and may or may not
  // have drawn the model since; a repaint draws it with the widths the state
  // now gives, so the next erase matches what is on the picture.
  const int drawnBoundary = s.previousHotBoundary < 0 ? -1 : s.previousHotBoundary;
  const int drawnLayer = s.previousHotLayer < 0 ? -1 : s.previousHotLayer;
  if (drawnBoundary != s.hotBoundary || drawnLayer != s.hotLayer) {
    s.previousHotBoundary = s.hotBoundary;
    s.previousHotLayer = s.hotLayer;
    if (s.modelActive) repaintCurveWindow(c);
  }
  const ModelPick pick = pickModelElement(s, x, y);
  c.chrome.setCursor(pick.layer >= 0      ? ui::Cursor::SizeHorizontal
                     : pick.boundary >= 0 ? ui::Cursor::SizeVertical
                                          : ui::Cursor::Arrow);
  if (pick.boundary != s.previousHotBoundary || pick.layer != s.previousHotLayer) {
    if (s.modelActive) {
      // The model on the picture carries the widths of the previous picking.
      s.hotBoundary = s.previousHotBoundary;
      s.hotLayer = s.previousHotLayer;
      drawModel(c);
      s.modelActive = false;
    }
    s.previousHotBoundary = pick.boundary;
    s.previousHotLayer = pick.layer;
  }
  s.hotBoundary = pick.boundary;
  s.hotLayer = pick.layer;
  if (!s.modelActive) drawModelMarked(c);
}

void dragMove(CurveSession& c, int x, int y) {
  CurveWindowState& s = c.s;
  if (!s.mouseDragging || !modelElementPicked(s)) return;
  if (x == s.cursorX && y == s.cursorY) return;
  s.cursorX = x;
  s.cursorY = y;
  drawModel(c);
  applyDragValue(s, x, y);
  drawModel(c);
  // A value that no longer fits the table widens it at once.
  if (growModelTableMargin(c)) repaintCurveWindow(c);
  if (s.curveLoaded && s.modelBoundaryCount > 0) recomputeForward(c);
}

void releaseDrag(CurveSession& c, int x, int y) {
  CurveWindowState& s = c.s;
  if (!s.mouseDragging) return;
  eraseModelIfDrawn(c);
  applyDragValue(s, x, y);
  drawModelMarked(c);
  if (s.curveLoaded && s.modelBoundaryCount > 0) recomputeForward(c);
  s.mouseDragging = false;
  // The drag moved the marks along without drawing a crosshair; left set,
  // the next crosshair toggle would "erase" one that is not there.
  s.cursorX = s.cursorY = -1;
  // The misfit text is rewritten in place on every drag step and a shorter
  // one leaves the end of a longer one standing; the finished drag leaves
  // the picture as a repaint draws it.
  repaintCurveWindow(c);
  writeBack(c);
}

}  // namespace model_editing
}  // namespace orv
