#include "commands/curve/settings_commands.h"

#include "base/c_format.h"
#include "commands/curve/curve_construction.h"
#include "core/curve/additions_file.h"
#include "core/curve/settings_file.h"

namespace orv {
namespace {

int clampTo(int v, int lo, int hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}

struct EditSlot {
  DisplayEdit edit;
  std::string DisplayParameterTexts::*text;
  int32_t CurveWindowState::*member;
  const char* label;
};

const EditSlot kEdits[] = {
    {DisplayEdit::SplineDegree, &DisplayParameterTexts::splineDegree,
     &CurveWindowState::splineDegree, "stupeň B-spline"},
    {DisplayEdit::SplineResolution, &DisplayParameterTexts::splineResolution,
     &CurveWindowState::splineResolution, "počet bodů B-spline"},
    {DisplayEdit::LineWidthMeasured, &DisplayParameterTexts::lineWidthMeasured,
     &CurveWindowState::lineWidthMeasured, "síla čáry naměřené křivky"},
    {DisplayEdit::LineWidthComposite, &DisplayParameterTexts::lineWidthComposite,
     &CurveWindowState::lineWidthComposite, "síla čáry snesené křivky"},
    {DisplayEdit::LineWidthComputed, &DisplayParameterTexts::lineWidthComputed,
     &CurveWindowState::lineWidthComputed, "síla čáry vypočtené křivky"},
    {DisplayEdit::LineWidthActiveModel, &DisplayParameterTexts::lineWidthActiveModel,
     &CurveWindowState::lineWidthActiveModel, "síla aktivní čáry modelu"},
    {DisplayEdit::LineWidthModel, &DisplayParameterTexts::lineWidthModel,
     &CurveWindowState::lineWidthModel, "síla čáry modelu"},
};

}  // namespace

void askScreenSplit(CurveSession& c, const std::function<void()>& redraw) {
  CurveWindowState& s = c.s;
  std::optional<std::string> answer =
      c.dialogs.inputQuery("Zadej kolik procent má zabírat pravá cást obrazovky: ",
                           "kolik procent má mít implicitne pravá cást obrazovky: ",
                           cformat("%i", static_cast<int>(s.screenSplitPercent)));
  if (answer) {
    if (std::optional<int> v = parseUserInt(*answer))
      s.screenSplitPercent = *v;
    else
      c.dialogs.message("Soustřeďte se (celé číslo)!");
  }
  s.screenSplitPercent = clampTo(s.screenSplitPercent, 10, 90);
  c.chrome.placeDockedRight(curveWindowWidth(s, c.chrome));
  if (!s.sectionWindowShown) {
    c.section.show();
    s.sectionWindowShown = true;
  }
  if (redraw) redraw();
}

DisplayTakeOverResult takeOverDisplayParameters(CurveWindowState& s, SectionDisplayFlags& section,
                                                const DisplayParameterTexts& texts) {
  DisplayTakeOverResult r;
  for (const EditSlot& e : kEdits) {
    std::optional<int> v = parseUserInt(texts.*e.text);
    if (!v) {
      r.ok = false;
      r.failed = e.edit;
      r.failedText = texts.*e.text;
      sanitizeSettings(s);
      return r;
    }
    s.*e.member = *v;
  }
  sanitizeSettings(s);
  s.splineAllCurves = texts.splineAllCurves;
  section.profilePrefix = texts.profilePrefix;
  s.lockCurveScale = texts.lockCurveScale;
  section.labelBySurfaceChainage = texts.labelBySurfaceChainage;
  return r;
}

std::string displayTakeOverMessage(const DisplayTakeOverResult& r) {
  if (r.ok) return {};
  const char* label = "";
  for (const EditSlot& e : kEdits)
    if (e.edit == r.failed) label = e.label;
  return "'" + r.failedText + "' není celé číslo (" + label + ").";
}

DisplayParameterTexts displayParameterTexts(const CurveWindowState& s,
                                            const SectionDisplayFlags& section) {
  DisplayParameterTexts t;
  for (const EditSlot& e : kEdits) t.*e.text = cformat("%i", static_cast<int>(s.*e.member));
  t.splineAllCurves = s.splineAllCurves;
  t.profilePrefix = section.profilePrefix;
  t.lockCurveScale = s.lockCurveScale;
  t.labelBySurfaceChainage = section.labelBySurfaceChainage;
  return t;
}

void applyDisplayDefaults(CurveWindowState& s) {
  applyDefaultLooks(s, 110);
}

int preferenceRadioIndex(int inputMode) {
  return inputMode >= 0 && inputMode <= 4 ? inputMode : -1;
}

int inputModeFromRadio(int radioIndex, int currentInputMode) {
  return radioIndex >= 0 && radioIndex <= 4 ? radioIndex : currentInputMode;
}

AdditionTexts additionTexts(const CurveWindowState& s) {
  return {s.accurateForward, formatReal(s.equivalenceTolerance)};
}

bool takeOverAdditions(CurveWindowState& s, const AdditionTexts& texts) {
  s.accurateForward = texts.accurateForward;
  const std::optional<double> q = parseUserReal(texts.equivalenceTolerance);
  if (!q || !validEquivalenceTolerance(*q)) return false;
  s.equivalenceTolerance = *q;
  return true;
}

}  // namespace orv
