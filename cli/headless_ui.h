// The curve window's ui interfaces without a window, for the command-line
// tool: nothing is drawn, texts measure a fixed 8 x 16 pixels per character,
// messages go to standard error and every question is cancelled.
#pragma once

#include "curve/section_link.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/window_chrome.h"

namespace orv::cli {

class HeadlessCanvas : public ui::Canvas {
 public:
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
  void fillRect(int, int, int, int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void polyline(const ui::Point*, int) override {}
  void polygon(const ui::Point*, int) override {}
  void ellipse(int, int, int, int) override {}
  void textOut(int, int, std::string_view) override {}
  ui::TextSize textExtent(std::string_view text) override;
  ui::Colour pixel(int, int) const override { return -1; }

 private:
  ui::Colour pen_ = 0;
  int penWidth_ = 1;
  ui::PenMode mode_ = ui::PenMode::Copy;
};

class StderrDialogs : public ui::Dialogs {
 public:
  void message(std::string_view text) override;
  std::optional<std::string> inputQuery(std::string_view, std::string_view,
                                        std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> openFile(const ui::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> saveFile(const ui::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<ui::Colour> chooseColour(ui::Colour) override { return std::nullopt; }
  std::optional<ui::FontChoice> chooseFont(const ui::FontChoice&) override { return std::nullopt; }
  bool printerSetup() override { return false; }
};

class NullChrome : public ui::WindowChrome {
 public:
  void setCaption(std::string_view) override {}
  void setButtonVisible(ui::Button, bool) override {}
  void focusButton(ui::Button) override {}
  void setCursor(ui::Cursor) override {}
  void setChecked(std::string_view, bool) override {}
  ui::ScreenSize screenSize() const override { return {1600, 1000}; }
  void placeDockedRight(int) override {}
  void showOtherWindow() override {}
};

// There is no section: a sounding never came from it.
class NoSection : public SectionLink {
 public:
  void deleteCurrentPoint() override {}
  void storeSounding() override {}
  void show() override {}
  void repaint() override {}
};

}  // namespace orv::cli
