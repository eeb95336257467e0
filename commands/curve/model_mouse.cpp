// The image's mouse handlers. The model, the composite editing, the IP point
// editing and the view moves share them; the order of the rules below decides
// which of them takes a press.
#include "commands/curve/composite_editing.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/ip_commands.h"
#include "commands/curve/model_editing.h"
#include "commands/curve/model_editing_steps.h"

namespace orv {

using namespace model_editing;

void imageMouseDown(CurveSession& c, const MouseEvent& e) {
  CurveWindowState& s = c.s;
  const bool inside = insidePlot(s, e.x, e.y);
  s.lastClickOutsidePlot = s.curveDrawn && !inside;

  // A right press on the chart away from the model starts a new model.
  if (e.button == MouseButton::Right && inside && s.curveLoaded && !s.modelBuildMode &&
      !modelElementPicked(s)) {
    // Without a composite curve the start is refused with its message, and
    // the model on the picture must stay drawable.
    if (s.compositeReady) s.modelDepth[0] = 0;
    toggleModelBuild(c);
    return;
  }
  if (s.curveDrawn && !inside) {
    moveViewByClick(c, e.button, e.x, e.y);
    return;
  }
  if (s.compositeReady && s.editIpOutlierMode) {
    applyIpOutlierClick(c, e.button, e.x, e.y);
    return;
  }
  if (s.compositeReady && s.editCompositeMode) {
    compositeEditMouseDown(c, e.button, e.x, e.y);
    return;
  }
  if (buildingPress(c, e)) return;
  editPickedElement(c, e);
}

void imageMouseMove(CurveSession& c, const MouseEvent& e) {
  CurveWindowState& s = c.s;
  if (e.leftHeld || e.rightHeld) {
    if (e.leftHeld) dragMove(c, e.x, e.y);
    return;
  }
  // A drag whose release went elsewhere (a message box took the mouse) ends
  // where the mouse is now.
  if (s.mouseDragging) {
    releaseDrag(c, e.x, e.y);
    finishWriteBack(c);
    return;
  }
  if (s.editCompositeMode || s.editIpOutlierMode) {
    if (s.editCompositeMode)
      compositeEditMouseMove(c, e.x, e.y);
    else
      ipOutlierMouseMove(c, e.x, e.y);
    return;
  }
  if (s.modelBuildMode) {
    buildingMove(c, e.x, e.y);
    return;
  }
  if (s.modelActive && s.modelBoundaryCount > 0) pickingMove(c, e.x, e.y);
}

void imageMouseUp(CurveSession& c, const MouseEvent& e) {
  releaseDrag(c, e.x, e.y);
  finishWriteBack(c);
}

}  // namespace orv
