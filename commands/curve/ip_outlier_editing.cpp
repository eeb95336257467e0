// Editing of an outlying decay curve with the mouse (F5). The values are
// recomputed from the samples at every redraw unless the sounding came from
// the section, so the edit lasts for soundings loaded back from it only.
#include "commands/curve/composite_editing.h"
#include "commands/curve/ip_commands.h"
#include "core/interpretation/ip_values.h"

namespace orv {
namespace {

void leaveOutlierEdit(CurveSession& c) {
  CurveWindowState& s = c.s;
  // The crosshair is drawn only while an edit mode is on.
  if (s.cursorX >= 0) drawCrosshair(c, s.cursorX, s.cursorY);
  s.editIpOutlierMode = false;
  repaintCurveWindow(c);
  s.cursorX = s.cursorY = -1;
}

// Scales every window of the readings at grid index k so that the first
// window of the first of them becomes target. False when no reading lies
// there.
bool scaleDecayCurve(CurveWindowState& s, int k, int target) {
  const int readings = ipReadingCount(s);
  int first = -1;
  for (int j = 0; j < readings && first < 0; ++j)
    if (s.readingGridIndex[j] == k) first = j;
  if (first < 0) return false;
  const float v = s.ipValue[first][0];
  const double factor = v != 0.0f ? target / static_cast<double>(v) : target / (v + 0.01);
  const int windows = ipWindowsDefined(s);
  for (int j = 0; j < readings; ++j) {
    if (s.readingGridIndex[j] != k) continue;
    for (int w = 0; w < windows; ++w)
      s.ipValue[j][w] = static_cast<float>(s.ipValue[j][w] * factor);
  }
  return true;
}

}  // namespace

void toggleIpOutlierEdit(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.compositeReady) {
    c.dialogs.message(MergeBranchesFirstMessage);
    return;
  }
  if (!s.editIpOutlierMode) {
    s.editIpOutlierMode = true;
    // No cell is chosen until the mouse has moved.
    s.editGridIndex = -1;
    return;
  }
  if (s.cursorX >= 0) drawCrosshair(c, s.cursorX, s.cursorY);
  s.editIpOutlierMode = false;
  s.cursorX = s.cursorY = -1;
  endMouseEntry(c);
  repaintCurveWindow(c);
}

void ipOutlierMouseMove(CurveSession& c, int x, int y) {
  if (!c.s.editIpOutlierMode || !c.s.compositeReady) return;
  trackSnappedCursor(c, x, y);
}

void applyIpOutlierClick(CurveSession& c, MouseButton button, int x, int y) {
  (void)y;  // the readings are those of the snapped grid index
  CurveWindowState& s = c.s;
  if (!s.editIpOutlierMode || !s.compositeReady) return;
  bool edited = false;
  if (button == MouseButton::Left) {
    // Whole per cent per pixel step, as integer divisions; a plot narrower
    // than the maximum shown has no step and changes nothing.
    const int step =
        s.ipMaxShown > 0 ? (s.imageWidth - s.marginLeft - s.marginRight) / s.ipMaxShown : 0;
    edited = step != 0 && scaleDecayCurve(s, s.editGridIndex, (x - s.marginLeft) / step);
  } else if (button != MouseButton::Right) {
    return;
  }
  leaveOutlierEdit(c);
  // The edited values are those of the point in the section: they go there
  // at once, or the next load would bring the old ones back.
  if (edited && s.fromSection) c.section.storeSounding();
}

}  // namespace orv
