#include "qt/tparzobr.h"

#include <QCheckBox>
#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QColor qtColour(int32_t c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QLineEdit* numberEdit(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMaximumWidth(60);
  return e;
}

ColourSwatch* swatch(QWidget* parent, const char* name) {
  auto* w = new ColourSwatch(parent);
  w->setObjectName(name);
  return w;
}

void addRow(QGridLayout* grid, int row, const QString& caption, QWidget* control) {
  grid->addWidget(new QLabel(caption), row, 0);
  grid->addWidget(control, row, 1);
}

}  // namespace

ColourSwatch::ColourSwatch(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::PointingHandCursor);
  setMinimumSize(32, 16);
}

void ColourSwatch::setColour(int32_t colour) {
  colour_ = colour;
  update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), qtColour(colour_));
  p.setPen(Qt::black);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked();
}

Tparzobr::Tparzobr(QWidget* parent, orv::CurveWindowState& s, orv::SectionDisplayFlags& section,
                   ui::Dialogs& dialogs)
    : QDialog(parent), s_(s), section_(section), dialogs_(dialogs) {
  setObjectName("parzobr");
  setWindowTitle(QString::fromUtf8("Parametry zobrazení"));
  buildControls();
}

void Tparzobr::buildControls() {
  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  top->addLayout(columns);

  {
    auto* g = new QGroupBox(QString::fromUtf8("naměřená křivka"), this);
    auto* grid = new QGridLayout(g);
    silanam_ = numberEdit(g, "silanam");
    addRow(grid, 0, QString::fromUtf8("síla čáry"), silanam_);
    for (int b = 1; b <= orv::MaxBranch; ++b) {
      QByteArray name = "Shape" + QByteArray::number(b);
      shape_[b] = swatch(g, name.constData());
      addRow(grid, b, QString::fromUtf8("barva čáry a křížků větve %1").arg(b), shape_[b]);
      connect(shape_[b], &ColourSwatch::clicked, this,
              [this, b] { chooseColour(shape_[b], s_.colourBranch[b]); });
    }
    left->addWidget(g);
  }
  {
    auto* g = new QGroupBox(QString::fromUtf8("snesená křivka"), this);
    auto* grid = new QGridLayout(g);
    silasnes_ = numberEdit(g, "silasnes");
    barvasnes_ = swatch(g, "barvasnes");
    addRow(grid, 0, QString::fromUtf8("síla čáry"), silasnes_);
    addRow(grid, 1, QString::fromUtf8("barva čáry"), barvasnes_);
    connect(barvasnes_, &ColourSwatch::clicked, this,
            [this] { chooseColour(barvasnes_, s_.colourComposite); });
    left->addWidget(g);
  }
  {
    auto* g = new QGroupBox(QString::fromUtf8("vypočtená křivka"), this);
    auto* grid = new QGridLayout(g);
    silavyp_ = numberEdit(g, "silavyp");
    barvavyp_ = swatch(g, "barvavyp");
    addRow(grid, 0, QString::fromUtf8("síla čáry"), silavyp_);
    addRow(grid, 1, QString::fromUtf8("barva čáry"), barvavyp_);
    connect(barvavyp_, &ColourSwatch::clicked, this,
            [this] { chooseColour(barvavyp_, s_.colourComputed); });
    left->addWidget(g);
  }
  {
    auto* g = new QGroupBox(QString::fromUtf8("model"), this);
    auto* grid = new QGridLayout(g);
    silamodel_ = numberEdit(g, "silamodel");
    silaaktmod_ = numberEdit(g, "silaaktmod");
    barvamodel_ = swatch(g, "barvamodel");
    barvafixmod_ = swatch(g, "barvafixmod");
    addRow(grid, 0, QString::fromUtf8("síla čáry"), silamodel_);
    addRow(grid, 1, QString::fromUtf8("síla aktivní\nčáry modelu"), silaaktmod_);
    addRow(grid, 2, QString::fromUtf8("barva čáry"), barvamodel_);
    addRow(grid, 3, QString::fromUtf8("barva zafixované\nčáry modelu"), barvafixmod_);
    connect(barvamodel_, &ColourSwatch::clicked, this,
            [this] { chooseColour(barvamodel_, s_.colourModel); });
    connect(barvafixmod_, &ColourSwatch::clicked, this,
            [this] { chooseColour(barvafixmod_, s_.colourModelFixed); });
    right->addWidget(g);
  }
  {
    auto* g = new QGroupBox(QString::fromUtf8("proložení křivek"), this);
    auto* grid = new QGridLayout(g);
    delatbs_ = new QCheckBox(QString::fromUtf8("b-spline křivek VES"), g);
    delatbs_->setObjectName("delatbs");
    stupenbs_ = numberEdit(g, "stupenbs");
    pocetbodubs_ = numberEdit(g, "pocetbodubs");
    grid->addWidget(delatbs_, 0, 0, 1, 2);
    addRow(grid, 1, QString::fromUtf8("stupeň B-spline"), stupenbs_);
    addRow(grid, 2, QString::fromUtf8("počet bodů B-spline"), pocetbodubs_);
    right->addWidget(g);
  }
  {
    auto* g = new QGroupBox(QString::fromUtf8("název VES v řezu"), this);
    auto* box = new QVBoxLayout(g);
    profilvnazvu_ = new QCheckBox(QString::fromUtf8("předpona metráže název profilu"), g);
    profilvnazvu_->setObjectName("profilvnazvu");
    box->addWidget(profilvnazvu_);
    right->addWidget(g);
  }
  {
    auto* g = new QGroupBox(QString::fromUtf8("křivka VES "), this);
    auto* box = new QVBoxLayout(g);
    blokmeritkakrivekves_ = new QCheckBox(QString::fromUtf8("stejné měřítko"), g);
    blokmeritkakrivekves_->setObjectName("blokmeritkakrivekves");
    box->addWidget(blokmeritkakrivekves_);
    right->addWidget(g);
  }
  {
    auto* g = new QGroupBox(QString::fromUtf8("popis VES v řezu"), this);
    auto* box = new QVBoxLayout(g);
    metrazpodlepovrchujepopis_ = new QCheckBox(
        QString::fromUtf8(
            "podle metráže podle \npovrchu terénu, jinak popíše \nX souřadnicí bodu VES"),
        g);
    metrazpodlepovrchujepopis_->setObjectName("metrazpodlepovrchujepopis");
    box->addWidget(metrazpodlepovrchujepopis_);
    right->addWidget(g);
  }

  auto* buttons = new QHBoxLayout;
  Button_ok_ = new QPushButton("OK", this);
  Button_ok_->setObjectName("Button_ok");
  Button_ok_->setDefault(true);
  ButtonImpli_ = new QPushButton(QString::fromUtf8("implicitní hodnoty"), this);
  ButtonImpli_->setObjectName("ButtonImpli");
  ButtonImpli_->setAutoDefault(false);
  ButtonPuvodni_ = new QPushButton(QString::fromUtf8("původní hodnoty"), this);
  ButtonPuvodni_->setObjectName("ButtonPuvodni");
  ButtonPuvodni_->setAutoDefault(false);
  buttons->addWidget(ButtonImpli_);
  buttons->addWidget(ButtonPuvodni_);
  buttons->addStretch();
  buttons->addWidget(Button_ok_);
  top->addLayout(buttons);

  connect(Button_ok_, &QPushButton::clicked, this, &Tparzobr::Button_okClick);
  connect(ButtonImpli_, &QPushButton::clicked, this, &Tparzobr::ButtonImpliClick);
  connect(ButtonPuvodni_, &QPushButton::clicked, this, &Tparzobr::ButtonPuvodniClick);
}

