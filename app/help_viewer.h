// The built-in help: Czech pages opened by context number, 1 for the curve
// window and 2 for the section window, linked from a contents page.
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
  QTextBrowser* browser() const { return browser_; }

  static QString pageResource(int context);
  static QString contentsResource();

 private:
  QTextBrowser* browser_;
  int context_ = 0;
};
