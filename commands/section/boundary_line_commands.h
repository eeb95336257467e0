// The section window's boundary-line ("křivky HBV") commands: the define
// mode and its closing double click, removing vertices and lines, the snap
// tolerance, the colour-layers and layer-bounds switches and the HBV edit
// mode. Qt-free; they ask through session.dialogs, keep the menu check marks
// in step through session.chrome and end with session.redraw() unless noted.
#pragma once

#include "commands/section/section_session.h"
#include "core/section/section_window_state.h"

namespace orv {

// Object names of the menu items whose check marks follow the HBV state.
inline constexpr const char* DefineLayersItem = "Vymezitvrstvyprovybarvendlerezistivit1";
inline constexpr const char* DefineLayersPopupItem = "vymezovatvrstvy1";  // popup
inline constexpr const char* ColourLayersItem = "vybarvitvrstvy1";        // popup
inline constexpr const char* DrawLayerBoundsItem = "Vykreslitvrstvy1";
inline constexpr const char* HbvEditItem = "Fitniez1";  // "Edituj křivky HBV"
// The popup item "delete aktivní křivku HBV", visible only in the edit mode.
inline constexpr const char* DeleteHbvLineItem = "smazaktivnkivkuHBV1";

// Refusal of a new line when the profile keeps no free line slot.
inline constexpr const char* TooManyHbvLines =
    "Máš už moc zadaných křivek HBV (pole křivek nelze zvětšit)";

// Sets the define-mode and colour-layers check marks from their flags; the
// window calls it once at creation (colour-layers mode starts on).
void showLayerModeMarks(SectionSession& session);

// "Vymezování vrstev pro vybarvení dle rezistivit myší ..." (Ctrl+H) and the
// popup "vymezovat vrstvy": switches the define mode. On: refused with
// TooManyHbvLines when the profile has MaxUserHbvLines lines; otherwise a new
// empty line is opened after the existing ones and the colouring stops. Off:
// the colouring starts again.
void toggleDefineLayersMode(SectionSession& session);

// The define mode's double click: ends the line being drawn and opens a new
// one whose count marks it just opened (the click that belongs to the double
// click is swallowed by it). Only when the profile has a line; refused with
// TooManyHbvLines when no slot is left. Redraws, which also removes the
// rubber band of the line just ended.
void defineModeDoubleClick(SectionSession& session);

// "Zrušit vymezení vrstev pro vybarvení dle rezistivit": every line of the
// current profile goes; define and colour-layers modes off.
void clearBoundaryLines(SectionSession& session);

// "Změna tolerance HBV pro spojení s VES body": the snap tolerance in pixels.
void askHbvTolerance(SectionSession& session);

// "Zrušit poslední bod HBV ": the last vertex of the last line; a line of
// fewer than two vertices goes as a whole. No redraw when there is no line.
void removeLastHbvVertex(SectionSession& session);

// "Zrušit poslední řadu bodů HBV ": the last line. No redraw without lines.
void removeLastHbvLine(SectionSession& session);

// Popup "vybarvit vrstvy": switching the colouring on ends the define mode.
void toggleColourLayers(SectionSession& session);

// "Vykreslit hranice vrstev".
void toggleDrawLayerBounds(SectionSession& session);

// Popup "delete aktivní křivku HBV" (Del): the selected line; later lines
// move down one index.
void deleteSelectedHbvLine(SectionSession& session);

// "Edituj křivky HBV" (Ctrl+E): switching it on selects line 0 and no
// vertex. Afterwards the window shows DeleteHbvLineItem exactly when
// deleteLineItemVisible says so.
void toggleHbvEditMode(SectionSession& session);
bool deleteLineItemVisible(const SectionWindowState& view);

}  // namespace orv
