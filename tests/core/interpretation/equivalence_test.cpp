#include "core/interpretation/equivalence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "commands/curve/equivalence_command.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/thorough_fit.h"
#include "tests/core/interpretation/fit_references.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using fit_test::Layers;
using numerics_test::Fixture;
using numerics_test::setModel;

double ratio(const orv::ValueRange& r) {
  return r.max / r.min;
}

// A thin middle layer is seen only through one combination of its values:
// h/rho when it conducts, h*rho when it resists.
struct ThinCase {
  const char* name;
  Layers truth;
  double noise;
  bool conductive;
};

const ThinCase kThin[] = {
    {"conductive", {{100, 2, 100}, {10, 11}}, 0.01, true},
    {"conductive over a resistive base", {{50, 1, 300}, {10, 11}}, 0.02, true},
    {"resistive", {{20, 1000, 20}, {10, 12}}, 0.02, false},
};

class ThinLayer : public ::testing::TestWithParam<ThinCase> {};

TEST_P(ThinLayer, PinsTheProductOrRatioWhileThicknessAndResistivityRangeWidely) {
  const ThinCase& c = GetParam();
  Fixture f;
  fit_test::noisyComposite(f.s, c.truth, 0, 34, c.noise);
  setModel(f.s, c.truth.rho, c.truth.depth);
  ASSERT_TRUE(orv::thoroughFitCore(f.s).ran);
  const float rho1 = f.s.modelRho[1], depth1 = f.s.modelDepth[1];
  const double shown = f.s.modelFitError;

  const orv::EquivalenceOutcome e = orv::equivalenceRangesCore(f.s, 0.1);
  ASSERT_TRUE(e.ran);
  ASSERT_EQ(e.layers, 3);
  EXPECT_GT(e.bestMisfit, 0.0);
  EXPECT_NEAR(e.limit, 1.1 * e.bestMisfit, 1e-15);
  const orv::LayerRanges& mid = e.layer[1];
  const orv::ValueRange& pinned = c.conductive ? mid.s : mid.t;
  EXPECT_LT(ratio(pinned), 1.07) << c.name;
  EXPECT_GT(ratio(mid.h), 2.0) << c.name;
  EXPECT_GT(ratio(mid.rho), 2.0) << c.name;
  // The well resolved top layer stays within a few per cent.
  EXPECT_LT(ratio(e.layer[0].rho), 1.1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_LE(e.layer[i].rho.min, f.s.modelRho[i] * 1.0001);
    EXPECT_GE(e.layer[i].rho.max, f.s.modelRho[i] * 0.9999);
  }
  // The window's model and its curve are left as they were.
  EXPECT_EQ(f.s.modelRho[1], rho1);
  EXPECT_EQ(f.s.modelDepth[1], depth1);
  EXPECT_EQ(orv::misfitSSQ(f.s), shown);
}

INSTANTIATE_TEST_SUITE_P(Generated, ThinLayer, ::testing::ValuesIn(kThin));

// Every end of a range is a model within the limit: moving a parameter to
// its end with the others re-fitted stays within it, and well beyond it the
// best re-fit does not.
TEST(Equivalence, RangeEndsSitOnTheLimit) {
  Fixture f;
  const Layers truth{{30, 300, 60}, {4, 20}};
  fit_test::noisyComposite(f.s, truth, 0, 29, 0.03);
  setModel(f.s, truth.rho, truth.depth);
  orv::thoroughFitCore(f.s);
  const orv::EquivalenceOutcome e = orv::equivalenceRangesCore(f.s, 0.2);
  ASSERT_TRUE(e.ran);
  const orv::ValueRange r = e.layer[0].rho;
  for (double end : {r.min, r.max}) {
    for (double factor : {1.0, end == r.min ? 0.8 : 1.25}) {
      Fixture g;
      fit_test::noisyComposite(g.s, truth, 0, 29, 0.03);
      setModel(g.s, {end * factor, f.s.modelRho[1], f.s.modelRho[2]},
               {f.s.modelDepth[0], f.s.modelDepth[1]});
      g.s.rhoFixed[0] = 1;
      orv::thoroughFitCore(g.s);
      if (factor == 1.0) {
        EXPECT_LE(g.s.modelFitError, e.limit * 1.02) << end;
      } else {
        EXPECT_GT(g.s.modelFitError, e.limit) << end * factor;
      }
    }
  }
}

