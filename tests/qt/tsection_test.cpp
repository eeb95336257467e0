#include "qt/tsection.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>

#include "qt/image_widget.h"
#include "tests/qt/section_qt_support.h"

namespace orv::testing {
namespace {

QRect desktop() {
  const QScreen* s = QGuiApplication::primaryScreen();
  QRect r = s->availableGeometry();
  return r.isEmpty() ? s->geometry() : r;
}

class SectionWindowTest : public ::testing::Test {
 protected:
  static constexpr int CurveWidth = 300;

  SectionWindowTest() {
    w.setHelpHook([this](int context) { helpContexts.push_back(context); });
    w.setCloseCurveWindowHook([this] { ++curveClosed; });
    // The start-up load of the default colour scale finds no file here.
    startupMessages = dialogs.messages();
    dialogs.clearRecords();
  }

  QAction* action(const char* name) { return w.action(name); }
  SectionDatabase& db() { return w.database(); }

  ui::ScriptedDialogs dialogs;
  RecordingCurveLink link;
  TSection w{link, CurveWidth, nullptr, &dialogs};
  std::vector<int> helpContexts;
  int curveClosed = 0;
  std::vector<std::string> startupMessages;
};

TEST_F(SectionWindowTest, AMissingDefaultColourScaleIsAnnouncedOnceAtCreation) {
  // orv.ini of the DXF export is missing as well.
  EXPECT_EQ(startupMessages,
            (std::vector<std::string>{"Nenalezen ini soubor! " + w.dxfSettings().iniFileName +
                                          "\nBudou načteny implicitní hodnoty",
                                      "Cannot open input Color-file."}));
  // The built-in scale stands in: 1 to 10 000 ohm.m.
  EXPECT_EQ(w.viewState().colourScale.colResCount, 14);
  EXPECT_EQ(w.viewState().colourScale.colResBound[13], 10000);
  EXPECT_TRUE(action("Barevnvybarvitpodlerezistivit1")->isChecked());
  EXPECT_TRUE(action("barvydlerezistivit1")->isChecked());
}

TEST_F(SectionWindowTest, IsCreatedHiddenAndPlacedLeftOfTheCurveWindow) {
  EXPECT_FALSE(w.isVisible());
  const QRect screen = desktop();
  const QRect frame = w.frameGeometry();
  EXPECT_EQ(frame.x(), screen.x());
  EXPECT_EQ(frame.y(), screen.y());
  EXPECT_EQ(frame.width(), screen.width() - CurveWidth + 5);
  EXPECT_EQ(frame.height(), screen.height());
  EXPECT_EQ(w.windowState(), Qt::WindowNoState);
}

TEST_F(SectionWindowTest, HasTheMainMenuGroups) {
  QStringList titles;
  for (QAction* a : w.menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"DB", "Edit", "VP", "Zobraz", "Vrstvy", "Export", "Tisk", "<", ">",
                                 QStringLiteral("←"), QStringLiteral("→"), QStringLiteral("↑"),
                                 QStringLiteral("↓")}));
  QAction* align = action("NaaktulnmpfupravXvechbodVESnapodlpovrchu1");
  ASSERT_NE(align, nullptr);
  EXPECT_EQ(align->text(), QStringLiteral("Na aktuálním pf uprav XvšechbodůVES na podél povrchu"));
  EXPECT_TRUE(w.menuBar()->findChild<QMenu*>("Edit1")->actions().contains(align));
}

TEST_F(SectionWindowTest, PopupHoldsProfileChoiceNewProfileAndDeletion) {
  QMenu* popup = w.popupMenu();
  ASSERT_NE(popup, nullptr);
  QStringList items;
  for (QAction* a : popup->actions()) items << a->text();
  EXPECT_EQ(items, (QStringList{
                       QStringLiteral("Vyber aktuální profil "), QStringLiteral("Nový profil"),
                       QStringLiteral("Smaž aktuální bod"), QString(), QStringLiteral("Fitni řez "),
                       QStringLiteral("křivky VES"), QStringLiteral("VP zobraz"),
                       QStringLiteral("barvy dle rezistivit"), QString(),
                       QStringLiteral("vymezovat vrstvy"), QStringLiteral("vybarvit vrstvy"),
                       QStringLiteral("delete aktivní křivku HBV")}));
  QMenu* choice = popup->actions()[0]->menu();
  ASSERT_NE(choice, nullptr);
  ASSERT_EQ(choice->actions().size(), MaxProfiles);
  for (int k = 0; k < MaxProfiles; ++k) {
    QAction* a = choice->actions()[k];
    EXPECT_EQ(a->objectName(), QStringLiteral("pf%1").arg(k));
    EXPECT_EQ(a->text(), QStringLiteral("pf %1").arg(k));
    EXPECT_EQ(a->isVisible(), k == 0) << k;
  }
}

