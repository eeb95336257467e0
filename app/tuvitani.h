// The welcome window, shown modally when the curve window is first shown. It
// closes as soon as the mouse moves over it or a button is pressed on it.
#pragma once

#include <QDialog>
#include <QImage>

class Tuvitani : public QDialog {
  Q_OBJECT

 public:
  explicit Tuvitani(QWidget* parent = nullptr);

  static QString greeting();
  static QString productLine();
  const QImage& picture() const { return picture_; }

 protected:
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QImage picture_;
};
