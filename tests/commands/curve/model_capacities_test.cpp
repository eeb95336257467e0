// The model's 30 layers reached and passed with the mouse: by corners while
// building and by splitting a picked layer. What is kept, what the user is
// told, and that the array after the model's entries is untouched.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "commands/curve/branch_merging_command.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/model_editing.h"
#include "core/curve/grid_index.h"
#include "core/curve/settings_file.h"
#include "core/interpretation/branch_merging.h"
#include "core/interpretation/forward_problem.h"
#include "tests/commands/curve/kmt_test_support.h"

namespace orv {
namespace {

using Strings = std::vector<std::string>;

const std::string Full = "Model má už 30 vrstev - další vrstvu nelze přidat.";

struct Window : testing::TestWindow {
  // One branch over cells 0..30, merged and drawn as after a load.
  Window() {
    CurveWindowState& st = s();
    for (int k = 0; k <= 30; ++k) {
      const int i = st.readingCount++;
      st.readingBranch[i] = 1;
      st.readingAbHalf[i] = gridValueOf(k);
      st.readingMnHalf[i] = 1.0f;
      st.readingRho[i] = static_cast<float>(100 * std::pow(0.5, std::sin(k / 10.0)));
    }
    EXPECT_EQ(deriveReadings(session, ReadingOrigin::InMemory), 1);
    resetInterpretation(session);
    mergeBranches(session, 2);
    EXPECT_TRUE(st.compositeReady);
  }
  int col(double rho) { return columnOfRho(s(), rho); }
  int row(double depth) { return std::min(rowOfAbHalf(s(), depth), s().plotBottom); }
  void mouse(void (*handler)(CurveSession&, const MouseEvent&), MouseButton b, int x, int y) {
    MouseEvent e;
    e.button = b;
    e.x = x;
    e.y = y;
    handler(session, e);
  }
  void click(MouseButton b, int x, int y) {
    mouse(imageMouseDown, b, x, y);
    mouse(imageMouseUp, b, x, y);
  }
  void moveTo(int x, int y) { mouse(imageMouseMove, MouseButton::Left, x, y); }
};

struct Case {
  const char* name;
  bool split;    // else: building by corners
  int given;     // corners clicked, or the interfaces of the model split
  int expected;  // modelBoundaryCount afterwards
  int told;      // how often the full model is reported
};

TEST(ModelCapacities, CornersAndSplitsStopAtThirtyLayers) {
  const Case cases[] = {
      {"29 corners", false, MaxLayers - 1, MaxLayers - 1, 0},
      {"30 corners", false, MaxLayers, MaxLayers - 1, 1},
      {"32 corners", false, MaxLayers + 2, MaxLayers - 1, 3},
      {"split of 29 layers", true, MaxLayers - 2, MaxLayers - 1, 0},
      {"split of 30 layers", true, MaxLayers - 1, MaxLayers - 1, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Window w;
    CurveWindowState& s = w.s();
    float firstDepth = 0;
    if (k.split) {
      s.modelBoundaryCount = k.given;
      for (int i = 0; i <= k.given; ++i) {
        s.modelRho[i] = i == 0 ? 50.0f : (i % 2 ? 400.0f : 200.0f);
        s.modelDepth[i] = 10.0f * std::pow(1.1f, static_cast<float>(i));
      }
      s.modelDepth[k.given] = 1e12f;
      s.modelActive = true;
      repaintCurveWindow(w.session);
      ASSERT_TRUE(computeForward(w.session, false));
      firstDepth = s.modelDepth[0];
      w.moveTo(w.col(50), w.row(3));
      ASSERT_EQ(s.hotLayer, 0);
      w.click(MouseButton::Right, w.col(50), w.row(3));
    } else {
      w.click(MouseButton::Right, w.col(100), w.row(1.2));
      ASSERT_TRUE(s.modelBuildMode);
      for (int c = 0; c < k.given; ++c) {
        const double depth = 1.2 * std::pow(1.2, c);
        const int x = w.col(c % 2 ? 30 : 150);
        w.moveTo(x, w.row(depth));
        w.click(MouseButton::Left, x, w.row(depth));
        if (c == 0) firstDepth = s.modelDepth[0];
      }
      w.moveTo(w.col(60), s.plotBottom);
      w.click(MouseButton::Right, w.col(60), s.plotBottom);
      EXPECT_FALSE(s.modelBuildMode);
      EXPECT_EQ(s.modelDepth[s.modelBoundaryCount], 1e12f);
    }
    EXPECT_EQ(s.modelBoundaryCount, k.expected);
    EXPECT_EQ(w.dialogs.messages(), Strings(k.told, Full));
    // modelDepth follows modelRho in the state: a 31st resistivity would
    // land on the first depth.
    // A split of layer 0 puts its new interface at nine tenths of the old one.
    if (k.split && k.told == 0)
      EXPECT_FLOAT_EQ(s.modelDepth[0], 0.9f * firstDepth);
    else
      EXPECT_EQ(s.modelDepth[0], firstDepth);
    for (int i = 0; i < k.expected; ++i) {
      EXPECT_GT(s.modelRho[i], 0) << i;
      EXPECT_LE(s.modelDepth[i], s.modelDepth[i + 1]) << i;
    }
    EXPECT_TRUE(s.computedCurveValid);
  }
}

}  // namespace
}  // namespace orv
