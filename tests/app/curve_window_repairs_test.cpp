// Faults a user met in the real curve window: a bad file that cost a stored
// point, a model table cut off at the window's edge, a merge that lost the
// model from the picture, a crosshair left behind by a drag, and the side
// buttons of a mouse acting as the left one.
#include <QAction>
#include <QImage>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/shell.h"
#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/section/section_operations.h"
#include "core/interpretation/forward_problem.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");

// What a user sees of a stored point: its name, readings and model.
struct PointContents {
  std::string name;
  std::vector<float> abHalf, rho, layerRho, layerDepth;
  bool operator==(const PointContents&) const = default;
};

PointContents contentsOf(const orv::SectionPoint& p) {
  PointContents c;
  c.name = p.pointName;
  c.abHalf.assign(p.AO, p.AO + std::max(p.Mermx, 0));
  c.rho.assign(p.Rmer, p.Rmer + std::max(p.Mermx, 0));
  c.layerRho.assign(p.layerRho, p.layerRho + std::max(p.MDLmx, 0) + 1);
  c.layerDepth.assign(p.layerDepth, p.layerDepth + std::max(p.MDLmx, 0));
  return c;
}

std::vector<PointContents> profileContents(const orv::SectionProfile& p) {
  std::vector<PointContents> all;
  for (int b = 0; b <= p.mxindex_bodu; ++b) all.push_back(contentsOf(p.points[b]));
  return all;
}

bool anyMessageStartsWith(const ui::ScriptedDialogs& d, const std::string& text) {
  for (const std::string& m : d.messages())
    if (m.starts_with(text)) return true;
  return false;
}

class CurveWindowRepairsTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    ASSERT_TRUE(orv_test::fixturePresent(kSample));
  }

  // Records 0..2 of the sample filed as points 0..2 of profile 0, named.
  void fileThreeSoundings(Shell& shell) {
    orv::CurveSession& c = shell.curve()->session();
    orv::SectionSession& sec = shell.section()->session();
    orv::SectionProfile& p = sec.db.profiles[0];
    dialogs_.answer(kSample);
    shell.curve()->action("OtevtKMT1")->trigger();
    for (int r = 0; r < 3; ++r) {
      if (r > 0) shell.curve()->action("NatidalKMT1")->trigger();
      p.mxindex_bodu = r;
      sec.db.currentPoint = r;
      p.points[r].profileChainage = 25.0f * r;
      orv::setText(p.points[r].pointName, "VES " + std::to_string(r));
      orv::storeSounding(sec);
    }
    ASSERT_EQ(c.s.readingCount, p.points[2].Mermx);
    dialogs_.clearRecords();
  }
};

