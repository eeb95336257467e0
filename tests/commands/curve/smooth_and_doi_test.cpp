// The smooth inversion against a known smooth earth, and the depth of
// investigation against the physics of a resistive and a conductive basement.
#include <gtest/gtest.h>

#include <cmath>

#include "base/zeroed_block.h"
#include "commands/curve/smooth_inversion.h"
#include "core/interpretation/depth_of_investigation.h"
#include "core/interpretation/forward_problem.h"
#include "tests/core/interpretation/numerics_support.h"

namespace {

// A smooth earth: log10 rho rising from 1.5 at the surface to 2.5 below
// about 40 m, sampled in 29 thin layers.
double smoothEarth(double z) {
  return std::pow(10.0, 2.0 + 0.5 * std::tanh(std::log(z / 12.0)));
}

TEST(SmoothInversion, RecoversASmoothEarthWithinTheNoise) {
  orv::ZeroedBlock<orv::CurveWindowState> s;
  std::vector<double> rho, depth;
  for (int k = 0; k < 29; ++k) {
    const double d = 0.5 * std::pow(600.0, k / 28.0);
    depth.push_back(d);
    rho.push_back(smoothEarth(k == 0 ? d / 2 : std::sqrt(d * depth[k - 1])));
  }
  rho.push_back(smoothEarth(600.0));
  numerics_test::compositeFromModel(*s, rho, depth, 0, 26);
  for (int g = 0; g <= 26; ++g)
    s->mergedRho[g][0] *= static_cast<float>(std::exp(0.03 * std::sin(2.7 * g + 1.3)));
  s->rhoFixed[3] = 1;  // the smooth model comes with every fix cleared
  const orv::SmoothOutcome r = orv::smoothInversionCore(*s, 0.03);
  ASSERT_TRUE(r.ran);
  EXPECT_TRUE(r.reached);
  EXPECT_LE(r.misfit, r.target * 1.001);
  EXPECT_EQ(s->modelBoundaryCount, orv::SmoothLayerCount - 1);
  EXPECT_EQ(s->rhoFixed[3], 0);
  // Within a factor 1.35 of the earth from 2 m to 60 m, and smooth: no
  // neighbours more than a factor 1.5 apart.
  double above = 0.0;
  for (int k = 0; k < s->modelBoundaryCount; ++k) {
    const double mid = std::sqrt(std::max(above, 0.1) * s->modelDepth[k]);
    if (mid > 2.0 && mid < 60.0) {
      EXPECT_NEAR(std::log(s->modelRho[k] / smoothEarth(mid)), 0.0, std::log(1.35)) << mid;
    }
    EXPECT_NEAR(std::log(s->modelRho[k + 1] / s->modelRho[k]), 0.0, std::log(1.5)) << k;
    above = s->modelDepth[k];
  }
}

TEST(DepthOfInvestigation, FollowsWhatTheCurveSeesOfTheBasementAndOfAHalfSpace) {
  orv::ZeroedBlock<orv::CurveWindowState> scratch;
  orv::LayerModel m;
  m.n = 1;
  m.rho[0] = 100.0;
  m.h[0] = 20.0;
  double doi[2];
  const double basement[2] = {10.0, 1000.0};
  for (int i = 0; i < 2; ++i) {
    m.rho[1] = basement[i];
    doi[i] = orv::depthOfInvestigation(m, 0, 22, 0.03, *scratch);
    std::printf("basement %g ohm.m: DOI %.1f m\n", basement[i], doi[i]);
  }
  // The forward problem itself says which basement the curve sees deeper: at
  // AB/2 = 300 m, 10 -> 27.2 ohm.m moves the curve by a factor 2.7 (it has
  // reached the basement), 1000 -> 2718 ohm.m by 1.5 (the 45-degree rise of a
  // resistive basement is fixed by the conductance of the cover).
  EXPECT_GT(doi[0], doi[1]);
  // Both below the interface the curve sees clearly, and the half-space of the
  // cover alone is seen to about a third of the largest AB/2 (300 m).
  EXPECT_GT(doi[0], 20.0);
  EXPECT_GT(doi[1], 20.0);
  m.rho[1] = 100.0;
  EXPECT_NEAR(orv::depthOfInvestigation(m, 0, 22, 0.03, *scratch), 100.0, 60.0);
  EXPECT_EQ(orv::depthOfInvestigation(m, 5, 2, 0.03, *scratch), 0.0);
}

}  // namespace
