// The model's history on its own: the oldest steps give way beyond its
// capacity, a new step drops what was undone, another sounding starts anew.
#include "core/curve/model_history.h"

#include <gtest/gtest.h>

#include "base/zeroed_block.h"
#include "core/curve/curve_window_state.h"

namespace {

TEST(ModelHistory, KeepsTheNewestStepsDropsTheUndoneAndFollowsTheSounding) {
  orv::ZeroedBlock<orv::CurveWindowState> block;
  orv::CurveWindowState& s = *block;
  s.readingCount = 1;
  s.readingAbHalf[0] = 10;
  s.modelBoundaryCount = 1;
  s.modelDepth[0] = 5;
  orv::ModelHistory& h = s.modelHistory;
  for (int i = 0; i < 100; ++i) {
    s.modelRho[0] = static_cast<float>(i);
    EXPECT_EQ(h.record(s), i > 0);  // the first one starts the history
    EXPECT_FALSE(h.record(s));      // an unchanged model is no step
  }
  EXPECT_EQ(h.undoSteps(), orv::ModelHistoryEntries - 1);
  const orv::ModelSnapshot* m = nullptr;
  while (const orv::ModelSnapshot* back = h.undo()) m = back;
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->rho[0], 100.0f - orv::ModelHistoryEntries);
  EXPECT_EQ(h.redoSteps(), orv::ModelHistoryEntries - 1);

  orv::restoreModel(s, *m);
  s.depthFixed[0] = 1;
  EXPECT_TRUE(h.record(s));
  EXPECT_EQ(h.redoSteps(), 0);
  EXPECT_EQ(h.undoSteps(), 1);

  s.readingRho[0] = 42;  // another sounding's readings
  EXPECT_FALSE(h.record(s));
  EXPECT_EQ(h.undoSteps(), 0);
  h.adoptReadings(s);
  s.modelRho[1] = 7;
  EXPECT_TRUE(h.record(s));
}

}  // namespace
