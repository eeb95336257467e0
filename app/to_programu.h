// The about box: what the program is for.
#pragma once

#include <QDialog>

class To_programu : public QDialog {
  Q_OBJECT

 public:
  explicit To_programu(QWidget* parent = nullptr);

  static const char* firstLine();
  static const char* secondLine();
};
