#include "commands/curve/composite_editing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/grid_index.h"
#include "core/interpretation/branch_merging.h"
#include "tests/commands/curve/kmt_test_support.h"

namespace orv {
namespace {

using testing::FakeCanvas;
using testing::TestWindow;

constexpr ui::Colour Red = 255;

// One branch on the cells listed, merged and drawn as after a load.
void load(TestWindow& w, const std::vector<int>& cells, int branch = 1) {
  CurveWindowState& s = w.s();
  for (int k : cells) {
    const int i = s.readingCount++;
    s.readingBranch[i] = branch;
    s.readingAbHalf[i] = gridValueOf(k);
    s.readingMnHalf[i] = 1.0f;
    s.readingRho[i] = 10.0f * (k + 1);
  }
  ASSERT_EQ(deriveReadings(w.session, ReadingOrigin::InMemory), 1);
  resetInterpretation(w.session);
  mergeBranches(w.session, 2);
  ASSERT_TRUE(s.compositeReady);
  ASSERT_GT(s.pixelsPerDecadeRho, 0);
}

int redSegments(const FakeCanvas& canvas) {
  int n = 0;
  for (const auto& seg : canvas.segments)
    if (seg.colour == Red && seg.width == 2 && seg.mode == ui::PenMode::Copy) ++n;
  return n;
}

int rowOfCell(const CurveWindowState& s, int k) {
  return rowOfAbHalf(s, s.gridAbHalf[k]);
}

double rhoUnder(const CurveWindowState& s, int x) {
  return std::pow(10.0,
                  (x - s.marginLeft) / static_cast<double>(s.pixelsPerDecadeRho) + s.logRhoMin);
}

TEST(CompositeShift, ThreeStepsUpMultiplyByTenToThreeSteps) {
  TestWindow w;
  load(w, {0, 1, 2, 4});
  CurveWindowState& s = w.s();
  for (int i = 0; i < 3; ++i) shiftComposite(w.session, +1);
  const double factor = std::pow(10.0, 3 * 0.001);
  for (int k : {0, 1, 2, 4}) {
    EXPECT_NEAR(s.mergedRho[k][0], 10.0 * (k + 1) * factor, 1e-4) << k;
    EXPECT_NEAR(s.mergedRho[k][1], 10.0 * (k + 1) * factor, 1e-4) << k;
  }
  EXPECT_EQ(s.mergedRho[3][0], EmptyCell);
  EXPECT_EQ(s.mergedRho[3][1], EmptyCell);
  for (int i = 0; i < 3; ++i) shiftComposite(w.session, -1);
  EXPECT_NEAR(s.mergedRho[2][0], 30.0, 1e-4);
}

TEST(CompositeShift, TheLogarithmIsTakenInDoublePrecision) {
  TestWindow w;
  load(w, {0, 1, 2, 3});
  CurveWindowState& s = w.s();
  const float values[] = {20.0f, 47.3f, 999.9f, 1234.5f};
  for (int k = 0; k < 4; ++k) s.mergedRho[k][0] = s.mergedRho[k][1] = values[k];
  shiftCompositeCore(s, +1);
  for (int k = 0; k < 4; ++k) {
    const float up =
        static_cast<float>(std::pow(10.0, std::log10(static_cast<double>(values[k])) + 0.001f));
    EXPECT_EQ(s.mergedRho[k][0], up) << k;
    EXPECT_EQ(s.mergedRho[k][1], up) << k;
  }
}

TEST(CompositeShift, NothingWithoutComposite) {
  TestWindow w;
  w.s().mergedRho[0][0] = 10.0f;
  w.s().branchCount = 1;
  shiftComposite(w.session, +1);
  EXPECT_EQ(w.s().mergedRho[0][0], 10.0f);
  EXPECT_EQ(w.canvas.fills, 0);
}

TEST(CompositeShift, StepDialog) {
  TestWindow w;
  w.dialogs.answer("0,02");
  askCompositeShiftStep(w.session);
  ASSERT_EQ(w.dialogs.questions().size(), 1u);
  EXPECT_EQ(w.dialogs.questions()[0], "Uprav krok posunu snesené křivky VES |[log10 ohm.m]:|0.001");
  EXPECT_FLOAT_EQ(w.s().compositeShiftStep, 0.02f);

  w.dialogs.answer("-0.5");
  askCompositeShiftStep(w.session);
  EXPECT_EQ(w.dialogs.questions()[1], "Uprav krok posunu snesené křivky VES |[log10 ohm.m]:|0.02");
  EXPECT_FLOAT_EQ(w.s().compositeShiftStep, -0.5f);

  w.dialogs.answer("krok");
  askCompositeShiftStep(w.session);
  EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{"Soustřeďte se (celé číslo)!"});
  EXPECT_FLOAT_EQ(w.s().compositeShiftStep, -0.5f);

