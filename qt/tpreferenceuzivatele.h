// "Preference - uživatelské nastavení": which input a double-click into the
// curve image starts, and the additions (the accurate forward problem and the
// equivalence tolerance), which are saved in their own file on OK.
#pragma once

#include <QDialog>
#include <functional>

#include "core/curve/curve_window_state.h"
#include "ui/dialogs.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Tpreferenceuzivatele : public QDialog {
  Q_OBJECT
 public:
  // dialogs tells a refused tolerance and a failed write of the additions'
  // file; without it they are kept silent.
  Tpreferenceuzivatele(QWidget* parent, orv::CurveWindowState& s, ui::Dialogs* dialogs = nullptr);

  // Run after OK when the accurate forward was switched on or off.
  void setForwardChangedHook(std::function<void()> hook) { forwardChanged_ = std::move(hook); }

  // Shows the dialog modally, then takes the selected input mode over (the
  // mode stays as it was when no button is selected) and the additions, and
  // saves the additions' file.
  void execute();

  // Selects the button of the current inputMode, none for a mode outside 0..4.
  void showValues();
  // The selected button's index 0..4, or -1.
  int selectedIndex() const;
  // inputMode from the selected button, and the additions; false when the
  // tolerance was refused (it keeps its value, and the message is said).
  bool apply();

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void Button2Click();

 private:
  orv::CurveWindowState& s_;
  QButtonGroup* group_ = nullptr;
  QRadioButton* radio_[5] = {};  // snesena, nesnesena, mysi, oax, kmt
  QPushButton* Button2_ = nullptr;
  QCheckBox* accurate_ = nullptr;
  QLineEdit* tolerance_ = nullptr;
  ui::Dialogs* dialogs_ = nullptr;
  std::function<void()> forwardChanged_;
};

// "Help" / "Preference" (Preference1Click) with a dialog made for the occasion.
void runPreferences(QWidget* parent, orv::CurveWindowState& s);
