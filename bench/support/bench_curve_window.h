// A curve window without a window for the drawing benchmarks: the state with
// the program's default look, a 1600 x 1000 picture and no one to ask.
#pragma once

#include <QGuiApplication>
#include <cmath>
#include <memory>

#include "base/zeroed_block.h"
#include "commands/curve/curve_session.h"
#include "commands/curve/no_section.h"
#include "core/curve/settings_file.h"
#include "qt/qimage_canvas.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace orv::bench {

// Text needs a running Qt application; one is made on first use.
inline void ensureGuiApplication() {
  static std::unique_ptr<QGuiApplication> app;
  if (app || QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "orv_bench";
  static char* argv[] = {name, nullptr};
  app = std::make_unique<QGuiApplication>(argc, argv);
}

// Five branches of twelve readings, each overlapping the next by eight grid
// steps, over a three-layer-like curve; branch b's resistivities are raised by
// 4 % x b, as different MN spacings give.
inline void addFiveBranchSounding(CurveWindowState& st, double branchOffset) {
  const float mn[5] = {1, 5, 20, 50, 150};
  for (int b = 0; b < 5; ++b)
    for (int r = 0; r < 12; ++r) {
      const int k = 4 * b + r;
      const int i = st.readingCount++;
      st.readingAbHalf[i] = static_cast<float>(std::pow(10.0, k * AbGridStep));
      st.readingMnHalf[i] = mn[b];
      st.readingRho[i] =
          static_cast<float>(60 * (1 + 0.6 * std::sin(k * 0.25)) * (1 + branchOffset * b));
      st.readingBranch[i] = b + 1;
    }
}

struct BenchCurveWindow {
  ZeroedBlock<CurveWindowState> s;
  ui::QImageCanvas canvas{1600, 1000};
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  NoSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};

  BenchCurveWindow() {
    setInitialCurveState(*s);
    applyDefaultSettings(*s);
    finishCurveStateConstruction(*s);
    s->sectionWindowShown = true;
  }
};

}  // namespace orv::bench
