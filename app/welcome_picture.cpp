#include "app/welcome_picture.h"

#include "base/zeroed_block.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/curve_session.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/no_section.h"
#include "core/curve/settings_file.h"
#include "core/interpretation/branch_merging.h"
#include "core/interpretation/forward_problem.h"
#include "qt/qimage_canvas.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace {

// A typical three-layer H-type sounding: a dry cover over a conductive clay
// over bedrock, measured in three overlapping branches.
void fillSounding(orv::CurveWindowState& s) {
  s.modelBoundaryCount = 2;
  s.modelRho[0] = 180.0f;
  s.modelRho[1] = 25.0f;
  s.modelRho[2] = 600.0f;
  s.modelDepth[0] = 3.0f;
  s.modelDepth[1] = 18.0f;
  s.modelDepth[2] = 1e9f;
  s.gridMinIndex = 0;
  s.gridMaxIndex = 24;
  orv::computeForwardValues(s, false);
  const float branchFactor[4] = {0, 0.96f, 1.0f, 1.05f};
  int n = 0;
  for (int branch = 1; branch <= 3; ++branch) {
    const int from = branch == 1 ? 0 : (branch - 1) * 8 - 1;
    const int to = branch == 3 ? 24 : branch * 8;
    for (int g = from; g <= to && n < orv::MaxReadings; ++g, ++n) {
      s.readingAbHalf[n] = orv::gridAbscissa(g);
      s.readingMnHalf[n] = branch == 1 ? 0.5f : branch == 2 ? 2.5f : 10.0f;
      s.readingRho[n] = s.computedRho[g] * branchFactor[branch];
      s.readingS[n] = 1.0f;
      s.readingBranch[n] = branch;
    }
  }
  s.readingCount = n;
}

}  // namespace

QImage drawWelcomePicture(int width, int height) {
  orv::ZeroedBlock<orv::CurveWindowState> state;
  orv::CurveWindowState& s = *state;
  orv::setInitialCurveState(s);
  orv::applyDefaultSettings(s);
  orv::finishCurveStateConstruction(s);
  ui::QImageCanvas canvas(width, height);
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  orv::NoSection section;
  orv::CurveSession c{s, dialogs, canvas, chrome, section};
  fillSounding(s);
  s.fromSection = true;
  s.sectionWindowShown = true;
  orv::deriveReadings(c, orv::ReadingOrigin::InMemory);
  orv::resetInterpretation(c);
  s.modelBoundaryCount = 2;  // the reset cleared the model; it is part of the picture
  orv::mergeBranchesCore(s, 2);
  s.modelActive = true;
  s.describeModel = false;
  orv::computeForwardValues(s, false);
  s.computedCurveValid = true;
  orv::repaintCurveWindow(c);
  return canvas.image().copy();
}
