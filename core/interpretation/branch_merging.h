// Merging ("snos") of the branches of a Schlumberger sounding: every branch is
// shifted in log10 of resistivity onto the level of one chosen branch, using
// the overlaps ("převaz") of consecutive branches, and the values that fall on
// the same AB/2 grid cell are averaged into the composite curve (column 0 of
// mergedRho).
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"

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

}  // namespace orv
