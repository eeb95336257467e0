// The resistivity colour scale of the section window: boundaries in ohm.m and
// one colour per interval between two boundaries, shared by every profile.
// Entry 0 is the lower boundary 0; entries 1..N-1 are the intervals; entry N
// ends the table.
#pragma once

#include <cstdint>
#include <optional>

#include "core/curve/curve_window_state.h"
#include "ui/canvas.h"

namespace orv {

inline constexpr int MaxColourEntries = 500;
// Boundary of the entry that ends an edited table: negative, so it matches
// no resistivity and never shows in the legend.
inline constexpr int32_t ColourTableEnd = -1530494976;

struct ColourScale {
  int32_t colResBound[MaxColourEntries];
  int32_t colResColor[MaxColourEntries];  // 0x00BBGGRR
  int32_t colResCount;                    // N
  char colResFileName[PathCapacity];      // the system's own spelling (a path)
};

// The scale the section uses when the start-up folder has no default scale
// file: twelve intervals from 1 to 10 000 ohm.m in steps of 1, 2, 5 per
// decade, blue for conductive ground through green and yellow to red for
// resistive ground, below them the interval 0..1 ohm.m in the deepest blue.
// The table ends as an edited one does.
void useBuiltInColourScale(ColourScale& scale);

// The colour of a layer resistivity (its sign, the fixed-parameter mark, is
// ignored); nullopt when it lies in no interval. The last matching entry
// wins, so a boundary belongs to the interval above it, except the top one.
std::optional<ui::Colour> resistivityColour(const ColourScale& scale, float rho);

struct SectionProfile;
struct SectionLayout;

// The legend of the exported pictures, to the right of the drawn section: one
// colour box per boundary that lies within the resistivity range of the
// profile's layers, labelled with its boundary at the box's lower edge.
// Draws nothing for a profile without layers. Leaves the brush clear.
void drawColourLegend(const ColourScale& scale, const SectionProfile& profile,
                      const SectionLayout& layout, ui::Canvas& canvas);

}  // namespace orv
