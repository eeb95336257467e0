#include "qt/image_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <vector>

namespace {

using ui::Cursor;
using ui::ImageWidget;

QMouseEvent mouseEvent(QEvent::Type type, QPoint at, Qt::MouseButton button,
                       Qt::KeyboardModifiers mods = Qt::NoModifier) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                    ? Qt::MouseButtons()
                                    : Qt::MouseButtons(button);
  return QMouseEvent(type, QPointF(at), QPointF(at), button, held, mods);
}

TEST(ImageWidget, SizeHintIsTheImageSizeAndMouseTrackingIsOn) {
  ImageWidget w;
  w.canvas().resize(320, 200);
  EXPECT_EQ(w.sizeHint(), QSize(320, 200));
  EXPECT_TRUE(w.hasMouseTracking());
}

TEST(ImageWidget, BlitsThePicture) {
  ImageWidget w;
  w.canvas().resize(40, 30);
  w.resize(40, 30);
  w.canvas().setBrushColour(0x0000FF);
  w.canvas().fillRect(0, 0, 20, 30);
  const QImage shot = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shot.pixel(5, 5), 0xFFFF0000u);
  EXPECT_EQ(shot.pixel(30, 5), 0xFFFFFFFFu);
}

TEST(ImageWidget, DrawingSchedulesOneRefreshThatTakesTheDirtyArea) {
  ImageWidget w;
  w.canvas().resize(50, 50);
  w.canvas().takeDirtyRect();
  w.canvas().moveTo(1, 1);
  w.canvas().lineTo(30, 30);
  EXPECT_FALSE(w.canvas().takeDirtyRect().isEmpty());
  w.canvas().lineTo(40, 30);
  QApplication::processEvents();  // the queued refresh
  EXPECT_TRUE(w.canvas().takeDirtyRect().isEmpty());
}

TEST(ImageWidget, AFreshWidgetRefreshesItsFirstDrawing) {
  ImageWidget w;
  w.canvas().moveTo(0, 0);
  w.canvas().lineTo(5, 0);
  QApplication::processEvents();
  EXPECT_TRUE(w.canvas().takeDirtyRect().isEmpty()) << "the drawing was never shown";
}

TEST(ImageWidget, ForwardsMouseEventsAsSignals) {
  ImageWidget w;
  std::vector<std::pair<QString, QPoint>> seen;
  Qt::KeyboardModifiers mods;
  QObject::connect(&w, &ImageWidget::mousePressed, [&](QMouseEvent* e) {
    seen.push_back({"press", e->position().toPoint()});
    mods = e->modifiers();
  });
  QObject::connect(&w, &ImageWidget::mouseMoved, [&](QMouseEvent* e) {
    seen.push_back({"move", e->position().toPoint()});
  });
  QObject::connect(&w, &ImageWidget::mouseReleased, [&](QMouseEvent* e) {
    seen.push_back({"release", e->position().toPoint()});
  });
  QObject::connect(&w, &ImageWidget::mouseDoubleClicked, [&](QMouseEvent* e) {
    seen.push_back({"double", e->position().toPoint()});
  });
  w.resize(100, 100);
  auto press = mouseEvent(QEvent::MouseButtonPress, {10, 12}, Qt::LeftButton, Qt::ShiftModifier);
  auto move = mouseEvent(QEvent::MouseMove, {20, 22}, Qt::NoButton);
  auto release = mouseEvent(QEvent::MouseButtonRelease, {30, 32}, Qt::LeftButton);
  auto dbl = mouseEvent(QEvent::MouseButtonDblClick, {40, 42}, Qt::LeftButton);
  QApplication::sendEvent(&w, &press);
  QApplication::sendEvent(&w, &move);
  QApplication::sendEvent(&w, &release);
  QApplication::sendEvent(&w, &dbl);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], std::make_pair(QString("press"), QPoint(10, 12)));
  EXPECT_EQ(seen[1], std::make_pair(QString("move"), QPoint(20, 22)));
  EXPECT_EQ(seen[2], std::make_pair(QString("release"), QPoint(30, 32)));
  EXPECT_EQ(seen[3], std::make_pair(QString("double"), QPoint(40, 42)));
  EXPECT_TRUE(mods & Qt::ShiftModifier);
}

TEST(ImageWidget, ResizeSignalsTheNewSizeAndLeavesThePictureToTheOwner) {
  ImageWidget w;
  w.canvas().resize(50, 40);
  QSize got;
  QObject::connect(&w, &ImageWidget::resized, [&](QSize s) { got = s; });
  w.resize(120, 90);
  w.show();
  QApplication::processEvents();
  EXPECT_EQ(got, QSize(120, 90));
  EXPECT_EQ(w.canvas().image().size(), QSize(50, 40));
  // Beyond the picture the widget paints its background, not garbage.
  const QImage shot = w.grab().toImage();
  EXPECT_EQ(shot.size(), QSize(120, 90));
}

TEST(ImageWidget, CursorShapesMapToQtCursors) {
  const std::pair<Cursor, Qt::CursorShape> cases[] = {
      {Cursor::Arrow, Qt::ArrowCursor},
      {Cursor::Cross, Qt::CrossCursor},
      {Cursor::SizeVertical, Qt::SizeVerCursor},
      {Cursor::SizeHorizontal, Qt::SizeHorCursor},
      {Cursor::Wait, Qt::WaitCursor},
  };
  ImageWidget w;
  for (const auto& [c, shape] : cases) {
    w.setImageCursor(c);
    EXPECT_EQ(w.cursor().shape(), shape);
  }
}

}  // namespace
