#include "commands/section/profile_batch.h"

#include <algorithm>
#include <numeric>

#include "commands/section/section_operations.h"
#include "core/interpretation/auto_model.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"
#include "core/interpretation/thorough_fit.h"
#include "ui/progress.h"

namespace orv {

namespace {

// The layer count asked of the automatic model for a point without a model
// when no neighbour has one either.
constexpr int kDefaultLayers = AutoModelDefaultLayers;

struct Model {
  int n = -1;  // boundary count; -1: none
  float rho[MaxLayers] = {};
  float depth[MaxLayers] = {};
};

Model modelOf(const CurveWindowState& s) {
  Model m;
  m.n = s.modelBoundaryCount;
  for (int i = 0; i <= m.n; ++i) m.rho[i] = s.modelRho[i];
  for (int i = 0; i < m.n; ++i) m.depth[i] = s.modelDepth[i];
  return m;
}

void putModel(CurveWindowState& s, const Model& m) {
  s.modelBoundaryCount = m.n;
  for (int i = 0; i <= m.n; ++i) s.modelRho[i] = m.rho[i];
  for (int i = 0; i < m.n; ++i) s.modelDepth[i] = m.depth[i];
  if (m.n < MaxLayers) s.modelDepth[m.n] = 1e9f;
}

void clearFixes(CurveWindowState& s) {
  for (int i = 0; i < FlagSlots; ++i) s.rhoFixed[i] = s.thicknessFixed[i] = s.depthFixed[i] = 0;
}

bool hasFixes(const CurveWindowState& s) {
  for (int i = 0; i <= s.modelBoundaryCount; ++i)
    if (s.rhoFixed[i] == 1 || s.depthFixed[i] == 1) return true;
  return false;
}

// The misfit of the model in s, or HUGE_VAL when it cannot be inverted.
double misfitOfModel(CurveWindowState& s) {
  if (inversionRefusal(s) != InversionRefusal::None || !computeForwardValues(s, false))
    return HUGE_VAL;
  return misfitSSQ(s);
}

// One point's fit as steps of the batch's progress: each step of the fit is
// passed on as the batch's step unchanged, so that the dialog stays drawn and
// "Storno" is heard while a point of many layers is fitted.
class PointProgress : public ui::Progress {
 public:
  PointProgress(const WorkProgress& batch, int done, int total)
      : batch_(batch), done_(done), total_(total) {}
  bool step(int, int) override {
    stopped_ = stopped_ || (batch_ && !batch_(done_, total_));
    return !stopped_;
  }
  bool stopped() const { return stopped_; }

 private:
  const WorkProgress& batch_;
  int done_, total_;
  bool stopped_ = false;
};

// The inversion and the thorough fit from the model in s, under its fixes.
double fitInPlace(CurveWindowState& s, PointProgress& progress) {
  if (misfitOfModel(s) == HUGE_VAL) return HUGE_VAL;
  optimiseModelCore(s);
  const ThoroughOutcome t = thoroughFitCore(s, &progress);
  return t.ran && !t.stopped ? t.endMisfit : HUGE_VAL;
}

// start with the fixed values of the point (held in own) put in place.
Model withFixedValues(Model start, const Model& own, const CurveWindowState& s) {
  for (int i = 0; i <= start.n; ++i)
    if (s.rhoFixed[i] == 1) start.rho[i] = own.rho[i];
  for (int i = 0; i < start.n; ++i)
    if (s.depthFixed[i] == 1) start.depth[i] = own.depth[i];
  return start;
}

}  // namespace

std::vector<int> pointsInChainageOrder(const SectionProfile& profile) {
  const int count = std::clamp(profile.mxindex_bodu + 1, 0, MaxPointsPerProfile);
  std::vector<int> order(count);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return profile.points[a].profileChainage < profile.points[b].profileChainage;
  });
  return order;
}

