// The pictures of the built-in help, taken from the real windows on the roads
// their pages describe: the sample files of the repository opened, menus
// pulled down, dialogs shown. Every picture the pages show is made here, each
// road runs without a dialog the script did not expect, and the pictures are
// compact enough to travel with the program.
// ORV_HELP_PICTURES=FOLDER writes them there; app/help/make_pictures.sh does
// so into app/help/obrazky and reduces their colours.
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <functional>

#include "app/shell.h"
#include "commands/curve/curve_rendering.h"
#include "core/section/section_layout.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/help_road_support.h"
#include "tests/app/shell_fixture.h"
#include "tests/qt/modal_support.h"

namespace {

using orv_help::FieldBook;
using orv_help::samplePath;
using orv_help::trigger;

// Windows of a usual screen, narrowed to what the help viewer shows whole.
const QSize kCurveWindow(880, 560);
const QSize kSectionWindow(760, 600);
const QSize kNarrowSection(640, 520);
// The widest picture the help viewer shows without scrolling sideways.
constexpr int kWidest = 900;

QImage shot(QWidget* w) {
  return w->grab().toImage();
}

// The mouse moved over a widget with no button held, delivered at once.
void moveOver(QWidget* w, QPoint at) {
  QMouseEvent e(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton,
                Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
  QApplication::processEvents();
}

// picture with over drawn at the given place, grown to hold both.
QImage overlaid(const QImage& picture, const QImage& over, QPoint at) {
  QImage all(picture.size().expandedTo(QSize(at.x() + over.width(), at.y() + over.height())),
             QImage::Format_RGB32);
  all.fill(Qt::white);
  QPainter p(&all);
  p.drawImage(0, 0, picture);
  p.drawImage(at, over);
  return all;
}

// The window as it stands with one of its menus pulled down.
QImage withMenu(QMainWindow* window, const char* menuName) {
  auto* menu = window->menuBar()->findChild<QMenu*>(menuName);
  EXPECT_NE(menu, nullptr) << menuName;
  if (!menu) return {};
  window->menuBar()->setActiveAction(menu->menuAction());
  QApplication::processEvents();
  const QImage base = shot(window);
  const QImage pulled = shot(menu);
  const QRect item = window->menuBar()->actionGeometry(menu->menuAction());
  menu->hide();
  window->menuBar()->setActiveAction(nullptr);
  QPoint at = window->menuBar()->mapTo(window, item.bottomLeft());
  // A menu that would run off the picture moves left, as it does at the
  // edge of a screen.
  at.setX(std::max(0, std::min(at.x(), kWidest - pulled.width())));
  return overlaid(base, pulled, at);
}

// The section with its popup menu opened by the right button at a pixel of
// the picture.
QImage withPopup(TSection* section, QPoint at) {
  QMenu* menu = section->popupMenu();
  menu->popup(section->image()->mapToGlobal(at));
  QApplication::processEvents();
  const QImage base = shot(section);
  const QImage popped = shot(menu);
  menu->hide();
  return overlaid(base, popped, section->image()->mapTo(section, at));
}

// A modal dialog of the program as it comes up; what to do with it after
// the picture is the road's.
QImage dialogAsShown(const std::function<void()>& open,
                     const std::function<void(QDialog*)>& then = {}) {
  QImage picture;
  orv::testing::whenModalUp([&picture, then](QWidget* w) {
    auto* d = qobject_cast<QDialog*>(w);
    ASSERT_NE(d, nullptr);
    picture = shot(d);
    if (then)
      then(d);
    else
      d->reject();
  });
  open();
  return picture;
}

// The drawn part of a picture saved by the program: its white paper cut off
// but for a margin.
QImage drawnPart(const QImage& picture) {
  QRect drawn;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if ((picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) drawn |= QRect(x, y, 1, 1);
  return picture.copy(drawn.adjusted(-8, -8, 8, 8).intersected(picture.rect()));
}

// One program, started in the test's folder, with its dialogs scripted.
class Road {
 public:
  Road() {
    shell_.curve()->resize(kCurveWindow);
    shell_.curve()->show();
    shell_.section()->resize(kSectionWindow);
    shell_.section()->show();
    QApplication::processEvents();
    curve()->state().sectionWindowShown = true;
    dialogs.clearRecords();
  }

  Tulvakwin* curve() { return shell_.curve(); }
  TSection* section() { return shell_.section(); }
  Shell& shell() { return shell_; }

  void autoModel(int layers) {
    dialogs.answer(std::to_string(layers));
    trigger(curve(), "Automatickmodel1");
  }

  void openKmtRecord(int record) {
    dialogs.answer(samplePath("lhota-pf1.kmt"));
    trigger(curve(), "OtevtKMT1");
    for (int r = 0; r < record; ++r) trigger(curve(), "NatidalKMT1");
  }

  void openOax(const char* name) {
    dialogs.answer(samplePath(name));
    trigger(curve(), "OtevtOAX1");
  }

  // The sample database and its scale, the section fitted to the window and
  // the second sounding chosen.
  void openSample() {
    dialogs.answer(samplePath(orv_help::SampleDatabase));
    trigger(section(), "Otevidbnamenchdatavsledk1");
    dialogs.answer(samplePath(orv_help::SampleScale));
    trigger(section(), "Natibarevnouklurezistivit1");
    trigger(section(), "Fitniez2");
    trigger(section(), "Dalsousednbod1");
  }

  // "<-" with the point dialog filled in from the field book.
  void fileSounding(const FieldBook& f) {
    orv::testing::whenModalUp([&f](QWidget* w) {
      orv_help::typeFieldBook(w, f);
      qobject_cast<TVESparametryEdit*>(w)->okButton()->click();
    });
    curve()->transferButton()->click();
  }

  // A left click on the section picture at a place of the profile.
  void clickSection(double chainage, double elevation) {
    const orv::SectionLayout& l = section()->viewState().layout;
    QTest::mouseClick(
        section()->image(), Qt::LeftButton, Qt::NoModifier,
        QPoint(orv::chainageToPixel(l, chainage), orv::elevationToPixel(l, elevation)));
  }

  QPoint sectionPixel(double chainage, double elevation) {
    const orv::SectionLayout& l = section()->viewState().layout;
    return QPoint(orv::chainageToPixel(l, chainage), orv::elevationToPixel(l, elevation));
  }

  ui::ScriptedDialogs dialogs;

 private:
  Shell shell_{&dialogs, false};
};

// --- the roads, one a picture ---------------------------------------------------

QImage bothWindows(Road& r) {
  r.openSample();
  const QImage section = shot(r.section());
  const QImage curve = shot(r.curve());
  QImage both(section.width() + curve.width() + 8, std::max(section.height(), curve.height()),
              QImage::Format_RGB32);
  both.fill(QColor(0x60, 0x60, 0x60));
  QPainter p(&both);
  p.drawImage(0, 0, section);
  p.drawImage(section.width() + 8, 0, curve);
  p.end();
  return both.scaledToWidth(880, Qt::SmoothTransformation);
}

QImage curveWithModel(Road& r) {
  r.openKmtRecord(0);
  r.autoModel(3);
  return shot(r.curve());
}

QImage curveFileMenu(Road& r) {
  r.openKmtRecord(2);
  r.autoModel(3);
  return withMenu(r.curve(), "Soubor1");
}

QImage oaxWithDecayCurves(Road& r) {
  r.openOax("oax-pf2/pf2_50.OAX");
  r.autoModel(3);
  return shot(r.curve());
}

QImage sasSounding(Road& r) {
  r.dialogs.answer(samplePath("profil-sas.sas"));
  trigger(r.curve(), "OtevtaparaturySASamp1");
  r.autoModel(4);
  return shot(r.curve());
}

// "Manuální vstup myší": the straight start curve, one point already pulled
// down with the mouse.
QImage mouseInput(Road& r) {
  for (const char* answer : {"10", "1", "0", "20"}) r.dialogs.answer(answer);
  trigger(r.curve(), "Manulnvstupmy1");
  const orv::CurveWindowState& s = r.curve()->state();
  const int k = (s.gridMinIndex + s.gridMaxIndex) / 2;
  const int x = orv::columnOfRho(s, s.mergedRho[k][0]);
  const int y = orv::rowOfAbHalf(s, s.gridAbHalf[k]);
  moveOver(r.curve()->image(), QPoint(x, y));
  QTest::mouseClick(r.curve()->image(), Qt::LeftButton, Qt::NoModifier, QPoint(x - 60, y));
  moveOver(r.curve()->image(), QPoint(x + 40, y + 60));
  return shot(r.curve());
}

QImage mergeMenu(Road& r) {
  r.openKmtRecord(1);
  return withMenu(r.curve(), "Snos1");
}

// The model menu over a model whose second layer has its resistivity fixed.
QImage modelMenu(Road& r) {
  r.openKmtRecord(0);
  r.autoModel(3);
  const orv::CurveWindowState& s = r.curve()->state();
  const QPoint layer(orv::columnOfRho(s, s.modelRho[1]),
                     orv::rowOfAbHalf(s, std::sqrt(s.modelDepth[0] * s.modelDepth[1])));
  moveOver(r.curve()->image(), layer);
  QTest::mouseClick(r.curve()->image(), Qt::LeftButton, Qt::ControlModifier, layer);
  moveOver(r.curve()->image(), QPoint(10, 10));
  return withMenu(r.curve(), "Model1");
}

// The IP menu over the values shown as isolines, one a window.
QImage ipMenu(Road& r) {
  r.openOax("oax-pf2/pf2_0.OAX");
  r.autoModel(3);
  trigger(r.curve(), "zobrazformouisolininebovybjeckivky1");
  return withMenu(r.curve(), "VP1");
}

QImage displayParameters(Road& r) {
  return dialogAsShown([&r] { trigger(r.curve(), "Npovda1"); });
}

QImage preferences(Road& r) {
  return dialogAsShown([&r] { trigger(r.curve(), "Preference1"); });
}

QImage curvePrintMenu(Road& r) {
  r.openKmtRecord(4);
  r.autoModel(3);
  return withMenu(r.curve(), "Tisk1");
}

QImage sectionWindow(Road& r) {
  r.openSample();
  return shot(r.section());
}

QImage sectionPopup(Road& r) {
  r.openSample();
  return withPopup(r.section(), r.sectionPixel(60, 305));
}

QImage databaseMenu(Road& r) {
  r.openSample();
  return withMenu(r.section(), "DB1");
}

// A sounding about to be filed into the sample profile as a new point.
QImage pointDialog(Road& r) {
  r.openSample();
  r.openKmtRecord(1);
  r.autoModel(3);
  // After the picture the point goes in at a chainage of its own.
  return dialogAsShown([&r] { r.curve()->transferButton()->click(); },
                       [](QDialog* d) {
                         for (const char* field : {"eMetrazPovrch", "eX", "eMetraz"})
                           d->findChild<QLineEdit*>(field)->setText(QStringLiteral("35"));
                         qobject_cast<TVESparametryEdit*>(d)->okButton()->click();
                       });
}

// The boundary lines in their edit mode: the lower line chosen with a click,
// its vertex under the mouse ringed.
QImage editMenu(Road& r) {
  r.openSample();
  trigger(r.section(), "Fitniez1");
  const orv::SectionProfile& p = r.section()->database().profiles[0];
  const QPoint vertex = r.sectionPixel(p.HBV_x[1][2], p.HBV_z[1][2]);
  QTest::mouseClick(r.section()->image(), Qt::LeftButton, Qt::NoModifier, vertex);
  moveOver(r.section()->image(), vertex + QPoint(3, 3));
  return withMenu(r.section(), "Edit1");
}

// The IP profile of the OAX samples, its values shown in the section.
QImage sectionIpMenu(Road& r) {
  const char* files[] = {"oax-pf2/pf2_0.OAX", "oax-pf2/pf2_50.OAX", "oax-pf2/pf2_100.OAX"};
  const char* elevations[] = {"402", "405.5", "404"};
  for (int k = 0; k < 3; ++k) {
    r.openOax(files[k]);
    r.autoModel(3);
    r.fileSounding({QStringLiteral("Hrádek"), QStringLiteral("pf2"),
                    QStringLiteral("VES %1").arg(50 * k), QStringLiteral("2026-05-12"),
                    QString::fromUtf8(elevations[k])});
  }
  // The values lie under the colours of the layers: these are switched off.
  trigger(r.section(), "Barevnvybarvitpodlerezistivit1");
  trigger(r.section(), "Zobrazovatvyzvanou1");
  r.dialogs.answer("6");
  trigger(r.section(), "SlaryVPVPsla1");
  trigger(r.section(), "Fitniez2");
  return withMenu(r.section(), "VP1");
}

QImage viewMenu(Road& r) {
  r.openSample();
  trigger(r.section(), "zobrazjennamerenekrivkybezinterpretace1");
  return withMenu(r.section(), "Zobraz1");
}

QImage layersMenu(Road& r) {
  r.openSample();
  return withMenu(r.section(), "Vrstvy1");
}

// A line being drawn: two vertices clicked, the rubber band following the
// mouse, and the popup menu of the mode.
QImage drawingALine(Road& r) {
  r.openSample();
  trigger(r.section(), "Vymezitvrstvyprovybarvendlerezistivit1");
  r.clickSection(0, 306);
  r.clickSection(25, 307);
  moveOver(r.section()->image(), r.sectionPixel(45, 305));
  return withPopup(r.section(), r.sectionPixel(45, 305));
}

// What "-> JPG" writes: the section with the legend of the colour scale, in
// a window narrow enough for the legend to fit the help beside it.
QImage pictureWithLegend(Road& r) {
  r.section()->resize(kNarrowSection);
  r.openSample();
  r.dialogs.answer("legenda.jpg");
  trigger(r.section(), "JPG1");
  return drawnPart(r.section()->image()->canvas().image());
}

QImage dxfSettings(Road& r) {
  r.openSample();
  return dialogAsShown([&r] { trigger(r.section(), "parametryexportudoUCM1"); });
}

QImage exportMenu(Road& r) {
  r.openSample();
  return withMenu(r.section(), "Export1");
}

// What "-> jen barvy do JPG" writes, read back from the file.
QImage coloursOnlyPicture(Road& r) {
  r.section()->resize(kNarrowSection);
  r.openSample();
  r.dialogs.answer("barvy.jpg");
  trigger(r.section(), "UCM1");
  return drawnPart(QImage(QStringLiteral("barvy.jpg")).convertToFormat(QImage::Format_RGB32));
}

struct Picture {
  const char* name;
  QImage (*road)(Road&);
};

const Picture kPictures[] = {
    {"okna.png", bothWindows},
    {"krivka_model.png", curveWithModel},
    {"menu_soubor.png", curveFileMenu},
    {"oax_vp.png", oaxWithDecayCurves},
    {"sas.png", sasSounding},
    {"rucni_mysi.png", mouseInput},
    {"menu_snos.png", mergeMenu},
    {"menu_model.png", modelMenu},
    {"menu_vp.png", ipMenu},
    {"parametry_zobrazeni.png", displayParameters},
    {"preference.png", preferences},
    {"menu_tisk.png", curvePrintMenu},
    {"rez_okno.png", sectionWindow},
    {"rez_popup.png", sectionPopup},
    {"rez_menu_db.png", databaseMenu},
    {"bod_parametry.png", pointDialog},
    {"rez_menu_edit.png", editMenu},
    {"rez_menu_vp.png", sectionIpMenu},
    {"rez_menu_zobraz.png", viewMenu},
    {"rez_menu_vrstvy.png", layersMenu},
    {"rez_hranice.png", drawingALine},
    {"rez_legenda.png", pictureWithLegend},
    {"dxf_parametry.png", dxfSettings},
    {"rez_menu_export.png", exportMenu},
    {"rez_jen_barvy.png", coloursOnlyPicture},
};

using HelpPicturesTest = StartFolderTest;

TEST_F(HelpPicturesTest, EveryPictureOfTheHelpComesFromTheProgramOnItsRoad) {
  const char* out = std::getenv("ORV_HELP_PICTURES");
  const QDir folder(out ? QString::fromUtf8(out) : QString::fromStdString(folder_.string()));
  QSet<QString> made;
  for (const Picture& picture : kPictures) {
    SCOPED_TRACE(picture.name);
    Road road;
    const QImage image = picture.road(road);
    EXPECT_TRUE(road.dialogs.unexpected().empty()) << orv_help::lines(road.dialogs.unexpected());
    ASSERT_FALSE(image.isNull());
    EXPECT_LE(image.width(), kWidest);
    EXPECT_TRUE(image.save(folder.filePath(QString::fromUtf8(picture.name))));
    made.insert(QStringLiteral("obrazky/") + QString::fromUtf8(picture.name));
  }
  QStringList madeNames = made.values(), shown = orv_help::picturesOfTheHelp().values();
  madeNames.sort();
  shown.sort();
  EXPECT_EQ(madeNames.join(' ').toStdString(), shown.join(' ').toStdString());
}

}  // namespace
