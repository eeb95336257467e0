#include "commands/curve/branch_merging_command.h"

#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"

namespace orv {

void mergeBranches(CurveSession& c, int t) {
  // Without readings there is no picture to build (the chart of an empty
  // window would count as a drawn sounding), but the tables are still
  // cleared: an earlier sounding's composite must not pass for this one.
  if (c.s.readingCount <= 0) {
    mergeBranchesCore(c.s, t);
    return;
  }
  CurveWindowState& s = c.s;
  const bool curveShown = s.computedCurveValid;
  paintCurves(c);
  // The fresh base picture carries neither the model nor its curve.
  s.computedCurveValid = false;
  reportMergeOutcome(c.dialogs, mergeBranchesCore(s, t));
  drawComposite(c);
  redrawModelOverNewComposite(c, curveShown);
}

void redrawModelOverNewComposite(CurveSession& c, bool curveWasShown) {
  CurveWindowState& s = c.s;
  if (s.modelBoundaryCount < 1 || s.modelBuildMode) return;
  // The model stays; its curve and misfit are now those of the new composite.
  drawModel(c);
  if ((curveWasShown || s.modelActive) && s.curveLoaded && s.compositeReady &&
      !computeForward(c, false))
    c.dialogs.message(ForwardFailedMessage);
}

void reportMergeOutcome(ui::Dialogs& dialogs, const MergeOutcome& outcome) {
  const int count =
      outcome.missingOverlapCount < MaxBranch ? outcome.missingOverlapCount : MaxBranch;
  for (int i = 0; i < count; ++i)
    dialogs.message(missingOverlapMessage(outcome.missingOverlapLower[i]));
}

}  // namespace orv
