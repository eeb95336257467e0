#include "commands/curve/model_editing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "base/c_format.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/forward_problem_command.h"
#include "core/curve/grid_index.h"
#include "core/curve/settings_file.h"
#include "core/interpretation/branch_merging.h"
#include "core/interpretation/forward_problem.h"
#include "tests/commands/curve/kmt_test_support.h"

namespace orv {
namespace {

using testing::FakeCanvas;
using testing::RecordingSection;

// Keeps only what was drawn since the picture was last cleared, so that the
// XOR drawings on the picture can be read off the segments.
class PictureCanvas : public FakeCanvas {
 public:
  // Only a fill of the whole picture (a repaint) wipes what was drawn; the
  // small fills behind texts leave the lines alone.
  void fillRect(int l, int t, int r, int b) override {
    FakeCanvas::fillRect(l, t, r, b);
    if (l <= 0 && t <= 0 && r >= width() && b >= height()) segments.clear();
  }
};

using SegmentKey = std::tuple<int, int, int, int, ui::Colour, int>;

// XOR segments drawn an odd number of times: what XOR drawing left on the
// picture.
std::map<SegmentKey, int> xorResidue(const FakeCanvas& canvas) {
  std::map<SegmentKey, int> counts;
  for (const auto& g : canvas.segments) {
    if (g.mode != ui::PenMode::Xor) continue;
    // A segment and its reverse cover the same pixels.
    SegmentKey k = g.x0 < g.x1 || (g.x0 == g.x1 && g.y0 <= g.y1)
                       ? SegmentKey{g.x0, g.y0, g.x1, g.y1, g.colour, g.width}
                       : SegmentKey{g.x1, g.y1, g.x0, g.y0, g.colour, g.width};
    ++counts[k];
  }
  std::map<SegmentKey, int> odd;
  for (const auto& [k, n] : counts)
    if (n % 2) odd[k] = 1;
  return odd;
}

struct Window {
  ZeroedBlock<CurveWindowState> state;
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  PictureCanvas canvas;
  RecordingSection section;
  CurveSession c{*state, dialogs, canvas, chrome, section};

  Window() {
    setInitialCurveState(*state);
    applyDefaultSettings(*state);
    finishCurveStateConstruction(*state);
    s().splineAllCurves = false;
  }
  CurveWindowState& s() { return *state; }

  // One branch over cells 0..24 of a curve falling from 100 to 20 and
  // rising to 300 ohm.m, merged and drawn as after a load.
  void load() {
    CurveWindowState& st = s();
    for (int k = 0; k <= 24; ++k) {
      const int i = st.readingCount++;
      st.readingBranch[i] = 1;
      st.readingAbHalf[i] = gridValueOf(k);
      st.readingMnHalf[i] = 1.0f;
      const double t = k / 24.0;
      st.readingRho[i] =
          static_cast<float>(100 * std::pow(0.2, std::sin(t * 3.1)) * (1 + 2 * t * t));
    }
    ASSERT_EQ(deriveReadings(c, ReadingOrigin::InMemory), 1);
    resetInterpretation(c);
    mergeBranches(c, 2);
    ASSERT_TRUE(st.compositeReady);
    ASSERT_GT(st.pixelsPerDecadeRho, 0);
    ASSERT_GT(st.pixelsPerDecadeAb, 0);
  }

  // Pixel of a resistivity and of a model depth, as the model is drawn.
  int col(double rho) { return columnOfRho(s(), rho); }
  int row(double depth) { return std::min(rowOfAbHalf(s(), depth), s().plotBottom); }

  MouseEvent at(MouseButton b, int x, int y) {
    MouseEvent e;
    e.button = b;
    e.x = x;
    e.y = y;
    return e;
  }
  void press(MouseButton b, int x, int y, bool ctrl = false, bool shift = false) {
    MouseEvent e = at(b, x, y);
    e.ctrl = ctrl;
    e.shift = shift;
    e.leftHeld = b == MouseButton::Left;
    e.rightHeld = b == MouseButton::Right;
    e.middleHeld = b == MouseButton::Middle;
    imageMouseDown(c, e);
  }
  void move(int x, int y, bool leftHeld = false) {
    MouseEvent e = at(MouseButton::Left, x, y);
    e.leftHeld = leftHeld;
    imageMouseMove(c, e);
  }
  void release(MouseButton b, int x, int y) { imageMouseUp(c, at(b, x, y)); }
  void click(MouseButton b, int x, int y, bool ctrl = false, bool shift = false) {
    press(b, x, y, ctrl, shift);
    release(b, x, y);
  }

  // A finished model made with the mouse: corners at (rho_i, depth_i), the
  // last resistivity the half-space's.
  void build(const std::vector<std::pair<double, double>>& corners, double halfSpaceRho) {
    const int x0 = col(corners[0].first);
    const int y0 = row(corners[0].second);
    press(MouseButton::Right, x0, y0);
    release(MouseButton::Right, x0, y0);
    for (const auto& [rho, depth] : corners) {
      move(col(rho), row(depth));
      click(MouseButton::Left, col(rho), row(depth));
    }
    const int xh = col(halfSpaceRho);
    const int yh = row(corners.back().second) + 20;
    move(xh, yh);
    click(MouseButton::Right, xh, yh);
  }

  // Puts a finished model straight into the state and onto the picture.
  void setModel(const std::vector<float>& rho, const std::vector<float>& depth) {
    CurveWindowState& st = s();
    st.modelBoundaryCount = static_cast<int>(rho.size()) - 1;
    for (size_t i = 0; i < rho.size(); ++i) st.modelRho[i] = rho[i];
    for (size_t i = 0; i < depth.size(); ++i) st.modelDepth[i] = depth[i];
    st.modelDepth[st.modelBoundaryCount] = 1e12f;
    st.modelActive = true;
    repaintCurveWindow(c);
    ASSERT_TRUE(computeForward(c, false));
  }

