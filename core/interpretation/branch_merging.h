// Merging ("snos") of the branches of a Schlumberger sounding: every branch is
// shifted in log10 of resistivity onto the level of one chosen branch, using
// the overlaps ("převaz") of consecutive branches, and the values that fall on
// the same AB/2 grid cell are averaged into the composite curve (column 0 of
// mergedRho).
#pragma once

#include <string>

#include "commands/curve/curve_session.h"

namespace orv {

struct MergeOutcome {
  // Branch pairs (j, j + 1) without a common grid cell, by their lower branch
  // j; their shift was taken as zero.
  int missingOverlapCount;
  int missingOverlapLower[MaxBranch];
};

// Builds cellAbHalf, cellS, cellRho, branchMnHalf, branchCount and mergedRho
// from the readings and sets compositeReady (when at least one branch has a
// value). onto is the target branch 1..5; a target above branchCount brings
// every branch onto the level of the last one. Readings with a branch outside
// 1..5, a grid index outside the grid or a resistivity that is not a positive
// number take no part.
MergeOutcome mergeBranchesCore(CurveWindowState& s, int onto);

// The message shown for branches j and j + 1 without overlap.
std::string missingOverlapMessage(int lowerBranch);

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
