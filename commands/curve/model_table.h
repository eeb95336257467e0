// The model typed into a table ("Tabulka modelu"): one row per layer with
// its resistivity, thickness and depth and a fix mark for each. Every
// accepted edit is shown, computed, committed and written back exactly as a
// mouse edit of the same model would be.
#pragma once

#include <string_view>
#include <vector>

#include "commands/curve/curve_session.h"

namespace orv {

enum class ModelColumn { Rho, Thickness, Depth };

struct ModelTableRow {
  float rho = 0;        // ohm.m
  float thickness = 0;  // m; 0 for the half-space
  float depth = 0;      // m, of the layer's lower boundary; 0 for the half-space
  bool rhoFixed = false;
  bool thicknessFixed = false;
  bool depthFixed = false;
  bool halfSpace = false;
};

// The model's layers, top down (none while there is no model).
std::vector<ModelTableRow> modelTableRows(const CurveWindowState& s);

// A typed value of layer `layer`: either decimal separator. A text that does
// not convert keeps the old value with "Soustřeďte se (číslo)!"; a
// resistivity or a thickness that is not positive (a depth that would make
// one) is refused with its message. A thickness moves the boundaries below
// with it; a depth moves only its own boundary. Returns true when the model
// changed.
bool setModelValue(CurveSession& c, int layer, ModelColumn column, std::string_view text);
// Sets or clears the fix mark of a value of layer `layer`.
bool setModelFix(CurveSession& c, int layer, ModelColumn column, bool fixed);

// A new layer in place of `layer`, splitting it as the right button splits
// a layer on the chart; without a model a half-space at the composite's mean
// resistivity. At most MaxLayers layers.
bool insertModelLayer(CurveSession& c, int layer);
// Removes layer `layer` as the middle button does on the chart; the last
// layer stays (a half-space).
bool deleteModelLayer(CurveSession& c, int layer);

}  // namespace orv
