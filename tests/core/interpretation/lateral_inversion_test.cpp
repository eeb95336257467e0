// The laterally constrained inversion against a synthetic profile whose
// earth is known: a gently dipping three-layer earth under 30 soundings.
#include "core/interpretation/lateral_inversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/zeroed_block.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

using orv::LateralSounding;

constexpr int kSoundings = 30;
constexpr double kSpacing = 10.0;  // m

// The true earth under sounding p: 100 ohm.m over a 20 ohm.m layer over a
// 400 ohm.m basement, the interfaces dipping from 5 to 7 m and 15 to 24 m.
void trueEarth(int p, double* rho, double* depth) {
  const double t = static_cast<double>(p) / (kSoundings - 1);
  rho[0] = 100.0, rho[1] = 20.0, rho[2] = 400.0;
  depth[0] = 5.0 + 2.0 * t;
  depth[1] = 15.0 + 9.0 * t;
}

// Gaussian noise of a fixed seed, by Box-Muller (the same numbers everywhere).
double gaussian(std::mt19937& random) {
  const double u = (random() + 0.5) / 4294967296.0, v = (random() + 0.5) / 4294967296.0;
  return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
}

// The profile with relative noise `noise` (sounding `noisy` three times as
// noisy), each sounding starting from a model 25 % off the truth.
std::vector<LateralSounding> syntheticProfile(orv::CurveWindowState& s, double noise, int noisy) {
  std::mt19937 random(29);
  std::vector<LateralSounding> out(kSoundings);
  for (int p = 0; p < kSoundings; ++p) {
    LateralSounding& snd = out[p];
    snd.chainage = p * kSpacing;
    snd.n = 2;
    snd.firstCell = 0;
    snd.lastCell = 22;  // AB/2 1 m to 300 m
    double rho[3], depth[2];
    trueEarth(p, rho, depth);
    numerics_test::compositeFromModel(s, {rho[0], rho[1], rho[2]}, {depth[0], depth[1]}, 0, 22);
    const double sigma = p == noisy ? 3 * noise : noise;
    for (int g = 0; g <= 22; ++g)
      snd.composite[g] = static_cast<float>(s.mergedRho[g][0] * std::exp(sigma * gaussian(random)));
    for (int k = 0; k < 3; ++k) snd.rho[k] = rho[k] * (k == 1 ? 1.25 : 0.8);
    for (int k = 0; k < 2; ++k) snd.depth[k] = depth[k] * 1.25;
  }
  return out;
}

double depthRmsError(const std::vector<LateralSounding>& fit, int interface) {
  double sum = 0.0;
  for (int p = 0; p < kSoundings; ++p) {
    double rho[3], depth[2];
    trueEarth(p, rho, depth);
    const double e = std::log(fit[p].depth[interface] / depth[interface]);
    sum += e * e;
  }
  return std::sqrt(sum / kSoundings);
}

TEST(LateralInversion, RecoversDippingInterfacesBetterThanFitsAloneWithoutASpike) {
  orv::ZeroedBlock<orv::CurveWindowState> s;
  constexpr int kNoisy = 14;
  const std::vector<LateralSounding> start = syntheticProfile(*s, 0.03, kNoisy);
  orv::LateralSettings settings;  // S = 0.5, noise 3 %
  std::vector<LateralSounding> alone = start;
  const orv::LateralOutcome a = orv::independentInversions(alone, *s, settings);
  std::vector<LateralSounding> joint = alone;
  const orv::LateralOutcome j = orv::lateralInversion(joint, *s, settings);
  ASSERT_TRUE(a.ran && j.ran);
  for (int interface : {0, 1}) {
    const double independent = depthRmsError(alone, interface);
    const double lateral = depthRmsError(joint, interface);
    std::printf("interface %d: RMS ln error alone %.4f, laterally constrained %.4f\n", interface,
                independent, lateral);
    EXPECT_LT(lateral, independent);
  }
  // The noisier sounding stays in line with its neighbours: no spike.
  for (int interface : {0, 1}) {
    const double neighbours =
        std::sqrt(joint[kNoisy - 1].depth[interface] * joint[kNoisy + 1].depth[interface]);
    EXPECT_NEAR(std::log(joint[kNoisy].depth[interface] / neighbours), 0.0, 0.05) << interface;
  }
  // The joint fit explains the data about as well as the fits alone.
  std::printf("data misfit alone %.5f, joint %.5f\n", a.dataMisfit, j.dataMisfit);
  EXPECT_LT(j.dataMisfit, 1.5 * a.dataMisfit);
}

TEST(LateralInversion, HonoursFixesAndTightConstraintsFlatten) {
  orv::ZeroedBlock<orv::CurveWindowState> s;
  std::vector<LateralSounding> profile = syntheticProfile(*s, 0.03, -1);
  profile[3].depthFixed[1] = true;
  profile[3].depth[1] = 17.5;
  profile[9].rhoFixed[2] = true;
  profile[9].rho[2] = 333.0;
  orv::LateralSettings tight;
  tight.strength = 0.001;
  const orv::LateralOutcome r = orv::lateralInversion(profile, *s, tight);
  ASSERT_TRUE(r.ran);
  EXPECT_EQ(profile[3].depth[1], 17.5);
  EXPECT_EQ(profile[9].rho[2], 333.0);
  // Almost no change allowed: the dip of the deep interface is flattened.
  EXPECT_LT(profile[kSoundings - 1].depth[1] / profile[0].depth[1], 1.2);
  // Different layer counts are refused.
  profile[4].n = 3;
  EXPECT_FALSE(orv::lateralInversion(profile, *s, tight).ran);
}

TEST(LateralInversion, DeviationGrowsWithDistance) {
  EXPECT_DOUBLE_EQ(orv::lateralDeviation(0.5, 100.0), std::log(1.5));
  EXPECT_NEAR(orv::lateralDeviation(0.5, 0.0), std::log(1.005), 1e-15);
  EXPECT_LT(orv::lateralDeviation(0.5, 10.0), orv::lateralDeviation(0.5, 20.0));
}

}  // namespace
