// The application object: an exception that reaches the event loop is shown
// in a message box and the loop goes on.
#pragma once

#include <QApplication>
#include <functional>

class OrvApplication : public QApplication {
  Q_OBJECT

 public:
  OrvApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Tests replace the message box; the text is the exception's own.
  void setExceptionReporter(std::function<void(const QString&)> reporter) {
    reporter_ = std::move(reporter);
  }

 private:
  void report(const QString& text);
  std::function<void(const QString&)> reporter_;
};
