// "Interpretuj celý profil ...": every point of a profile fitted in chainage
// order, each from its own model and from its left neighbour's fitted model,
// or from the automatic model; results written into the points as the curve
// window's write-back writes them.
#pragma once

#include <cmath>
#include <vector>

#include "core/curve/curve_window_state.h"
#include "core/interpretation/lateral_inversion.h"
#include "core/interpretation/work_progress.h"
#include "core/section/section_database.h"

namespace orv {

struct ProfileBatchSettings {
  // 0: each point from its own model (thorough fit); N (2..30): the automatic
  // N-layer model is a start of every point.
  int autoLayers = 0;
  bool accurateForward = false;
};

struct ProfileBatchRow {
  int point = 0;             // index in the profile
  double before = HUGE_VAL;  // misfit of the point's own model; HUGE_VAL: none
  double after = HUGE_VAL;   // misfit of the model written back; HUGE_VAL: not fitted
  int layers = 0;            // of the model written back
};

struct ProfileBatchOutcome {
  std::vector<ProfileBatchRow> rows;  // the points done, in chainage order
  int total = 0;                      // points of the profile
  bool cancelled = false;
};

// Point indices of a profile in increasing chainage (ties in index order).
std::vector<int> pointsInChainageOrder(const SectionProfile& profile);

// Copies point into the scratch window state as the section loads a point
// (model with fix flags, composite), with the other fix flags cleared.
void loadPointForFit(const SectionProfile& profile, const SectionPoint& point,
                     CurveWindowState& scratch);

// Fits every point of profile, scratch being a window state of the caller's
// used for the computations. A point whose fixed parameters pin its layering
// keeps that layering; no point ends worse than the model it had. Stopping
// through progress keeps the points done.
ProfileBatchOutcome interpretProfileCore(SectionProfile& profile, CurveWindowState& scratch,
                                         const ProfileBatchSettings& settings,
                                         const WorkProgress& progress = {});

struct ProfileLateralOutcome {
  bool ran = false;  // false: a point without a usable curve, or a model that cannot be fitted
  bool cancelled = false;             // nothing was written
  double jointMisfit = 0.0;           // sum of the points' SSQ after the joint fit
  double independentMisfit = 0.0;     // sum of the points' SSQ fitted one by one
  std::vector<ProfileBatchRow> rows;  // in chainage order
};

// The laterally constrained inversion of every point of profile with
// `layers` layers each: a point whose own model has that many layers starts
// from it (with its fixes), any other from the automatic model. Every point is
// first fitted alone; the joint fit starts from those fits and is written
// into the points. Stopping writes nothing.
ProfileLateralOutcome lateralInversionOfProfile(SectionProfile& profile, CurveWindowState& scratch,
                                                int layers, const LateralSettings& settings,
                                                const WorkProgress& progress = {});

}  // namespace orv
