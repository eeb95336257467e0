#include "qt/tsection.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QThread>

#include "base/fixed_text.h"
#include "commands/section/boundary_line_commands.h"
#include "commands/section/colour_scale_commands.h"
#include "commands/section/contour_grids_command.h"
#include "commands/section/database_commands.h"
#include "commands/section/dxf_export_command.h"
#include "commands/section/hbv_mouse.h"
#include "commands/section/ip_view_commands.h"
#include "commands/section/profile_commands.h"
#include "commands/section/section_click.h"
#include "commands/section/section_operations.h"
#include "commands/section/section_painting.h"
#include "commands/section/terrain_import_command.h"
#include "commands/section/view_commands.h"
#include "core/section/contour_grids.h"
#include "core/section/dxf_export.h"
#include "core/section/terrain_import.h"
#include "qt/image_printing.h"
#include "qt/image_widget.h"
#include "qt/jpeg_picture.h"
#include "qt/menu_item.h"
#include "qt/qt_dialogs.h"
#include "qt/tvesparametryedit.h"

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
  session_.chrome = &chrome_;
  session_.canvas = &imgRez_->canvas();
  session_.clientSize = [this] { return clientSize(); };
  session_.pause = [this](int milliseconds) { showAndWait(milliseconds); };

  connect(imgRez_, &ui::ImageWidget::mousePressed, this, &TSection::imgRezMouseDown);
  connect(imgRez_, &ui::ImageWidget::mouseDoubleClicked, this, &TSection::imgRezDblClick);
  connect(imgRez_, &ui::ImageWidget::mouseMoved, this, &TSection::imgRezMouseMove);
  connect(imgRez_, &ui::ImageWidget::mouseReleased, this, &TSection::imgRezMouseUp);
  connect(imgRez_, &ui::ImageWidget::resized, this, &TSection::FormResize);
  buildMenus();
  orv::showLayerModeMarks(session_);
  orv::readDxfSettings(dxf_, std::string(orv::textOf(curve.state().StartFolder)), *dialogs_);
  orv::loadDefaultColourScale(session_);

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

QAction* TSection::command(QMenu* menu, const char* objectName, const char* caption,
                           const QKeySequence& shortcut, void (*op)(orv::SectionSession&)) {
  return addItem(menu, QString::fromUtf8(objectName), QString::fromUtf8(caption), shortcut,
                 [this, op] { op(session_); });
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
  auto group = [this](const char* name) { return menuBar()->findChild<QMenu*>(name); };
  buildDatabaseMenu(group("DB1"));
  buildEditMenu(group("Edit1"));
  buildIpMenu(group("VP1"));
  buildViewMenu(group("Zobraz1"));
  buildLayersMenu(group("Vrstvy1"));
  buildExportMenu(group("Export1"));
  buildPrintMenu(group("Tisk1"));
  buildArrowItems();
  buildPopup();
  addItem(nullptr, "HelpF1", QStringLiteral("Help"), QKeySequence(Qt::Key_F1),
          [this] { HelpF1Click(); });
}

void TSection::buildDatabaseMenu(QMenu* database) {
  addItem(database, "Otevidbnamenchdatavsledk1",
          QStringLiteral("Otevři db naměřených dat a výsledků "),
          QKeySequence(Qt::CTRL | Qt::Key_O), [this] { Otevidbnamenchdatavsledk1Click(); });
  addItem(database, "Ulodbnamenchdatavsledkjako1",
          QStringLiteral("Ulož db naměřených dat a výsledků "), QKeySequence(Qt::CTRL | Qt::Key_U),
          [this] { Ulodbnamenchdatavsledkjako1Click(); });
  addItem(database, "Ulodbnamenchdatavsledk1",
          QStringLiteral("Ulož db naměřených dat a výsledků jako"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_U), [this] { Ulodbnamenchdatavsledk1Click(); });
  addItem(database, "Konec1", QStringLiteral("Konec"), QKeySequence(), [this] { Konec1Click(); });
}

