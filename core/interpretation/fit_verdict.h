// Whether a fit of the model (the inversion, the thorough fit, the automatic
// model) ended where the user should not trust it: its misfit rose, an
// interface went far below what the longest spread sees, or a resistivity
// left any earthly value. The commands then say so in one message that
// points to the automatic model.
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"

namespace orv {

// An interface deeper than this many times the largest AB/2 of the composite
// curve lies where the curve cannot have put it.
inline constexpr double FailedFitDepthFactor = 3.0;
// Resistivities outside this span (ohm.m) are not of any rock or water.
inline constexpr double FailedFitRhoMin = 1e-3;
inline constexpr double FailedFitRhoMax = 1e6;

// What went wrong with the window's model after a fit that started at the
// misfit misfitBefore (not finite: not compared), as Czech clauses joined by
// "; "; empty when nothing did.
std::string failedFitReasons(const CurveWindowState& s, double misfitBefore);

// "Optimalizace nenašla dobrý model (reasons). Zkuste Automatický model
// (Ctrl+Alt+A)."
std::string failedFitMessage(const std::string& reasons);

}  // namespace orv
