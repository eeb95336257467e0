// A field day's road through both real windows: soundings filed with "<-",
// the database saved, the program started again, the database opened, the
// profile walked with F3/F2, a model dragged — and the stored point follows.
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

#include "app/shell.h"
#include "base/fixed_text.h"
#include "commands/curve/curve_rendering.h"
#include "commands/section/database_commands.h"
#include "commands/section/point_parameters.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"
#include "tests/commands/section/section_test_support.h"
#include "tests/core/section/vdb_test_support.h"

namespace {

const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");

class SectionRoadTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    ASSERT_TRUE(orv_test::fixturePresent(kSample));
  }

  std::unique_ptr<Shell> startProgram() {
    auto shell = std::make_unique<Shell>(&dialogs_, false);
    shell->curve()->resize(1000, 700);
    shell->curve()->show();
    QApplication::processEvents();
    shell->curve()->state().sectionWindowShown = true;
    return shell;
  }

  static void trigger(QWidget* window, const char* name) {
    QAction* a = window->findChild<QAction*>(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }

  // The current sounding gets a model, is optimised with "..." and filed with
  // "<-" at the given chainage.
  void fileCurrentSounding(Shell& shell, float chainage, const std::string& name) {
    Tulvakwin& win = *shell.curve();
    orv::CurveWindowState& s = win.state();
    s.modelBoundaryCount = 2;
    const float rho[] = {100, 30, 300};
    for (int i = 0; i <= 2; ++i) s.modelRho[i] = rho[i];
    s.modelDepth[0] = 3;
    s.modelDepth[1] = 15;
    s.modelActive = true;
    shell.section()->setPointDialog([&shell, &s, chainage, name] {
      orv::PointFields f = orv::fillPointFields(shell.section()->database(), s, false);
      f.pointName = name;
      f.profileChainage = std::to_string(chainage);
      return f;
    });
    win.optimiseButton()->click();
    ASSERT_TRUE(win.transferButton()->isVisibleTo(&win));
    win.transferButton()->click();
  }

  // The KMT sample's first records filed at the given chainages.
  std::unique_ptr<Shell> programWithFiled(std::initializer_list<float> chainages) {
    auto shell = startProgram();
    dialogs_.answer(kSample);
    trigger(shell->curve(), "OtevtKMT1");
    int r = 0;
    for (float chainage : chainages) {
      if (r > 0) trigger(shell->curve(), "NatidalKMT1");
      fileCurrentSounding(*shell, chainage, "VES " + std::to_string(r++));
    }
    return shell;
  }

  // Qt passes a move on only when the mouse goes elsewhere than it last was.
  static void moveTo(Tulvakwin& win, QPoint at) {
    QTest::mouseMove(win.image(), QPoint(2, 2));
    QTest::mouseMove(win.image(), at);
  }
};

