#include "commands/curve/composite_editing.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/grid_index.h"
#include "core/interpretation/branch_merging.h"

namespace orv {
namespace {

constexpr ui::Colour EditPenColour = 255;  // red
constexpr int EditPenWidth = 2;

int clampCell(int k) {
  return k < 0 ? 0 : (k >= GridCells ? GridCells - 1 : k);
}

int branchesOf(const CurveWindowState& s) {
  return s.branchCount < 0 ? 0 : (s.branchCount > MaxBranch ? MaxBranch : s.branchCount);
}

// Row of grid cell g. A cell that no reading has met yet holds no grid value;
// its place on the logarithmic grid stands in.
int rowOfCell(const CurveWindowState& s, int g) {
  const float a = s.gridAbHalf[g] > 0 ? s.gridAbHalf[g] : gridValueOf(g);
  return rowOfAbHalf(s, a);
}

// The readings of a mouse-drawn curve are processed again after every edit,
// as after every value of the manual input.
void reprocessDrawnReadings(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.fromSection = true;
  if (deriveReadings(c, ReadingOrigin::InMemory) == 1)
    resetInterpretation(c);
  else
    c.dialogs.message("chyba při čtení");
  s.fromSection = false;
  mergeBranches(c, 2);
}

void drawEditSegment(CurveSession& c, int fromCell, int toCell, int branch) {
  const CurveWindowState& s = c.s;
  c.canvas.moveTo(columnOfRho(s, s.mergedRho[fromCell][branch]), rowOfCell(s, fromCell));
  c.canvas.lineTo(columnOfRho(s, s.mergedRho[toCell][branch]), rowOfCell(s, toCell));
}

void setCellByMouse(CurveSession& c, int x) {
  CurveWindowState& s = c.s;
  if (!(s.pixelsPerDecadeRho > 0)) return;
  const double rho =
      std::pow(10.0, (x - s.marginLeft) / static_cast<double>(s.pixelsPerDecadeRho) + s.logRhoMin);
  repaintCurveWindow(c);
  s.cursorX = s.cursorY = -1;

  const int g = s.editGridIndex;
  // Only cells of the sounding can be edited, and only where a branch has a
  // value: the composite never gains a point where nothing was measured.
  if (g < clampCell(s.gridMinIndex) || g > clampCell(s.gridMaxIndex) || !std::isfinite(rho) ||
      !(rho > 0))
    return;
  for (int j = 1; j <= branchesOf(s); ++j) {
    if (!(s.mergedRho[g][j] > 0)) continue;
    s.mergedRho[g][j] = static_cast<float>(rho);
    s.mergedRho[g][0] = static_cast<float>(rho);
    if (s.mouseEntryActive) {
      const int i = g - s.gridMinIndex;
      if (i >= 0 && i < s.readingCount) s.readingRho[i] = static_cast<float>(rho);
      reprocessDrawnReadings(c);
    }
    c.canvas.setPenMode(ui::PenMode::Copy);
    c.canvas.setPenColour(EditPenColour);
    c.canvas.setPenWidth(EditPenWidth);
    if (g > 0 && s.mergedRho[g - 1][j] > 0) drawEditSegment(c, g - 1, g, j);
    if (g < s.gridMaxIndex && g + 1 < GridCells && s.mergedRho[g + 1][j] > 0)
      drawEditSegment(c, g, g + 1, j);
  }
}

void leaveEditByMouse(CurveSession& c) {
  CurveWindowState& s = c.s;
  // The crosshair is drawn only while an edit mode is on, so it is taken off
  // the picture before the mode goes.
  if (s.cursorX >= 0) drawCrosshair(c, s.cursorX, s.cursorY);
  s.editCompositeMode = false;
  paintCurves(c);
  drawComposite(c);
  s.cursorX = s.cursorY = -1;
}

}  // namespace

void shiftCompositeCore(CurveWindowState& s, int direction) {
  if (!s.compositeReady) return;
  const double step = direction * static_cast<double>(s.compositeShiftStep);
  const int first = clampCell(s.gridMinIndex);
  const int last = clampCell(s.gridMaxIndex);
  for (int j = 0; j <= branchesOf(s); ++j) {
    for (int g = first; g <= last; ++g) {
      const float v = s.mergedRho[g][j];
      if (v > 0)
        s.mergedRho[g][j] =
            static_cast<float>(std::pow(10.0, std::log10(static_cast<double>(v)) + step));
    }
  }
}

void shiftComposite(CurveSession& c, int direction) {
  if (!c.s.compositeReady) return;
  paintCurves(c);
  shiftCompositeCore(c.s, direction);
  repaintCurveWindow(c);
}

void askCompositeShiftStep(CurveSession& c) {
  CurveWindowState& s = c.s;
  std::optional<std::string> text =
      c.dialogs.inputQuery("Uprav krok posunu snesené křivky VES ",
                           "[log10 ohm.m]:", shortestText(s.compositeShiftStep));
  if (!text) return;
  std::optional<double> v = parseUserReal(*text);
  if (!v) {
    c.dialogs.message("Soustřeďte se (celé číslo)!");
    return;
  }
  s.compositeShiftStep = static_cast<float>(*v);
}

void toggleCompositeEdit(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.compositeReady) {
    c.dialogs.message(MergeBranchesFirstMessage);
    return;
  }
  if (!s.editCompositeMode) {
    s.editCompositeMode = true;
    // No cell is chosen until the mouse has moved.
    s.editGridIndex = -1;
    return;
  }
  s.editCompositeMode = false;
  s.cursorX = s.cursorY = -1;
  endMouseEntry(c);
  // Also takes the crosshair off the picture.
  repaintCurveWindow(c);
}

