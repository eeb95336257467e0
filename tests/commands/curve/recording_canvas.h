// A canvas that lists the drawing calls with the pen and text state they were
// made with; texts measure 7 pixels per character and 13 pixels high (8 per
// character in bold).
#pragma once

#include <string>
#include <vector>

#include "ui/canvas.h"

namespace testing_support {

enum class CallKind { Fill, Line, Polyline, Polygon, Ellipse, Text };

struct Call {
  CallKind kind;
  std::vector<ui::Point> points;  // line: start and end; fill/ellipse: corners
  std::string text;
  ui::Colour penColour;
  int penWidth;
  ui::PenMode penMode;
  ui::Colour brushColour;
  ui::Colour fontColour;
  bool bold;
  bool transparent;
};

class RecordingCanvas : public ui::Canvas {
 public:
  static constexpr int CharWidth = 7;
  static constexpr int BoldCharWidth = 8;
  static constexpr int TextHeight = 13;

  RecordingCanvas(int w, int h) : w_(w), h_(h) {}

  std::vector<Call> calls;

  void resize(int w, int h) {
    w_ = w;
    h_ = h;
  }
  void clear() { calls.clear(); }

  int width() const override { return w_; }
  int height() const override { return h_; }
  void setPenColour(ui::Colour c) override { pen_ = c; }
  void setPenWidth(int w) override { penWidth_ = w; }
  void setPenMode(ui::PenMode m) override { mode_ = m; }
  ui::Colour penColour() const override { return pen_; }
  int penWidth() const override { return penWidth_; }
  ui::PenMode penMode() const override { return mode_; }
  void setBrushColour(ui::Colour c) override { brush_ = c; }
  void setBrushStyle(ui::BrushStyle s) override { brushStyle_ = s; }
  void setFontColour(ui::Colour c) override { font_ = c; }
  void setFontBold(bool b) override { bold_ = b; }
  void setFontSize(int) override {}
  void setTextTransparent(bool t) override { transparent_ = t; }

  void setClipRect(int, int, int, int) override {}
  void clearClip() override {}
  void fillRect(int l, int t, int r, int b) override { add(CallKind::Fill, {{l, t}, {r, b}}, ""); }
  void moveTo(int x, int y) override { at_ = {x, y}; }
  void lineTo(int x, int y) override {
    add(CallKind::Line, {at_, {x, y}}, "");
    at_ = {x, y};
  }
  void polyline(const ui::Point* p, int n) override {
    add(CallKind::Polyline, std::vector<ui::Point>(p, p + n), "");
  }
  void polygon(const ui::Point* p, int n) override {
    add(CallKind::Polygon, std::vector<ui::Point>(p, p + n), "");
  }
  void ellipse(int l, int t, int r, int b) override {
    add(CallKind::Ellipse, {{l, t}, {r, b}}, "");
  }
  void textOut(int x, int y, std::string_view text) override {
    add(CallKind::Text, {{x, y}}, std::string(text));
  }
  ui::TextSize textExtent(std::string_view text) override {
    int chars = 0;
    for (unsigned char ch : text)
      if ((ch & 0xC0) != 0x80) ++chars;
    return {chars * (bold_ ? BoldCharWidth : CharWidth), TextHeight};
  }
  ui::Colour pixel(int, int) const override { return -1; }

  std::vector<Call> ofKind(CallKind k) const {
    std::vector<Call> out;
    for (const Call& c : calls)
      if (c.kind == k) out.push_back(c);
    return out;
  }
  const Call* findText(const std::string& text) const {
    for (const Call& c : calls)
      if (c.kind == CallKind::Text && c.text == text) return &c;
    return nullptr;
  }

 private:
  void add(CallKind k, std::vector<ui::Point> pts, std::string text) {
    calls.push_back(Call{k, std::move(pts), std::move(text), pen_, penWidth_, mode_, brush_, font_,
                         bold_, transparent_});
  }

  int w_, h_;
  ui::Colour pen_ = 0;
  int penWidth_ = 1;
  ui::PenMode mode_ = ui::PenMode::Copy;
  ui::Colour brush_ = 0xFFFFFF;
  ui::BrushStyle brushStyle_ = ui::BrushStyle::Solid;
  ui::Colour font_ = 0;
  bool bold_ = false;
  bool transparent_ = false;
  ui::Point at_{0, 0};
};

}  // namespace testing_support
