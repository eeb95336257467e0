// The section of the current profile as a DXF drawing (R12 style: a HEADER
// with the code page of the texts (Windows-1250), the limits and the extents
// of every entity written, then LINE, TEXT and POLYLINE/VERTEX/SEQEND
// entities, each kind of content on a layer of its own). The chainage is
// compressed by dxfExaggeration, the elevation is drawn as it is.
#pragma once

#include <cstdio>
#include <string>

#include "core/section/dxf_settings.h"
#include "core/section/section_database.h"
#include "core/section/section_window_state.h"

namespace orv {

// The drawing's extent in metres, taken from the layout of the last repaint.
struct DxfRanges {
  double xl = 0.0, xr = 0.0;  // chainage at the left and right edge
  double zLow = 0.0;          // elevation of the lower edge
  double zTop = 0.0;          // elevation of the upper edge
};

// With HBV lines the drawing is the frame of the picture; without them the
// soundings' chainages with 7.5 m on either side, down to the picture's
// bottom.
DxfRanges dxfRanges(const SectionProfile& profile, const SectionLayout& layout);

// The automatic axis steps of a wide or tall drawing; they overwrite the
// settings (and so are saved at exit).
void applyAutomaticDxfSteps(DxfSettings& s, const DxfRanges& r, const SectionLayout& layout);

// The order in which the point polylines visit the points: one entry per
// point, each the point with the next greater chainage; when none is left the
// last one taken is repeated. Returns how many entries were written to order.
int dxfPointOrder(const SectionProfile& profile, int order[MaxPointsPerProfile]);

// The current profile when it has a point to draw, otherwise nullptr.
SectionProfile* exportedProfile(SectionDatabase& db);

// Result codes of the writers.
inline constexpr int DxfWritten = 1;
inline constexpr int DxfWriteFailed = 0;
inline constexpr int DxfNoPoint = -1;  // current profile missing or without a point

// Writes the drawing of the current profile of db to out (binary mode),
// using view's layout (computeSectionLayout + completeSectionLayout must have
// run for this profile) and its view limits and label settings. Applies the
// automatic steps to settings and sets layerDepth[MDLmx] of every point of
// the profile to the depth of the drawing's lower edge, as the export always
// has. Returns DxfWritten, DxfWriteFailed or DxfNoPoint.
int writeDxf(SectionDatabase& db, const SectionWindowState& view, DxfSettings& settings,
             std::FILE* out);

// The same drawing as text (empty for DxfNoPoint).
std::string dxfDocument(SectionDatabase& db, const SectionWindowState& view, DxfSettings& settings);

}  // namespace orv
