// Shared fixture of the section tests: a zero-filled database in its initial
// state, a recording curve window and scripted dialogs, plus points filled
// with distinct recognisable values so that every copied field is traceable
// to its origin.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "commands/section/curve_link.h"
#include "commands/section/section_operations.h"
#include "commands/section/section_session.h"
#include "core/curve/curve_window_state.h"
#include "core/section/section_database.h"
#include "ui/scripted_dialogs.h"

namespace orv::testing {

class RecordingCurveLink : public CurveLink {
 public:
  RecordingCurveLink() {
    setInitialCurveState(*state_);
    finishCurveStateConstruction(*state_);
  }
  CurveWindowState& state() override { return *state_; }
  void setTransferButtonVisible(bool visible) override {
    transferVisible = visible;
    ++transferCalls;
  }
  void takeOverLoadedPoint() override {
    ++takeOvers;
    fromSectionAtTakeOver = state_->fromSection;
  }
  void redraw() override { ++redraws; }

  bool transferVisible = false;
  int transferCalls = 0;
  int takeOvers = 0;
  bool fromSectionAtTakeOver = false;
  int redraws = 0;

 private:
  ZeroedBlock<CurveWindowState> state_;
};

// Fills point p with values derived from seed: every field differs from the
// same field of a point with another seed and from zero.
inline void fillPoint(SectionPoint& p, int seed, int readings = 12, int firstCell = 3,
                      int lastCell = 20, int boundaries = 3) {
  setText(p.pointName, cformat("bod%d", seed));
  setText(p.measureDate, cformat("%d.5.2003", seed));
  setText(p.operatorName, cformat("operator%d", seed));
  setText(p.pointNote, cformat("poznamka%d", seed));
  p.surfaceChainage = 100.0f * seed + 1;
  p.pointX = 100.0f * seed + 2;
  p.pointY = 100.0f * seed + 3;
  p.pointZ = 100.0f * seed + 4;
  p.profileChainage = 100.0f * seed + 5;
  p.fitError = 0.5f * seed + 0.25f;
  p.Mermx = readings;
  for (int m = 0; m < MaxReadings; ++m) {
    p.AO[m] = 1000.0f * seed + m + 0.5f;
    p.MO[m] = 1000.0f * seed + m + 0.25f;
    p.Rmer[m] = 1000.0f * seed + m + 0.75f;
    p.iMN[m] = 10 * seed + m % 5 + 1;
    for (int k = 0; k < MaxIpWindows; ++k) p.ipValue[m][k] = 100000.0f * seed + 100 * m + k;
  }
  p.MNmx = 1 + seed % 5;
  p.nABmn = firstCell;
  p.ABmx = lastCell;
  for (int g = 0; g < GridCells; ++g) p.compositeRho[g] = 2000.0f * seed + g + 0.5f;
  p.MDLmx = boundaries;
  for (int i = 0; i < MaxLayers; ++i) {
    p.layerRho[i] = 10.0f * seed + i + 1;
    p.layerDepth[i] = 3.0f * seed + i + 0.5f;
  }
}

// Every field a point carries within its counts.
inline void expectSamePoint(const SectionPoint& want, const SectionPoint& got) {
  EXPECT_EQ(textOf(want.pointName), textOf(got.pointName));
  EXPECT_EQ(textOf(want.measureDate), textOf(got.measureDate));
  EXPECT_EQ(textOf(want.operatorName), textOf(got.operatorName));
  EXPECT_EQ(textOf(want.pointNote), textOf(got.pointNote));
  EXPECT_EQ(want.surfaceChainage, got.surfaceChainage);
  EXPECT_EQ(want.pointX, got.pointX);
  EXPECT_EQ(want.pointY, got.pointY);
  EXPECT_EQ(want.pointZ, got.pointZ);
  EXPECT_EQ(want.profileChainage, got.profileChainage);
  EXPECT_EQ(want.fitError, got.fitError);
  ASSERT_EQ(want.Mermx, got.Mermx);
  EXPECT_EQ(want.MNmx, got.MNmx);
  ASSERT_EQ(want.nABmn, got.nABmn);
  ASSERT_EQ(want.ABmx, got.ABmx);
  ASSERT_EQ(want.MDLmx, got.MDLmx);
  for (int m = 0; m < want.Mermx; ++m) {
    EXPECT_EQ(want.AO[m], got.AO[m]) << m;
    EXPECT_EQ(want.MO[m], got.MO[m]) << m;
    EXPECT_EQ(want.Rmer[m], got.Rmer[m]) << m;
    EXPECT_EQ(want.iMN[m], got.iMN[m]) << m;
    for (int k = 0; k < MaxIpWindows; ++k) EXPECT_EQ(want.ipValue[m][k], got.ipValue[m][k]);
  }
  for (int g = want.nABmn; g <= want.ABmx; ++g)
    EXPECT_EQ(want.compositeRho[g], got.compositeRho[g]) << g;
  for (int i = 0; i <= want.MDLmx; ++i) {
    EXPECT_EQ(want.layerRho[i], got.layerRho[i]) << i;
    EXPECT_EQ(want.layerDepth[i], got.layerDepth[i]) << i;
  }
}

class SectionTest : public ::testing::Test {
 protected:
  SectionTest() { setInitialDatabaseState(*dbBlock); }

  SectionDatabase& db() { return *dbBlock; }
  SectionProfile& profile(int k) { return dbBlock->profiles[k]; }
  CurveWindowState& curve() { return link.state(); }

  // Profile 0 with points seeded 1..n.
  void givePoints(int n) {
    for (int b = 0; b < n; ++b) fillPoint(profile(0).points[b], b + 1);
    profile(0).mxindex_bodu = n - 1;
  }

  ZeroedBlock<SectionDatabase> dbBlock;
  SectionWindowState view;
  ui::ScriptedDialogs dialogs;
  RecordingCurveLink link;
  int sectionRedraws = 0;
  int dialogRuns = 0;
  bool editingFlagSeenByDialog = false;
  // What the point dialog hands back; empty: what it would show.
  std::optional<PointFields> dialogAnswer;
  SectionSession session{*dbBlock,
                         view,
                         dialogs,
                         link,
                         [this] { ++sectionRedraws; },
                         [this] {
                           ++dialogRuns;
                           editingFlagSeenByDialog = view.editingExistingPoint;
                           return dialogAnswer ? *dialogAnswer
                                               : fillPointFields(*dbBlock, link.state(),
                                                                 view.editingExistingPoint);
                         }};
};

}  // namespace orv::testing
