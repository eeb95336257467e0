// The two windows together: what the section does to the curve window must
// show there as the point it now holds.
#include <QAction>
#include <QPushButton>
#include <cmath>

#include "app/shell.h"
#include "commands/curve/kmt_commands.h"
#include "commands/section/point_parameters.h"
#include "commands/section/section_operations.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");

class CurveSectionExchangeTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    ASSERT_TRUE(orv_test::fixturePresent(kSample));
  }
  // Files records 0..2 of the sample as points 0..2 of profile 0.
  void fileThreeSoundings(Shell& shell) {
    orv::CurveSession& c = shell.curve()->session();
    orv::SectionSession& sec = shell.section()->session();
    orv::SectionProfile& p = sec.db.profiles[0];
    dialogs_.answer(kSample);
    orv::openKmtFile(c);
    for (int r = 0; r < 3; ++r) {
      if (r > 0) orv::readNextKmtRecord(c);
      p.mxindex_bodu = r;
      sec.db.currentPoint = r;
      p.points[r].profileChainage = 25.0f * r;
      orv::storeSounding(sec);
    }
    orv::readNextKmtRecord(c);  // the curve window moves on to another sounding
  }
};

TEST_F(CurveSectionExchangeTest, DeletingAPointShowsTheNewCurrentPointInTheCurveWindow) {
  Shell shell(&dialogs_, false);
  fileThreeSoundings(shell);
  orv::SectionSession& sec = shell.section()->session();
  const orv::SectionPoint third = sec.db.profiles[0].points[2];
  sec.db.currentPoint = 1;
  dialogs_.answer("Ano");
  shell.section()->findChild<QAction*>("Smaaktulnbod1")->trigger();

  const orv::CurveWindowState& s = shell.curve()->state();
  EXPECT_EQ(sec.db.profiles[0].mxindex_bodu, 1);
  EXPECT_TRUE(s.fromSection);
  ASSERT_EQ(s.readingCount, third.Mermx);
  // The curve window derived the copied readings: it draws the former third
  // point, not the sounding it showed before.
  for (int i = 0; i < s.readingCount; ++i) {
    EXPECT_FLOAT_EQ(s.readingRho[i], third.Rmer[i]);
    EXPECT_NEAR(s.readingLogRho[i], std::log10(double{third.Rmer[i]}), 1e-12) << i;
    EXPECT_NEAR(s.readingLogAbHalf[i], std::log10(double{third.AO[i]}), 1e-12) << i;
  }
  EXPECT_TRUE(s.curveDrawn);
}

TEST_F(CurveSectionExchangeTest, TheTransferButtonFilesTheOptimisedSoundingIntoTheSection) {
  Shell shell(&dialogs_, false);
  Tulvakwin& win = *shell.curve();
  orv::CurveWindowState& s = win.state();
  win.resize(1000, 700);
  win.show();
  QApplication::processEvents();
  dialogs_.answer(kSample);
  win.action("OtevtKMT1")->trigger();
  s.modelBoundaryCount = 2;
  s.modelRho[0] = 100;
  s.modelRho[1] = 30;
  s.modelRho[2] = 300;
  s.modelDepth[0] = 3;
  s.modelDepth[1] = 15;
  s.modelActive = true;
  bool dialogShown = false;
  shell.section()->setPointDialog([&] {
    dialogShown = true;
    orv::PointFields f = orv::fillPointFields(shell.section()->database(), s, false);
    f.pointName = "VES 1";
    return f;
  });
  win.optimiseButton()->click();  // the run button shows "<-" for a sounding from a file
  ASSERT_TRUE(win.transferButton()->isVisibleTo(&win));
  win.transferButton()->click();
  EXPECT_TRUE(dialogShown);
  const orv::SectionDatabase& db = shell.section()->database();
  ASSERT_EQ(db.profiles[0].mxindex_bodu, 0);
  const orv::SectionPoint& p = db.profiles[0].points[0];
  EXPECT_EQ(std::string(p.pointName), "VES 1");
  EXPECT_EQ(p.Mermx, s.readingCount);
  EXPECT_EQ(p.MDLmx, 2);
  EXPECT_FLOAT_EQ(p.layerRho[1], s.modelRho[1]);  // the optimised model
  EXPECT_FALSE(win.transferButton()->isVisibleTo(&win));
}

}  // namespace
