// One QApplication for the window suites, and helpers of the section window
// tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <functional>
#include <memory>

#include "tests/commands/section/section_test_support.h"
#include "tests/qt/modal_support.h"

namespace orv::testing {

// A key pressed and released on widget, through the application's own event
// delivery (an ignored key goes on to the parents, as typed keys do).
inline void pressKey(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

inline bool waitUntilActive(QWidget* window) {
  window->activateWindow();
  QElapsedTimer t;
  t.start();
  while (!window->isActiveWindow() && t.elapsed() < 2000) QApplication::processEvents();
  return window->isActiveWindow();
}

}  // namespace orv::testing
