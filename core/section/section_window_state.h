// The section window's own state besides the database: view settings, the
// interaction state of the mouse and HBV editing, and the point dialog's mode.
// Lives in memory only; nothing here is saved in the database file.
#pragma once

#include <cstdint>

#include "core/section/boundary_lines.h"
#include "core/section/colour_scale.h"
#include "core/section/section_layout.h"

namespace orv {

struct SectionWindowState {
  // --- view settings -------------------------------------------------------------
  float viewMinChainage = -100000.0f;
  float viewMaxChainage = 100000.0f;
  float viewMinElevation = -10000.0f;
  float viewMaxElevation = 10000.0f;
  bool fitWidth = false;
  bool fitHeight = false;
  int32_t exaggeration = 2;
  bool exaggerationLock = false;
  bool showCurves = false;
  bool showIp = false;
  // A short mark at the depth of investigation on every column.
  bool showDepthOfInvestigation = false;
  int32_t currentIpWindow = 0;
  float ipLineStrength = 2.2f;
  float curvePixelsPerDecade = 33.0f;
  bool oneDecimal = false;
  bool colourByRes = true;
  bool profilePrefix = false;
  bool labelBySurfaceChainage = true;
  float scaleStepPercent = 5.0f;
  // Set by the picture exports around one repaint.
  bool drawLegend = false;
  bool colourLayersMode = true;
  bool drawLayerBounds = true;
  bool coloursOnly = false;

  // --- what the last paintSection computed ------------------------------------------
  SectionLayout layout;

  // --- the surface line of the colouring, rebuilt at each coloured repaint ----------
  SurfaceLine surfaceLine;

  // --- the resistivity colour scale (one for all profiles) ----------------------------
  ColourScale colourScale{};
  // The colour dialog of the scale editor starts on the colour chosen in it
  // last, in this edit or an earlier one (black before any choice).
  int32_t lastChosenColour = 0;

  // --- HBV editing and mouse -------------------------------------------------------
  bool hbvEditMode = false;
  bool defineLayersMode = false;
  int32_t hbvActive = -1;
  int32_t hbvSelected = 0;
  int32_t hbvActiveVertex = -1;
  int32_t lastMouseX = 0;
  int32_t lastMouseY = 0;
  // Snap of new boundary-line vertices to the soundings' interfaces, pixels.
  float hbvTolerance = 3.0f;

  // --- point parameters dialog -------------------------------------------------------
  // Set while the dialog edits a stored point, clear while it describes a
  // sounding about to be inserted.
  bool editingExistingPoint = false;
};

}  // namespace orv
