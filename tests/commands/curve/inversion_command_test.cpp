#include "commands/curve/inversion_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"
#include "tests/core/interpretation/numerics_support.h"

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
  EXPECT_EQ(f.dialogs.messages()[0],
            "Model má vrstvu s nekladnou nebo neplatnou rezistivitou - optimalizace neproběhla.");
  EXPECT_EQ(f.s.modelRho[0], 26.0f);
  EXPECT_EQ(f.s.modelDepth[0], 6.5f);
  EXPECT_FALSE(f.s.computedCurveValid);
  EXPECT_EQ(f.section.stored, 0);
}

TEST(OptimiseCommand, ZeroResistivityIsRefusedWithItsReason) {
  Fixture f;
  prepare(f);
  f.s.modelRho[1] = 0.0f;
  orv::optimiseModel(f.session);
  EXPECT_EQ(
      f.dialogs.messages(),
      std::vector<std::string>{
          "Model má vrstvu s nekladnou nebo neplatnou rezistivitou - optimalizace neproběhla."});
  EXPECT_EQ(f.s.modelRho[1], 0.0f);
  EXPECT_EQ(f.s.modelRho[0], 26.0f);
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

// A model the inversion cannot take is refused with its reason, and neither
// the model nor the section point changes.
struct RefusalCase {
  const char* name;
  std::vector<double> rho;
  std::vector<double> depth;
  const char* message;
};

TEST(OptimiseCommand, EveryRefusedModelSaysWhyAndStaysAsItIs) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const RefusalCase cases[] = {
      // Corners clicked onto each other give layers without thickness.
      {"corner on corner",
       {26, 140, 65},
       {6.5, 6.5},
       "Model má vrstvu nulové mocnosti - optimalizace neproběhla."},
      {"interface at the surface",
       {26, 140, 65},
       {0.0, 17.5},
       "Model má vrstvu nulové mocnosti - optimalizace neproběhla."},
      {"crossed interfaces",
       {26, 140, 65},
       {17.5, 6.5},
       "Model má vrstvu záporné mocnosti (rozhraní se kříží) - optimalizace neproběhla."},
      {"depth not a number",
       {26, 140, 65},
       {6.5, nan},
       "Model má neplatnou hloubku rozhraní - optimalizace neproběhla."},
      {"infinite resistivity",
       {26, inf, 65},
       {6.5, 17.5},
       "Model má vrstvu s nekladnou nebo neplatnou rezistivitou - optimalizace neproběhla."},
      {"negative resistivity",
       {26, 140, -65},
       {6.5, 17.5},
       "Model má vrstvu s nekladnou nebo neplatnou rezistivitou - optimalizace neproběhla."},
      {"nothing built", {0}, {}, "Není vytvořen žádný model - optimalizace neproběhla."},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    compositeFromModel(f.s, {20, 200, 50}, {5, 25}, 0, 29);
    setModel(f.s, c.rho, c.depth);
    f.s.fromSection = true;
    orv::ZeroedBlock<orv::CurveWindowState> kept;
    const orv::CurveWindowState& before = *kept;
    *kept = f.s;
    orv::optimiseModel(f.session);
    EXPECT_EQ(f.dialogs.messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(f.section.stored, 0);
    for (size_t i = 0; i < c.rho.size(); ++i)
      EXPECT_EQ(std::memcmp(&f.s.modelRho[i], &before.modelRho[i], sizeof(float)), 0) << i;
    for (size_t i = 0; i < c.depth.size(); ++i)
      EXPECT_EQ(std::memcmp(&f.s.modelDepth[i], &before.modelDepth[i], sizeof(float)), 0) << i;
    EXPECT_EQ(f.s.modelBoundaryCount, before.modelBoundaryCount);
  }
}

}  // namespace
