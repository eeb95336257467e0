#include "qt/tulvakwin.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>

#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/composite_editing.h"
#include "commands/curve/curve_construction.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/inversion_command.h"
#include "commands/curve/kmt_commands.h"
#include "commands/curve/manual_input.h"
#include "commands/curve/model_editing.h"
#include "commands/curve/oax_commands.h"
#include "commands/curve/sas_commands.h"
#include "commands/curve/settings_commands.h"
#include "core/curve/additions_file.h"
#include "core/curve/settings_file.h"
#include "core/interpretation/branch_merging.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"
#include "qt/image_widget.h"
#include "qt/menu_item.h"

namespace {

// Only the three buttons the program knows act; a back or forward button
// must not place corners or start drags.
bool knownButton(const QMouseEvent* e) {
  const Qt::MouseButton b = e->button();
  return b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton;
}

orv::MouseButton buttonOf(const QMouseEvent* e) {
  switch (e->button()) {
    case Qt::RightButton:
      return orv::MouseButton::Right;
    case Qt::MiddleButton:
      return orv::MouseButton::Middle;
    default:
      return orv::MouseButton::Left;
  }
}

// The image's mouse event in the terms of the command layer: pixel position,
// the button that changed, the modifier keys and the buttons held.
orv::MouseEvent mouseEventOf(const QMouseEvent* e) {
  orv::MouseEvent m;
  m.button = buttonOf(e);
  const Qt::KeyboardModifiers keys = e->modifiers();
  m.shift = keys.testFlag(Qt::ShiftModifier);
  m.ctrl = keys.testFlag(Qt::ControlModifier);
  m.alt = keys.testFlag(Qt::AltModifier);
  m.x = static_cast<int>(e->position().x());
  m.y = static_cast<int>(e->position().y());
  const Qt::MouseButtons held = e->buttons();
  m.leftHeld = held.testFlag(Qt::LeftButton);
  m.rightHeld = held.testFlag(Qt::RightButton);
  m.middleHeld = held.testFlag(Qt::MiddleButton);
  return m;
}

}  // namespace

Tulvakwin::Tulvakwin(QWidget* parent, ui::Dialogs* dialogs)
    : QMainWindow(parent),
      img_(new ui::ImageWidget(this)),
      spustit_(new QPushButton(QStringLiteral("..."), img_)),
      importdorezu_(new QPushButton(QStringLiteral("<-"), img_)),
      ownDialogs_(dialogs ? nullptr : std::make_unique<ui::QtDialogs>(this)),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      chrome_(this, spustit_, importdorezu_, img_, ui::QtWindowChrome::DockEdge::Right),
      session_{*state_, *dialogs_, img_->canvas(), chrome_, section_} {
  setObjectName("ulvakwin");
  img_->setObjectName("Img");
  spustit_->setObjectName("spustit");
  importdorezu_->setObjectName("importdorezu");
  spustit_->setToolTip(QStringLiteral("Optimalizace modelu (ENTER)"));
  importdorezu_->setToolTip(QStringLiteral("Vlož VES do řezu"));
  spustit_->installEventFilter(this);
  setCentralWidget(img_);
  setWindowTitle(QStringLiteral("ORV-program na zpracování VES"));
  chrome_.setShowOtherWindow([this] { showSectionOnce(); });

  connect(spustit_, &QPushButton::clicked, this, [this] {
    orv::spustitClick(session_);
    afterCommand();
  });
  connect(importdorezu_, &QPushButton::clicked, this, [this] { section_.transferToSection(); });
  connect(img_, &ui::ImageWidget::mousePressed, this, &Tulvakwin::ImgMouseDown);
  connect(img_, &ui::ImageWidget::mouseMoved, this, &Tulvakwin::ImgMouseMove);
  connect(img_, &ui::ImageWidget::mouseReleased, this, &Tulvakwin::ImgMouseUp);
  connect(img_, &ui::ImageWidget::mouseDoubleClicked, this, &Tulvakwin::ImgDblClick);
  connect(img_, &ui::ImageWidget::resized, this, &Tulvakwin::FormResize);

  buildMenus();
  orv::constructCurveState(session_);
  placeButtons();
}

