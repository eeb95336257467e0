// The retained-bitmap drawing operations of the windows' image controls.
// Coordinates are pixels of the bitmap; colours are 0x00BBGGRR values.
// Lines follow the desktop convention the pictures were designed for: a
// line-to draws up to, but not including, its end point.
#pragma once

#include <cstdint>
#include <string_view>

namespace ui {

using Colour = int32_t;

enum class PenMode { Copy, Xor, NotXor, Not };
enum class BrushStyle { Solid, Clear };

struct Point {
  int x;
  int y;
};

struct TextSize {
  int width;
  int height;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int width() const = 0;
  virtual int height() const = 0;

  virtual void setPenColour(Colour c) = 0;
  virtual void setPenWidth(int w) = 0;
  virtual void setPenMode(PenMode m) = 0;
  virtual Colour penColour() const = 0;
  virtual int penWidth() const = 0;
  virtual PenMode penMode() const = 0;

  virtual void setBrushColour(Colour c) = 0;
  virtual void setBrushStyle(BrushStyle s) = 0;

  virtual void setFontColour(Colour c) = 0;
  virtual void setFontBold(bool bold) = 0;
  virtual void setFontSize(int points) = 0;  // 0 = the window's default size
  // Transparent text leaves the background; opaque text fills its box with
  // the brush colour first.
  virtual void setTextTransparent(bool transparent) = 0;

  // Confines every later drawing (fills, lines, shapes, text) to
  // left <= x < right, top <= y < bottom until clearClip; a new clip
  // replaces the old one.
  virtual void setClipRect(int left, int top, int right, int bottom) = 0;
  virtual void clearClip() = 0;

  // Fills left <= x < right, top <= y < bottom with the brush colour.
  virtual void fillRect(int left, int top, int right, int bottom) = 0;
  virtual void moveTo(int x, int y) = 0;
  virtual void lineTo(int x, int y) = 0;
  // Joined segments through the points; each pixel is touched once, the
  // last point is not drawn.
  virtual void polyline(const Point* points, int count) = 0;
  // Filled with the brush (unless clear) and outlined with the pen.
  virtual void polygon(const Point* points, int count) = 0;
  virtual void ellipse(int left, int top, int right, int bottom) = 0;

  // Text is UTF-8; (x, y) is its top-left corner.
  virtual void textOut(int x, int y, std::string_view text) = 0;
  virtual TextSize textExtent(std::string_view text) = 0;

  // Reads one pixel back (0x00BBGGRR); outside the bitmap: -1.
  virtual Colour pixel(int x, int y) const = 0;
};

}  // namespace ui
