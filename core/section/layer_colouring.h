// Colouring the ground between soundings: every layer of every sounding
// extended sideways as a band between the boundary lines that leave its top
// and bottom, coloured by the resistivity scale with the resistivity
// interpolated towards the neighbour, extended to the frame on an open side
// and closed in wedges; last, a lens that two lines leaving one interface
// point enclose takes the colour of its layer at the nearer sounding. The
// bands go to a writer: the picture fills them, the layered contouring
// export writes them.
#pragma once

#include <functional>

#include "core/section/boundary_lines.h"
#include "core/section/colour_scale.h"
#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "ui/canvas.h"

namespace orv {

inline constexpr int MaxBandVertices = 500;

// A band outline in metres (chainage, elevation); vertices beyond the
// capacity are not taken.
struct BandPolygon {
  int count = 0;
  double x[MaxBandVertices];
  double z[MaxBandVertices];

  bool add(double chainage, double elevation);
};

// One band: from chainage xa (resistivity rhoA) to xb (rhoB).
using BandWriter =
    std::function<void(double xa, double xb, float rhoA, float rhoB, const BandPolygon& polygon)>;

// Fills the band on canvas with the layout's transform, split into strips of
// the scale's colours where the resistivity, linear between xa and xb,
// crosses a boundary of the scale.
void fillBand(ui::Canvas& canvas, const ColourScale& scale, const SectionLayout& layout, double xa,
              double xb, float rhoA, float rhoB, const BandPolygon& polygon);

// The preparation and the line searches a colouring pass runs on: those of
// boundary_lines.h, unless a check hands in another implementation to
// compare the bands with.
struct LineSearches {
  decltype(&prepareBoundaryLines) prepare = prepareBoundaryLines;
  decltype(&findLineRight) right = findLineRight;
  decltype(&findLineLeft) left = findLineLeft;
  decltype(&lineInterfaceAt) at = lineInterfaceAt;
};

// All bands of the current profile, after the preparation, handed to write
// in their order. A profile without boundary lines has no bands and is left
// untouched. Bands of one colour come with rhoA == rhoB.
void colourLayers(SectionDatabase& db, SectionWindowState& view, const BandWriter& write,
                  const LineSearches& searches = {});

// The picture's writer: every band filled on canvas with the view's colour
// scale and the layout of the current repaint.
BandWriter bandFiller(ui::Canvas& canvas, const SectionWindowState& view);

}  // namespace orv