void loadPointForFit(const SectionProfile& profile, const SectionPoint& point,
                     CurveWindowState& scratch) {
  clearFixes(scratch);
  copyPointToCurve(profile, point, scratch, false);
  // Cells the point does not cover keep nothing of the point before.
  for (int g = 0; g < GridCells; ++g)
    if (g < scratch.gridMinIndex || g > scratch.gridMaxIndex) scratch.mergedRho[g][0] = -999.0f;
}

ProfileBatchOutcome interpretProfileCore(SectionProfile& profile, CurveWindowState& scratch,
                                         const ProfileBatchSettings& settings,
                                         const WorkProgress& progress) {
  ProfileBatchOutcome out;
  const std::vector<int> order = pointsInChainageOrder(profile);
  out.total = static_cast<int>(order.size());
  scratch.accurateForward = settings.accurateForward;
  Model neighbour;  // the last fitted model, the next point's extra start
  for (int b : order) {
    if (progress && !progress(static_cast<int>(out.rows.size()), out.total)) {
      out.cancelled = true;
      return out;
    }
    SectionPoint& point = profile.points[b];
    ProfileBatchRow row;
    row.point = b;
    PointProgress pointProgress(progress, static_cast<int>(out.rows.size()), out.total);
    loadPointForFit(profile, point, scratch);
    const Model own = modelOf(scratch);
    const bool pinned = hasFixes(scratch);
    row.before = misfitOfModel(scratch);
    const bool ownUsable = row.before < HUGE_VAL;
    const int wanted = settings.autoLayers > 0 ? settings.autoLayers
                       : ownUsable             ? own.n + 1
                       : neighbour.n >= 0      ? neighbour.n + 1
                                               : kDefaultLayers;
    // A point whose fixes pin its layering keeps it, whatever was asked.
    const int layers = pinned && ownUsable ? own.n + 1 : wanted;

    Model best;
    double bestMisfit = HUGE_VAL;
    int bestRho[MaxLayers] = {}, bestDepth[MaxLayers] = {};
    auto consider = [&](double misfit) {
      if (!(misfit < bestMisfit)) return;
      bestMisfit = misfit;
      best = modelOf(scratch);
      for (int i = 0; i < MaxLayers; ++i) {
        bestRho[i] = scratch.rhoFixed[i];
        bestDepth[i] = scratch.depthFixed[i];
      }
    };
    if (ownUsable && own.n + 1 == layers) {
      consider(fitInPlace(scratch, pointProgress));
    } else {
      // The own model is not a start: it is compared only.
      row.before = HUGE_VAL;
    }
    if (neighbour.n + 1 == layers) {
      loadPointForFit(profile, point, scratch);
      if (!(pinned && ownUsable)) clearFixes(scratch);
      putModel(scratch, pinned && ownUsable ? withFixedValues(neighbour, own, scratch) : neighbour);
      consider(fitInPlace(scratch, pointProgress));
    }
    if (!(pinned && ownUsable) && (settings.autoLayers > 0 || !ownUsable)) {
      loadPointForFit(profile, point, scratch);
      clearFixes(scratch);
      if (!pointProgress.stopped() && autoModelCore(scratch, layers, &pointProgress).ran &&
          !pointProgress.stopped())
        consider(misfitOfModel(scratch));
    }
    if (pointProgress.stopped()) {
      // The point stays as it was; the points done before are kept.
      out.cancelled = true;
      return out;
    }
    if (bestMisfit < HUGE_VAL) {
      // The fitted model and its fixes are written as the window writes back.
      putModel(scratch, best);
      clearFixes(scratch);
      for (int i = 0; i < MaxLayers; ++i) {
        scratch.rhoFixed[i] = bestRho[i];
        scratch.depthFixed[i] = bestDepth[i];
      }
      scratch.modelFitError = misfitOfModel(scratch);
      copyModelToPoint(scratch, point);
      row.after = scratch.modelFitError;
      row.layers = best.n + 1;
      neighbour = best;
    }
    out.rows.push_back(row);
  }
  if (progress) progress(out.total, out.total);
  return out;
}

