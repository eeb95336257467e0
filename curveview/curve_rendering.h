// Drawing of the curve window's picture: the bilogarithmic chart of one
// sounding, its branches, the composite curve, the model (XOR) and the
// computed curve (XOR), labels, crosshair and cursor read-out.
#pragma once

#include "curve/curve_session.h"

namespace orv {

// Rebuilds the base picture: geometry, grid, labels, frame, measured readings
// and the IP panel.
void paintCurves(CurveSession& c);
void drawComposite(CurveSession& c);
// XOR-draws the model staircase and, while modelActive, writes the model table.
void drawModel(CurveSession& c);
// XOR-draws the computed curve and rewrites the misfit text.
void drawComputedCurve(CurveSession& c);
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

enum class MouseButton { Left, Right, Middle };

// A click outside the plot rectangle moves the view edges; returns true when
// the click was outside and has been handled.
bool moveViewByClick(CurveSession& c, MouseButton button, int x, int y);

}  // namespace orv