void TSection::buildEditMenu(QMenu* edit) {
  addItem(edit, "Dalsousednbod1", QStringLiteral("Další sousední bod"), QKeySequence(Qt::Key_F3),
          [this] { Dalsousednbod1Click(); });
  addItem(edit, "Pedchozsousednbod1", QStringLiteral("Předchozí sousední bod"),
          QKeySequence(Qt::Key_F2), [this] { Pedchozsousednbod1Click(); });
  addItem(edit, "NaaktulnmpfupravXvechbodVESnapodlpovrchu1",
          QStringLiteral("Na aktuálním pf uprav XvšechbodůVES na podél povrchu"), QKeySequence(),
          [this] { NaaktulnmpfupravXvechbodVESnapodlpovrchu1Click(); });
  command(edit, "Nativkydocelhoprofiluzesouborutxttypuxtabz1",
          "Načti výšky do celého profilu ze souboru *.txt typu x tab z", QKeySequence(),
          orv::importTerrainAlongSurface);
  command(edit, "NativkybezposunuXametrdlepovrchuzesouborutxttypuxtabz1",
          "Načti výšky bez posunu X a metráží dle povrchu ze souboru *.txt typu x tab z",
          QKeySequence(), orv::importTerrainHeights);
  addItem(edit, "Fitniez1", QStringLiteral("Edituj křivky HBV"), QKeySequence(Qt::CTRL | Qt::Key_E),
          [this] {
            orv::toggleHbvEditMode(session_);
            showDeleteLineItem();
          })
      ->setCheckable(true);
  edit->addSeparator();
  addItem(edit, "Interpretujcelprofil1", QStringLiteral("Interpretuj celý profil …"),
          QKeySequence(), [this] {
            const auto progress = workProgress(QStringLiteral("Interpretuj celý profil"));
            orv::interpretWholeProfile(session_, progress);
          });
  addItem(edit, "Laterlnvzannverze1", QStringLiteral("Laterálně vázaná inverze …"), QKeySequence(),
          [this] {
            const auto progress = workProgress(QStringLiteral("Laterálně vázaná inverze"));
            orv::lateralInversionCommand(session_, progress);
          });
}

orv::WorkProgress TSection::workProgress(const QString& title) {
  // One dialog for the whole run, the same as every long command's; it
  // closes when the last copy of the callback goes.
  std::shared_ptr<ui::Progress> dialog = dialogs_->progress(title.toStdString());
  return [dialog](int done, int total) { return dialog->step(done, total); };
}

void TSection::showDeleteLineItem() {
  if (QAction* del = action("smazaktivnkivkuHBV1"))
    del->setVisible(orv::deleteLineItemVisible(view_));
}

void TSection::buildIpMenu(QMenu* ip) {
  command(ip, "Zobrazovatvyzvanou1", "Zobrazovat zdánlivou polarizovatelnost dle VES-VP",
          QKeySequence(Qt::ALT | Qt::Key_V), orv::toggleIp)
      ->setCheckable(true);
  command(ip, "SlaryVPVPsla1", "Síla čáry VP (VP*síla)", QKeySequence(), orv::askIpLineStrength);
  command(ip, "AktulnzobrazenoknoVP1", "Aktuální zobrazené okno VP", QKeySequence(),
          orv::askCurrentIpWindow);
  command(ip, "vyjmivintervalumetrprvnoknopizmnvelikostipulzuna1pf1",
          "(vyjmi v intervalu metráží první okno při změně velikosti pulzu na 1pf)", QKeySequence(),
          orv::removeFirstIpWindowInInterval);
}

