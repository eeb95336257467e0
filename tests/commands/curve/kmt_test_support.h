// A curve window without a window: the state, scripted dialogs, a recording
// chrome, a recording section and a canvas that keeps the lines drawn on it.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/zeroed_block.h"
#include "commands/curve/curve_session.h"
#include "core/curve/settings_file.h"
#include "ui/null_canvas.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace orv::testing {

// Keeps every line segment with its pen, answers text extents of a fixed
// font and reads every pixel as white.
class FakeCanvas : public ui::NullCanvas {
 public:
  struct Segment {
    int x0, y0, x1, y1;
    ui::Colour colour;
    int width;
    ui::PenMode mode;
  };

  std::vector<Segment> segments;
  std::vector<std::string> texts;
  int fills = 0;

  FakeCanvas() : ui::NullCanvas(800, 600, 8, 14) {}
  void fillRect(int, int, int, int) override { ++fills; }
  void moveTo(int x, int y) override {
    x_ = x;
    y_ = y;
  }
  void lineTo(int x, int y) override {
    segments.push_back({x_, y_, x, y, penColour(), penWidth(), penMode()});
    x_ = x;
    y_ = y;
  }
  void polyline(const ui::Point* p, int n) override {
    for (int i = 1; i < n; ++i)
      segments.push_back(
          {p[i - 1].x, p[i - 1].y, p[i].x, p[i].y, penColour(), penWidth(), penMode()});
  }
  void textOut(int, int, std::string_view t) override { texts.emplace_back(t); }
  // One cell per byte, as the Windows-1250 texts of the files measure.
  ui::TextSize textExtent(std::string_view t) override {
    return {8 * static_cast<int>(t.size()), 14};
  }
  ui::Colour pixel(int, int) const override { return 0xFFFFFF; }

 private:
  int x_ = 0, y_ = 0;
};

class RecordingSection : public SectionLink {
 public:
  int deletions = 0;
  int stores = 0;
  int shows = 0;
  int repaints = 0;
  void deleteCurrentPoint() override { ++deletions; }
  void storeSounding() override { ++stores; }
  void show() override { ++shows; }
  void repaint() override { ++repaints; }
};

struct TestWindow {
  ZeroedBlock<CurveWindowState> state;
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  FakeCanvas canvas;
  RecordingSection section;
  CurveSession session{*state, dialogs, canvas, chrome, section};

  TestWindow() {
    setInitialCurveState(*state);
    applyDefaultSettings(*state);
    finishCurveStateConstruction(*state);
  }
  ~TestWindow() {
    if (state->soundingOutputHandle) std::fclose(state->soundingOutputHandle);
  }
  CurveWindowState& s() { return *state; }
};

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              (name + "-" + std::to_string(static_cast<long>(::getpid())))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string write(const std::string& name, const std::string& bytes) const {
    std::string p = file(name);
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }

 private:
  std::filesystem::path path_;
};

inline std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace orv::testing
