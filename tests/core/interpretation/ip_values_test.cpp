// The IP values per window, their averaging over the grid and the IP grid
// file, on small soundings whose values can be worked out by hand.
#include "core/interpretation/ip_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/zeroed_block.h"
#include "core/curve/ip_window_layout.h"
#include "core/interpretation/ip_grid_file.h"

namespace orv {
namespace {

struct Sample {
  int32_t t;
  float v;
};

class IpValuesTest : public ::testing::Test {
 protected:
  IpValuesTest() {
    setInitialCurveState(*s);
    // Switch-off at 2000 ms; windows [2100, 2250], [2250, 2400], [2400, 2550].
    s->ipLeadTime = 0;
    s->ipOnTime = 2000;
    s->ipWindowDelay = 100;
    s->ipWindowLength = 150;
    s->ipWindowCount = 3;
    layOutIpWindows(*s);
    s->gridMinIndex = 0;
    s->gridMaxIndex = 10;
  }
  int addReading(int gridIndex, float reference, const std::vector<Sample>& samples) {
    const int j = s->readingCount++;
    s->readingGridIndex[j] = gridIndex;
    s->readingAbHalf[j] = 1.0f + j;
    s->readingIpReference[j] = reference;
    s->decaySampleCount[j] = static_cast<int32_t>(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
      s->decaySampleTime[j][i] = samples[i].t;
      s->decaySampleValue[j][i] = samples[i].v;
    }
    return j;
  }
  ZeroedBlock<CurveWindowState> s;
};

TEST_F(IpValuesTest, RegularWindowsFollowTheSwitchOff) {
  const int32_t start[] = {2100, 2250, 2400}, end[] = {2250, 2400, 2550},
                mid[] = {2175, 2325, 2475};
  for (int w = 0; w < 3; ++w) {
    EXPECT_EQ(start[w], s->ipWindowStart[w]);
    EXPECT_EQ(end[w], s->ipWindowEnd[w]);
    EXPECT_EQ(mid[w], s->ipWindowMidTime[w]);
  }
}

struct WindowCase {
  const char* name;
  float reference;
  std::vector<Sample> samples;
  float expected[3];
};

class IpWindowValueTest : public IpValuesTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(IpWindowValueTest, SumsTheSamplesOfEachWindow) {
  const WindowCase& p = GetParam();
  addReading(3, p.reference, p.samples);
  computeIpValues(*s);
  for (int w = 0; w < 3; ++w) EXPECT_FLOAT_EQ(p.expected[w], s->ipValue[0][w]) << "window " << w;
}

// ipMaxShown is 30: a value is mean / reference * 30.
INSTANTIATE_TEST_SUITE_P(
    Cases, IpWindowValueTest,
    ::testing::Values(
        // 2250 ms ends window 1 and starts window 2: it counts in both.
        WindowCase{"SharedEdgeCountsTwice",
                   10.0f,
                   {{2100, 1}, {2250, 3}, {2400, 5}, {2550, 7}},
                   {2.0f / 10 * 30, 4.0f / 10 * 30, 6.0f / 10 * 30}},
        WindowCase{"ZeroReferenceKeepsTheSum", 0.0f, {{2200, 1}, {2240, 2}}, {3, 0, 0}},
        WindowCase{"NegativeResultBecomesZero", 10.0f, {{2200, -1}, {2300, 2}}, {0, 6, 0}},
        WindowCase{"SamplesBeforeAndAfterCountNowhere", 10.0f, {{2099, 9}, {2551, 9}}, {0, 0, 0}},
        // Out of time order the samples are found all the same.
        WindowCase{"UnorderedTimes",
                   10.0f,
                   {{2400, 5}, {2100, 1}, {2550, 7}, {2250, 3}},
                   {2.0f / 10 * 30, 4.0f / 10 * 30, 6.0f / 10 * 30}}),
    [](const ::testing::TestParamInfo<WindowCase>& i) { return i.param.name; });

TEST_F(IpValuesTest, ReadingsOfOneGridIndexShareTheirMean) {
  // Zero references keep the sums 2 and 4; the third reading stands alone.
  addReading(5, 0.0f, {{2200, 2}});
  addReading(5, 0.0f, {{2200, 4}});
  addReading(6, 0.0f, {{2200, 7}});
  EXPECT_FLOAT_EQ(7.0f, computeIpValues(*s));
  EXPECT_FLOAT_EQ(3.0f, s->ipValue[0][0]);
  EXPECT_FLOAT_EQ(3.0f, s->ipValue[1][0]);
  EXPECT_FLOAT_EQ(7.0f, s->ipValue[2][0]);
}

TEST_F(IpValuesTest, SoundingFromTheSectionKeepsItsStoredValues) {
  addReading(5, 10.0f, {{2200, 2}});
  s->ipValue[0][0] = 12.5f;
  s->fromSection = true;
  EXPECT_FLOAT_EQ(12.5f, computeIpValues(*s));
  EXPECT_FLOAT_EQ(12.5f, s->ipValue[0][0]);
}

TEST_F(IpValuesTest, DamagedCountsStayInsideTheArrays) {
  addReading(5, 10.0f, {{2200, 2}});
  s->decaySampleCount[0] = 5000;
  s->ipWindowCount = 99;
  s->readingGridIndex[0] = 900;  // off the grid: keeps its own value
  computeIpValues(*s);
  s->decaySampleCount[0] = -3;
  s->ipWindowCount = -10;
  EXPECT_FLOAT_EQ(-9999.0f, computeIpValues(*s));
}

struct LayoutCase {
  int32_t count;
  int32_t expected;
};

class IpLayoutTest : public IpValuesTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(IpLayoutTest, CountIsHeldToTheArrays) {
  s->ipWindowCount = GetParam().count;
  layOutIpWindows(*s);
  EXPECT_EQ(GetParam().expected, s->ipWindowCount);
}

INSTANTIATE_TEST_SUITE_P(Counts, IpLayoutTest,
                         ::testing::Values(LayoutCase{25, 20}, LayoutCase{20, 20},
                                           LayoutCase{-5, 0}, LayoutCase{0, 0}));

TEST_F(IpValuesTest, GridFileHoldsEveryReadingOfEveryWindow) {
  s->ipWindowCount = 2;
  for (int j = 0; j < 3; ++j) {
    addReading(j, 1.0f, {});
    s->ipValue[j][0] = 1.5f + j;
    s->ipValue[j][1] = 0.25f * j;
  }
  s->readingAbHalf[2] = 10.0f;
  const std::string title =
      "AB/4\tčasOdVypnutíIab\tNý-ZdPolarizovatelnost - soubor zdánlivých polarizovatelností v 2 "
      "zvolených oknech pro vyzvoření izopolarizačního hloubko časové mapy.";
  const std::string expected =
      "[m]\t[ms]\t[%]"
      "\r\n0.250000\t2175.000000\t1.500000"
      "\r\n0.500000\t2175.000000\t2.500000"
      "\r\n2.500000\t2175.000000\t3.500000"
      "\r\n0.250000\t2325.000000\t0.000000"
      "\r\n0.500000\t2325.000000\t0.250000"
      "\r\n2.500000\t2325.000000\t0.500000";
  const std::string text = ipGridText(*s);
  ASSERT_GT(text.size(), expected.size());
  EXPECT_EQ(expected, text.substr(text.size() - expected.size()));
  const std::string head = text.substr(0, text.size() - expected.size());
  // Windows-1250: each Czech letter (two bytes in UTF-8) is one byte.
  const auto letters = std::count_if(title.begin(), title.end(), [](char ch) {
    return (static_cast<unsigned char>(ch) & 0xC0) == 0xC0;
  });
  EXPECT_EQ(title.size() - letters, head.size());
  EXPECT_EQ(std::string("AB/4\t\xe8"
                        "asOdVypnut\xed"
                        "Iab\t"),
            head.substr(0, 21));
}

TEST_F(IpValuesTest, GridFileWithoutWindowsHasTitleAndUnitsOnly) {
  s->ipWindowCount = -10;
  addReading(1, 1.0f, {});
  const std::string text = ipGridText(*s);
  EXPECT_NE(std::string::npos, text.find(" v 0 zvolen"));
  EXPECT_EQ("[m]\t[ms]\t[%]", text.substr(text.size() - 12));
}

TEST_F(IpValuesTest, GridWriteReportsAFullDevice) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  if (!full) GTEST_SKIP() << "no /dev/full here";
  s->ipWindowCount = 2;
  addReading(1, 1.0f, {});
  EXPECT_FALSE(writeIpGrid(*s, full));
  std::fclose(full);
}

}  // namespace
}  // namespace orv
