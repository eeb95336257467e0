#include "app/shell.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "app/help_viewer.h"
#include "app/orv_application.h"
#include "app/to_programu.h"
#include "app/tuvitani.h"
#include "core/section/section_layout.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

using ShellTest = StartFolderTest;

TEST_F(ShellTest, CreatesTheWindowsInTheirFixedOrder) {
  Shell shell(&dialogs_, false);
  EXPECT_EQ(shell.creationOrder(),
            (QStringList{"Tulvakwin", "To_programu", "TSection", "TVESparametryEdit", "TparUCM",
                         "Tparzobr", "Tuvitani", "Tpreferenceuzivatele"}));
  EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("orv-ruzUzev"));
}

TEST_F(ShellTest, CaptionsReachTheWindowSystemWithoutTheProgramsName) {
  // Qt appends an explicitly set display name to every window title it hands
  // to the window system; a display name that only follows the application
  // name is not appended.
  const QString name = QCoreApplication::applicationName();
  EXPECT_EQ(name, QStringLiteral("orv-ruzUzev"));
  QCoreApplication::setApplicationName(QStringLiteral("sonda"));
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("sonda"));
  QCoreApplication::setApplicationName(name);
  Shell shell(&dialogs_, false);
  EXPECT_EQ(shell.curve()->windowTitle(), QStringLiteral("ORV-program na zpracování VES"));
}

TEST_F(ShellTest, TheFrameworksOwnTextsAreCzech) {
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Zrušit"));
}

std::string missingFile(const std::filesystem::path& path) {
  return "Nenalezen ini soubor! " + path.string() + "\nBudou načteny implicitní hodnoty";
}

// A first start in an empty folder names each missing file and draws the
// section in the built-in scale (40 ohm.m turquoise), which "Aktuální barevná
// škála do defaultu" keeps; closing the curve window leaves both settings
// files, so that the next start says nothing.
TEST_F(ShellTest, AFirstStartInAnEmptyFolderDrawsInColourAndTheNextIsSilent) {
  Shell shell(&dialogs_, false);
  EXPECT_EQ(dialogs_.messages(), (std::vector<std::string>{missingFile(folder_ / "orvwin.ini"),
                                                           missingFile(folder_ / "orv.ini"),
                                                           "Cannot open input Color-file."}));
  EXPECT_EQ(shell.curve()->state().splineResolution, 128);
  EXPECT_EQ(shell.curve()->state().screenSplitPercent, 65);
  dialogs_.answer(orv_test::fixturePath("profil5.vdb"));
  shell.section()->action("Otevidbnamenchdatavsledk1")->trigger();
  const orv::SectionLayout& l = shell.section()->viewState().layout;
  EXPECT_EQ(shell.section()->image()->canvas().pixel(orv::chainageToPixel(l, 0) + 2,
                                                     orv::elevationToPixel(l, 309.5)),
            0xA0C800);
  shell.section()->action("Aktulnbarevnkladodefaultu1")->trigger();
  shell.start();
  QTimer::singleShot(0, [&] { shell.curve()->close(); });
  QTimer::singleShot(2000, [] { QApplication::exit(7); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_NE(fileBytes("orvcolres.rsc").find("mxpocet_bodu_barev: 14\r\n0 "), std::string::npos);
  dialogs_.clearRecords();
  Shell again(&dialogs_, false);
  EXPECT_TRUE(dialogs_.messages().empty());
}

TEST_F(ShellTest, TheDefaultColourScaleOfTheStartFolderIsLoadedWithoutAWord) {
  {
    std::ofstream rsc(folder_ / "orvcolres.rsc", std::ios::binary);
    rsc << "n\xE1zev_souboru: orvcolres.rsc\r\nmxpocet_bodu_barev: 3\r\n0 0 \r\n100 255 \r\n"
           "1000 0x00FF00 ";
  }
  Shell shell(&dialogs_, false);
  EXPECT_EQ(dialogs_.messages(), (std::vector<std::string>{missingFile(folder_ / "orvwin.ini"),
                                                           missingFile(folder_ / "orv.ini")}));
  const orv::ColourScale& scale = shell.section()->viewState().colourScale;
  EXPECT_EQ(scale.colResCount, 3);
  EXPECT_EQ(scale.colResBound[2], 1000);
  EXPECT_EQ(scale.colResColor[2], 0x00FF00);
  EXPECT_EQ(scale.colResColor[3], 0x00FF00) << "the entry after the last repeats it";
}

TEST_F(ShellTest, SectionStaysHiddenUntilTheCurveWindowIsFirstActivated) {
  Shell shell(&dialogs_, false);
  EXPECT_FALSE(shell.section()->isVisible());
  EXPECT_FALSE(shell.curve()->state().sectionWindowShown);
  shell.start();
  QApplication::setActiveWindow(shell.curve());
  QApplication::processEvents();
  EXPECT_TRUE(shell.curve()->isVisible());
  EXPECT_TRUE(shell.section()->isVisible());
  EXPECT_TRUE(shell.curve()->state().sectionWindowShown);
}

TEST_F(ShellTest, SectionIsPlacedLeftOfTheCurveWindowOverlappingByFivePixels) {
  Shell shell(&dialogs_, false);
  const QSize screen = shell.curve()->screen()->geometry().size();
  const int curveWidth = screen.width() * 65 / 100;
  EXPECT_EQ(shell.section()->geometry().width(), screen.width() - curveWidth + 5);
  EXPECT_EQ(shell.curve()->geometry().width(), curveWidth);
}

TEST_F(ShellTest, WelcomeWindowShowsOnFirstShowAndClosesWhenTheMouseMovesOverIt) {
  Shell shell(&dialogs_, true);
  bool sawWelcome = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    sawWelcome = modal == shell.welcome();
    if (!modal) return;
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(modal, &move);
  });
  shell.start();  // the modal loop runs inside and must end by itself
  EXPECT_TRUE(sawWelcome);
  EXPECT_FALSE(shell.welcome()->isVisible());
}

