// A curve window state with the default display settings, a 600 x 400 plot
// box and stand-ins for the window around the picture.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "base/zeroed_block.h"
#include "commands/curve/curve_session.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace testing_support {

class CountingSection : public orv::SectionLink {
 public:
  int shown = 0;
  void deleteCurrentPoint() override {}
  void storeSounding() override {}
  void show() override { ++shown; }
  void repaint() override {}
};

// Default display settings of a missing settings file.
inline void useDefaultDisplaySettings(orv::CurveWindowState& s) {
  orv::setInitialCurveState(s);
  orv::finishCurveStateConstruction(s);
  s.splineAllCurves = true;
  s.splineDegree = 3;
  s.splineResolution = 128;
  s.lineWidthMeasured = 1;
  s.lineWidthComposite = 2;
  s.lineWidthComputed = 2;
  s.lineWidthActiveModel = 4;
  s.lineWidthModel = 2;
  const int branchColours[6] = {0, 0x800000, 0x8000, 0xFF, 0x800080, 0xFFFF};
  for (int j = 0; j < 6; ++j) s.colourBranch[j] = branchColours[j];
  s.colourComposite = 0;
  s.colourComputed = 0xFFFF00;
  s.colourModel = 0xFF00;
  s.colourModelFixed = 0xFFFF;
}

// Margins from a "W" of w x h pixels and an image whose plot box is
// plotWidth x plotHeight; bounds log rho 0..3, log AB/2 0..2.
inline void useChartGeometry(orv::CurveWindowState& s, int w, int h, int plotWidth,
                             int plotHeight) {
  s.textWidth = w;
  s.textHeight = h;
  s.marginLeft = s.marginRight = 4 * w;
  s.marginTop = s.marginBottom = 2 * h;
  s.imageWidth = plotWidth + 8 * w;
  s.imageHeight = plotHeight + 4 * h;
  s.logRhoMin = 0;
  s.logRhoMax = 3;
  s.logAbMin = 0;
  s.logAbMax = 2;
}

// Adds a reading the way the readers and deriveReadings leave it.
inline void addReading(orv::CurveWindowState& s, int branch, float abHalf, float rho,
                       int gridIndex) {
  const int i = s.readingCount++;
  s.readingBranch[i] = branch;
  s.readingAbHalf[i] = abHalf;
  s.readingMnHalf[i] = 1;
  s.readingRho[i] = rho;
  s.readingGridIndex[i] = gridIndex;
  s.readingLogAbHalf[i] = std::log10(static_cast<double>(abHalf));
  s.readingLogRho[i] = std::log10(static_cast<double>(rho));
}

}  // namespace testing_support
