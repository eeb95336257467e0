// The input roads in the real curve window: the menu items, the mouse-drawn
// sounding bent with the composite editing, the double click, and a folder of
// OAX files walked by "<-".
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "app/shell.h"
#include "base/fixed_text.h"
#include "commands/curve/curve_rendering.h"
#include "commands/section/point_parameters.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

class CurveWindowInputTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    shell_ = std::make_unique<Shell>(&dialogs_, false);
    win().resize(1200, 800);
    win().show();
    QApplication::processEvents();
    dialogs_.clearRecords();
    s().sectionWindowShown = true;
    s().splineAllCurves = false;
  }
  void TearDown() override {
    shell_.reset();
    StartFolderTest::TearDown();
  }
  Tulvakwin& win() { return *shell_->curve(); }
  orv::CurveWindowState& s() { return win().state(); }
  QWidget* img() { return win().image(); }
  void trigger(const char* name) {
    QAction* a = win().action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  void answers(std::initializer_list<const char*> texts) {
    for (const char* t : texts) dialogs_.answer(t);
  }
  // A sounding drawn by mouse on cells 0..20 and left as it is (F4).
  void drawnSounding() {
    answers({"3", "1", "0", "20"});
    trigger("Manulnvstupmy1");
    trigger("Editovatsnesenoukivku1");
    ASSERT_FALSE(s().mouseEntryActive);
  }
  QPoint cellPoint(int k, double rho) {
    return QPoint(orv::columnOfRho(s(), rho), orv::rowOfAbHalf(s(), s().gridAbHalf[k]));
  }
  // Both clicks of a double click: QTest's double click is only its second
  // press, and it keeps the button held until a release.
  void doubleClick(QPoint p) {
    QTest::mouseClick(img(), Qt::LeftButton, Qt::NoModifier, p);
    QApplication::processEvents();
    QTest::mouseDClick(img(), Qt::LeftButton, Qt::NoModifier, p);
    QApplication::processEvents();
    QTest::mouseRelease(img(), Qt::LeftButton, Qt::NoModifier, p);
  }
  std::unique_ptr<Shell> shell_;
};

TEST_F(CurveWindowInputTest, TheInputItemsOfTheFileMenu) {
  const struct {
    const char* name;
    const char* caption;
    QKeySequence keys;
  } items[] = {
      {"OtevtOAX1", "Otevřít OAX", QKeySequence(Qt::Key_F11)},
      {"ImportOAXvadresipojednom1", "Import OAX a načti další OAX (po jednom)",
       QKeySequence(Qt::Key_I)},
      {"ImportdalsouborOAXbezuloen1", "Načti další soubor OAX (bez uložení)",
       QKeySequence(Qt::Key_D)},
      {"Importcelhopfvadresi1", "(rychlý import OAX z celého pf v adresáři)",
       QKeySequence(Qt::CTRL | Qt::Key_I)},
      {"OtevtaparaturySASamp1", "Otevřít aparatury SAS amp", QKeySequence()},
      {"Runvstup1", "Ruční vstup", QKeySequence(Qt::Key_R)},
      {"Manulnvstupmy1", "Manuální vstup myší", QKeySequence(Qt::Key_M)},
  };
  for (const auto& i : items) {
    QAction* a = win().action(i.name);
    ASSERT_NE(a, nullptr) << i.name;
    EXPECT_EQ(a->text().toStdString(), i.caption);
    EXPECT_EQ(a->shortcut(), i.keys) << i.name;
    EXPECT_TRUE(a->isVisible()) << i.name;
  }
}