Tulvakwin::~Tulvakwin() {
  orv::closeKmtOutput(*state_);
}

void Tulvakwin::setSection(orv::SectionLink* section) {
  section_.setTarget(section);
}

QAction* Tulvakwin::action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

QAction* Tulvakwin::addItem(QMenu* menu, const QString& objectName, const QString& caption,
                            const QKeySequence& shortcut, std::function<void()> handler) {
  std::function<void()> run;
  if (handler) {
    run = [this, h = std::move(handler)] {
      h();
      afterCommand();
    };
  }
  return ui::addMenuItem(this, menu, objectName, caption, shortcut, std::move(run));
}

void Tulvakwin::buildMenus() {
  QMenu* soubor = menuBar()->addMenu(QStringLiteral("Soubor"));
  soubor->setObjectName("Soubor1");
  addItem(soubor, "OtevtKMT1", QStringLiteral("Otevřít KMT"), QKeySequence(Qt::CTRL | Qt::Key_R),
          [this] { orv::openKmtFile(session_); });
  addItem(soubor, "NatidalKMT1", QStringLiteral("Načti další ze souboru KMT"),
          QKeySequence(Qt::CTRL | Qt::Key_D), [this] { orv::readNextKmtRecord(session_); });
  addItem(soubor, "N2", QStringLiteral("Načti byvší (předchozí) ze souboru KMT"),
          QKeySequence(Qt::CTRL | Qt::Key_B), [this] { orv::readPreviousKmtRecord(session_); });
  soubor->addSeparator();
  addItem(soubor, "OtevtOAX1", QStringLiteral("Otevřít OAX"), QKeySequence(Qt::Key_F11),
          [this] { orv::openInstrumentFile(session_); });
  addItem(soubor, "ImportOAXvadresipojednom1",
          QStringLiteral("Import OAX a načti další OAX (po jednom)"), QKeySequence(Qt::Key_I),
          [this] { orv::importOaxAndLoadNext(session_); });
  addItem(soubor, "ImportdalsouborOAXbezuloen1",
          QStringLiteral("Načti další soubor OAX (bez uložení)"), QKeySequence(Qt::Key_D),
          [this] { orv::loadNextInstrumentFileAfterLast(session_); });
  addItem(soubor, "Importcelhopfvadresi1",
          QStringLiteral("(rychlý import OAX z celého pf v adresáři)"),
          QKeySequence(Qt::CTRL | Qt::Key_I), [this] { orv::quickDirectoryImport(session_); });
  addItem(soubor, "OtevtaparaturySASamp1", QStringLiteral("Otevřít aparatury SAS amp"),
          QKeySequence(), [this] { orv::openSasFile(session_); });
  addItem(soubor, "Runvstup1", QStringLiteral("Ruční vstup"), QKeySequence(Qt::Key_R),
          [this] { orv::manualInputCommand(session_); });
  addItem(soubor, "Manulnvstupmy1", QStringLiteral("Manuální vstup myší"), QKeySequence(Qt::Key_M),
          [this] { orv::mouseEntry(session_); });
  buildTableFileItems(soubor);
  soubor->addSeparator();
  addItem(soubor, "UloitKMT1", QStringLiteral("Uložit do nového souboru KMT"),
          QKeySequence(Qt::Key_F12), [this] { orv::saveKmtToNewFile(session_); });
  addItem(soubor, "PiuloitKMT1", QStringLiteral("Přiuložit KMT "), QKeySequence(),
          [this] { orv::appendKmtRecord(session_); });
  soubor->addSeparator();
  addItem(soubor, "Konec1", QStringLiteral("Konec"), QKeySequence(Qt::CTRL | Qt::Key_Escape),
          [this] { Konec1Click(); });

  buildEditMenu();

  QMenu* snos = menuBar()->addMenu(QStringLiteral("Snos"));
  snos->setObjectName("Snos1");
  for (int t = 1; t <= 4; ++t) {
    addItem(snos, QStringLiteral("na%1vtev1").arg(t),
            QStringLiteral("Snos na %1. větev a zprůměrování stejných bodů ").arg(t),
            QKeySequence(Qt::Key_0 + t), [this, t] { orv::mergeBranches(session_, t); });
  }
  snos->addSeparator();
  addItem(snos, "PosunsnesenkivkyVESdovychrezistivit1",
          QStringLiteral("Posun snesené křivky VES do vyšších rezistivit"),
          QKeySequence(Qt::Key_F3), [this] { orv::shiftComposite(session_, +1); });
  addItem(snos, "PosunsnesenkivkyVESdonichrezistivit1",
          QStringLiteral("Posun snesené křivky VES do nižších rezistivit"),
          QKeySequence(Qt::Key_F2), [this] { orv::shiftComposite(session_, -1); });
  addItem(snos, "PosunsnesenkivkyVESkroklogohmm1",
          QStringLiteral("Posun snesené křivky VES - krok [log ohm.m]"),
          QKeySequence(Qt::CTRL | Qt::Key_K), [this] { orv::askCompositeShiftStep(session_); });
  addItem(snos, "Editovatsnesenoukivku1", QStringLiteral("Editovat snesenou křivku"),
          QKeySequence(Qt::Key_F4), [this] { orv::toggleCompositeEdit(session_); });

  auto* optimise = new QAction(QStringLiteral("Optimalizace (ENTER, klik na tlačítko ...)"), this);
  optimise->setObjectName("optimaliyacesfixy1");
  optimise->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F));
  connect(optimise, &QAction::triggered, this, [this] {
    orv::optimiseModel(session_);
    afterCommand();
  });
  menuBar()->addAction(optimise);

  QMenu* model = menuBar()->addMenu(QStringLiteral("Model"));
  model->setObjectName("Model1");
  addItem(model, "Vytvoenmodelu1",
          QStringLiteral("Začátek vytváření modelu (pravá myš mimo model)"),
          QKeySequence(Qt::Key_F6), [this] { Vytvoenmodelu1Click(); });
  // Caption-only items: they tell the mouse gestures.
  addCaption(model, "Vytvenmodelulevmylichrohy1",
             QStringLiteral("Vytváření modelu (levá myš liché rohy)"));
  addCaption(model, "Konecvytvenmodelupravmy1",
             QStringLiteral("Konec vytváření modelu (pravá myš)"));
  addCaption(model, "Vlovrstvupravmynadaktivnst1",
             QStringLiteral("Vlož vrstvu (pravá myš nad aktivní částí)"));
  addCaption(model, "Zruvrstvustednmynadaktivnvrstvou1",
             QStringLiteral("Zruš vrstvu (střední myš nad aktivní vrstvou)"));
  model->addSeparator();
  addItem(model, "Zruitmodel1", QStringLiteral("Zrušit model (pravá myš mimo model, Ctrl+pravá)"),
          QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { Zruitmodel1Click(); });
  model->addSeparator();
  addItem(model, "Zkoprujmodeldopamti1", QStringLiteral("Zkopíruj model do paměti"),
          QKeySequence(Qt::CTRL | Qt::Key_C), [this] { Zkoprujmodeldopamti1Click(); });
  addItem(model, "Vlomodelzpamti1", QStringLiteral("Vlož model z paměti"),
          QKeySequence(Qt::CTRL | Qt::Key_V), [this] { Vlomodelzpamti1Click(); });
  addItem(model, "Zkoprujaoptimalizujmodelnakivkuvlevo1",
          QStringLiteral("Zkopíruj a optimalizuj model na křivku vlevo"), QKeySequence(Qt::Key_L),
          [this] { orv::carryModelToNeighbour(session_, false); });
  addItem(model, "Zkoprujaoptimalizujmodelnakivkuvpravo1",
          QStringLiteral("Zkopíruj a optimalizuj model na křivku vpravo"), QKeySequence(Qt::Key_P),
          [this] { orv::carryModelToNeighbour(session_, true); });
  model->addSeparator();
  addItem(model, "Popimodel1", QStringLiteral("Popiš model"), QKeySequence(Qt::Key_V),
          [this] { orv::labelModel(session_); });
  addItem(model, "PopivypotenoukivkuVES1", QStringLiteral("Popiš vypočtenou křivku VES"),
          QKeySequence(Qt::CTRL | Qt::Key_P), [this] { orv::labelComputedCurve(session_); });
  buildFitMenu();
  buildModelTableItems(model);

  buildIpMenu();

  QMenu* zobrazeni = menuBar()->addMenu(QStringLiteral("Zobrazení"));
  zobrazeni->setObjectName("Zobrazen1");
  addItem(zobrazeni, "Npovda1", QStringLiteral("Parametry"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z), [this] { Npovda1Click(); });
  addItem(zobrazeni, "Defaultnrozdlenobrazovkykolikprocentvpravo1",
          QStringLiteral("Defaultní rozdělení obrazovky (kolik procent vpravo)"), QKeySequence(),
          [this] { Defaultnrozdlenobrazovkykolikprocentvpravo1Click(); });

  buildOutputMenus();

  QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
  help->setObjectName("Help2");
  addItem(help, "Help1", QStringLiteral("Help"), QKeySequence(), [this] { Help1Click(); });
  addItem(help, "Oprogramu1", QStringLiteral("O programu"), QKeySequence(),
          [this] { Oprogramu1Click(); });
  addItem(help, "Preference1", QStringLiteral("Preference"), QKeySequence(),
          [this] { Preference1Click(); });
}