  w.dialogs.cancel();
  askCompositeShiftStep(w.session);
  EXPECT_FLOAT_EQ(w.s().compositeShiftStep, -0.5f);
  EXPECT_EQ(w.dialogs.messages().size(), 1u);
}

TEST(CompositeEditToggle, RefusedWithoutComposite) {
  TestWindow w;
  toggleCompositeEdit(w.session);
  EXPECT_EQ(w.dialogs.messages(),
            std::vector<std::string>{
                "Nejprve si snes jednotlivé větve stiskem kláves 1 až číslo poslední použité "
                "větve podle toho na kterou větev chcete ostatní snést!"});
  EXPECT_FALSE(w.s().editCompositeMode);
}

TEST(CompositeEditToggle, SwitchesOnAndOff) {
  TestWindow w;
  load(w, {0, 1, 2});
  const int fills = w.canvas.fills;
  toggleCompositeEdit(w.session);
  EXPECT_TRUE(w.s().editCompositeMode);
  EXPECT_EQ(w.canvas.fills, fills);  // nothing happens until the mouse moves
  w.s().cursorX = 100;
  w.s().cursorY = 100;
  toggleCompositeEdit(w.session);
  EXPECT_FALSE(w.s().editCompositeMode);
  EXPECT_EQ(w.s().cursorX, -1);
  EXPECT_EQ(w.s().cursorY, -1);
  EXPECT_TRUE(w.dialogs.messages().empty());
}

TEST(CompositeEditToggle, MouseDrawnCurveBecomesTheSounding) {
  TestWindow w;
  load(w, {2, 3, 4});
  CurveWindowState& s = w.s();
  setText(s.instrumentFilePath, "myší pf P1 bod 0");
  s.mouseEntryActive = true;
  toggleCompositeEdit(w.session);
  s.mergedRho[3][0] = 99.0f;
  s.mergedRho[4][0] = EmptyCell;  // no composite value: the reading stays
  toggleCompositeEdit(w.session);
  EXPECT_FALSE(s.mouseEntryActive);
  EXPECT_FLOAT_EQ(s.readingRho[0], 30.0f);
  EXPECT_FLOAT_EQ(s.readingRho[1], 99.0f);
  EXPECT_FLOAT_EQ(s.readingRho[2], 50.0f);
  EXPECT_FLOAT_EQ(s.mergedRho[3][1], 99.0f);
  EXPECT_EQ(w.chrome.caption, "ORV-zpracování křivky VES:myší pf P1 bod 0");
}

class CompositeMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    // Cells 0..3 and 6..9; cells 4 and 5 have no reading.
    load(w, {0, 1, 2, 3, 6, 7, 8, 9});
    toggleCompositeEdit(w.session);
    ASSERT_TRUE(s().editCompositeMode);
  }
  CurveWindowState& s() { return w.s(); }
  TestWindow w;
};

TEST_F(CompositeMouse, MoveSnapsToTheNearestCellRow) {
  const int x = columnOfRho(s(), 30.0);
  compositeEditMouseMove(w.session, x, rowOfCell(s(), 2) + 1);
  EXPECT_EQ(s().cursorX, x);
  EXPECT_EQ(s().editGridIndex, 2);
  EXPECT_EQ(s().cursorY, rowOfCell(s(), 2));

  // Following the mouse down the plot, the crosshair jumps from row to row.
  const int r6 = rowOfCell(s(), 6);
  const int r7 = rowOfCell(s(), 7);
  compositeEditMouseMove(w.session, x, r6 + 2);
  EXPECT_EQ(s().editGridIndex, 6);
  compositeEditMouseMove(w.session, x, r7 - 1);
  EXPECT_EQ(s().editGridIndex, 7);
  EXPECT_EQ(s().cursorY, r7);

  // The crosshair is XOR-drawn red.
  bool crosshair = false;
  for (const auto& seg : w.canvas.segments)
    if (seg.colour == Red && seg.mode == ui::PenMode::Xor) crosshair = true;
  EXPECT_TRUE(crosshair);
}

TEST_F(CompositeMouse, CellsWithoutReadingAreSnappedOnTheLogGrid) {
  const int x = columnOfRho(s(), 30.0);
  compositeEditMouseMove(w.session, x, rowOfAbHalf(s(), gridValueOf(4)));
  EXPECT_EQ(s().editGridIndex, 4);
}

