#include "core/interpretation/equivalence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "base/c_format.h"
#include "commands/curve/equivalence_command.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/thorough_fit.h"
#include "tests/core/interpretation/fit_references.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using fit_test::Layers;
using numerics_test::Fixture;
using numerics_test::setModel;

// The least misfit, by Nelder-Mead from the given model and from random
// starts around it, over the models in which quantity q (0 rho, 1 h, 2 h/rho,
// 3 h*rho) of `layer` is `value` and everything else is free.
double heldMinimum(orv::CurveWindowState& s, const Layers& around, int layer, int q, double value) {
  const size_t layers = around.rho.size();
  std::vector<double> y;  // ln rho_0, ln h_0, ln rho_1, ...
  double above = 0.0;
  for (size_t i = 0; i < layers; ++i) {
    y.push_back(std::log(around.rho[i]));
    if (i + 1 < layers) y.push_back(std::log(around.depth[i] - above)), above = around.depth[i];
  }
  const size_t held = 2 * layer + (q == 0 ? 0 : 1);
  auto full = [&](const std::vector<double>& z) {
    std::vector<double> v(z.begin(), z.begin() + held);
    v.push_back(0.0);
    v.insert(v.end(), z.begin() + held, z.end());
    const double lnRho = v[2 * layer], v0 = std::log(value);
    v[held] = q <= 1 ? v0 : q == 2 ? v0 + lnRho : v0 - lnRho;
    return v;
  };
  auto misfit = [&](const std::vector<double>& z) {
    const std::vector<double> v = full(z);
    Layers m;
    double depth = 0.0;
    for (size_t i = 0; i < layers; ++i) {
      m.rho.push_back(std::exp(v[2 * i]));
      if (i + 1 < layers) m.depth.push_back(depth += std::exp(v[2 * i + 1]));
    }
    return fit_test::misfitOf(s, m);
  };
  std::vector<double> start(y);
  start.erase(start.begin() + held);
  std::mt19937 random(11);
  std::uniform_real_distribution<double> kick(-0.7, 0.7);
  double best = fit_test::nelderMead(misfit, start, 3, 600);
  for (int k = 0; k < 1; ++k) {
    std::vector<double> z = start;
    for (double& v : z) v += kick(random);
    best = std::min(best, fit_test::nelderMead(misfit, z, 3, 600));
  }
  return best;
}

Layers shownModel(const orv::CurveWindowState& s) {
  Layers m;
  for (int i = 0; i <= s.modelBoundaryCount; ++i) m.rho.push_back(s.modelRho[i]);
  for (int i = 0; i < s.modelBoundaryCount; ++i) m.depth.push_back(s.modelDepth[i]);
  return m;
}

struct Case {
  const char* name;
  Layers truth;
  Layers start;
  double noise;
  int last;
};

const Case kCases[] = {
    {"K", {{30, 300, 60}, {4, 20}}, {{40, 200, 50}, {5, 15}}, 0.03, 29},
    {"A", {{10, 60, 600}, {2, 12}}, {{15, 40, 400}, {3, 10}}, 0.02, 31},
};

class EquivalenceRanges : public ::testing::TestWithParam<Case> {};

// The model shown is the least-squares minimum, every value of it lies in
// its range, and at every end short of the factor 10^4 the best model with
// that value has the limit's misfit within 1 %.
TEST_P(EquivalenceRanges, AroundTheMinimumShownWithEndsOnTheLimit) {
  const Case& c = GetParam();
  Fixture f;
  fit_test::noisyComposite(f.s, c.truth, 0, c.last, c.noise);
  setModel(f.s, c.start.rho, c.start.depth);
  const orv::EquivalenceOutcome e = orv::equivalenceRangesCore(f.s, 0.1);
  ASSERT_TRUE(e.ran && !e.stopped);
  EXPECT_EQ(e.bestMisfit, f.s.modelFitError);
  EXPECT_EQ(e.limit, 1.1 * f.s.modelFitError);
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  EXPECT_EQ(orv::misfitSSQ(f.s), f.s.modelFitError);
  const Layers shown = shownModel(f.s);
  Fixture ref;
  fit_test::noisyComposite(ref.s, c.truth, 0, c.last, c.noise);
  EXPECT_LE(e.bestMisfit, 1.01 * fit_test::referenceMinimum(ref.s, shown)) << c.name;

  int bounded = 0;
  for (int i = 0; i < e.layers; ++i) {
    const orv::LayerRanges& r = e.layer[i];
    const double h = i + 1 < e.layers ? shown.depth[i] - (i ? shown.depth[i - 1] : 0.0) : 0.0;
    const double values[4] = {shown.rho[i], h, h / shown.rho[i], h * shown.rho[i]};
    const orv::ValueRange* ranges[4] = {&r.rho, &r.h, &r.s, &r.t};
    for (int q = 0; q < (i + 1 < e.layers ? 4 : 1); ++q) {
      const orv::ValueRange& range = *ranges[q];
      EXPECT_LE(range.min, values[q] * (1 + 1e-6)) << c.name << " layer " << i << " q " << q;
      EXPECT_GE(range.max, values[q] * (1 - 1e-6)) << c.name << " layer " << i << " q " << q;
      for (double end : {range.min, range.max}) {
        if (!(end > 0.0) || !std::isfinite(end)) continue;
        EXPECT_LE(std::fabs(std::log(end / values[q])), std::log(orv::EquivalenceMaxFactor) + 1e-9);
        const double best = heldMinimum(ref.s, shown, i, q, end);
        EXPECT_NEAR(best / e.limit, 1.0, 0.01)
            << c.name << " layer " << i << " q " << q << " " << end;
        ++bounded;
      }
    }
  }
  EXPECT_GE(bounded, 8) << c.name;
  EXPECT_EQ(e.endsOffLimit, 0) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Generated, EquivalenceRanges, ::testing::ValuesIn(kCases));

