#include "qt/tvesparametryedit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::string text(const QLineEdit* e) {
  return e->text().toUtf8().toStdString();
}

constexpr int TextFieldWidth = 320;
constexpr int NumberFieldWidth = 140;

}  // namespace

TVESparametryEdit::TVESparametryEdit(orv::SectionSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName("VESparametryEdit");
  setWindowTitle(QStringLiteral("Parametry bodu VES"));
  setModal(true);

  auto* vlastnosti = new QGroupBox(QStringLiteral("Vlastnosti"), this);
  vlastnosti->setObjectName("Vlastnosti");
  auto* form = new QFormLayout(vlastnosti);
  eZeme_ = addTextField(form, "eZeme", QStringLiteral("Země:"));
  eKraj_ = addTextField(form, "eKraj", QStringLiteral("Kraj nebo širší popis umístění lokality:"));
  eLokalita_ = addTextField(form, "eLokalita", QStringLiteral("Lokalita:"));
  eProfil_ = addTextField(form, "eProfil", QStringLiteral("Název profilu na kterém leží bod VES:"));
  eNazev_ = addTextField(form, "eNazev", QStringLiteral("Název bodu VES:"));
  eDatum_ = addTextField(form, "eDatum", QStringLiteral("Datum změření bodu VES:"));
  ePoznamka_ = addTextField(form, "ePoznamka", QStringLiteral("Poznámka:"));
  eOperator_ = addTextField(form, "eOperator", QStringLiteral("Operátor:"));

  auto* pozice = new QGroupBox(QStringLiteral("Pozice"), this);
  pozice->setObjectName("Pozice");
  auto* grid = new QGridLayout(pozice);
  struct Row {
    QLineEdit** edit;
    const char* name;
    const char* label;
  };
  const Row rows[] = {{&eMetrazPovrch_, "eMetrazPovrch", "Metráž podél povrchu terénu:"},
                      {&eX_, "eX", "X souřadnice bodu VES:"},
                      {&eY_, "eY", "Y souřadnice bodu VES:"},
                      {&eZ_, "eZ", "Z souřadnice bodu VES:"},
                      {&eMetraz_, "eMetraz", "Metráž bodu na aktuálním pf:"}};
  int r = 0;
  for (const Row& row : rows) {
    auto* e = new QLineEdit(pozice);
    e->setObjectName(row.name);
    e->setFixedWidth(NumberFieldWidth);
    e->installEventFilter(this);
    connect(e, &QLineEdit::textEdited, this, [this] { userEdited_ = true; });
    auto* label = new QLabel(QString::fromUtf8(row.label), pozice);
    label->setBuddy(e);
    grid->addWidget(label, r, 0);
    grid->addWidget(e, r, 1);
    grid->addWidget(new QLabel(QStringLiteral("[m]"), pozice), r, 2);
    *row.edit = e;
    ++r;
  }

  bPuvodni_ = new QPushButton(QStringLiteral("Původní hodnoty"), this);
  bPuvodni_->setObjectName("bPuvodni");
  bPuvodni_->setAutoDefault(false);
  bOK_ = new QPushButton(QStringLiteral("OK"), this);
  bOK_->setObjectName("bOK");
  // Enter in any field lands on the default button.
  bOK_->setDefault(true);
  connect(bPuvodni_, &QPushButton::clicked, this, &TVESparametryEdit::PuvodnihodnotyClick);
  connect(bOK_, &QPushButton::clicked, this, &TVESparametryEdit::OKClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(bPuvodni_);
  buttons->addWidget(bOK_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(vlastnosti);
  layout->addWidget(pozice);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* TVESparametryEdit::addTextField(QFormLayout* form, const char* objectName,
                                           const QString& label) {
  auto* e = new QLineEdit(form->parentWidget());
  e->setObjectName(objectName);
  e->setMinimumWidth(TextFieldWidth);
  connect(e, &QLineEdit::textEdited, this, [this] { userEdited_ = true; });
  form->addRow(label, e);
  return e;
}

const orv::CurveWindowState& TVESparametryEdit::curveState() const {
  return session_.curve.state();
}

QLineEdit* TVESparametryEdit::positionEdit(orv::PositionField which) const {
  switch (which) {
    case orv::PositionField::SurfaceChainage:
      return eMetrazPovrch_;
    case orv::PositionField::X:
      return eX_;
    case orv::PositionField::Y:
      return eY_;
    case orv::PositionField::Z:
      return eZ_;
    case orv::PositionField::ProfileChainage:
      break;
  }
  return eMetraz_;
}

orv::PointFields TVESparametryEdit::fields() const {
  orv::PointFields f;
  f.country = text(eZeme_);
  f.region = text(eKraj_);
  f.locality = text(eLokalita_);
  f.profileName = text(eProfil_);
  f.pointName = text(eNazev_);
  f.date = text(eDatum_);
  f.note = text(ePoznamka_);
  f.operatorName = text(eOperator_);
  f.surfaceChainage = text(eMetrazPovrch_);
  f.x = text(eX_);
  f.y = text(eY_);
  f.z = text(eZ_);
  f.profileChainage = text(eMetraz_);
  return f;
}

void TVESparametryEdit::showFields(const orv::PointFields& f) {
  eZeme_->setText(qs(f.country));
  eKraj_->setText(qs(f.region));
  eLokalita_->setText(qs(f.locality));
  eProfil_->setText(qs(f.profileName));
  eNazev_->setText(qs(f.pointName));
  eDatum_->setText(qs(f.date));
  ePoznamka_->setText(qs(f.note));
  eOperator_->setText(qs(f.operatorName));
  for (orv::PositionField which : orv::AllPositionFields)
    positionEdit(which)->setText(qs(orv::fieldText(f, which)));
  userEdited_ = false;
}

void TVESparametryEdit::focusField(QLineEdit* e) {
  e->setFocus(Qt::OtherFocusReason);
  e->selectAll();
}

void TVESparametryEdit::checkField(orv::PositionField which) {
  const bool editing = session_.view.editingExistingPoint;
  if (orv::dialogNamesProfileOnly(session_.db, editing)) return;
  orv::PointFields f = fields();
  if (orv::checkPositionField(session_.db, curveState(), editing, f, which, session_.dialogs))
    return;
  QLineEdit* e = positionEdit(which);
  e->setText(qs(orv::fieldText(f, which)));
  focusField(e);
}

void TVESparametryEdit::eMetrazPovrchExit() {
  checkField(orv::PositionField::SurfaceChainage);
}
void TVESparametryEdit::eXExit() {
  checkField(orv::PositionField::X);
}
void TVESparametryEdit::eYExit() {
  checkField(orv::PositionField::Y);
}
void TVESparametryEdit::eZExit() {
  checkField(orv::PositionField::Z);
}
void TVESparametryEdit::eMetrazExit() {
  checkField(orv::PositionField::ProfileChainage);
}

void TVESparametryEdit::OKClick() {
  orv::PointFields f = fields();
  const orv::ConfirmResult r = orv::confirmPointFields(
      session_.db, curveState(), session_.view.editingExistingPoint, f, session_.dialogs);
  for (orv::PositionField which : orv::AllPositionFields) {
    QLineEdit* e = positionEdit(which);
    const QString shown = qs(orv::fieldText(f, which));
    if (e->text() != shown) e->setText(shown);
  }
  if (r.outcome == orv::ConfirmOutcome::Accepted) {
    closing_ = true;
    accept();
    return;
  }
  focusField(positionEdit(r.focus));
}

void TVESparametryEdit::PuvodnihodnotyClick() {
  showFields(
      orv::originalPointFields(session_.db, curveState(), session_.view.editingExistingPoint));
}

void TVESparametryEdit::FormActivate() {
  if (userEdited_) return;
  showFields(orv::fillPointFields(session_.db, curveState(), session_.view.editingExistingPoint));
}

void TVESparametryEdit::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  closing_ = false;
  showFields(orv::fillPointFields(session_.db, curveState(), session_.view.editingExistingPoint));
  if (session_.db.currentPoint == orv::NoPointYet)
    focusField(eProfil_);
  else
    bOK_->setFocus(Qt::OtherFocusReason);
}

void TVESparametryEdit::closeEvent(QCloseEvent* e) {
  // The close box is no cancel: the caller stores the fields as they stand,
  // only the confirmation checks are skipped.
  closing_ = true;
  QDialog::closeEvent(e);
}

void TVESparametryEdit::keyPressEvent(QKeyEvent* e) {
  // The dialog has no cancel: Escape must not close it behind the user's back
  // (its caller stores the fields however it was closed).
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

bool TVESparametryEdit::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && isVisible()) FormActivate();
  return QDialog::event(e);
}

bool TVESparametryEdit::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::FocusOut && !closing_ && isVisible()) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
    // Focus taken by a message box or a menu is no leaving of the field, and
    // a move onto "OK" is followed by the confirmation, which checks every
    // field itself.
    const bool leaving = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                         reason == Qt::MouseFocusReason || reason == Qt::OtherFocusReason;
    if (leaving && QApplication::focusWidget() != bOK_) {
      if (watched == eMetrazPovrch_)
        eMetrazPovrchExit();
      else if (watched == eX_)
        eXExit();
      else if (watched == eY_)
        eYExit();
      else if (watched == eZ_)
        eZExit();
      else if (watched == eMetraz_)
        eMetrazExit();
    }
  }
  return QDialog::eventFilter(watched, e);
}
