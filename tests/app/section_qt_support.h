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

#include "../section/section_test_support.h"

namespace orv::testing {

class SectionQtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[24] = "orv_window_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// Runs act on the modal dialog as soon as it is up.
inline void whenModalUp(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start();
}

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
