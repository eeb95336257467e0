// The curve window's IP commands (menu "VP" and the outlier editing of
// "Editace"): the window pattern and times, the display switches, the export
// of the IP grid, the information overlay and the mouse edit of one outlying
// decay curve.
#pragma once

#include "commands/curve/curve_rendering.h"
#include "commands/curve/curve_session.h"

namespace orv {

// Check mark of "zobrazovat vybíjecí křivky".
inline constexpr const char* DecayCurvesItem = "zobrazujnezobrazujvybjeckivky1";

// "uprav počet, zpoždění prvního a span oken …": count, delay of the first
// window and length, then the regular windows from them. A count above 20 is
// cut to 20, one below 0 taken as 0 (no window), each with a message. A cancel in any of the three
// boxes changes nothing. Not redrawn.
void editWindowPattern(CurveSession& c);
// "uprav manuálně časy oken od do …": start and end of every window as
// typed, on the samples' time axis; a cancel ends the command with the
// windows answered so far. Redrawn.
void editWindowTimes(CurveSession& c);
// "zobrazené maximální VPmx [%] na pravém okraji": ipMaxShown, at least 1.
void askIpMaxShown(CurveSession& c);
// "zobraz zdánlivou polarizovatelnost formou isolinií nebo vybíjecí křivky".
void toggleIpIsolines(CurveSession& c);
// "zobrazovat vybíjecí křivky", with its check mark.
void toggleDecayCurves(CurveSession& c);
// "uložení křivek VP pro vykreslení ve WINSURFERu": the IP grid into a new file.
void exportIpGrid(CurveSession& c);
// "zobraz zpoždění prvního a časy hranic každého okna …": the window
// definition and the timing written over the picture until the next redraw.
void showIpInfo(CurveSession& c);

// "Editovat ulétlý bod křivek oken VP (jen reinterpretace z leva)" (F5).
void toggleIpOutlierEdit(CurveSession& c);
// Mouse moves with no button held while the mode is on.
void ipOutlierMouseMove(CurveSession& c, int x, int y);
// A press while the mode is on: the left button scales the decay curve of
// the readings at editGridIndex so that its first window takes the value
// under the mouse; either button leaves the mode.
void applyIpOutlierClick(CurveSession& c, MouseButton button, int x, int y);

}  // namespace orv
