#include "qt/qimage_canvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstring>

namespace ui {

namespace {

constexpr QRgb White = 0xFFFFFFFFu;

QString qstringOf(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QColor qcolorOf(Colour c) {
  return QColor::fromRgb(rgbOfColour(c) | 0xFF000000u);
}

}  // namespace

uint32_t rgbOfColour(Colour c) {
  const auto v = static_cast<uint32_t>(c);
  return ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}

Colour colourOfRgb(uint32_t rgb) {
  return static_cast<Colour>(((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu));
}

QImageCanvas::QImageCanvas(int w, int h)
    : image_(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32) {
  image_.fill(White);
  if (qGuiApp)
    font_ = QGuiApplication::font();
  else
    font_ = QFont(QStringLiteral("DejaVu Sans"), 9);
  dirty_ = image_.rect();
}

void QImageCanvas::resize(int w, int h) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  if (w == image_.width() && h == image_.height()) return;
  QImage next(w, h, QImage::Format_RGB32);
  next.fill(White);
  const int rows = std::min(h, image_.height());
  const auto bytes = static_cast<std::size_t>(std::min(w, image_.width())) * sizeof(QRgb);
  for (int y = 0; y < rows; ++y) std::memcpy(next.scanLine(y), image_.constScanLine(y), bytes);
  image_ = std::move(next);
  touched(image_.rect());
}

void QImageCanvas::setFont(const QFont& font) {
  font_ = font;
}

QRect QImageCanvas::takeDirtyRect() {
  const QRect r = dirty_;
  dirty_ = QRect();
  return r;
}

void QImageCanvas::touched(const QRect& r) {
  const QRect clipped = r & image_.rect();
  if (clipped.isEmpty()) return;
  const bool wasClean = dirty_.isEmpty();
  dirty_ = dirty_.united(clipped);
  if (wasClean && notify_) notify_();
}

void QImageCanvas::drawn() {
  const raster::Rect r = raster_.takeDirty();
  if (!r.empty()) touched(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

raster::Buffer QImageCanvas::buffer() {
  // bits() is taken afresh for every operation: a copy of the image handed
  // out meanwhile (a saved picture, a print) makes the next write detach.
  auto* bits = reinterpret_cast<uint32_t*>(image_.bits());
  return raster::Buffer{bits, image_.width(), image_.height(),
                        static_cast<int>(image_.bytesPerLine() / sizeof(uint32_t))};
}

void QImageCanvas::setClipRect(int left, int top, int right, int bottom) {
  clipped_ = true;
  clip_ = QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
  raster_.setClip(raster::Rect{left, top, std::max(left, right), std::max(top, bottom)});
}

void QImageCanvas::clearClip() {
  clipped_ = false;
  clip_ = QRect();
  raster_.setClip(std::nullopt);
}

void QImageCanvas::fillRect(int left, int top, int right, int bottom) {
  // The desktop FillRect paints with the brush whatever the pen's mode.
  raster_.fillRect(buffer(), left, top, right, bottom, rgbOfColour(brushColour_), PenMode::Copy);
  drawn();
}

void QImageCanvas::moveTo(int x, int y) {
  position_ = {x, y};
}

void QImageCanvas::lineTo(int x, int y) {
  raster_.line(buffer(), position_, {x, y}, std::max(penWidth_, 1), rgbOfColour(penColour_),
               penMode_);
  position_ = {x, y};
  drawn();
}

void QImageCanvas::polyline(const Point* points, int count) {
  if (!points || count < 1) return;
  raster_.polyline(buffer(), points, count, std::max(penWidth_, 1), rgbOfColour(penColour_),
                   penMode_);
  position_ = points[count - 1];
  drawn();
}

void QImageCanvas::polygon(const Point* points, int count) {
  if (!points || count < 2) return;
  std::optional<uint32_t> brush;
  if (brushStyle_ == BrushStyle::Solid) brush = rgbOfColour(brushColour_);
  raster_.polygon(buffer(), points, count, std::max(penWidth_, 1), rgbOfColour(penColour_), brush,
                  penMode_);
  drawn();
}

void QImageCanvas::ellipse(int left, int top, int right, int bottom) {
  std::optional<uint32_t> brush;
  if (brushStyle_ == BrushStyle::Solid) brush = rgbOfColour(brushColour_);
  raster_.ellipse(buffer(), left, top, right, bottom, std::max(penWidth_, 1),
                  rgbOfColour(penColour_), brush, penMode_);
  drawn();
}

QFont QImageCanvas::currentFont() const {
  QFont f = font_;
  f.setBold(fontBold_);
  if (fontSize_ > 0) f.setPointSize(fontSize_);
  return f;
}

void QImageCanvas::textOut(int x, int y, std::string_view text) {
  // An empty clip admits nothing (QPainter would take it for no clip).
  if (text.empty() || (clipped_ && clip_.isEmpty())) return;
  const QFont font = currentFont();
  const QString s = qstringOf(text);
  const QFontMetrics fm(font, &image_);
  const QRect box(x, y, fm.horizontalAdvance(s), fm.height());
  if (!textTransparent_) {
    raster_.fillRect(buffer(), box.left(), box.top(), box.left() + box.width(),
                     box.top() + box.height(), rgbOfColour(brushColour_), PenMode::Copy);
    drawn();
  }
  // Glyphs may overhang their advance (italics, accents): widened generously.
  QRect shown =
      box.united(fm.boundingRect(s).translated(x, y + fm.ascent())).adjusted(-2, -2, 2, 2);
  {
    QPainter p(&image_);
    if (clipped_) {
      p.setClipRect(clip_);
      shown &= clip_;
    }
    p.setFont(font);
    p.setPen(qcolorOf(fontColour_));
    p.drawText(QPoint(x, y + fm.ascent()), s);
  }
  touched(shown);
}

TextSize QImageCanvas::textExtent(std::string_view text) {
  const QFontMetrics fm(currentFont(), &image_);
  return TextSize{fm.horizontalAdvance(qstringOf(text)), fm.height()};
}

Colour QImageCanvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return -1;
  const auto* row = reinterpret_cast<const uint32_t*>(image_.constScanLine(y));
  return colourOfRgb(row[x] & 0xFFFFFFu);
}

}  // namespace ui
