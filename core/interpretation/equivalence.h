// Equivalence ranges of a fitted model: how far each free parameter can move
// while the misfit stays within (1 + q) times the best misfit, the other free
// parameters re-fitted at every trial value. Reported per layer as the span of
// its resistivity, thickness, longitudinal conductance h/rho and transverse
// resistance h*rho over every model found within the limit.
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"
#include "core/interpretation/inversion.h"

namespace orv {

struct ValueRange {
  double min = 0.0;
  double max = 0.0;
};

struct LayerRanges {
  ValueRange rho;  // ohm.m
  ValueRange h;    // m; not used for the half-space
  ValueRange s;    // h / rho, S
  ValueRange t;    // h * rho, ohm.m2
};

struct EquivalenceOutcome {
  bool ran = false;  // false: the model cannot be inverted (see refusal)
  InversionRefusal refusal = InversionRefusal::None;
  double bestMisfit = 0.0;  // the misfit of the re-fitted model the ranges are around
  double limit = 0.0;       // (1 + q) x bestMisfit
  int layers = 0;           // boundary count + 1
  LayerRanges layer[MaxLayers];
  int evaluations = 0;  // forward computations
};

// A parameter is not followed further than this factor either way: the
// curve then no longer sees it, and its range is reported up to there.
inline constexpr double EquivalenceMaxFactor = 600.0;

// The ranges around the best fit reached from the window's model (a thorough
// fit of its own; the window's model itself is left as it is, its curve again
// in computedRho on return). q below 0 counts as 0.
EquivalenceOutcome equivalenceRangesCore(CurveWindowState& s, double q);

// The two text rows of one layer as the window shows them ("ρ a – b  h c – d"
// and "h/ρ e – f  h·ρ g – h"; the half-space has the first part only).
struct RangeRows {
  std::string first;
  std::string second;
};
RangeRows equivalenceRows(const EquivalenceOutcome& e, int layer);

}  // namespace orv
