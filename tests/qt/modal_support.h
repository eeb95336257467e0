// Answering a modal dialog from a test: the dialog's own loop runs, and the
// test acts on it as soon as it is up.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace orv::testing {

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

}  // namespace orv::testing
