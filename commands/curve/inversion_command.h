// The inversion as the curve window runs it: the refusal told, the picture
// brought up to date around the computation, the sounding written back to
// its section point.
#pragma once

#include <functional>
#include <optional>

#include "commands/curve/curve_session.h"
#include "core/interpretation/inversion.h"

namespace orv {

// "Optimalizace (ENTER, klik na tlačítko ...)" (Ctrl+Alt+F): draws the
// model's curve, runs the inversion, redraws, and writes the sounding back to
// its section point when it came from the section. A model that cannot be
// inverted is refused with its reason in one message and stays as it is; a
// run that ends in a model not to be trusted is followed by the message of
// reportFailedFit.
void optimiseModel(CurveSession& c);

// optimiseModel without the message after it; the misfit of the model before
// the run, nothing when the model was refused.
std::optional<double> optimiseModelInWindow(CurveSession& c);

// The window's frame around any fit of the model: the refusal, the curve
// drawn before, fit(s) (true when it changed the model) and the redraw and
// write-back after, as optimiseModel does them. Returns the misfit of the
// model before the fit, nothing when the model was refused.
std::optional<double> fitModelInWindow(CurveSession& c,
                                       const std::function<bool(CurveWindowState& s)>& fit);

// After a fit that started at misfitBefore: the message of fit_verdict.h when
// the window's model is not to be trusted.
void reportFailedFit(CurveSession& c, double misfitBefore);

// The run button "...": shows "<-" unless the sounding came from the section,
// runs optimiseModel and widens the view so that the model fits.
void spustitClick(CurveSession& c);

}  // namespace orv