TEST_F(ShellTest, WelcomeWindowClosesOnAMousePressOnItsLabels) {
  Shell shell(&dialogs_, false);
  QTimer::singleShot(0, [&] {
    auto* label = shell.welcome()->findChild<QLabel*>("Image1");
    ASSERT_NE(label, nullptr);
    QTest::mouseClick(label, Qt::LeftButton);
  });
  EXPECT_EQ(shell.welcome()->exec(), QDialog::Accepted);
  EXPECT_TRUE(Tuvitani::greeting().contains(QStringLiteral("VES, MK a VES-VP")));
  EXPECT_TRUE(Tuvitani::productLine().startsWith(QStringLiteral("ORV verze ")));
  EXPECT_EQ(shell.welcome()->windowTitle(), QStringLiteral("ORV-RUZ-uzev"));
}

TEST_F(ShellTest, WelcomePictureIsASoundingCurveDrawnByTheChart) {
  Shell shell(&dialogs_, false);
  const QImage& picture = shell.welcome()->picture();
  ASSERT_FALSE(picture.isNull());
  int composite = 0, model = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb p = picture.pixel(x, y) & 0xFFFFFF;
      if (p == 0x000000) ++composite;  // frame, texts and the black composite curve
      if (p == 0xFF00FF) ++model;      // the lime model XOR-drawn over white
    }
  EXPECT_GT(composite, 500);
  EXPECT_GT(model, 50);
  picture.save(QString::fromStdString((folder_ / "welcome.png").string()));
}

TEST_F(ShellTest, AboutBoxCarriesItsTexts) {
  Shell shell(&dialogs_, false);
  To_programu* about = shell.about();
  EXPECT_EQ(about->windowTitle(), QStringLiteral("o programu"));
  auto* group = about->findChild<QGroupBox*>();
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), QStringLiteral("ulvakwin"));
  QStringList texts;
  for (QLabel* l : about->findChildren<QLabel*>()) texts << l->text();
  EXPECT_TRUE(
      texts.contains(QStringLiteral("Program na interpretaci  křivek VES naměřených "
                                    "aparaturou ODRAM2 , ODRAM3 nebo Kalomet uložených")));
  EXPECT_TRUE(
      texts.contains(QStringLiteral(" ve formátu OAX (i jejich  převod na KMT), ve formátu "
                                    "KMT nebo i ruční vstup naměřených křivek VES.")));
}

