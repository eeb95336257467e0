// The inversion's computation. Parameters are walked in the order
// rho_0, h_0, rho_1, h_1, ..., rho_N; each one that is neither fixed nor
// dependent gets the next column of the weighted Jacobian.
#include "core/interpretation/inversion.h"

#include <cmath>

#include "core/interpretation/forward_problem.h"
#include "core/interpretation/jacobian.h"
#include "core/interpretation/svd.h"

namespace orv {

namespace {

enum class Role {
  Fixed,      // keeps its value
  Free,       // its own column
  Coupled,    // its own column, compensated by the dependent thickness below
  Dependent,  // thickness above a fixed interface: follows its group
};

struct Parameter {
  bool isRho;
  int layer;
  Role role;
  int column;    // for Free and Coupled
  int groupEnd;  // for Coupled: the fixed interface that ends its group
};

struct ParameterList {
  Parameter p[2 * MaxLayers + 1];
  int count;
  int columns;
  bool interfaceFixed[MaxLayers];
};

// Singular values at or below this do not contribute to a step.
constexpr double kSingularValueFloor = 0.05;
// A run goes on only while each accepted step improves the misfit by this.
constexpr double kRelativeImprovement = 0.025;

bool positiveFinite(double x) {
  return std::isfinite(x) && x > 0.0;
}

// A fixed thickness under a fixed interface pins the interface above it as
// well (its depth is the fixed depth minus the fixed thickness), so both
// constraints hold and the layer takes no part in any group.
void buildParameters(const CurveWindowState& s, ParameterList& list) {
  const int n = s.modelBoundaryCount;
  for (int i = 0; i < n; ++i) list.interfaceFixed[i] = s.depthFixed[i] == 1;
  for (int i = n - 1; i >= 1; --i) {
    if (list.interfaceFixed[i] && s.thicknessFixed[i] == 1) list.interfaceFixed[i - 1] = true;
  }
  list.count = 0;
  list.columns = 0;
  for (int layer = 0; layer <= n; ++layer) {
    Parameter rho{true, layer, Role::Fixed, -1, -1};
    if (s.rhoFixed[layer] != 1) {
      rho.role = Role::Free;
      rho.column = list.columns++;
    }
    list.p[list.count++] = rho;
    if (layer == n) break;  // the half-space has no thickness
    Parameter h{false, layer, Role::Fixed, -1, -1};
    if (s.thicknessFixed[layer] == 1) {
      h.role = Role::Fixed;
    } else if (list.interfaceFixed[layer]) {
      h.role = Role::Dependent;
    } else {
      int below = -1;
      for (int d = layer + 1; d < n; ++d) {
        if (list.interfaceFixed[d]) {
          below = d;
          break;
        }
      }
      h.role = below < 0 ? Role::Free : Role::Coupled;
      h.groupEnd = below;
      h.column = list.columns++;
    }
    list.p[list.count++] = h;
  }
}

// Cells where the composite has no value, or the model curve is not
// positive, carry no information: zero residual and zero row.
bool cellUsable(const CurveWindowState& s, int row) {
  const float composite = s.mergedRho[s.gridMinIndex + row][0];
  const float computed = s.computedRhoPacked[row];
  return composite > 0.0f && computed > 0.0f && std::isfinite(computed);
}

void fillWeightedJacobian(CurveWindowState& s, const ParameterList& list, int m) {
  for (int i = 0; i < SvdMaxRows; ++i) {
    for (int j = 0; j < SvdMaxColumns; ++j) s.weightedJacobian[i][j] = 0.0;
  }
  for (int i = 0; i < m; ++i) {
    if (!cellUsable(s, i)) {
      s.residual[i] = 0.0;
      continue;
    }
    const double rhoa = s.computedRhoPacked[i];
    s.residual[i] = std::log(static_cast<double>(s.mergedRho[s.gridMinIndex + i][0]) / rhoa);
    for (int q = 0; q < list.count; ++q) {
      const Parameter& p = list.p[q];
      const int k = p.layer;
      switch (p.role) {
        case Role::Fixed:
        case Role::Dependent:
          break;
        case Role::Free:
          if (p.isRho) {
            s.weightedJacobian[i][p.column] = s.J_rho[i][k] * s.modelRho[k] / rhoa;
          } else {
            s.weightedJacobian[i][p.column] = s.J_h[i][k] * s.modelThickness[k] / rhoa;
          }
          break;
        case Role::Coupled:
          s.weightedJacobian[i][p.column] =
              (s.J_h[i][k] - s.J_h[i][p.groupEnd]) * s.modelThickness[k] / rhoa;
          break;
      }
    }
  }
}

// Damping values: the singular values padded with zeros to 2N + 2 entries,
// by decreasing magnitude; a stable bubble sort keeps equal ones in order.
void buildDampingCandidates(CurveWindowState& s, int n, int count) {
  for (int i = 0; i < count; ++i) s.dampingCandidate[i] = i < n ? s.weightedJacobian[i][i] : 0.0;
  for (int pass = 0; pass < count - 1; ++pass) {
    for (int i = 0; i < count - 1 - pass; ++i) {
      if (std::fabs(s.dampingCandidate[i]) < std::fabs(s.dampingCandidate[i + 1])) {
        const double t = s.dampingCandidate[i];
        s.dampingCandidate[i] = s.dampingCandidate[i + 1];
        s.dampingCandidate[i + 1] = t;
      }
    }
  }
}

void computeStep(CurveWindowState& s, int n, double lambda) {
  for (int p = 0; p < n; ++p) {
    double delta = 0.0;
    for (int k = 0; k < n; ++k) {
      const double sv = s.weightedJacobian[k][k];
      if (sv > kSingularValueFloor) {
        delta += s.projectedResidual[k] * sv / (lambda * lambda + sv * sv) * s.svdV[p][k];
      }
    }
    s.parameterStep[p] = delta;
  }
}

// The trial model of one step; false when it has a value that is not a
// positive finite number (such a model is never taken over).
bool buildTrial(CurveWindowState& s, const ParameterList& list) {
  const int n = s.modelBoundaryCount;
  for (int q = 0; q < list.count; ++q) {
    const Parameter& p = list.p[q];
    const int k = p.layer;
    if (p.role == Role::Free || p.role == Role::Coupled) {
      // The factor keeps double precision; only the product is rounded to
      // single, as the model will hold it.
      const double factor = std::exp(s.parameterStep[p.column]);
      if (p.isRho) {
        s.rhoParam[k] = static_cast<float>(s.modelRho[k] * factor);
      } else {
        s.thickParam[k] = static_cast<float>(s.modelThickness[k] * factor);
      }
    } else if (p.isRho) {
      s.rhoParam[k] = s.modelRho[k];
    } else {
      s.thickParam[k] = s.modelThickness[k];
    }
  }
  // A dependent thickness takes up what its group gained or lost, so that
  // the fixed interface stays where it is.
  for (int q = 0; q < list.count; ++q) {
    const Parameter& d = list.p[q];
    if (d.role != Role::Dependent) continue;
    for (int r = 0; r < list.count; ++r) {
      const Parameter& p = list.p[r];
      if (p.role == Role::Coupled && p.groupEnd == d.layer) {
        s.thickParam[d.layer] +=
            static_cast<double>(s.modelThickness[p.layer]) - s.thickParam[p.layer];
      }
    }
  }
  float depth = 0.0f;
  for (int i = 0; i <= n; ++i) {
    if (!positiveFinite(static_cast<float>(s.rhoParam[i]))) return false;
    if (i == n) break;
    const float h = static_cast<float>(s.thickParam[i]);
    depth += h;
    if (!positiveFinite(h) || !std::isfinite(depth)) return false;
  }
  return true;
}

}  // namespace

const char* inversionRefusalMessage(InversionRefusal r) {
  switch (r) {
    case InversionRefusal::None:
      return nullptr;
    case InversionRefusal::NoModel:
      return "Není vytvořen žádný model - optimalizace neproběhla.";
    case InversionRefusal::LayerCount:
      return "Model má nepřípustný počet vrstev - optimalizace neproběhla.";
    case InversionRefusal::CurveRange:
      return "Snesená křivka nemá platný rozsah AB/2 - optimalizace neproběhla.";
    case InversionRefusal::Resistivity:
      return "Model má vrstvu s nekladnou nebo neplatnou rezistivitou - optimalizace neproběhla.";
    case InversionRefusal::ZeroThickness:
      return "Model má vrstvu nulové mocnosti - optimalizace neproběhla.";
    case InversionRefusal::NegativeThickness:
      return "Model má vrstvu záporné mocnosti (rozhraní se kříží) - optimalizace neproběhla.";
    case InversionRefusal::Depth:
      return "Model má neplatnou hloubku rozhraní - optimalizace neproběhla.";
    case InversionRefusal::ForwardFailed:
      return "Nepodařila se přímá úloha - optimalizace neproběhla.";
  }
  return nullptr;
}

InversionRefusal inversionRefusal(const CurveWindowState& s) {
  const int n = s.modelBoundaryCount;
  if (n < 0 || n >= MaxLayers) return InversionRefusal::LayerCount;
  if (n == 0 && !(s.modelRho[0] != 0.0f)) return InversionRefusal::NoModel;
  if (s.gridMinIndex < 0 || s.gridMaxIndex >= GridCells || s.gridMinIndex > s.gridMaxIndex)
    return InversionRefusal::CurveRange;
  for (int i = 0; i <= n; ++i) {
    if (!positiveFinite(s.modelRho[i])) return InversionRefusal::Resistivity;
  }
  double above = 0.0;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(s.modelDepth[i])) return InversionRefusal::Depth;
    const double h = static_cast<double>(s.modelDepth[i]) - above;
    if (h == 0.0) return InversionRefusal::ZeroThickness;
    if (!(h > 0.0)) return InversionRefusal::NegativeThickness;
    above = s.modelDepth[i];
  }
  return InversionRefusal::None;
}