QAction* Tulvakwin::addCaption(QMenu* menu, const QString& objectName, const QString& caption) {
  return ui::addMenuItem(this, menu, objectName, caption, QKeySequence(), nullptr);
}

void Tulvakwin::Vytvoenmodelu1Click() {
  orv::toggleModelBuild(session_);
}

void Tulvakwin::Zruitmodel1Click() {
  orv::clearModel(session_);
}

void Tulvakwin::Zkoprujmodeldopamti1Click() {
  orv::copyModelToClipboard(session_);
}

void Tulvakwin::Vlomodelzpamti1Click() {
  orv::pasteModelFromClipboard(session_);
}

void Tulvakwin::placeButtons() {
  const QSize b = spustit_->sizeHint();
  const int w = std::max(b.height() * 2, 36);
  const int x = std::max(0, img_->width() - 2 * w - 6);
  const int y = std::max(0, img_->height() - b.height() - 2);
  spustit_->setGeometry(x, y, w, b.height());
  importdorezu_->setGeometry(x + w + 2, y, w, b.height());
}

void Tulvakwin::setTransferButtonVisible(bool visible) {
  chrome_.setButtonVisible(ui::Button::Transfer, visible);
}

void Tulvakwin::redraw() {
  orv::CurveWindowState& s = *state_;
  // A point the section has just copied in still carries the derived values
  // of the sounding shown before it.
  if (s.fromSection && s.curveLoaded && s.readingCount > 0 &&
      orv::deriveReadings(session_, orv::ReadingOrigin::InMemory) != 1)
    return;
  orv::repaintCurveWindow(session_);
  afterCommand();
}

