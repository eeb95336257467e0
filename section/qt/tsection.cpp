#include "section/qt/tsection.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include "base/fixed_text.h"
#include "section/database_commands.h"
#include "section/qt/tvesparametryedit.h"
#include "section/section_operations.h"
#include "ui/qt/image_widget.h"
#include "ui/qt/menu_item.h"
#include "ui/qt/qt_dialogs.h"

namespace {

QString qs(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

}  // namespace

TSection::TSection(orv::CurveLink& curve, int curveWindowWidth, QWidget* parent,
                   ui::Dialogs* dialogs)
    : QMainWindow(parent),
      imgRez_(new ui::ImageWidget(this)),
      ownDialogs_(dialogs ? nullptr : std::make_unique<ui::QtDialogs>(this)),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      chrome_(this, nullptr, nullptr, imgRez_, ui::QtWindowChrome::DockEdge::Left),
      session_{*db_,
               view_,
               *dialogs_,
               curve,
               [this] { paintSection(); },
               [this] { return runPointDialog(); }} {
  setObjectName("Section");
  imgRez_->setObjectName("imgRez");
  setCentralWidget(imgRez_);
  orv::setInitialDatabaseState(*db_);
  setWindowTitle(qs(orv::sectionCaption(*db_)));
  session_.setCaption = [this](const std::string& caption) { setWindowTitle(qs(caption)); };
  session_.showIfNeverShown = [this] {
    if (!shownOnce_) show();
  };

  connect(imgRez_, &ui::ImageWidget::mousePressed, this, &TSection::imgRezMouseDown);
  connect(imgRez_, &ui::ImageWidget::mouseDoubleClicked, this, &TSection::imgRezDblClick);
  connect(imgRez_, &ui::ImageWidget::resized, this, &TSection::FormResize);
  buildMenus();

  // Normal window at the left edge, leaving the curve window its width less
  // the 5 pixels the two windows overlap.
  const ui::ScreenSize screen = chrome_.screenSize();
  chrome_.placeDockedRight(screen.width - curveWindowWidth + 5);
}

TSection::~TSection() = default;

QAction* TSection::action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

QAction* TSection::addItem(QMenu* menu, const QString& objectName, const QString& caption,
                           const QKeySequence& shortcut, std::function<void()> handler) {
  return ui::addMenuItem(this, menu, objectName, caption, shortcut, std::move(handler));
}

void TSection::buildMenus() {
  struct Group {
    const char* objectName;
    const char* caption;
  };
  const Group groups[] = {{"DB1", "DB"},         {"Edit1", "Edit"},     {"VP1", "VP"},
                          {"Zobraz1", "Zobraz"}, {"Vrstvy1", "Vrstvy"}, {"Export1", "Export"},
                          {"Tisk1", "Tisk"}};
  for (const Group& g : groups) {
    QMenu* m = menuBar()->addMenu(QString::fromUtf8(g.caption));
    m->setObjectName(g.objectName);
  }
  QMenu* database = menuBar()->findChild<QMenu*>("DB1");
  addItem(database, "Otevidbnamenchdatavsledk1",
          QStringLiteral("Otevři db naměřených dat a výsledků "),
          QKeySequence(Qt::CTRL | Qt::Key_O), [this] { Otevidbnamenchdatavsledk1Click(); });
  addItem(database, "Ulodbnamenchdatavsledkjako1",
          QStringLiteral("Ulož db naměřených dat a výsledků "), QKeySequence(Qt::CTRL | Qt::Key_U),
          [this] { Ulodbnamenchdatavsledkjako1Click(); });
  addItem(database, "Ulodbnamenchdatavsledk1",
          QStringLiteral("Ulož db naměřených dat a výsledků jako"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_U), [this] { Ulodbnamenchdatavsledk1Click(); });
  QMenu* edit = menuBar()->findChild<QMenu*>("Edit1");
  addItem(edit, "Dalsousednbod1", QStringLiteral("Další sousední bod"), QKeySequence(Qt::Key_F3),
          [this] { Dalsousednbod1Click(); });
  addItem(edit, "Pedchozsousednbod1", QStringLiteral("Předchozí sousední bod"),
          QKeySequence(Qt::Key_F2), [this] { Pedchozsousednbod1Click(); });
  addItem(edit, "NaaktulnmpfupravXvechbodVESnapodlpovrchu1",
          QStringLiteral("Na aktuálním pf uprav XvšechbodůVES na podél povrchu"), QKeySequence(),
          [this] { NaaktulnmpfupravXvechbodVESnapodlpovrchu1Click(); });

  popup_ = new QMenu(this);
  popup_->setObjectName("PopupMenu1");
  QMenu* vyber = popup_->addMenu(QStringLiteral("Vyber aktuální profil "));
  vyber->setObjectName("Vyberaktulnprofil1");
  for (int k = 0; k < orv::MaxProfiles; ++k)
    profileItems_[k] = addItem(vyber, QStringLiteral("pf%1").arg(k), QStringLiteral("pf %1").arg(k),
                               QKeySequence(), [this, k] { pfClick(k); });
  addItem(popup_, "Novprofil1", QStringLiteral("Nový profil"), QKeySequence(),
          [this] { Novprofil1Click(); });
  addItem(popup_, "Smaaktulnbod1", QStringLiteral("Smaž aktuální bod"), QKeySequence(),
          [this] { Smaaktulnbod1Click(); });
  updateProfileMenu();

  addItem(nullptr, "HelpF1", QStringLiteral("Help"), QKeySequence(Qt::Key_F1),
          [this] { HelpF1Click(); });
}

void TSection::updateProfileMenu() {
  for (int k = 0; k < orv::MaxProfiles; ++k) {
    const orv::ProfileMenuEntry e = orv::profileMenuEntry(*db_, k);
    QString caption = qs(e.caption);
    caption.replace('&', QStringLiteral("&&"));
    profileItems_[k]->setText(caption);
    profileItems_[k]->setVisible(e.visible);
  }
}

void TSection::paintSection() {
  updateProfileMenu();
  orv::drawProfileStatusPicture(*db_, imgRez_->canvas());
  imgRez_->refresh();
}

orv::PointFields TSection::runPointDialog() {
  TVESparametryEdit dialog(session_, this);
  dialog.exec();
  return dialog.fields();
}

void TSection::deleteCurrentPoint() {
  orv::deleteCurrentPoint(session_);
}
void TSection::storeSounding() {
  orv::storeSounding(session_);
}
void TSection::show() {
  QMainWindow::show();
}
void TSection::repaint() {
  paintSection();
}

void TSection::Novprofil1Click() {
  orv::createProfile(session_);
}
void TSection::transferToSection() {
  orv::transferToSection(session_);
}
void TSection::insertPoint() {
  orv::insertPoint(session_);
}
bool TSection::loadNeighbour(bool next) {
  return orv::loadNeighbour(session_, next);
}
void TSection::Dalsousednbod1Click() {
  orv::loadNeighbour(session_, true);
}
void TSection::Pedchozsousednbod1Click() {
  orv::loadNeighbour(session_, false);
}

void TSection::describeCurrentPoint() {
  // The dialog offers the sounding just read as a point about to be
  // inserted; what it returns describes the current point instead.
  const orv::CurveWindowState& s = session_.curve.state();
  session_.view.editingExistingPoint = false;
  const orv::PointFields f =
      session_.pointDialog ? session_.pointDialog() : orv::fillPointFields(*db_, s, false);
  const int index = orv::selectedPoint(*db_) ? db_->currentPoint : -1;
  orv::storePointFields(*db_, s, f, index, false);
  paintSection();
}
std::string TSection::currentProfileName() {
  if (db_->currentProfile < 0 || db_->currentProfile >= orv::MaxProfiles) return "";
  return orv::shownText(db_->profiles[db_->currentProfile].profileName);
}

void TSection::Smaaktulnbod1Click() {
  orv::deleteCurrentPoint(session_);
}
void TSection::pfClick(int k) {
  orv::selectProfile(session_, k);
}
void TSection::NaaktulnmpfupravXvechbodVESnapodlpovrchu1Click() {
  orv::alignPointsToSurface(session_);
}

void TSection::Otevidbnamenchdatavsledk1Click() {
  orv::readDatabase(session_);
}
// The item without "jako" asks for a name only until the database has one.
void TSection::Ulodbnamenchdatavsledkjako1Click() {
  orv::saveDatabaseOrAsk(session_);
}
void TSection::Ulodbnamenchdatavsledk1Click() {
  orv::saveDatabase(session_, true);
}

void TSection::HelpF1Click() {
  if (helpHook_) helpHook_(2);
}

void TSection::imgRezMouseDown(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) popup_->popup(e->globalPosition().toPoint());
}

void TSection::imgRezDblClick(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) orv::sectionDoubleClick(session_);
}

void TSection::FormShow() {
  // The bitmap is made twice the screen in each direction once; the window
  // shows the part that fits.
  const ui::ScreenSize screen = chrome_.screenSize();
  imgRez_->canvas().resize(2 * screen.width, 2 * screen.height);
  paintSection();
}

void TSection::FormResize(QSize) {
  if (view_.fitWidth || view_.fitHeight) paintSection();
}

void TSection::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shownOnce_) {
    shownOnce_ = true;
    FormShow();
  }
}

void TSection::closeEvent(QCloseEvent* e) {
  // Closing the section ends the program: the curve window closes, which
  // quits.
  e->accept();
  if (closing_) return;
  closing_ = true;
  if (closeCurveWindow_) closeCurveWindow_();
}
