// A Levenberg-Marquardt least-squares fit of the layered model against the
// composite curve, in the logarithms of the free resistivities and
// thicknesses under the model's fix flags, with the Jacobian of whichever
// forward computation is switched on. Shared by the thorough fit, the
// equivalence ranges, the parameter uncertainty and the automatic start
// model.
#pragma once

#include <cmath>
#include <functional>
#include <vector>

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

// What of one layer a fit can hold, or a range describe: its resistivity
// (ohm.m), its thickness (m), its longitudinal conductance h / rho (S) or its
// transverse resistance h * rho (ohm.m2).
enum class LayerQuantity { Rho, Thickness, Conductance, Resistance };

// What binds a fit besides the data.
struct FitLimits {
  // ln of `quantity` of layer heldLayer is held at heldValue (-1: nothing).
  int heldLayer = -1;
  LayerQuantity quantity = LayerQuantity::Rho;
  double heldValue = 0.0;
  // Every column stays within centre[c] +- halfWidth (null: anywhere).
  const double* centre = nullptr;
  double halfWidth = 0.0;
};

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
  // The next fit computes its Jacobian afresh, whatever an earlier fit left.
  void forgetJacobian() { haveJacobian_ = false; }
  int dataRows() const { return dataRows_; }
  // Which layer column c changes, and whether it is its resistivity.
  int columnLayer(int c) const { return layer_[c]; }
  bool columnIsRho(int c) const { return isRho_[c]; }
  const LayerModel& base() const { return base_; }

  // Logarithms of the free parameters of the base model.
  void start(double* x) const;
  // The model of x; false when a dependent thickness is not positive or a
  // value is not a positive finite number.
  bool model(const double* x, LayerModel& out) const;

  // ln of quantity q of `layer` in m, and its derivatives by the columns
  // (g[0..columns-1]); all zero when no free parameter moves it.
  static double logQuantity(const LayerModel& m, LayerQuantity q, int layer);
  void logQuantityGradient(const LayerModel& m, LayerQuantity q, int layer, double* g) const;

  // Sum of squared log ratios composite / computed over the cells that have
  // a composite value (as misfitSSQ); +infinity when the model cannot be
  // computed. Leaves the model's curve in computedRho (trial mode).
  double misfit(const LayerModel& m);
  double misfitOf(const double* x);

  // Optional extra rows sqrt(weight) x (x[c+1] - x[c]) for consecutive
  // resistivity columns: a smoothness penalty for many-layer fits.
  void setSmoothing(double weight) { smoothing_ = weight; }

  // The residual rows r (data rows, then penalty rows) and their Jacobian
  // by the columns (row-major, rows x columns) at x; false when the model or
  // its derivatives cannot be computed.
  bool jacobian(const double* x, double* jac, double* r, int& evaluations);
  // (J^T J)^-1 of the data rows at x (columns x columns), a directions the
  // data do not see getting a variance of about 1e12; false as jacobian.
  bool inverseNormalMatrix(const double* x, std::vector<double>& inverse, int& evaluations);

  struct Control {
    int maxIterations = 100;
    // Stops when an accepted step improves the objective by less than this
    // share of it.
    double relativeTolerance = 1e-6;
    FitLimits limits;
    // The Jacobian by finite differences of the single-precision curve
    // (false: analytic). Differences do not see a parameter whose effect
    // the curve cannot show, so the fit leaves it where it is; the analytic
    // derivatives are cheap and exact, for fits held in a box.
    bool differences = true;
    // The first damping, as a share of the largest curvature.
    double firstDamping = 1e-3;
    // Each column is damped by its own curvature, but at least by this
    // share of the largest. Larger, a parameter the data hardly see is moved
    // gently (analytic derivatives see what differences do not); smaller,
    // the fit follows flat valleys faster.
    double dampingFloor = 1e-12;
    // A Jacobian is used again while the parameters stay within this
    // distance (largest ln change) of where it was computed, also by later
    // fits of the same LayerFit; 0: a new one at every iteration.
    double jacobianReach = 0.0;
    // A fit that only has to show whether the misfit can come down to a
    // level stops as soon as it is below goodEnough.
    double goodEnough = 0.0;
    // Called after every iteration with the number done; false stops.
    std::function<bool(int)> keepGoing;
  };
  struct Result {
    double misfit = 0.0;  // data misfit at the returned x (penalty not included)
    int iterations = 0;
    int evaluations = 0;   // forward computations
    bool stopped = false;  // keepGoing said no
  };
  // Levenberg-Marquardt from x (changed in place to the best point reached;
  // never worse than where it started unless a held value first had to be
  // reached, which no admissible model may allow: misfit +infinity). Stops at
  // the tolerance, after maxIterations iterations, or when no damping helps.
  Result minimise(double* x, const Control& control);
  Result minimise(double* x, int maxIterations, double relativeTolerance);

 private:
  // The curve of m into the window's computedRho; false when it failed.
  bool computeCurve(const LayerModel& m);
  // Residual rows of x into r (data rows, then penalty rows); false when the
  // model cannot be computed.
  bool residuals(const double* x, double* r, int& evaluations);
  int rowCount() const { return dataRows_ + penaltyRows(); }
  int penaltyRows() const;
  // The Jacobian of the residuals at x by finite differences; r the
  // residuals at x.
  bool differenceJacobian(const double* x, const double* r, double* jac, int& evaluations);
  // The Jacobian kept for the next iterations: at jacobianX_, with J^T J.
  bool refreshJacobian(const double* x, const double* r, bool differences, int& evaluations);

  CurveWindowState& s_;
  LayerModel base_;
  int columns_ = 0;
  int layer_[MaxColumns] = {};
  bool isRho_[MaxColumns] = {};
  int groupEnd_[MaxColumns] = {};  // thickness column: the layer taking up its change, or -1
  bool interfaceFixed_[MaxLayers] = {};
  double fixedDepth_[MaxLayers] = {};
  int rhoColumn_[MaxLayers] = {};  // -1 for a fixed resistivity
  int hColumn_[MaxLayers] = {};    // -1 for a fixed or dependent thickness
  int dataRows_ = 0;
  int cell_[GridCells] = {};  // grid index of each data row
  double logComposite_[GridCells] = {};
  double smoothing_ = 0.0;
  bool haveJacobian_ = false;
  bool differenceJacobian_ = false;
  std::vector<double> jacobianX_, jac_, normal_, jacobianResidual_, probe_;
};

// Writes m into the window's model (modelRho, modelDepth; modelDepth[n] the
// half-space sentinel 1e9); depths of fixed interfaces stay exactly as they
// were when keepFixedDepths is set.
void storeLayerModel(CurveWindowState& s, const LayerModel& m, bool keepFixedDepths);

}  // namespace orv
