// The curve window's whole state: one sounding, its branches, the composite
// curve, the layered model, the IP data, the display bounds and the settings.
// Plain fixed arrays only; the window allocates this once, zero-filled, and
// keeps it for the whole run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "core/curve/model_history.h"

namespace orv {

inline constexpr int MaxReadings = 200;
inline constexpr int GridCells = 200;  // AB/2 grid indices 0..199
inline constexpr int BranchSlots = 6;  // slot 0 composite, 1..5 branches
inline constexpr int MaxBranch = 5;
inline constexpr int MaxLayers = 30;
inline constexpr int FlagSlots = 200;  // the fix-flag arrays are 200 long
inline constexpr int MaxIpWindows = 20;
inline constexpr int MaxDecaySamples = 1000;
// ipWindowCount before any window is defined: the first IP file defines its
// own windows.
inline constexpr int32_t IpWindowsUndefined = -10;
inline constexpr int FilterLength = 13;
// Abscissae of the resistivity transform: -20 .. 199 + 4.
inline constexpr int TransformAbscissae = 224;
// The inversion's matrices: cells x parameters (2 x 29 + 1 = 59 at most).
inline constexpr int SvdMaxRows = 200;
inline constexpr int SvdMaxColumns = 60;

inline constexpr int PathCapacity = 1024;  // file paths (the system's own spelling)
inline constexpr int WordCapacity = 200;   // one-word texts of the KMT header

// 1/8.876 decade between neighbouring AB/2 grid indices.
inline constexpr double AbGridStep = 0.11266336187471834863;
inline constexpr double AbGridPerDecade = 8.876;

// Marks an empty cell of the branch tables.
inline constexpr float EmptyCell = -999.0f;

// Origin of the readings.
enum SourceKind : int32_t { SourceNone = -1, SourceKmt = 0, SourceInstrument = 1 };

struct CurveWindowState {
  // --- identification and files (Windows-1250 texts) -----------------------
  char instrumentFilePath[PathCapacity];
  // The OAX file read last: "Načti další soubor OAX" walks on from it
  // whatever was loaded since.
  char lastInstrumentFilePath[PathCapacity];
  char soundingFilePath[PathCapacity];
  // The file last chosen in the KMT open dialog: the records are read from it
  // even after a save has pointed soundingFilePath at the output file.
  char kmtOpenDialogFileName[PathCapacity];
  char settingsFilePath[PathCapacity];
  char StartFolder[PathCapacity];
  char dateText[WordCapacity];
  char localityText[WordCapacity];
  char operatorText[WordCapacity];

  // --- readings (file order) -------------------------------------------------
  float readingAbHalf[MaxReadings];
  float readingMnHalf[MaxReadings];
  float readingRho[MaxReadings];
  float readingS[MaxReadings];
  float readingIpReference[MaxReadings];
  // 1..5; negated for a reading the user left out of the merge (and so of
  // the fit): it stays in the sounding and in its section point, whose
  // readings carry the branch as it is here.
  int32_t readingBranch[MaxReadings];
  int32_t readingGridIndex[MaxReadings];
  double readingLogAbHalf[MaxReadings];
  double readingLogRho[MaxReadings];
  int32_t readingCount;

  // --- AB/2 grid and branch tables [cell][slot] -------------------------------
  float gridAbHalf[GridCells];
  int32_t gridMinIndex;
  int32_t gridMaxIndex;
  int32_t branchCount;
  float branchMnHalf[BranchSlots];  // indexed by branch number 1..5
  float cellAbHalf[GridCells][BranchSlots];
  float cellS[GridCells][BranchSlots];
  float cellRho[GridCells][BranchSlots];
  float mergedRho[GridCells][BranchSlots];

  // --- display bounds and geometry ------------------------------------------
  float pixelsPerDecadeRho;
  float pixelsPerDecadeAb;
  float logRhoMin, logRhoMax;
  float logAbMin, logAbMax;
  float compositeShiftStep;
  int32_t textHeight, textWidth;
  int32_t imageWidth, imageHeight;
  int32_t plotLeft, plotTop, plotRight, plotBottom;
  int32_t marginLeft, marginBottom, marginTop, marginRight;
  int32_t scaleMarginPercent;
  int32_t markerHalfSize;

  // --- layered model ---------------------------------------------------------
  int32_t modelBoundaryCount;
  float modelRho[MaxLayers];
  float modelDepth[MaxLayers];
  float modelThickness[MaxLayers];
  int32_t depthFixed[FlagSlots];
  int32_t thicknessFixed[FlagSlots];
  int32_t rhoFixed[FlagSlots];
  int32_t clipboardBoundaryCount;
  float clipboardRho[MaxLayers];
  float clipboardDepth[MaxLayers];
  int32_t clipboardDepthFixed[FlagSlots];
  int32_t clipboardThicknessFixed[FlagSlots];
  int32_t clipboardRhoFixed[FlagSlots];
  float computedRho[GridCells];
  float computedRhoPacked[GridCells];
  double filterCoefficients[FilterLength];
  double modelFitError;
  // Width of the widest misfit text on the picture since it was last rebuilt
  // (pixels): a shorter text clears exactly what is left of it.
  int32_t ssqTextWidth;
  // Undo and redo of the model's changes, per sounding.
  ModelHistory modelHistory;

