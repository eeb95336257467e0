#include "core/interpretation/equivalence.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "base/c_format.h"
#include "base/zeroed_block.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/layer_fit.h"
#include "core/interpretation/model_backup.h"
#include "core/interpretation/parallel_tasks.h"
#include "core/interpretation/thorough_fit.h"

namespace orv {

namespace {

// An end is taken where the re-fitted misfit is within this share of the
// limit (half the per cent asked for: the re-fit itself is not exact).
constexpr double kEndTolerance = 0.005;
constexpr int kMaxTrials = 16;
// The re-fit at each trial value starts from the walk's last point inside the
// limit; a Jacobian serves while the parameters stay this close (in ln) to
// where it was computed. A re-fit is over when a step gains less than
// kRefitTolerance of the misfit, or after kRefitIterations. Each trial is
// fitted until it is either inside the limit or done: one cut short beyond
// the limit would put the end too near.
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
// A bracket this narrow (ln) ends the search at its inner end.
constexpr double kNarrowest = 0.002;
// A walk still inside the limit within this factor (ln) of 10^4 and beyond
// it only in that last stretch is unbounded: what stops it there is the box of
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

// What every walk shares, read only: the minimum, its misfit, the limit and
// how the trials are fitted. Each walk depends on nothing else, so the walks
// can run on several threads and give the same ends in any order.
struct Walks {
  std::vector<double> minimum;
  double minimumMisfit;
  double limit;
  LayerFit::Control control;
};

// One end to find: `quantity` of `layer` walked from its value at the
// minimum (start, ln) in `direction` (+1, -1); estimate: the linearised
// offset of the end.
struct WalkTask {
  int layer;
  LayerQuantity quantity;
  double direction;
  double start;
  double estimate;
};

// The offset (ln) of an end, +infinity when unbounded; onLimit false when
// the walk ran out of trials and the end is its last trial inside the limit.
struct WalkEnd {
  double offset = 0.0;
  bool onLimit = true;
};

struct Trial {
  double offset;  // |ln q - ln q at the minimum| reached
  double misfit;
};

// The distance from the limit in the square root of the misfit's rise above
// the lowest misfit the walk has seen: a quadratic profile makes it linear
// in the offset.
double rise(double lowest, double misfit) {
  return std::sqrt(std::max(misfit - lowest, 0.0));
}

// The next offset to try between a point inside the limit and one beyond.
double between(double lowest, double limit, const Trial& in, const Trial& out, bool bisect) {
  const double width = out.offset - in.offset;
  // Far beyond the limit the rise is no guide to where it was crossed.
  if (bisect || !(out.misfit < kGuidingRise * limit)) return in.offset + 0.5 * width;
  const double a = rise(lowest, in.misfit), b = rise(lowest, out.misfit);
  const double target = rise(lowest, limit);
  double t = b > a ? (target - a) / (b - a) : 0.5;
  t = std::clamp(t, 0.05, 0.95);
  return in.offset + t * width;
}

WalkEnd walk(const Walks& w, LayerFit& fit, const WalkTask& task, int& evaluations) {
  const double cap = std::log(EquivalenceMaxFactor);
  const int n = fit.columns();
  // A Jacobian kept from another walk would make this one depend on the
  // order of the walks.
  fit.forgetJacobian();
  double lowest = w.minimumMisfit;
  // The last inside point: the next trial's re-fit starts from its model.
  std::vector<double> inside = w.minimum, x(n);
  Trial in{0.0, w.minimumMisfit};
  Trial before{0.0, w.minimumMisfit};  // the inside trial before `in`
  Trial out{0.0, 0.0};
  bool bracketed = false;
  int sameSide = 0;  // trials in a row that moved the same end of the bracket
  // A quantity the curve hardly sees is tried at the factor 10^4 at once: if
  // the misfit stays inside there, the walk is over.
  double offset = task.estimate > kUnseen * cap
                      ? cap
                      : std::clamp(task.estimate, kFirstOffsetMin, kFirstOffsetMax);
  LayerFit::Control control = w.control;
  control.limits.heldLayer = task.layer;
  control.limits.quantity = task.quantity;
  // Well inside the limit a trial need not be fitted to the end: the walk
  // goes on beyond it anyway.
  control.goodEnough = w.limit * (1.0 - 4.0 * kEndTolerance);
  // The whole fit a candidate end gets before it is believed: fresh
  // derivatives and a light damping, no early stop.
  LayerFit::Control polish = control;
  polish.goodEnough = 0.0;
  polish.relativeTolerance = kPolishTolerance;
  polish.maxIterations = kPolishIterations;
  polish.jacobianReach = 0.0;
  polish.dampingFloor = kPolishDampingFloor;
  // A trial beyond the limit may have lost its way in another valley: when
  // two trials in a row come nearer to it with their misfit still well
  // inside the limit, it is fitted again from the model inside next to it
  // before the walk believes it.
  bool outChecked = false;
  bool recheck = false;
  int trials = kMaxTrials;
  for (int trial = 0; trial < trials; ++trial) {
    const bool careful = recheck;
    recheck = false;
    x = inside;
    control.limits.heldValue = polish.limits.heldValue = task.start + task.direction * offset;
    LayerFit::Result r = fit.minimise(x.data(), control);
    evaluations += r.evaluations;
    if (std::fabs(r.misfit / w.limit - 1.0) <= kEndTolerance) {
      const LayerFit::Result p = fit.minimise(x.data(), polish);
      evaluations += p.evaluations;
      r.misfit = p.misfit;
    }
    LayerModel m;
    double reached = offset;
    if (std::isfinite(r.misfit) && fit.model(x.data(), m))
      reached = std::fabs(LayerFit::logQuantity(m, task.quantity, task.layer) - task.start);
    const Trial t{reached, r.misfit};
    if (t.misfit <= w.limit) {
      lowest = std::min(lowest, t.misfit);
      if (t.misfit >= w.limit * (1.0 - kEndTolerance)) return {t.offset, true};
      if (t.offset >= cap * (1.0 - 1e-9)) return {HUGE_VAL, true};
      sameSide = bracketed && in.offset > 0.0 ? std::max(sameSide, 0) + 1 : 0;
      before = in;
      in = t;
      inside = x;
      if (bracketed && in.offset >= out.offset) bracketed = false;  // the end beyond was wrong
      const bool flat = in.misfit < w.limit * (1.0 - 2.0 * kEndTolerance);
      if (bracketed && !outChecked && flat && sameSide >= 2 &&
          trials < kMaxTrials + kRecheckTrials) {
        recheck = true;
        ++trials;
        offset = out.offset;
      } else if (bracketed) {
        offset = between(lowest, w.limit, in, out, sameSide >= 2);
      } else {
        // Along the line through the last two inside trials (rise against
        // offset) to the limit; a profile that flattens out is left fast.
        const double a = rise(lowest, before.misfit), b = rise(lowest, in.misfit);
        double next = in.offset * kMaxGrowth;
        if (b > a && in.offset > before.offset)
          next = in.offset +
                 (rise(lowest, w.limit) - b) * (in.offset - before.offset) / (b - a) * 1.05;
        offset = std::min({cap, in.offset + kMaxJump,
                           std::clamp(next, in.offset * kMinGrowth, in.offset * kMaxGrowth)});
      }
    } else {
      if (t.misfit <= w.limit * (1.0 + kEndTolerance)) return {t.offset, true};
      if (t.offset >= cap * (1.0 - 1e-9) && in.offset >= cap - kCapMargin) return {HUGE_VAL, true};
      sameSide = bracketed ? std::min(sameSide, 0) - 1 : 0;
      out = Trial{std::max(std::min(t.offset, offset), in.offset), t.misfit};
      outChecked = careful;
      bracketed = true;
      offset = between(lowest, w.limit, in, out, sameSide <= -2);
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
  // Inside all the way to the last stretch before the factor 10^4: the rise
  // there comes from the box of the re-fitted parameters (see kCapMargin).
  if (in.offset >= cap - kCapMargin) return {HUGE_VAL, true};
  return {in.offset, false};  // the last trial inside the limit
}

// A thread's own walker: the window's thread walks on the window's state,
// every other one on a copy, whose curve the forward overwrites.
struct Walker {
  ZeroedBlock<CurveWindowState> state;
  std::unique_ptr<LayerFit> fit;
  int evaluations = 0;
};

ValueRange& rangeOf(LayerRanges& ranges, LayerQuantity quantity) {
  return quantity == LayerQuantity::Rho           ? ranges.rho
         : quantity == LayerQuantity::Thickness   ? ranges.h
         : quantity == LayerQuantity::Conductance ? ranges.s
                                                  : ranges.t;
}

std::string number(double v) {
  return cformat("%.3g", v);
}

std::string span(const ValueRange& r) {
  return (r.min > 0.0 ? number(r.min) : std::string("neomezeno")) + " – " +
         (std::isfinite(r.max) ? number(r.max) : std::string("neomezeno"));
}

}  // namespace

EquivalenceOutcome equivalenceRangesCore(CurveWindowState& s, double q, ui::Progress* progress,
                                         int threads) {
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
  Walks w{std::vector<double>(fit.columns()), e.bestMisfit, e.limit, {}};
  fit.start(w.minimum.data());
  w.control.maxIterations = kRefitIterations;
  w.control.relativeTolerance = kRefitTolerance;
  w.control.differences = false;
  w.control.firstDamping = kFirstDamping;
  w.control.dampingFloor = kDampingFloor;
  w.control.jacobianReach = kJacobianReach;
  w.control.limits.centre = w.minimum.data();
  w.control.limits.halfWidth = std::log(EquivalenceMaxFactor);
  std::vector<double> inverseNormal;  // (J^T J)^-1 at the minimum
  const bool walkable = e.limit > e.bestMisfit &&
                        fit.inverseNormalMatrix(w.minimum.data(), inverseNormal, e.evaluations);

  e.layers = shown.n + 1;
  const int n = fit.columns();
  std::vector<double> g(n);
  // Two ends for every quantity that a free parameter moves.
  std::vector<WalkTask> tasks;
  for (int i = 0; i <= shown.n; ++i) {
    LayerRanges& ranges = e.layer[i];
    ranges.h = ranges.s = ranges.t = {HUGE_VAL, HUGE_VAL};
    for (LayerQuantity quantity : kQuantities) {
      if (i == shown.n && quantity != LayerQuantity::Rho) break;
      const double start = LayerFit::logQuantity(shown, quantity, i);
      const double value = quantity == LayerQuantity::Rho           ? shown.rho[i]
                           : quantity == LayerQuantity::Thickness   ? shown.h[i]
                           : quantity == LayerQuantity::Conductance ? shown.h[i] / shown.rho[i]
                                                                    : shown.h[i] * shown.rho[i];
      rangeOf(ranges, quantity) = {value, value};
      fit.logQuantityGradient(shown, quantity, i, g.data());
      if (!walkable || std::all_of(g.begin(), g.end(), [](double v) { return v == 0.0; })) continue;
      // The linearised end: the misfit rises by (offset)^2 / (g C g).
      double gcg = 0.0;
      for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) gcg += g[a] * inverseNormal[a * n + b] * g[b];
      const double estimate = std::sqrt(std::max(gcg, 0.0) * (e.limit - e.bestMisfit));
      for (double direction : {-1.0, 1.0})
        tasks.push_back({i, quantity, direction, start, estimate});
    }
  }
  const int total = static_cast<int>(tasks.size());
  std::vector<Walker> others(parallelThreads(threads, total) - 1);
  for (Walker& other : others) {
    *other.state = s;
    other.fit = std::make_unique<LayerFit>(*other.state, shown);
  }
  std::vector<WalkEnd> ends(tasks.size());
  e.stopped = !runParallelTasks(
      total, static_cast<int>(others.size()) + 1,
      [&](int k, int thread) {
        ends[k] = thread == 0
                      ? walk(w, fit, tasks[k], e.evaluations)
                      : walk(w, *others[thread - 1].fit, tasks[k], others[thread - 1].evaluations);
      },
      progress);
  for (const Walker& other : others) e.evaluations += other.evaluations;
  if (e.stopped) {
    before.restore(s);
    e.changed = false;
    return e;
  }
  for (size_t k = 0; k < tasks.size(); ++k) {
    const WalkTask& t = tasks[k];
    ValueRange& r = rangeOf(e.layer[t.layer], t.quantity);
    double& value = t.direction < 0.0 ? r.min : r.max;
    if (std::isfinite(ends[k].offset)) {
      value = std::exp(t.start + t.direction * ends[k].offset);
    } else {
      value = t.direction < 0.0 ? 0.0 : HUGE_VAL;
    }
    if (!ends[k].onLimit) ++e.endsOffLimit;
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
