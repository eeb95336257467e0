#include "core/interpretation/auto_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "commands/curve/auto_model_command.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/kmt_file.h"
#include "core/curve/oax_file.h"
#include "core/curve/sas_file.h"
#include "core/interpretation/branch_merging.h"
#include "core/interpretation/forward_problem.h"
#include "core/interpretation/inversion.h"
#include "core/interpretation/thorough_fit.h"
#include "tests/core/interpretation/fit_references.h"
#include "tests/core/interpretation/numerics_support.h"
#include "tests/support/fixture_path.h"

namespace {

using fit_test::Layers;
using numerics_test::Fixture;
using numerics_test::setModel;

// What the fits reach from a given start: the inversion's run, then the
// thorough fit.
double fitFrom(orv::CurveWindowState& s, const Layers& start) {
  setModel(s, start.rho, start.depth);
  for (int i = 0; i < orv::FlagSlots; ++i)
    s.rhoFixed[i] = s.thicknessFixed[i] = s.depthFixed[i] = 0;
  orv::optimiseModelCore(s);
  const orv::ThoroughOutcome t = orv::thoroughFitCore(s);
  return t.ran ? t.endMisfit : HUGE_VAL;
}

void expectDrawableModel(const orv::CurveWindowState& s, int layers) {
  ASSERT_EQ(s.modelBoundaryCount, layers - 1);
  for (int i = 0; i < layers; ++i) {
    EXPECT_GT(s.modelRho[i], 0.0f) << i;
    EXPECT_TRUE(std::isfinite(s.modelRho[i])) << i;
    EXPECT_EQ(s.rhoFixed[i], 0);
  }
  for (int i = 0; i + 1 < layers; ++i) {
    EXPECT_GT(s.modelDepth[i], i == 0 ? 0.0f : s.modelDepth[i - 1]) << i;
    EXPECT_EQ(s.depthFixed[i], 0);
    EXPECT_EQ(s.thicknessFixed[i], 0);
  }
  EXPECT_EQ(orv::inversionRefusal(s), orv::InversionRefusal::None);
}

struct GeneratedCase {
  const char* name;
  Layers truth;
  int last;
};

const GeneratedCase kGenerated[] = {
    {"3: H", {{80, 10, 200}, {4, 15}}, 29},
    {"3: K", {{20, 400, 10}, {3, 20}}, 29},
    {"3: A", {{10, 60, 600}, {2, 12}}, 31},
    {"4: HK", {{100, 20, 300, 50}, {3, 10, 40}}, 29},
    {"4: QH", {{500, 100, 10, 200}, {2, 8, 30}}, 32},
    {"4: KH", {{30, 300, 20, 1000}, {2, 9, 35}}, 32},
    {"5", {{50, 400, 30, 150, 10}, {2, 6, 20, 60}}, 32},
    {"5: conductive base", {{200, 40, 500, 60, 5}, {1.5, 5, 15, 70}}, 34},
};

class AutoModelGenerated : public ::testing::TestWithParam<GeneratedCase> {};

TEST_P(AutoModelGenerated, ReachesTwiceWhatTheGeneratingModelReaches) {
  const GeneratedCase& c = GetParam();
  const int layers = static_cast<int>(c.truth.rho.size());
  Fixture ref;
  fit_test::noisyComposite(ref.s, c.truth, 0, c.last, 0.02);
  const double reference = fitFrom(ref.s, c.truth);
  ASSERT_GT(reference, 0.0);

  Fixture f;
  fit_test::noisyComposite(f.s, c.truth, 0, c.last, 0.02);
  f.s.modelBoundaryCount = 0;  // the curve alone
  const orv::AutoModelOutcome out = orv::autoModelCore(f.s, layers);
  ASSERT_TRUE(out.ran);
  EXPECT_GT(out.starts, 1);
  expectDrawableModel(f.s, layers);
  EXPECT_EQ(out.misfit, f.s.modelFitError);
  EXPECT_LE(out.misfit, 2.0 * reference) << c.name;
}

INSTANTIATE_TEST_SUITE_P(ThreeToFiveLayers, AutoModelGenerated, ::testing::ValuesIn(kGenerated));

TEST(AutoModel, SpareLayersStayWithinTheDepthsAndValuesOfTheCurve) {
  // Asked for more layers than the curve needs, the fit could park the spare
  // ones kilometres deep or at a thousandth of an ohm-metre for nothing.
  struct Case {
    Layers truth;
    int layers;
  };
  for (const Case& c :
       {Case{{{100, 20, 300, 50}, {3, 10, 40}}, 5}, Case{{{100, 20, 300, 50}, {3, 10, 40}}, 6},
        Case{{{80, 10, 200}, {4, 15}}, 5}}) {
    Fixture f;
    fit_test::noisyComposite(f.s, c.truth, 0, 29, 0.02);
    const double reference = fitFrom(f.s, c.truth);
    const orv::AutoModelOutcome out = orv::autoModelCore(f.s, c.layers);
    ASSERT_TRUE(out.ran);
    expectDrawableModel(f.s, c.layers);
    EXPECT_LE(out.misfit, 2.0 * reference) << c.layers;
    double low = HUGE_VAL, high = 0.0;
    for (int g = 0; g <= 29; ++g) {
      low = std::min(low, double(f.s.mergedRho[g][0]));
      high = std::max(high, double(f.s.mergedRho[g][0]));
    }
    EXPECT_LE(f.s.modelDepth[c.layers - 2], orv::gridAbscissa(29)) << c.layers;
    for (int i = 0; i < c.layers; ++i) {
      EXPECT_GE(f.s.modelRho[i], low / 30) << c.layers << " layer " << i;
      EXPECT_LE(f.s.modelRho[i], high * 30) << c.layers << " layer " << i;
    }
  }
}

// A sounding as the window loads it: read, derive, merge onto branch 2.
bool loadSample(Fixture& f, const std::string& name) {
  const std::string path = orv_test::fixturePath(name);
  const bool kmt = name.find(".kmt") != std::string::npos;
  orv::ReadingOrigin origin = orv::ReadingOrigin::Kmt;
  if (kmt) {
    if (orv::readKmtRecord(f.s, path.c_str(), 0).code != 1) return false;
  } else if (name.find(".sas") != std::string::npos) {
    if (orv::readSasData(f.s, path.c_str()).code == 0) return false;
    origin = orv::ReadingOrigin::Sas;
  } else {
    const orv::InstrumentReadResult r = orv::readOaxData(f.s, path.c_str());
    if (r.code == 0) return false;
    origin = r.ipHeader ? orv::ReadingOrigin::OaxWithIpHeader : orv::ReadingOrigin::PlainOax;
  }
  if (orv::deriveReadings(f.session, origin) != 1) return false;
  orv::resetInterpretation(f.session);
  orv::mergeBranchesCore(f.s, 2);
  return f.s.compositeReady;
}

class AutoModelSamples : public ::testing::TestWithParam<const char*> {};

// The reference is the best of many random four-layer starts over the
// curve's depths and resistivities, each carried through both fits.
TEST_P(AutoModelSamples, ReachesTwiceTheBestOfManyStarts) {
  Fixture f;
  ASSERT_TRUE(loadSample(f, GetParam())) << GetParam();
  const int first = f.s.gridMinIndex, last = f.s.gridMaxIndex;
  double lowRho = HUGE_VAL, highRho = 0.0;
  for (int g = first; g <= last; ++g) {
    const double v = f.s.mergedRho[g][0];
    if (v > 0) lowRho = std::min(lowRho, v), highRho = std::max(highRho, v);
  }
  std::mt19937 random(17);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto between = [&](double a, double b) { return a * std::pow(b / a, unit(random)); };
  double reference = HUGE_VAL;
  for (int start = 0; start < 40; ++start) {
    Layers m;
    std::vector<double> depths;
    for (int i = 0; i < 3; ++i)
      depths.push_back(between(orv::gridAbscissa(first) / 3, orv::gridAbscissa(last) / 1.5));
    std::sort(depths.begin(), depths.end());
    if (depths[1] < depths[0] * 1.2 || depths[2] < depths[1] * 1.2) continue;
    for (int i = 0; i < 4; ++i) m.rho.push_back(between(lowRho / 3, highRho * 3));
    m.depth = depths;
    reference = std::min(reference, fitFrom(f.s, m));
  }
  ASSERT_LT(reference, HUGE_VAL);
  const orv::AutoModelOutcome out = orv::autoModelCore(f.s, 4);
  ASSERT_TRUE(out.ran);
  expectDrawableModel(f.s, 4);
  EXPECT_LE(out.misfit, 2.0 * reference) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Fixtures, AutoModelSamples,
                         ::testing::Values("lhota-pf1.kmt", "oax-pf2/pf2_0.OAX",
                                           "oax-pf2/pf2_50.OAX", "oax-pf2/pf2_100.OAX",
                                           "pf3_bod17a.OAX", "profil-sas.sas"));

TEST(AutoModel, CountsOutsideTwoToThirtyAndMissingCurvesChangeNothing) {
  struct Case {
    int layers;
    bool curve;
    bool runs;
  };
  for (const Case& c : {Case{1, true, false}, Case{0, true, false}, Case{31, true, false},
                        Case{2, true, true}, Case{30, true, true}, Case{4, false, false}}) {
    Fixture f;
    fit_test::noisyComposite(f.s, {{80, 10, 200}, {4, 15}}, 0, 29, 0.02);
    if (!c.curve)
      for (int g = 0; g < orv::GridCells; ++g) f.s.mergedRho[g][0] = orv::EmptyCell;
    setModel(f.s, {26, 140, 65}, {5, 17.5});
    f.s.rhoFixed[1] = 1;
    const orv::AutoModelOutcome out = orv::autoModelCore(f.s, c.layers);
    EXPECT_EQ(out.ran, c.runs) << c.layers;
    if (c.runs) {
      expectDrawableModel(f.s, c.layers);
    } else {
      EXPECT_EQ(f.s.modelBoundaryCount, 2);
      EXPECT_EQ(f.s.modelRho[1], 140.0f);
      EXPECT_EQ(f.s.rhoFixed[1], 1);
    }
  }
}

TEST(AutoModelCommand, AsksTheCountAndShowsTheModelAsADrawnOne) {
  struct Case {
    const char* answer;  // nullptr: cancel
    int layers;          // 0: nothing built
    bool complaint;
  };
  for (const Case& c : {Case{"4", 4, false}, Case{" 3 ", 3, false}, Case{"x", 0, true},
                        Case{"1", 0, true}, Case{"2.5", 0, true}, Case{nullptr, 0, false}}) {
    Fixture f;
    fit_test::noisyComposite(f.s, {{100, 20, 300, 50}, {3, 10, 40}}, 0, 29, 0.02);
    f.s.fromSection = true;
    if (c.answer)
      f.dialogs.answer(c.answer);
    else
      f.dialogs.cancel();
    orv::autoModel(f.session);
    EXPECT_EQ(f.dialogs.messages().size(), c.complaint ? 1u : 0u) << c.answer;
    if (c.complaint) {
      EXPECT_EQ(f.dialogs.messages()[0], "Soustřeďte se (celé číslo)!");
    }
    if (c.layers > 0) {
      expectDrawableModel(f.s, c.layers);
      EXPECT_TRUE(f.s.modelActive);
      EXPECT_TRUE(f.s.computedCurveValid);
      EXPECT_TRUE(f.chrome.optimiseVisible);
      EXPECT_EQ(f.section.stored, 1);
    } else {
      EXPECT_EQ(f.s.modelBoundaryCount, 0);
      EXPECT_EQ(f.section.stored, 0);
    }
  }
  Fixture none;
  none.s.compositeReady = false;
  orv::autoModel(none.session);
  ASSERT_EQ(none.dialogs.messages().size(), 1u);
  EXPECT_EQ(none.dialogs.messages()[0].find("Nejprve si snes"), 0u);
}

}  // namespace
