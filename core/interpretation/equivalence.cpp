#include "core/interpretation/equivalence.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/c_format.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/layer_fit.h"

namespace orv {

namespace {

// First trial step in the logarithm of the held parameter; the steps double
// until the misfit leaves the limit, then the crossing is halved this often.
constexpr double kFirstStep = 0.1;
constexpr int kBisections = 6;
// The re-fit of the other parameters at each trial value starts from the
// previous one inside the limit, so a few iterations settle it.
constexpr int kRefitIterations = 15;
constexpr double kRefitTolerance = 1e-4;

void widen(ValueRange& r, double v) {
  r.min = std::min(r.min, v);
  r.max = std::max(r.max, v);
}

void include(EquivalenceOutcome& e, const LayerModel& m) {
  for (int i = 0; i <= m.n; ++i) {
    LayerRanges& l = e.layer[i];
    widen(l.rho, m.rho[i]);
    if (i == m.n) break;
    widen(l.h, m.h[i]);
    widen(l.s, m.h[i] / m.rho[i]);
    widen(l.t, m.h[i] * m.rho[i]);
  }
}

void startAt(EquivalenceOutcome& e, const LayerModel& m) {
  for (int i = 0; i <= m.n; ++i) {
    LayerRanges& l = e.layer[i];
    l.rho = {m.rho[i], m.rho[i]};
    if (i == m.n) {
      l.h = l.s = l.t = {HUGE_VAL, HUGE_VAL};
      break;
    }
    l.h = {m.h[i], m.h[i]};
    l.s = {m.h[i] / m.rho[i], m.h[i] / m.rho[i]};
    l.t = {m.h[i] * m.rho[i], m.h[i] * m.rho[i]};
  }
}

// Misfit with column c held at x0[c] + offset and the rest re-fitted from
// `from`; the re-fitted point goes to `to`.
double heldMisfit(LayerFit& fit, const double* from, double* to, int c, double value, int columns,
                  int& evaluations) {
  for (int k = 0; k < columns; ++k) to[k] = from[k];
  to[c] = value;
  const LayerFit::Result r = fit.minimise(to, kRefitIterations, kRefitTolerance, c);
  evaluations += r.evaluations;
  return r.misfit;
}

// Walks column c in one direction from the best point x0 and widens the
// ranges by every model within the limit.
void followColumn(LayerFit& fit, EquivalenceOutcome& e, const double* x0, int c, double direction) {
  const int n = fit.columns();
  double inside[LayerFit::MaxColumns];
  double trial[LayerFit::MaxColumns];
  for (int k = 0; k < n; ++k) inside[k] = x0[k];
  const double cap = std::log(EquivalenceMaxFactor);
  double in = 0.0;
  double out = -1.0;
  LayerModel m;
  for (double step = kFirstStep; in < cap; step *= 2.0) {
    const double offset = std::min(step, cap);
    const double s =
        heldMisfit(fit, inside, trial, c, x0[c] + direction * offset, n, e.evaluations);
    if (!(s <= e.limit) || !fit.model(trial, m)) {
      out = offset;
      break;
    }
    include(e, m);
    for (int k = 0; k < n; ++k) inside[k] = trial[k];
    in = offset;
  }
  if (out < 0.0) return;  // not bounded within the cap
  for (int b = 0; b < kBisections; ++b) {
    const double middle = 0.5 * (in + out);
    const double s =
        heldMisfit(fit, inside, trial, c, x0[c] + direction * middle, n, e.evaluations);
    if (s <= e.limit && fit.model(trial, m)) {
      include(e, m);
      for (int k = 0; k < n; ++k) inside[k] = trial[k];
      in = middle;
    } else {
      out = middle;
    }
  }
}

std::string number(double v) {
  return cformat("%.3g", v);
}

std::string span(const ValueRange& r) {
  return number(r.min) + " – " + number(r.max);
}

}  // namespace

EquivalenceOutcome equivalenceRangesCore(CurveWindowState& s, double q) {
  EquivalenceOutcome e;
  e.refusal = inversionRefusal(s);
  if (e.refusal != InversionRefusal::None) return e;
  if (!computeForwardValues(s, false)) {
    e.refusal = InversionRefusal::ForwardFailed;
    return e;
  }
  if (!(q > 0.0)) q = 0.0;
  e.ran = true;
  LayerFit fit(s, windowModel(s));
  double best[LayerFit::MaxColumns];
  fit.start(best);
  const double startMisfit = fit.misfitOf(best);
  LayerFit::Result r = fit.minimise(best, 100, 1e-6);
  e.evaluations = r.evaluations + 1;
  e.bestMisfit = std::min(r.misfit, startMisfit);
  e.limit = (1.0 + q) * e.bestMisfit;
  LayerModel m;
  fit.model(best, m);
  e.layers = m.n + 1;
  startAt(e, m);
  for (int c = 0; c < fit.columns(); ++c) {
    followColumn(fit, e, best, c, -1.0);
    followColumn(fit, e, best, c, +1.0);
  }
  computeForwardValues(s, false);
  return e;
}

RangeRows equivalenceRows(const EquivalenceOutcome& e, int layer) {
  RangeRows rows;
  if (layer < 0 || layer >= e.layers) return rows;
  const LayerRanges& l = e.layer[layer];
  rows.first = "ρ " + span(l.rho);
  if (layer == e.layers - 1) return rows;
  rows.first += "  h " + span(l.h);
  rows.second = "h/ρ " + span(l.s) + "  h·ρ " + span(l.t);
  return rows;
}

}  // namespace orv
