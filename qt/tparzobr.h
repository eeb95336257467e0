// "Parametry zobrazení": line widths, colours and B-spline smoothing of the
// curve window, and the two labelling switches of the section.
#pragma once

#include <QDialog>
#include <QWidget>

#include "commands/curve/section_display_flags.h"
#include "commands/curve/settings_commands.h"
#include "core/curve/curve_window_state.h"
#include "ui/dialogs.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

// A filled rectangle showing one colour (0x00BBGGRR); a click on it asks for
// a new one.
class ColourSwatch : public QWidget {
  Q_OBJECT
 public:
  explicit ColourSwatch(QWidget* parent = nullptr);
  void setColour(int32_t colour);
  int32_t colour() const { return colour_; }
  QSize sizeHint() const override { return QSize(48, 20); }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int32_t colour_ = 0;
};

class Tparzobr : public QDialog {
  Q_OBJECT
 public:
  // The dialog edits s and section in place; colours chosen with the colour
  // dialog are stored at once, the rest when the dialog has closed.
  Tparzobr(QWidget* parent, orv::CurveWindowState& s, orv::SectionDisplayFlags& section,
           ui::Dialogs& dialogs);

  // Shows the dialog modally, then takes the edits and check boxes over; a
  // non-integer edit is reported through the dialogs. Returns true when every
  // edit converted. Either way the caller redraws the curve window and the
  // section, since the values before a bad edit have been taken.
  bool execute();

  // Every control shows the members' current values.
  void showValues();
  // What the controls hold now.
  orv::DisplayParameterTexts texts() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void Button_okClick();
  void ButtonImpliClick();
  void ButtonPuvodniClick();

 private:
  void chooseColour(ColourSwatch* swatch, int32_t& member);
  void showEditsAndColours();
  void buildControls();

  orv::CurveWindowState& s_;
  orv::SectionDisplayFlags& section_;
  ui::Dialogs& dialogs_;

  QLineEdit* silanam_ = nullptr;
  ColourSwatch* shape_[orv::MaxBranch + 1] = {};  // Shape1..Shape5 at 1..5
  QLineEdit* silasnes_ = nullptr;
  ColourSwatch* barvasnes_ = nullptr;
  QLineEdit* silamodel_ = nullptr;
  QLineEdit* silaaktmod_ = nullptr;
  ColourSwatch* barvamodel_ = nullptr;
  ColourSwatch* barvafixmod_ = nullptr;
  QLineEdit* silavyp_ = nullptr;
  ColourSwatch* barvavyp_ = nullptr;
  QCheckBox* delatbs_ = nullptr;
  QLineEdit* stupenbs_ = nullptr;
  QLineEdit* pocetbodubs_ = nullptr;
  QCheckBox* profilvnazvu_ = nullptr;
  QCheckBox* blokmeritkakrivekves_ = nullptr;
  QCheckBox* metrazpodlepovrchujepopis_ = nullptr;
  QPushButton* Button_ok_ = nullptr;
  QPushButton* ButtonImpli_ = nullptr;
  QPushButton* ButtonPuvodni_ = nullptr;
};

// The display parameters command ("Zobrazení" / "Parametry", Ctrl+Alt+Z,
// Npovda1Click) with a dialog made for the occasion.
bool runDisplayParameters(QWidget* parent, orv::CurveWindowState& s,
                          orv::SectionDisplayFlags& section, ui::Dialogs& dialogs);
