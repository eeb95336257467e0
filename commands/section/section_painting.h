// paintSection: the whole section picture of the current profile, redrawn
// from the database and the view after every change.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "ui/canvas.h"
#include "ui/window_chrome.h"

namespace orv {

// Recomputes the layout for a client area of the given size and redraws the
// picture into canvas (the whole bitmap is cleared first). The window's
// caption and profile menu are the caller's.
void paintSection(SectionDatabase& db, SectionWindowState& view, ui::Canvas& canvas,
                  ui::ScreenSize client);

// The surface line: one vertex per point in the order of their chainage on
// the profile (a duplicate chainage repeats the previous vertex).
std::vector<ui::Point> surfaceLine(const SectionProfile& profile, const SectionLayout& layout);

// The status line drawn at the top-left of the picture (UTF-8).
std::string sectionStatusText(const SectionDatabase& db, const SectionWindowState& view);

// Start and end of the current IP window in ms after the end of the current
// pulse (window limits less LeadTime and OnTime); nothing when the profile
// has no such window (a profile without IP has none), whose empty limits
// would read as times before the pulse.
struct IpWindowTimes {
  int start;
  int end;
};
std::optional<IpWindowTimes> ipWindowTimes(const SectionProfile& profile, int window);

// The boundary lines of the profile, red, over the columns.
void drawBoundaryLines(const SectionProfile& profile, const SectionWindowState& view,
                       ui::Canvas& canvas);

}  // namespace orv
