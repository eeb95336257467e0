// orv-cli invert with the thorough fit, the equivalence rows and the
// automatic model.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/support/fixture_path.h"

namespace {

using cli_test::CliRun;
using cli_test::readAll;
using cli_test::run;

using cli_test::Table;
using cli_test::table;

double ssqOf(const Table& rows) {
  for (const auto& r : rows)
    if (r.size() == 2 && r[0] == "SSQ") return std::stod(r[1]);
  return -1.0;
}

const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");
const std::string kModel = " --rho 100,30,300,50 --depth 2,10,40";

TEST(OrvCliFit, ThoroughNeverEndsAboveThePlainRun) {
  ASSERT_TRUE(orv_test::fixturePresent(kSample));
  const CliRun plain = run("invert " + kSample + kModel);
  const CliRun thorough = run("invert " + kSample + kModel + " --thorough");
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_EQ(thorough.status, 0) << thorough.err;
  const Table a = table(plain.out), b = table(thorough.out);
  ASSERT_EQ(a.size(), b.size());
  EXPECT_LE(ssqOf(b), ssqOf(a));
  EXPECT_GT(ssqOf(b), 0.0);
}

TEST(OrvCliFit, EquivalenceRowsFollowTheModelAndHoldItsValues) {
  // The ranges are around the thorough fit's minimum, which is what is printed.
  const CliRun thorough = run("invert " + kSample + kModel + " --thorough");
  for (const char* extra : {" --equivalence", " --thorough --equivalence"}) {
    const CliRun r = run("invert " + kSample + kModel + extra);
    ASSERT_EQ(r.status, 0) << r.err;
    const Table rows = table(r.out);
    ASSERT_EQ(rows.size(), 1u + 4u + 1u + 1u + 4u) << r.out;
    EXPECT_EQ(ssqOf(rows), ssqOf(table(thorough.out)));
    EXPECT_EQ(rows[6], (std::vector<std::string>{"range", "layer", "rho_min", "rho_max", "h_min",
                                                 "h_max", "s_min", "s_max", "t_min", "t_max"}));
    double above = 0.0;
    for (int i = 0; i < 4; ++i) {
      const auto& model = rows[1 + i];
      const auto& range = rows[7 + i];
      ASSERT_EQ(range.size(), 10u);
      EXPECT_EQ(range[0], "range");
      EXPECT_EQ(range[1], std::to_string(i));
      const double rho = std::stod(model[1]);
      EXPECT_LE(std::stod(range[2]), rho * 1.0001);
      EXPECT_GE(std::stod(range[3]), rho * 0.9999);
      if (i == 3) {
        EXPECT_EQ(range[4], "inf");
        EXPECT_EQ(range[9], "inf");
        continue;
      }
      const double h = std::stod(model[2]) - above;
      above = std::stod(model[2]);
      EXPECT_LE(std::stod(range[4]), h * 1.0001);
      EXPECT_GE(std::stod(range[5]), h * 0.9999);
      EXPECT_LE(std::stod(range[6]), std::stod(range[7]));
      EXPECT_LE(std::stod(range[8]), std::stod(range[9]));
    }
  }
}

TEST(OrvCliFit, UncertaintyRowsFollowTheMinimumAndAFailedFitIsOneLineWithStatusZero) {
  const CliRun r = run("invert " + kSample + kModel + " --equivalence --uncertainty");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  const Table rows = table(r.out);
  ASSERT_EQ(rows.size(), 6u + 5u + 1u + 7u + 1u + 7u) << r.out;
  EXPECT_EQ(rows[11], (std::vector<std::string>{"uncertainty", "parameter", "value", "factor"}));
  EXPECT_EQ(rows[12][1], "rho0");
  EXPECT_EQ(rows[12][2], rows[1][1]);  // the model printed is the one described
  EXPECT_EQ(rows[13][1], "h0");
  EXPECT_EQ(rows[13][2], rows[1][2]);
  EXPECT_GT(std::stod(rows[12][3]), 1.0);
  EXPECT_EQ(rows[19][0], "correlation");
  EXPECT_EQ(rows[20][2], "1");

  // Interfaces held kilometres below what the curve sees.
  const CliRun deep =
      run("invert " + kSample + " --rho 300,30,600 --depth 9000,11000 --fix-depth 0,1 --thorough");
  EXPECT_EQ(deep.status, 0) << deep.err;
  EXPECT_EQ(deep.err.find("orv-cli: Optimalizace nenašla dobrý model (2 rozhraní od hloubky"), 0u)
      << deep.err;
  EXPECT_EQ(deep.err.find('\n'), deep.err.size() - 1);
  EXPECT_NE(deep.err.find("Zkuste Automatický model (Ctrl+Alt+A)."), std::string::npos);
  EXPECT_EQ(table(deep.out).size(), 5u);
}

TEST(OrvCliFit, AutoBuildsTheAskedNumberOfLayers) {
  for (int layers : {2, 4, 6}) {
    const CliRun r = run("invert " + kSample + " --auto " + std::to_string(layers));
    ASSERT_EQ(r.status, 0) << r.err;
    const Table rows = table(r.out);
    ASSERT_EQ(rows.size(), static_cast<size_t>(layers) + 2);
    EXPECT_EQ(rows[layers][2], "inf");
    EXPECT_GT(ssqOf(rows), 0.0);
  }
  const CliRun plain = run("invert " + kSample + kModel + " --thorough");
  const CliRun automatic = run("invert " + kSample + " --auto 4");
  EXPECT_LE(ssqOf(table(automatic.out)), 2.0 * ssqOf(table(plain.out)));
}

TEST(OrvCliFit, BadUseIsOneLineAndStatusTwo) {
  for (const std::string args :
       {"invert SAMPLE --auto 1", "invert SAMPLE --auto 31", "invert SAMPLE --auto x",
        "invert SAMPLE --auto", "invert SAMPLE --auto 4 --rho 1,2 --depth 1",
        "invert SAMPLE --auto 4 --fix-rho 0", "merge SAMPLE --thorough",
        "forward --rho 1,2 --depth 1 --cells 0:5 --equivalence", "invert SAMPLE --thorough"}) {
    std::string a = args;
    a.replace(a.find("SAMPLE") == std::string::npos ? 0 : a.find("SAMPLE"),
              a.find("SAMPLE") == std::string::npos ? 0 : 6, kSample);
    const CliRun r = run(a);
    EXPECT_EQ(r.status, 2) << a;
    EXPECT_TRUE(r.out.empty()) << a;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
}

TEST(OrvCliFit, HelpTellsTheNewOptions) {
  const CliRun r = run("--help");
  for (const char* word : {"--thorough", "--equivalence", "--auto N", "rho_min", "--uncertainty"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

}  // namespace
