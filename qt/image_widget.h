// The image control of the windows, after Qt's Scribble example: the widget
// holds the picture, every drawing goes into it, and paintEvent only blits
// the part that changed.
#pragma once

#include <QSize>
#include <QWidget>

#include "qt/qimage_canvas.h"
#include "ui/window_chrome.h"

class QMouseEvent;
class QPaintEvent;
class QResizeEvent;

namespace ui {

class ImageWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ImageWidget(QWidget* parent = nullptr);

  QImageCanvas& canvas() { return canvas_; }
  const QImageCanvas& canvas() const { return canvas_; }

  QSize sizeHint() const override;
  // Schedules a repaint of what was drawn since the last refresh. Drawing
  // through the canvas calls it by itself (once per burst, from the event
  // loop); calling it directly is harmless.
  void refresh();
  void setImageCursor(Cursor c);

 signals:
  void mousePressed(QMouseEvent* event);
  void mouseMoved(QMouseEvent* event);
  void mouseReleased(QMouseEvent* event);
  void mouseDoubleClicked(QMouseEvent* event);
  // The owner decides whether the picture follows the new size.
  void resized(QSize size);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImageCanvas canvas_;
  bool refreshQueued_ = false;
};

Qt::CursorShape qtCursorOf(Cursor c);

}  // namespace ui
