#include "curve/qt/tpreferenceuzivatele.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "curve/settings_commands.h"

namespace {

struct RadioSpec {
  const char* name;
  const char* caption;
};

// In inputMode order 0..4; modes 0 and 1 start the same keyboard input.
const RadioSpec kRadios[5] = {
    {"snesena", "Ruční vstup naměřených křivek - snesená křivka VES"},
    {"nesnesena", "Ruční vstup naměřených křivek - jednotlivé větve křivky VES"},
    {"mysi", "Ruční vstup nakreslením snesené křivky VES myší"},
    {"oax", "Vstup ze souborů OAX (aparatura ODRAM III a II) "},
    {"kmt", "Vstup ze souborů KMT (aparatura KALOMET)"},
};

}  // namespace

Tpreferenceuzivatele::Tpreferenceuzivatele(QWidget* parent, orv::CurveWindowState& s)
    : QDialog(parent), s_(s) {
  setObjectName("preferenceuzivatele");
  setWindowTitle(QString::fromUtf8("Preference - uživatelské nastavení"));
  auto* top = new QVBoxLayout(this);
  auto* box =
      new QGroupBox(QString::fromUtf8("vstup dat - naměřených křivek VES do programu"), this);
  auto* column = new QVBoxLayout(box);
  group_ = new QButtonGroup(this);
  for (int i = 0; i < 5; ++i) {
    radio_[i] = new QRadioButton(QString::fromUtf8(kRadios[i].caption), box);
    radio_[i]->setObjectName(kRadios[i].name);
    group_->addButton(radio_[i], i);
    column->addWidget(radio_[i]);
  }
  top->addWidget(box);
  auto* buttons = new QHBoxLayout;
  Button2_ = new QPushButton("OK", this);
  Button2_->setObjectName("Button2");
  Button2_->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(Button2_);
  top->addLayout(buttons);
  connect(Button2_, &QPushButton::clicked, this, &Tpreferenceuzivatele::Button2Click);
}

void Tpreferenceuzivatele::showValues() {
  const int index = orv::preferenceRadioIndex(s_.inputMode);
  // An exclusive group cannot be emptied by unchecking its checked button.
  group_->setExclusive(false);
  for (int i = 0; i < 5; ++i) radio_[i]->setChecked(i == index);
  group_->setExclusive(true);
}

int Tpreferenceuzivatele::selectedIndex() const {
  return group_->checkedId();
}

void Tpreferenceuzivatele::apply() {
  s_.inputMode = orv::inputModeFromRadio(selectedIndex(), s_.inputMode);
}

void Tpreferenceuzivatele::showEvent(QShowEvent* event) {
  showValues();
  QDialog::showEvent(event);
}

void Tpreferenceuzivatele::Button2Click() {
  accept();
}

void Tpreferenceuzivatele::execute() {
  exec();
  apply();
}

void runPreferences(QWidget* parent, orv::CurveWindowState& s) {
  Tpreferenceuzivatele dialog(parent, s);
  dialog.execute();
}
