// The production canvas: a persistent RGB32 QImage that every drawing goes
// into. Lines, polylines, fills, polygons and ellipses go through the exact
// rasteriser (so XOR drawings repeated restore the picture bit for bit); text
// goes through QPainter with the window's font.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <functional>

#include "ui/canvas.h"
#include "ui/raster.h"

namespace ui {

// 0x00BBGGRR <-> 0x00RRGGBB (the image's pixel order).
uint32_t rgbOfColour(Colour c);
Colour colourOfRgb(uint32_t rgb);

class QImageCanvas : public Canvas {
 public:
  explicit QImageCanvas(int w = 1, int h = 1);

  QImage& image() { return image_; }
  const QImage& image() const { return image_; }
  // Keeps the old picture at the top-left; new area white.
  void resize(int w, int h);
  void setFont(const QFont& font);
  const QFont& baseFont() const { return font_; }
  // Union of the areas touched since the last call.
  QRect takeDirtyRect();
  // Called whenever the dirty area turns from empty to non-empty, so that a
  // widget can schedule one repaint for a whole burst of drawing.
  void setChangeNotifier(std::function<void()> notify) { notify_ = std::move(notify); }

  int width() const override { return image_.width(); }
  int height() const override { return image_.height(); }

  void setPenColour(Colour c) override { penColour_ = c; }
  void setPenWidth(int w) override { penWidth_ = w; }
  void setPenMode(PenMode m) override { penMode_ = m; }
  Colour penColour() const override { return penColour_; }
  int penWidth() const override { return penWidth_; }
  PenMode penMode() const override { return penMode_; }

  void setBrushColour(Colour c) override { brushColour_ = c; }
  void setBrushStyle(BrushStyle s) override { brushStyle_ = s; }
  Colour brushColour() const { return brushColour_; }
  BrushStyle brushStyle() const { return brushStyle_; }

  void setFontColour(Colour c) override { fontColour_ = c; }
  void setFontBold(bool bold) override { fontBold_ = bold; }
  void setFontSize(int points) override { fontSize_ = points; }
  void setTextTransparent(bool transparent) override { textTransparent_ = transparent; }

  void setClipRect(int left, int top, int right, int bottom) override;
  void clearClip() override;
  void fillRect(int left, int top, int right, int bottom) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void polyline(const Point* points, int count) override;
  void polygon(const Point* points, int count) override;
  void ellipse(int left, int top, int right, int bottom) override;

  void textOut(int x, int y, std::string_view text) override;
  TextSize textExtent(std::string_view text) override;

  Colour pixel(int x, int y) const override;

  Point penPosition() const { return position_; }

 private:
  raster::Buffer buffer();
  QFont currentFont() const;
  void touched(const QRect& r);
  void drawn();

  QImage image_;
  QFont font_;
  raster::Rasteriser raster_;
  QRect dirty_;
  // The clip of setClipRect, while clipped_.
  bool clipped_ = false;
  QRect clip_;
  std::function<void()> notify_;

  Colour penColour_ = 0x000000;
  int penWidth_ = 1;
  PenMode penMode_ = PenMode::Copy;
  Colour brushColour_ = 0xFFFFFF;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  Colour fontColour_ = 0x000000;
  bool fontBold_ = false;
  int fontSize_ = 0;
  bool textTransparent_ = false;
  Point position_{0, 0};
};

}  // namespace ui