TEST_F(ShellTest, HelpMenuOpensContextOneAndF1OfTheSectionContextTwo) {
  Shell shell(&dialogs_, false);
  shell.curve()->action("Help1")->trigger();
  EXPECT_EQ(shell.help()->currentContext(), 1);
  EXPECT_TRUE(shell.help()->pageText().contains(QStringLiteral("Okno křivky VES")));
  EXPECT_TRUE(shell.help()->pageText().contains(QStringLiteral("Otevřít KMT")));
  QAction* f1 = nullptr;
  for (QAction* a : shell.section()->findChildren<QAction*>())
    if (a->shortcut() == QKeySequence(Qt::Key_F1)) f1 = a;
  ASSERT_NE(f1, nullptr);
  f1->trigger();
  EXPECT_EQ(shell.help()->currentContext(), 2);
  EXPECT_TRUE(shell.help()->pageText().contains(QStringLiteral("Nový profil")));
}

TEST_F(ShellTest, ClosingTheCurveWindowWritesTheSettingsAndEndsTheProgram) {
  Shell shell(&dialogs_, false);
  shell.start();
  QApplication::setActiveWindow(shell.curve());
  QApplication::processEvents();
  bool quitAsked = false;
  QObject guard;  // ends the connection with the test
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, &guard, [&] { quitAsked = true; });
  QTimer::singleShot(0, [&] { shell.curve()->close(); });
  QTimer::singleShot(2000, [] { QApplication::exit(7); });  // the loop must end before this
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(quitAsked);
  EXPECT_FALSE(shell.section()->isVisible());
  EXPECT_TRUE(fileBytes("orvwin.ini").starts_with("soubor nastaven\xed"));
}

TEST_F(ShellTest, ClosingTheSectionWindowEndsTheProgramToo) {
  Shell shell(&dialogs_, false);
  shell.start();
  QApplication::setActiveWindow(shell.curve());
  QApplication::processEvents();
  QTimer::singleShot(0, [&] { shell.section()->close(); });
  QTimer::singleShot(2000, [] { QApplication::exit(7); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(shell.curve()->isVisible());
  EXPECT_TRUE(fileExists("orvwin.ini"));
  EXPECT_TRUE(fileExists("orv.ini"));
}

TEST_F(ShellTest, KonecWritesTheSettingsAndClosesTheCurveWindow) {
  Shell shell(&dialogs_, false);
  shell.start();
  shell.curve()->state().lineWidthModel = 7;
  QTimer::singleShot(0, [&] { shell.curve()->action("Konec1")->trigger(); });
  QTimer::singleShot(2000, [] { QApplication::exit(7); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_NE(fileBytes("orvwin.ini").find("sila_cary_model_(2_implicitn\xec) 7\r\n"),
            std::string::npos);
  EXPECT_TRUE(fileExists("orv.ini"));
}

// An object whose event handler fails as a faulty command would.
class Throwing : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("Chyba příkazu");
    return QObject::event(e);
  }
};

TEST(OrvApplicationTest, AnExceptionReachingTheLoopIsShownAndTheLoopGoesOn) {
  auto* app = static_cast<OrvApplication*>(QApplication::instance());
  QStringList shown;
  app->setExceptionReporter([&](const QString& text) { shown << text; });
  Throwing target;
  QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  QTimer::singleShot(50, [] { QApplication::exit(3); });
  EXPECT_EQ(QApplication::exec(), 3);  // the loop survived both
  EXPECT_EQ(shown, (QStringList{QStringLiteral("Chyba příkazu"), QStringLiteral("Chyba příkazu")}));
  app->setExceptionReporter(nullptr);
}

}  // namespace
