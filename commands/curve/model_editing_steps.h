// Steps shared by the sources of the model editing; not for other callers.
#pragma once

#include "commands/curve/composite_editing.h"
#include "commands/curve/model_editing.h"

namespace orv::model_editing {

// The half-space's depth right after a model has been made; the drawing
// replaces it by its own sentinel.
inline constexpr float HalfSpaceDepthCreated = 1e12f;

inline constexpr const char* NoCompositeMessage = MergeBranchesFirstMessage;
// A model of MaxLayers layers has no room for another one.
inline constexpr const char* FullModelMessage =
    "Model má už 30 vrstev - další vrstvu nelze přidat.";
static_assert(MaxLayers == 30, "FullModelMessage names the layer count");

// modelBoundaryCount is one of the model's own indices (0..MaxLayers-1).
bool boundaryCountValid(const CurveWindowState& s);

// The model on the picture is XOR-drawn: erasing draws it again with the same
// data and widths, so every change of the values sits between the two.
void eraseModelIfDrawn(CurveSession& c);
void drawModelMarked(CurveSession& c);

// computeForward(false) with the message every display caller shows when it
// fails; the model stays as edited.
void recomputeForward(CurveSession& c);
// A mouse edit of a sounding that is a point of the section: the point takes
// the model when the button is released (finishWriteBack).
void writeBack(CurveSession& c);
// At a mouse release: writes a pending mouse edit back into its point.
void finishWriteBack(CurveSession& c);

// No element under the mouse, and none remembered, so that the next pick
// draws with the widths a freshly drawn model has.
void clearPicking(CurveWindowState& s);
void clearFixFlags(CurveWindowState& s);

// The mouse held to the plot rectangle: a model value is never taken from
// outside the chart the user sees.
int clampToPlotX(const CurveWindowState& s, int x);
int clampToPlotY(const CurveWindowState& s, int y);

// The model depth (m) of row y in double precision; 0 when the view cannot
// map rows to depths.
double depthOfRow(const CurveWindowState& s, int y);

// Mouse steps of the model while it is being built.
void buildingMove(CurveSession& c, int x, int y);
// A press while the model is built; false when the press is not one of
// building (the caller goes on with the next rule).
bool buildingPress(CurveSession& c, const MouseEvent& e);

// Picking under the mouse, the drag moves and the release.
void pickingMove(CurveSession& c, int x, int y);
void dragMove(CurveSession& c, int x, int y);
void releaseDrag(CurveSession& c, int x, int y);

// A press on the picked element, by button and modifier keys.
void editPickedElement(CurveSession& c, const MouseEvent& e);
// Drag and picking reset, and a new model started.
void cancelModelEdit(CurveSession& c);

}  // namespace orv::model_editing