void Tparzobr::showEditsAndColours() {
  orv::DisplayParameterTexts t = orv::displayParameterTexts(s_, section_);
  stupenbs_->setText(QString::fromStdString(t.splineDegree));
  pocetbodubs_->setText(QString::fromStdString(t.splineResolution));
  silanam_->setText(QString::fromStdString(t.lineWidthMeasured));
  silasnes_->setText(QString::fromStdString(t.lineWidthComposite));
  silavyp_->setText(QString::fromStdString(t.lineWidthComputed));
  silaaktmod_->setText(QString::fromStdString(t.lineWidthActiveModel));
  silamodel_->setText(QString::fromStdString(t.lineWidthModel));
  for (int b = 1; b <= orv::MaxBranch; ++b) shape_[b]->setColour(s_.colourBranch[b]);
  barvasnes_->setColour(s_.colourComposite);
  barvamodel_->setColour(s_.colourModel);
  barvafixmod_->setColour(s_.colourModelFixed);
  barvavyp_->setColour(s_.colourComputed);
  delatbs_->setChecked(s_.splineAllCurves);
}

void Tparzobr::showValues() {
  showEditsAndColours();
  profilvnazvu_->setChecked(section_.profilePrefix);
  blokmeritkakrivekves_->setChecked(s_.lockCurveScale);
  metrazpodlepovrchujepopis_->setChecked(section_.labelBySurfaceChainage);
}

orv::DisplayParameterTexts Tparzobr::texts() const {
  orv::DisplayParameterTexts t;
  t.splineDegree = stupenbs_->text().toStdString();
  t.splineResolution = pocetbodubs_->text().toStdString();
  t.lineWidthMeasured = silanam_->text().toStdString();
  t.lineWidthComposite = silasnes_->text().toStdString();
  t.lineWidthComputed = silavyp_->text().toStdString();
  t.lineWidthActiveModel = silaaktmod_->text().toStdString();
  t.lineWidthModel = silamodel_->text().toStdString();
  t.splineAllCurves = delatbs_->isChecked();
  t.profilePrefix = profilvnazvu_->isChecked();
  t.lockCurveScale = blokmeritkakrivekves_->isChecked();
  t.labelBySurfaceChainage = metrazpodlepovrchujepopis_->isChecked();
  return t;
}

void Tparzobr::showEvent(QShowEvent* event) {
  showValues();
  QDialog::showEvent(event);
  Button_ok_->setFocus();
}

void Tparzobr::chooseColour(ColourSwatch* swatch, int32_t& member) {
  if (std::optional<ui::Colour> c = dialogs_.chooseColour(member)) member = *c & 0x00FFFFFF;
  swatch->setColour(member);
}

void Tparzobr::Button_okClick() {
  accept();
}

void Tparzobr::ButtonImpliClick() {
  orv::applyDisplayDefaults(s_);
  showEditsAndColours();
}

void Tparzobr::ButtonPuvodniClick() {
  showValues();
}

bool Tparzobr::execute() {
  exec();
  orv::DisplayTakeOverResult r = orv::takeOverDisplayParameters(s_, section_, texts());
  if (!r.ok) dialogs_.message(orv::displayTakeOverMessage(r));
  return r.ok;
}

bool runDisplayParameters(QWidget* parent, orv::CurveWindowState& s,
                          orv::SectionDisplayFlags& section, ui::Dialogs& dialogs) {
  Tparzobr dialog(parent, s, section, dialogs);
  return dialog.execute();
}
