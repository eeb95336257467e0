// Shared pieces of the forward-problem and inversion tests: a state prepared
// as a freshly created window, a model setter, a composite curve made from a
// model, and recording stand-ins for the canvas and the section.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "base/zeroed_block.h"
#include "commands/curve/curve_session.h"
#include "core/curve/curve_window_state.h"
#include "core/interpretation/forward_problem.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace numerics_test {

struct TextCall {
  int x;
  int y;
  std::string text;
};

// Measures 8 x 16 pixels per character and records the texts; every other
// drawing call only counts.
class TextCanvas : public ui::Canvas {
 public:
  std::vector<TextCall> texts;
  int drawCalls = 0;

  int width() const override { return 800; }
  int height() const override { return 600; }
  void setPenColour(ui::Colour c) override { pen_ = c; }
  void setPenWidth(int w) override { penWidth_ = w; }
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
  void setClipRect(int, int, int, int) override {}
  void clearClip() override {}
  void fillRect(int, int, int, int) override { ++drawCalls; }
  void moveTo(int, int) override {}
  void lineTo(int, int) override { ++drawCalls; }
  void polyline(const ui::Point*, int) override { ++drawCalls; }
  void polygon(const ui::Point*, int) override { ++drawCalls; }
  void ellipse(int, int, int, int) override { ++drawCalls; }
  void textOut(int x, int y, std::string_view text) override {
    texts.push_back({x, y, std::string(text)});
  }
  ui::TextSize textExtent(std::string_view text) override {
    return {static_cast<int>(text.size()) * 8, 16};
  }
  ui::Colour pixel(int, int) const override { return -1; }

 private:
  ui::Colour pen_ = 0;
  int penWidth_ = 1;
  ui::PenMode mode_ = ui::PenMode::Copy;
};

class CountingSection : public orv::SectionLink {
 public:
  int deleted = 0;
  int stored = 0;
  void deleteCurrentPoint() override { ++deleted; }
  void storeSounding() override { ++stored; }
  void show() override {}
  void repaint() override {}
};

struct Fixture {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  ui::ScriptedDialogs dialogs;
  TextCanvas canvas;
  ui::RecordingChrome chrome;
  CountingSection section;
  orv::CurveSession session{s, dialogs, canvas, chrome, section};

  Fixture() {
    orv::setInitialCurveState(s);
    orv::finishCurveStateConstruction(s);
    s.gridMinIndex = 0;
    s.gridMaxIndex = 29;
    s.imageWidth = 800;
    s.imageHeight = 600;
    s.plotLeft = 40;
    s.plotRight = 760;
    s.plotTop = 32;
    s.plotBottom = 568;
    s.marginLeft = s.marginRight = 40;
    s.marginTop = s.marginBottom = 32;
    s.textWidth = 8;
    s.textHeight = 16;
    s.logRhoMin = 0;
    s.logRhoMax = 3;
    s.logAbMin = -0.3f;
    s.logAbMax = 3;
    s.pixelsPerDecadeRho = 240;
    s.pixelsPerDecadeAb = 160;
    s.curveLoaded = true;
    s.compositeReady = true;
  }
};

// rho has N + 1 entries, depth N.
inline void setModel(orv::CurveWindowState& s, const std::vector<double>& rho,
                     const std::vector<double>& depth) {
  s.modelBoundaryCount = static_cast<int>(depth.size());
  for (size_t i = 0; i < rho.size(); ++i) s.modelRho[i] = static_cast<float>(rho[i]);
  for (size_t i = 0; i < depth.size(); ++i) s.modelDepth[i] = static_cast<float>(depth[i]);
  s.modelDepth[depth.size()] = 1e9f;
}

// The composite curve becomes the computed curve of the given model, on the
// cells first..last; other cells are empty.
inline void compositeFromModel(orv::CurveWindowState& s, const std::vector<double>& rho,
                               const std::vector<double>& depth, int first, int last) {
  const int n = s.modelBoundaryCount;
  float keepRho[orv::MaxLayers];
  float keepDepth[orv::MaxLayers];
  for (int i = 0; i < orv::MaxLayers; ++i) {
    keepRho[i] = s.modelRho[i];
    keepDepth[i] = s.modelDepth[i];
  }
  s.gridMinIndex = first;
  s.gridMaxIndex = last;
  setModel(s, rho, depth);
  orv::computeForwardValues(s, false);
  for (int g = 0; g < orv::GridCells; ++g) {
    s.mergedRho[g][0] = g >= first && g <= last ? s.computedRho[g] : orv::EmptyCell;
  }
  s.modelBoundaryCount = n;
  for (int i = 0; i < orv::MaxLayers; ++i) {
    s.modelRho[i] = keepRho[i];
    s.modelDepth[i] = keepDepth[i];
  }
}

}  // namespace numerics_test
