// The axes of the section picture: chainage along the bottom of the frame,
// elevation on both sides, and the AB/2 scale of the drawn sounding curves.
// The loops run over the whole view range by their step, but only the ticks
// inside the frame cost anything.
#pragma once

#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "ui/canvas.h"

namespace orv {

// Label step of the chainage axis in metres: the first of 5 ... 500 m whose
// pixel length holds the text of the widest label.
int chainageLabelStep(double pxPerMetreX, int widestLabelPixels);
// Step of the elevation axis in metres: the first of 1, 2, 5, 10, 50 m that
// leaves four thirds of a text line between labels.
int elevationLabelStep(double pxPerMetreZ, int textHeight);

void drawChainageAxis(const SectionWindowState& view, ui::Canvas& canvas);
void drawElevationAxis(const SectionWindowState& view, ui::Canvas& canvas);
// The AB/2 decades at the rightmost point's surface, red, inside both sides
// of the frame.
void drawAbHalfScale(const SectionProfile& profile, const SectionWindowState& view,
                     ui::Canvas& canvas);

}  // namespace orv
