// A field day's road through both real windows: soundings filed with "<-",
// the database saved, the program started again, the database opened, the
// profile walked with F3/F2, a model dragged — and the stored point follows.
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "app/shell.h"
#include "base/fixed_text.h"
#include "commands/curve/curve_rendering.h"
#include "commands/section/point_parameters.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

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
};

TEST_F(SectionRoadTest, FiledSavedReopenedWalkedAndDraggedThePointFollows) {
  const std::string vdb = (folder_ / "lhota.vdb").string();
  float storedDepth[3] = {};
  {
    auto shell = startProgram();
    dialogs_.answer(kSample);
    trigger(shell->curve(), "OtevtKMT1");
    const float chainages[] = {0, 50, 25};  // filed out of chainage order
    for (int r = 0; r < 3; ++r) {
      if (r > 0) trigger(shell->curve(), "NatidalKMT1");
      fileCurrentSounding(*shell, chainages[r], "VES " + std::to_string(r));
    }
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
  auto shell = startProgram();
  dialogs_.answer(kSample);
  trigger(shell->curve(), "OtevtKMT1");
  fileCurrentSounding(*shell, 0, "VES 0");
  trigger(shell->curve(), "NatidalKMT1");
  fileCurrentSounding(*shell, 25, "VES 1");
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
  EXPECT_EQ(dialogs_.messages(), std::vector<std::string>{"Nevybral jste žádný soubor"});
}

}  // namespace
