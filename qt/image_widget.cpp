#include "qt/image_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace ui {

ImageWidget::ImageWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  // The picture covers the widget; the rest is painted in paintEvent.
  setAttribute(Qt::WA_OpaquePaintEvent);
  canvas_.setFont(font());
  canvas_.setChangeNotifier([this] {
    if (refreshQueued_) return;
    refreshQueued_ = true;
    QMetaObject::invokeMethod(this, &ImageWidget::refresh, Qt::QueuedConnection);
  });
  // The canvas is born dirty (all of it); the first exposure paints all of it
  // anyway. Left dirty, it would never announce a change again.
  canvas_.takeDirtyRect();
}

QSize ImageWidget::sizeHint() const {
  return canvas_.image().size();
}

void ImageWidget::refresh() {
  refreshQueued_ = false;
  const QRect r = canvas_.takeDirtyRect();
  if (!r.isEmpty()) update(r);
}

void ImageWidget::setImageCursor(Cursor c) {
  setCursor(QCursor(qtCursorOf(c)));
}

Qt::CursorShape qtCursorOf(Cursor c) {
  switch (c) {
    case Cursor::Arrow:
      return Qt::ArrowCursor;
    case Cursor::Cross:
      return Qt::CrossCursor;
    case Cursor::SizeVertical:
      return Qt::SizeVerCursor;
    case Cursor::SizeHorizontal:
      return Qt::SizeHorCursor;
    case Cursor::Wait:
      return Qt::WaitCursor;
  }
  return Qt::ArrowCursor;
}

void ImageWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect();
  const QImage& image = canvas_.image();
  const QRect onImage = area & image.rect();
  if (!onImage.isEmpty()) painter.drawImage(onImage.topLeft(), image, onImage);
  // Beyond the picture (the widget grew and the owner kept the picture).
  const QRegion rest = QRegion(area).subtracted(QRegion(image.rect()));
  for (const QRect& r : rest) painter.fillRect(r, palette().window());
}

void ImageWidget::mousePressEvent(QMouseEvent* event) {
  emit mousePressed(event);
}
void ImageWidget::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMoved(event);
}
void ImageWidget::mouseReleaseEvent(QMouseEvent* event) {
  emit mouseReleased(event);
}
void ImageWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  emit mouseDoubleClicked(event);
}

void ImageWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit resized(event->size());
}

}  // namespace ui