TEST_F(CurveWindowRepairsTest, AKmtRecordWithoutUsableReadingsLeavesTheStoredPoints) {
  struct Case {
    const char* what;
    const char* lines;  // the readings of record 1
  };
  const Case cases[] = {
      {"AB/2 zero and negative",
       "r 50.000000 s1 a0.000000 m0.500000\r\nr 60.000000 s1 a-1.300000 m0.500000\r\n"},
      {"no reading line", ""},
      {"readings that do not parse", "r padesat s1 a1.000000 m0.500000\r\n"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    dialogs_.clearRecords();
    Shell shell(&dialogs_, false);
    fileThreeSoundings(shell);
    orv::SectionSession& sec = shell.section()->session();
    // The user looks at the last point, then opens a file of the field day.
    orv::loadPoint(sec, 2);
    ASSERT_TRUE(shell.curve()->state().fromSection);
    const std::vector<PointContents> stored = profileContents(sec.db.profiles[0]);
    ASSERT_EQ(stored.size(), 3u);

    const std::string bad = (folder_ / "spatny.kmt").string();
    {
      std::ofstream out(bad, std::ios::binary);
      out << "n Novak\r\nb 10\r\np 1\r\nl Alfa\r\nd 2024-05-01\r\n"
             "r 100.000000 s1 a1.000000 m0.500000\r\nr 90.000000 s2 a1.300000 m0.500000\r\n"
             "r 80.000000 s3 a1.680000 m0.500000\r\n"
             "n Novak\r\nb 20\r\np 1\r\nl Beta\r\nd 2024-05-02\r\n"
          << k.lines << "n Novak\r\nb 30\r\np 1\r\nl Gama\r\nd 2024-05-03\r\n"
          << "r 70.000000 s1 a1.000000 m0.500000\r\nr 75.000000 s1 a1.300000 m0.500000";
    }
    dialogs_.answer(bad);
    shell.curve()->action("OtevtKMT1")->trigger();
    shell.curve()->action("NatidalKMT1")->trigger();

    EXPECT_EQ(profileContents(sec.db.profiles[0]), stored);
    const orv::CurveWindowState& s = shell.curve()->state();
    EXPECT_FALSE(s.fromSection);
    // The record without readings is replaced by record 0.
    EXPECT_EQ(s.pointNumber, 10);
    ASSERT_EQ(s.readingCount, 3);
    EXPECT_FLOAT_EQ(s.readingRho[0], 100.0f);
    EXPECT_FLOAT_EQ(s.readingAbHalf[2], 1.68f);
    EXPECT_TRUE(s.compositeReady);
    EXPECT_FALSE(anyMessageStartsWith(dialogs_, "Musí zbýt"));
  }
}

TEST_F(CurveWindowRepairsTest, DeletingBeforeAPointWithoutReadingsCostsOnePointOnly) {
  struct Case {
    const char* what;
    int emptyPoint;    // the stored point that holds no readings
    int pointsStored;  // 2 or 3
    int deleted;       // the current point when "Smaž aktuální bod" is chosen
  };
  const Case cases[] = {
      {"an empty point follows the deleted one", 2, 3, 1},
      {"the empty point is all that is left", 0, 2, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    dialogs_.clearRecords();
    Shell shell(&dialogs_, false);
    fileThreeSoundings(shell);
    orv::SectionSession& sec = shell.section()->session();
    orv::SectionProfile& p = sec.db.profiles[0];
    p.mxindex_bodu = k.pointsStored - 1;
    p.points[k.emptyPoint].Mermx = 0;
    std::vector<PointContents> expected = profileContents(p);
    expected.erase(expected.begin() + k.deleted);

    sec.db.currentPoint = k.deleted;
    dialogs_.answer("Ano");
    shell.section()->findChild<QAction*>("Smaaktulnbod1")->trigger();
    ASSERT_EQ(profileContents(p), expected);
    // The user reads the point the section now stands on into the curve
    // window: it has nothing to show, and nothing else may go.
    const int now = sec.db.currentPoint;
    ASSERT_EQ(p.points[now].Mermx, 0);
    orv::loadPoint(sec, now);
    EXPECT_EQ(profileContents(p), expected);
    EXPECT_FALSE(anyMessageStartsWith(dialogs_, "Musí zbýt"));
    EXPECT_TRUE(anyMessageStartsWith(dialogs_, "chyba při čtení"));
  }
}

// The curve window alone, with the sample opened through the menu.
class CurveWindowPictureTest : public StartFolderTest {
 protected:
  void open(int width, int height) {
    ASSERT_TRUE(orv_test::fixturePresent(kSample));
    win_ = std::make_unique<Tulvakwin>(nullptr, &dialogs_);
    dialogs_.clearRecords();
    win_->resize(width, height);
    win_->show();
    QApplication::processEvents();
    s().sectionWindowShown = true;
    dialogs_.answer(kSample);
    win_->action("OtevtKMT1")->trigger();
    ASSERT_TRUE(s().compositeReady);
    dialogs_.clearRecords();
    move(1, 1);
  }
  void TearDown() override {
    win_.reset();
    StartFolderTest::TearDown();
  }

  orv::CurveWindowState& s() { return win_->state(); }
  QWidget* img() { return win_->image(); }
  int col(double rho) { return orv::columnOfRho(s(), rho); }
  int row(double depth) { return std::min(orv::rowOfAbHalf(s(), depth), s().plotBottom); }
  void press(Qt::MouseButton b, int x, int y) { QTest::mousePress(img(), b, {}, QPoint(x, y)); }
  void release(Qt::MouseButton b, int x, int y) { QTest::mouseRelease(img(), b, {}, QPoint(x, y)); }
  void click(Qt::MouseButton b, int x, int y) {
    press(b, x, y);
    release(b, x, y);
  }
  void move(int x, int y) { QTest::mouseMove(img(), QPoint(x, y)); }

  void build(const std::vector<std::pair<double, double>>& corners, double halfSpaceRho) {
    click(Qt::RightButton, col(corners[0].first), row(corners[0].second));
    for (const auto& [rho, depth] : corners) {
      move(col(rho) + 7, row(depth) + 5);
      move(col(rho), row(depth));
      click(Qt::LeftButton, col(rho), row(depth));
    }
    move(col(halfSpaceRho), row(corners.back().second) + 30);
    click(Qt::RightButton, col(halfSpaceRho), row(corners.back().second) + 30);
  }

  void setModel(const std::vector<float>& rho, const std::vector<float>& depth) {
    orv::CurveWindowState& st = s();
    st.modelBoundaryCount = static_cast<int>(rho.size()) - 1;
    for (size_t i = 0; i < rho.size(); ++i) st.modelRho[i] = rho[i];
    for (size_t i = 0; i < depth.size(); ++i) st.modelDepth[i] = depth[i];
    st.modelDepth[st.modelBoundaryCount] = 1e12f;
    st.modelActive = true;
    orv::repaintCurveWindow(win_->session());
    ASSERT_TRUE(orv::computeForward(win_->session(), false));
  }

  QImage picture() { return win_->image()->canvas().image().copy(); }
  QImage repainted() {
    orv::repaintCurveWindow(win_->session());
    return picture();
  }
  // A point of the plot far from the model and the curves: the mouse resting
  // there picks nothing.
  QPoint awayFromEverything() { return {s().plotLeft + 4, s().plotBottom - 4}; }

  std::unique_ptr<Tulvakwin> win_;
};

// Pixels of text (black or grey) in a rectangle of the picture.
int inkIn(const QImage& image, int left, int top, int right, int bottom) {
  int ink = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
    for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x)
      if (qRed(image.pixel(x, y)) < 0xA0) ++ink;
  return ink;
}

TEST_F(CurveWindowPictureTest, TheModelTableFitsTheDockedWindow) {
  // The default split docks the curve window at 65 % of a 1600 px screen.
  open(1040, 700);
  struct Case {
    std::vector<float> rho, depth;
  };
  const Case cases[] = {
      {{12345.6f, 80.0f}, {1234.56f}},
      {{45.0f, 99999.9f, 12.0f}, {3.5f, 9999.99f}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.rho[1]);
    setModel(k.rho, k.depth);
    const orv::CurveWindowState& st = s();
    const QImage image = picture();
    ui::Canvas& canvas = win_->image()->canvas();
    canvas.setFontBold(false);
    const int h = st.textHeight;
    auto tableRow = [&](int r) { return h * r * 11 / 10; };
    auto fits = [&](int left, const std::string& text, int r) {
      SCOPED_TRACE(text);
      EXPECT_LE(left + canvas.textExtent(text).width, st.imageWidth);
      EXPECT_GT(inkIn(image, left, tableRow(r), st.imageWidth, tableRow(r) + h), 0);
      EXPECT_EQ(inkIn(image, st.imageWidth - 1, tableRow(r), st.imageWidth, tableRow(r) + h), 0);
    };
    fits(st.plotRight + 2, " -hl.- [m]", 5);
    for (size_t i = 0; i < k.rho.size(); ++i)
      fits(st.plotRight + st.textWidth, orv::cformat("%.1f", static_cast<double>(k.rho[i])),
           7 + 2 * static_cast<int>(i));
    for (size_t i = 0; i < k.depth.size(); ++i)
      fits(st.plotRight + 2, orv::cformat(" -%.2f-", static_cast<double>(k.depth[i])),
           8 + 2 * static_cast<int>(i));
  }
}

TEST_F(CurveWindowPictureTest, AMergeRedrawsTheModelAndItsCurveAgainstTheNewComposite) {
  open(1200, 800);
  build({{150, 2}, {30, 8}, {200, 40}}, 300);
  orv::CurveWindowState& st = s();
  ASSERT_EQ(st.modelBoundaryCount, 3);
  ASSERT_TRUE(st.computedCurveValid);
  const QPoint away = awayFromEverything();
  move(away.x(), away.y());
  const double before = st.modelFitError;

  QTest::keyClick(win_.get(), Qt::Key_1);
  EXPECT_TRUE(dialogs_.messages().empty());
  EXPECT_TRUE(st.computedCurveValid);
  EXPECT_NE(st.modelFitError, before);  // the composite did change
  EXPECT_DOUBLE_EQ(st.modelFitError, orv::misfitSSQ(st));
  const QImage merged = picture();
  EXPECT_EQ(merged, repainted());

  // The model on the picture is the one the picking erases and redraws.
  const int x = (col(st.modelRho[0]) + col(st.modelRho[1])) / 2;
  move(x, row(st.modelDepth[0]));
  ASSERT_EQ(st.hotBoundary, 0);
  move(away.x(), away.y());
  ASSERT_EQ(st.hotBoundary, -1);
  ASSERT_EQ(st.hotLayer, -1);
  EXPECT_EQ(picture(), merged);
}

TEST_F(CurveWindowPictureTest, AfterADragTheCompositeEditCrosshairIsTheOnlyOne) {
  open(1200, 800);
  setModel({150, 30, 200, 300}, {2, 8, 40});
  orv::CurveWindowState& st = s();
  const int x = (col(150) + col(30)) / 2;
  move(x, row(2));
  ASSERT_EQ(st.hotBoundary, 0);
  press(Qt::LeftButton, x, row(2));
  for (int y = row(2) + 10; y <= row(2) + 40; y += 10) move(x, y);
  release(Qt::LeftButton, x, row(2) + 40);
  ASSERT_FALSE(st.mouseDragging);
  const QImage before = picture();

  QTest::keyClick(win_.get(), Qt::Key_F4);
  ASSERT_TRUE(st.editCompositeMode);
  move(x + 120, row(2) + 150);
  ASSERT_GE(st.cursorX, 0);
  // Taking the live crosshair off leaves the plot as it was before F4 (the
  // read-out below the plot aside).
  orv::drawCrosshair(win_->session(), st.cursorX, st.cursorY);
  const QImage edit = picture();
  int differing = 0;
  for (int yy = 0; yy < st.plotBottom + 1; ++yy)
    for (int xx = 0; xx < st.imageWidth; ++xx)
      if (edit.pixel(xx, yy) != before.pixel(xx, yy)) ++differing;
  EXPECT_EQ(differing, 0);
  orv::drawCrosshair(win_->session(), st.cursorX, st.cursorY);

  QTest::keyClick(win_.get(), Qt::Key_F4);
  ASSERT_FALSE(st.editCompositeMode);
  EXPECT_EQ(picture(), before);
}

TEST_F(CurveWindowPictureTest, BackAndForwardButtonsNeitherPlaceCornersNorDrag) {
  for (Qt::MouseButton side : {Qt::BackButton, Qt::ForwardButton}) {
    SCOPED_TRACE(side == Qt::BackButton ? "back" : "forward");
    open(1200, 800);
    orv::CurveWindowState& st = s();
    // While a model is built.
    click(Qt::RightButton, col(100), row(3));
    ASSERT_TRUE(st.modelBuildMode);
    move(col(100) + 7, row(3) + 5);
    move(col(100), row(3));
    click(Qt::LeftButton, col(100), row(3));
    ASSERT_EQ(st.modelBoundaryCount, 1);
    move(col(40), row(10));
    click(side, col(40), row(10));
    EXPECT_EQ(st.modelBoundaryCount, 1);
    click(Qt::LeftButton, col(40), row(10));
    EXPECT_EQ(st.modelBoundaryCount, 2);  // the next left click still acts once

    // On a picked element of a finished model.
    st.modelBuildMode = false;
    setModel({150, 30, 200, 300}, {2, 8, 40});
    const int x = (col(150) + col(30)) / 2;
    move(x + 1, row(2));
    move(x, row(2));
    ASSERT_EQ(st.hotBoundary, 0);
    press(side, x, row(2));
    EXPECT_FALSE(st.mouseDragging);
    move(x, row(2) + 30);
    release(side, x, row(2) + 30);
    EXPECT_FALSE(st.mouseDragging);
    EXPECT_FLOAT_EQ(st.modelDepth[0], 2.0f);  // a drag would have moved it
  }
}

}  // namespace
