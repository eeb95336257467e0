// A Levenberg-Marquardt least-squares fit of the layered model against the
// composite curve, in the logarithms of the free resistivities and
// thicknesses under the model's fix flags, with the Jacobian by finite
// differences of whichever forward computation is switched on. Shared by the
// thorough fit, the equivalence ranges and the automatic start model.
#pragma once

#include "core/curve/curve_window_state.h"

namespace orv {

// A model in double precision: resistivities rho[0..n] (ohm.m) and
// thicknesses h[0..n-1] (m), n the boundary count.
struct LayerModel {
  int n = 0;
  double rho[MaxLayers] = {};
  double h[MaxLayers] = {};
};

// The model of the window (modelRho, modelDepth differences) as a LayerModel.
LayerModel windowModel(const CurveWindowState& s);

// The free parameters of a model and the map from their logarithms to the
// model. A thickness above a fixed interface follows the free thicknesses of
// its group so that the interface stays where it is; fixed values are kept
// exactly as given.
class LayerFit {
 public:
  static constexpr int MaxColumns = 2 * MaxLayers - 1;

  // The columns of `base` under the fix flags of s (rhoFixed, thicknessFixed,
  // depthFixed); the depths of fixed interfaces are taken from base.
  LayerFit(CurveWindowState& s, const LayerModel& base);

  int columns() const { return columns_; }
  // Which layer column c changes, and whether it is its resistivity.
  int columnLayer(int c) const { return layer_[c]; }
  bool columnIsRho(int c) const { return isRho_[c]; }
  const LayerModel& base() const { return base_; }

  // Logarithms of the free parameters of the base model.
  void start(double* x) const;
  // The model of x; false when a dependent thickness is not positive or a
  // value is not a positive finite number.
  bool model(const double* x, LayerModel& out) const;

  // Sum of squared log ratios composite / computed over the cells that have
  // a composite value (as misfitSSQ); +infinity when the model cannot be
  // computed. Leaves the model's curve in computedRho (trial mode).
  double misfit(const LayerModel& m);
  double misfitOf(const double* x);

  // Optional extra rows sqrt(weight) x (x[c+1] - x[c]) for consecutive
  // resistivity columns: a smoothness penalty for many-layer fits.
  void setSmoothing(double weight) { smoothing_ = weight; }

  struct Result {
    double misfit = 0.0;  // data misfit at the returned x (penalty not included)
    int iterations = 0;
    int evaluations = 0;  // forward computations
  };
  // Levenberg-Marquardt from x (changed in place to the best point reached;
  // never worse than where it started). Column `held` (-1: none) keeps its
  // value. Stops when an accepted step improves the objective by less than
  // relativeTolerance of it, after maxIterations Jacobians, or when no
  // damping helps any more.
  Result minimise(double* x, int maxIterations, double relativeTolerance, int held = -1);

 private:
  // The curve of m into the window's computedRho; false when it failed.
  bool computeCurve(const LayerModel& m);
  // Residual rows of x into r (data rows, then penalty rows); false when the
  // model cannot be computed.
  bool residuals(const double* x, double* r, int& evaluations);
  int rowCount() const { return dataRows_ + penaltyRows(); }
  int penaltyRows() const;

  CurveWindowState& s_;
  LayerModel base_;
  int columns_ = 0;
  int layer_[MaxColumns] = {};
  bool isRho_[MaxColumns] = {};
  bool interfaceFixed_[MaxLayers] = {};
  double fixedDepth_[MaxLayers] = {};
  int rhoColumn_[MaxLayers] = {};  // -1 for a fixed resistivity
  int hColumn_[MaxLayers] = {};    // -1 for a fixed or dependent thickness
  int dataRows_ = 0;
  int cell_[GridCells] = {};  // grid index of each data row
  double logComposite_[GridCells] = {};
  double smoothing_ = 0.0;
};

// Writes m into the window's model (modelRho, modelDepth; modelDepth[n] the
// half-space sentinel 1e9); depths of fixed interfaces stay exactly as they
// were when keepFixedDepths is set.
void storeLayerModel(CurveWindowState& s, const LayerModel& m, bool keepFixedDepths);

}  // namespace orv
