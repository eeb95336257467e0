#include "commands/section/view_commands.h"

#include <cfloat>
#include <cmath>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "commands/section/value_prompts.h"
#include "core/section/section_database.h"

namespace orv {
namespace {

constexpr const char* NotAnInteger = "Soustřeďte se (celé číslo)!";
constexpr const char* NotANumberForCurves = "Soustřeďte)!";

// Panning steps in metres.
constexpr float PanChainageStep = 20.0f;
constexpr float PanUpStep = 10.0f;
constexpr float PanDownStep = 20.0f;
// A view limit at or beyond these still stands for "everything": the first
// pan starts from the picture's own edge instead.
constexpr float UnboundedLeft = -90000.0f;
constexpr float UnboundedBottom = -10000.0f;
constexpr float UnboundedTop = 10000.0f;

constexpr double CurveEnlargement = 1.2;
constexpr double CurveReduction = 0.83333333333333336416;

// Denominators offered when a profile carries no usable scale.
constexpr int FallbackDenominatorX = 10000;
constexpr int FallbackDenominatorZ = 1000;
// Keeps 10 × the denominator inside an int.
constexpr double LargestDenominator = 200000000.0;

void redraw(SectionSession& session) {
  if (session.redraw) session.redraw();
}

void check(SectionSession& session, const char* item, bool on) {
  if (session.chrome) session.chrome->setChecked(item, on);
}

void widthFittingOff(SectionSession& session) {
  session.view.fitWidth = false;
  check(session, FitSectionItem, false);
  check(session, FitWidthItem, false);
}

void heightFittingOff(SectionSession& session) {
  session.view.fitHeight = false;
  check(session, FitSectionItem, false);
  check(session, FitHeightItem, false);
}

void resetViewLimits(SectionWindowState& v) {
  v.viewMinChainage = FitMinChainage;
  v.viewMaxChainage = FitMaxChainage;
  v.viewMinElevation = FitMinElevation;
  v.viewMaxElevation = FitMaxElevation;
}

// A positive integer; zero or less is as invalid as a text that does not
// convert (a map scale 1:0 or a flattened section means nothing).
std::optional<int> askPositiveInt(SectionSession& session, const std::string& caption,
                                  const std::string& prompt, int current) {
  std::optional<std::string> answer =
      session.dialogs.inputQuery(caption, prompt, cformat("%i", current));
  if (!answer) return std::nullopt;
  std::optional<int> v = parseUserInt(*answer);
  if (!v || *v <= 0) {
    session.dialogs.message(NotAnInteger);
    return std::nullopt;
  }
  return v;
}

void askViewLimit(SectionSession& session, float& limit, const char* caption,
                  const char* promptHead) {
  const std::string value = formatReal(limit);
  if (std::optional<float> v =
          askFloat(session, caption, promptHead + value + " m )", limit, NotAnInteger))
    limit = *v;
}

// The scale prompt: whatever the answer, the scale ends as 1:N with N the
// typed denominator or the one offered.
void askScale(SectionSession& session, float& scale, const char* caption, int fallback) {
  int n = offeredScaleDenominator(scale);
  if (n <= 0) n = fallback;
  const std::string prompt = "(nyní je 1:" + cformat("%i", n) + "):1 /";
  if (std::optional<int> typed = askPositiveInt(session, caption, prompt, n)) n = *typed;
  scale = static_cast<float>(1.0 / n);
}

void zoom(float& scale, float stepPercent, bool enlarge) {
  const float factor = enlarge ? (100.0f + stepPercent) / 100.0f : (100.0f - stepPercent) / 100.0f;
  scale = scale * factor;
}

}  // namespace

int offeredScaleDenominator(float scale) {
  if (!(scale > 0.0f)) return 0;
  const double denominator = 1.0 / double(scale);
  if (!(denominator <= LargestDenominator)) return 0;
  // Rounded to the nearest ten: a scale that zooming has left at 1:9996 is
  // offered as 1:10000.
  const int tens = static_cast<int>(std::trunc(denominator * 0.1 + 0.5));
  return tens < 1 ? 10 : tens * 10;
}

void askViewMinChainage(SectionSession& session) {
  askViewLimit(session, session.view.viewMinChainage,
               "Zadej minimální zobrazenou metráž:  ", "( nyní je ");
  widthFittingOff(session);
  redraw(session);
}

void askViewMaxChainage(SectionSession& session) {
  askViewLimit(session, session.view.viewMaxChainage,
               "Zadej maximální zobrazenou metráž:  ", "( nyní je: ");
  widthFittingOff(session);
  redraw(session);
}

void askViewMinElevation(SectionSession& session) {
  askViewLimit(session, session.view.viewMinElevation,
               "Zadej minimální zobrazenou výšku:  ", "( nyní je ");
  heightFittingOff(session);
  redraw(session);
}

void askScaleX(SectionSession& session) {
  if (SectionProfile* p = currentProfilePtr(session.db))
    askScale(session, p->scaleX, "Zadej X měřítko zobrazení:  ", FallbackDenominatorX);
  widthFittingOff(session);
  redraw(session);
}

void askScaleZ(SectionSession& session) {
  if (SectionProfile* p = currentProfilePtr(session.db))
    askScale(session, p->scaleZ, "Zadej Z měřítko zobrazení:  ", FallbackDenominatorZ);
  heightFittingOff(session);
  redraw(session);
}

void askScaleStep(SectionSession& session) {
  float& step = session.view.scaleStepPercent;
  const std::string prompt = "(nyní je " + formatReal(step) + "%) : /";
  if (std::optional<float> v =
          askFloat(session, "Zadej krok změny měřítka v procentech:  ", prompt, step, NotAnInteger))
    step = *v;
}

void zoomScaleX(SectionSession& session, bool enlarge) {
  if (SectionProfile* p = currentProfilePtr(session.db))
    zoom(p->scaleX, session.view.scaleStepPercent, enlarge);
  widthFittingOff(session);
  redraw(session);
}

void zoomScaleZ(SectionSession& session, bool enlarge) {
  if (SectionProfile* p = currentProfilePtr(session.db))
    zoom(p->scaleZ, session.view.scaleStepPercent, enlarge);
  heightFittingOff(session);
  redraw(session);
}

void fitToWidth(SectionSession& session) {
  session.view.fitWidth = true;
  resetViewLimits(session.view);
  check(session, FitWidthItem, true);
  redraw(session);
}

void fitToHeight(SectionSession& session) {
  session.view.fitHeight = true;
  check(session, FitHeightItem, true);
  redraw(session);
}

void fitSection(SectionSession& session) {
  resetViewLimits(session.view);
  session.view.fitWidth = true;
  session.view.fitHeight = true;
  check(session, FitSectionItem, true);
  check(session, FitWidthItem, true);
  check(session, FitHeightItem, true);
  redraw(session);
}

void askExaggeration(SectionSession& session) {
  SectionWindowState& v = session.view;
  const std::string prompt = "(nyní je 1:" + cformat("%i", v.exaggeration) + "):1 /";
  if (std::optional<int> e =
          askPositiveInt(session, "Zadej prevýšení rezu:  ", prompt, v.exaggeration))
    v.exaggeration = *e;
  if (SectionProfile* p = currentProfilePtr(session.db))
    p->scaleZ = static_cast<float>(v.exaggeration) * p->scaleX;
  v.exaggerationLock = true;
  check(session, ExaggerationLockItem, true);
  redraw(session);
}

void toggleExaggerationLock(SectionSession& session) {
  session.view.exaggerationLock = !session.view.exaggerationLock;
  check(session, ExaggerationLockItem, session.view.exaggerationLock);
  redraw(session);
}

void panChainage(SectionSession& session, bool right) {
  SectionWindowState& v = session.view;
  if (v.viewMinChainage <= UnboundedLeft)
    v.viewMinChainage = static_cast<float>(v.layout.imageLeftChainage);
  v.viewMinChainage += right ? PanChainageStep : -PanChainageStep;
  widthFittingOff(session);
  redraw(session);
}

void panElevation(SectionSession& session, bool up) {
  SectionWindowState& v = session.view;
  if (v.viewMinElevation <= UnboundedBottom)
    v.viewMinElevation = static_cast<float>(v.layout.imageBottomElevation);
  if (v.viewMaxElevation >= UnboundedTop)
    v.viewMaxElevation = static_cast<float>(v.layout.imageTopElevation);
  if (up) {
    // Nothing above the picture's top to move to.
    if (v.viewMaxElevation < v.layout.imageTopElevation) {
      v.viewMinElevation += PanUpStep;
      v.viewMaxElevation += PanUpStep;
    }
  } else {
    v.viewMinElevation -= PanDownStep;
    v.viewMaxElevation -= PanDownStep;
  }
  heightFittingOff(session);
  redraw(session);
}

void toggleCurves(SectionSession& session) {
  session.view.showCurves = !session.view.showCurves;
  check(session, CurvesItem, session.view.showCurves);
  redraw(session);
}

void scaleCurves(SectionSession& session, bool enlarge) {
  float& ppd = session.view.curvePixelsPerDecade;
  ppd = static_cast<float>(ppd * (enlarge ? CurveEnlargement : CurveReduction));
  redraw(session);
}

void askCurvePixelsPerDecade(SectionSession& session) {
  float& ppd = session.view.curvePixelsPerDecade;
  const std::string prompt = "(nyní je :" + formatReal(ppd) + ")";
  if (std::optional<float> v =
          askFloat(session, "Zadej pocet pixelú na dekádu pro zobrazení krivek VES:  ", prompt, ppd,
                   NotANumberForCurves))
    ppd = *v;
  redraw(session);
}

void toggleOneDecimal(SectionSession& session) {
  session.view.oneDecimal = !session.view.oneDecimal;
  redraw(session);
}

}  // namespace orv
