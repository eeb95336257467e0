// Stand-ins for the curve window's picture and the section window, for the
// tests of the state operations and the settings.
#pragma once

#include <string>
#include <vector>

#include "base/zeroed_block.h"
#include "curve/curve_session.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace curvebase_test {

// A canvas of fixed size whose "W" measures 9 x 15 pixels; drawing is ignored.
class FixedCanvas : public ui::Canvas {
 public:
  int w = 800;
  int h = 600;
  int width() const override { return w; }
  int height() const override { return h; }
  void setPenColour(ui::Colour c) override { pen_ = c; }
  void setPenWidth(int pw) override { penWidth_ = pw; }
  void setPenMode(ui::PenMode m) override { mode_ = m; }
  ui::Colour penColour() const override { return pen_; }
  int penWidth() const override { return penWidth_; }
  ui::PenMode penMode() const override { return mode_; }
  void setBrushColour(ui::Colour) override {}
  void setBrushStyle(ui::BrushStyle) override {}
  void setFontColour(ui::Colour) override {}
  void setFontBold(bool) override {}
  void setFontSize(int) override {}
  void setTextTransparent(bool) override {}
  void fillRect(int, int, int, int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void polyline(const ui::Point*, int) override {}
  void polygon(const ui::Point*, int) override {}
  void ellipse(int, int, int, int) override {}
  void textOut(int, int, std::string_view) override {}
  ui::TextSize textExtent(std::string_view text) override {
    measured.emplace_back(text);
    return {9, 15};
  }
  ui::Colour pixel(int, int) const override { return 0; }

  std::vector<std::string> measured;

 private:
  ui::Colour pen_ = 0;
  int penWidth_ = 1;
  ui::PenMode mode_ = ui::PenMode::Copy;
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