TEST_F(SectionWindowTest, ProfileItemSelectsTheProfile) {
  db().mxindex_profilu = 2;
  db().currentPoint = 4;
  link.state().fromSection = true;
  w.repaint();
  EXPECT_TRUE(action("pf2")->isVisible());
  EXPECT_FALSE(action("pf3")->isVisible());
  action("pf2")->trigger();
  EXPECT_EQ(db().currentProfile, 2);
  EXPECT_EQ(db().currentPoint, 0);
  EXPECT_TRUE(link.transferVisible);
  EXPECT_FALSE(link.state().fromSection);
}

TEST_F(SectionWindowTest, NewProfileIsNamedAndListed) {
  w.setPointDialog([] {
    PointFields f;
    f.profileName = "Sever & jih";
    return f;
  });
  action("Novprofil1")->trigger();
  EXPECT_EQ(db().mxindex_profilu, 1);
  EXPECT_EQ(db().currentPoint, NoPointYet);
  EXPECT_TRUE(action("pf1")->isVisible());
  EXPECT_EQ(action("pf1")->text(), QStringLiteral("Sever && jih"));
}

TEST_F(SectionWindowTest, NewProfileThroughTheRealDialog) {
  whenModalUp([](QWidget* dialog) {
    QLineEdit* name = dialog->findChild<QLineEdit*>("eProfil");
    name->setText(QStringLiteral("Příčný"));
    pressKey(name, Qt::Key_Return);
  });
  action("Novprofil1")->trigger();
  EXPECT_EQ(shownText(db().profiles[1].profileName), "Příčný");
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SectionWindowTest, DeletionOfTheOnlyPointIsRefused) {
  fillPoint(db().profiles[0].points[0], 1);
  db().profiles[0].mxindex_bodu = 0;
  action("Smaaktulnbod1")->trigger();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], "Musí zbýt alespoň jeden bod - tento bod nelze smazat.");
}

TEST_F(SectionWindowTest, TheCurveWindowReachesTheSectionThroughItsLink) {
  SectionLink& section = w;
  fillPoint(db().profiles[0].points[0], 1);
  fillPoint(db().profiles[0].points[1], 2);
  db().profiles[0].mxindex_bodu = 1;
  db().currentPoint = 0;
  link.state().readingCount = 3;
  link.state().readingRho[2] = 77.0f;
  section.storeSounding();
  EXPECT_EQ(db().profiles[0].points[0].Rmer[2], 77.0f);
  dialogs.answer("Ano");
  section.deleteCurrentPoint();
  EXPECT_EQ(db().profiles[0].mxindex_bodu, 0);
  EXPECT_EQ(textOf(db().profiles[0].points[0].pointName), "bod2");
  section.show();
  EXPECT_TRUE(w.isVisible());
}

TEST_F(SectionWindowTest, AlignmentItemAlignsTheCurrentProfile) {
  fillPoint(db().profiles[0].points[0], 1);
  db().profiles[0].mxindex_bodu = 0;
  action("NaaktulnmpfupravXvechbodVESnapodlpovrchu1")->trigger();
  EXPECT_EQ(db().profiles[0].points[0].profileChainage, 101.0f);
}

TEST_F(SectionWindowTest, F1OpensHelpContext2) {
  QAction* help = action("HelpF1");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
  help->trigger();
  EXPECT_EQ(helpContexts, std::vector<int>{2});
}

TEST_F(SectionWindowTest, ClosingTheWindowClosesTheCurveWindow) {
  w.show();
  w.close();
  EXPECT_EQ(curveClosed, 1);
}

TEST_F(SectionWindowTest, ShownPictureOfAnEmptyProfileHoldsTheStatusLineAndNamesTheDatabase) {
  setTextFromUtf8(db().localityName, "Jihlava");
  setTextFromUtf8(db().profiles[0].profileName, "A");
  w.show();
  QApplication::processEvents();
  ui::QImageCanvas& canvas = w.image()->canvas();
  EXPECT_EQ(canvas.width(), 2 * desktop().width());
  EXPECT_EQ(canvas.height(), 2 * desktop().height());
  const ui::TextSize line = canvas.textExtent("W");
  int dark = 0;
  for (int y = 0; y < line.height; ++y)
    for (int x = 0; x < 40 * line.width; ++x) dark += canvas.pixel(x, y) != 0xFFFFFF;
  EXPECT_GT(dark, 20);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("db:  - lok:Jihlava"));
}

TEST_F(SectionWindowTest, RightButtonOpensThePopup) {
  w.show();
  QApplication::processEvents();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 30), QPointF(20, 30), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(w.image(), &press);
  EXPECT_TRUE(w.popupMenu()->isVisible());
  w.popupMenu()->hide();
}

}  // namespace
}  // namespace orv::testing
