#include "core/curve/curve_window_state.h"

#include "base/fixed_text.h"

namespace orv {
namespace {

constexpr double kFilter[FilterLength] = {0.0225,  0.0336,  0.2525,  0.8183, 1.6448,
                                          -2.7841, 1.3396,  -0.4390, 0.1605, -0.0746,
                                          0.0416,  -0.0262, 0.0105};

}  // namespace

void setInitialCurveState(CurveWindowState& s) {
  setText(s.instrumentFilePath, "");
  setText(s.lastInstrumentFilePath, "");
  setText(s.dateText, "");
  setText(s.localityText, "");
  setText(s.operatorText, "");
  s.gridMinIndex = 0;
  s.pointNumber = 0;
  s.previousPointNumber = -25;
  s.profileNumber = 1;
  s.logAbMin = 0;
  s.modelBoundaryCount = 0;
  s.compositeReady = false;
  s.curveLoaded = false;
  s.modelActive = false;
  s.lastClickOutsidePlot = true;
  // The KMT file name offered first lies in the start-up folder.
  setText(s.soundingFilePath, "ves.kmt");
  setText(s.kmtOpenDialogFileName, "");
  s.scaleMarginPercent = 20;
  s.compositeShiftStep = 0.001f;
  s.soundingRecordIndex = 0;
  s.curveDrawn = false;
  s.soundingOutputOpen = false;
  s.soundingOutputHandle = nullptr;
  s.editCompositeMode = false;
  s.editIpOutlierMode = false;
  s.modelBuildMode = false;
  s.computedCurveValid = false;
  s.mouseDragging = false;
  s.describeComputedCurve = false;
  s.modelLabelsDrawn = false;
  s.lockCurveScale = false;
  s.sectionWindowShown = false;
  s.fromSection = false;
  s.mouseEntryActive = false;
  s.cursorX = s.cursorY = -1;
  s.hotLayer = s.hotBoundary = -1;
  s.previousHotLayer = s.previousHotBoundary = -2;
  s.pickTolerance = 10;
  s.sourceKind = SourceNone;
  s.markerHalfSize = 2;
  s.describeModel = true;
  s.ipMaxShown = 30;
  s.ipWindowCount = IpWindowsUndefined;
  s.ipAsIsolines = false;
  s.showDecayCurves = true;
  s.accurateForward = false;
  s.equivalenceTolerance = 0.1;
}

void finishCurveStateConstruction(CurveWindowState& s) {
  s.averageOverlaps = true;
  for (int i = 0; i < FlagSlots; ++i) {
    s.depthFixed[i] = 0;
    s.rhoFixed[i] = 0;
  }
  for (int i = 0; i < FilterLength; ++i) s.filterCoefficients[i] = kFilter[i];
}

}  // namespace orv
