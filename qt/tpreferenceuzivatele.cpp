#include "qt/tpreferenceuzivatele.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/curve/settings_commands.h"
#include "core/curve/additions_file.h"

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

Tpreferenceuzivatele::Tpreferenceuzivatele(QWidget* parent, orv::CurveWindowState& s,
                                           ui::Dialogs* dialogs)
    : QDialog(parent), s_(s), dialogs_(dialogs) {
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
  accurate_ = new QCheckBox(QString::fromUtf8("Přesná přímá úloha (dlouhý filtr)"), this);
  accurate_->setObjectName("presnaprimauloha");
  top->addWidget(accurate_);
  auto* toleranceRow = new QHBoxLayout;
  auto* toleranceLabel =
      new QLabel(QString::fromUtf8("Ekvivalence: přípustné zhoršení SSQ (podíl)"), this);
  tolerance_ = new QLineEdit(this);
  tolerance_->setObjectName("ekvivalence");
  toleranceLabel->setBuddy(tolerance_);
  toleranceRow->addWidget(toleranceLabel);
  toleranceRow->addWidget(tolerance_);
  top->addLayout(toleranceRow);
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
  const orv::AdditionTexts additions = orv::additionTexts(s_);
  accurate_->setChecked(additions.accurateForward);
  tolerance_->setText(QString::fromStdString(additions.equivalenceTolerance));
}

int Tpreferenceuzivatele::selectedIndex() const {
  return group_->checkedId();
}

bool Tpreferenceuzivatele::apply() {
  s_.inputMode = orv::inputModeFromRadio(selectedIndex(), s_.inputMode);
  const orv::AdditionTexts typed{accurate_->isChecked(), tolerance_->text().toStdString()};
  if (orv::takeOverAdditions(s_, typed)) return true;
  if (dialogs_) dialogs_->message(orv::AdditionRefusedMessage);
  return false;
}

void Tpreferenceuzivatele::showEvent(QShowEvent* event) {
  showValues();
  QDialog::showEvent(event);
}

void Tpreferenceuzivatele::Button2Click() {
  accept();
}

void Tpreferenceuzivatele::execute() {
  const bool accurateBefore = s_.accurateForward;
  exec();
  apply();
  if (!orv::writeAdditions(s_) && dialogs_) dialogs_->message("Nemožno ukládat do ini souboru!");
  if (s_.accurateForward != accurateBefore && forwardChanged_) forwardChanged_();
}

void runPreferences(QWidget* parent, orv::CurveWindowState& s) {
  Tpreferenceuzivatele dialog(parent, s);
  dialog.execute();
}
