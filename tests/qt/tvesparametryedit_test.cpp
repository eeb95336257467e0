#include "qt/tvesparametryedit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "tests/qt/section_qt_support.h"

namespace orv::testing {
namespace {

constexpr const char* MsgX =
    "Souřadnici X aktuálního bodu VES zadej číslicemi tak, aby číslo bylo od -10000000.0 do "
    "10000000.";
constexpr const char* Duplicate =
    "Existuje bod se stejnou metráží pro zobrazení na aktuálním profilu a to nejde. ";

class PointDialogWindowTest : public SectionTest {
 protected:
  PointDialogWindowTest() {
    givePoints(3);
    db().currentPoint = 1;
    setTextFromUtf8(profile(0).profileName, "Profil A");
    curve().pointPosition = 120.0f;
    curve().pointElevation = 450.0f;
    setText(curve().instrumentFilePath, "/mereni/pf1_120.OAX");
    curve().sourceKind = SourceInstrument;
  }

  QLineEdit* edit(const char* name) { return dialog.findChild<QLineEdit*>(name); }
  void open(bool editing) {
    view.editingExistingPoint = editing;
    dialog.show();
    QApplication::processEvents();
  }

  TVESparametryEdit dialog{session};
};

TEST_F(PointDialogWindowTest, HasTheFixedLayoutWithoutCancel) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Parametry bodu VES"));
  EXPECT_TRUE(dialog.isModal());
  QStringList groups;
  for (QGroupBox* g : dialog.findChildren<QGroupBox*>()) groups << g->title();
  EXPECT_EQ(groups, (QStringList{"Vlastnosti", "Pozice"}));
  for (const char* name : {"eZeme", "eKraj", "eLokalita", "eProfil", "eNazev", "eDatum",
                           "ePoznamka", "eOperator", "eMetrazPovrch", "eX", "eY", "eZ", "eMetraz"})
    EXPECT_NE(edit(name), nullptr) << name;
  QStringList buttons;
  for (QPushButton* b : dialog.findChildren<QPushButton*>()) buttons << b->text();
  EXPECT_EQ(buttons, (QStringList{QStringLiteral("Původní hodnoty"), "OK"}));
  int metres = 0;
  QStringList labels;
  for (QLabel* l : dialog.findChildren<QLabel*>()) {
    metres += l->text() == "[m]";
    labels << l->text();
  }
  EXPECT_EQ(metres, 5);
  EXPECT_TRUE(labels.contains(QStringLiteral("Název profilu na kterém leží bod VES:")));
  EXPECT_TRUE(labels.contains(QStringLiteral("Metráž bodu na aktuálním pf:")));
}

TEST_F(PointDialogWindowTest, ShowsTheStoredPointWithTheFocusOnOk) {
  open(true);
  EXPECT_EQ(edit("eNazev")->text(), "bod2");
  EXPECT_EQ(edit("eProfil")->text(), "Profil A");
  EXPECT_EQ(edit("eMetraz")->text(), "205");
  EXPECT_EQ(edit("eZ")->text(), "450");
  EXPECT_EQ(dialog.focusWidget(), dialog.okButton());
}

TEST_F(PointDialogWindowTest, EnterInAnyFieldConfirms) {
  open(true);
  edit("eDatum")->setText("7. 7. 2007");
  pressKey(edit("eDatum"), Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(dialog.fields().date, "7. 7. 2007");
}

TEST_F(PointDialogWindowTest, ABadFieldKeepsTheDialogOpenWithItsMessage) {
  open(true);
  edit("eX")->setText("abc");
  pressKey(edit("eNazev"), Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], MsgX);
  EXPECT_EQ(edit("eX")->text(), "120");
  EXPECT_EQ(dialog.focusWidget(), edit("eX"));
  // The reset value passes.
  pressKey(edit("eX"), Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(PointDialogWindowTest, ADuplicateChainageKeepsTheDialogOpen) {
  open(false);  // inserting: the sounding's chainage 120 is offered
  EXPECT_EQ(edit("eNazev")->text(), "pf1_120");
  edit("eMetraz")->setText("305");  // point 2 sits there
  dialog.okButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], Duplicate);
  EXPECT_EQ(dialog.focusWidget(), edit("eMetraz"));
  edit("eMetraz")->setText("306");
  dialog.okButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(profile(0).points[3].profileChainage, 306.0f);
}

TEST_F(PointDialogWindowTest, LeavingANumericFieldChecksIt) {
  open(true);
  edit("eY")->setText("1e9");
  dialog.eYExit();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(edit("eY")->text(), "0");
  edit("eMetraz")->setText("12.5");
  dialog.eMetrazExit();
  EXPECT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(profile(0).points[1].profileChainage, 12.5f);
}

TEST_F(PointDialogWindowTest, TabbingOutOfABadFieldChecksIt) {
  open(true);
  ASSERT_TRUE(waitUntilActive(&dialog));
  edit("eZ")->setFocus(Qt::OtherFocusReason);
  edit("eZ")->setText("?");
  pressKey(edit("eZ"), Qt::Key_Tab);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(edit("eZ")->text(), "450");
  EXPECT_EQ(QApplication::focusWidget(), edit("eZ"));
}

TEST_F(PointDialogWindowTest, OriginalValuesTakeTheStoredElevation) {
  open(true);
  edit("eZ")->setText("1");
  edit("eNazev")->setText("jiný");
  dialog.findChild<QPushButton*>("bPuvodni")->click();
  EXPECT_EQ(edit("eZ")->text(), "204");
  EXPECT_EQ(edit("eNazev")->text(), "bod2");
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(PointDialogWindowTest, ANewProfileFocusesItsNameAndLeavesPointFieldsEmpty) {
  db().currentPoint = NoPointYet;
  open(true);
  EXPECT_EQ(dialog.focusWidget(), edit("eProfil"));
  EXPECT_EQ(edit("eNazev")->text(), "");
  EXPECT_EQ(edit("eMetraz")->text(), "");
  pressKey(edit("eProfil"), Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(PointDialogWindowTest, TheCloseBoxSkipsTheChecks) {
  open(true);
  edit("eX")->setText("abc");
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(dialog.fields().x, "abc");
}

TEST_F(PointDialogWindowTest, EscapeIsNoCancel) {
  open(true);
  edit("eX")->setText("abc");
  pressKey(edit("eDatum"), Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(edit("eX")->text(), "abc");
}

TEST_F(PointDialogWindowTest, ReactivationKeepsWhatTheUserTyped) {
  open(true);
  edit("eNazev")->setFocus();
  edit("eNazev")->end(false);
  pressKey(edit("eNazev"), Qt::Key_X, "X");
  dialog.FormActivate();
  EXPECT_EQ(edit("eNazev")->text(), "bod2X");
  // Untouched fields follow the data on activation.
  dialog.PuvodnihodnotyClick();
  setText(profile(0).points[1].pointName, "novy");
  dialog.FormActivate();
  EXPECT_EQ(edit("eNazev")->text(), "novy");
}

}  // namespace
}  // namespace orv::testing
