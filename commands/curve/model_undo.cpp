#include "commands/curve/model_undo.h"

#include "commands/curve/curve_rendering.h"
#include "commands/curve/model_editing.h"
#include "commands/curve/model_editing_steps.h"

namespace orv {
namespace {

bool gestureInProgress(const CurveWindowState& s) {
  return s.modelBuildMode || s.mouseDragging;
}

void showSnapshot(CurveSession& c, const ModelSnapshot& m) {
  restoreModel(c.s, m);
  // The history's model exists when it had one; the drawing flags follow.
  c.s.modelActive = m.present != 0;
  showChangedModel(c);
}

}  // namespace

void recordModelStep(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.curveLoaded || gestureInProgress(s)) return;
  s.modelHistory.record(s);
}

void undoModelChange(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.curveLoaded) return;
  const ModelSnapshot* to = nullptr;
  if (gestureInProgress(s)) {
    to = s.modelHistory.atHand();
  } else {
    // Whatever changed since the last commit is a step of its own first.
    s.modelHistory.record(s);
    to = s.modelHistory.undo();
  }
  if (to) showSnapshot(c, *to);
}

void redoModelChange(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.curveLoaded || gestureInProgress(s)) return;
  s.modelHistory.record(s);
  if (const ModelSnapshot* to = s.modelHistory.redo()) showSnapshot(c, *to);
}

void showChangedModel(CurveSession& c) {
  CurveWindowState& s = c.s;
  // Building, dragging and picking end; the crosshair leaves with the
  // repaint below.
  s.modelBuildMode = false;
  model_editing::clearPicking(s);
  s.cursorX = s.cursorY = -1;
  s.modelWriteBackPending = false;
  c.chrome.setCursor(ui::Cursor::Arrow);
  const bool present = s.modelActive || s.modelBoundaryCount > 0;
  s.modelActive = present;
  // The fresh picture carries neither the old model nor its curve.
  s.computedCurveValid = false;
  repaintCurveWindow(c);
  if (present && s.curveLoaded && s.compositeReady) model_editing::recomputeForward(c);
  c.chrome.setButtonVisible(ui::Button::Optimise, present);
  if (present) c.chrome.focusButton(ui::Button::Optimise);
  c.chrome.setButtonVisible(ui::Button::Transfer, present && !s.fromSection);
  recordModelStep(c);
  if (s.fromSection) c.section.storeSounding();
}

}  // namespace orv
