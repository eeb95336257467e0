#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "interpretation/forward_problem.h"
#include "interpretation/inversion.h"
#include "numerics_support.h"

namespace {

using numerics_test::compositeFromModel;
using numerics_test::Fixture;
using numerics_test::setModel;

void prepare(Fixture& f) {
  compositeFromModel(f.s, {20, 200, 50}, {5, 25}, 0, 29);
  setModel(f.s, {26, 140, 65}, {6.5, 17.5});
}

TEST(OptimiseCommand, ImprovesDrawsTheModelAndTheCurve) {
  Fixture f;
  prepare(f);
  orv::optimiseModel(f.session);
  EXPECT_TRUE(f.s.modelActive);
  EXPECT_TRUE(f.s.computedCurveValid);
  EXPECT_LT(f.s.modelFitError, 1e-3);
  ASSERT_FALSE(f.canvas.texts.empty());
  EXPECT_EQ(f.section.stored, 0);
  EXPECT_TRUE(f.dialogs.messages().empty());
}

TEST(OptimiseCommand, WritesASectionSoundingBack) {
  Fixture f;
  prepare(f);
  f.s.fromSection = true;
  orv::optimiseModel(f.session);
  EXPECT_EQ(f.section.stored, 1);
}

TEST(OptimiseCommand, AModelThatCannotBeComputedIsReportedAndKept) {
  Fixture f;
  prepare(f);
  f.s.fromSection = true;
  f.s.modelRho[1] = std::numeric_limits<float>::quiet_NaN();
  orv::optimiseModel(f.session);
  ASSERT_EQ(f.dialogs.messages().size(), 1u);
  EXPECT_EQ(f.dialogs.messages()[0], orv::ForwardFailedMessage);
  EXPECT_EQ(f.s.modelRho[0], 26.0f);
  EXPECT_EQ(f.s.modelDepth[0], 6.5f);
  EXPECT_FALSE(f.s.computedCurveValid);
  EXPECT_EQ(f.section.stored, 0);
}

TEST(OptimiseCommand, ZeroResistivityIsShownButNotInverted) {
  Fixture f;
  prepare(f);
  f.s.modelRho[1] = 0.0f;
  orv::optimiseModel(f.session);
  EXPECT_TRUE(f.dialogs.messages().empty());
  EXPECT_EQ(f.s.modelRho[1], 0.0f);
  EXPECT_EQ(f.s.modelRho[0], 26.0f);
  EXPECT_TRUE(f.s.computedCurveValid);
}

TEST(RunButton, ShowsTheTransferButtonUnlessFromTheSection) {
  Fixture a;
  prepare(a);
  orv::spustitClick(a.session);
  EXPECT_TRUE(a.chrome.transferVisible);
  Fixture b;
  prepare(b);
  b.s.fromSection = true;
  orv::spustitClick(b.session);
  EXPECT_FALSE(b.chrome.transferVisible);
}

TEST(RunButton, WidensTheViewToTheModel) {
  Fixture f;
  prepare(f);
  f.s.logRhoMin = 1.5f;  // 31.6 ohm.m: the top layer's 20 lies beyond
  f.s.logRhoMax = 2.0f;  // 100 ohm.m: the second layer's 200 too
  f.s.logAbMin = 0.0f;
  f.s.logAbMax = 1.0f;  // 10 m: the second interface at 25 m lies beyond
  orv::spustitClick(f.session);
  float lowRho = 10, highRho = -10, lowDepth = 10, highDepth = -10;
  for (int i = 0; i <= 2; ++i) {
    lowRho = std::min(lowRho, static_cast<float>(std::log10(static_cast<double>(f.s.modelRho[i]))));
    highRho =
        std::max(highRho, static_cast<float>(std::log10(static_cast<double>(f.s.modelRho[i]))));
  }
  for (int i = 0; i < 2; ++i) {
    lowDepth =
        std::min(lowDepth, static_cast<float>(std::log10(static_cast<double>(f.s.modelDepth[i]))));
    highDepth =
        std::max(highDepth, static_cast<float>(std::log10(static_cast<double>(f.s.modelDepth[i]))));
  }
  EXPECT_EQ(f.s.logRhoMin, lowRho);
  EXPECT_EQ(f.s.logRhoMax, highRho);
  EXPECT_EQ(f.s.logAbMin, 0.0f);  // the first interface lies inside
  EXPECT_EQ(f.s.logAbMax, highDepth);
}

TEST(RunButton, LockedViewStaysAsItIs) {
  Fixture f;
  prepare(f);
  f.s.lockCurveScale = true;
  f.s.logRhoMin = 1.5f;
  f.s.logRhoMax = 2.0f;
  orv::spustitClick(f.session);
  EXPECT_EQ(f.s.logRhoMin, 1.5f);
  EXPECT_EQ(f.s.logRhoMax, 2.0f);
}

}  // namespace
