// Curves of known models for the inversion and fitting benchmarks: the
// model's curve on cells 0..29, for the fits with a fixed pseudo-noise (2 %)
// so that the best misfit is not 0.
#pragma once

#include <cmath>

#include "core/curve/curve_window_state.h"
#include "core/interpretation/forward_problem.h"

namespace fit_bench {

inline void setModel(orv::CurveWindowState& s, int layers, const float* rho, const float* depth) {
  s.modelBoundaryCount = layers - 1;
  for (int i = 0; i < layers; ++i) s.modelRho[i] = rho[i];
  for (int i = 0; i + 1 < layers; ++i) s.modelDepth[i] = depth[i];
  s.modelDepth[layers - 1] = 1e9f;
  for (int i = 0; i < orv::FlagSlots; ++i)
    s.rhoFixed[i] = s.thicknessFixed[i] = s.depthFixed[i] = 0;
}

inline void prepare(orv::CurveWindowState& s, int layers, const float* rho, const float* depth,
                    double noise) {
  orv::setInitialCurveState(s);
  orv::finishCurveStateConstruction(s);
  s.gridMinIndex = 0;
  s.gridMaxIndex = 29;
  setModel(s, layers, rho, depth);
  orv::computeForwardValues(s, false);
  for (int g = 0; g < orv::GridCells; ++g) {
    s.mergedRho[g][0] =
        g <= 29 ? static_cast<float>(s.computedRho[g] * std::exp(noise * std::sin(2.7 * g + 1.3)))
                : orv::EmptyCell;
  }
  s.compositeReady = true;
}

inline constexpr float kTrueRho[4] = {100, 20, 300, 50};
inline constexpr float kTrueDepth[3] = {3, 10, 40};
inline constexpr float kStartRho[4] = {150, 10, 150, 80};
inline constexpr float kStartDepth[3] = {2, 15, 30};

}  // namespace fit_bench