void TSection::buildViewMenu(QMenu* view) {
  command(view, "MinimlnX1", "Minimální X", QKeySequence(), orv::askViewMinChainage);
  command(view, "MinimlnZ1", "Maximální X", QKeySequence(), orv::askViewMaxChainage);
  command(view, "MaximlnZ1", "Minimální Z", QKeySequence(), orv::askViewMinElevation);
  view->addSeparator();
  command(view, "MtkoX1", "Měřítko X", QKeySequence(Qt::CTRL | Qt::Key_X), orv::askScaleX);
  command(view, "MtkoZ1", "Měřítko Z", QKeySequence(Qt::CTRL | Qt::Key_Z), orv::askScaleZ);
  command(view, "Krokzmnymtek1", "Krok změny měřítek", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K),
          orv::askScaleStep);
  addItem(view, "zvtimtkoX2", QStringLiteral("zvětši měřítko X"),
          QKeySequence(Qt::SHIFT | Qt::Key_X), [this] { orv::zoomScaleX(session_, true); });
  addItem(view, "zmenimtkoX2", QStringLiteral("zmenši měřítko X"), QKeySequence(Qt::Key_X),
          [this] { orv::zoomScaleX(session_, false); });
  addItem(view, "zvtimtkoX1", QStringLiteral("zvětši měřítko Z"),
          QKeySequence(Qt::SHIFT | Qt::Key_Z), [this] { orv::zoomScaleZ(session_, true); });
  addItem(view, "zmenimtkoX1", QStringLiteral("zmenši měřítko Z"), QKeySequence(Qt::Key_Z),
          [this] { orv::zoomScaleZ(session_, false); });
  view->addSeparator();
  command(view, "Fitnaku1", "Fitni na šířku", QKeySequence(Qt::CTRL | Qt::Key_S), orv::fitToWidth)
      ->setCheckable(true);
  command(view, "Fitninavku1", "Fitni na výšku", QKeySequence(Qt::CTRL | Qt::Key_V),
          orv::fitToHeight)
      ->setCheckable(true);
  command(view, "Peven1", "Převýšení ", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P),
          orv::askExaggeration);
  command(view, "Blokpeven1", "Blok převýšení", QKeySequence(Qt::CTRL | Qt::Key_P),
          orv::toggleExaggerationLock)
      ->setCheckable(true);
  view->addSeparator();
  command(view, "zobrazjennamerenekrivkybezinterpretace1",
          "zobraz nameřene krivky  bez interpretace", QKeySequence(Qt::CTRL | Qt::Key_K),
          orv::toggleCurves);
  addItem(view, "zvtimtkokivekVES1", QStringLiteral("zvětši  měřítko křivek VES"),
          QKeySequence(Qt::SHIFT | Qt::Key_K), [this] { orv::scaleCurves(session_, true); });
  addItem(view, "zmenimtkokivekVES1", QStringLiteral("zmenši  měřítko křivek VES"),
          QKeySequence(Qt::Key_K), [this] { orv::scaleCurves(session_, false); });
  command(view, "pocetpxlnadekduRzd1", "počet  pixelů na dekádu Rzd", QKeySequence(),
          orv::askCurvePixelsPerDecade);
  command(view, "pidatubratdesetinnmstorezistivitm1", "přidat / ubrat desetinné místo rezistivitám",
          QKeySequence(), orv::toggleOneDecimal);
  command(view, orv::ShowDepthMarksItem, "Zobrazovat hloubku dosahu", QKeySequence(),
          orv::toggleDepthMarks)
      ->setCheckable(true);
  addItem(view, "Font1", QStringLiteral("Font"), QKeySequence(), [this] { Font1Click(); });
}

void TSection::buildLayersMenu(QMenu* layers) {
  command(layers, "Editovatbarevnoukluzobrazenrezistivit1",
          "Editovat barevnou škálu zobrazení rezistivit",
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_B), orv::editColourScale);
  command(layers, "Ulobarevnouklurezistivitjako1", "Ulož barevnou škálu rezistivit jako",
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), orv::saveColourScaleAs);
  command(layers, "Natibarevnouklurezistivit1", "Načti barevnou škálu rezistivit ",
          QKeySequence(Qt::ALT | Qt::Key_B), orv::loadColourScaleWithDialog);
  command(layers, "Aktulnbarevnkladodefaultu1", "Aktuální barevná škála do defaultu",
          QKeySequence(), orv::saveColourScaleToDefault);
  QAction* colours =
      command(layers, "Barevnvybarvitpodlerezistivit1", "Barevně vybarvit řez podle rezistivit",
              QKeySequence(Qt::CTRL | Qt::Key_B), orv::toggleColourByRes);
  colours->setCheckable(true);
  colours->setChecked(view_.colourByRes);
  layers->addSeparator();
  command(layers, "Vymezitvrstvyprovybarvendlerezistivit1",
          "Vymezování vrstev pro vybarvení dle rezistivit myší (konec lajny-dvojklik)",
          QKeySequence(Qt::CTRL | Qt::Key_H), orv::toggleDefineLayersMode)
      ->setCheckable(true);
  command(layers, "Zruitvymezenvrstevprovybarvendlerezistivit1",
          "Zrušit vymezení vrstev pro vybarvení dle rezistivit", QKeySequence(),
          orv::clearBoundaryLines);
  command(layers, "ZmnatoleranceHBV1", "Změna tolerance HBV pro spojení s VES body", QKeySequence(),
          orv::askHbvTolerance);
  command(layers, "JedenbodHBVzpt1", "Zrušit poslední bod HBV ", QKeySequence(),
          orv::removeLastHbvVertex);
  command(layers, "JednupolylajnuadubodHBVzpt1", "Zrušit poslední řadu bodů HBV ", QKeySequence(),
          orv::removeLastHbvLine);
  QAction* bounds = command(layers, "Vykreslitvrstvy1", "Vykreslit hranice vrstev", QKeySequence(),
                            orv::toggleDrawLayerBounds);
  bounds->setCheckable(true);
  bounds->setChecked(view_.drawLayerBounds);
}