InversionOutcome optimiseModelCore(CurveWindowState& s) {
  InversionOutcome out;
  out.refusal = inversionRefusal(s);
  if (out.refusal != InversionRefusal::None) return out;
  const int nb = s.modelBoundaryCount;
  const int m = s.gridMaxIndex - s.gridMinIndex + 1;

  ParameterList list;
  buildParameters(s, list);
  const int n = list.columns;
  out.columns = n;

  for (int i = 0; i < nb; ++i) {
    const double above = i == 0 ? 0.0 : static_cast<double>(s.modelDepth[i - 1]);
    s.modelThickness[i] = static_cast<float>(s.modelDepth[i] - above);
  }
  for (int i = 0; i <= nb; ++i) s.rhoParam[i] = s.modelRho[i];
  for (int i = 0; i < nb; ++i) s.thickParam[i] = s.modelThickness[i];
  if (!computeForwardValues(s, false)) {
    out.refusal = InversionRefusal::ForwardFailed;
    return out;
  }
  out.ran = true;
  double ssq = misfitSSQ(s);
  s.modelFitError = ssq;

  const int candidateCount = 2 * nb + 2;
  int candidate = 0;
  bool newJacobian = true;
  for (;;) {
    if (newJacobian) {
      s.modelFitError = ssq;
      if (!computeJacobian(s)) break;
      fillWeightedJacobian(s, list, m);
      ++out.jacobians;
      if (!decomposeSVD(s.weightedJacobian, m, n, s.svdU, s.svdV)) break;
      for (int a = 0; a < SvdMaxRows; ++a) s.projectedResidual[a] = 0.0;
      for (int a = 0; a < m; ++a) {
        double q = 0.0;
        for (int b = 0; b < m; ++b) q += s.svdU[a][b] * s.residual[b];
        s.projectedResidual[a] = q;
      }
      buildDampingCandidates(s, n, candidateCount);
      candidate = candidateCount - 1;
      newJacobian = false;
    }
    const double lambda = s.dampingCandidate[candidate];
    computeStep(s, n, lambda);
    bool improved = false;
    double ssqNew = 0.0;
    if (buildTrial(s, list)) {
      ++out.trials;
      if (computeForwardValues(s, true)) {
        ssqNew = misfitSSQ(s);
        improved = ssqNew < s.modelFitError;
      }
    }
    if (improved) {
      for (int i = 0; i <= nb; ++i) s.modelRho[i] = static_cast<float>(s.rhoParam[i]);
      for (int i = 0; i < nb; ++i) s.modelThickness[i] = static_cast<float>(s.thickParam[i]);
      ++out.acceptedSteps;
      if ((s.modelFitError - ssqNew) / ssqNew < kRelativeImprovement) break;
      ssq = ssqNew;
      newJacobian = true;
      continue;
    }
    if (--candidate < 0) break;
  }

  if (out.acceptedSteps > 0) {
    // Fixed interfaces are kept as they were: summing the rounded
    // thicknesses could move them by a rounding step.
    for (int i = 0; i < nb; ++i) {
      if (list.interfaceFixed[i]) continue;
      s.modelDepth[i] = (i == 0 ? 0.0f : s.modelDepth[i - 1]) + s.modelThickness[i];
    }
  }
  // The trials have overwritten the computed curve; it must again be the
  // curve of the model (the picture's XOR overlay is erased with it).
  if (computeForwardValues(s, false)) s.modelFitError = misfitSSQ(s);
  return out;
}

}  // namespace orv
