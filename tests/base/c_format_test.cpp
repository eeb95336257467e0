#include "base/c_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace orv {
namespace {

// Qt installs the user's locale at start-up; files must still get points.
class UnderCzechLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* had = std::setlocale(LC_ALL, nullptr);
    saved_ = had ? had : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "cs_CZ.UTF-8"), nullptr) << "test.sh generates cs_CZ.UTF-8";
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
  std::string saved_;
};

TEST_F(UnderCzechLocale, FormatsAndScansWithAPoint) {
  EXPECT_EQ(formatF(1.5), "1.500000");
  EXPECT_EQ(cformat("%.2f|%i", 2.125, 7), "2.12|7");
  double v = 0;
  EXPECT_EQ(cscan("3.25", "%lf", &v), 1);
  EXPECT_DOUBLE_EQ(v, 3.25);
}

TEST(CFormat, FixedSixDecimalsAreCorrectlyRounded) {
  struct Case {
    double v;
    const char* text;
  } cases[] = {{0.0, "0.000000"},
               {-0.5, "-0.500000"},
               {1e-7, "0.000000"},
               {0.0000006, "0.000001"},
               {123456.789, "123456.789000"},
               {2.5e-6, "0.000003"},
               {1e12, "1000000000000.000000"}};
  for (const Case& c : cases) EXPECT_EQ(formatF(c.v), c.text) << c.v;
}

TEST(CFormat, IntegerFieldReadsOctalAndHexPrefixes) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"25", 25}, {"010", 8}, {"0x1F", 31}, {"-12", -12}, {"  7", 7}};
  for (const Case& c : cases) {
    int v = -1;
    EXPECT_EQ(cscan(c.text, "%i", &v), 1) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(CFormat, UserRealsTakeCommaOrPointAndRejectTrailingText) {
  EXPECT_EQ(parseUserReal("1,5"), 1.5);
  EXPECT_EQ(parseUserReal(" 2.25 "), 2.25);
  EXPECT_EQ(parseUserReal("-3"), -3.0);
  EXPECT_FALSE(parseUserReal(""));
  EXPECT_FALSE(parseUserReal("1.5m"));
  EXPECT_FALSE(parseUserReal("abc"));
  EXPECT_FALSE(parseUserReal("inf"));
  EXPECT_FALSE(parseUserReal("nan"));
}

TEST(CFormat, UserIntegersAreWholeDecimalNumbers) {
  EXPECT_EQ(parseUserInt("65"), 65);
  EXPECT_EQ(parseUserInt(" -4 "), -4);
  EXPECT_EQ(parseUserInt("+9"), 9);
  EXPECT_FALSE(parseUserInt("6.5"));
  EXPECT_FALSE(parseUserInt(""));
  EXPECT_FALSE(parseUserInt("99999999999"));
  EXPECT_FALSE(parseUserInt("12a"));
}

TEST(CFormat, RealsShowInTheirShortestGeneralForm) {
  EXPECT_EQ(formatReal(0.1), "0.1");
  EXPECT_EQ(formatReal(100), "100");
  EXPECT_EQ(formatReal(-2.5), "-2.5");
}

}  // namespace
}  // namespace orv
