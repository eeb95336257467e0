#include "core/interpretation/fit_verdict.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "commands/curve/auto_model_command.h"
#include "commands/curve/inversion_command.h"
#include "commands/curve/thorough_fit_command.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"
#include "core/interpretation/thorough_fit.h"
#include "tests/core/interpretation/fit_references.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using fit_test::Layers;
using numerics_test::Fixture;
using numerics_test::setModel;

const char* const kAdvice = "). Zkuste Automatický model (Ctrl+Alt+A).";

// The curve reaches AB/2 = 1850 m (cell 29): interfaces below 5571 m, and
// resistivities outside 0.001 .. 10^6 ohm.m, are not the curve's.
TEST(FailedFit, SaysWhatWentWrongAndOnlyThen) {
  struct Case {
    Layers model;
    double before;       // misfit before the fit; NaN: not compared
    const char* reason;  // nullptr: nothing to say
  };
  const Case cases[] = {
      {{{30, 300, 60}, {4, 20}}, NAN, nullptr},
      {{{30, 300, 60}, {4, 5600}},
       NAN,
       "rozhraní v hloubce 5600 m leží pod trojnásobkem největšího AB/2 (3 × 1850 m)"},
      {{{30, 300, 60, 80}, {4, 10600, 20000}}, NAN, "2 rozhraní od hloubky 1.06e+04 m"},
      {{{30, 2e6, 60}, {4, 20}}, NAN, "rezistivita vrstvy 2 je 2e+06 ohm.m"},
      {{{30, 300, 0.0005}, {4, 20}}, NAN, "rezistivita vrstvy 3 je 0.0005 ohm.m"},
      {{{30, 300, 60}, {4, 20}}, 1e-9, "SSQ se zvětšilo z 0.000000 na "},
  };
  for (const Case& c : cases) {
    Fixture f;
    fit_test::noisyComposite(f.s, {{30, 300, 60}, {4, 20}}, 0, 29, 0.02);
    setModel(f.s, c.model.rho, c.model.depth);
    ASSERT_TRUE(orv::computeForwardValues(f.s, false));
    f.s.modelFitError = orv::misfitSSQ(f.s);
    const std::string reasons = orv::failedFitReasons(f.s, c.before);
    if (!c.reason) {
      EXPECT_EQ(reasons, "");
      continue;
    }
    EXPECT_NE(reasons.find(c.reason), std::string::npos) << reasons;
    EXPECT_EQ(orv::failedFitMessage(reasons),
              "Optimalizace nenašla dobrý model (" + reasons + kAdvice);
  }
}

// A K-type curve with an H-type model whose interfaces are held where the
// curve cannot see them: the inversion runs, and the user is told once.
TEST(FailedFit, TheCommandsSayItAfterTheirFitAndAGoodFitIsQuiet) {
  for (bool deep : {true, false}) {
    for (void (*command)(orv::CurveSession&) : {orv::optimiseModel, orv::thoroughFit}) {
      Fixture f;
      fit_test::noisyComposite(f.s, {{30, 300, 60}, {4, 20}}, 0, 29, 0.02);
      if (deep) {
        setModel(f.s, {300, 30, 600}, {9000, 11000});
        f.s.depthFixed[0] = f.s.depthFixed[1] = 1;
      } else {
        setModel(f.s, {40, 200, 50}, {5, 15});
      }
      command(f.session);
      if (!deep) {
        EXPECT_TRUE(f.dialogs.messages().empty());
        continue;
      }
      ASSERT_EQ(f.dialogs.messages().size(), 1u);
      EXPECT_EQ(f.dialogs.messages()[0].find("Optimalizace nenašla dobrý model (2 rozhraní od "
                                             "hloubky 9000 m"),
                0u)
          << f.dialogs.messages()[0];
      EXPECT_EQ(f.s.modelDepth[0], 9000.0f);
    }
  }
}

// A two-layer automatic model fits the three-layer curve worse than the
// three-layer model it replaces: fewer layers, not a failed fit.
TEST(FailedFit, TheAutomaticModelIsNotBlamedForFittingWorseWithFewerLayers) {
  Fixture f;
  fit_test::noisyComposite(f.s, {{30, 300, 60}, {4, 20}}, 0, 29, 0.02);
  setModel(f.s, {30, 300, 60}, {4, 20});
  ASSERT_TRUE(orv::computeForwardValues(f.s, false));
  f.s.computedCurveValid = true;
  const double replaced = orv::misfitSSQ(f.s);
  f.dialogs.answer("2");
  orv::autoModel(f.session);
  EXPECT_GT(f.s.modelFitError, 2 * replaced);
  EXPECT_TRUE(f.dialogs.messages().empty()) << f.dialogs.messages()[0];
}

}  // namespace
