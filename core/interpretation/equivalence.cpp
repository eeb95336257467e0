#include "core/interpretation/equivalence.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "base/c_format.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/layer_fit.h"
#include "core/interpretation/model_backup.h"
#include "core/interpretation/thorough_fit.h"

namespace orv {

namespace {

// An end is taken where the re-fitted misfit is within this share of the
// limit (half the per cent asked for: the re-fit itself is not exact).
constexpr double kEndTolerance = 0.005;
constexpr int kMaxTrials = 12;
// The re-fit at each trial value starts on the walk's path beyond its last
// point inside the limit; a Jacobian serves while the parameters stay this
// close (in ln) to where it was computed. A re-fit is over when a step gains
// less than kRefitTolerance of the misfit, or after kRefitIterations.
constexpr double kJacobianReach = 0.15;
constexpr int kRefitIterations = 40;
constexpr double kRefitTolerance = 1e-4;
// A trial that lands on the limit is fitted on this far before it ends the walk.
constexpr int kPolishIterations = 100;
constexpr double kPolishTolerance = 1e-9;
constexpr double kPolishDampingFloor = 1e-10;
// The re-fits start well damped, and every column keeps a damping of this
// share of the largest curvature: a parameter the curve hardly sees is not
// flung to the edge of its box by an exact but tiny derivative.
constexpr double kFirstDamping = 1e-2;
constexpr double kDampingFloor = 1e-4;
// The first trial offset (ln) is the linearised estimate of the end, kept
// within these bounds; later ones extrapolate by at most kMaxGrowth.
constexpr double kFirstOffsetMin = 0.02;
constexpr double kFirstOffsetMax = 1.0;
// ... unless the estimate is beyond this many times the factor 10^4 (ln).
constexpr double kUnseen = 10.0;
constexpr double kMinGrowth = 1.1;
constexpr double kMaxGrowth = 4.0;
// Nor further than this (ln) beyond the last inside trial: the re-fit starts
// from there, and from too far away it may settle in another valley.
constexpr double kMaxJump = 3.0;
// The start of a trial is extrapolated along the path by at most this many
// times the last step.
constexpr double kMaxExtrapolation = 2.0;
// A bracket this narrow (ln) ends the search at its inner end.
constexpr double kNarrowest = 0.002;
// A walk still inside the limit within this factor (ln) of 10^4 and beyond
// it only at 10^4 itself is unbounded: what stops it there is the box of
// the re-fitted parameters, whose compensating one (h for rho in h*rho) meets
// its own edge at the same time, not the data.
constexpr double kCapMargin = 0.223;  // ln 1.25
// Trials a walk may add to kMaxTrials for re-fitting a doubtful end beyond
// the limit from the model next to it.
constexpr int kRecheckTrials = 4;
// Trials beyond this many times the limit only halve the bracket.
constexpr double kGuidingRise = 2.0;

constexpr LayerQuantity kQuantities[] = {LayerQuantity::Rho, LayerQuantity::Thickness,
                                         LayerQuantity::Conductance, LayerQuantity::Resistance};

// What every walk shares: the fit, the minimum, its misfit and the limit.
struct Walks {
  LayerFit& fit;
  std::vector<double> minimum;
  double minimumMisfit;  // the least misfit seen, for the interpolation
  double limit;
  std::vector<double> inverseNormal;  // (J^T J)^-1 at the minimum
  LayerFit::Control control;
  int evaluations = 0;
};

struct Trial {
  double offset;  // |ln q - ln q at the minimum| reached
  double misfit;
};

// The distance from the limit in the square root of the misfit's rise: a
// quadratic profile makes it linear in the offset.
double rise(const Walks& w, double misfit) {
  return std::sqrt(std::max(misfit - w.minimumMisfit, 0.0));
}

// The next offset to try between a point inside the limit and one beyond.
double between(const Walks& w, const Trial& in, const Trial& out, bool bisect) {
  const double width = out.offset - in.offset;
  // Far beyond the limit the rise is no guide to where it was crossed.
  if (bisect || !(out.misfit < kGuidingRise * w.limit)) return in.offset + 0.5 * width;
  const double a = rise(w, in.misfit), b = rise(w, out.misfit), target = rise(w, w.limit);
  double t = b > a ? (target - a) / (b - a) : 0.5;
  t = std::clamp(t, 0.05, 0.95);
  return in.offset + t * width;
}

// Walks quantity q of `layer` from the minimum in `direction` (+1, -1); the
// offset (ln) of the end, +infinity when unbounded.
double walk(Walks& w, LayerQuantity q, int layer, double direction, double start,
            double firstOffset) {
  const double cap = std::log(EquivalenceMaxFactor);
  const int n = w.fit.columns();
  // The last two inside points: the next trial starts on the line through
  // them, where the path of the re-fitted models is heading.
  std::vector<double> inside = w.minimum, previous = w.minimum, x(n);
  Trial in{0.0, w.minimumMisfit};
  Trial before{0.0, w.minimumMisfit};  // the inside trial before `in`
  Trial out{0.0, 0.0};
  bool bracketed = false;
  int sameSide = 0;  // trials in a row that moved the same end of the bracket
  // A quantity the curve hardly sees is tried at the factor 10^4 at once: if
  // the misfit stays inside there, the walk is over.
  double offset =
      firstOffset > kUnseen * cap ? cap : std::clamp(firstOffset, kFirstOffsetMin, kFirstOffsetMax);
  LayerFit::Control control = w.control;
  control.limits.heldLayer = layer;
  control.limits.quantity = q;
  // Well inside the limit, or far beyond it, a trial need not be fitted to
  // the end: the walk goes on beyond it, or back, anyway.
  control.goodEnough = w.limit * (1.0 - 4.0 * kEndTolerance);
  control.hopeless = w.limit * (1.0 + 4.0 * kEndTolerance);
  // The whole fit a candidate end gets before it is believed: fresh
  // derivatives and a light damping, no early stop.
  LayerFit::Control polish = control;
  polish.goodEnough = 0.0;
  polish.hopeless = HUGE_VAL;
  polish.relativeTolerance = kPolishTolerance;
  polish.maxIterations = kPolishIterations;
  polish.jacobianReach = 0.0;
  polish.dampingFloor = kPolishDampingFloor;
  // A trial beyond the limit that was reached from afar, or cut short as
  // hopeless, may have lost its way: when two trials in a row come nearer to
  // it with their misfit still well inside the limit, it is fitted again from
  // the model inside next to it, not cut short, before the walk believes it.
  LayerFit::Control recheckControl = control;
  recheckControl.hopeless = HUGE_VAL;
  bool outChecked = false;
  bool recheck = false;
  int trials = kMaxTrials;
  for (int trial = 0; trial < trials; ++trial) {
    const bool careful = recheck;
    recheck = false;
    if (careful) {
      x = inside;
    } else {
      const double along =
          in.offset > before.offset ? (offset - in.offset) / (in.offset - before.offset) : 0.0;
      for (int c = 0; c < n; ++c) {
        x[c] =
            std::clamp(inside[c] + std::min(along, kMaxExtrapolation) * (inside[c] - previous[c]),
                       w.minimum[c] - cap, w.minimum[c] + cap);
      }
    }
    control.limits.heldValue = recheckControl.limits.heldValue = polish.limits.heldValue =
        start + direction * offset;
    LayerFit::Result r = w.fit.minimise(x.data(), careful ? recheckControl : control);
    w.evaluations += r.evaluations;
    if (std::fabs(r.misfit / w.limit - 1.0) <= kEndTolerance) {
      const LayerFit::Result p = w.fit.minimise(x.data(), polish);
      w.evaluations += p.evaluations;
      r.misfit = p.misfit;
    }
    LayerModel m;
    double reached = offset;
    if (std::isfinite(r.misfit) && w.fit.model(x.data(), m))
      reached = std::fabs(LayerFit::logQuantity(m, q, layer) - start);
    const Trial t{reached, r.misfit};
    if (t.misfit <= w.limit) {
      w.minimumMisfit = std::min(w.minimumMisfit, t.misfit);
      if (t.misfit >= w.limit * (1.0 - kEndTolerance)) return t.offset;
      if (t.offset >= cap * (1.0 - 1e-9)) return HUGE_VAL;
      sameSide = bracketed && in.offset > 0.0 ? sameSide + 1 : 0;
      before = in;
      in = t;
      previous.swap(inside);
      inside = x;
      if (bracketed && in.offset >= out.offset) bracketed = false;  // the end beyond was wrong
      const bool flat = in.misfit < w.limit * (1.0 - 2.0 * kEndTolerance);
      if (bracketed && !outChecked && flat && sameSide >= 2 &&
          trials < kMaxTrials + kRecheckTrials) {
        recheck = true;
        ++trials;
        offset = out.offset;
      } else if (bracketed) {
        offset = between(w, in, out, sameSide >= 2);
      } else {
        // Along the line through the last two inside trials (rise against
        // offset) to the limit; a profile that flattens out is left fast.
        const double a = rise(w, before.misfit), b = rise(w, in.misfit);
        double next = in.offset * kMaxGrowth;
        if (b > a && in.offset > before.offset)
          next = in.offset + (rise(w, w.limit) - b) * (in.offset - before.offset) / (b - a) * 1.05;
        offset = std::min({cap, in.offset + kMaxJump,
                           std::clamp(next, in.offset * kMinGrowth, in.offset * kMaxGrowth)});
      }
    } else {
      if (t.misfit <= w.limit * (1.0 + kEndTolerance)) return t.offset;
      if (t.offset >= cap * (1.0 - 1e-9) && in.offset >= cap - kCapMargin) return HUGE_VAL;
      sameSide = bracketed ? (sameSide < 0 ? sameSide - 1 : -1) : 0;
      out = Trial{std::max(std::min(t.offset, offset), in.offset), t.misfit};
      outChecked = careful;
      bracketed = true;
      offset = between(w, in, out, sameSide <= -2);
    }
    if (bracketed && out.offset - in.offset < kNarrowest) {
      // The misfit cannot leap from well inside the limit to beyond it.
      if (!outChecked && in.misfit < w.limit * (1.0 - 2.0 * kEndTolerance) &&
          trials < kMaxTrials + kRecheckTrials) {
        recheck = true;
        ++trials;
        offset = out.offset;
        continue;
      }
      break;
    }
  }
  return in.offset;  // the last trial inside the limit
}

std::string number(double v) {
  return cformat("%.3g", v);
}

std::string span(const ValueRange& r) {
  return (r.min > 0.0 ? number(r.min) : std::string("neomezeno")) + " – " +
         (std::isfinite(r.max) ? number(r.max) : std::string("neomezeno"));
}

}  // namespace

EquivalenceOutcome equivalenceRangesCore(CurveWindowState& s, double q, ui::Progress* progress) {
  EquivalenceOutcome e;
  e.refusal = inversionRefusal(s);
  if (e.refusal != InversionRefusal::None) return e;
  if (!computeForwardValues(s, false)) {
    e.refusal = InversionRefusal::ForwardFailed;
    return e;
  }
  if (!(q > 0.0)) q = 0.0;
  const ModelBackup before(s);
  const ThoroughOutcome minimum = fitToMinimumCore(s, progress);
  if (!minimum.ran) {
    e.refusal = minimum.refusal;
    return e;
  }
  e.ran = true;
  e.changed = minimum.improved;
  if (minimum.stopped) {
    e.stopped = true;
    return e;
  }
  e.bestMisfit = s.modelFitError;
  e.limit = (1.0 + q) * e.bestMisfit;

  const LayerModel shown = windowModel(s);
  LayerFit fit(s, shown);
  Walks w{fit, std::vector<double>(fit.columns()), e.bestMisfit, e.limit, {}, {}, 0};
  fit.start(w.minimum.data());
  w.control.maxIterations = kRefitIterations;
  w.control.relativeTolerance = kRefitTolerance;
  w.control.differences = false;
  w.control.firstDamping = kFirstDamping;
  w.control.dampingFloor = kDampingFloor;
  w.control.jacobianReach = kJacobianReach;
  w.control.limits.centre = w.minimum.data();
  w.control.limits.halfWidth = std::log(EquivalenceMaxFactor);
  const bool walkable = e.limit > e.bestMisfit &&
                        fit.inverseNormalMatrix(w.minimum.data(), w.inverseNormal, e.evaluations);

  e.layers = shown.n + 1;
  const int n = fit.columns();
  std::vector<double> g(n);
  // Which ends are walked, for the progress: two for every quantity that a
  // free parameter moves.
  int total = 0;
  for (int i = 0; i <= shown.n; ++i) {
    for (LayerQuantity quantity : kQuantities) {
      if (i == shown.n && quantity != LayerQuantity::Rho) break;
      fit.logQuantityGradient(shown, quantity, i, g.data());
      if (walkable && std::any_of(g.begin(), g.end(), [](double v) { return v != 0.0; }))
        total += 2;
    }
  }
  int done = 0;
  for (int i = 0; i <= shown.n && !e.stopped; ++i) {
    LayerRanges& ranges = e.layer[i];
    ranges.h = ranges.s = ranges.t = {HUGE_VAL, HUGE_VAL};
    for (LayerQuantity quantity : kQuantities) {
      if (i == shown.n && quantity != LayerQuantity::Rho) break;
      ValueRange& r = quantity == LayerQuantity::Rho           ? ranges.rho
                      : quantity == LayerQuantity::Thickness   ? ranges.h
                      : quantity == LayerQuantity::Conductance ? ranges.s
                                                               : ranges.t;
      const double start = LayerFit::logQuantity(shown, quantity, i);
      const double value = quantity == LayerQuantity::Rho           ? shown.rho[i]
                           : quantity == LayerQuantity::Thickness   ? shown.h[i]
                           : quantity == LayerQuantity::Conductance ? shown.h[i] / shown.rho[i]
                                                                    : shown.h[i] * shown.rho[i];
      r = {value, value};
      fit.logQuantityGradient(shown, quantity, i, g.data());
      if (!walkable || std::all_of(g.begin(), g.end(), [](double v) { return v == 0.0; })) continue;
      // The linearised end: the misfit rises by (offset)^2 / (g C g).
      double gcg = 0.0;
      for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) gcg += g[a] * w.inverseNormal[a * n + b] * g[b];
      const double estimate = std::sqrt(std::max(gcg, 0.0) * (e.limit - e.bestMisfit));
      for (double direction : {-1.0, 1.0}) {
        const double end = walk(w, quantity, i, direction, start, estimate);
        double& value = direction < 0.0 ? r.min : r.max;
        if (std::isfinite(end)) {
          value = std::exp(start + direction * end);
        } else {
          value = direction < 0.0 ? 0.0 : HUGE_VAL;
        }
        if (progress && !progress->step(++done, total)) {
          e.stopped = true;
          break;
        }
      }
      if (e.stopped) break;
    }
  }
  e.evaluations += w.evaluations;
  if (e.stopped) {
    before.restore(s);
    e.changed = false;
    return e;
  }
  // The walks have left their trials in the computed curve.
  computeForwardValues(s, false);
  s.modelFitError = e.bestMisfit;
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
