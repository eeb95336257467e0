// "Preference - uživatelské nastavení": which input a double-click into the
// curve image starts.
#pragma once

#include <QDialog>

#include "curve/curve_window_state.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

class Tpreferenceuzivatele : public QDialog {
  Q_OBJECT
 public:
  Tpreferenceuzivatele(QWidget* parent, orv::CurveWindowState& s);

  // Shows the dialog modally, then takes the selected input mode over (the
  // mode stays as it was when no button is selected).
  void execute();

  // Selects the button of the current inputMode, none for a mode outside 0..4.
  void showValues();
  // The selected button's index 0..4, or -1.
  int selectedIndex() const;
  // inputMode from the selected button.
  void apply();

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void Button2Click();

 private:
  orv::CurveWindowState& s_;
  QButtonGroup* group_ = nullptr;
  QRadioButton* radio_[5] = {};  // snesena, nesnesena, mysi, oax, kmt
  QPushButton* Button2_ = nullptr;
};

// "Help" / "Preference" (Preference1Click) with a dialog made for the occasion.
void runPreferences(QWidget* parent, orv::CurveWindowState& s);
