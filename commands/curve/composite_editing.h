// Changing the composite curve after merging: shifting it up or down in
// log10 ohm.m by a fixed step, and setting single cells with the mouse.
#pragma once

#include "commands/curve/curve_rendering.h"
#include "commands/curve/curve_session.h"

namespace orv {

// The editing modes need the composite curve.
inline constexpr const char* MergeBranchesFirstMessage =
    "Nejprve si snes jednotlivé větve stiskem kláves 1 až číslo poslední použité větve podle toho "
    "na kterou větev chcete ostatní snést!";

// Multiplies (direction +1) or divides (-1) every positive merged value of the
// branches and of the composite curve by 10^compositeShiftStep, within the
// sounding's grid cells. Does nothing without a composite curve.
void shiftCompositeCore(CurveWindowState& s, int direction);

// "Posun snesené křivky VES do vyšších rezistivit" (F3, direction +1) and
// "Posun snesené křivky VES do nižších rezistivit" (F2, direction -1).
void shiftComposite(CurveSession& c, int direction);

// "Posun snesené křivky VES - krok [log ohm.m]" (Ctrl+K): asks for
// compositeShiftStep.
void askCompositeShiftStep(CurveSession& c);

// "Editovat snesenou křivku" (F4): switches editCompositeMode. Switching it
// off after a mouse-drawn input makes the edited composite the sounding.
void toggleCompositeEdit(CurveSession& c);

// Ends a pending mouse-drawn input: the edited composite becomes the
// sounding's readings and the caption tells so. Nothing without one.
void endMouseEntry(CurveSession& c);

// The grid cell of the sounding whose row is nearest to pixel row y (the first
// one on ties), or -1 when the sounding has no cells. *row receives its row.
int nearestGridCell(const CurveWindowState& s, int y, int* row);

// Mouse events while editCompositeMode is on. The move handler is for moves
// with no button held: it follows the mouse with the crosshair and snaps it
// to the nearest grid cell. A left press sets the snapped cell of every
// branch that has a value there (and the composite) to the resistivity under
// the mouse; a right press leaves the edit mode.
void compositeEditMouseMove(CurveSession& c, int x, int y);
void compositeEditMouseDown(CurveSession& c, MouseButton button, int x, int y);

// The crosshair and the read-out follow the mouse, the horizontal line
// snapped to the nearest grid cell, which becomes editGridIndex. Shared by
// every editing mode that picks a cell.
void trackSnappedCursor(CurveSession& c, int x, int y);

}  // namespace orv
