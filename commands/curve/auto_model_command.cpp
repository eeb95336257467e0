#include "commands/curve/auto_model_command.h"

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "commands/curve/composite_editing.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/inversion_command.h"
#include "core/interpretation/forward_problem.h"
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
  // The misfit of the model being replaced, when its curve is on show and it
  // has no more layers: a model of more layers may well fit better, and the
  // new one is then no failure.
  const bool comparable = c.s.computedCurveValid && c.s.modelBoundaryCount + 1 <= *layers;
  const double before = comparable ? misfitSSQ(c.s) : HUGE_VAL;
  const ModelBuild built = replaceModelInWindow(c, [&](CurveWindowState& state) {
    // The progress dialog closes with the computation, before the redraw.
    const AutoModelOutcome out =
        autoModelCore(state, *layers, c.dialogs.progress("Automatický model").get());
    return !out.ran ? ModelBuild::Refused : out.stopped ? ModelBuild::Stopped : ModelBuild::Built;
  });
  if (built == ModelBuild::Built) reportFailedFit(c, before);
}

ModelBuild replaceModelInWindow(CurveSession& c,
                                const std::function<ModelBuild(CurveWindowState&)>& build) {
  CurveWindowState& s = c.s;
  const bool wasActive = s.modelActive, wasCurveValid = s.computedCurveValid;
  const bool wasBuilding = s.modelBuildMode, wasEditing = s.editCompositeMode;
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
  const ModelBuild built = build(s);
  if (built == ModelBuild::Refused) {
    c.dialogs.message(inversionRefusalMessage(InversionRefusal::CurveRange));
    repaintCurveWindow(c);
    return built;
  }
  if (built == ModelBuild::Stopped) {
    // The model is back as it was; so is the picture.
    s.modelActive = wasActive;
    s.computedCurveValid = wasCurveValid;
    s.modelBuildMode = wasBuilding;
    s.editCompositeMode = wasEditing;
    repaintCurveWindow(c);
    return built;
  }
  if (!computeForward(c, false)) c.dialogs.message(ForwardFailedMessage);
  s.modelActive = true;
  if (!s.fromSection) c.chrome.setButtonVisible(ui::Button::Transfer, true);
  c.chrome.setButtonVisible(ui::Button::Optimise, true);
  c.chrome.focusButton(ui::Button::Optimise);
  repaintCurveWindow(c);
  if (s.fromSection) c.section.storeSounding();
  return built;
}

}  // namespace orv
