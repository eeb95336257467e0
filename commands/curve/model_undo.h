// Undo and redo of the model's changes. Every command that leaves the model
// other than the history's entry at hand is one step: the window commits the
// model after each command and mouse event, so every road that changes the
// model -- mouse edits, typed values, fits, the automatic model, paste,
// clear, the carry to a neighbour -- is caught without each of them knowing.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// Commits the model as one step of the sounding's history; a gesture in
// progress (a model being built or dragged) is not a step yet.
void recordModelStep(CurveSession& c);

// "Zpět" (Ctrl+Z): the model before the last step; a model being built or
// dragged is dropped back to the last committed one first. "Znovu"
// (Ctrl+Y): the step undone last. Both redraw, compute the curve and the
// misfit, and write the model back to its section point while fromSection.
void undoModelChange(CurveSession& c);
void redoModelChange(CurveSession& c);

// A model changed outside the mouse (typed, or taken from the history): the
// gestures give way, the model is drawn, its curve and misfit are computed
// (a model with a layer is computed, as after every mouse edit), the buttons
// "..." and "<-" follow, the change is committed as a step and written back
// to the section point while fromSection.
void showChangedModel(CurveSession& c);

}  // namespace orv
