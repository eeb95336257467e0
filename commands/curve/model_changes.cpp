// Presses on a picked model element (drag start, fix marks, split, delete,
// cancel) and the one-slot model clipboard.
#include <cmath>

#include "commands/curve/curve_rendering.h"
#include "commands/curve/inversion_command.h"
#include "commands/curve/model_editing.h"
#include "commands/curve/model_editing_steps.h"
#include "core/interpretation/fit_verdict.h"
#include "core/interpretation/inversion.h"

namespace orv {
namespace {

void moveEntry(CurveWindowState& s, int to, int from) {
  s.modelDepth[to] = s.modelDepth[from];
  s.modelRho[to] = s.modelRho[from];
  s.rhoFixed[to] = s.rhoFixed[from];
  s.thicknessFixed[to] = s.thicknessFixed[from];
  s.depthFixed[to] = s.depthFixed[from];
}

// Depth of the new entry e of a split, from the old entries; worked out in
// double and rounded to float once, so the new depth is the nearest float
// of its value.
float splitDepth(const CurveWindowState& s, int e) {
  const int n = s.modelBoundaryCount;
  if (e == 0) return static_cast<float>(0.9 * s.modelDepth[0]);
  if (e < n) return static_cast<float>((double{s.modelDepth[e - 1]} + s.modelDepth[e]) / 2);
  // Below the last interface, halfway to the bottom of the plot; when the
  // last interface already lies below the plot, the new one still goes
  // deeper, so that the interfaces keep their order.
  const double above = s.modelDepth[n - 1];
  const double bottom = model_editing::depthOfRow(s, s.plotBottom);
  if (bottom > above) return static_cast<float>((above + bottom) / 2);
  return static_cast<float>(1.5 * above);
}

}  // namespace

bool splitModelElementCore(CurveWindowState& s, int e) {
  const int n = s.modelBoundaryCount;
  if (n < 1 || n + 1 >= MaxLayers || e < 0 || e > n) return false;
  const float depth = splitDepth(s, e);
  // At e = 0 the mean of the old top resistivity with itself.
  const float rho =
      e == 0 ? s.modelRho[0] : static_cast<float>((double{s.modelRho[e - 1]} + s.modelRho[e]) / 2);
  if (!std::isfinite(depth) || !(depth > 0) || !std::isfinite(rho) || !(rho > 0)) return false;
  for (int i = n; i >= e; --i) moveEntry(s, i + 1, i);
  s.modelDepth[e] = depth;
  s.modelRho[e] = rho;
  s.rhoFixed[e] = 0;
  s.thicknessFixed[e] = 0;
  s.depthFixed[e] = 0;
  s.modelBoundaryCount = n + 1;
  return true;
}

bool deleteModelElementCore(CurveWindowState& s, int e) {
  const int n = s.modelBoundaryCount;
  if (n < 1 || n >= MaxLayers || e < 0 || e > n) return false;
  for (int i = e + 1; i <= n; ++i) moveEntry(s, i - 1, i);
  s.modelBoundaryCount = n - 1;
  s.modelDepth[n - 1] = model_editing::HalfSpaceDepthCreated;
  return true;
}

void copyModelCore(CurveWindowState& s) {
  const int n = model_editing::boundaryCountValid(s) ? s.modelBoundaryCount : 0;
  s.clipboardBoundaryCount = n;
  for (int i = 0; i <= n; ++i) {
    s.clipboardRho[i] = s.modelRho[i];
    s.clipboardDepth[i] = s.modelDepth[i];
    s.clipboardRhoFixed[i] = s.rhoFixed[i];
    s.clipboardThicknessFixed[i] = s.thicknessFixed[i];
    s.clipboardDepthFixed[i] = s.depthFixed[i];
  }
}

void pasteModelCore(CurveWindowState& s) {
  const int stored = s.clipboardBoundaryCount;
  const int n = stored >= 0 && stored < MaxLayers ? stored : 0;
  model_editing::clearFixFlags(s);
  s.modelBoundaryCount = n;
  for (int i = 0; i <= n; ++i) {
    s.modelRho[i] = s.clipboardRho[i];
    s.modelDepth[i] = s.clipboardDepth[i];
    s.rhoFixed[i] = s.clipboardRhoFixed[i];
    s.thicknessFixed[i] = s.clipboardThicknessFixed[i];
    s.depthFixed[i] = s.clipboardDepthFixed[i];
  }
}

namespace model_editing {
namespace {

void toggleFlag(int32_t& flag) {
  flag = flag ? 0 : 1;
}

void splitPicked(CurveSession& c, int e) {
  CurveWindowState& s = c.s;
  if (s.modelBoundaryCount + 1 >= MaxLayers) {
    c.dialogs.message(FullModelMessage);
    return;
  }
  if (!splitModelElementCore(s, e)) return;
  repaintCurveWindow(c);
  if (s.curveLoaded) recomputeForward(c);
  writeBack(c);
}

void deletePicked(CurveSession& c, int e) {
  CurveWindowState& s = c.s;
  if (!deleteModelElementCore(s, e)) return;
  repaintCurveWindow(c);
  if (s.modelBoundaryCount == 0 && s.curveLoaded && s.compositeReady) {
    // Only the half-space is left: the user makes a new model.
    cancelModelEdit(c);
    return;
  }
  if (s.curveLoaded && s.modelBoundaryCount > 0) recomputeForward(c);
  writeBack(c);
}

}  // namespace

void cancelModelEdit(CurveSession& c) {
  CurveWindowState& s = c.s;
  clearPicking(s);
  c.chrome.setCursor(ui::Cursor::Arrow);
  if (!s.modelBuildMode) toggleModelBuild(c);
}

void editPickedElement(CurveSession& c, const MouseEvent& e) {
  CurveWindowState& s = c.s;
  if (!modelElementPicked(s)) return;
  const bool onLayer = s.hotLayer >= 0;
  const int element = onLayer ? s.hotLayer : s.hotBoundary;

  switch (e.button) {
    case MouseButton::Left:
      if (!e.ctrl && !e.shift) {
        s.mouseDragging = true;
      } else if (e.ctrl && !e.shift) {
        toggleFlag(onLayer ? s.rhoFixed[element] : s.depthFixed[element]);
        repaintCurveWindow(c);
        writeBack(c);
      } else if (e.shift && !e.ctrl) {
        if (onLayer) toggleFlag(s.thicknessFixed[element]);
        repaintCurveWindow(c);
        if (onLayer) writeBack(c);
      }
      break;
    case MouseButton::Right:
      if (!e.ctrl && !e.shift)
        splitPicked(c, element);
      else if (e.ctrl && !e.shift)
        deletePicked(c, element);
      else if (e.ctrl && e.shift)
        cancelModelEdit(c);
      break;
    case MouseButton::Middle:
      if (!e.ctrl && !e.shift) deletePicked(c, element);
      break;
  }
}

}  // namespace model_editing

using namespace model_editing;

void copyModelToClipboard(CurveSession& c) {
  copyModelCore(c.s);
}

void carryModelToNeighbour(CurveSession& c, bool right) {
  copyModelToClipboard(c);
  if (!c.section.loadNeighbour(right)) {
    c.dialogs.message("V aktuálním profilu není žádný bod VES - model nelze přenést.");
    return;
  }
  pasteModelFromClipboard(c);
  // Three runs in a row: each ends with the 2.5 % rule, and a carried model
  // usually needs more than one to settle on the new curve. Whether the
  // carried model found its place is said once, after the last.
  const std::optional<double> before = optimiseModelInWindow(c);
  for (int run = 1; run < 3; ++run) optimiseModelInWindow(c);
  if (before) reportFailedFit(c, *before);
}

void pasteModelFromClipboard(CurveSession& c) {
  CurveWindowState& s = c.s;
  // A model being built or dragged gives way to the pasted one; the repaint
  // below takes the crosshair off the picture.
  s.modelBuildMode = false;
  s.cursorX = s.cursorY = -1;
  clearPicking(s);
  pasteModelCore(s);
  if (s.curveLoaded && s.modelBoundaryCount > 0) {
    recomputeForward(c);
  } else if (s.computedCurveValid) {
    // No model to compute: the curve of the replaced one goes.
    drawComputedCurve(c);
    s.computedCurveValid = false;
  }
  s.modelActive = true;
  if (!s.fromSection) c.chrome.setButtonVisible(ui::Button::Transfer, true);
  c.chrome.setButtonVisible(ui::Button::Optimise, true);
  c.chrome.focusButton(ui::Button::Optimise);
  repaintCurveWindow(c);
  // A pasted model is a deliberate edit of the point the curve window holds.
  if (s.fromSection) c.section.storeSounding();
}

}  // namespace orv
