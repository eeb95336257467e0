// Building and editing the layered model with the mouse on the chart: the
// corners of a new model, picking, dragging, splitting, deleting and fixing
// its interfaces and layers, and the one-slot model clipboard. The image's
// mouse handlers also hand presses to the composite editing, the IP point
// editing and the view moves, in one fixed order.
#pragma once

#include "commands/curve/curve_rendering.h"
#include "commands/curve/curve_session.h"

namespace orv {

// One mouse event on the picture, in image pixels. For a press or a release
// `button` is the button that changed; moves ignore it. The held flags are
// the buttons down during the event (for a press, including the pressed one).
struct MouseEvent {
  MouseButton button = MouseButton::Left;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  int x = 0;
  int y = 0;
  bool leftHeld = false;
  bool rightHeld = false;
  bool middleHeld = false;
};

// --- menu commands ------------------------------------------------------------

// "Začátek vytváření modelu (pravá myš mimo model)" (F6) and the right button:
// starts a new model when none is being built, ends the one being built (its
// last layer becomes the half-space) otherwise.
void toggleModelBuild(CurveSession& c);
// "Zrušit model (pravá myš mimo model, Ctrl+pravá)" (Ctrl+Del).
void clearModel(CurveSession& c);
// "Zkopíruj model do paměti" (Ctrl+C) and "Vlož model z paměti" (Ctrl+V).
void copyModelToClipboard(CurveSession& c);
void pasteModelFromClipboard(CurveSession& c);
// "Zkopíruj a optimalizuj model na křivku vlevo" (L) and "... vpravo" (P):
// the model goes through the clipboard to the neighbouring point of the
// section's current profile (the point with the next smaller, or larger,
// chainage; the same point at the profile's end), which is loaded, given the
// model and optimised three times.
void carryModelToNeighbour(CurveSession& c, bool right);

// --- the image's mouse handlers -------------------------------------------------

void imageMouseDown(CurveSession& c, const MouseEvent& e);
void imageMouseMove(CurveSession& c, const MouseEvent& e);
void imageMouseUp(CurveSession& c, const MouseEvent& e);

// --- the pieces, without drawing -------------------------------------------------

// Values under the mouse: the resistivity (ohm.m) of column x and the model
// depth (m) of row y. False, with *out untouched, when the view cannot map
// the pixel or the value is not a positive finite float.
bool rhoAtColumn(const CurveWindowState& s, int x, float* out);
bool depthAtRow(const CurveWindowState& s, int y, float* out);

// The interface and the layer under (x, y); at most one of them is >= 0.
struct ModelPick {
  int boundary = -1;
  int layer = -1;
};
ModelPick pickModelElement(const CurveWindowState& s, int x, int y);

// A model element is picked and exists in the current model, which is drawn.
bool modelElementPicked(const CurveWindowState& s);

// The value rule of a drag: the picked interface takes the depth of row y
// (kept between its neighbours), the picked layer the resistivity of column
// x. Returns false when nothing is picked or the mouse gives no value.
bool applyDragValue(CurveWindowState& s, int x, int y);

// Splits element e (0..N): a new entry e with its new depth and resistivity,
// entries e..N one place down. False, with nothing changed, when e is not an
// element of the model or the model already has MaxLayers layers.
bool splitModelElementCore(CurveWindowState& s, int e);
// Deletes element e (0..N): entries e+1..N one place up, the new last layer
// becomes the half-space. False, with nothing changed, when e is not an
// element of a model with at least one interface.
bool deleteModelElementCore(CurveWindowState& s, int e);

void copyModelCore(CurveWindowState& s);
void pasteModelCore(CurveWindowState& s);

}  // namespace orv