  // The XOR picture equals the one a fresh repaint of the same state leaves.
  void expectNoResidue() {
    const auto before = xorResidue(canvas);
    repaintCurveWindow(c);
    EXPECT_EQ(before, xorResidue(canvas));
  }
  // While building, the crosshair is on the picture too.
  void expectNoResidueDuringBuild() {
    const auto before = xorResidue(canvas);
    repaintCurveWindow(c);
    drawCrosshair(c, s().cursorX, s().cursorY);
    EXPECT_EQ(before, xorResidue(canvas));
  }
  int segmentsOfColour(ui::Colour colour) {
    int n = 0;
    for (const auto& g : canvas.segments)
      if (g.colour == colour && g.mode == ui::PenMode::Xor) ++n;
    return n;
  }
};

// --- values under the mouse -------------------------------------------------------

TEST(ModelMouseValues, ColumnsAndRowsMapToValuesOfTheView) {
  Window w;
  CurveWindowState& s = w.s();
  s.marginLeft = 40;
  s.marginBottom = 30;
  s.pixelsPerDecadeRho = 200;
  s.pixelsPerDecadeAb = 100;
  s.logRhoMin = 0;
  s.logAbMin = 0;
  float v = 0;
  ASSERT_TRUE(rhoAtColumn(s, 240, &v));
  EXPECT_FLOAT_EQ(v, 10.0f);
  ASSERT_TRUE(rhoAtColumn(s, 40, &v));
  EXPECT_FLOAT_EQ(v, 1.0f);
  ASSERT_TRUE(depthAtRow(s, 230, &v));
  EXPECT_FLOAT_EQ(v, 100.0f);
}

struct BadView {
  float ppdRho, ppdAb;
  int x, y;
};

class ModelMouseRefusals : public ::testing::TestWithParam<BadView> {};

TEST_P(ModelMouseRefusals, NoValueThatIsNotAPositiveFiniteFloat) {
  Window w;
  CurveWindowState& s = w.s();
  s.marginLeft = s.marginBottom = 0;
  s.logRhoMin = s.logAbMin = 0;
  s.pixelsPerDecadeRho = GetParam().ppdRho;
  s.pixelsPerDecadeAb = GetParam().ppdAb;
  float v = 123.0f;
  EXPECT_FALSE(rhoAtColumn(s, GetParam().x, &v));
  EXPECT_FALSE(depthAtRow(s, GetParam().y, &v));
  EXPECT_EQ(v, 123.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Views, ModelMouseRefusals,
    ::testing::Values(BadView{0, 0, 10, 10}, BadView{-5, -5, 10, 10}, BadView{NAN, NAN, 10, 10},
                      BadView{1, 1, 100000, 100000},     // beyond the float range
                      BadView{1, 1, -100000, -100000}),  // below it: would be 0
    [](const auto& info) { return std::to_string(info.index); });

// --- picking ------------------------------------------------------------------------

struct PickCase {
  const char* name;
  int dx, dy;  // offset from the anchor
  int anchor;  // 0: middle of interface 0, 1: middle of layer 1, 2: corner of interface 0 / layer 1
  int boundary, layer;
};

class ModelPicking : public ::testing::TestWithParam<PickCase> {};

TEST_P(ModelPicking, NearestElementWithinTheTolerance) {
  Window w;
  w.load();
  w.setModel({20, 200, 40}, {5, 40});
  const PickCase& p = GetParam();
  int x = 0, y = 0;
  if (p.anchor == 0) {
    x = (w.col(20) + w.col(200)) / 2;
    y = w.row(5);
  } else if (p.anchor == 1) {
    x = w.col(200);
    y = (w.row(5) + w.row(40)) / 2;
  } else {
    x = w.col(200);
    y = w.row(5);
  }
  const ModelPick pick = pickModelElement(w.s(), x + p.dx, y + p.dy);
  EXPECT_EQ(pick.boundary, p.boundary);
  EXPECT_EQ(pick.layer, p.layer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModelPicking,
    ::testing::Values(PickCase{"OnInterface", 0, 0, 0, 0, -1},
                      PickCase{"NineBelowInterface", 0, 9, 0, 0, -1},
                      PickCase{"TenBelowIsOutOfRange", 0, 10, 0, -1, -1},
                      PickCase{"OnLayer", 0, 0, 1, -1, 1},
                      PickCase{"NineRightOfLayer", 9, 0, 1, -1, 1},
                      PickCase{"TenLeftIsOutOfRange", -10, 0, 1, -1, -1},
                      // Inside the corner both are near: the nearer wins.
                      PickCase{"NearerToTheLayer", -2, 6, 2, -1, 1},
                      PickCase{"NearerToTheInterface", -6, 2, 2, 0, -1},
                      // Equally near: the interface.
                      PickCase{"TieGoesToTheInterface", -4, 4, 2, 0, -1},
                      // On the layer's column the interface is not between its ends.
                      PickCase{"InterfaceEndsAreNotOnIt", 0, -3, 2, -1, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModelPicking, TwoInterfacesEquallyNearGiveTheUpperOne) {
  Window w;
  w.load();
  // Interfaces 0 and 1 cover the same columns, eight rows apart.
  w.setModel({20, 100, 20}, {5, 5});
  CurveWindowState& s = w.s();
  const int y0 = w.row(5);
  float d1 = 5;
  while (w.row(d1) < y0 + 8) d1 *= 1.001f;
  ASSERT_EQ(w.row(d1), y0 + 8);
  s.modelDepth[1] = d1;
  const int x = (w.col(20) + w.col(100)) / 2;
  EXPECT_EQ(pickModelElement(s, x, y0 + 4).boundary, 0);
  EXPECT_EQ(pickModelElement(s, x, y0 + 5).boundary, 1);
  EXPECT_EQ(pickModelElement(s, x, y0 + 3).boundary, 0);
}

TEST(ModelPicking, NothingWithoutInterfacesOrWithACorruptCount) {
  Window w;
  w.load();
  w.setModel({20, 200}, {5});
  CurveWindowState& s = w.s();
  for (int n : {0, -1, MaxLayers, 1000}) {
    s.modelBoundaryCount = n;
    const ModelPick pick = pickModelElement(s, w.col(20), w.row(2));
    EXPECT_EQ(pick.boundary, -1) << n;
    EXPECT_EQ(pick.layer, -1) << n;
  }
}

// --- the value rule of a drag ---------------------------------------------------------

TEST(ModelDragValue, InterfacesCannotCross) {
  Window w;
  w.load();
  w.setModel({20, 200, 40, 100}, {5, 20, 60});
  CurveWindowState& s = w.s();
  s.hotBoundary = 1;
  s.hotLayer = -1;
  ASSERT_TRUE(applyDragValue(s, 0, w.row(60) + 30));  // below interface 2
  EXPECT_EQ(s.modelDepth[1], 60.0f);
  ASSERT_TRUE(applyDragValue(s, 0, w.row(5) - 10));  // above interface 0
  EXPECT_EQ(s.modelDepth[1], 5.0f);
  ASSERT_TRUE(applyDragValue(s, 0, w.row(10)));
  float expected = 0;
  ASSERT_TRUE(depthAtRow(s, w.row(10), &expected));
  EXPECT_EQ(s.modelDepth[1], expected);
  EXPECT_NEAR(s.modelDepth[1], 10.0, 1.5);
}

TEST(ModelDragValue, LayerTakesTheResistivityOfTheColumnWithinThePlot) {
  Window w;
  w.load();
  w.setModel({20, 200, 40}, {5, 40});
  CurveWindowState& s = w.s();
  s.hotBoundary = -1;
  s.hotLayer = 2;
  const int x = w.col(70);
  ASSERT_TRUE(applyDragValue(s, x, 0));
  float expected = 0;
  ASSERT_TRUE(rhoAtColumn(s, x, &expected));
  EXPECT_EQ(s.modelRho[2], expected);
  // Beyond the right edge of the plot the layer stays on the edge.
  ASSERT_TRUE(applyDragValue(s, s.imageWidth + 500, 0));
  ASSERT_TRUE(rhoAtColumn(s, s.plotRight, &expected));
  EXPECT_EQ(s.modelRho[2], expected);
}

TEST(ModelDragValue, NothingPickedChangesNothing) {
  Window w;
  w.load();
  w.setModel({20, 200, 40}, {5, 40});
  CurveWindowState& s = w.s();
  for (auto [b, l] : {std::pair{-1, -1}, std::pair{2, -1}, std::pair{-1, 3}}) {
    s.hotBoundary = b;
    s.hotLayer = l;
    EXPECT_FALSE(applyDragValue(s, 100, 100));
  }
  EXPECT_EQ(s.modelRho[0], 20.0f);
  EXPECT_EQ(s.modelDepth[0], 5.0f);
}

// --- split and delete ------------------------------------------------------------------

struct SplitCase {
  const char* name;
  int element;
  float depth;  // the new entry's depth (< 0: halfway to the plot bottom)
  float rho;
};

class ModelSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ModelSplit, NewEntryAndTheOthersOnePlaceDown) {
  Window w;
  w.load();
  w.setModel({50, 200, 10}, {10, 30});
  CurveWindowState& s = w.s();
  s.rhoFixed[1] = 1;
  s.depthFixed[1] = 1;
  s.thicknessFixed[0] = 1;
  const int e = GetParam().element;
  const std::vector<float> oldRho(s.modelRho, s.modelRho + 3);
  const std::vector<float> oldDepth(s.modelDepth, s.modelDepth + 3);
  ASSERT_TRUE(splitModelElementCore(s, e));
  EXPECT_EQ(s.modelBoundaryCount, 3);
  float depth = GetParam().depth;
  if (depth < 0) {
    float bottom = 0;
    ASSERT_TRUE(depthAtRow(s, s.plotBottom, &bottom));
    depth = 0.5f * (30.0f + bottom);
  }
  EXPECT_FLOAT_EQ(s.modelDepth[e], depth);
  EXPECT_FLOAT_EQ(s.modelRho[e], GetParam().rho);
  EXPECT_EQ(s.rhoFixed[e] + s.depthFixed[e] + s.thicknessFixed[e], 0);
  for (int i = 0; i < 3; ++i) {
    const int to = i < e ? i : i + 1;
    EXPECT_EQ(s.modelRho[to], oldRho[i]) << i;
    if (i < 2) {
      EXPECT_EQ(s.modelDepth[to], oldDepth[i]) << i;
    }
  }
  EXPECT_EQ(s.rhoFixed[1 < e ? 1 : 2], 1);
  EXPECT_EQ(s.depthFixed[1 < e ? 1 : 2], 1);
  EXPECT_EQ(s.thicknessFixed[0 < e ? 0 : 1], 1);
}

INSTANTIATE_TEST_SUITE_P(Elements, ModelSplit,
                         ::testing::Values(SplitCase{"TopLayer", 0, 9.0f, 50.0f},
                                           SplitCase{"Middle", 1, 20.0f, 125.0f},
                                           SplitCase{"HalfSpace", 2, -1.0f, 105.0f}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModelSplit, BelowAPlotThatEndsAboveTheLastInterfaceStaysInOrder) {
  Window w;
  w.load();
  w.setModel({50, 200}, {1e6f});
  CurveWindowState& s = w.s();
  ASSERT_TRUE(splitModelElementCore(s, 1));
  EXPECT_GT(s.modelDepth[1], s.modelDepth[0]);
}

// The new depths are the float32 nearest to 0.9 × the old depth and to the
// mean with the plot bottom's depth, not products of rounded factors.
TEST(ModelSplit, NewDepthsAreTheNearestFloatsOfTheirValues) {
  Window w;
  w.load();
  w.setModel({50, 200, 10}, {17, 30});
  CurveWindowState& s = w.s();
  ASSERT_TRUE(splitModelElementCore(s, 0));
  EXPECT_EQ(s.modelDepth[0], static_cast<float>(0.9 * 17.0));
  EXPECT_EQ(s.modelDepth[0], 15.3f);

  ASSERT_TRUE(splitModelElementCore(s, 3));
  const double bottom =
      std::pow(10.0, (s.plotBottom - s.marginBottom) / static_cast<double>(s.pixelsPerDecadeAb) +
                         static_cast<double>(s.logAbMin));
  EXPECT_EQ(s.modelDepth[3], static_cast<float>((30.0 + bottom) / 2));
}

TEST(ModelSplit, RefusedAtCapacityAndOutsideTheModel) {
  Window w;
  w.load();
  w.setModel({50, 200, 10}, {10, 30});
  CurveWindowState& s = w.s();
  EXPECT_FALSE(splitModelElementCore(s, -1));
  EXPECT_FALSE(splitModelElementCore(s, 3));
  s.modelBoundaryCount = MaxLayers - 1;
  for (int i = 0; i < MaxLayers; ++i) {
    s.modelRho[i] = 10.0f + i;
    s.modelDepth[i] = 1.0f + i;
  }
  EXPECT_FALSE(splitModelElementCore(s, 5));
  EXPECT_EQ(s.modelBoundaryCount, MaxLayers - 1);
  EXPECT_EQ(s.modelRho[5], 15.0f);
  s.modelBoundaryCount = MaxLayers - 2;
  EXPECT_TRUE(splitModelElementCore(s, MaxLayers - 2));
  EXPECT_EQ(s.modelBoundaryCount, MaxLayers - 1);
}

struct DeleteCase {
  const char* name;
  int element;
  std::vector<float> rho;    // after
  std::vector<float> depth;  // after, without the half-space
  int fixedAfter;            // where the fixed layer 2 stands afterwards
};

class ModelDelete : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(ModelDelete, TheEntryBelowTakesThePlace) {
  Window w;
  w.load();
  w.setModel({50, 200, 10, 80}, {10, 30, 60});
  CurveWindowState& s = w.s();
  s.rhoFixed[2] = 1;
  ASSERT_TRUE(deleteModelElementCore(s, GetParam().element));
  ASSERT_EQ(s.modelBoundaryCount, 2);
  for (int i = 0; i <= 2; ++i) EXPECT_EQ(s.modelRho[i], GetParam().rho[i]) << i;
  for (int i = 0; i < 2; ++i) EXPECT_EQ(s.modelDepth[i], GetParam().depth[i]) << i;
  EXPECT_EQ(s.modelDepth[2], 1e12f);
  // The fix mark travels with its layer.
  EXPECT_EQ(s.rhoFixed[GetParam().fixedAfter], 1);
  EXPECT_EQ(s.rhoFixed[0] + s.rhoFixed[1] + s.rhoFixed[2], 1);
}

INSTANTIATE_TEST_SUITE_P(Elements, ModelDelete,
                         ::testing::Values(DeleteCase{"TopLayer", 0, {200, 10, 80}, {30, 60}, 1},
                                           DeleteCase{
                                               "SecondInterface", 1, {50, 10, 80}, {10, 60}, 1},
                                           DeleteCase{"HalfSpace", 3, {50, 200, 10}, {10, 30}, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModelDelete, RefusedWithoutInterfacesOrOutsideTheModel) {
  Window w;
  w.load();
  w.setModel({50, 200}, {10});
  CurveWindowState& s = w.s();
  EXPECT_FALSE(deleteModelElementCore(s, 2));
  EXPECT_FALSE(deleteModelElementCore(s, -1));
  s.modelBoundaryCount = 0;
  EXPECT_FALSE(deleteModelElementCore(s, 0));
  s.modelBoundaryCount = MaxLayers;
  EXPECT_FALSE(deleteModelElementCore(s, 0));
}

// --- clipboard --------------------------------------------------------------------------

TEST(ModelClipboard, CopyThenPasteGivesTheModelWithItsMarks) {
  Window w;
  w.load();
  w.setModel({50, 200, 10}, {10, 30});
  CurveWindowState& s = w.s();
  s.rhoFixed[1] = 1;
  s.thicknessFixed[0] = 1;
  s.depthFixed[1] = 1;
  copyModelCore(s);
  s.modelBoundaryCount = 4;
  for (int i = 0; i < 5; ++i) {
    s.modelRho[i] = 1;
    s.modelDepth[i] = 1;
    s.rhoFixed[i] = s.thicknessFixed[i] = s.depthFixed[i] = 1;
  }
  pasteModelCore(s);
  EXPECT_EQ(s.modelBoundaryCount, 2);
  EXPECT_EQ(s.modelRho[1], 200.0f);
  EXPECT_EQ(s.modelDepth[1], 30.0f);
  EXPECT_EQ(s.rhoFixed[1], 1);
  EXPECT_EQ(s.rhoFixed[0], 0);
  EXPECT_EQ(s.thicknessFixed[0], 1);
  EXPECT_EQ(s.depthFixed[1], 1);
  // Marks beyond the pasted model do not linger.
  EXPECT_EQ(s.rhoFixed[3], 0);
}

TEST(ModelClipboard, ACorruptStoredCountPastesNoModel) {
  Window w;
  CurveWindowState& s = w.s();
  s.clipboardBoundaryCount = 5000;
  pasteModelCore(s);
  EXPECT_EQ(s.modelBoundaryCount, 0);
}

// --- the mouse road ---------------------------------------------------------------------

TEST(ModelBuilding, ThreeCornersAndTheEndGiveFourLayers) {
  Window w;
  w.load();
  w.build({{80, 3}, {25, 12}, {150, 40}}, 60);
  CurveWindowState& s = w.s();
  EXPECT_FALSE(s.modelBuildMode);
  ASSERT_EQ(s.modelBoundaryCount, 3);
  EXPECT_EQ(s.modelDepth[3], 1e12f);
  EXPECT_NEAR(s.modelRho[0], 80, 2);
  EXPECT_NEAR(s.modelDepth[0], 3, 0.2);
  EXPECT_NEAR(s.modelRho[2], 150, 4);
  EXPECT_NEAR(s.modelDepth[2], 40, 3);
  EXPECT_NEAR(s.modelRho[3], 60, 2);  // the last placed resistivity is the half-space
  EXPECT_TRUE(s.modelActive);
  EXPECT_TRUE(s.computedCurveValid);
  EXPECT_TRUE(w.chrome.optimiseVisible);
  EXPECT_TRUE(w.chrome.anyFocus);
  EXPECT_EQ(w.chrome.focused, ui::Button::Optimise);
  EXPECT_TRUE(w.chrome.transferVisible);
  EXPECT_GT(s.modelFitError, 0);
  EXPECT_EQ(s.cursorX, -1);
  EXPECT_TRUE(w.dialogs.messages().empty());
  w.expectNoResidue();
}

TEST(ModelBuilding, CornersFollowTheMouseAndNeverRiseAboveThePreviousOne) {
  Window w;
  w.load();
  CurveWindowState& s = w.s();
  w.click(MouseButton::Right, w.col(50), w.row(5));
  ASSERT_TRUE(s.modelBuildMode);
  w.move(w.col(50), w.row(5));
  w.click(MouseButton::Left, w.col(50), w.row(5));
  w.move(w.col(200), w.row(2));  // above the fixed corner
  EXPECT_EQ(s.modelBoundaryCount, 1);
  EXPECT_EQ(s.modelDepth[1], s.modelDepth[0]);
  EXPECT_NEAR(s.modelRho[1], 200, 5);
  // The table follows the corner.
  EXPECT_EQ(w.canvas.texts[w.canvas.texts.size() - 2],
            cformat("%.1f     ", static_cast<double>(s.modelRho[1])));
  w.expectNoResidueDuringBuild();
}

TEST(ModelBuilding, MiddleClickTakesBackTheLastCornerAndNothingAtZero) {
  Window w;
  w.load();
  CurveWindowState& s = w.s();
  w.click(MouseButton::Right, w.col(50), w.row(5));
  w.move(w.col(50), w.row(5));
  w.click(MouseButton::Middle, w.col(50), w.row(5));
  EXPECT_EQ(s.modelBoundaryCount, 0);
  EXPECT_TRUE(s.modelBuildMode);
  w.click(MouseButton::Left, w.col(50), w.row(5));
  w.move(w.col(100), w.row(10));
  w.click(MouseButton::Left, w.col(100), w.row(10));
  w.move(w.col(30), w.row(20));
  ASSERT_EQ(s.modelBoundaryCount, 2);
  w.click(MouseButton::Middle, w.col(30), w.row(20));
  EXPECT_EQ(s.modelBoundaryCount, 1);
  w.expectNoResidueDuringBuild();
  w.click(MouseButton::Middle, w.col(30), w.row(20));
  EXPECT_EQ(s.modelBoundaryCount, 0);
  w.click(MouseButton::Middle, w.col(30), w.row(20));
  EXPECT_EQ(s.modelBoundaryCount, 0);
  w.expectNoResidueDuringBuild();
}

TEST(ModelBuilding, ACornerIsFixedOnlyAfterTheMouseHasPlacedIt) {
  Window w;
  w.load();
  CurveWindowState& s = w.s();
  s.modelDepth[0] = 7;    // left over from an earlier model
  toggleModelBuild(w.c);  // F6
  w.click(MouseButton::Left, w.col(50), w.row(5));
  EXPECT_EQ(s.modelBoundaryCount, 0);
  w.move(w.col(50), w.row(5));
  w.click(MouseButton::Left, w.col(50), w.row(5));
  EXPECT_EQ(s.modelBoundaryCount, 1);
}

TEST(ModelBuilding, AFullModelTakesNoMoreCorners) {
  Window w;
  w.load();
  CurveWindowState& s = w.s();
  w.click(MouseButton::Right, w.col(50), w.row(2));
  w.move(w.col(50), w.row(2));
  for (int i = 0; i < MaxLayers + 3; ++i) {
    w.move(w.col(50 + (i % 2) * 40), w.row(2) + i);
    w.click(MouseButton::Left, w.col(50 + (i % 2) * 40), w.row(2) + i);
  }
  EXPECT_EQ(s.modelBoundaryCount, MaxLayers - 1);
  w.expectNoResidueDuringBuild();
  w.click(MouseButton::Right, w.col(50), w.row(40));
  EXPECT_EQ(s.modelBoundaryCount, MaxLayers - 1);
  EXPECT_EQ(s.modelDepth[MaxLayers - 1], 1e12f);
}

TEST(ModelBuilding, StartWithoutCompositeIsRefusedWithItsMessage) {
  Window w;
  w.load();
  w.setModel({20, 200}, {5});
  CurveWindowState& s = w.s();
  s.compositeReady = false;
  w.click(MouseButton::Right, w.col(500), w.row(60));
  ASSERT_EQ(w.dialogs.messages().size(), 1u);
  EXPECT_EQ(w.dialogs.messages()[0],
            "Nejprve si snes jednotlivé větve stiskem kláves 1 až číslo poslední použité větve "
            "podle toho na kterou větev chcete ostatní snést!");
  EXPECT_FALSE(s.modelBuildMode);
  // The model on the picture keeps its values and stays erasable.
  EXPECT_EQ(s.modelDepth[0], 5.0f);
  EXPECT_EQ(s.modelBoundaryCount, 1);
}

TEST(ModelBuilding, StalePickingOfAnEarlierSoundingDoesNotBlockTheStart) {
  Window w;
  w.load();
  CurveWindowState& s = w.s();
  s.hotLayer = 2;  // left by the sounding loaded before
  s.previousHotLayer = 2;
  w.click(MouseButton::Right, w.col(50), w.row(5));
  EXPECT_TRUE(s.modelBuildMode);
  EXPECT_EQ(s.hotLayer, -1);
  EXPECT_EQ(s.previousHotLayer, -2);
}

TEST(ModelBuilding, StartAndEndAlsoLeaveCompositeEditing) {
  Window w;
  w.load();
  CurveWindowState& s = w.s();
  s.editCompositeMode = true;
  toggleModelBuild(w.c);
  EXPECT_FALSE(s.editCompositeMode);
  EXPECT_TRUE(s.modelBuildMode);
  EXPECT_FALSE(w.chrome.optimiseVisible);
  EXPECT_FALSE(w.chrome.transferVisible);
}

TEST(ModelBuilding, FromTheSectionTheTransferButtonStaysHiddenAndTheModelGoesBack) {
  Window w;
  w.load();
  w.s().fromSection = true;
  w.build({{80, 3}, {25, 12}}, 60);
  EXPECT_TRUE(w.chrome.optimiseVisible);
  EXPECT_FALSE(w.chrome.transferVisible);
  EXPECT_EQ(w.section.stores, 1);
}

TEST(ModelPickingMoves, PickedElementGetsTheActiveWidthAndLeavesNoResidue) {
  Window w;
  w.load();
  w.build({{80, 3}, {25, 12}, {150, 40}}, 60);
  CurveWindowState& s = w.s();
  const int layer1x = w.col(s.modelRho[1]);
  const int layer1y = (w.row(s.modelDepth[0]) + w.row(s.modelDepth[1])) / 2;
  w.move(layer1x + 3, layer1y);
  EXPECT_EQ(s.hotLayer, 1);
  EXPECT_EQ(s.hotBoundary, -1);
  EXPECT_EQ(w.chrome.cursor, ui::Cursor::SizeHorizontal);
  bool active = false;
  for (const auto& [k, n] : xorResidue(w.canvas))
    if (std::get<5>(k) == s.lineWidthActiveModel && std::get<0>(k) == layer1x) active = true;
  EXPECT_TRUE(active);
  w.expectNoResidue();

  const int ifaceX = (w.col(s.modelRho[1]) + w.col(s.modelRho[2])) / 2;
  w.move(ifaceX, w.row(s.modelDepth[1]) + 2);
  EXPECT_EQ(s.hotBoundary, 1);
  EXPECT_EQ(w.chrome.cursor, ui::Cursor::SizeVertical);
  w.move(ifaceX, w.row(s.modelDepth[1]) + 3);  // same element
  w.move(5, 5);                                // nothing
  EXPECT_EQ(s.hotBoundary, -1);
  EXPECT_EQ(s.hotLayer, -1);
  EXPECT_EQ(w.chrome.cursor, ui::Cursor::Arrow);
  w.move(layer1x, layer1y);
  w.move(ifaceX, w.row(s.modelDepth[1]));
  w.expectNoResidue();
}

// A point loaded into the window while the mouse rested on a model element
// is drawn without the active width; the picking must not take that element
// for the one already drawn active.
TEST(ModelPickingMoves, AModelLoadedUnderTheRestingMouseLeavesNoResidue) {
  Window w;
  w.load();
  w.setModel({80, 25, 150, 60}, {3, 12, 40});
  CurveWindowState& s = w.s();
  auto layer1 = [&] {
    return std::pair{w.col(s.modelRho[1]), (w.row(s.modelDepth[0]) + w.row(s.modelDepth[1])) / 2};
  };
  w.move(layer1().first, layer1().second);
  ASSERT_EQ(s.hotLayer, 1);
  // The section copies a point in: readings derived again, model drawn afresh.
  s.fromSection = true;
  ASSERT_EQ(deriveReadings(w.c, ReadingOrigin::InMemory), 1);
  s.modelActive = true;
  repaintCurveWindow(w.c);
  w.move(layer1().first + 1, layer1().second);
  EXPECT_EQ(s.hotLayer, 1);
  w.expectNoResidue();
  w.move(5, 5);
  EXPECT_EQ(s.hotLayer, -1);
  w.expectNoResidue();
}

TEST(ModelDrag, InterfaceDraggedBelowTheNextStopsThereAndTheCurveFollows) {
  Window w;
  w.load();
  w.build({{80, 3}, {25, 12}, {150, 40}}, 60);
  CurveWindowState& s = w.s();
  const int x = (w.col(s.modelRho[0]) + w.col(s.modelRho[1])) / 2;
  w.move(x, w.row(s.modelDepth[0]));
  ASSERT_EQ(s.hotBoundary, 0);
  w.press(MouseButton::Left, x, w.row(s.modelDepth[0]));
  ASSERT_TRUE(s.mouseDragging);
  const float next = s.modelDepth[1];
  std::vector<double> misfits;
  for (int y = w.row(s.modelDepth[0]) + 5; y < w.row(next) + 60; y += 15) {
    w.move(x, y, true);
    misfits.push_back(s.modelFitError);
    EXPECT_LE(s.modelDepth[0], next);
  }
  EXPECT_EQ(s.modelDepth[0], next);
  EXPECT_EQ(s.modelDepth[1], next);
  EXPECT_GT(std::set<double>(misfits.begin(), misfits.end()).size(), 2u);
  w.expectNoResidue();
  w.release(MouseButton::Left, x, w.row(next) + 60);
  EXPECT_FALSE(s.mouseDragging);
  EXPECT_EQ(s.modelDepth[0], next);
  EXPECT_EQ(w.section.stores, 0);
  w.expectNoResidue();
}

TEST(ModelDrag, LayerDragChangesItsResistivityAndTheComputedCurveOnEveryMove) {
  Window w;
  w.load();
  w.build({{80, 3}, {25, 12}, {150, 40}}, 60);
  CurveWindowState& s = w.s();
  s.fromSection = true;
  const int y = (w.row(s.modelDepth[1]) + w.row(s.modelDepth[2])) / 2;
  int x = w.col(s.modelRho[2]);
  w.move(x, y);
  ASSERT_EQ(s.hotLayer, 2);
  w.press(MouseButton::Left, x, y);
  for (int step = 0; step < 5; ++step) {
    const float rhoBefore = s.modelRho[2];
    const float curveBefore = s.computedRho[s.gridMaxIndex];
    x -= 20;
    w.move(x, y, true);
    EXPECT_LT(s.modelRho[2], rhoBefore) << step;
    EXPECT_NE(s.computedRho[s.gridMaxIndex], curveBefore) << step;
  }
  w.move(x, y, true);  // the same place: nothing to do
  EXPECT_EQ(w.section.stores, 0);
  w.release(MouseButton::Left, x, y);
  EXPECT_EQ(w.section.stores, 1);
  float expected = 0;
  ASSERT_TRUE(rhoAtColumn(s, x, &expected));
  EXPECT_EQ(s.modelRho[2], expected);
  w.expectNoResidue();
}

TEST(ModelDrag, AMoveWithNoButtonAfterALostReleaseEndsTheDrag) {
  Window w;
  w.load();
  w.build({{80, 3}, {25, 12}}, 60);
  CurveWindowState& s = w.s();
  const int y = (w.row(s.modelDepth[0]) + w.row(s.modelDepth[1])) / 2;
  const int x = w.col(s.modelRho[1]);
  w.move(x, y);
  w.press(MouseButton::Left, x, y);
  w.move(x + 30, y, true);
  const size_t textsBefore = w.canvas.texts.size();
  w.move(x + 40, y, false);  // the release went to a message box
  EXPECT_FALSE(s.mouseDragging);
  float expected = 0;
  ASSERT_TRUE(rhoAtColumn(s, x + 40, &expected));
  EXPECT_EQ(s.modelRho[1], expected);
  // The model table shows the value the model now has.
  const std::vector<std::string> written(w.canvas.texts.begin() + textsBefore,
                                         w.canvas.texts.end());
  EXPECT_NE(std::find(written.begin(), written.end(),
                      cformat("%.1f     ", static_cast<double>(expected))),
            written.end());
  w.expectNoResidue();
}

TEST(ModelDrag, AFailingForwardComputationIsReportedAndTheModelStaysEdited) {
  Window w;
  w.load();
  w.build({{80, 3}, {25, 12}}, 60);
  CurveWindowState& s = w.s();
  const int y = (w.row(s.modelDepth[0]) + w.row(s.modelDepth[1])) / 2;
  const int x = w.col(s.modelRho[1]);
  w.move(x, y);
  w.press(MouseButton::Left, x, y);
  s.gridMaxIndex = GridCells + 5;  // a grid the computation refuses
  w.move(x + 30, y, true);
  ASSERT_EQ(w.dialogs.messages().size(), 1u);
  EXPECT_EQ(w.dialogs.messages()[0], "Nepodařila se přímá úloha");
  float expected = 0;
  ASSERT_TRUE(rhoAtColumn(s, x + 30, &expected));
  EXPECT_EQ(s.modelRho[1], expected);
  EXPECT_FALSE(s.computedCurveValid);
}

TEST(ModelFixMarks, CtrlLeftTwiceRestoresTheMarkAndTheFixedColourShowsBetween) {
  Window w;
  w.load();
  w.build({{80, 3}, {25, 12}}, 60);
  CurveWindowState& s = w.s();
  const int y = (w.row(s.modelDepth[0]) + w.row(s.modelDepth[1])) / 2;
  const int x = w.col(s.modelRho[1]);
  w.move(x, y);
  ASSERT_EQ(s.hotLayer, 1);
  const auto before = xorResidue(w.canvas);
  EXPECT_EQ(w.segmentsOfColour(s.colourModelFixed), 0);
  w.click(MouseButton::Left, x, y, true);
  EXPECT_EQ(s.rhoFixed[1], 1);
  EXPECT_FALSE(s.mouseDragging);
  EXPECT_EQ(w.segmentsOfColour(s.colourModelFixed), 1);
  w.click(MouseButton::Left, x, y, true);
  EXPECT_EQ(s.rhoFixed[1], 0);
  EXPECT_EQ(before, xorResidue(w.canvas));

  const int ix = (w.col(s.modelRho[0]) + w.col(s.modelRho[1])) / 2;
  w.move(ix, w.row(s.modelDepth[0]));
  ASSERT_EQ(s.hotBoundary, 0);
  w.click(MouseButton::Left, ix, w.row(s.modelDepth[0]), true);
  EXPECT_EQ(s.depthFixed[0], 1);
  EXPECT_EQ(s.rhoFixed[0], 0);
}

TEST(ModelFixMarks, ShiftLeftTogglesTheThicknessOfALayerOnly) {
  Window w;
  w.load();
  w.build({{80, 3}, {25, 12}}, 60);
  CurveWindowState& s = w.s();
  const int ix = (w.col(s.modelRho[0]) + w.col(s.modelRho[1])) / 2;
  w.move(ix, w.row(s.modelDepth[0]));
  w.click(MouseButton::Left, ix, w.row(s.modelDepth[0]), false, true);
  EXPECT_EQ(s.thicknessFixed[0] + s.depthFixed[0] + s.rhoFixed[0], 0);
  const int y = (w.row(s.modelDepth[0]) + w.row(s.modelDepth[1])) / 2;
  w.move(w.col(s.modelRho[1]), y);
  w.click(MouseButton::Left, w.col(s.modelRho[1]), y, false, true);
  EXPECT_EQ(s.thicknessFixed[1], 1);
  w.click(MouseButton::Left, w.col(s.modelRho[1]), y, false, true);
  EXPECT_EQ(s.thicknessFixed[1], 0);
  // Ctrl+Shift+left is none of the gestures.
  w.click(MouseButton::Left, w.col(s.modelRho[1]), y, true, true);
  EXPECT_EQ(s.thicknessFixed[1] + s.rhoFixed[1], 0);
  EXPECT_FALSE(s.mouseDragging);
}

TEST(ModelSplitByMouse, RightPressOnTheTopLayerAddsAnInterfaceAtNineTenths) {
  Window w;
  w.load();
  w.setModel({50, 200}, {10});
  CurveWindowState& s = w.s();
  s.fromSection = true;
  const int x = w.col(50);
  const int y = w.row(3);
  w.move(x, y);
  ASSERT_EQ(s.hotLayer, 0);
  w.click(MouseButton::Right, x, y);
  ASSERT_EQ(s.modelBoundaryCount, 2);
  EXPECT_FLOAT_EQ(s.modelDepth[0], 9.0f);
  EXPECT_EQ(s.modelDepth[1], 10.0f);
  EXPECT_EQ(s.modelRho[0], 50.0f);
  EXPECT_EQ(s.modelRho[1], 50.0f);
  EXPECT_EQ(s.modelRho[2], 200.0f);
  EXPECT_FALSE(s.modelBuildMode);
  EXPECT_TRUE(s.computedCurveValid);
  EXPECT_EQ(w.section.stores, 1);
  w.expectNoResidue();
}

TEST(ModelDeleteByMouse, TheOnlyInterfaceGoneStartsANewModel) {
  Window w;
  w.load();
  w.setModel({50, 200}, {10});
  CurveWindowState& s = w.s();
  const int x = (w.col(50) + w.col(200)) / 2;
  w.move(x, w.row(10));
  ASSERT_EQ(s.hotBoundary, 0);
  w.click(MouseButton::Middle, x, w.row(10));
  EXPECT_EQ(s.modelBoundaryCount, 0);
  EXPECT_TRUE(s.modelBuildMode);
  EXPECT_FALSE(s.modelActive);
  EXPECT_FALSE(s.computedCurveValid);
  EXPECT_EQ(s.hotBoundary, -1);
  EXPECT_EQ(s.previousHotBoundary, -2);
  EXPECT_FALSE(w.chrome.optimiseVisible);
  w.expectNoResidue();
}

TEST(ModelDeleteByMouse, CtrlRightDeletesALayerAndTheCurveIsRecomputed) {
  Window w;
  w.load();
  w.setModel({50, 200, 20}, {5, 30});
  CurveWindowState& s = w.s();
  const float before = s.computedRho[s.gridMaxIndex];
  const int y = (w.row(5) + w.row(30)) / 2;
  w.move(w.col(200), y);
  ASSERT_EQ(s.hotLayer, 1);
  w.click(MouseButton::Right, w.col(200), y, true);
  ASSERT_EQ(s.modelBoundaryCount, 1);
  EXPECT_EQ(s.modelRho[1], 20.0f);
  EXPECT_EQ(s.modelDepth[0], 5.0f);
  EXPECT_NE(s.computedRho[s.gridMaxIndex], before);
  EXPECT_FALSE(s.modelBuildMode);
  w.expectNoResidue();
}

TEST(ModelPressTable, CtrlShiftRightCancelsAndOtherCombinationsDoNothing) {
  Window w;
  w.load();
  w.setModel({50, 200, 20}, {5, 30});
  CurveWindowState& s = w.s();
  const int y = (w.row(5) + w.row(30)) / 2;
  w.move(w.col(200), y);
  ASSERT_EQ(s.hotLayer, 1);
  w.click(MouseButton::Right, w.col(200), y, false, true);   // Shift+right
  w.click(MouseButton::Middle, w.col(200), y, true, false);  // Ctrl+middle
  EXPECT_EQ(s.modelBoundaryCount, 2);
  EXPECT_FALSE(s.modelBuildMode);
  w.click(MouseButton::Right, w.col(200), y, true, true);
  EXPECT_TRUE(s.modelBuildMode);
  EXPECT_EQ(s.modelBoundaryCount, 0);
  EXPECT_EQ(s.hotLayer, -1);
  EXPECT_EQ(s.previousHotLayer, -2);
  EXPECT_EQ(w.chrome.cursor, ui::Cursor::Arrow);
}

TEST(ModelPressTable, PressesOutsideThePlotMoveTheView) {
  Window w;
  w.load();
  CurveWindowState& s = w.s();
  const float before = s.logRhoMin;
  w.click(MouseButton::Left, s.plotLeft - 5, (s.plotTop + s.plotBottom) / 2);
  EXPECT_TRUE(s.lastClickOutsidePlot);
  EXPECT_NEAR(s.logRhoMin, before - 0.3333, 1e-5);
  w.click(MouseButton::Right, s.plotLeft - 5, (s.plotTop + s.plotBottom) / 2);
  EXPECT_NEAR(s.logRhoMin, before, 1e-5);
  EXPECT_FALSE(s.modelBuildMode);
  w.click(MouseButton::Left, s.plotLeft + 5, s.plotTop + 5);
  EXPECT_FALSE(s.lastClickOutsidePlot);
}

TEST(ModelCommands, ClearLeavesNoModelAndNoCurve) {
  Window w;
  w.load();
  w.setModel({50, 200, 20}, {5, 30});
  CurveWindowState& s = w.s();
  clearModel(w.c);
  EXPECT_EQ(s.modelBoundaryCount, 0);
  EXPECT_FALSE(s.modelActive);
  EXPECT_FALSE(s.computedCurveValid);
  EXPECT_FALSE(s.modelBuildMode);
  EXPECT_TRUE(xorResidue(w.canvas).empty());
}

TEST(ModelCommands, PasteComputesTheCurveAndGivesTheRunButtonTheFocus) {
  Window w;
  w.load();
  w.setModel({50, 200, 20}, {5, 30});
  CurveWindowState& s = w.s();
  s.rhoFixed[1] = 1;
  copyModelToClipboard(w.c);
  clearModel(w.c);
  w.chrome.anyFocus = false;
  pasteModelFromClipboard(w.c);
  EXPECT_EQ(s.modelBoundaryCount, 2);
  EXPECT_EQ(s.modelRho[1], 200.0f);
  EXPECT_EQ(s.rhoFixed[1], 1);
  EXPECT_TRUE(s.computedCurveValid);
  EXPECT_TRUE(s.modelActive);
  EXPECT_TRUE(w.chrome.anyFocus);
  EXPECT_EQ(w.chrome.focused, ui::Button::Optimise);
  EXPECT_TRUE(w.chrome.optimiseVisible);
  EXPECT_TRUE(w.chrome.transferVisible);
  w.expectNoResidue();
}

TEST(ModelCommands, PastingAnEmptyClipboardTakesTheOldCurveAway) {
  Window w;
  w.load();
  w.setModel({50, 200, 20}, {5, 30});
  CurveWindowState& s = w.s();
  pasteModelFromClipboard(w.c);
  EXPECT_EQ(s.modelBoundaryCount, 0);
  EXPECT_FALSE(s.computedCurveValid);
  EXPECT_TRUE(xorResidue(w.canvas).empty());
}

TEST(ModelCommands, PasteWhileBuildingEndsTheBuild) {
  Window w;
  w.load();
  w.setModel({50, 200, 20}, {5, 30});
  CurveWindowState& s = w.s();
  copyModelToClipboard(w.c);
  w.click(MouseButton::Right, w.col(500), w.row(80));
  w.move(w.col(40), w.row(4));
  ASSERT_TRUE(s.modelBuildMode);
  pasteModelFromClipboard(w.c);
  EXPECT_FALSE(s.modelBuildMode);
  EXPECT_EQ(s.cursorX, -1);
  w.expectNoResidue();
}

// A sounding that is a point of the section gives its model back for a mouse
// edit when the button is released, and for a paste at once; a clear or a
// build ended by F6 change the curve window alone, so a slip of Ctrl+Del
// never empties the stored point.
TEST(ModelWriteBack, OnlyAFinishedMouseEditStoresThePoint) {
  struct Case {
    const char* name;
    std::function<void(Window&)> action;  // up to the release
    int storesBeforeRelease;
    std::function<void(Window&)> release;
    int storesAfterRelease;
  };
  auto layer1 = [](Window& w) {
    const CurveWindowState& s = w.s();
    return std::pair{w.col(s.modelRho[1]), (w.row(s.modelDepth[0]) + w.row(s.modelDepth[1])) / 2};
  };
  auto pickAndPress = [layer1](bool ctrl, MouseButton b) {
    return [layer1, ctrl, b](Window& w) {
      const auto [x, y] = layer1(w);
      w.move(x, y);
      ASSERT_EQ(w.s().hotLayer, 1);
      w.press(b, x, y, ctrl);
    };
  };
  auto releaseAt = [layer1](MouseButton b) {
    return [layer1, b](Window& w) {
      const auto [x, y] = layer1(w);
      w.release(b, x, y);
    };
  };
  auto nothing = [](Window&) {};
  const Case cases[] = {
      {"clear (Ctrl+Del)", [](Window& w) { clearModel(w.c); }, 0, nothing, 0},
      {"paste (Ctrl+V)",
       [](Window& w) {
         copyModelToClipboard(w.c);
         pasteModelFromClipboard(w.c);
       },
       1, nothing, 1},
      {"F6 twice", [](Window& w) { toggleModelBuild(w.c), toggleModelBuild(w.c); }, 0, nothing, 0},
      {"fix mark (Ctrl+left)", pickAndPress(true, MouseButton::Left), 0,
       releaseAt(MouseButton::Left), 1},
      {"split (right)", pickAndPress(false, MouseButton::Right), 0, releaseAt(MouseButton::Right),
       1},
      {"release without an edit", nothing, 0, releaseAt(MouseButton::Left), 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Window w;
    w.load();
    w.setModel({80, 25, 150, 60}, {3, 12, 40});
    w.s().fromSection = true;
    k.action(w);
    EXPECT_EQ(w.section.stores, k.storesBeforeRelease);
    k.release(w);
    EXPECT_EQ(w.section.stores, k.storesAfterRelease);
  }
}

}  // namespace
}  // namespace orv
