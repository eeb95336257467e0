// Soundings typed in value by value or sketched with the mouse, and the
// double click into the image that starts the input the user prefers.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// MN/2 of the typed branches 1..5, m (index 0 unused).
inline constexpr float ManualBranchMnHalf[MaxBranch + 1] = {0.0f, 0.2f, 1.0f, 5.0f, 20.0f, 100.0f};

// Completes the readings in memory as after opening a file: derive, reset
// (the composite editing stays while the mouse entry runs), title, merge
// onto branch 2. False (with "chyba při čtení") when nothing is usable.
bool completeManualReadings(CurveSession& c);

// "Ruční vstup" (R, Runvstup1Click) without its menu bookkeeping: point
// number, branch count, skipped grid cells, then one resistivity per grid
// cell and branch, each shown at once.
void keyboardEntry(CurveSession& c);
// The menu command: decay curves switched off, then keyboardEntry.
void manualInputCommand(CurveSession& c);

// "Manuální vstup myší" (M, Manulnvstupmy1Click): a straight starting curve
// rho = AB/2 on the chosen grid cells, left in composite editing (F4 ends it
// and makes the drawing the sounding).
void mouseEntry(CurveSession& c);

// The double click into the image (ImgDblClick). Acts only inside the plot,
// away from the model, and while no mouse mode (model building, composite or
// IP editing, a drag) owns the clicks; then starts the input of inputMode:
// 0 or 1 keyboard, 2 mouse, 3 open OAX, 4 the next KMT record. Returns
// whether it acted (otherwise the click is an ordinary press).
bool startPreferredInput(CurveSession& c);

}  // namespace orv
