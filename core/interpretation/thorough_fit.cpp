#include "core/interpretation/thorough_fit.h"

#include "core/interpretation/forward_problem.h"
#include "core/interpretation/layer_fit.h"

namespace orv {

ThoroughOutcome thoroughFitCore(CurveWindowState& s) {
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

  const LayerModel start = windowModel(s);
  LayerFit fit(s, start);
  double x[LayerFit::MaxColumns];
  fit.start(x);
  const LayerFit::Result r = fit.minimise(x, ThoroughMaxIterations, ThoroughRelativeImprovement);
  out.iterations = r.iterations;
  out.evaluations = r.evaluations;

  // The model is held in single precision: the rounded model must itself be
  // better, or the start stays.
  LayerModel best;
  float keepRho[MaxLayers];
  float keepDepth[MaxLayers];
  float keepThickness[MaxLayers];
  for (int i = 0; i < MaxLayers; ++i) {
    keepRho[i] = s.modelRho[i];
    keepDepth[i] = s.modelDepth[i];
    keepThickness[i] = s.modelThickness[i];
  }
  if (r.misfit < out.startMisfit && fit.model(x, best)) {
    storeLayerModel(s, best, true);
    if (computeForwardValues(s, false) && misfitSSQ(s) < out.startMisfit) {
      out.improved = true;
    } else {
      for (int i = 0; i < MaxLayers; ++i) {
        s.modelRho[i] = keepRho[i];
        s.modelDepth[i] = keepDepth[i];
        s.modelThickness[i] = keepThickness[i];
      }
    }
  }
  // The trials have overwritten the computed curve.
  computeForwardValues(s, false);
  s.modelFitError = misfitSSQ(s);
  out.endMisfit = s.modelFitError;
  return out;
}

}  // namespace orv