TEST_F(SectionRoadTest, FiledSavedReopenedWalkedAndDraggedThePointFollows) {
  const std::string vdb = (folder_ / "lhota.vdb").string();
  float storedDepth[3] = {};
  {
    auto shell = programWithFiled({0, 50, 25});  // out of chainage order
    const orv::SectionProfile& p = shell->section()->database().profiles[0];
    ASSERT_EQ(p.mxindex_bodu, 2);
    for (int b = 0; b < 3; ++b) storedDepth[b] = p.points[b].layerDepth[0];
    dialogs_.answer(vdb);
    trigger(shell->section(), "Ulodbnamenchdatavsledk1");
    ASSERT_TRUE(std::filesystem::exists(vdb));
    EXPECT_TRUE(dialogs_.unexpected().empty());
  }  // the program ends

  auto shell = startProgram();
  dialogs_.clearRecords();
  dialogs_.answer(vdb);
  trigger(shell->section(), "Otevidbnamenchdatavsledk1");
  orv::SectionDatabase& db = shell->section()->database();
  ASSERT_EQ(db.profiles[0].mxindex_bodu, 2);
  EXPECT_EQ(db.currentPoint, 0);
  // Reals travel as "%f": six decimals.
  float readDepth[3] = {};
  for (int b = 0; b < 3; ++b) {
    readDepth[b] = db.profiles[0].points[b].layerDepth[0];
    EXPECT_NEAR(readDepth[b], storedDepth[b], 5e-7);
  }

  // F3 from chainage 0 goes to 25 (point 2), then 50 (point 1), and stays at
  // the end; F2 walks back.
  const orv::CurveWindowState& s = shell->curve()->state();
  const int walk[][2] = {{'n', 2}, {'n', 1}, {'n', 1}, {'p', 2}};
  for (const auto& [direction, expected] : walk) {
    trigger(shell->section(), direction == 'n' ? "Dalsousednbod1" : "Pedchozsousednbod1");
    EXPECT_EQ(db.currentPoint, expected);
    EXPECT_TRUE(s.fromSection);
    EXPECT_EQ(orv::textOf(s.instrumentFilePath), "VES " + std::to_string(expected));
    EXPECT_EQ(s.readingCount, db.profiles[0].points[expected].Mermx);
    EXPECT_TRUE(s.modelActive);
  }

  // A drag of the first interface in the curve window is the point's at once.
  QWidget* img = shell->curve()->image();
  const int x = (orv::columnOfRho(s, s.modelRho[0]) + orv::columnOfRho(s, s.modelRho[1])) / 2;
  const int y = orv::rowOfAbHalf(s, s.modelDepth[0]);
  QTest::mouseMove(img, QPoint(x, y));
  ASSERT_EQ(s.hotBoundary, 0);
  QTest::mousePress(img, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  QTest::mouseMove(img, QPoint(x, y + 15));
  EXPECT_EQ(db.profiles[0].points[2].layerDepth[0], readDepth[2]);  // not before the release
  QTest::mouseRelease(img, Qt::LeftButton, Qt::NoModifier, QPoint(x, y + 15));
  EXPECT_GT(s.modelDepth[0], readDepth[2]);
  EXPECT_EQ(db.profiles[0].points[2].layerDepth[0], s.modelDepth[0]);
  EXPECT_EQ(db.profiles[0].points[0].layerDepth[0], readDepth[0]);  // the others keep theirs

  // "<-" on a point of the section only refuses.
  shell->curve()->transferButton()->show();
  dialogs_.clearRecords();
  shell->curve()->transferButton()->click();
  EXPECT_EQ(dialogs_.messages(),
            std::vector<std::string>{"Reinterpretovanou křivku VES nelze znovu vložit do stejného "
                                     "profilu, neb je už tam"});
  EXPECT_EQ(db.profiles[0].mxindex_bodu, 2);
}

TEST_F(SectionRoadTest, CarryingTheModelRightLoadsTheNeighbourAndOptimisesThere) {
  auto shell = programWithFiled({0, 25});
  orv::SectionDatabase& db = shell->section()->database();
  orv::SectionPoint& second = db.profiles[0].points[1];
  // The neighbour holds a poor model of its own; the carried one replaces it.
  second.layerRho[0] = 5;
  second.layerRho[1] = 5;
  second.layerRho[2] = 5;
  db.currentPoint = 0;
  trigger(shell->section(), "Pedchozsousednbod1");  // at chainage 0: the same point
  ASSERT_EQ(db.currentPoint, 0);
  const orv::CurveWindowState& s = shell->curve()->state();
  const float carried = s.modelRho[1];
  dialogs_.clearRecords();
  trigger(shell->curve(), "Zkoprujaoptimalizujmodelnakivkuvpravo1");
  EXPECT_TRUE(dialogs_.messages().empty());
  EXPECT_EQ(db.currentPoint, 1);
  EXPECT_EQ(s.clipboardRho[1], carried);
  EXPECT_GT(second.layerRho[0], 5.0f);  // optimised and written back
  EXPECT_EQ(second.layerRho[1], s.modelRho[1]);
  EXPECT_FLOAT_EQ(second.fitError, static_cast<float>(s.modelFitError));
  EXPECT_LT(s.modelFitError, 0.05);

  // Left from the first point reloads that point and optimises it there.
  db.currentPoint = 0;
  trigger(shell->section(), "Pedchozsousednbod1");
  trigger(shell->curve(), "Zkoprujaoptimalizujmodelnakivkuvlevo1");
  EXPECT_EQ(db.currentPoint, 0);
  EXPECT_TRUE(dialogs_.messages().empty());
}

TEST_F(SectionRoadTest, DoubleClickOnAnEmptySectionOpensADatabase) {
  auto shell = startProgram();
  shell->section()->show();
  QApplication::processEvents();
  dialogs_.clearRecords();
  dialogs_.cancel();  // the open dialog
  QTest::mouseDClick(shell->section()->image(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
  // QTest leaves the button of a double click held for later moves.
  QTest::mouseRelease(shell->section()->image(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
  EXPECT_EQ(dialogs_.messages(), std::vector<std::string>{"Nevybral jste žádný soubor"});
}

// Random bytes, a PNG and an empty file are refused by name, and the database
// saves the same bytes as before; a file that announces two profiles and ends
// is what it carries, with the true count, and nothing of the one before.
TEST_F(SectionRoadTest, ADamagedOrForeignFileNeverMixesIntoTheOpenDatabase) {
  auto shell = startProgram();
  orv::SectionDatabase& db = shell->section()->database();
  db.mxindex_profilu = 1;
  for (int b = 0; b < 4; ++b) orv::testing::fillPoint(db.profiles[b / 2].points[b % 2], b + 1);
  db.profiles[0].mxindex_bodu = db.profiles[1].mxindex_bodu = 1;
  auto save = [&] {  // the bytes after the record that names the file
    trigger(shell->section(), "Ulodbnamenchdatavsledkjako1");
    const std::string bytes = orv::testing::fileBytes(std::string(orv::textOf(db.fileName)));
    return bytes.substr(bytes.find('\n'));
  };
  dialogs_.answer((folder_ / "a.vdb").string());
  const std::string before = save(), path = (folder_ / "x.vdb").string();
  std::string noise(4096, '\0');
  std::generate(noise.begin(), noise.end(), std::mt19937(22));
  const std::string header =
      orv::testing::vdbRecords({"název_souboru: b", "mxindex_lokalit: 0", "název_lokality: Beta",
                                "jméno_země: C", "jméno_kraje: K", "mxindex_profilu: 1"});
  for (const std::string& bytes :
       {noise, std::string("\x89PNG\r\n\x1a\n"), std::string(), header}) {
    orv::testing::putBytes(path, bytes);
    dialogs_.clearRecords();
    dialogs_.answer(path);
    trigger(shell->section(), "Otevidbnamenchdatavsledk1");
    const bool damaged = bytes == header;
    EXPECT_EQ(dialogs_.messages(),
              std::vector<std::string>{damaged ? orv::incompleteDatabaseMessage(0)
                                               : "Soubor " + path + " není databáze VDB."});
    const std::string after = save();
    EXPECT_EQ(after == before, !damaged);
    EXPECT_EQ(after.find(orv::utf8ToCp1250("lokality: Beta")) != std::string::npos, damaged);
    EXPECT_EQ(after.find(orv::utf8ToCp1250("název_bodu_VES")) == std::string::npos, damaged);
  }
}

// Every road that would drop unsaved changes asks first, nothing is asked
// when nothing changed: "Ano" saves as Ctrl+U does, "Ne" goes on, "Storno"
// stops the road.
TEST_F(SectionRoadTest, NoCloseAndNoOpenLosesUnsavedWork) {
  const std::pair<const char*, std::function<void(Shell&)>> roads[] = {
      {"Konec (Ctrl+Esc)", [](Shell& p) { trigger(p.curve(), "Konec1"); }},
      {"close box", [](Shell& p) { p.curve()->close(); }},
      {"section Konec", [](Shell& p) { trigger(p.section(), "Konec1"); }},
      {"section close box", [](Shell& p) { p.section()->close(); }},
      {"open", [](Shell& p) { trigger(p.section(), "Otevidbnamenchdatavsledk1"); }}};
  const std::string saved = (folder_ / "zmeny.vdb").string();
  for (const auto& [road, take] : roads) {
    for (const std::string answer : {"", "Ano", "Ne", "Storno"}) {  // "": nothing changed
      SCOPED_TRACE(std::string(road) + " " + answer);
      std::filesystem::remove(saved);
      auto shell = startProgram();
      shell->section()->show();
      shell->section()->setPointDialog([] { return orv::PointFields{}; });
      if (!answer.empty()) trigger(shell->section(), "Novprofil1");
      dialogs_.clearRecords();
      const bool opening = road == std::string("open"), goesOn = answer != "Storno";
      if (!answer.empty()) dialogs_.answer(answer);
      if (answer == "Ano") dialogs_.answer(saved);
      if (opening && goesOn) dialogs_.cancel();
      take(*shell);
      EXPECT_EQ(dialogs_.questions().size(),
                !answer.empty() + (answer == "Ano") + (opening && goesOn));
      EXPECT_EQ(shell->curve()->isVisible(), opening || !goesOn);
      EXPECT_EQ(std::filesystem::exists(saved), answer == "Ano");
    }
  }
}

// The confirmed point goes, and only it: the new current point arrives whole,
// so the fix toggle that writes it back keeps its own IP rows and misfit.
TEST_F(SectionRoadTest, ADeletionLeavesTheNeighbourItsIpRowsAndMisfit) {
  for (const std::string answer : {"Ne", "Ano"}) {
    auto shell = programWithFiled({0, 50, 25});
    orv::SectionProfile& p = shell->section()->database().profiles[0];
    p.num_IPoken = 3;
    for (int b = 0; b < 3; ++b)
      for (int m = 0; m < 3 * orv::MaxIpWindows; ++m) p.points[b].ipValue[m / 3][m % 3] = b + m;
    const orv::SectionPoint neighbour = p.points[2];
    shell->section()->database().currentPoint = 2;
    trigger(shell->section(), "Dalsousednbod1");  // 25 m -> 50 m
    dialogs_.clearRecords();
    dialogs_.answer(answer);
    trigger(shell->section(), "Smaaktulnbod1");
    EXPECT_EQ(dialogs_.questions(),
              std::vector<std::string>{"ask|Smazat bod VES 1 (metráž 50 m)?"});
    ASSERT_EQ(p.mxindex_bodu, answer == "Ano" ? 1 : 2);
    const orv::CurveWindowState& s = shell->curve()->state();
    const QPoint at((orv::columnOfRho(s, s.modelRho[0]) + orv::columnOfRho(s, s.modelRho[1])) / 2,
                    orv::rowOfAbHalf(s, s.modelDepth[0]));
    moveTo(*shell->curve(), at);
    QTest::mouseClick(shell->curve()->image(), Qt::LeftButton, Qt::ControlModifier, at);
    const orv::SectionPoint& now = p.points[1];
    ASSERT_LT(now.layerDepth[0], 0.0f) << "the fix written back";
    if (answer == "Ne") continue;
    EXPECT_EQ(orv::textOf(now.pointName), "VES 2");
    EXPECT_FLOAT_EQ(now.fitError, neighbour.fitError);
    EXPECT_EQ(std::memcmp(now.ipValue, neighbour.ipValue, sizeof now.ipValue[0] * now.Mermx), 0);
  }
}

// The curve window holding a point (also the one "<-" has just filed) stores
// every deliberate edit of it at once, and a clear (Ctrl+Del) nowhere.
TEST_F(SectionRoadTest, EveryDeliberateEditOfAPointIsStored) {
  auto shell = programWithFiled({0});
  Tulvakwin& win = *shell->curve();
  orv::CurveWindowState& s = win.state();
  orv::SectionPoint& pt = shell->section()->database().profiles[0].points[0];
  const std::pair<const char*, std::function<void()>> edits[] = {
      {"Vlomodelzpamti1", [&] { s.clipboardRho[0] *= 2; }},
      {"Automatickmodel1", [&] { dialogs_.answer("4"); }},
      {"Dkladnoptimalizace1", [] {}},
      {"EditovatultlbodykivekokenVP1",
       [&] {  // the outlier click follows
         QTimer::singleShot(0, [&] {
           const QPoint at(s.plotLeft + 60, orv::rowOfAbHalf(s, s.readingAbHalf[2]));
           moveTo(win, at), QTest::mouseClick(win.image(), Qt::LeftButton, {}, at);
         });
       }},
      {"Zruitmodel1", [] {}}};
  trigger(&win, "Zkoprujmodeldopamti1");
  for (const auto& [item, prepare] : edits) {
    pt.fitError = -1;  // written by every store
    prepare();
    trigger(&win, item);
    QApplication::processEvents();
    EXPECT_EQ(pt.fitError != -1, item != std::string("Zruitmodel1")) << item;
  }
}

}  // namespace
