// The model made and edited with the mouse in the real curve window: QTest
// mouse events on the image, a merged sounding opened through the menu, and
// the picture compared with a fresh repaint of the same state.
#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"
#include "core/interpretation/forward_problem.h"
#include "qt/image_widget.h"
#include "qt/tulvakwin.h"
#include "tests/app/curve_window_fixture.h"
#include "tests/app/shell_fixture.h"

namespace {

class CurveWindowModelTest : public CurveWindowFixture {};

TEST_F(CurveWindowModelTest, TheMenuModelCarriesItsItemsAndShortcuts) {
  struct Item {
    const char* name;
    const char* caption;
    QKeySequence keys;
  };
  const Item items[] = {
      {"Vytvoenmodelu1", "Začátek vytváření modelu (pravá myš mimo model)",
       QKeySequence(Qt::Key_F6)},
      {"Vytvenmodelulevmylichrohy1", "Vytváření modelu (levá myš liché rohy)", QKeySequence()},
      {"Konecvytvenmodelupravmy1", "Konec vytváření modelu (pravá myš)", QKeySequence()},
      {"Vlovrstvupravmynadaktivnst1", "Vlož vrstvu (pravá myš nad aktivní částí)", QKeySequence()},
      {"Zruvrstvustednmynadaktivnvrstvou1", "Zruš vrstvu (střední myš nad aktivní vrstvou)",
       QKeySequence()},
      {"Zruitmodel1", "Zrušit model (pravá myš mimo model, Ctrl+pravá)",
       QKeySequence(Qt::CTRL | Qt::Key_Delete)},
      {"Zkoprujmodeldopamti1", "Zkopíruj model do paměti", QKeySequence(Qt::CTRL | Qt::Key_C)},
      {"Vlomodelzpamti1", "Vlož model z paměti", QKeySequence(Qt::CTRL | Qt::Key_V)},
  };
  for (const Item& item : items) {
    QAction* a = win_->action(item.name);
    ASSERT_NE(a, nullptr) << item.name;
    EXPECT_EQ(a->text().toStdString(), item.caption);
    EXPECT_EQ(a->shortcut(), item.keys) << item.name;
  }
}

TEST_F(CurveWindowModelTest, BuildingByMouseGivesFourLayersAndTheRunButtonTakesEnter) {
  build({{150, 2}, {30, 8}, {200, 40}}, 300);
  orv::CurveWindowState& st = s();
  EXPECT_FALSE(st.modelBuildMode);
  ASSERT_EQ(st.modelBoundaryCount, 3);
  EXPECT_EQ(st.modelDepth[3], 1e12f);
  EXPECT_NEAR(st.modelRho[3], 300, 10);
  EXPECT_TRUE(st.computedCurveValid);
  EXPECT_TRUE(dialogs_.messages().empty());
  EXPECT_TRUE(win_->optimiseButton()->isVisible());
  EXPECT_TRUE(win_->transferButton()->isVisible());
  EXPECT_EQ(win_->focusWidget(), win_->optimiseButton());

  // The computed curve is on the picture: erasing it changes pixels.
  const QImage with = picture();
  orv::drawComputedCurve(win_->session());
  EXPECT_NE(with, picture());
  orv::drawComputedCurve(win_->session());
  EXPECT_EQ(with, picture());
  expectCleanPicture();

  const double before = st.modelFitError;
  QTest::keyClick(win_->optimiseButton(), Qt::Key_Return);
  EXPECT_LT(st.modelFitError, before);
}

TEST_F(CurveWindowModelTest, MiddleClickTakesBackTheLastCornerAndDoesNothingAtZero) {
  orv::CurveWindowState& st = s();
  click(Qt::RightButton, col(100), row(3));
  ASSERT_TRUE(st.modelBuildMode);
  move(col(100), row(3));
  click(Qt::MiddleButton, col(100), row(3));
  EXPECT_EQ(st.modelBoundaryCount, 0);
  click(Qt::LeftButton, col(100), row(3));
  move(col(40), row(10));
  click(Qt::LeftButton, col(40), row(10));
  move(col(200), row(30));
  ASSERT_EQ(st.modelBoundaryCount, 2);
  click(Qt::MiddleButton, col(200), row(30));
  EXPECT_EQ(st.modelBoundaryCount, 1);
  EXPECT_TRUE(st.modelBuildMode);
  click(Qt::RightButton, col(200), row(30));
  EXPECT_EQ(st.modelBoundaryCount, 1);
  expectCleanPicture();
}

TEST_F(CurveWindowModelTest, AnInterfaceDraggedBelowTheNextStopsAtItsDepth) {
  setModel({150, 30, 200, 300}, {2, 8, 40});
  orv::CurveWindowState& st = s();
  const int x = (col(150) + col(30)) / 2;
  move(x, row(2));
  ASSERT_EQ(st.hotBoundary, 0);
  EXPECT_EQ(img()->cursor().shape(), Qt::SizeVerCursor);
  press(Qt::LeftButton, x, row(2));
  ASSERT_TRUE(st.mouseDragging);
  for (int y = row(2) + 10; y <= row(8) + 80; y += 10) move(x, y);
  EXPECT_EQ(st.modelDepth[0], 8.0f);
  release(Qt::LeftButton, x, row(8) + 80);
  EXPECT_FALSE(st.mouseDragging);
  EXPECT_EQ(st.modelDepth[0], 8.0f);
  EXPECT_EQ(st.modelDepth[1], 8.0f);
  expectCleanPicture();
}

TEST_F(CurveWindowModelTest, DraggingALayerChangesItsResistivityAndTheCurveOnEveryMove) {
  setModel({150, 30, 200, 300}, {2, 8, 40});
  orv::CurveWindowState& st = s();
  const int y = (row(8) + row(40)) / 2;
  int x = col(200);
  move(x, y);
  ASSERT_EQ(st.hotLayer, 2);
  EXPECT_EQ(img()->cursor().shape(), Qt::SizeHorCursor);
  press(Qt::LeftButton, x, y);
  for (int step = 0; step < 6; ++step) {
    const float rho = st.modelRho[2];
    const double misfit = st.modelFitError;
    const QImage before = picture();
    x -= 15;
    move(x, y);
    EXPECT_LT(st.modelRho[2], rho) << step;
    EXPECT_NE(st.modelFitError, misfit) << step;
    EXPECT_NE(picture(), before) << step;
  }
  release(Qt::LeftButton, x, y);
  expectCleanPicture();
}

TEST_F(CurveWindowModelTest, AShorterMisfitAfterTheDragLeavesNoTextBehind) {
  setModel({1000, 1000}, {5});
  orv::CurveWindowState& st = s();
  ASSERT_GE(st.modelFitError, 100);
  const int y = row(2);
  const int x = col(1000);
  move(x, y);
  ASSERT_EQ(st.hotLayer, 0);
  press(Qt::LeftButton, x, y);
  for (int k = 1; k <= 10; ++k) move(x - 30 * k, y);
  ASSERT_LT(st.modelFitError, 100);
  release(Qt::LeftButton, x - 300, y);
  expectCleanPicture();
}

TEST_F(CurveWindowModelTest, CtrlLeftTwiceRestoresTheMarkAndThePicture) {
  setModel({150, 30, 200, 300}, {2, 8, 40});
  orv::CurveWindowState& st = s();
  const int y = (row(8) + row(40)) / 2;
  move(col(200), y);
  ASSERT_EQ(st.hotLayer, 2);
  const QImage before = picture();
  click(Qt::LeftButton, col(200), y, Qt::ControlModifier);
  EXPECT_EQ(st.rhoFixed[2], 1);
  EXPECT_FALSE(st.mouseDragging);
  EXPECT_NE(picture(), before);  // drawn in the fixed colour
  click(Qt::LeftButton, col(200), y, Qt::ControlModifier);
  EXPECT_EQ(st.rhoFixed[2], 0);
  EXPECT_EQ(picture(), before);
}

TEST_F(CurveWindowModelTest, ShiftLeftTogglesTheThicknessMark) {
  setModel({150, 30, 200, 300}, {2, 8, 40});
  orv::CurveWindowState& st = s();
  const int y = (row(2) + row(8)) / 2;
  move(col(30), y);
  ASSERT_EQ(st.hotLayer, 1);
  click(Qt::LeftButton, col(30), y, Qt::ShiftModifier);
  EXPECT_EQ(st.thicknessFixed[1], 1);
  click(Qt::LeftButton, col(30), y, Qt::ShiftModifier);
  EXPECT_EQ(st.thicknessFixed[1], 0);
  EXPECT_EQ(st.rhoFixed[1], 0);
}

TEST_F(CurveWindowModelTest, SplittingTheTopLayerPutsAnInterfaceAtNineTenths) {
  setModel({150, 40}, {10});
  orv::CurveWindowState& st = s();
  move(col(150), row(4));
  ASSERT_EQ(st.hotLayer, 0);
  click(Qt::RightButton, col(150), row(4));
  ASSERT_EQ(st.modelBoundaryCount, 2);
  EXPECT_FLOAT_EQ(st.modelDepth[0], 9.0f);
  EXPECT_EQ(st.modelDepth[1], 10.0f);
  EXPECT_EQ(st.modelRho[0], 150.0f);
  EXPECT_EQ(st.modelRho[1], 150.0f);
  EXPECT_TRUE(st.computedCurveValid);
  expectCleanPicture();
}

TEST_F(CurveWindowModelTest, DeletingTheOnlyInterfaceStartsANewBuild) {
  setModel({150, 40}, {10});
  orv::CurveWindowState& st = s();
  const int x = (col(150) + col(40)) / 2;
  move(x, row(10));
  ASSERT_EQ(st.hotBoundary, 0);
  click(Qt::MiddleButton, x, row(10));
  EXPECT_EQ(st.modelBoundaryCount, 0);
  EXPECT_TRUE(st.modelBuildMode);
  EXPECT_FALSE(win_->optimiseButton()->isVisible());
  // The new model follows the mouse straight away.
  move(col(80), row(5));
  click(Qt::LeftButton, col(80), row(5));
  EXPECT_EQ(st.modelBoundaryCount, 1);
}

TEST_F(CurveWindowModelTest, CtrlShiftRightCancelsTheModel) {
  setModel({150, 30, 200}, {2, 8});
  orv::CurveWindowState& st = s();
  move(col(30), (row(2) + row(8)) / 2);
  ASSERT_EQ(st.hotLayer, 1);
  click(Qt::RightButton, col(30), (row(2) + row(8)) / 2, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(st.modelBuildMode);
  EXPECT_EQ(st.modelBoundaryCount, 0);
  EXPECT_FALSE(st.computedCurveValid);
  EXPECT_EQ(img()->cursor().shape(), Qt::ArrowCursor);
  expectCleanPicture();
}

TEST_F(CurveWindowModelTest, CopyLoadAnotherSoundingAndPaste) {
  build({{150, 2}, {30, 8}, {200, 40}}, 300);
  orv::CurveWindowState& st = s();
  const std::vector<float> rho(st.modelRho, st.modelRho + 4);
  const std::vector<float> depth(st.modelDepth, st.modelDepth + 3);
  const double firstMisfit = st.modelFitError;
  QTest::keyClick(win_.get(), Qt::Key_C, Qt::ControlModifier);
  trigger("NatidalKMT1");
  ASSERT_EQ(st.pointNumber, 25);
  EXPECT_EQ(st.modelBoundaryCount, 0);
  QTest::keyClick(win_.get(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(st.modelBoundaryCount, 3);
  EXPECT_EQ(std::vector<float>(st.modelRho, st.modelRho + 4), rho);
  EXPECT_EQ(std::vector<float>(st.modelDepth, st.modelDepth + 3), depth);
  EXPECT_TRUE(st.computedCurveValid);
  EXPECT_NE(st.modelFitError, firstMisfit);
  EXPECT_DOUBLE_EQ(st.modelFitError, orv::misfitSSQ(st));
  EXPECT_EQ(win_->focusWidget(), win_->optimiseButton());
  expectCleanPicture();
}

TEST_F(CurveWindowModelTest, ClearModelByCtrlDelete) {
  setModel({150, 30, 200}, {2, 8});
  QTest::keyClick(win_.get(), Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(s().modelBoundaryCount, 0);
  EXPECT_FALSE(s().computedCurveValid);
  expectCleanPicture();
}

TEST_F(CurveWindowModelTest, ALongRoadOfGesturesLeavesNoResidue) {
  build({{150, 2}, {30, 8}, {200, 40}}, 300);
  orv::CurveWindowState& st = s();
  // Sweep the mouse over the whole model: every element picked and let go.
  for (int y = st.plotTop + 3; y < st.plotBottom; y += 7)
    for (int x = col(20); x < col(400); x += 23) move(x, y);
  expectCleanPicture();
  // Drag interface 1 up and down, layer 3 left and right.
  const int ix = (col(st.modelRho[1]) + col(st.modelRho[2])) / 2;
  move(ix, row(st.modelDepth[1]));
  ASSERT_EQ(st.hotBoundary, 1);
  press(Qt::LeftButton, ix, row(st.modelDepth[1]));
  for (int dy : {-40, -20, 15, 60, 120, 30}) move(ix, row(8) + dy);
  expectCleanPicture();
  release(Qt::LeftButton, ix, row(8) + 30);
  const int ly = (row(st.modelDepth[2]) + st.plotBottom) / 2;
  move(col(st.modelRho[3]), ly);
  ASSERT_EQ(st.hotLayer, 3);
  press(Qt::LeftButton, col(st.modelRho[3]), ly);
  for (int dx : {30, 80, -40, -120, 10}) move(col(300) + dx, ly);
  release(Qt::LeftButton, col(300) + 10, ly);
  expectCleanPicture();
  // Split interface 0, fix it, delete layer 1, pick around.
  const int i0x = (col(st.modelRho[0]) + col(st.modelRho[1])) / 2;
  move(i0x, row(st.modelDepth[0]));
  ASSERT_EQ(st.hotBoundary, 0);
  click(Qt::RightButton, i0x, row(st.modelDepth[0]));
  EXPECT_EQ(st.modelBoundaryCount, 4);
  move(i0x + 1, row(st.modelDepth[0]));
  click(Qt::LeftButton, i0x + 1, row(st.modelDepth[0]), Qt::ControlModifier);
  const int l1y = (row(st.modelDepth[0]) + row(st.modelDepth[1])) / 2;
  move(col(st.modelRho[1]), l1y);
  if (st.hotLayer == 1) click(Qt::RightButton, col(st.modelRho[1]), l1y, Qt::ControlModifier);
  for (int y = st.plotTop + 2; y < st.plotBottom; y += 11) move(col(60) + y % 37, y);
  expectCleanPicture();
}

}  // namespace