TEST_F(CompositeMouse, LeftClickSetsTheSnappedCell) {
  const int x = columnOfRho(s(), 50.0);
  compositeEditMouseMove(w.session, x, rowOfCell(s(), 2));
  ASSERT_EQ(s().editGridIndex, 2);
  w.canvas.segments.clear();
  compositeEditMouseDown(w.session, MouseButton::Left, x, rowOfCell(s(), 2) + 3);
  const float rho = static_cast<float>(rhoUnder(s(), x));
  EXPECT_FLOAT_EQ(s().mergedRho[2][1], rho);
  EXPECT_FLOAT_EQ(s().mergedRho[2][0], rho);
  EXPECT_NEAR(rho, 50.0f, 2.0f);
  EXPECT_FLOAT_EQ(s().mergedRho[1][0], 20.0f);
  EXPECT_FLOAT_EQ(s().readingRho[2], 30.0f);  // the measured reading stays
  EXPECT_EQ(s().cursorX, -1);
  EXPECT_EQ(s().cursorY, -1);
  EXPECT_TRUE(s().editCompositeMode);
  // Both neighbours have values: two red segments of width 2.
  EXPECT_EQ(redSegments(w.canvas), 2);
}

TEST_F(CompositeMouse, RedSegmentsOnlyTowardsNeighboursWithValues) {
  const int x = columnOfRho(s(), 50.0);
  compositeEditMouseMove(w.session, x, rowOfCell(s(), 3));
  ASSERT_EQ(s().editGridIndex, 3);
  w.canvas.segments.clear();
  compositeEditMouseDown(w.session, MouseButton::Left, x, rowOfCell(s(), 3));
  EXPECT_EQ(redSegments(w.canvas), 1);
  const FakeCanvas::Segment* red = nullptr;
  for (const auto& seg : w.canvas.segments)
    if (seg.colour == Red && seg.width == 2) red = &seg;
  ASSERT_NE(red, nullptr);
  EXPECT_EQ(red->y0, rowOfCell(s(), 2));
  EXPECT_EQ(red->y1, rowOfCell(s(), 3));
  EXPECT_EQ(red->x0, columnOfRho(s(), s().mergedRho[2][1]));
  EXPECT_EQ(red->x1, columnOfRho(s(), s().mergedRho[3][1]));
}

TEST_F(CompositeMouse, CellWithoutValueCannotBeEdited) {
  const int x = columnOfRho(s(), 50.0);
  compositeEditMouseMove(w.session, x, rowOfAbHalf(s(), gridValueOf(5)));
  ASSERT_EQ(s().editGridIndex, 5);
  compositeEditMouseDown(w.session, MouseButton::Left, x, 0);
  EXPECT_EQ(s().mergedRho[5][0], EmptyCell);
  EXPECT_EQ(s().mergedRho[5][1], EmptyCell);
  EXPECT_EQ(redSegments(w.canvas), 0);
}

TEST_F(CompositeMouse, ClickBeforeAnyMoveEditsNothing) {
  const float before = s().mergedRho[0][0];
  compositeEditMouseDown(w.session, MouseButton::Left, columnOfRho(s(), 50.0), 0);
  EXPECT_EQ(s().mergedRho[0][0], before);
}

TEST_F(CompositeMouse, RightClickLeavesTheMode) {
  compositeEditMouseMove(w.session, columnOfRho(s(), 30.0), rowOfCell(s(), 2));
  ASSERT_GE(s().cursorX, 0);
  compositeEditMouseDown(w.session, MouseButton::Right, 10, 10);
  EXPECT_FALSE(s().editCompositeMode);
  EXPECT_EQ(s().cursorX, -1);
  EXPECT_EQ(s().cursorY, -1);
  const int segments = static_cast<int>(w.canvas.segments.size());
  compositeEditMouseMove(w.session, 200, 200);
  EXPECT_EQ(static_cast<int>(w.canvas.segments.size()), segments);
  EXPECT_EQ(s().cursorX, -1);
}

TEST(CompositeMouseEntry, LeftClickSetsTheReadingAndMergesAgain) {
  TestWindow w;
  load(w, {0, 1, 2, 3});
  CurveWindowState& s = w.s();
  s.mouseEntryActive = true;
  s.editCompositeMode = true;
  const int x = columnOfRho(s, 70.0);
  compositeEditMouseMove(w.session, x, rowOfCell(s, 1));
  ASSERT_EQ(s.editGridIndex, 1);
  // The view bounds follow the re-processed readings: the value comes from
  // the view the click was made in.
  const float rho = static_cast<float>(rhoUnder(s, x));
  compositeEditMouseDown(w.session, MouseButton::Left, x, rowOfCell(s, 1));
  EXPECT_FLOAT_EQ(s.readingRho[1], rho);
  EXPECT_TRUE(s.compositeReady);
  EXPECT_TRUE(s.editCompositeMode);  // kept while the drawn curve is shaped
  EXPECT_NEAR(s.mergedRho[1][0], rho, 1e-3 * rho);
  EXPECT_EQ(redSegments(w.canvas), 2);
}

}  // namespace
}  // namespace orv
