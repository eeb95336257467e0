#include "qt/tparucm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Row {
  const char* label;
  const char* edit;
  const char* secondLabel;  // a second edit on the same row ("a krok tiku:")
  const char* secondEdit;
  const char* unit;
};

QString qs(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QLineEdit* addEdit(QWidget* parent, const char* objectName) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(objectName);
  return e;
}

QGroupBox* group(QWidget* parent, const char* title, const Row* rows, int count) {
  auto* box = new QGroupBox(qs(title), parent);
  auto* grid = new QGridLayout(box);
  for (int r = 0; r < count; ++r) {
    grid->addWidget(new QLabel(qs(rows[r].label), box), r, 0);
    grid->addWidget(addEdit(box, rows[r].edit), r, 1);
    if (rows[r].secondEdit) {
      grid->addWidget(new QLabel(qs(rows[r].secondLabel), box), r, 2);
      grid->addWidget(addEdit(box, rows[r].secondEdit), r, 3);
    }
    grid->addWidget(new QLabel(qs(rows[r].unit), box), r, 4);
  }
  return box;
}

}  // namespace

TparUCM::TparUCM(QWidget* parent) : QDialog(parent) {
  setObjectName("TparUCM");
  setWindowTitle(QStringLiteral("Parametry exportu řezů do DXF"));
  setModal(true);
  const Row geometry[] = {
      {"převýšení řezu výkresu  DXF:", "prevyseni", nullptr, nullptr, "násobné"},
      {"velikost menších písmen v DXF řezu:", "mensivelikost", nullptr, nullptr, "pxl"},
      {"velikost větších písmen v DXF řezu:", "vetsivelikost", nullptr, nullptr, "pxl"},
      {"krok popisu X osy:", "krokpopx", "a krok tiku:", "krokticx", "m"},
      {"krok popisu Z osy:", "krokpopy", "a krok tiku:", "krokticy", "m"},
  };
  const Row marks[] = {
      {"šířka znaku rozhraní dle VES:", "sirkakriz", nullptr, nullptr, "m"},
      {"výška znaku rozhraní dle VES:", "vyskakriz", nullptr, nullptr, "m"},
      {"šířka znaku šipky pozice VES:", "sirkasipky", nullptr, nullptr, "m"},
      {"výška znaku šipky pozice VES:", "vyskasipky", nullptr, nullptr, "m"},
  };
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group(this, "geometrie", geometry, 5));
  layout->addWidget(group(this, "značky", marks, 4));
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName("ButtonOK");
  ok->setDefault(true);
  auto* original = new QPushButton(QStringLiteral("původní"), this);
  original->setObjectName("Button1");
  buttons->addWidget(ok);
  buttons->addWidget(original);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TparUCM::ButtonOKClick);
  connect(original, &QPushButton::clicked, this, &TparUCM::Button1Click);
}

QLineEdit* TparUCM::edit(const char* objectName) const {
  return findChild<QLineEdit*>(objectName);
}

void TparUCM::execute(orv::DxfSettings& settings, ui::Dialogs& dialogs) {
  settings_ = &settings;
  exec();
  orv::takeOverDxfEdits(settings, texts(), dialogs);
  settings_ = nullptr;
}

void TparUCM::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

void TparUCM::FormShow() {
  if (settings_) showTexts(orv::dxfEditTexts(*settings_));
}

void TparUCM::Button1Click() {
  FormShow();
}

void TparUCM::ButtonOKClick() {
  accept();
}

void TparUCM::showTexts(const orv::DxfEditTexts& t) {
  const std::pair<const char*, const std::string*> fields[] = {
      {"prevyseni", &t.prevyseni},         {"mensivelikost", &t.mensivelikost},
      {"vetsivelikost", &t.vetsivelikost}, {"krokpopx", &t.krokpopx},
      {"krokticx", &t.krokticx},           {"krokpopy", &t.krokpopy},
      {"krokticy", &t.krokticy},           {"sirkakriz", &t.sirkakriz},
      {"vyskakriz", &t.vyskakriz},         {"sirkasipky", &t.sirkasipky},
      {"vyskasipky", &t.vyskasipky}};
  for (const auto& [name, text] : fields) edit(name)->setText(QString::fromStdString(*text));
}

orv::DxfEditTexts TparUCM::texts() const {
  auto text = [this](const char* name) { return edit(name)->text().toStdString(); };
  orv::DxfEditTexts t;
  t.prevyseni = text("prevyseni");
  t.mensivelikost = text("mensivelikost");
  t.vetsivelikost = text("vetsivelikost");
  t.krokpopx = text("krokpopx");
  t.krokticx = text("krokticx");
  t.krokpopy = text("krokpopy");
  t.krokticy = text("krokticy");
  t.sirkakriz = text("sirkakriz");
  t.vyskakriz = text("vyskakriz");
  t.sirkasipky = text("sirkasipky");
  t.vyskasipky = text("vyskasipky");
  return t;
}
