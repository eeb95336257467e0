#include "qt/qt_window_chrome.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include "qt/image_widget.h"

namespace {

using ui::Button;
using ui::QtWindowChrome;

struct Window {
  QMainWindow main;
  QPushButton* optimise = new QPushButton("...", &main);
  QPushButton* transfer = new QPushButton("<-", &main);
  ui::ImageWidget* image = new ui::ImageWidget(&main);
  QAction* lock = nullptr;

  Window() {
    lock = main.menuBar()->addMenu("Nastavení")->addAction("Zamknout měřítko");
    lock->setObjectName("lockScale1");
    main.setCentralWidget(image);
  }
};

TEST(QtWindowChrome, CaptionButtonsAndCursor) {
  Window w;
  QtWindowChrome chrome(&w.main, w.optimise, w.transfer, w.image);
  w.main.show();
  chrome.setCaption("ORV-program na zpracování VES - otevřen: /tmp/a.kmt");
  EXPECT_EQ(w.main.windowTitle(),
            QString::fromUtf8("ORV-program na zpracování VES - otevřen: /tmp/a.kmt"));
  chrome.setButtonVisible(Button::Optimise, false);
  chrome.setButtonVisible(Button::Transfer, true);
  EXPECT_FALSE(w.optimise->isVisible());
  EXPECT_TRUE(w.transfer->isVisible());
  chrome.setButtonVisible(Button::Optimise, true);
  EXPECT_TRUE(w.optimise->isVisible());
  chrome.setCursor(ui::Cursor::SizeVertical);
  EXPECT_EQ(w.image->cursor().shape(), Qt::SizeVerCursor);
}

TEST(QtWindowChrome, MissingButtonsAreIgnored) {
  QMainWindow main;
  QtWindowChrome chrome(&main);
  chrome.setButtonVisible(Button::Optimise, true);
  chrome.focusButton(Button::Transfer);
  chrome.setCursor(ui::Cursor::Wait);
  EXPECT_EQ(main.cursor().shape(), Qt::WaitCursor);
  chrome.setChecked("noSuchItem1", true);
  chrome.showOtherWindow();  // nothing set: nothing happens
}

TEST(QtWindowChrome, CheckMarksFindTheActionByObjectName) {
  Window w;
  QtWindowChrome chrome(&w.main, w.optimise, w.transfer, w.image);
  chrome.setChecked("lockScale1", true);
  EXPECT_TRUE(w.lock->isCheckable());
  EXPECT_TRUE(w.lock->isChecked());
  chrome.setChecked("lockScale1", false);
  EXPECT_FALSE(w.lock->isChecked());
}

TEST(QtWindowChrome, ScreenSizeIsTheUsableDesktop) {
  QMainWindow main;
  QtWindowChrome chrome(&main);
  const ui::ScreenSize s = chrome.screenSize();
  EXPECT_GT(s.width, 0);
  EXPECT_GT(s.height, 0);
  const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
  if (!avail.isEmpty()) {
    EXPECT_EQ(s.width, avail.width());
    EXPECT_EQ(s.height, avail.height());
  }
}

TEST(QtWindowChrome, DocksToTheRightOrLeftEdgeAtFullHeight) {
  for (auto edge : {QtWindowChrome::DockEdge::Right, QtWindowChrome::DockEdge::Left}) {
    QMainWindow main;
    QtWindowChrome chrome(&main, nullptr, nullptr, nullptr, edge);
    main.show();
    main.showMaximized();
    QApplication::processEvents();
    const ui::ScreenSize s = chrome.screenSize();
    const int width = s.width * 65 / 100;
    chrome.placeDockedRight(width);
    QApplication::processEvents();
    EXPECT_FALSE(main.isMaximized());
    const QRect f = main.frameGeometry();
    EXPECT_EQ(f.width(), width);
    EXPECT_EQ(f.height(), s.height);
    EXPECT_EQ(f.y(), 0);
    EXPECT_EQ(f.x(), edge == QtWindowChrome::DockEdge::Right ? s.width - width : 0);
  }
}

TEST(QtWindowChrome, ShowOtherWindowCallsTheOwner) {
  QMainWindow main;
  QtWindowChrome chrome(&main);
  int shown = 0;
  chrome.setShowOtherWindow([&] { ++shown; });
  chrome.showOtherWindow();
  chrome.showOtherWindow();
  EXPECT_EQ(shown, 2);
}

}  // namespace