  // --- IP data ---------------------------------------------------------------
  float decaySampleValue[MaxReadings][MaxDecaySamples];
  int32_t decaySampleTime[MaxReadings][MaxDecaySamples];
  int32_t decaySampleCount[MaxReadings];
  float ipValue[MaxReadings][MaxIpWindows];
  int32_t ipWindowCount;
  int32_t ipWindowStart[MaxIpWindows];
  int32_t ipWindowEnd[MaxIpWindows];
  int32_t ipWindowMidTime[MaxIpWindows];
  int32_t ipWindowLength;
  int32_t ipWindowDelay;
  int32_t ipOnTime, ipOffTime, ipLeadTime, ipTailTime;
  int32_t ipMaxShown;

  // --- point bookkeeping -----------------------------------------------------
  int32_t pointNumber;
  int32_t previousPointNumber;
  int32_t pointNumberStep;
  int32_t profileNumber;
  float pointPosition;
  float pointElevation;
  int32_t sourceKind;
  int32_t soundingRecordIndex;
  std::FILE* soundingOutputHandle;

  // --- settings (orvwin.ini) ---------------------------------------------------
  bool averageOverlaps;
  int32_t inputMode;
  bool splineAllCurves;
  int32_t splineDegree;
  int32_t splineResolution;
  int32_t lineWidthMeasured, lineWidthComposite, lineWidthComputed;
  int32_t lineWidthActiveModel, lineWidthModel;
  int32_t colourBranch[BranchSlots];  // indexed by branch number 1..5
  int32_t colourComposite, colourComputed, colourModel, colourModelFixed;
  int32_t screenSplitPercent;

  // --- additions beyond the field's tools (their own settings file; all off
  // when it is missing, so every figure stays as without them) ---------------
  // The forward problem and its Jacobian by the long filter.
  bool accurateForward;
  // Equivalence ranges: how far above the best misfit, as a share of it, a
  // parameter may move it (0.1 by default).
  double equivalenceTolerance;

  // --- state flags -------------------------------------------------------------
  bool curveLoaded;
  bool compositeReady;
  bool curveDrawn;
  bool soundingOutputOpen;
  bool editCompositeMode;
  bool editIpOutlierMode;
  bool modelBuildMode;
  // A model change made with the mouse waits for the button's release to be
  // written back into the section point the sounding came from.
  bool modelWriteBackPending;
  bool modelActive;
  bool computedCurveValid;
  bool mouseDragging;
  bool describeModel;
  // The depth of investigation is drawn as a dashed line across the model
  // (off until the user asks for it).
  bool showDepthOfInvestigation;
  bool describeComputedCurve;
  bool modelLabelsDrawn;
  bool lockCurveScale;
  bool sectionWindowShown;
  bool fromSection;
  bool lastClickOutsidePlot;
  bool mouseEntryActive;
  bool ipAsIsolines;
  bool showDecayCurves;

  // --- interaction state -------------------------------------------------------
  int32_t cursorX, cursorY;
  int32_t editGridIndex;
  int32_t hotBoundary, hotLayer;
  int32_t previousHotBoundary, previousHotLayer;
  int32_t pickTolerance;

  // --- inversion working arrays -------------------------------------------------
  // Trial model of the forward problem: resistivities (ohm.m) and thicknesses
  // (m, not depths).
  double rhoParam[MaxLayers];
  double thickParam[MaxLayers];
  // d(apparent resistivity)/d(rho_k) and /d(h_k); rows are cells from gridMinIndex.
  double J_rho[GridCells][MaxLayers];
  double J_h[GridCells][MaxLayers];
  // dT/d(rho_k) and dT/d(h_k) of the resistivity transform, rows are the
  // abscissae -20 .. (gridMaxIndex - gridMinIndex) + 4.
  double transformSensRho[TransformAbscissae][MaxLayers];
  double transformSensThickness[TransformAbscissae][MaxLayers];
  // Weighted Jacobian (cells x free parameters), decomposed in place: its
  // diagonal holds the singular values afterwards.
  double weightedJacobian[SvdMaxRows][SvdMaxColumns];
  double svdU[SvdMaxRows][SvdMaxRows];        // rows: left singular vectors
  double svdV[SvdMaxColumns][SvdMaxColumns];  // columns: right singular vectors
  double residual[SvdMaxRows];                // ln(composite / computed) per cell
  double projectedResidual[SvdMaxRows];       // U x residual
  double dampingCandidate[2 * MaxLayers + 2];
  double parameterStep[SvdMaxColumns];  // change of ln(parameter) per column
};

static_assert(std::is_trivially_default_constructible_v<CurveWindowState>,
              "the state is allocated zero-filled and must need no constructor");

// Reading i is kept but left out of the merge.
inline bool readingMasked(const CurveWindowState& s, int i) {
  return s.readingBranch[i] < 0;
}

// The initial values a freshly created window holds before its settings are
// read (the construction order up to the settings file).
void setInitialCurveState(CurveWindowState& s);

// What the construction does after the settings file has been read.
void finishCurveStateConstruction(CurveWindowState& s);

}  // namespace orv
