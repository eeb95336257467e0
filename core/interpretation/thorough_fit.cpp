#include "core/interpretation/thorough_fit.h"

#include <cmath>
#include <memory>

#include "core/interpretation/fit_verdict.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/layer_fit.h"
#include "core/interpretation/model_backup.h"

namespace orv {

ThoroughOutcome thoroughFitCore(CurveWindowState& s, ui::Progress* progress) {
  ThoroughOutcome out;
  out.refusal = inversionRefusal(s);
  if (out.refusal != InversionRefusal::None) return out;
  if (!computeForwardValues(s, false)) {
    out.refusal = InversionRefusal::ForwardFailed;
    return out;
  }
  out.ran = true;
  out.startMisfit = misfitSSQ(s);
  s.modelFitError = out.startMisfit;

  const ModelBackup start(s);
  LayerFit fit(s, windowModel(s));
  double x[LayerFit::MaxColumns];
  fit.start(x);
  LayerFit::Control control;
  control.maxIterations = ThoroughMaxIterations;
  control.relativeTolerance = ThoroughRelativeImprovement;
  if (progress) control.keepGoing = [progress](int done) { return progress->step(done, 0); };
  const LayerFit::Result r = fit.minimise(x, control);
  out.iterations = r.iterations;
  out.evaluations = r.evaluations;
  out.stopped = r.stopped;

  // The model is held in single precision: the rounded model must itself be
  // better, or the start stays.
  LayerModel best;
  if (!r.stopped && r.misfit < out.startMisfit && fit.model(x, best)) {
    storeLayerModel(s, best, true);
    if (computeForwardValues(s, false) && misfitSSQ(s) < out.startMisfit) {
      out.improved = true;
    } else {
      start.restore(s);
    }
  }
  // The trials have overwritten the computed curve.
  computeForwardValues(s, false);
  s.modelFitError = misfitSSQ(s);
  out.endMisfit = s.modelFitError;
  return out;
}

ThoroughOutcome fitToMinimumCore(CurveWindowState& s, ui::Progress* progress) {
  const ModelBackup before(s);
  const double startMisfit = computeForwardValues(s, false) ? misfitSSQ(s) : HUGE_VAL;
  const InversionOutcome first = optimiseModelCore(s);
  if (!first.ran) {
    ThoroughOutcome out;
    out.refusal = first.refusal;
    return out;
  }
  ThoroughOutcome out = thoroughFitCore(s, progress);
  out.startMisfit = startMisfit;
  if (out.stopped) {
    before.restore(s);
    out.improved = false;
    out.endMisfit = s.modelFitError;
  } else {
    out.improved = out.improved || first.acceptedSteps > 0;
  }
  return out;
}

}  // namespace orv
