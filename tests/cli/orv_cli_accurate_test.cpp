// orv-cli forward and invert with --accurate: the long filter from the
// command line.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
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

// The third column of each row after the header, by cell.
std::vector<double> rhoColumn(const std::string& out) {
  std::vector<double> rho;
  std::stringstream lines(out);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    std::stringstream cells(line);
    std::string cell, ab2, value;
    std::getline(cells, cell, '\t');
    std::getline(cells, ab2, '\t');
    std::getline(cells, value, '\t');
    rho.push_back(std::stod(value));
  }
  return rho;
}

TEST(OrvCliAccurate, ForwardOfTheSteepContrastIsExact) {
  const CliRun a = run("forward --rho 1000,1 --depth 10 --cells 0:27 --accurate");
  const CliRun s = run("forward --rho 1000,1 --depth 10 --cells 0:27");
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(s.status, 0) << s.err;
  const std::vector<double> accurate = rhoColumn(a.out);
  const std::vector<double> shortFilter = rhoColumn(s.out);
  ASSERT_EQ(accurate.size(), 28u);
  // Image-series values of 1000 ohm.m, 10 m over 1 ohm.m.
  const struct {
    int cell;
    double exact;
  } kExact[] = {{0, 999.77593}, {9, 831.44303}, {18, 1.0352495}, {24, 1.0011776}, {27, 1.0002475}};
  for (const auto& e : kExact) {
    EXPECT_NEAR(accurate[e.cell] / e.exact, 1.0, 1e-6) << e.cell;
  }
  // Without the switch the short filter dips below the lower layer.
  EXPECT_GT(std::fabs(shortFilter[27] / accurate[27] - 1.0), 0.3);
  EXPECT_EQ(a.err, "");
}

TEST(OrvCliAccurate, InvertTakesTheSwitch) {
  const std::string sample = orv_test::fixturePath("lhota-pf1.kmt");
  ASSERT_TRUE(orv_test::fixturePresent(sample));
  const CliRun a = run("invert " + sample + " --rho 100,30,300 --depth 3,20 --accurate");
  const CliRun s = run("invert " + sample + " --rho 100,30,300 --depth 3,20");
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(s.status, 0) << s.err;
  EXPECT_NE(a.out, s.out);
  EXPECT_NE(a.out.find("SSQ\t"), std::string::npos);
}

class OrvCliAccurateRefused : public ::testing::TestWithParam<const char*> {};

TEST_P(OrvCliAccurateRefused, IsAUsageError) {
  std::string args = GetParam();
  const size_t at = args.find("SAMPLE");
  if (at != std::string::npos) args.replace(at, 6, orv_test::fixturePath("lhota-pf1.kmt"));
  const CliRun r = run(args);
  EXPECT_EQ(r.status, 2) << args;
  EXPECT_TRUE(r.out.empty()) << args;
}

INSTANTIATE_TEST_SUITE_P(Cases, OrvCliAccurateRefused,
                         ::testing::Values("merge SAMPLE --accurate",
                                           "forward --rho 1,2 --depth 1 --accurate",
                                           "forward --rho 1,2 --depth 1 --cells 0:5 --accurate 1"));

}  // namespace
