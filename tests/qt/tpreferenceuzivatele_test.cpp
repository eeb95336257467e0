#include "qt/tpreferenceuzivatele.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "tests/qt/modal_support.h"
#include "ui/scripted_dialogs.h"

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

// The additions: the accurate forward and the equivalence tolerance.
struct AdditionsFixture : PreferenceFixture {
  ui::ScriptedDialogs dialogs;
  std::string dir;
  void SetUp() override {
    orv::setInitialCurveState(s);
    char tmpl[] = "/tmp/orv_preferences_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    orv::setText(s.StartFolder, dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string file() const {
    std::ifstream in(dir + "/orvplus.ini", std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
};

TEST_F(AdditionsFixture, TheSwitchAndTheToleranceAreShown) {
  Tpreferenceuzivatele d(nullptr, s, &dialogs);
  auto* box = d.findChild<QCheckBox*>("presnaprimauloha");
  auto* edit = d.findChild<QLineEdit*>("ekvivalence");
  ASSERT_NE(box, nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(box->text(), QString::fromUtf8("Přesná přímá úloha (dlouhý filtr)"));
  bool labelled = false;
  for (QLabel* l : d.findChildren<QLabel*>())
    labelled =
        labelled || (l->buddy() == edit &&
                     l->text() == QString::fromUtf8("Ekvivalence: přípustné zhoršení SSQ (podíl)"));
  EXPECT_TRUE(labelled);
  d.showValues();
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(edit->text(), "0.1");
  s.accurateForward = true;
  s.equivalenceTolerance = 0.35;
  d.showValues();
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(edit->text(), "0.35");
}

struct ToleranceCase {
  const char* typed;
  double taken;
  bool refused;
};

class ToleranceTyped : public AdditionsFixture,
                       public ::testing::WithParamInterface<ToleranceCase> {};

TEST_P(ToleranceTyped, ANumberAboveZeroIsTakenAnythingElseKeepsTheOldValue) {
  const ToleranceCase& t = GetParam();
  s.equivalenceTolerance = 0.2;
  Tpreferenceuzivatele d(nullptr, s, &dialogs);
  d.showValues();
  d.findChild<QLineEdit*>("ekvivalence")->setText(QString::fromUtf8(t.typed));
  d.findChild<QCheckBox*>("presnaprimauloha")->setChecked(true);
  EXPECT_EQ(d.apply(), !t.refused) << t.typed;
  EXPECT_DOUBLE_EQ(s.equivalenceTolerance, t.taken) << t.typed;
  EXPECT_TRUE(s.accurateForward) << t.typed;  // the switch is taken either way
  if (t.refused) {
    ASSERT_EQ(dialogs.messages().size(), 1u) << t.typed;
    EXPECT_EQ(dialogs.messages()[0], "Soustřeďte se (číslo)!");
  } else {
    EXPECT_TRUE(dialogs.messages().empty()) << t.typed;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ToleranceTyped,
    ::testing::Values(ToleranceCase{"0.25", 0.25, false}, ToleranceCase{" 0,3 ", 0.3, false},
                      ToleranceCase{"2", 2.0, false}, ToleranceCase{"0", 0.2, true},
                      ToleranceCase{"-0.1", 0.2, true}, ToleranceCase{"", 0.2, true},
                      ToleranceCase{"deset", 0.2, true}, ToleranceCase{"inf", 0.2, true},
                      ToleranceCase{"0.1x", 0.2, true}));

TEST_F(AdditionsFixture, OkSavesTheFileAndRecomputesOnlyWhenTheSwitchChanged) {
  Tpreferenceuzivatele d(nullptr, s, &dialogs);
  int recomputed = 0;
  d.setForwardChangedHook([&recomputed] { ++recomputed; });
  // Nothing changed: no file appears and nothing is recomputed.
  orv::testing::whenModalUp([](QWidget* w) { w->findChild<QPushButton*>("Button2")->click(); });
  d.execute();
  EXPECT_EQ(recomputed, 0);
  EXPECT_FALSE(std::filesystem::exists(dir + "/orvplus.ini"));

  orv::testing::whenModalUp([](QWidget* w) {
    w->findChild<QCheckBox*>("presnaprimauloha")->click();
    w->findChild<QLineEdit*>("ekvivalence")->setText("0,15");
    w->findChild<QPushButton*>("Button2")->click();
  });
  d.execute();
  EXPECT_TRUE(s.accurateForward);
  EXPECT_DOUBLE_EQ(s.equivalenceTolerance, 0.15);
  EXPECT_EQ(recomputed, 1);
  EXPECT_NE(file().find("presna_prima_uloha_dlouhy_filtr_(1=ano_0=ne) 1\r\n"), std::string::npos);
  EXPECT_NE(file().find("ekvivalence_pripustne_zhorseni_SSQ_(podil) 0.15\r\n"), std::string::npos);

  // Only the tolerance changed: saved, not recomputed.
  orv::testing::whenModalUp([](QWidget* w) {
    w->findChild<QLineEdit*>("ekvivalence")->setText("0.5");
    w->findChild<QPushButton*>("Button2")->click();
  });
  d.execute();
  EXPECT_EQ(recomputed, 1);
  EXPECT_NE(file().find("(podil) 0.5\r\n"), std::string::npos);
  EXPECT_TRUE(dialogs.messages().empty());
}

}  // namespace