// Each walk depends on nothing another one leaves behind: on one thread or
// on three, in whatever order they finish, the ends are the same.
TEST(Equivalence, TheEndsDoNotDependOnTheNumberOfThreads) {
  orv::EquivalenceOutcome e[2];
  int k = 0;
  for (int threads : {1, 3}) {
    Fixture f;
    fit_test::noisyComposite(f.s, {{30, 300, 60, 200}, {4, 20, 60}}, 0, 31, 0.03);
    setModel(f.s, {40, 200, 50, 150}, {5, 15, 50});
    e[k++] = orv::equivalenceRangesCore(f.s, 0.1, nullptr, threads);
  }
  ASSERT_TRUE(e[0].ran && e[1].ran);
  EXPECT_EQ(e[0].evaluations, e[1].evaluations);
  for (int i = 0; i < e[0].layers; ++i) {
    for (auto range : {&orv::LayerRanges::rho, &orv::LayerRanges::h, &orv::LayerRanges::s,
                       &orv::LayerRanges::t}) {
      EXPECT_EQ((e[0].layer[i].*range).min, (e[1].layer[i].*range).min) << i;
      EXPECT_EQ((e[0].layer[i].*range).max, (e[1].layer[i].*range).max) << i;
    }
  }
}

TEST(Equivalence, AThinConductorIsPinnedByItsConductanceOnlyAndUnboundedBelow) {
  Fixture f;
  fit_test::noisyComposite(f.s, {{100, 5, 100}, {10, 12}}, 0, 34, 0.02);
  setModel(f.s, {100, 5, 100}, {10, 12});
  const orv::EquivalenceOutcome e = orv::equivalenceRangesCore(f.s, 0.1);
  ASSERT_TRUE(e.ran);
  const orv::LayerRanges& mid = e.layer[1];
  EXPECT_LT(mid.s.max / mid.s.min, 1.3);
  // Thinner and more conductive at once, to the factor 10^4 and on.
  EXPECT_EQ(mid.rho.min, 0.0);
  EXPECT_EQ(mid.h.min, 0.0);
  EXPECT_TRUE(std::isfinite(mid.rho.max));
  EXPECT_TRUE(std::isinf(e.layer[2].h.min) && std::isinf(e.layer[2].t.max));
  const orv::RangeRows rows = orv::equivalenceRows(e, 1);
  EXPECT_EQ(rows.first.find("ρ neomezeno – "), 0u) << rows.first;
}

TEST(Equivalence, AnExactCurveOrNoToleranceGivesPointsAndFixedValuesStay) {
  struct Point {
    double q;
    double noise;
    bool fix;
  };
  for (const Point& p : {Point{0.0, 0.02, false}, Point{-1.0, 0.02, false}, Point{0.1, 0.0, false},
                         Point{0.1, 0.02, true}}) {
    Fixture f;
    fit_test::noisyComposite(f.s, {{30, 300, 60}, {4, 20}}, 0, 29, p.noise);
    setModel(f.s, {30, 300, 60}, {4, 20});
    if (p.fix) f.s.rhoFixed[0] = f.s.rhoFixed[1] = f.s.rhoFixed[2] = 1;
    const orv::EquivalenceOutcome e = orv::equivalenceRangesCore(f.s, p.q);
    ASSERT_TRUE(e.ran);
    EXPECT_DOUBLE_EQ(e.limit, (1.0 + std::max(p.q, 0.0)) * e.bestMisfit);
    for (int i = 0; i < 3; ++i) {
      const orv::ValueRange& r = e.layer[i].rho;
      if (p.fix || p.q <= 0.0) {
        EXPECT_EQ(r.min, f.s.modelRho[i]);
        EXPECT_EQ(r.max, f.s.modelRho[i]);
      } else {
        EXPECT_LE(r.max / r.min, 1.001);  // an exact fit has no room
      }
    }
    if (p.fix) {
      EXPECT_EQ(f.s.modelRho[1], 300.0f);
    }
  }
}

TEST(EquivalenceCommand, StoppedLeavesEverythingAsItWasAndFinishedWritesTheLimit) {
  for (int stopAt : {1, 4, 0}) {
    Fixture f;
    fit_test::noisyComposite(f.s, {{30, 300, 60}, {4, 20}}, 0, 29, 0.03);
    setModel(f.s, {40, 200, 50}, {5, 15});
    f.s.fromSection = true;
    f.dialogs.stopProgressAt(stopAt);
    orv::showEquivalenceRanges(f.session);
    ASSERT_EQ(f.dialogs.progressTitles().size(), 1u);
    EXPECT_EQ(f.dialogs.progressTitles()[0], "Rozsahy ekvivalence");
    EXPECT_TRUE(f.dialogs.messages().empty());
    const auto header =
        std::find_if(f.canvas.texts.begin(), f.canvas.texts.end(),
                     [](const auto& t) { return t.text.find("× SSQ") != std::string::npos; });
    if (stopAt > 0) {
      EXPECT_EQ(f.dialogs.progressSteps(), stopAt);
      EXPECT_EQ(f.s.modelRho[1], 200.0f);
      EXPECT_EQ(f.s.modelDepth[0], 5.0f);
      EXPECT_EQ(header, f.canvas.texts.end());
      continue;
    }
    ASSERT_NE(header, f.canvas.texts.end());
    EXPECT_EQ(header->text, "(1 + 0.1) × SSQ = " + orv::cformat("%.6f", 1.1 * f.s.modelFitError));
    EXPECT_NE(f.s.modelRho[1], 200.0f);
    EXPECT_EQ(f.section.stored, 1);
  }
}

}  // namespace
