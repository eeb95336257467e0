#include "core/interpretation/auto_model.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "core/interpretation/fit_verdict.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"
#include "core/interpretation/layer_fit.h"
#include "core/interpretation/model_backup.h"
#include "core/interpretation/thorough_fit.h"

namespace orv {

namespace {

// The smooth model has an interface every fifth of a decade over the depths
// the curve sees, at most this many.
constexpr double kSmoothSpacingDecades = 0.2;
constexpr int kMaxSmoothInterfaces = 24;
// A layer at depth z is seen near AB/2 = kDepthToAb x z.
constexpr double kDepthToAb = 1.5;
// Weights of the smoothness penalty on neighbouring log resistivities, one
// start each: the merged models differ in where the steps of the profile fall.
constexpr double kSmoothing[] = {1.0, 0.1, 0.01};
// Kicks of the best model: log factors of alternate resistivities and thicknesses.
constexpr double kKicks[][2] = {{0.7, 0.0},  {-0.7, 0.0}, {0.0, 0.7},
                                {0.0, -0.7}, {0.5, 0.5},  {-0.5, -0.5}};
// Scales of the shallowest and deepest interface of the evenly spread starts.
constexpr double kSpreads[][2] = {{1.0, 1.0}, {3.0, 1.0}, {1.0, 0.3}, {3.0, 0.3}, {0.5, 2.0}};
// A fit with more layers than the curve needs parks the spare ones where
// they cost nothing: below the depth the longest spread sees, or at an absurd
// resistivity. Such a model is proposed only when no model inside the curve's
// depths and within this contrast of its values comes within kVouchedShare
// of its misfit.
constexpr double kVouchedContrast = 30.0;
constexpr double kVouchedShare = 1.05;

struct Curve {
  int first = 0;  // first and last cell with a composite value
  int last = -1;
};

Curve usableCells(const CurveWindowState& s) {
  Curve c;
  c.first = GridCells;
  for (int g = std::max(0, s.gridMinIndex); g <= std::min(GridCells - 1, s.gridMaxIndex); ++g) {
    if (!(s.mergedRho[g][0] > 0.0f)) continue;
    c.first = std::min(c.first, g);
    c.last = g;
  }
  return c;
}

// The composite's value at the cell nearest to AB/2 = ab, inside the curve.
double compositeNear(const CurveWindowState& s, const Curve& curve, double ab) {
  int g = static_cast<int>(std::lround(std::log10(ab) / AbGridStep));
  g = std::clamp(g, curve.first, curve.last);
  for (int d = 0; d < GridCells; ++d) {
    if (g - d >= curve.first && s.mergedRho[g - d][0] > 0.0f) return s.mergedRho[g - d][0];
    if (g + d <= curve.last && s.mergedRho[g + d][0] > 0.0f) return s.mergedRho[g + d][0];
  }
  return 1.0;
}

// Every interface above the largest AB/2 and every resistivity within
// kVouchedContrast of the curve's values.
bool vouchedFor(const LayerModel& m, const CurveWindowState& s, const Curve& curve) {
  double low = HUGE_VAL, high = 0.0;
  for (int g = curve.first; g <= curve.last; ++g) {
    const double v = s.mergedRho[g][0];
    if (!(v > 0.0)) continue;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  double depth = 0.0;
  for (int i = 0; i < m.n; ++i) {
    depth += m.h[i];
    if (!(depth <= gridAbscissa(curve.last))) return false;
  }
  for (int i = 0; i <= m.n; ++i) {
    if (!(m.rho[i] >= low / kVouchedContrast && m.rho[i] <= high * kVouchedContrast)) return false;
  }
  return true;
}

void clearFlags(CurveWindowState& s) {
  for (int i = 0; i < FlagSlots; ++i) s.rhoFixed[i] = s.thicknessFixed[i] = s.depthFixed[i] = 0;
}

// Interfaces log-spaced from the shallowest to the deepest depth the curve
// sees, resistivities read off the curve at the depth's AB/2.
LayerModel spacedModel(const CurveWindowState& s, const Curve& curve, int interfaces,
                       double topScale = 1.0, double bottomScale = 1.0) {
  const double top = topScale * gridAbscissa(curve.first) / kDepthToAb;
  const double bottom = bottomScale * gridAbscissa(curve.last) / kDepthToAb;
  LayerModel m;
  m.n = interfaces;
  double above = 0.0;
  for (int i = 0; i < interfaces; ++i) {
    const double t = interfaces == 1 ? 0.5 : static_cast<double>(i) / (interfaces - 1);
    const double depth = top * std::pow(bottom / top, t);
    m.h[i] = depth - above;
    m.rho[i] = compositeNear(s, curve, kDepthToAb * std::sqrt(std::max(above, top / 2) * depth));
    above = depth;
  }
  m.rho[interfaces] = compositeNear(s, curve, gridAbscissa(curve.last));
  return m;
}

// Splits the smooth profile into `groups` runs of neighbouring layers with
// the least squared spread of their log resistivities, each run one layer.
LayerModel mergeLayers(const LayerModel& smooth, int groups) {
  const int count = smooth.n + 1;
  double v[MaxLayers];
  for (int k = 0; k < count; ++k) v[k] = std::log(smooth.rho[k]);
  auto spread = [&](int from, int to) {  // layers from..to inclusive
    double sum = 0.0, square = 0.0;
    for (int k = from; k <= to; ++k) {
      sum += v[k];
      square += v[k] * v[k];
    }
    return square - sum * sum / (to - from + 1);
  };
  // cost[g][k]: layers 0..k-1 in g runs; cut[g][k]: the first layer of the last run.
  double cost[MaxLayers + 1][MaxLayers + 1];
  int cut[MaxLayers + 1][MaxLayers + 1];
  for (int g = 0; g <= groups; ++g)
    for (int k = 0; k <= count; ++k) cost[g][k] = HUGE_VAL;
  cost[0][0] = 0.0;
  for (int g = 1; g <= groups; ++g) {
    for (int k = g; k <= count; ++k) {
      for (int j = g - 1; j < k; ++j) {
        if (cost[g - 1][j] == HUGE_VAL) continue;
        const double c = cost[g - 1][j] + spread(j, k - 1);
        if (c < cost[g][k]) {
          cost[g][k] = c;
          cut[g][k] = j;
        }
      }
    }
  }
  int starts[MaxLayers + 1];
  for (int g = groups, k = count; g >= 1; --g) {
    starts[g - 1] = cut[g][k];
    k = cut[g][k];
  }
  starts[groups] = count;
  double depth[MaxLayers + 1];
  depth[0] = 0.0;
  for (int k = 0; k < smooth.n; ++k) depth[k + 1] = depth[k] + smooth.h[k];
  LayerModel m;
  m.n = groups - 1;
  for (int g = 0; g < groups; ++g) {
    double sum = 0.0;
    for (int k = starts[g]; k < starts[g + 1]; ++k) sum += v[k];
    m.rho[g] = std::exp(sum / (starts[g + 1] - starts[g]));
    if (g < m.n) m.h[g] = depth[starts[g + 1]] - depth[starts[g]];
  }
  return m;
}

// Splits the layer that spans most of a decade into two of its resistivity,
// at the geometric middle of its top and base (the top layer at half).
LayerModel splitThickest(const LayerModel& m) {
  int widest = 0;
  double span = 0.0, top = 0.0;
  for (int i = 0; i < m.n; ++i) {
    const double ratio = i == 0 ? 2.0 : (top + m.h[i]) / top;
    if (ratio > span) span = ratio, widest = i;
    top += m.h[i];
  }
  LayerModel out;
  out.n = m.n + 1;
  double above = 0.0;
  for (int i = 0, j = 0; i <= m.n; ++i) {
    out.rho[j] = m.rho[i];
    if (i == m.n) break;
    if (i == widest) {
      const double middle = i == 0 ? m.h[0] / 2 : std::sqrt(above * (above + m.h[i]));
      out.h[j++] = middle - above;
      out.rho[j] = m.rho[i];
      out.h[j++] = above + m.h[i] - middle;
    } else {
      out.h[j++] = m.h[i];
    }
    above += m.h[i];
  }
  return out;
}

// The inversion and the thorough fit from m; the misfit they reach.
double fitFrom(CurveWindowState& s, const LayerModel& m) {
  clearFlags(s);
  storeLayerModel(s, m, false);
  const ThoroughOutcome t = fitToMinimumCore(s);
  return t.ran ? t.endMisfit : HUGE_VAL;
}

// Starts from the smooth profile: each weight gives its merged model, and
// with more than two layers one layer fewer split again.
int profileStarts(int layers) {
  constexpr int weights = sizeof kSmoothing / sizeof kSmoothing[0];
  return weights * (layers > 2 ? 2 : 1);
}

}  // namespace

int autoModelStarts(int layers) {
  return profileStarts(layers) + static_cast<int>(sizeof kSpreads / sizeof kSpreads[0]) +
         static_cast<int>(sizeof kKicks / sizeof kKicks[0]);
}

AutoModelOutcome autoModelCore(CurveWindowState& s, int layers, ui::Progress* progress) {
  AutoModelOutcome out;
  if (layers < AutoModelMinLayers || layers > AutoModelMaxLayers) return out;
  if (s.gridMinIndex < 0 || s.gridMaxIndex >= GridCells || s.gridMinIndex > s.gridMaxIndex)
    return out;
  const Curve curve = usableCells(s);
  if (curve.last < curve.first) return out;
  out.ran = true;
  const ModelBackup before(s);
  const int total = autoModelStarts(layers);

  const int interfaces = layers - 1;
  const double decades = (curve.last - curve.first) * AbGridStep;
  const int smoothInterfaces = std::max(
      interfaces,
      std::min(kMaxSmoothInterfaces, static_cast<int>(decades / kSmoothSpacingDecades) + 1));

  // Should no fit be computable, the evenly spread start is at least a model.
  LayerModel best = spacedModel(s, curve, interfaces), vouched = best;
  double bestMisfit = HUGE_VAL, vouchedMisfit = HUGE_VAL;
  auto consider = [&](const LayerModel& start) {
    if (out.stopped) return;
    ++out.starts;
    const double misfit = fitFrom(s, start);
    if (progress && !progress->step(out.starts, total)) out.stopped = true;
    if (!(misfit < HUGE_VAL)) return;
    const LayerModel m = windowModel(s);
    if (misfit < bestMisfit) {
      bestMisfit = misfit;
      best = m;
    }
    if (misfit < vouchedMisfit && vouchedFor(m, s, curve)) {
      vouchedMisfit = misfit;
      vouched = m;
    }
  };
  auto proposed = [&]() -> const LayerModel& {
    return vouchedMisfit <= kVouchedShare * bestMisfit ? vouched : best;
  };

  // The smooth profile: thicknesses fixed, resistivities free and tied to
  // their neighbours.
  const LayerModel spaced = spacedModel(s, curve, smoothInterfaces);
  s.modelBoundaryCount = spaced.n;
  clearFlags(s);
  for (int i = 0; i < spaced.n; ++i) s.thicknessFixed[i] = 1;
  double x[LayerFit::MaxColumns];
  for (double weight : kSmoothing) {
    if (out.stopped) break;
    LayerFit smooth(s, spaced);
    smooth.setSmoothing(weight);
    smooth.start(x);
    smooth.minimise(x, 30, 1e-4);
    LayerModel profile;
    if (!smooth.model(x, profile)) continue;
    consider(mergeLayers(profile, layers));
    // One layer fewer with its thickest layer halved: a curve that needs
    // fewer layers than asked is fitted as well as by the fewer.
    if (layers > 2) consider(splitThickest(mergeLayers(profile, layers - 1)));
    clearFlags(s);
    for (int i = 0; i < spaced.n; ++i) s.thicknessFixed[i] = 1;
  }
  // And N layers spread evenly over the depths, over narrower and wider
  // spans, in case the profile misled.
  for (const double(&scale)[2] : kSpreads)
    consider(spacedModel(s, curve, interfaces, scale[0], scale[1]));

  // A few kicks of the best model: its layers pushed apart or together and
  // its contrasts raised or lowered, each fitted again.
  for (const double(&kick)[2] : kKicks) {
    if (bestMisfit == HUGE_VAL || bestMisfit <= 0.0 || out.stopped) break;
    LayerModel m = proposed();
    for (int i = 0; i <= m.n; ++i) {
      const double sign = i % 2 == 0 ? 1.0 : -1.0;
      m.rho[i] *= std::exp(sign * kick[0]);
      if (i < m.n) m.h[i] *= std::exp(sign * kick[1]);
    }
    consider(m);
  }
  if (out.stopped) {
    before.restore(s);
    out.misfit = s.modelFitError;
    return out;
  }
  clearFlags(s);
  storeLayerModel(s, proposed(), false);
  computeForwardValues(s, false);
  s.modelFitError = misfitSSQ(s);
  out.misfit = s.modelFitError;
  return out;
}

}  // namespace orv
