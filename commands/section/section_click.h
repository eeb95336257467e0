// The left mouse button on the section picture outside the HBV modes: the
// point nearest to the click by pixel column is loaded into the curve window
// (or, when it is a stub without a usable curve, removed), and the status
// line tells the depth and elevation clicked.
#pragma once

#include <string>

#include "commands/section/section_session.h"
#include "core/section/section_database.h"

namespace orv {

// Blanks after the status line's text, so that a longer earlier text is
// overwritten where the strip does not reach.
inline constexpr int ClickStatusTrailingBlanks = 37;

// The nearest point of the current profile to the pixel column x (the first
// one on ties); -1 when the profile has no point.
int nearestPointByColumn(const SectionDatabase& db, const SectionLayout& layout, int x);

// The status line after a click (UTF-8). With showIp it names the current IP
// window's limits relative to the end of the pulse.
std::string clickStatusText(const SectionDatabase& db, bool showIp, int ipWindow, double depth,
                            double elevation);

// The part every click's status line starts with: "lokalita: " + locality +
// " - pf: " + profile, and with IP shown the window's times in ms after the
// pulse ("... ms poOff").
std::string clickStatusHead(const SectionDatabase& db, bool showIp, int ipWindow);

// Left button down at (x, y) in normal mode. Acts only when the current
// profile has at least one point.
void sectionLeftClick(SectionSession& session, int x, int y);

}  // namespace orv
