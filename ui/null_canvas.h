// A canvas without pixels: it keeps the pen, measures text in a fixed cell
// per character and draws nothing. For pictures nobody looks at (the
// command-line tool) and as the base of the test canvases that record calls.
#pragma once

#include "ui/canvas.h"

namespace ui {

class NullCanvas : public Canvas {
 public:
  explicit NullCanvas(int width = 800, int height = 600, int charWidth = 8, int charHeight = 16)
      : width_(width), height_(height), charWidth_(charWidth), charHeight_(charHeight) {}

  int width() const override { return width_; }
  int height() const override { return height_; }
  void setSize(int width, int height) {
    width_ = width;
    height_ = height;
  }

  void setPenColour(Colour c) override { pen_ = c; }
  void setPenWidth(int w) override { penWidth_ = w; }
  void setPenMode(PenMode m) override { mode_ = m; }
  Colour penColour() const override { return pen_; }
  int penWidth() const override { return penWidth_; }
  PenMode penMode() const override { return mode_; }

  void setBrushColour(Colour) override {}
  void setBrushStyle(BrushStyle) override {}
  void setFontColour(Colour) override {}
  void setFontBold(bool) override {}
  void setFontSize(int) override {}
  void setTextTransparent(bool) override {}

  void setClipRect(int, int, int, int) override {}
  void clearClip() override {}
  void fillRect(int, int, int, int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void polyline(const Point*, int) override {}
  void polygon(const Point*, int) override {}
  void ellipse(int, int, int, int) override {}
  void textOut(int, int, std::string_view) override {}
  // charWidth per UTF-8 character, charHeight high.
  TextSize textExtent(std::string_view text) override;
  Colour pixel(int, int) const override { return -1; }

 private:
  int width_, height_;
  int charWidth_, charHeight_;
  Colour pen_ = 0;
  int penWidth_ = 1;
  PenMode mode_ = PenMode::Copy;
};

}  // namespace ui