void TSection::buildExportMenu(QMenu* exportMenu) {
  addItem(exportMenu, "DXF1", QStringLiteral("-> DXF"), QKeySequence(), [this] {
    orv::dxfExportCommand(session_, dxf_, [this](const std::string& path) {
      orv::saveDxfCompanionPicture(session_, [this, path](bool) { writeBitmapJpeg(path); });
    });
  });
  addItem(exportMenu, "parametryexportudoUCM1", QStringLiteral(" - parametry exportu do DXF"),
          QKeySequence(), [this] { parametryexportudoUCM1Click(); });
  exportMenu->addSeparator();
  command(exportMenu, "RzdAB4ez1", "-> X Z R                   pro Winsurf", QKeySequence(),
          orv::exportModelGrid);
  command(exportMenu, "XAB4RzdproWinsurf1", "-> X (Z-AB/4) Rzd    pro Winsurf", QKeySequence(),
          orv::exportPseudoSection);
  command(exportMenu, "XZAB4VP1", "-> X  (Z-AB/4)   VP   pro Winsurf ", QKeySequence(),
          orv::exportIpPseudoSection);
  command(exportMenu, "XZRintVrstevWinsurf1", "-> X Z Rint Vrstev Winsurf krok 3 m", QKeySequence(),
          orv::exportLayerGrid);
  exportMenu->addSeparator();
  addItem(exportMenu, "JPG1", QStringLiteral("-> JPG"), QKeySequence(), [this] {
    orv::savePictureWithLegend(session_, [this](bool useDxfName) { savePicture(useDxfName); });
  });
  addItem(exportMenu, "UCM1", QStringLiteral("-> jen barvy do JPG"), QKeySequence(), [this] {
    orv::saveColoursOnlyPicture(session_, [this](bool useDxfName) { savePicture(useDxfName); });
  });
}

void TSection::parametryexportudoUCM1Click() {
  const orv::SectionProfile& p = db_->profiles[db_->currentProfile];
  if (p.mxindex_bodu < 0) {
    orv::readDatabase(session_);
    return;
  }
  if (dxfDialog_) dxfDialog_(dxf_, *dialogs_);
  paintSection();
}

void TSection::writeBitmapJpeg(const std::string& path) {
  // The bitmap is twice the screen; the section lies in its top-left corner.
  ui::writeJpegPicture(ui::drawnPart(imgRez_->canvas().image(), ui::PictureMargin), path,
                       *dialogs_);
}

void TSection::savePicture(bool useDxfName) {
  const std::string path = orv::pictureFileName(*dialogs_, useDxfName, dxf_.dxfFileName);
  if (!path.empty()) writeBitmapJpeg(path);
}

void TSection::buildPrintMenu(QMenu* print) {
  addItem(print, "Nastaventiskrny1", QStringLiteral("Nastavení tiskárny"), QKeySequence(),
          [this] { Nastaventiskrny1Click(); });
  addItem(print, "Tiskformule1", QStringLiteral("Tisk formuláře"), QKeySequence(),
          [this] { Tiskformule1Click(); });
}

