// The road of a field day in the real curve window: open a KMT file through
// the menu, see the merged sounding, step through records, write it out.
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <vector>

#include "base/fixed_text.h"
#include "core/curve/kmt_file.h"
#include "qt/image_widget.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");

class CurveWindowKmtTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    ASSERT_TRUE(orv_test::fixturePresent(kSample));
    win_ = std::make_unique<Tulvakwin>(nullptr, &dialogs_);
    dialogs_.clearRecords();  // the missing settings file was announced
    win_->resize(1200, 800);
    win_->show();
    QApplication::processEvents();
    orv::CurveWindowState& s = win_->state();
    // A colour of its own makes the composite curve findable, and without
    // smoothing the line passes exactly through its points.
    s.colourComposite = 0x0000C0;
    s.splineAllCurves = false;
    s.sectionWindowShown = true;
  }
  void TearDown() override {
    win_.reset();
    StartFolderTest::TearDown();
  }
  void trigger(const char* name) {
    QAction* a = win_->action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  std::unique_ptr<Tulvakwin> win_;
};

TEST_F(CurveWindowKmtTest, OpeningThroughTheMenuShowsTheMergedFirstRecord) {
  dialogs_.answer(kSample);
  trigger("OtevtKMT1");
  const orv::CurveWindowState& s = win_->state();
  EXPECT_TRUE(dialogs_.unexpected().empty());
  EXPECT_EQ(win_->windowTitle().toStdString(),
            "ORV-otevřen: " + kSample + " bod: 0 pf: 1 lok: Lhota datum: 2026-04-02");
  EXPECT_TRUE(s.compositeReady);
  EXPECT_TRUE(s.curveDrawn);
  EXPECT_EQ(s.soundingRecordIndex, 1);
  EXPECT_EQ(s.branchCount, 3);
  const ui::Canvas& canvas = win_->image()->canvas();
  int cells = 0;
  for (int k = s.gridMinIndex; k <= s.gridMaxIndex; ++k) {
    const float rho = s.mergedRho[k][0];
    if (rho <= 0) continue;
    // The unrounded position of the composite point, truncated as drawn.
    const int x =
        static_cast<int>((std::log10(rho) - s.logRhoMin) * s.pixelsPerDecadeRho + s.marginLeft);
    const int y =
        static_cast<int>((k * orv::AbGridStep - s.logAbMin) * s.pixelsPerDecadeAb + s.marginTop);
    if (k < s.gridMaxIndex) {  // the last point of a line is not drawn
      EXPECT_EQ(canvas.pixel(x, y), 0x0000C0) << "cell " << k;
      ++cells;
    }
  }
  EXPECT_GE(cells, 15);
}

TEST_F(CurveWindowKmtTest, NextRecordsAndTheWrapToRecordZero) {
  dialogs_.answer(kSample);
  trigger("OtevtKMT1");
  for (int expected : {25, 50, 75, 100}) {
    trigger("NatidalKMT1");
    EXPECT_EQ(win_->state().pointNumber, expected);
  }
  trigger("NatidalKMT1");
  ASSERT_EQ(dialogs_.messages().size(), 1u);
  EXPECT_EQ(dialogs_.messages()[0], "Konec souboru KMT. Toto bude opět první VES.");
  EXPECT_EQ(win_->state().pointNumber, 0);
  EXPECT_EQ(win_->state().soundingRecordIndex, 1);
  trigger("N2");  // at the first record "previous" does nothing
  EXPECT_EQ(win_->state().pointNumber, 0);
}

TEST_F(CurveWindowKmtTest, AppendThenF12WriteTwoNewFilesThatReadBack) {
  dialogs_.answer(kSample);
  trigger("OtevtKMT1");
  const std::string first = (folder_ / "vystup1.kmt").string();
  const std::string second = (folder_ / "vystup2.kmt").string();
  for (const std::string& a :
       {first, std::string("Novak"), std::string("Lhota"), std::string("25"), std::string("1")})
    dialogs_.answer(a);
  trigger("PiuloitKMT1");
  EXPECT_TRUE(win_->state().soundingOutputOpen);
  for (const std::string& a :
       {second, std::string("Novak"), std::string("Lhota"), std::string("50"), std::string("1")})
    dialogs_.answer(a);
  QTest::keyClick(win_.get(), Qt::Key_F12);
  EXPECT_TRUE(dialogs_.unexpected().empty());
  EXPECT_EQ(dialogs_.pendingAnswers(), 0u);
  EXPECT_EQ(dialogs_.questions()[2], "Zadej jméno operátora:||Svoboda");
  EXPECT_EQ(dialogs_.questions()[4], "Zadej číslo bodu či metráž bodu na profilu: ||25");
  EXPECT_EQ(dialogs_.questions()[9], "Zadej číslo bodu či metráž bodu na profilu: ||50");

  const std::string bytes1 = fileBytes("vystup1.kmt");
  const std::string bytes2 = fileBytes("vystup2.kmt");
  EXPECT_TRUE(bytes1.starts_with("n Novak\r\nb 25\r\np 1\r\nl Lhota\r\nd 2026-04-02\r\nr "));
  EXPECT_TRUE(bytes2.starts_with("n Novak\r\nb 50\r\np 1\r\nl Lhota\r\nd 2026-04-02\r\nr "));
  EXPECT_FALSE(bytes1.ends_with("\r\n"));  // no line break after the last line

  // What was written is the merged sounding: read back, every reading lies on
  // the composite level of its cell.
  const orv::CurveWindowState& s = win_->state();
  orv::ZeroedBlock<orv::CurveWindowState> back;
  ASSERT_EQ(orv::readKmtRecord(*back, first.c_str(), 0).code, 1);
  ASSERT_GT(back->readingCount, 15);
  for (int i = 0; i < back->readingCount; ++i) {
    int k = -1;
    for (int g = s.gridMinIndex; g <= s.gridMaxIndex; ++g)
      if (std::fabs(s.gridAbHalf[g] - back->readingAbHalf[i]) < 1e-4f) k = g;
    ASSERT_GE(k, 0) << "reading " << i << " at " << back->readingAbHalf[i];
    bool onSomeBranch = false;
    for (int j = 1; j <= s.branchCount; ++j)
      if (std::fabs(s.mergedRho[k][j] - back->readingRho[i]) < 1e-5f * s.mergedRho[k][j])
        onSomeBranch = true;
    EXPECT_TRUE(onSomeBranch) << "reading " << i;
  }
}

}  // namespace