ProfileLateralOutcome lateralInversionOfProfile(SectionProfile& profile, CurveWindowState& scratch,
                                                int layers, const LateralSettings& settings,
                                                const WorkProgress& progress) {
  ProfileLateralOutcome out;
  if (layers < AutoModelMinLayers || layers > AutoModelMaxLayers) return out;
  const std::vector<int> order = pointsInChainageOrder(profile);
  const int count = static_cast<int>(order.size());
  // One bar over the three phases: starts, fits alone, joint iterations.
  const int total = 2 * count + settings.maxIterations;
  auto phase = [&](int offset) -> WorkProgress {
    if (!progress) return {};
    return [&progress, offset, total](int done, int) { return progress(offset + done, total); };
  };
  scratch.accurateForward = settings.accurateForward;
  std::vector<LateralSounding> start(count);
  for (int i = 0; i < count; ++i) {
    if (progress && !progress(i, total)) {
      out.cancelled = true;
      return out;
    }
    loadPointForFit(profile, profile.points[order[i]], scratch);
    LateralSounding& snd = start[i];
    if (!(misfitOfModel(scratch) < HUGE_VAL && scratch.modelBoundaryCount + 1 == layers)) {
      clearFixes(scratch);
      PointProgress pointProgress(progress, i, total);
      const AutoModelOutcome a = autoModelCore(scratch, layers, &pointProgress);
      if (a.stopped || pointProgress.stopped()) {
        out.cancelled = true;
        return out;
      }
      if (!a.ran) return out;
    }
    snd.chainage = profile.points[order[i]].profileChainage;
    snd.firstCell = scratch.gridMinIndex;
    snd.lastCell = scratch.gridMaxIndex;
    for (int g = snd.firstCell; g <= snd.lastCell; ++g) snd.composite[g] = scratch.mergedRho[g][0];
    snd.n = layers - 1;
    for (int k = 0; k < layers; ++k) {
      snd.rho[k] = scratch.modelRho[k];
      snd.rhoFixed[k] = scratch.rhoFixed[k] == 1;
    }
    for (int k = 0; k + 1 < layers; ++k) {
      snd.depth[k] = scratch.modelDepth[k];
      snd.depthFixed[k] = scratch.depthFixed[k] == 1;
    }
  }
  std::vector<LateralSounding> alone = start;
  const LateralOutcome independent = independentInversions(alone, scratch, settings, phase(count));
  if (independent.cancelled) {
    out.cancelled = true;
    return out;
  }
  if (!independent.ran) return out;
  std::vector<LateralSounding> joint = alone;
  const LateralOutcome r = lateralInversion(joint, scratch, settings, phase(2 * count));
  if (r.cancelled) {
    out.cancelled = true;
    return out;
  }
  if (!r.ran) return out;
  out.ran = true;
  out.independentMisfit = independent.dataMisfit;
  out.jointMisfit = r.dataMisfit;
  for (int i = 0; i < count; ++i) {
    SectionPoint& point = profile.points[order[i]];
    ProfileBatchRow row;
    row.point = order[i];
    loadPointForFit(profile, point, scratch);
    row.before = misfitOfModel(scratch);
    const LateralSounding& snd = joint[i];
    clearFixes(scratch);
    Model m;
    m.n = snd.n;
    for (int k = 0; k <= m.n; ++k) {
      m.rho[k] = static_cast<float>(snd.rho[k]);
      scratch.rhoFixed[k] = snd.rhoFixed[k] ? 1 : 0;
    }
    for (int k = 0; k < m.n; ++k) {
      m.depth[k] = static_cast<float>(snd.depth[k]);
      scratch.depthFixed[k] = snd.depthFixed[k] ? 1 : 0;
    }
    putModel(scratch, m);
    scratch.modelFitError = misfitOfModel(scratch);
    copyModelToPoint(scratch, point);
    row.after = scratch.modelFitError;
    row.layers = layers;
    out.rows.push_back(row);
  }
  if (progress) progress(total, total);
  return out;
}

}  // namespace orv
