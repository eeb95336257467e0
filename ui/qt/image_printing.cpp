#include "ui/qt/image_printing.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace ui {

bool printImage(QPrinter& printer, const QImage& image) {
  if (image.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  QSize size = image.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), size.width(), size.height());
  painter.setWindow(image.rect());
  painter.drawImage(0, 0, image);
  return painter.end();
}

}  // namespace ui
