// Merging of the branches as the curve window runs it: the missing overlaps
// told, the composite curve drawn over a fresh picture, the model redrawn.
#pragma once

#include "commands/curve/curve_session.h"
#include "core/interpretation/branch_merging.h"

namespace orv {

// Shows the message of every missing overlap, one after another (the window
// and the command-line tool tell the same).
void reportMergeOutcome(ui::Dialogs& dialogs, const MergeOutcome& outcome);

// "Snos na t. větev a zprůměrování stejných bodů ": merges onto branch t,
// reports every missing overlap and draws the new composite curve over a
// fresh base picture. Also run with t = 2 at the end of every load.
void mergeBranches(CurveSession& c, int t);

// After a merge has rebuilt the picture: a finished model is drawn again and,
// when its curve was shown or the model is active, its curve and misfit are
// computed against the new composite, as a repaint shows them.
void redrawModelOverNewComposite(CurveSession& c, bool curveWasShown);

}  // namespace orv
