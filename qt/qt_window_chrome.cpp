#include "qt/qt_window_chrome.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "qt/image_widget.h"

namespace ui {

namespace {

// The usable desktop: the primary screen without task bars; offscreen
// platforms may report an empty available area, then the whole screen.
QRect desktopArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return QRect(0, 0, 1024, 768);
  QRect r = screen->availableGeometry();
  if (r.width() <= 0 || r.height() <= 0) r = screen->geometry();
  if (r.width() <= 0 || r.height() <= 0) r = QRect(0, 0, 1024, 768);
  return r;
}

}  // namespace

QtWindowChrome::QtWindowChrome(QMainWindow* window, QPushButton* optimise, QPushButton* transfer,
                               ImageWidget* image, DockEdge edge)
    : window_(window), optimise_(optimise), transfer_(transfer), image_(image), edge_(edge) {}

QPushButton* QtWindowChrome::button(Button b) const {
  return b == Button::Optimise ? optimise_ : transfer_;
}

void QtWindowChrome::setCaption(std::string_view utf8) {
  if (window_)
    window_->setWindowTitle(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void QtWindowChrome::setButtonVisible(Button b, bool visible) {
  if (QPushButton* p = button(b)) p->setVisible(visible);
}

void QtWindowChrome::focusButton(Button b) {
  if (QPushButton* p = button(b)) p->setFocus(Qt::OtherFocusReason);
}

void QtWindowChrome::setCursor(Cursor c) {
  if (image_)
    image_->setImageCursor(c);
  else if (window_)
    window_->setCursor(QCursor(qtCursorOf(c)));
}

void QtWindowChrome::setChecked(std::string_view item, bool checked) {
  if (!window_) return;
  const QString name = QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size()));
  if (QAction* a = window_->findChild<QAction*>(name)) {
    a->setCheckable(true);
    a->setChecked(checked);
  }
}

ScreenSize QtWindowChrome::screenSize() const {
  const QRect r = desktopArea();
  return ScreenSize{r.width(), r.height()};
}

void QtWindowChrome::placeDockedRight(int width) {
  if (!window_) return;
  const QRect area = desktopArea();
  width = std::clamp(width, 1, area.width());
  if (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
    window_->setWindowState(Qt::WindowNoState);
  const int x = edge_ == DockEdge::Right ? area.x() + area.width() - width : area.x();
  const QRect frame(x, area.y(), width, area.height());
  // setGeometry places the client area; the frame (title bar, borders) is
  // what must fit the screen, so take its margins off once they are known.
  const QRect outer = window_->frameGeometry();
  const QRect inner = window_->geometry();
  const int left = std::max(0, inner.left() - outer.left());
  const int top = std::max(0, inner.top() - outer.top());
  const int right = std::max(0, outer.right() - inner.right());
  const int bottom = std::max(0, outer.bottom() - inner.bottom());
  window_->setGeometry(frame.adjusted(left, top, -right, -bottom));
}

void QtWindowChrome::showOtherWindow() {
  if (showOther_) showOther_();
}

}  // namespace ui
