// Drawing of the curve window's picture: the bilogarithmic chart of one
// sounding, its branches, the composite curve, the model (XOR) and the
// computed curve (XOR), labels, crosshair and cursor read-out.
#pragma once

#include "commands/curve/curve_session.h"
#include "core/interpretation/bspline.h"

namespace orv {

// Rebuilds the base picture: geometry, grid, labels, frame, measured readings
// and the IP panel.
void paintCurves(CurveSession& c);
void drawComposite(CurveSession& c);
// XOR-draws the model staircase and, while modelActive, writes the model table.
void drawModel(CurveSession& c);

// "Zobrazovat hloubku dosahu": the dashed line of the depth of investigation
// across the model on or off (check mark ShowDepthOfInvestigationItem), redrawn.
inline constexpr const char* ShowDepthOfInvestigationItem = "Zobrazovathloubkudosahu1";
void toggleDepthOfInvestigation(CurveSession& c);
// XOR-draws the computed curve and rewrites the misfit text.
void drawComputedCurve(CurveSession& c);
// The right margin that holds the model table: at least four widths of "W",
// and room for the table's header and unit, for values of five digits and for
// every value of the current model (unless it is being built), though never
// more than half the picture.
int modelTableMargin(CurveSession& c);
// Widens the right margin when the shown model table's widest text has
// outgrown it (a value produced after the load sized the margin, as an
// inversion result); true when it did, and the picture must be drawn again.
// A locked scale keeps its plot box.
bool growModelTableMargin(CurveSession& c);
// The universal refresh.
void repaintCurveWindow(CurveSession& c);
void drawCrosshair(CurveSession& c, int x, int y);
void showCursorReadout(CurveSession& c, int x, int y);
// "Popiš model" (V) and "Popiš vypočtenou křivku VES" (Ctrl+P).
void labelModel(CurveSession& c);
void labelComputedCurve(CurveSession& c);
// The image has taken a new client size (the canvas is already resized).
void formResize(CurveSession& c);

// Pixel mapping of the chart; all conversions truncate toward zero.
int columnOfRho(const CurveWindowState& s, double rho);
int rowOfAbHalf(const CurveWindowState& s, double abHalf);
// The same from log10 values (grid decades, the readings' stored logarithms).
int columnOfLogRho(const CurveWindowState& s, double logRho);
int rowOfLogAbHalf(const CurveWindowState& s, double logAbHalf);
// Unrounded position of a curve point (branch lines, composite, computed
// curve); converted to pixels only when the curve is drawn.
CurvePoint curvePointOfLog(const CurveWindowState& s, double logRho, double logAbHalf);
// Truncation toward zero of a pixel coordinate; values far outside any bitmap
// (a depth of 1e9 m, a non-positive value's logarithm) are pinned.
int truncatePixel(double v);

// (x, y) lies in the plot rectangle, edges included.
bool insidePlot(const CurveWindowState& s, int x, int y);

enum class MouseButton { Left, Right, Middle };

// A click outside the plot rectangle moves the view edges; returns true when
// the click was outside and has been handled.
bool moveViewByClick(CurveSession& c, MouseButton button, int x, int y);

}  // namespace orv
