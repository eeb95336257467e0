#include "commands/curve/auto_model_command.h"

#include <functional>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "commands/curve/composite_editing.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"
#include "core/interpretation/inversion.h"

namespace orv {

void autoModel(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.compositeReady) {
    c.dialogs.message(MergeBranchesFirstMessage);
    return;
  }
  const std::optional<std::string> answer = c.dialogs.inputQuery(
      "Automatický model", "počet vrstev (2 až 30)", cformat("%i", AutoModelDefaultLayers));
  if (!answer) return;
  const std::optional<int> layers = parseUserInt(*answer);
  if (!layers || *layers < AutoModelMinLayers || *layers > AutoModelMaxLayers) {
    c.dialogs.message("Soustřeďte se (celé číslo)!");
    return;
  }
  replaceModelInWindow(c,
                       [&](CurveWindowState& state) { return autoModelCore(state, *layers).ran; });
}

void replaceModelInWindow(CurveSession& c, const std::function<bool(CurveWindowState&)>& build) {
  CurveWindowState& s = c.s;
  // The old model and its curve leave the XOR overlay with their own data.
  if (s.computedCurveValid) {
    drawComputedCurve(c);
    s.computedCurveValid = false;
  }
  if (s.modelActive) {
    drawModel(c);
    s.modelActive = false;
  }
  s.modelBuildMode = false;
  s.editCompositeMode = false;
  s.cursorX = s.cursorY = -1;
  s.mouseDragging = false;
  s.hotBoundary = s.hotLayer = -1;
  s.previousHotBoundary = s.previousHotLayer = -2;
  if (!build(s)) {
    c.dialogs.message(inversionRefusalMessage(InversionRefusal::CurveRange));
    repaintCurveWindow(c);
    return;
  }
  if (!computeForward(c, false)) c.dialogs.message(ForwardFailedMessage);
  s.modelActive = true;
  if (!s.fromSection) c.chrome.setButtonVisible(ui::Button::Transfer, true);
  c.chrome.setButtonVisible(ui::Button::Optimise, true);
  c.chrome.focusButton(ui::Button::Optimise);
  repaintCurveWindow(c);
  if (s.fromSection) c.section.storeSounding();
}

}  // namespace orv
