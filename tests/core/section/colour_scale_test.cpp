#include "core/section/colour_scale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "base/zeroed_block.h"
#include "core/section/section_database.h"
#include "core/section/section_layout.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv::testing {
namespace {

using testing_support::CallKind;
using testing_support::RecordingCanvas;

constexpr ui::Colour C1 = 0x0000FF;
constexpr ui::Colour C2 = 0x00FF00;

// Boundaries 0, 10, 100: c1 from 0 to 10, c2 from 10 to 100; entry 3 ends
// the table as the editor leaves it, or repeats entry 2 as a read file does.
ColourScale threeBoundaries(bool asRead) {
  ColourScale s{};
  const int32_t bounds[] = {0, 10, 100};
  const ui::Colour colours[] = {0x123456, C1, C2};
  for (int k = 0; k < 3; ++k) s.colResBound[k] = bounds[k], s.colResColor[k] = colours[k];
  s.colResCount = 3;
  s.colResBound[3] = asRead ? 100 : ColourTableEnd;
  s.colResColor[3] = asRead ? C2 : 0xFFFFFF;
  return s;
}

struct LookupCase {
  float rho;
  std::optional<ui::Colour> colour;
};

class LookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, LastMatchingIntervalOfTheMagnitude) {
  for (bool asRead : {false, true}) {
    EXPECT_EQ(resistivityColour(threeBoundaries(asRead), GetParam().rho), GetParam().colour)
        << GetParam().rho << (asRead ? " read" : " edited");
  }
}

INSTANTIATE_TEST_SUITE_P(Boundaries, LookupTest,
                         ::testing::Values(LookupCase{0, C1}, LookupCase{5, C1}, LookupCase{10, C2},
                                           LookupCase{10.0001f, C2}, LookupCase{100, C2},
                                           LookupCase{100.0001f, std::nullopt},
                                           LookupCase{150, std::nullopt}, LookupCase{-50, C2},
                                           LookupCase{-10, C2}, LookupCase{NAN, std::nullopt}));

TEST(Lookup, EmptyTableAndCountsBeyondTheArraysGiveNoColour) {
  ColourScale s{};
  EXPECT_EQ(resistivityColour(s, 0), std::nullopt);
  EXPECT_EQ(resistivityColour(s, 5), std::nullopt);
  s.colResCount = -7;
  EXPECT_EQ(resistivityColour(s, 0), std::nullopt);

  // Entry k holds boundary k; right after the bounds array lie the colours,
  // whose first would make 499.5 match if the loop ran past entry 499.
  for (int k = 0; k < MaxColourEntries; ++k) s.colResBound[k] = k, s.colResColor[k] = k + 1;
  s.colResColor[0] = 1000000;
  s.colResCount = INT_MAX;
  EXPECT_EQ(resistivityColour(s, 498.5f), 500);
  EXPECT_EQ(resistivityColour(s, 499.5f), std::nullopt);
}

// --- legend ---------------------------------------------------------------------

struct LegendCase {
  std::vector<float> layers;  // one point
  bool emptyTable;
  int rowHeight;
  ui::Colour firstColour;  // of the first row drawn
  std::vector<std::string> labels;
};

class LegendTest : public ::testing::TestWithParam<LegendCase> {};

TEST_P(LegendTest, RowsOfTheBoundariesWithinTheProfile) {
  const LegendCase& c = GetParam();
  ZeroedBlock<SectionProfile> pf;
  pf->mxindex_bodu = 0;
  pf->points[0].MDLmx = static_cast<int32_t>(c.layers.size()) - 1;
  for (std::size_t i = 0; i < c.layers.size(); ++i) pf->points[0].layerRho[i] = c.layers[i];
  const ColourScale s = c.emptyTable ? ColourScale{} : threeBoundaries(true);
  SectionLayout l;
  l.sectionImageWidth = 400, l.sectionImageHeight = 300;
  l.sectionTextHeight = 13, l.sectionTextWidth = 7;
  RecordingCanvas canvas(2000, 2000);
  drawColourLegend(s, *pf, l, canvas);

  const auto fills = canvas.ofKind(CallKind::Fill);
  const auto texts = canvas.ofKind(CallKind::Text);
  ASSERT_EQ(fills.size(), c.labels.size());
  ASSERT_EQ(texts.size(), c.labels.size());
  int y = 19;  // trunc(1.5 * 13)
  for (std::size_t r = 0; r < fills.size(); ++r) {
    EXPECT_EQ(fills[r].points[0].x, 435);  // 400 + 5 * 7
    EXPECT_EQ(fills[r].points[1].x, 456);
    EXPECT_EQ(fills[r].points[0].y, y);
    EXPECT_EQ(fills[r].points[1].y, y + c.rowHeight);
    EXPECT_EQ(fills[r].brushColour, fills[r].penColour);
    EXPECT_EQ(fills[r].penWidth, 0);
    y += c.rowHeight;
    EXPECT_EQ(texts[r].text, c.labels[r]);
    EXPECT_EQ(texts[r].points[0].x, 457);    // x1 + 7 / 4
    EXPECT_EQ(texts[r].points[0].y, y - 8);  // at the box's lower edge: 13 / 2 + 2
  }
  if (!fills.empty()) {
    EXPECT_EQ(fills[0].brushColour, c.firstColour);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, LegendTest,
    ::testing::Values(
        // 10, 100 and the read repeat of 100: three rows of (300 - 19.5) / 3.
        LegendCase{{5, -50, 200}, false, 93, C1, {"---10 ohm.m", "---100 ohm.m", "---100 ohm.m"}},
        // One boundary in range: the rows are sized for all N + 1 entries.
        LegendCase{{5, 50}, false, 70, C1, {"---10 ohm.m"}}, LegendCase{{20, 50}, false, 70, 0, {}},
        LegendCase{{0, 10}, false, 140, 0x123456, {"---0 ohm.m", "---10 ohm.m"}},
        // The empty table counts N + 1 = 1 row.
        LegendCase{{0, 50}, true, 280, 0, {"---0 ohm.m"}}));

TEST(Legend, AProfileWithoutLayersDrawsNothingAndCountsStayInTheArrays) {
  ZeroedBlock<SectionProfile> pf;
  pf->mxindex_bodu = -1;
  SectionLayout l;
  RecordingCanvas canvas(100, 100);
  drawColourLegend(threeBoundaries(true), *pf, l, canvas);
  EXPECT_TRUE(canvas.calls.empty());
  EXPECT_EQ(canvas.penWidth(), 1);

  pf->mxindex_bodu = INT_MAX;
  pf->points[MaxPointsPerProfile - 1].MDLmx = INT_MAX;
  pf->points[MaxPointsPerProfile - 1].layerRho[MaxLayers - 1] = 50;
  // Every point to the last of the profile, every layer to the last: the
  // zero layers and the one of 50 give the range 0..50, boundaries 0 and 10.
  drawColourLegend(threeBoundaries(true), *pf, l, canvas);
  EXPECT_EQ(canvas.ofKind(CallKind::Text).size(), 2u);
}

}  // namespace
}  // namespace orv::testing
