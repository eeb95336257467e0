// The built-in help: Czech pages opened by context number, 1 for the curve
// window and 2 for the section window.
#pragma once

#include <QDialog>

class QTextBrowser;

class HelpViewer : public QDialog {
  Q_OBJECT

 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  // Shows the page of the context (1 or 2); an unknown context shows page 1.
  void showContext(int context);
  int currentContext() const { return context_; }
  QString pageText() const;

  static QString pageResource(int context);

 private:
  QTextBrowser* browser_;
  int context_ = 0;
};
