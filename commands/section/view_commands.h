// The section window's view commands: view limits, map scales and their
// zoom, fitting to the window, vertical exaggeration, panning, the size of
// the drawn sounding curves and the decimals of the resistivity labels.
// Qt-free; they ask through session.dialogs, keep the menu check marks in
// step through session.chrome and end with session.redraw() unless noted.
#pragma once

#include "commands/section/section_session.h"

namespace orv {

// Object names of the menu items whose check marks follow the view.
inline constexpr const char* FitSectionItem = "Fitniez2";          // "Fitni řez" (popup)
inline constexpr const char* FitWidthItem = "Fitnaku1";            // "Fitni na šířku"
inline constexpr const char* FitHeightItem = "Fitninavku1";        // "Fitni na výšku"
inline constexpr const char* ExaggerationLockItem = "Blokpeven1";  // "Blok převýšení"
inline constexpr const char* CurvesItem = "kivkyVES1";             // "křivky VES" (popup)

// View limits reset by the fitting commands.
inline constexpr float FitMinChainage = -1000000.0f;
inline constexpr float FitMaxChainage = 1000000.0f;
inline constexpr float FitMinElevation = -10000.0f;
inline constexpr float FitMaxElevation = 10000.0f;

// "Minimální X", "Maximální X", "Minimální Z".
void askViewMinChainage(SectionSession& session);
void askViewMaxChainage(SectionSession& session);
void askViewMinElevation(SectionSession& session);

// "Měřítko X" / "Měřítko Z": the map scale of the current profile as 1:N,
// N a multiple of ten; the scale is rounded so even after "Cancel".
void askScaleX(SectionSession& session);
void askScaleZ(SectionSession& session);
// The denominator the scale prompt offers for a scale.
int offeredScaleDenominator(float scale);

// "Krok změny měřítek": the zoom step in per cent; no redraw.
void askScaleStep(SectionSession& session);

// "zvětši/zmenši měřítko X" and "... Z": the scale of the current profile
// by (100 ± scaleStepPercent) %.
void zoomScaleX(SectionSession& session, bool enlarge);
void zoomScaleZ(SectionSession& session, bool enlarge);

// "Fitni na šířku", "Fitni na výšku", "Fitni řez ".
void fitToWidth(SectionSession& session);
void fitToHeight(SectionSession& session);
void fitSection(SectionSession& session);

// "Převýšení ": asks the exaggeration and couples scaleZ to scaleX.
void askExaggeration(SectionSession& session);
// "Blok převýšení".
void toggleExaggerationLock(SectionSession& session);

// The arrow items: 20 m along the profile (only the left limit moves), up by
// 10 m while the picture's top is not reached, down by 20 m.
void panChainage(SectionSession& session, bool right);
void panElevation(SectionSession& session, bool up);

// "křivky VES" and "zobraz nameřene krivky  bez interpretace".
void toggleCurves(SectionSession& session);
// "zvětši/zmenši  měřítko křivek VES".
void scaleCurves(SectionSession& session, bool enlarge);
// "počet  pixelů na dekádu Rzd".
void askCurvePixelsPerDecade(SectionSession& session);
// "přidat / ubrat desetinné místo rezistivitám".
void toggleOneDecimal(SectionSession& session);

}  // namespace orv
