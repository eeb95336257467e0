#include "qt/tparzobr.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "base/zeroed_block.h"
#include "core/curve/settings_file.h"
#include "tests/qt/modal_support.h"
#include "ui/scripted_dialogs.h"

namespace {

using orv::testing::whenModalUp;

// A left-button press in the middle of a widget, as the mouse delivers it.
void pressOn(QWidget* w) {
  ASSERT_NE(w, nullptr);
  const QPointF local(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, local, w->mapToGlobal(local), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

struct DisplayDialogFixture : ::testing::Test {
  DisplayDialogFixture() {
    orv::setInitialCurveState(*state);
    orv::applyDefaultSettings(*state);
  }
  template <class W>
  W* child(QWidget& parent, const char* name) {
    W* w = parent.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  orv::ZeroedBlock<orv::CurveWindowState> state;
  orv::CurveWindowState& s = *state;
  orv::SectionDisplayFlags section{false, true};
  ui::ScriptedDialogs dialogs;
};

TEST_F(DisplayDialogFixture, CaptionControlsAndTheirValues) {
  s.lineWidthActiveModel = 6;
  s.colourBranch[4] = 0x010203;
  Tparzobr d(nullptr, s, section, dialogs);
  EXPECT_FALSE(d.isVisible());  // constructed at start-up without showing
  d.showValues();
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Parametry zobrazení"));
  EXPECT_EQ(child<QLineEdit>(d, "silaaktmod")->text(), "6");
  EXPECT_EQ(child<QLineEdit>(d, "pocetbodubs")->text(), "128");
  EXPECT_EQ(child<QLineEdit>(d, "stupenbs")->text(), "3");
  EXPECT_EQ(child<ColourSwatch>(d, "Shape4")->colour(), 0x010203);
  EXPECT_EQ(child<ColourSwatch>(d, "barvavyp")->colour(), 0xFFFF00);
  EXPECT_TRUE(child<QCheckBox>(d, "delatbs")->isChecked());
  EXPECT_FALSE(child<QCheckBox>(d, "profilvnazvu")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(d, "metrazpodlepovrchujepopis")->isChecked());
  EXPECT_EQ(child<QCheckBox>(d, "metrazpodlepovrchujepopis")->text(),
            QString::fromUtf8(
                "podle metráže podle \npovrchu terénu, jinak popíše \nX souřadnicí bodu VES"));
  for (const char* name :
       {"silanam", "Shape1", "Shape2", "Shape3", "Shape5", "silasnes", "barvasnes", "silamodel",
        "barvamodel", "barvafixmod", "silavyp", "blokmeritkakrivekves"})
    EXPECT_NE(d.findChild<QWidget*>(name), nullptr) << name;
  EXPECT_EQ(child<QPushButton>(d, "ButtonImpli")->text(), QString::fromUtf8("implicitní hodnoty"));
  EXPECT_EQ(child<QPushButton>(d, "ButtonPuvodni")->text(), QString::fromUtf8("původní hodnoty"));
  QStringList groups;
  for (QGroupBox* g : d.findChildren<QGroupBox*>()) groups << g->title();
  for (const char* title :
       {"naměřená křivka", "snesená křivka", "model", "vypočtená křivka", "proložení křivek",
        "název VES v řezu", "křivka VES ", "popis VES v řezu"})
    EXPECT_TRUE(groups.contains(QString::fromUtf8(title))) << title;
}

TEST_F(DisplayDialogFixture, DefaultsButtonSetsResolutionOneHundredTen) {
  s.splineResolution = 300;
  s.lineWidthModel = 9;
  s.colourModel = 0x123;
  Tparzobr d(nullptr, s, section, dialogs);
  d.showValues();
  child<QPushButton>(d, "ButtonImpli")->click();
  EXPECT_EQ(s.splineResolution, 110);
  EXPECT_EQ(s.lineWidthModel, 2);
  EXPECT_EQ(s.colourModel, 0xFF00);
  EXPECT_EQ(child<QLineEdit>(d, "pocetbodubs")->text(), "110");
  EXPECT_EQ(child<ColourSwatch>(d, "barvamodel")->colour(), 0xFF00);
}

TEST_F(DisplayDialogFixture, AChosenColourSurvivesTheOriginalValuesButton) {
  Tparzobr d(nullptr, s, section, dialogs);
  d.show();
  dialogs.answerColour(0x00ABCDEF);
  pressOn(child<ColourSwatch>(d, "Shape2"));
  EXPECT_EQ(s.colourBranch[2], 0x00ABCDEF);  // stored at once
  ASSERT_EQ(dialogs.questions().size(), 1u);
  EXPECT_EQ(dialogs.questions()[0], "colour|" + std::to_string(0x8000));
  child<QLineEdit>(d, "silanam")->setText("9");
  child<QCheckBox>(d, "profilvnazvu")->setChecked(true);
  child<QPushButton>(d, "ButtonPuvodni")->click();
  EXPECT_EQ(child<QLineEdit>(d, "silanam")->text(), "1");
  EXPECT_FALSE(child<QCheckBox>(d, "profilvnazvu")->isChecked());
  EXPECT_EQ(child<ColourSwatch>(d, "Shape2")->colour(), 0x00ABCDEF);
  EXPECT_EQ(s.colourBranch[2], 0x00ABCDEF);
  d.hide();
}

TEST_F(DisplayDialogFixture, ACancelledColourChangesNothing) {
  Tparzobr d(nullptr, s, section, dialogs);
  d.showValues();
  dialogs.cancelColour();
  pressOn(child<ColourSwatch>(d, "barvafixmod"));
  EXPECT_EQ(s.colourModelFixed, 0xFFFF);
  EXPECT_EQ(child<ColourSwatch>(d, "barvafixmod")->colour(), 0xFFFF);
}

TEST_F(DisplayDialogFixture, OkHasTheFocusAndCloses) {
  Tparzobr d(nullptr, s, section, dialogs);
  d.show();
  QApplication::processEvents();
  EXPECT_EQ(d.focusWidget(), child<QPushButton>(d, "Button_ok"));
  child<QPushButton>(d, "Button_ok")->click();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(DisplayDialogFixture, TheEditsAndCheckBoxesAreTakenAfterClosing) {
  bool ok = false;
  whenModalUp([](QWidget* w) {
    w->findChild<QLineEdit*>("stupenbs")->setText("4");
    w->findChild<QLineEdit*>("silamodel")->setText("5");
    w->findChild<QCheckBox*>("blokmeritkakrivekves")->setChecked(true);
    w->findChild<QCheckBox*>("profilvnazvu")->setChecked(true);
    w->findChild<QPushButton*>("Button_ok")->click();
  });
  ok = runDisplayParameters(nullptr, s, section, dialogs);
  EXPECT_TRUE(ok);
  EXPECT_EQ(s.splineDegree, 4);
  EXPECT_EQ(s.lineWidthModel, 5);
  EXPECT_TRUE(s.lockCurveScale);
  EXPECT_TRUE(section.profilePrefix);
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(DisplayDialogFixture, ANonIntegerEditStopsTheTakeOverWithAMessage) {
  whenModalUp([](QWidget* w) {
    w->findChild<QLineEdit*>("stupenbs")->setText("5");
    w->findChild<QLineEdit*>("silanam")->setText("tlustá");
    w->findChild<QLineEdit*>("silamodel")->setText("7");
    w->findChild<QCheckBox*>("blokmeritkakrivekves")->setChecked(true);
    w->findChild<QPushButton*>("Button_ok")->click();
  });
  EXPECT_FALSE(runDisplayParameters(nullptr, s, section, dialogs));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], "'tlustá' není celé číslo (síla čáry naměřené křivky).");
  EXPECT_EQ(s.splineDegree, 5);
  EXPECT_EQ(s.lineWidthMeasured, 1);
  EXPECT_EQ(s.lineWidthModel, 2);
  EXPECT_FALSE(s.lockCurveScale);
}

}  // namespace
