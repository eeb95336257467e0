#include "curve/qt/tpreferenceuzivatele.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "base/zeroed_block.h"
#include "tests/app/modal_support.h"

namespace {

const char* const kRadios[5] = {"snesena", "nesnesena", "mysi", "oax", "kmt"};

QRadioButton* radio(QWidget& d, int i) {
  return d.findChild<QRadioButton*>(kRadios[i]);
}

struct PreferenceFixture : ::testing::Test {
  orv::ZeroedBlock<orv::CurveWindowState> state;
  orv::CurveWindowState& s = *state;
};

TEST_F(PreferenceFixture, CaptionsOfTheDialog) {
  Tpreferenceuzivatele d(nullptr, s);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Preference - uživatelské nastavení"));
  ASSERT_NE(d.findChild<QGroupBox*>(), nullptr);
  EXPECT_EQ(d.findChild<QGroupBox*>()->title(),
            QString::fromUtf8("vstup dat - naměřených křivek VES do programu"));
  const char* captions[5] = {"Ruční vstup naměřených křivek - snesená křivka VES",
                             "Ruční vstup naměřených křivek - jednotlivé větve křivky VES",
                             "Ruční vstup nakreslením snesené křivky VES myší",
                             "Vstup ze souborů OAX (aparatura ODRAM III a II) ",
                             "Vstup ze souborů KMT (aparatura KALOMET)"};
  for (int i = 0; i < 5; ++i) {
    ASSERT_NE(radio(d, i), nullptr) << kRadios[i];
    EXPECT_EQ(radio(d, i)->text(), QString::fromUtf8(captions[i]));
  }
  ASSERT_NE(d.findChild<QPushButton*>("Button2"), nullptr);
  EXPECT_EQ(d.findChild<QPushButton*>("Button2")->text(), "OK");
}

TEST_F(PreferenceFixture, TheButtonOfTheCurrentModeIsSelected) {
  Tpreferenceuzivatele d(nullptr, s);
  for (int mode = 0; mode < 5; ++mode) {
    s.inputMode = mode;
    d.showValues();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(radio(d, i)->isChecked(), i == mode) << mode << i;
    EXPECT_EQ(d.selectedIndex(), mode);
  }
}

TEST_F(PreferenceFixture, AnUnknownModeSelectsNoneAndStays) {
  Tpreferenceuzivatele d(nullptr, s);
  s.inputMode = 2;
  d.showValues();
  for (int mode : {7, -1}) {
    s.inputMode = mode;
    d.showValues();  // also clears the button selected before
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(radio(d, i)->isChecked()) << mode << i;
    d.apply();
    EXPECT_EQ(s.inputMode, mode);
  }
}

TEST_F(PreferenceFixture, TheSelectedButtonIsTakenAfterOk) {
  s.inputMode = 3;
  orv::testing::whenModalUp([](QWidget* w) {
    EXPECT_TRUE(w->findChild<QRadioButton*>("oax")->isChecked());
    w->findChild<QRadioButton*>("mysi")->click();
    w->findChild<QPushButton*>("Button2")->click();
  });
  runPreferences(nullptr, s);
  EXPECT_EQ(s.inputMode, 2);
}

TEST_F(PreferenceFixture, OkCloses) {
  s.inputMode = 4;
  Tpreferenceuzivatele d(nullptr, s);
  d.show();
  EXPECT_TRUE(radio(d, 4)->isChecked());
  d.findChild<QPushButton*>("Button2")->click();
  EXPECT_FALSE(d.isVisible());
  d.apply();
  EXPECT_EQ(s.inputMode, 4);
}

}  // namespace
