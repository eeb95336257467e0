// The two windows together: what the section does to the curve window must
// show there as the point it now holds.
#include <QAction>
#include <cmath>

#include "app/shell.h"
#include "curve/kmt_commands.h"
#include "curve/qt/tulvakwin.h"
#include "section/qt/tsection.h"
#include "section/section_operations.h"
#include "tests/shell/shell_fixture.h"

namespace {

const std::string kSample = std::string(ORV_SAMPLES_DIR) + "/lhota-pf1.kmt";

class CurveSectionExchangeTest : public StartFolderTest {
 protected:
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

}  // namespace
