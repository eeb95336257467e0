// The inversion as the curve window runs it: the refusal told, the picture
// brought up to date around the computation, the sounding written back to
// its section point.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

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

// The frame of a command that brings the model to its minimum with a
// progress dialog titled `title` and then shows something found there
// (analyse returns an outcome with ran, refusal, stopped and changed): the
// model at its minimum drawn as a fit draws it, a refusal told. True when
// out is there to be shown: it ran and was not stopped.
template <class Outcome, class Analyse>
bool analyseAtMinimum(CurveSession& c, std::string_view title, Outcome& out,
                      const Analyse& analyse) {
  // The progress dialog closes with the computation, before the redraw.
  const std::optional<double> before = fitModelInWindow(c, [&](CurveWindowState& s) {
    out = analyse(s, c.dialogs.progress(title).get());
    return out.changed;
  });
  if (!before) return false;
  if (!out.ran) {
    c.dialogs.message(inversionRefusalMessage(out.refusal));
    return false;
  }
  return !out.stopped;
}

// After a fit that started at misfitBefore: the message of fit_verdict.h when
// the window's model is not to be trusted.
void reportFailedFit(CurveSession& c, double misfitBefore);

// The run button "...": shows "<-" unless the sounding came from the section,
// runs optimiseModel and widens the view so that the model fits.
void spustitClick(CurveSession& c);

}  // namespace orv
