#include "core/interpretation/parameter_uncertainty.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "base/c_format.h"
#include "commands/curve/auto_model_command.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/parameter_uncertainty_command.h"
#include "commands/curve/thorough_fit_command.h"
#include "core/interpretation/auto_model.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/thorough_fit.h"
#include "tests/core/interpretation/fit_references.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using fit_test::Layers;
using numerics_test::Fixture;
using numerics_test::setModel;

// The model's curve on cells 0..32 with Gaussian noise of sigma in ln rho_a.
void noisyCurve(orv::CurveWindowState& s, const Layers& truth, std::mt19937& random, double sigma) {
  numerics_test::compositeFromModel(s, truth.rho, truth.depth, 0, 32);
  std::normal_distribution<double> noise(0.0, sigma);
  for (int g = 0; g <= 32; ++g) s.mergedRho[g][0] *= static_cast<float>(std::exp(noise(random)));
}

// The reference is the scatter of the parameters over 200 re-fits of the
// same model to curves with fresh noise of the same size.
TEST(ParameterUncertainty, FactorsAndCorrelationsMatchTheScatterOfNoisyRefits) {
  const Layers truth{{100, 20, 300}, {4, 25}};
  const double sigma = 0.01;
  std::mt19937 random(7);
  Fixture f;
  noisyCurve(f.s, truth, random, sigma);
  setModel(f.s, truth.rho, truth.depth);
  const orv::UncertaintyOutcome u = orv::parameterUncertaintyCore(f.s);
  ASSERT_TRUE(u.ran && u.enoughCells);
  ASSERT_EQ(u.parameters.size(), 5u);
  EXPECT_EQ(u.cells, 33);

  const size_t n = u.parameters.size();
  std::vector<std::vector<double>> samples(n);
  Fixture g;
  for (int k = 0; k < 200; ++k) {
    noisyCurve(g.s, truth, random, sigma);
    setModel(g.s, truth.rho, truth.depth);
    ASSERT_TRUE(orv::fitToMinimumCore(g.s).ran);
    for (size_t p = 0; p < n; ++p) {
      const int i = u.parameters[p].layer;
      const double h = i == 0 ? g.s.modelDepth[0] : g.s.modelDepth[i] - g.s.modelDepth[i - 1];
      samples[p].push_back(std::log(u.parameters[p].isRho ? g.s.modelRho[i] : h));
    }
  }
  auto mean = [](const std::vector<double>& v) {
    double m = 0.0;
    for (double x : v) m += x / v.size();
    return m;
  };
  auto covariance = [&](size_t a, size_t b) {
    const double ma = mean(samples[a]), mb = mean(samples[b]);
    double c = 0.0;
    for (size_t k = 0; k < samples[a].size(); ++k)
      c += (samples[a][k] - ma) * (samples[b][k] - mb) / (samples[a].size() - 1);
    return c;
  };
  for (size_t a = 0; a < n; ++a) {
    const double scatter = std::sqrt(covariance(a, a));
    EXPECT_NEAR(std::log(u.parameters[a].factor) / scatter, 1.0, 0.3) << a;
    for (size_t b = 0; b < n; ++b) {
      const double r = covariance(a, b) / std::sqrt(covariance(a, a) * covariance(b, b));
      EXPECT_NEAR(u.correlation[a * n + b], r, 0.15) << a << " " << b;
    }
  }
}

TEST(ParameterUncertaintyCommand, ReportsAfterTheFitAndSaysWhatIsNotResolved) {
  Fixture f;
  fit_test::noisyComposite(f.s, {{100, 20, 300}, {4, 15}}, 0, 29, 0.02);
  setModel(f.s, {80, 30, 250}, {5, 12});
  orv::showParameterUncertainty(f.session);
  ASSERT_EQ(f.dialogs.reports().size(), 1u);
  const std::string& report = f.dialogs.reports()[0];
  EXPECT_EQ(report.find("Nejistota parametrů|SSQ = " + orv::cformat("%.6f", f.s.modelFitError)),
            0u);
  for (const char* row : {"ρ1", "h2", "ρ3", "×/÷ 1.", "Korelační matice"})
    EXPECT_NE(report.find(row), std::string::npos) << row;
  // Fewer cells than free parameters: no noise can be told from them.
  Fixture few;
  fit_test::noisyComposite(few.s, {{100, 20, 300}, {4, 15}}, 10, 13, 0.02);
  setModel(few.s, {100, 20, 300}, {4, 15});
  orv::showParameterUncertainty(few.session);
  ASSERT_EQ(few.dialogs.reports().size(), 1u);
  EXPECT_NE(few.dialogs.reports()[0].find("méně bodů"), std::string::npos);
}

// Long work stopped at its k-th step leaves the model, its curve and the
// picture's state as they were before the command.
TEST(LongWork, StoppedCommandsLeaveTheModelAsItWas) {
  struct Road {
    const char* title;
    void (*command)(orv::CurveSession&);
    int stopAt;
  };
  for (const Road& road : {Road{"Důkladná optimalizace", orv::thoroughFit, 1},
                           Road{"Nejistota parametrů", orv::showParameterUncertainty, 1},
                           Road{"Automatický model", orv::autoModel, 2}}) {
    Fixture f;
    fit_test::noisyComposite(f.s, {{100, 20, 300, 50}, {3, 10, 40}}, 0, 29, 0.02);
    setModel(f.s, {150, 10, 150, 80}, {2, 15, 30});
    f.s.rhoFixed[3] = 1;
    ASSERT_TRUE(orv::computeForward(f.session, false));
    const double before = f.s.modelFitError;
    f.dialogs.answer("4");
    f.dialogs.stopProgressAt(road.stopAt);
    road.command(f.session);
    EXPECT_EQ(f.dialogs.progressTitles(), std::vector<std::string>{road.title});
    EXPECT_EQ(f.dialogs.progressSteps(), road.stopAt) << road.title;
    EXPECT_TRUE(f.dialogs.reports().empty()) << road.title;
    EXPECT_TRUE(f.dialogs.messages().empty()) << road.title;
    EXPECT_EQ(f.s.modelBoundaryCount, 3);
    EXPECT_EQ(f.s.modelRho[0], 150.0f) << road.title;
    EXPECT_EQ(f.s.modelDepth[1], 15.0f) << road.title;
    EXPECT_EQ(f.s.rhoFixed[3], 1) << road.title;
    EXPECT_EQ(f.s.modelFitError, before) << road.title;
    EXPECT_TRUE(f.s.computedCurveValid) << road.title;
    EXPECT_EQ(orv::misfitSSQ(f.s), before) << road.title;
  }
}

}  // namespace
