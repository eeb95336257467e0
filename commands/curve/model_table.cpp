#include "commands/curve/model_table.h"

#include <cmath>
#include <limits>
#include <optional>

#include "base/c_format.h"
#include "commands/curve/composite_editing.h"
#include "commands/curve/model_editing.h"
#include "commands/curve/model_editing_steps.h"
#include "commands/curve/model_undo.h"
#include "core/curve/grid_index.h"

namespace orv {
namespace {

constexpr const char* NotANumberMessage = "Soustřeďte se (číslo)!";
constexpr const char* RhoMessage = "Rezistivita vrstvy musí být kladná!";
constexpr const char* ThicknessMessage = "Mocnost vrstvy musí být kladná!";
constexpr const char* DepthMessage =
    "Hloubka rozhraní musí ležet mezi hloubkami sousedních rozhraní (mocnost vrstvy musí být "
    "kladná)!";
constexpr const char* BuildingMessage =
    "Model se právě vytváří myší - nejprve ho dokončete pravou myší.";
constexpr const char* LastLayerMessage = "Model musí mít alespoň jednu vrstvu.";

bool modelPresent(const CurveWindowState& s) {
  return model_editing::boundaryCountValid(s) && (s.modelActive || s.modelBoundaryCount > 0);
}

// The model may be typed into: a composite to fit it to, no mouse gesture
// under way, and (for an existing layer) the layer exists.
bool editable(CurveSession& c) {
  const CurveWindowState& s = c.s;
  if (!s.compositeReady) {
    c.dialogs.message(MergeBranchesFirstMessage);
    return false;
  }
  if (s.modelBuildMode || s.mouseDragging) {
    c.dialogs.message(BuildingMessage);
    return false;
  }
  return model_editing::boundaryCountValid(s);
}

bool layerEditable(CurveSession& c, int layer, bool withBoundary) {
  if (!editable(c) || !modelPresent(c.s)) return false;
  const int n = c.s.modelBoundaryCount;
  return layer >= 0 && (withBoundary ? layer < n : layer <= n);
}

// A typed number as the float the model holds; nullopt after the message.
std::optional<float> typedValue(CurveSession& c, std::string_view text) {
  const std::optional<double> v = parseUserReal(text);
  if (!v || !std::isfinite(static_cast<float>(*v))) {
    c.dialogs.message(NotANumberMessage);
    return std::nullopt;
  }
  return static_cast<float>(*v);
}

double topOf(const CurveWindowState& s, int layer) {
  return layer == 0 ? 0.0 : s.modelDepth[layer - 1];
}

// The boundaries layer..N-1 moved by delta (m), in order; false (nothing
// changed) when a thickness would not stay positive in float.
bool moveBoundaries(CurveWindowState& s, int layer, double delta) {
  const int n = s.modelBoundaryCount;
  float moved[MaxLayers];
  double above = topOf(s, layer);
  for (int j = layer; j < n; ++j) {
    moved[j] = static_cast<float>(s.modelDepth[j] + delta);
    if (!(moved[j] > above) || !std::isfinite(moved[j])) return false;
    above = moved[j];
  }
  for (int j = layer; j < n; ++j) s.modelDepth[j] = moved[j];
  return true;
}

// Geometric mean of the composite curve: a half-space for a model started
// in the table.
float compositeMean(const CurveWindowState& s) {
  double sum = 0;
  int n = 0;
  for (int g = s.gridMinIndex; g <= s.gridMaxIndex && g >= 0 && g < GridCells; ++g) {
    if (!(s.mergedRho[g][0] > 0)) continue;
    sum += std::log10(static_cast<double>(s.mergedRho[g][0]));
    ++n;
  }
  return n > 0 ? static_cast<float>(std::pow(10.0, sum / n)) : 100.0f;
}

// The half-space alone gets a top layer as deep as the middle of the
// sounding's AB/2 range (logarithmically), of the same resistivity.
void splitHalfSpace(CurveWindowState& s) {
  const double low = gridValueOf(s.gridMinIndex);
  const double high = gridValueOf(s.gridMaxIndex);
  s.modelRho[1] = s.modelRho[0];
  s.rhoFixed[1] = s.rhoFixed[0];
  s.thicknessFixed[1] = s.thicknessFixed[0];
  s.depthFixed[1] = 0;
  s.rhoFixed[0] = s.thicknessFixed[0] = s.depthFixed[0] = 0;
  s.modelDepth[0] = static_cast<float>(std::sqrt(low * high));
  s.modelBoundaryCount = 1;
  s.modelDepth[1] = model_editing::HalfSpaceDepthCreated;
}

}  // namespace

std::vector<ModelTableRow> modelTableRows(const CurveWindowState& s) {
  std::vector<ModelTableRow> rows;
  if (!modelPresent(s)) return rows;
  const int n = s.modelBoundaryCount;
  for (int i = 0; i <= n; ++i) {
    ModelTableRow r;
    r.rho = s.modelRho[i];
    r.rhoFixed = s.rhoFixed[i] == 1;
    r.halfSpace = i == n;
    if (i < n) {
      r.depth = s.modelDepth[i];
      r.thickness = static_cast<float>(s.modelDepth[i] - topOf(s, i));
      r.thicknessFixed = s.thicknessFixed[i] == 1;
      r.depthFixed = s.depthFixed[i] == 1;
    }
    rows.push_back(r);
  }
  return rows;
}

bool setModelValue(CurveSession& c, int layer, ModelColumn column, std::string_view text) {
  CurveWindowState& s = c.s;
  if (!layerEditable(c, layer, column != ModelColumn::Rho)) return false;
  const std::optional<float> v = typedValue(c, text);
  if (!v) return false;
  switch (column) {
    case ModelColumn::Rho:
      if (!(*v > 0)) {
        c.dialogs.message(RhoMessage);
        return false;
      }
      if (*v == s.modelRho[layer]) return false;
      s.modelRho[layer] = *v;
      break;
    case ModelColumn::Thickness: {
      if (!(*v > 0)) {
        c.dialogs.message(ThicknessMessage);
        return false;
      }
      const double delta = *v - (s.modelDepth[layer] - topOf(s, layer));
      if (delta == 0) return false;
      if (!moveBoundaries(s, layer, delta)) {
        c.dialogs.message(ThicknessMessage);
        return false;
      }
      break;
    }
    case ModelColumn::Depth: {
      const bool last = layer + 1 >= s.modelBoundaryCount;
      const double below = last ? std::numeric_limits<double>::infinity() : s.modelDepth[layer + 1];
      if (!(*v > topOf(s, layer) && *v < below)) {
        c.dialogs.message(DepthMessage);
        return false;
      }
      if (*v == s.modelDepth[layer]) return false;
      s.modelDepth[layer] = *v;
      break;
    }
  }
  showChangedModel(c);
  return true;
}

bool setModelFix(CurveSession& c, int layer, ModelColumn column, bool fixed) {
  CurveWindowState& s = c.s;
  if (!layerEditable(c, layer, column != ModelColumn::Rho)) return false;
  int32_t& flag = column == ModelColumn::Rho         ? s.rhoFixed[layer]
                  : column == ModelColumn::Thickness ? s.thicknessFixed[layer]
                                                     : s.depthFixed[layer];
  if ((flag == 1) == fixed) return false;
  flag = fixed ? 1 : 0;
  showChangedModel(c);
  return true;
}

bool insertModelLayer(CurveSession& c, int layer) {
  CurveWindowState& s = c.s;
  if (!editable(c)) return false;
  if (!modelPresent(s)) {
    model_editing::clearFixFlags(s);
    s.modelBoundaryCount = 0;
    s.modelRho[0] = compositeMean(s);
    s.modelDepth[0] = model_editing::HalfSpaceDepthCreated;
    s.modelActive = true;
  } else if (s.modelBoundaryCount + 1 >= MaxLayers) {
    c.dialogs.message(model_editing::FullModelMessage);
    return false;
  } else if (s.modelBoundaryCount == 0) {
    splitHalfSpace(s);
  } else if (layer < 0 || layer > s.modelBoundaryCount || !splitModelElementCore(s, layer)) {
    return false;
  }
  showChangedModel(c);
  return true;
}

bool deleteModelLayer(CurveSession& c, int layer) {
  CurveWindowState& s = c.s;
  if (!layerEditable(c, layer, false)) return false;
  if (s.modelBoundaryCount == 0) {
    c.dialogs.message(LastLayerMessage);
    return false;
  }
  if (!deleteModelElementCore(s, layer)) return false;
  showChangedModel(c);
  return true;
}

}  // namespace orv