void Tulvakwin::loadNextInstrumentFile() {
  orv::loadNextInstrumentFile(session_);
}

void Tulvakwin::takeOverLoadedPoint() {
  orv::CurveWindowState& s = *state_;
  s.fromSection = true;
  if (orv::deriveReadings(session_, orv::ReadingOrigin::InMemory) != 1) {
    dialogs_->message("chyba při čtení");
    return;
  }
  // The point's model stays: only the picture's flags start afresh.
  s.curveLoaded = true;
  s.curveDrawn = false;
  s.modelBuildMode = false;
  s.modelLabelsDrawn = false;
  s.computedCurveValid = false;
  s.editCompositeMode = false;
  s.cursorX = s.cursorY = -1;
  s.modelWriteBackPending = false;
  chrome_.setButtonVisible(ui::Button::Optimise, true);
  chrome_.focusButton(ui::Button::Optimise);
  chrome_.setButtonVisible(ui::Button::Transfer, false);
  chrome_.setCaption("ORV-program na zpracování VES - otevřen: " +
                     orv::shownText(s.instrumentFilePath));
  if (s.modelBoundaryCount > 0 && !orv::computeForward(session_, false))
    dialogs_->message(orv::ForwardFailedMessage);
  s.modelActive = s.modelBoundaryCount > 0;
  orv::repaintCurveWindow(session_);
  // Another sounding: its model's history starts with the model it came with.
  s.modelHistory.reset(s);
  afterCommand();
}