void TSection::buildArrowItems() {
  struct Arrow {
    const char* objectName;
    const char* caption;
    const char* hint;
    std::function<void()> op;
  };
  const Arrow arrows[] = {
      {"IPokno1", "<", "Zobraz VP v časnějším okně", [this] { orv::previousIpWindow(session_); }},
      {"N10", ">", "Zobraz VP v pozdějším okně", [this] { orv::nextIpWindow(session_); }},
      {"N20", "←", "Pohyb okna doleva", [this] { orv::panChainage(session_, false); }},
      {"N21", "→", "Pohyb okna doprava", [this] { orv::panChainage(session_, true); }},
      {"N26", "↑", "Pohyb okna nahoru", [this] { orv::panElevation(session_, true); }},
      {"v1", "↓", "Pohyb okna dolů", [this] { orv::panElevation(session_, false); }},
  };
  for (const Arrow& a : arrows) {
    QAction* item = addItem(nullptr, QString::fromUtf8(a.objectName), QString::fromUtf8(a.caption),
                            QKeySequence(), a.op);
    item->setToolTip(QString::fromUtf8(a.hint));
    item->setStatusTip(QString::fromUtf8(a.hint));
    menuBar()->addAction(item);
  }
}

void TSection::buildPopup() {
  popup_ = new QMenu(this);
  popup_->setObjectName("PopupMenu1");
  popup_->setToolTipsVisible(true);
  QMenu* vyber = popup_->addMenu(QStringLiteral("Vyber aktuální profil "));
  vyber->setObjectName("Vyberaktulnprofil1");
  for (int k = 0; k < orv::MaxProfiles; ++k)
    profileItems_[k] = addItem(vyber, QStringLiteral("pf%1").arg(k), QStringLiteral("pf %1").arg(k),
                               QKeySequence(), [this, k] { pfClick(k); });
  addItem(popup_, "Novprofil1", QStringLiteral("Nový profil"), QKeySequence(),
          [this] { Novprofil1Click(); });
  addItem(popup_, "Smaaktulnbod1", QStringLiteral("Smaž aktuální bod"), QKeySequence(),
          [this] { Smaaktulnbod1Click(); });
  popup_->addSeparator();
  command(popup_, "Fitniez2", "Fitni řez ", QKeySequence(), orv::fitSection)->setCheckable(true);
  command(popup_, "kivkyVES1", "křivky VES", QKeySequence(), orv::toggleCurves)->setCheckable(true);
  command(popup_, "VPzobraz1", "VP zobraz", QKeySequence(), orv::toggleIp)->setCheckable(true);
  QAction* colours = command(popup_, "barvydlerezistivit1", "barvy dle rezistivit", QKeySequence(),
                             orv::toggleColourByRes);
  colours->setCheckable(true);
  colours->setChecked(view_.colourByRes);
  popup_->addSeparator();
  command(popup_, "vymezovatvrstvy1", "vymezovat vrstvy", QKeySequence(),
          orv::toggleDefineLayersMode)
      ->setCheckable(true);
  QAction* layersColoured = command(popup_, "vybarvitvrstvy1", "vybarvit vrstvy", QKeySequence(),
                                    orv::toggleColourLayers);
  layersColoured->setCheckable(true);
  layersColoured->setChecked(view_.colourLayersMode);
  QAction* del = command(popup_, "smazaktivnkivkuHBV1", "delete aktivní křivku HBV",
                         QKeySequence(Qt::Key_Delete), orv::deleteSelectedHbvLine);
  del->setVisible(orv::deleteLineItemVisible(view_));
  updateProfileMenu();
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
  // A repaint wipes the rubber band of the line being drawn.
  if (view_.defineLayersMode) view_.lastMouseX = -1;
  orv::paintSection(*db_, view_, imgRez_->canvas(), clientSize());
  setWindowTitle(qs(orv::sectionCaption(*db_)));
  imgRez_->refresh();
}

ui::ScreenSize TSection::clientSize() const {
  return ui::ScreenSize{imgRez_->width(), imgRez_->height()};
}

orv::PointFields TSection::runPointDialog() {
  TVESparametryEdit dialog(session_, this);
  dialog.exec();
  return dialog.fields();
}

void TSection::deleteCurrentPoint() {
  orv::askDeleteCurrentPoint(session_);
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
  orv::describeSelectedPoint(session_, false);
  paintSection();
}
std::string TSection::currentProfileName() {
  if (db_->currentProfile < 0 || db_->currentProfile >= orv::MaxProfiles) return "";
  return orv::shownText(db_->profiles[db_->currentProfile].profileName);
}

