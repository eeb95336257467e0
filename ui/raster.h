// Pixel rasteriser over a 32-bit RGB buffer (rows of 0xFFRRGGBB, the layout of
// QImage::Format_RGB32). It draws exactly what the desktop pictures expect:
// lines exclude their end pixel, every operation touches a pixel at most once
// (so an XOR drawing repeated restores the picture bit for bit), alpha always
// stays 0xFF, and nothing is ever written outside the buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/canvas.h"

namespace ui::raster {

struct Buffer {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // in pixels (uint32_t), not bytes
};

// Half-open pixel rectangle: left <= x < right, top <= y < bottom.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool empty() const { return right <= left || bottom <= top; }
  void unite(const Rect& o);
};

// A horizontal run of pixels x0 <= x < x1 on row y.
struct Span {
  int y;
  int x0;
  int x1;
};

// Colours passed to the rasteriser are in the buffer's order, 0x00RRGGBB.
class Rasteriser {
 public:
  // left/top inclusive, right/bottom exclusive.
  void fillRect(const Buffer& buf, int left, int top, int right, int bottom, uint32_t rgb,
                PenMode mode);
  // Width 1: Bresenham without the end pixel. Width > 1: a capsule of that
  // diameter around the segment (round caps at both ends).
  void line(const Buffer& buf, Point a, Point b, int width, uint32_t rgb, PenMode mode);
  // The union of the segments' footprints, each pixel touched once; at width
  // 1 the last point is not drawn.
  void polyline(const Buffer& buf, const Point* points, int count, int width, uint32_t rgb,
                PenMode mode);
  // Interior (even-odd rule, pixel centres) with the brush when given, then
  // the closed outline with the pen.
  void polygon(const Buffer& buf, const Point* points, int count, int penWidth, uint32_t penRgb,
               std::optional<uint32_t> brushRgb, PenMode mode);
  // The ellipse inscribed in left <= x < right, top <= y < bottom: a ring of
  // the pen's width and, inside it, the brush when given.
  void ellipse(const Buffer& buf, int left, int top, int right, int bottom, int penWidth,
               uint32_t penRgb, std::optional<uint32_t> brushRgb, PenMode mode);

  // Every later operation touches only the pixels inside clip (nullopt: the
  // whole buffer).
  void setClip(std::optional<Rect> clip) { clip_ = clip; }

  // The area touched since the last call (empty when nothing was drawn).
  Rect takeDirty();
  const Rect& dirty() const { return dirty_; }

 private:
  struct Ink {
    bool set;        // copy: store value; otherwise XOR with value
    uint32_t value;  // pixel to store, or the 24-bit XOR key
  };
  static Ink inkOf(uint32_t rgb, PenMode mode);
  void apply(const Buffer& buf, int y, int x0, int x1, Ink ink);
  void applyMerged(const Buffer& buf, Ink ink);
  void collectSegment(const Buffer& buf, Point a, Point b, int width);

  Rect dirty_;
  std::optional<Rect> clip_;
  std::vector<Span> spans_;        // scratch of polyline
  std::vector<double> crossings_;  // scratch of polygon
};

}  // namespace ui::raster