void Tulvakwin::FormClose() {
  // A failed additions' file is told about only when orvwin.ini was written:
  // one message for one close.
  const bool settingsWritten = orv::writeSettings(*state_, *dialogs_);
  if (!orv::writeAdditions(*state_) && settingsWritten)
    dialogs_->message("Nemožno ukládat do ini souboru!");
}

void Tulvakwin::Konec1Click() {
  close();
}

void Tulvakwin::Npovda1Click() {
  if (displayParametersHook_) displayParametersHook_();
}

void Tulvakwin::Defaultnrozdlenobrazovkykolikprocentvpravo1Click() {
  orv::askScreenSplit(session_, [this] { redraw(); });
}

void Tulvakwin::Help1Click() {
  if (helpHook_) helpHook_(1);
}

void Tulvakwin::Oprogramu1Click() {
  if (aboutHook_) aboutHook_();
}

void Tulvakwin::Preference1Click() {
  if (preferenceHook_) preferenceHook_();
}

void Tulvakwin::showSectionOnce() {
  orv::CurveWindowState& s = *state_;
  if (s.sectionWindowShown) return;
  s.sectionWindowShown = true;
  section_.show();
}

void Tulvakwin::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  placeButtons();
  if (!shownOnce_) {
    shownOnce_ = true;
    if (firstShowHook_) firstShowHook_();
  }
}

void Tulvakwin::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) showSectionOnce();
}

void Tulvakwin::closeEvent(QCloseEvent* e) {
  // Every road out ("Konec", Ctrl+Esc, the close box, the section window's
  // closing) comes here; the section's unsaved changes are asked about
  // first, and "Storno" keeps the program running.
  if (!closing_) {
    if (!section_.confirmClose()) {
      e->ignore();
      return;
    }
    closing_ = true;
    orv::closeKmtOutput(*state_);
    FormClose();
    if (quitHook_) quitHook_();
  }
  e->accept();
}

bool Tulvakwin::eventFilter(QObject* watched, QEvent* event) {
  // Enter while "..." has the focus runs the inversion, as a default button.
  if (watched == spustit_ && event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      spustit_->click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void Tulvakwin::FormResize(QSize size) {
  img_->canvas().resize(size.width(), size.height());
  placeButtons();
  orv::formResize(session_);
}

void Tulvakwin::ImgMouseDown(QMouseEvent* e) {
  if (e->type() == QEvent::MouseButtonPress) {
    const bool partOfDoubleClick = swallowPress_ && e->timestamp() == doubleClickTime_;
    swallowPress_ = false;
    pressSeen_ = true;
    lastPressTime_ = e->timestamp();
    if (partOfDoubleClick) return;
  }
  if (!knownButton(e)) return;
  orv::imageMouseDown(session_, mouseEventOf(e));
  afterCommand();
}

void Tulvakwin::ImgMouseMove(QMouseEvent* e) {
  orv::imageMouseMove(session_, mouseEventOf(e));
  afterCommand();
}

void Tulvakwin::ImgMouseUp(QMouseEvent* e) {
  swallowPress_ = false;
  if (!knownButton(e)) return;
  orv::imageMouseUp(session_, mouseEventOf(e));
  afterCommand();
}

void Tulvakwin::ImgDblClick(QMouseEvent* e) {
  // Depending on the platform the second press of a double click arrives as
  // a press before the double click, as a press after it, or only as the
  // double click; it must act exactly once (two corners of a model are often
  // placed in quick succession). That press and the double click are one
  // event of the platform and carry its time. Only a press of that time is
  // swallowed: when the double click opens an input, its modal dialogs take
  // the release, and the user's next press must still act.
  const bool pressAlreadyTaken = pressSeen_ && lastPressTime_ == e->timestamp();
  if (!pressAlreadyTaken) {
    swallowPress_ = true;
    doubleClickTime_ = e->timestamp();
  }
  if (e->button() == Qt::LeftButton && orv::startPreferredInput(session_)) {
    afterCommand();
    return;
  }
  if (!pressAlreadyTaken) ImgMouseDown(e);
}