void TSection::Smaaktulnbod1Click() {
  orv::askDeleteCurrentPoint(session_);
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
  if (e->button() == Qt::RightButton) {
    popup_->popup(e->globalPosition().toPoint());
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  const QPoint at = e->position().toPoint();
  if (view_.hbvEditMode)
    orv::editModeDown(session_, at.x(), at.y());
  else if (view_.defineLayersMode)
    orv::defineModeClick(session_, at.x(), at.y());
  else
    orv::sectionLeftClick(session_, at.x(), at.y());
}

void TSection::imgRezMouseMove(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  if (view_.hbvEditMode) {
    // A vertex is dragged with the middle button, or the left one with Ctrl.
    const bool dragging =
        (e->buttons() & Qt::MiddleButton) ||
        ((e->buttons() & Qt::LeftButton) && (e->modifiers() & Qt::ControlModifier));
    orv::editModeMove(session_, at.x(), at.y(), dragging);
  } else if (view_.defineLayersMode) {
    orv::defineModeMove(session_, at.x(), at.y());
  }
}

void TSection::imgRezMouseUp(QMouseEvent*) {
  if (view_.hbvEditMode) orv::editModeUp(session_);
}

void TSection::imgRezDblClick(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  if (view_.defineLayersMode) {
    // Qt turns the second press into the double click: it is handed on as
    // the press it is, which the line just opened swallows.
    orv::defineModeDoubleClick(session_);
    imgRezMouseDown(e);
  } else {
    orv::sectionDoubleClick(session_);
  }
}

void TSection::FormShow() {
  // The bitmap is made twice the screen in each direction once; the window
  // shows the part that fits.
  const ui::ScreenSize screen = chrome_.screenSize();
  imgRez_->canvas().resize(2 * screen.width, 2 * screen.height);
  paintSection();
}

void TSection::FormResize(QSize) {
  if (view_.fitWidth || view_.fitHeight || view_.layout.pxPerMetreZ > 0.0) paintSection();
}

void TSection::showAndWait(int milliseconds) {
  // The animation blocks the window: only painting goes on meanwhile.
  imgRez_->refresh();
  imgRez_->repaint();
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    QThread::msleep(5);
  }
}

// Ends the program; the settings are written on the way out, as by every
// other road that ends it.
void TSection::Konec1Click() {
  close();
}

void TSection::FormClose() {
  if (settingsWritten_) return;
  settingsWritten_ = true;
  orv::writeDxfSettings(dxf_, *dialogs_);
}

void TSection::Font1Click() {
  const QFont current = imgRez_->canvas().baseFont();
  ui::FontChoice initial;
  initial.family = current.family().toStdString();
  initial.points = current.pointSize();
  initial.bold = current.bold();
  initial.italic = current.italic();
  const std::optional<ui::FontChoice> chosen = dialogs_->chooseFont(initial);
  if (!chosen) return;
  QFont font = current;
  if (!chosen->family.empty()) font.setFamily(qs(chosen->family));
  if (chosen->points > 0) font.setPointSize(chosen->points);
  font.setBold(chosen->bold);
  font.setItalic(chosen->italic);
  imgRez_->canvas().setFont(font);
  paintSection();
}

QPrinter& TSection::formPrinter() {
  if (ownDialogs_) return ownDialogs_->printer();
  if (!ownPrinter_) ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *ownPrinter_;
}

void TSection::Nastaventiskrny1Click() {
  dialogs_->printerSetup();
}

// The form's client area is the picture as far as the window shows it: the
// bitmap is larger than the window, and the menu bar is no part of it.
void TSection::Tiskformule1Click() {
  const QImage shown = imgRez_->canvas().image().copy(imgRez_->rect());
  ui::printImageOrPdf(formPrinter(), shown, *dialogs_);
}

void TSection::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shownOnce_) {
    shownOnce_ = true;
    FormShow();
  }
}

bool TSection::confirmClose() {
  if (closing_) return true;
  // The program ends once the user has let the database go.
  closing_ = orv::mayDropDatabase(session_);
  return closing_;
}

void TSection::closeEvent(QCloseEvent* e) {
  // Closing the section ends the program: the curve window closes, which
  // quits. Unsaved changes are asked about first; "Storno" keeps both
  // windows open.
  if (!closing_) {
    if (!confirmClose()) {
      e->ignore();
      return;
    }
    if (closeCurveWindow_) closeCurveWindow_();
  }
  e->accept();
}
