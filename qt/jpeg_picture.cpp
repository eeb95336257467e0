#include "qt/jpeg_picture.h"

#include <QImage>
#include <QImageWriter>
#include <algorithm>

#include "ui/dialogs.h"

namespace ui {

QImage drawnPart(const QImage& image, int margin) {
  const QImage rgb =
      image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  int left = rgb.width(), right = -1, top = -1, bottom = -1;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    int first = -1, last = -1;
    for (int x = 0; x < rgb.width(); ++x) {
      if ((row[x] & 0xFFFFFFu) == 0xFFFFFFu) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first < 0) continue;
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, first);
    right = std::max(right, last);
  }
  if (top < 0) return image;
  const QRect drawn(QPoint(left, top), QPoint(right, bottom));
  return image.copy(drawn.adjusted(-margin, -margin, margin, margin) & image.rect());
}

bool writeJpegPicture(const QImage& image, const std::string& path, Dialogs& dialogs) {
  QImageWriter writer(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())), "jpeg");
  if (!path.empty() && !image.isNull() && writer.write(image)) return true;
  dialogs.message(JpegNotWrittenMessage + path);
  return false;
}

}  // namespace ui
