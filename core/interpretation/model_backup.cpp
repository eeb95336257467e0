#include "core/interpretation/model_backup.h"

#include <algorithm>

#include "core/interpretation/forward_problem.h"

namespace orv {

ModelBackup::ModelBackup(const CurveWindowState& s)
    : boundaryCount_(s.modelBoundaryCount), fitError_(s.modelFitError) {
  std::copy(s.modelRho, s.modelRho + MaxLayers, rho_);
  std::copy(s.modelDepth, s.modelDepth + MaxLayers, depth_);
  std::copy(s.modelThickness, s.modelThickness + MaxLayers, thickness_);
  std::copy(s.rhoFixed, s.rhoFixed + FlagSlots, rhoFixed_);
  std::copy(s.thicknessFixed, s.thicknessFixed + FlagSlots, thicknessFixed_);
  std::copy(s.depthFixed, s.depthFixed + FlagSlots, depthFixed_);
}

void ModelBackup::restore(CurveWindowState& s) const {
  s.modelBoundaryCount = boundaryCount_;
  std::copy(rho_, rho_ + MaxLayers, s.modelRho);
  std::copy(depth_, depth_ + MaxLayers, s.modelDepth);
  std::copy(thickness_, thickness_ + MaxLayers, s.modelThickness);
  std::copy(rhoFixed_, rhoFixed_ + FlagSlots, s.rhoFixed);
  std::copy(thicknessFixed_, thicknessFixed_ + FlagSlots, s.thicknessFixed);
  std::copy(depthFixed_, depthFixed_ + FlagSlots, s.depthFixed);
  // The work has left its trials in the computed curve.
  computeForwardValues(s, false);
  s.modelFitError = fitError_;
}

}  // namespace orv
