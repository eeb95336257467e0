// The real curve window with a merged sounding opened through the menu, and
// the mouse on its image: QTest events, the picture compared with a fresh
// repaint of the same state.
#pragma once

#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"
#include "core/interpretation/forward_problem.h"
#include "qt/image_widget.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

inline const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");

class CurveWindowFixture : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    ASSERT_TRUE(orv_test::fixturePresent(kSample));
    win_ = std::make_unique<Tulvakwin>(nullptr, &dialogs_);
    dialogs_.clearRecords();  // the missing settings file was announced
    win_->resize(1200, 800);
    win_->show();
    QApplication::processEvents();
    s().sectionWindowShown = true;
    dialogs_.answer(kSample);
    trigger("OtevtKMT1");
    ASSERT_TRUE(s().compositeReady);
    dialogs_.clearRecords();
    // Moves to where the mouse already is are not delivered: start from a
    // corner no test goes to.
    move(1, 1);
  }
  void TearDown() override {
    win_.reset();
    StartFolderTest::TearDown();
  }

  orv::CurveWindowState& s() { return win_->state(); }
  QWidget* img() { return win_->image(); }
  void trigger(const char* name) {
    QAction* a = win_->action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  int col(double rho) { return orv::columnOfRho(s(), rho); }
  int row(double depth) { return std::min(orv::rowOfAbHalf(s(), depth), s().plotBottom); }

  void press(Qt::MouseButton b, int x, int y, Qt::KeyboardModifiers k = Qt::NoModifier) {
    QTest::mousePress(img(), b, k, QPoint(x, y));
  }
  void release(Qt::MouseButton b, int x, int y, Qt::KeyboardModifiers k = Qt::NoModifier) {
    QTest::mouseRelease(img(), b, k, QPoint(x, y));
  }
  void click(Qt::MouseButton b, int x, int y, Qt::KeyboardModifiers k = Qt::NoModifier) {
    press(b, x, y, k);
    release(b, x, y, k);
  }
  void move(int x, int y) { QTest::mouseMove(img(), QPoint(x, y)); }

  // The road of the issue: right press, moves, left clicks at the corners,
  // the right press that ends it.
  void build(const std::vector<std::pair<double, double>>& corners, double halfSpaceRho) {
    const int x0 = col(corners[0].first);
    const int y0 = row(corners[0].second);
    click(Qt::RightButton, x0, y0);
    for (const auto& [rho, depth] : corners) {
      move(col(rho) + 7, row(depth) + 5);
      move(col(rho), row(depth));
      click(Qt::LeftButton, col(rho), row(depth));
    }
    move(col(halfSpaceRho), row(corners.back().second) + 30);
    click(Qt::RightButton, col(halfSpaceRho), row(corners.back().second) + 30);
  }

  // A model put into the state and drawn, as when a point is loaded.
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

  // What the gestures left on the picture is what a repaint draws.
  void expectCleanPicture() {
    const QImage now = picture();
    orv::repaintCurveWindow(win_->session());
    const QImage fresh = picture();
    ASSERT_EQ(now.size(), fresh.size());
    int differing = 0;
    for (int y = 0; y < now.height(); ++y)
      for (int x = 0; x < now.width(); ++x)
        if (now.pixel(x, y) != fresh.pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
  }

  std::unique_ptr<Tulvakwin> win_;
};
