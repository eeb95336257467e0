// Equivalence ranges of a fitted model: the model is first brought to its
// least-squares minimum (the thorough fit), and then each of the resistivity,
// thickness, longitudinal conductance h/rho and transverse resistance h*rho
// of each layer is walked away from it in both directions, every other free
// parameter re-fitted at each step, until the misfit reaches (1 + q) times
// the minimum's. An end that the misfit does not reach within a factor of
// EquivalenceMaxFactor is unbounded; the re-fitted parameters are held within
// the same factor of the minimum.
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"
#include "core/interpretation/inversion.h"
#include "ui/progress.h"

namespace orv {

// min 0: unbounded below; max +infinity: unbounded above.
struct ValueRange {
  double min = 0.0;
  double max = 0.0;
};

struct LayerRanges {
  ValueRange rho;  // ohm.m
  ValueRange h;    // m; both ends +infinity for the half-space
  ValueRange s;    // h / rho, S
  ValueRange t;    // h * rho, ohm.m2
};

struct EquivalenceOutcome {
  bool ran = false;  // false: the model cannot be inverted (see refusal)
  InversionRefusal refusal = InversionRefusal::None;
  bool stopped = false;     // the user stopped it: the model is as it was
  bool changed = false;     // the fit to the minimum changed the window's model
  double bestMisfit = 0.0;  // SSQ of the model the ranges are around (modelFitError)
  double limit = 0.0;       // (1 + q) x bestMisfit
  int layers = 0;           // boundary count + 1
  LayerRanges layer[MaxLayers];
  int evaluations = 0;  // forward computations of the walks
  // Ends where a walk ran out of trials before it met the limit: they are
  // its last trial inside the limit, a little short of the true end.
  int endsOffLimit = 0;
};

inline constexpr double EquivalenceMaxFactor = 1e4;

// Brings the window's model to its minimum (fitToMinimumCore: its values,
// computedRho and modelFitError are those of the minimum on return) and
// gives the ranges around it; q below 0 counts as 0. Progress: the fit's
// iterations, then one step per walked end. Stopped, the model is as it was
// before. The walks run on `threads` threads (0: as many as the machine has,
// at most 8), with the same ends on any number.
EquivalenceOutcome equivalenceRangesCore(CurveWindowState& s, double q,
                                         ui::Progress* progress = nullptr, int threads = 0);

// The two text rows of one layer as the window shows them ("ρ a – b  h c – d"
// and "h/ρ e – f  h·ρ g – h", an unbounded end "neomezeno"; the half-space
// has the first part only).
struct RangeRows {
  std::string first;
  std::string second;
};
RangeRows equivalenceRows(const EquivalenceOutcome& e, int layer);

}  // namespace orv
