// One sounding point drawn as a column of the section picture: the arrow onto
// the surface, the label, the IP values, the layers in the colours of the
// resistivity scale, the interface ticks, the misfit bar and the curve.
#pragma once

#include <string>

#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "ui/canvas.h"

namespace orv {

// The label of point b: the profile's name when profilePrefix, then the
// surface chainage ("%.0f") or the chainage on the profile ("%.1f"), both as
// magnitudes. UTF-8.
std::string pointLabel(const SectionProfile& profile, const SectionPoint& point,
                       const SectionWindowState& view);

// Draws point b of the current profile with the layout of the repaint; a
// point at or beyond a view chainage limit is not drawn.
void drawPoint(const SectionDatabase& db, const SectionWindowState& view, ui::Canvas& canvas,
               int b);

}  // namespace orv
