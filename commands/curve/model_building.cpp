// Making a model by its corners: the corner being placed follows the mouse,
// left clicks fix corners, middle clicks take them back, and the end turns the
// last layer into the half-space. Also the clearing of the model and the
// steps the other model sources share.
#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/model_editing.h"
#include "commands/curve/model_editing_steps.h"
#include "core/interpretation/forward_problem.h"

namespace orv {

namespace model_editing {

bool boundaryCountValid(const CurveWindowState& s) {
  return s.modelBoundaryCount >= 0 && s.modelBoundaryCount < MaxLayers;
}

void eraseModelIfDrawn(CurveSession& c) {
  if (!c.s.modelActive) return;
  drawModel(c);
  c.s.modelActive = false;
}

void drawModelMarked(CurveSession& c) {
  // Marked first, so that the model table is written with the values drawn.
  c.s.modelActive = true;
  drawModel(c);
}

void recomputeForward(CurveSession& c) {
  if (!computeForward(c, false)) c.dialogs.message(ForwardFailedMessage);
}

void writeBack(CurveSession& c) {
  if (c.s.fromSection) c.s.modelWriteBackPending = true;
}

void finishWriteBack(CurveSession& c) {
  CurveWindowState& s = c.s;
  const bool pending = s.modelWriteBackPending;
  s.modelWriteBackPending = false;
  if (pending && s.fromSection) c.section.storeSounding();
}

void clearPicking(CurveWindowState& s) {
  s.mouseDragging = false;
  s.hotBoundary = s.hotLayer = -1;
  s.previousHotBoundary = s.previousHotLayer = -2;
}

void clearFixFlags(CurveWindowState& s) {
  for (int i = 0; i < FlagSlots; ++i) {
    s.rhoFixed[i] = 0;
    s.thicknessFixed[i] = 0;
    s.depthFixed[i] = 0;
  }
}

int clampToPlotX(const CurveWindowState& s, int x) {
  return x < s.plotLeft ? s.plotLeft : (x > s.plotRight ? s.plotRight : x);
}

int clampToPlotY(const CurveWindowState& s, int y) {
  return y < s.plotTop ? s.plotTop : (y > s.plotBottom ? s.plotBottom : y);
}

namespace {

// The corner being placed takes the values under the mouse; its depth never
// lies above the previous corner.
void placeCorner(CurveWindowState& s, int x, int y) {
  const int n = s.modelBoundaryCount;
  float rho = 0;
  float depth = 0;
  if (rhoAtColumn(s, clampToPlotX(s, x), &rho)) s.modelRho[n] = rho;
  if (depthAtRow(s, clampToPlotY(s, y), &depth)) {
    if (n > 0 && depth < s.modelDepth[n - 1]) depth = s.modelDepth[n - 1];
    s.modelDepth[n] = depth;
  }
}

}  // namespace

void buildingMove(CurveSession& c, int x, int y) {
  CurveWindowState& s = c.s;
  if (!boundaryCountValid(s)) return;
  if (x == s.cursorX && y == s.cursorY) return;
  drawCrosshair(c, s.cursorX, s.cursorY);
  eraseModelIfDrawn(c);
  placeCorner(s, x, y);
  s.cursorX = x;
  s.cursorY = y;
  drawCrosshair(c, s.cursorX, s.cursorY);
  drawModelMarked(c);
}

bool buildingPress(CurveSession& c, const MouseEvent& e) {
  CurveWindowState& s = c.s;
  if (!s.compositeReady || s.editCompositeMode || !s.modelBuildMode) return false;
  if (!insidePlot(s, e.x, e.y) || !boundaryCountValid(s)) return false;
  if (!(s.modelDepth[s.modelBoundaryCount] > 0)) return false;

  switch (e.button) {
    case MouseButton::Middle:
      if (s.modelBoundaryCount > 0) {
        eraseModelIfDrawn(c);
        --s.modelBoundaryCount;
      }
      break;
    case MouseButton::Right:
      toggleModelBuild(c);
      if (!s.modelBuildMode && s.modelBoundaryCount > 0) writeBack(c);
      return true;
    case MouseButton::Left: {
      // A full model keeps its corners: the click is not taken.
      if (s.modelBoundaryCount + 1 >= MaxLayers) {
        c.dialogs.message(FullModelMessage);
        break;
      }
      eraseModelIfDrawn(c);
      const int n = ++s.modelBoundaryCount;
      s.modelDepth[n] = s.modelDepth[n - 1];
      s.modelRho[n] = s.modelRho[n - 1];
      break;
    }
  }
  // Only a model that the press took off the picture is drawn again; drawing
  // one that is still there would erase it.
  const int n = s.modelBoundaryCount;
  if (!s.modelActive && n >= 1 && s.modelDepth[n] > 0) drawModelMarked(c);
  return true;
}

}  // namespace model_editing

using namespace model_editing;

void toggleModelBuild(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.compositeReady) {
    c.dialogs.message(NoCompositeMessage);
    return;
  }
  s.editCompositeMode = false;

  if (!s.modelBuildMode) {
    if (s.computedCurveValid) {
      drawComputedCurve(c);
      s.computedCurveValid = false;
    }
    if (s.curveLoaded) {
      s.cursorX = s.cursorY = -1;
      s.modelBoundaryCount = 0;
      // No corner is placed until the mouse has given its position.
      s.modelDepth[0] = 0;
      clearFixFlags(s);
      clearPicking(s);
      c.chrome.setCursor(ui::Cursor::Arrow);
      c.chrome.setButtonVisible(ui::Button::Optimise, false);
      c.chrome.setButtonVisible(ui::Button::Transfer, false);
      repaintCurveWindow(c);
    }
    s.modelActive = false;
    s.modelBuildMode = true;
    return;
  }

  s.cursorX = s.cursorY = -1;
  s.modelBuildMode = false;
  if (!boundaryCountValid(s)) s.modelBoundaryCount = 0;
  const int n = s.modelBoundaryCount;
  s.modelDepth[n] = HalfSpaceDepthCreated;
  c.chrome.setButtonVisible(ui::Button::Optimise, true);
  c.chrome.focusButton(ui::Button::Optimise);
  if (!s.fromSection) c.chrome.setButtonVisible(ui::Button::Transfer, true);
  // The repaint puts the finished model on the picture (and takes the
  // crosshair off it).
  s.modelActive = n > 0 && s.modelRho[0] > 0 && s.modelDepth[0] > 0;
  repaintCurveWindow(c);
  s.modelDepth[n] = HalfSpaceDepthCreated;
  if (n > 0) recomputeForward(c);
}

void clearModel(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (s.computedCurveValid) {
    drawComputedCurve(c);
    s.computedCurveValid = false;
  }
  if (!s.curveLoaded || !s.compositeReady) return;
  eraseModelIfDrawn(c);
  s.cursorX = s.cursorY = -1;
  s.modelBuildMode = false;
  s.modelBoundaryCount = 0;
  clearFixFlags(s);
  clearPicking(s);
  c.chrome.setCursor(ui::Cursor::Arrow);
  // Only the curve window forgets the model: the section point keeps its
  // stored one until a mouse edit or a run replaces it.
  repaintCurveWindow(c);
}

}  // namespace orv