// A smaller tolerance gives ranges inside the larger one's; a fixed value
// has no range.
TEST(Equivalence, TighterToleranceNarrowsAndFixedParametersArePoints) {
  struct Case {
    double q;
    bool fixRho;
  };
  Fixture wide;
  fit_test::noisyComposite(wide.s, {{100, 5, 100}, {10, 12}}, 0, 34, 0.02);
  setModel(wide.s, {100, 5, 100}, {10, 12});
  orv::thoroughFitCore(wide.s);
  const orv::EquivalenceOutcome reference = orv::equivalenceRangesCore(wide.s, 0.3);
  for (const Case& c : {Case{0.0, false}, Case{-1.0, false}, Case{0.05, false}, Case{0.1, true}}) {
    Fixture f;
    fit_test::noisyComposite(f.s, {{100, 5, 100}, {10, 12}}, 0, 34, 0.02);
    setModel(f.s, {100, 5, 100}, {10, 12});
    orv::thoroughFitCore(f.s);
    if (c.fixRho) f.s.rhoFixed[1] = f.s.rhoFixed[0] = f.s.rhoFixed[2] = 1;
    const orv::EquivalenceOutcome e = orv::equivalenceRangesCore(f.s, c.q);
    ASSERT_TRUE(e.ran);
    EXPECT_DOUBLE_EQ(e.limit, (1.0 + std::max(c.q, 0.0)) * e.bestMisfit);
    for (int i = 0; i < 3; ++i) {
      if (c.fixRho) {
        EXPECT_EQ(e.layer[i].rho.min, f.s.modelRho[i]);
        EXPECT_EQ(e.layer[i].rho.max, f.s.modelRho[i]);
        continue;
      }
      EXPECT_GE(e.layer[i].rho.min, reference.layer[i].rho.min * 0.999) << i;
      EXPECT_LE(e.layer[i].rho.max, reference.layer[i].rho.max * 1.001) << i;
      EXPECT_LT(ratio(e.layer[i].rho), ratio(reference.layer[i].rho)) << i;
    }
    EXPECT_TRUE(std::isinf(e.layer[2].h.min));
  }
}

TEST(Equivalence, RefusesWhatTheInversionRefusesAndTheWindowWritesBesideTheTable) {
  Fixture bad;
  setModel(bad.s, {26, -1, 65}, {5, 17.5});
  EXPECT_FALSE(orv::equivalenceRangesCore(bad.s, 0.1).ran);
  orv::showEquivalenceRanges(bad.session);
  ASSERT_EQ(bad.dialogs.messages().size(), 1u);
  EXPECT_TRUE(bad.canvas.texts.empty());

  Fixture f;
  fit_test::noisyComposite(f.s, {{100, 5, 100}, {10, 12}}, 0, 34, 0.02);
  setModel(f.s, {100, 5, 100}, {10, 12});
  orv::showEquivalenceRanges(f.session);
  EXPECT_TRUE(f.dialogs.messages().empty());
  int rows = 0;
  for (const numerics_test::TextCall& t : f.canvas.texts) {
    if (t.text.rfind("ρ ", 0) == 0 || t.text.rfind("h/ρ ", 0) == 0) {
      ++rows;
      EXPECT_LE(t.x + static_cast<int>(t.text.size()) * 8, f.s.plotRight);
    }
  }
  EXPECT_EQ(rows, 5);  // two rows for each layer, one for the half-space
}

}  // namespace