TEST_F(CurveWindowInputTest, AMouseDrawnCurveIsBentIntoTheSounding) {
  answers({"3", "1", "0", "20"});
  trigger("Manulnvstupmy1");
  ASSERT_TRUE(s().editCompositeMode);
  ASSERT_EQ(s().readingCount, 21);
  QTest::mouseMove(img(), QPoint(2, 2));
  const QPoint p = cellPoint(10, 300);
  QTest::mouseMove(img(), p + QPoint(3, 0));
  QTest::mouseMove(img(), p);
  ASSERT_EQ(s().editGridIndex, 10);
  QTest::mouseClick(img(), Qt::LeftButton, Qt::NoModifier, p);
  trigger("Editovatsnesenoukivku1");
  EXPECT_FALSE(s().mouseEntryActive);
  EXPECT_FALSE(s().editCompositeMode);
  EXPECT_NEAR(s().readingRho[10], 300.0f, 30.0f);
  EXPECT_EQ(s().readingRho[9], s().readingAbHalf[9]);  // the other cells stay on the line
  EXPECT_TRUE(dialogs_.unexpected().empty());
}

TEST_F(CurveWindowInputTest, TheDoubleClickStartsThePreferredInputOnlyWhereItMay) {
  drawnSounding();
  s().inputMode = 2;
  dialogs_.clearRecords();
  // Outside the plot rectangle nothing starts.
  doubleClick(QPoint(2, 2));
  EXPECT_TRUE(dialogs_.questions().empty());

  // A pair of quick clicks while building a model places two corners.
  const QPoint a = cellPoint(5, 30);
  QTest::mouseClick(img(), Qt::RightButton, Qt::NoModifier, a);
  ASSERT_TRUE(s().modelBuildMode);
  const QPoint corner = a + QPoint(-30, 20);
  QTest::mouseMove(img(), corner + QPoint(7, 5));
  QTest::mouseMove(img(), corner);
  QApplication::processEvents();
  doubleClick(corner);
  EXPECT_EQ(s().modelBoundaryCount, 2);
  EXPECT_TRUE(dialogs_.questions().empty());
  QTest::mouseClick(img(), Qt::RightButton, Qt::NoModifier, a + QPoint(20, 40));
  ASSERT_FALSE(s().modelBuildMode);

  // Inside the plot, away from the model: the mouse entry asks its questions.
  answers({"4", "1", "2", "12"});
  QTest::mouseMove(img(), cellPoint(15, 300));
  doubleClick(cellPoint(15, 300));
  EXPECT_EQ(dialogs_.pendingAnswers(), 0u);
  EXPECT_EQ(s().readingCount, 11);
  EXPECT_TRUE(s().mouseEntryActive);
}

TEST_F(CurveWindowInputTest, TheTransferButtonWalksTheFolderOfOaxFiles) {
  for (const char* name : {"pf2_0.OAX", "pf2_50.OAX", "pf2_100.OAX"}) {
    const std::string from = orv_test::fixturePath(std::string("oax-pf2/") + name);
    ASSERT_TRUE(orv_test::fixturePresent(from));
    std::filesystem::copy_file(from, folder_ / name);
  }
  std::vector<float> offered;
  shell_->section()->setPointDialog([&] {
    offered.push_back(s().pointPosition);
    return orv::fillPointFields(shell_->section()->database(), s(), false);
  });
  dialogs_.answer((folder_ / "pf2_0.OAX").string());
  trigger("OtevtOAX1");
  const int counts[] = {23, 24, 22};
  for (int walk = 0; walk < 3; ++walk) {
    ASSERT_EQ(s().readingCount, counts[walk]) << walk;
    s().modelBoundaryCount = 1;
    s().modelRho[0] = 100;
    s().modelRho[1] = 30;
    s().modelDepth[0] = 5;
    s().modelActive = true;
    win().optimiseButton()->click();
    ASSERT_TRUE(win().transferButton()->isVisibleTo(&win()));
    win().transferButton()->click();
  }
  EXPECT_EQ(offered, (std::vector<float>{0, 50, 100}));
  const orv::SectionProfile& p = shell_->section()->database().profiles[0];
  ASSERT_EQ(p.mxindex_bodu, 2);
  EXPECT_EQ(std::string(p.points[1].pointName), "pf2_50");
  EXPECT_EQ(p.points[2].Mermx, 22);
  // The last file stays: there is nothing after it.
  EXPECT_EQ(orv::textOf(s().instrumentFilePath), (folder_ / "pf2_100.OAX").string());
  EXPECT_TRUE(dialogs_.unexpected().empty());
}

}  // namespace
