// X-Z-value grids of the current profile for gridding and contouring in
// Surfer ("WINSURF"): the models sampled down each sounding, the composite
// apparent resistivity and the IP values at the pseudo-depth AB/4, and the
// resistivity interpolated inside the layer bands. A grid file is Windows-1250
// text: a first line of title and units (no break between them), then one
// "x<TAB>z<TAB>value" point per line, each preceded by CR LF, and no break
// after the last point.
#pragma once

#include <cstdio>
#include <string>

#include "core/section/layer_colouring.h"
#include "core/section/section_database.h"
#include "core/section/section_window_state.h"

namespace orv {

// Model sampling step down a sounding, m.
inline constexpr double ModelGridStep = 0.2;
// Margin below a sounding's depth reach, and the least sampled thickness of
// the half-space, m.
inline constexpr double ModelGridMargin = 2.0;
// Column spacing and vertical step of the band grid, m.
inline constexpr double BandGridStepX = 4.0;
inline constexpr double BandGridStepZ = 1.0;

enum class GridKind { Model, PseudoSection, IpPseudoSection, Layers };

// The first line of a grid file (Windows-1250 bytes): the export's title with
// the locality and the current profile's names, and its units.
std::string gridTitleLine(GridKind kind, const SectionDatabase& db);

// Writers of the grid files' bytes to out (opened in binary mode); each returns
// false when a write failed. They take the current profile's points in index
// order.
bool writeModelGrid(const SectionDatabase& db, std::FILE* out);
bool writePseudoSectionGrid(const SectionDatabase& db, std::FILE* out);
// ipWindow: the IP window shown in the section (0-based).
bool writeIpPseudoSectionGrid(const SectionDatabase& db, int ipWindow, std::FILE* out);
// Runs the colouring pass (the boundary lines are prepared against
// view.layout as the last repaint left it) and writes every band's points.
bool writeLayerGrid(SectionDatabase& db, SectionWindowState& view, std::FILE* out);

// The points of one band, each as "\r\n%f\t%f\t%f", appended to out: columns
// every BandGridStepX from the band's smallest chainage while short of its
// largest, in each a point every BandGridStepZ from the lower edge and a last
// one on the upper edge; the resistivity linear between xa (rhoA) and xb
// (rhoB).
void writeBandGrid(std::string& out, double xa, double xb, float rhoA, float rhoB,
                   const BandPolygon& polygon);
// The band writer handing colourLayers' bands to writeBandGrid.
BandWriter bandGridWriter(std::string& out);

}  // namespace orv
