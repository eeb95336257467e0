#include "commands/curve/derive_readings.h"

#include <cmath>
#include <cstring>

#include "commands/curve/curve_rendering.h"
#include "core/curve/grid_index.h"

namespace orv {
namespace {

void moveReading(CurveWindowState& s, int from, int to) {
  s.readingAbHalf[to] = s.readingAbHalf[from];
  s.readingMnHalf[to] = s.readingMnHalf[from];
  s.readingRho[to] = s.readingRho[from];
  s.readingS[to] = s.readingS[from];
  s.readingIpReference[to] = s.readingIpReference[from];
  s.readingBranch[to] = s.readingBranch[from];
  s.readingGridIndex[to] = s.readingGridIndex[from];
  s.readingLogAbHalf[to] = s.readingLogAbHalf[from];
  s.readingLogRho[to] = s.readingLogRho[from];
  s.decaySampleCount[to] = s.decaySampleCount[from];
  std::memcpy(s.decaySampleValue[to], s.decaySampleValue[from], sizeof s.decaySampleValue[to]);
  std::memcpy(s.decaySampleTime[to], s.decaySampleTime[from], sizeof s.decaySampleTime[to]);
  std::memcpy(s.ipValue[to], s.ipValue[from], sizeof s.ipValue[to]);
}

// A reading left out of the merge keeps its branch negated (see
// ReadingMasked in curve_window_state.h).
bool fitsGrid(float abHalf, int32_t branch) {
  if (branch == 0 || branch < -MaxBranch || branch > MaxBranch) return false;
  if (!std::isfinite(abHalf)) return false;
  if (abHalf <= 0) return true;  // refused as a whole by deriveReadings
  int32_t k = gridIndexOf(abHalf).k;
  return k >= 0 && k < GridCells;
}

int32_t clampGridIndex(int32_t k) {
  return k < 0 ? 0 : (k >= GridCells ? GridCells - 1 : k);
}

// Raises hi and lowers lo to v; values that are not finite (log10 of a
// non-positive or infinite figure) would leave the plot without a scale and
// are not taken.
void widen(float& lo, float& hi, double v) {
  if (!std::isfinite(v)) return;
  if (v > hi) hi = static_cast<float>(v);
  if (v < lo) lo = static_cast<float>(v);
}

void raise(float& hi, double v) {
  if (std::isfinite(v) && v > hi) hi = static_cast<float>(v);
}

}  // namespace

int dropUnusableReadings(CurveWindowState& s) {
  if (s.readingCount < 0) s.readingCount = 0;
  if (s.readingCount > MaxReadings) s.readingCount = MaxReadings;
  int kept = 0;
  for (int i = 0; i < s.readingCount; ++i) {
    if (!fitsGrid(s.readingAbHalf[i], s.readingBranch[i])) continue;
    if (kept != i) moveReading(s, i, kept);
    ++kept;
  }
  int dropped = s.readingCount - kept;
  s.readingCount = kept;
  return dropped;
}

int deriveReadings(CurveSession& c, ReadingOrigin origin) {
  CurveWindowState& s = c.s;
  s.mouseDragging = false;
  c.chrome.setCursor(ui::Cursor::Arrow);
  s.hotLayer = s.hotBoundary = -1;

  dropUnusableReadings(s);

  // Smallest and largest AB/2 before anything is written, so that a refused
  // sounding leaves the grid values of the previous one untouched. The
  // readings left out of the merge do not widen the curve's cells: the
  // composite would have no value at its ends.
  constexpr float NoSmallest = 999999.0f;
  float smallest = NoSmallest;
  float largest = 0.0f;
  for (int i = 0; i < s.readingCount; ++i) {
    if (readingMasked(s, i)) continue;
    if (s.readingAbHalf[i] < smallest) smallest = s.readingAbHalf[i];
    if (s.readingAbHalf[i] > largest) largest = s.readingAbHalf[i];
  }
  // A sounding without a usable reading is the reader's to refuse; the
  // section's stored points are never touched by a bad file.
  if (s.readingCount == 0 || smallest <= 0 || largest <= 0 || smallest == NoSmallest) return -1;

  for (int i = 0; i < s.readingCount; ++i) {
    GridCell g = gridIndexOf(s.readingAbHalf[i]);
    s.readingGridIndex[i] = g.k;
    s.gridAbHalf[g.k] = g.value;
  }

  // A spacing just above 0.6 m takes grid index 0 from the table but -1 from
  // the logarithmic rule; the grid starts at 0.
  s.gridMinIndex = clampGridIndex(logGridIndex(smallest));
  s.gridMaxIndex = clampGridIndex(logGridIndex(largest));

  ui::TextSize w = c.canvas.textExtent("W");
  s.textHeight = w.height;
  s.textWidth = w.width;
  s.imageWidth = c.canvas.width();
  s.imageHeight = c.canvas.height();

  const bool autoscale = !s.lockCurveScale;
  if (autoscale) {
    s.logRhoMax = 0;
    s.logAbMax = 0;
    s.logRhoMin = 4;
    s.logAbMin = -0.275f;
  }
  s.marginLeft = 4 * s.textWidth;
  s.marginRight = modelTableMargin(c);
  s.marginTop = s.marginBottom = 2 * s.textHeight;

  const bool skipNonPositiveRho = origin == ReadingOrigin::OaxWithIpHeader ||
                                  origin == ReadingOrigin::Sas || origin == ReadingOrigin::InMemory;
  for (int i = 0; i < s.readingCount; ++i) {
    if (skipNonPositiveRho && !(s.readingRho[i] > 0)) continue;
    s.readingLogAbHalf[i] = std::log10(static_cast<double>(s.readingAbHalf[i]));
    s.readingLogRho[i] = std::log10(static_cast<double>(s.readingRho[i]));
    if (autoscale) {
      raise(s.logAbMax, s.readingLogAbHalf[i]);
      widen(s.logRhoMin, s.logRhoMax, s.readingLogRho[i]);
    }
  }

  if (autoscale) {
    int n = s.modelBoundaryCount;
    if (n > MaxLayers - 1) n = MaxLayers - 1;  // layer n is read below
    for (int q = 0; n > 0 && q <= n; ++q) {
      if (q < n) widen(s.logAbMin, s.logAbMax, std::log10(static_cast<double>(s.modelDepth[q])));
      widen(s.logRhoMin, s.logRhoMax, std::log10(static_cast<double>(s.modelRho[q])));
    }
    const int m = s.scaleMarginPercent;
    const int h = m / 2;
    // Each product is formed in double and rounded to float32 only when
    // stored, never in between.
    auto widened = [](int percent, float bound) {
      return static_cast<float>(percent * static_cast<double>(bound) * 0.01);
    };
    s.logRhoMin = widened(100 - m, s.logRhoMin);
    s.logRhoMax = widened(100 + m, s.logRhoMax);
    s.logAbMin = s.logAbMin < 0 ? widened(100 + h, s.logAbMin) : widened(100 - h, s.logAbMin);
  }

  if (origin == ReadingOrigin::Kmt) {
    ++s.soundingRecordIndex;
    s.sourceKind = SourceKmt;
  } else {
    s.sourceKind = SourceInstrument;
  }
  return 1;
}

std::string readingFailedMessage(std::string_view shownPath) {
  std::string text = "chyba při čtení";
  if (!shownPath.empty()) text += ": " + std::string(shownPath);
  return text;
}

void resetInterpretation(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.curveLoaded = true;
  s.curveDrawn = false;
  s.compositeReady = false;
  s.modelBuildMode = false;
  s.modelActive = false;
  s.modelLabelsDrawn = false;
  s.computedCurveValid = false;
  // The mouse entry keeps editing the composite it has just laid out.
  if (!s.mouseEntryActive) s.editCompositeMode = false;
  s.modelBoundaryCount = 0;
  s.cursorX = s.cursorY = -1;
  s.modelWriteBackPending = false;
  for (int i = 0; i < FlagSlots; ++i) {
    s.depthFixed[i] = 0;
    s.thicknessFixed[i] = 0;
    s.rhoFixed[i] = 0;
  }
  s.modelHistory.reset(s);
  c.chrome.setButtonVisible(ui::Button::Optimise, false);
  c.chrome.setButtonVisible(ui::Button::Transfer, false);
}

}  // namespace orv
