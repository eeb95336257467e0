// Whole-profile interpretation on a profile made from known two-layer earths.
#include "commands/section/profile_batch.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/zeroed_block.h"
#include "core/interpretation/forward_problem.h"

namespace {

// Six points whose curves are those of 60 ohm.m over 300 ohm.m at 4..9 m,
// each with a start model well off; point 1 has its interface fixed at 6.5 m,
// point 4 no model at all.
void makeProfile(orv::SectionProfile& pf, orv::CurveWindowState& s) {
  pf.mxindex_bodu = 5;
  for (int b = 0; b < 6; ++b) {
    orv::SectionPoint& pt = pf.points[b];
    pt.profileChainage = static_cast<float>(50 - 10 * b);  // stored right to left
    s.gridMinIndex = pt.nABmn = 0;
    s.gridMaxIndex = pt.ABmx = 20;
    s.modelBoundaryCount = 1;
    s.rhoParam[0] = 60, s.rhoParam[1] = 300, s.thickParam[0] = 4 + b;
    orv::computeForwardValues(s, true);
    for (int g = 0; g <= 20; ++g)
      pt.compositeRho[g] =
          static_cast<float>(s.computedRho[g] * (1 + 0.02 * std::sin(3.1 * g + b)));
    pt.MDLmx = 1;
    pt.layerRho[0] = 30, pt.layerRho[1] = 900, pt.layerDepth[0] = 2.0f + b;
  }
  pf.points[1].layerDepth[0] = -6.5f;
  pf.points[4].MDLmx = 0;
  pf.points[4].layerRho[0] = 0.0f;
}

TEST(ProfileBatch, NeverWorseThanTheStartKeepsFixesAndStopsWhereAsked) {
  orv::ZeroedBlock<orv::SectionDatabase> db;
  orv::ZeroedBlock<orv::CurveWindowState> s;
  orv::SectionProfile& pf = db->profiles[0];
  makeProfile(pf, *s);
  EXPECT_EQ(orv::pointsInChainageOrder(pf), (std::vector<int>{5, 4, 3, 2, 1, 0}));

  // Stopped before the third point, or while the third point is fitted (a
  // "Storno" heard between the steps of its own fit): two points written,
  // the rest untouched.
  for (int stopInside : {0, 3}) {
    orv::ZeroedBlock<orv::SectionDatabase> copy;
    *copy = *db;
    int calls = 0;
    const auto stopped = orv::interpretProfileCore(copy->profiles[0], *s, {}, [&](int done, int) {
      return done < 2 || (stopInside > 0 && ++calls < stopInside);
    });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(stopped.rows.size(), 2u) << stopInside;
    EXPECT_EQ(copy->profiles[0].points[3].layerDepth[0], 5.0f);
  }

  const orv::ProfileBatchOutcome out = orv::interpretProfileCore(pf, *s, {});
  ASSERT_EQ(out.rows.size(), 6u);
  for (const orv::ProfileBatchRow& r : out.rows) {
    EXPECT_LE(r.after, r.before) << r.point;
    EXPECT_FLOAT_EQ(pf.points[r.point].fitError, static_cast<float>(r.after)) << r.point;
    if (r.point == 1) continue;
    // The free points reach their earths (the pseudo-noise is 2 %).
    EXPECT_NEAR(pf.points[r.point].layerDepth[0], 4 + r.point, 0.6) << r.point;
  }
  EXPECT_EQ(pf.points[1].layerDepth[0], -6.5f);  // still fixed, still there
  // The point without a model got one from the automatic model.
  EXPECT_EQ(out.rows[1].point, 4);
  EXPECT_EQ(out.rows[1].before, HUGE_VAL);
  EXPECT_EQ(pf.points[4].MDLmx, 1);
}

}  // namespace