void endMouseEntry(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.mouseEntryActive) return;
  const int first = clampCell(s.gridMinIndex);
  const int last = clampCell(s.gridMaxIndex);
  for (int i = 0, g = first; g <= last; ++i, ++g) {
    s.mergedRho[g][1] = s.mergedRho[g][0];
    // A cell without composite value keeps its reading: a reading's
    // resistivity is always positive.
    if (i < s.readingCount && s.mergedRho[g][0] > 0) s.readingRho[i] = s.mergedRho[g][0];
  }
  c.chrome.setCaption(std::string("ORV-zpracování křivky VES:") +
                      std::string(textOf(s.instrumentFilePath)));
  s.mouseEntryActive = false;
}

int nearestGridCell(const CurveWindowState& s, int y, int* row) {
  const int first = clampCell(s.gridMinIndex);
  const int last = clampCell(s.gridMaxIndex);
  int best = -1;
  int bestRow = 0;
  long bestDistance = 0;
  for (int g = first; g <= last; ++g) {
    const int r = rowOfCell(s, g);
    const long distance = std::labs(static_cast<long>(r) - y);
    if (best < 0 || distance < bestDistance) {
      best = g;
      bestRow = r;
      bestDistance = distance;
    }
  }
  if (row) *row = bestRow;
  return best;
}

void compositeEditMouseMove(CurveSession& c, int x, int y) {
  CurveWindowState& s = c.s;
  if (!s.editCompositeMode || !s.compositeReady) return;
  trackSnappedCursor(c, x, y);
}

void trackSnappedCursor(CurveSession& c, int x, int y) {
  CurveWindowState& s = c.s;
  if (x != s.cursorX) {
    drawCrosshair(c, s.cursorX, s.cursorY);
    s.cursorX = x;
    drawCrosshair(c, s.cursorX, s.cursorY);
    showCursorReadout(c, s.cursorX, s.cursorY);
  }
  int row = 0;
  const int g = nearestGridCell(s, y, &row);
  if (g < 0) return;
  if (std::labs(static_cast<long>(row) - y) < std::labs(static_cast<long>(s.cursorY) - y)) {
    drawCrosshair(c, s.cursorX, s.cursorY);
    s.cursorY = row;
    s.editGridIndex = g;
    drawCrosshair(c, s.cursorX, s.cursorY);
    showCursorReadout(c, s.cursorX, s.cursorY);
  }
}

void compositeEditMouseDown(CurveSession& c, MouseButton button, int x, int y) {
  (void)y;  // the cell is the snapped one, not the one under the press
  CurveWindowState& s = c.s;
  if (!s.editCompositeMode || !s.compositeReady) return;
  if (button == MouseButton::Left)
    setCellByMouse(c, x);
  else if (button == MouseButton::Right)
    leaveEditByMouse(c);
}

}  // namespace orv
