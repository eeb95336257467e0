// The curve window's layered model with its fix marks, kept when a long
// command begins so that stopping it puts the model back as it was. Unlike
// the undo history's ModelSnapshot it keeps every slot, the thicknesses and
// the misfit bit for bit: a stopped command leaves no trace at all.
#pragma once

#include <cstdint>

#include "core/curve/curve_window_state.h"

namespace orv {

class ModelBackup {
 public:
  explicit ModelBackup(const CurveWindowState& s);
  // The model, its fix marks and its misfit as they were; computedRho again
  // the curve of that model.
  void restore(CurveWindowState& s) const;

 private:
  int32_t boundaryCount_;
  float rho_[MaxLayers];
  float depth_[MaxLayers];
  float thickness_[MaxLayers];
  int32_t rhoFixed_[FlagSlots];
  int32_t thicknessFixed_[FlagSlots];
  int32_t depthFixed_[FlagSlots];
  double fitError_;
};

}  // namespace orv
