// The mouse on the section picture in the two boundary-line modes. In the
// define mode a click adds a vertex (snapped to a nearby sounding interface)
// to the line being drawn and a rubber band follows the mouse from its last
// vertex; in the edit mode a press selects the line nearest to the mouse, a
// move highlights the nearest vertex of the selected line or drags it, and
// the release redraws. Every handler acts only while the current profile has
// a point.
#pragma once

#include <string>

#include "commands/section/section_session.h"
#include "core/section/section_database.h"

namespace orv {

// Blanks after the define mode's status text.
inline constexpr int DefineStatusTrailingBlanks = 30;
// The rubber band in XOR: red where it crosses white, and drawn again it is
// gone.
inline constexpr ui::Colour RubberBandXorKey = 0xFFFF00;  // white ^ red
// The drag circle in XOR: blue on white, and it turns the blue circle of a
// highlighted vertex back to white.
inline constexpr ui::Colour DragCircleXorKey = 0x00FFFF;  // white ^ blue
inline constexpr ui::Colour HighlightBlue = 0xFF0000;

// The status line of a define-mode click at chainage c and elevation z (m)
// with the profile's line count and the vertex count of the selected line
// (UTF-8).
std::string defineClickStatusText(const SectionDatabase& db, bool showIp, int ipWindow, double c,
                                  double z, int lines, int vertices);

// The world position a define-mode click at (x, y) stands for after the
// snap: onto the chainage of the sounding nearest in pixel column within
// hbvTolerance / pxPerMetreZ x exaggeration m, then onto its nearest
// interface elevation (surface included) within hbvTolerance / pxPerMetreZ m.
struct HbvVertex {
  double chainage;
  double elevation;
};
HbvVertex snappedClick(const SectionDatabase& db, const SectionWindowState& view, int x, int y);

// Left button down in the define mode.
void defineModeClick(SectionSession& session, int x, int y);
// Mouse move in the define mode: the rubber band.
void defineModeMove(SectionSession& session, int x, int y);

// Left button down in the edit mode: selects the line with the vertex
// nearest to (x, y) in pixels, over all lines.
void editModeDown(SectionSession& session, int x, int y);
// Mouse move in the edit mode; dragging: middle button, or left with Ctrl.
void editModeMove(SectionSession& session, int x, int y, bool dragging);
// Any button up in the edit mode.
void editModeUp(SectionSession& session);

}  // namespace orv
