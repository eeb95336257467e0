// Stand-ins for the curve window's picture and the section window, for the
// tests of the state operations and the settings.
#pragma once

#include <string>
#include <vector>

#include "base/zeroed_block.h"
#include "commands/curve/curve_session.h"
#include "ui/null_canvas.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace curvebase_test {

// A canvas of fixed size whose "W" measures 9 x 15 pixels, whatever the
// text; drawing is ignored, the texts measured are kept.
class FixedCanvas : public ui::NullCanvas {
 public:
  FixedCanvas() : ui::NullCanvas(800, 600) {}
  ui::TextSize textExtent(std::string_view text) override {
    measured.emplace_back(text);
    return {9, 15};
  }
  std::vector<std::string> measured;
};

class CountingSection : public orv::SectionLink {
 public:
  int deleted = 0;
  int stored = 0;
  int shown = 0;
  int repainted = 0;
  void deleteCurrentPoint() override { ++deleted; }
  void storeSounding() override { ++stored; }
  void show() override { ++shown; }
  void repaint() override { ++repainted; }
};

// One curve window: zero-filled state, scripted dialogs, recording chrome.
struct CurveFixture {
  orv::ZeroedBlock<orv::CurveWindowState> state;
  ui::ScriptedDialogs dialogs;
  FixedCanvas canvas;
  ui::RecordingChrome chrome;
  CountingSection section;
  orv::CurveSession session{*state, dialogs, canvas, chrome, section};
  orv::CurveWindowState& s = *state;
};

}  // namespace curvebase_test
