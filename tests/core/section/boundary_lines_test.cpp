#include "core/section/boundary_lines.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "base/zeroed_block.h"

namespace orv::testing {
namespace {

struct V {
  float x, z;
  bool operator==(const V&) const = default;
};
using Line = std::vector<V>;

void addPoint(SectionProfile& p, float x, float z, std::initializer_list<float> depths) {
  SectionPoint& pt = p.points[++p.mxindex_bodu];
  pt.profileChainage = x;
  pt.pointZ = z;
  pt.MDLmx = int(depths.size());
  int i = 0;
  for (float d : depths) pt.layerDepth[i++] = d;
}

void setLines(SectionProfile& p, const std::vector<Line>& lines) {
  p.HBV_pocet = int(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    p.HBV_pocetBodu[i] = int(lines[i].size());
    for (size_t j = 0; j < lines[i].size(); ++j) {
      p.HBV_x[i][j] = lines[i][j].x;
      p.HBV_z[i][j] = lines[i][j].z;
    }
  }
}

Line lineOf(const SectionProfile& p, int i) {
  Line l;
  for (int j = 0; j < p.HBV_pocetBodu[i]; ++j) l.push_back({p.HBV_x[i][j], p.HBV_z[i][j]});
  return l;
}

// Soundings at 0, 50 and 100 m, all with their surface at 100 m: interfaces
// 90/80, 89/70 and 92/85. The frame's lower edge lies at elevation 0.
class PreparedProfile {
 public:
  PreparedProfile(float dataMax = 100) {
    p->mxindex_bodu = -1;
    addPoint(*p, 0, 100, {10, 20});
    addPoint(*p, 50, 100, {11, 30});
    addPoint(*p, 100, 100, {8, 15});
    layout.pxPerMetreX = layout.pxPerMetreZ = 1.0;
    layout.imageTopElevation = 110;
    layout.frameBottom = 110;
    layout.dataMinChainage = 0;
    layout.dataMaxChainage = dataMax;
  }
  ZeroedBlock<SectionProfile> p;
  SurfaceLine surface;
  SectionLayout layout;
};

struct PrepareCase {
  std::string name;
  int exaggeration;
  float dataMax;
  std::vector<Line> in;
  std::vector<Line> out;
};

class PrepareTest : public ::testing::TestWithParam<PrepareCase> {};

TEST_P(PrepareTest, LinesEndTiedToTheSoundings) {
  const PrepareCase& c = GetParam();
  PreparedProfile f(c.dataMax);
  setLines(*f.p, c.in);
  prepareBoundaryLines(*f.p, f.surface, f.layout, c.exaggeration);
  ASSERT_EQ(f.p->HBV_pocet, int(c.out.size()));
  for (size_t i = 0; i < c.out.size(); ++i) EXPECT_EQ(lineOf(*f.p, int(i)), c.out[i]) << i;
}

using L = std::vector<Line>;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, PrepareTest, ::testing::Values(
    PrepareCase{"ReversedAndTiedInBetween", 2, 100, L{{{100, 92}, {70, 91}, {30, 91}, {0, 90}}},
                L{{{0, 90}, {30, 91}, {50, 89}, {70, 91}, {100, 92}}}},
    PrepareCase{"RepeatedChainagesCollapse", 2, 100,
                L{{{0, 90}, {30, 91}, {30, 95}, {30, 96}, {70, 91}, {100, 92}}},
                L{{{0, 90}, {30, 91}, {50, 89}, {70, 91}, {100, 92}}}},
    // 2 m above the middle sounding's interface, far from any vertex.
    PrepareCase{"CrossedAboveGainsAVertex", 2, 100, L{{{0, 90}, {100, 92}}},
                L{{{0, 90}, {50, 89}, {100, 92}}}},
    PrepareCase{"SnappedWithinExaggeratedTolerance", 5, 100,
                L{{{0, 90}, {50.04f, 89.005f}, {100, 92}}}, L{{{0, 90}, {50, 89}, {100, 92}}}},
    PrepareCase{"BesideTheToleranceAVertexIsInserted", 2, 100,
                L{{{0, 90}, {50.04f, 89.005f}, {100, 92}}},
                L{{{0, 90}, {50, 89}, {50.04f, 89.005f}, {100, 92}}}},
    PrepareCase{"FreeEndPulledOntoTheNearestInterface", 2, 100,
                L{{{0, 90}, {30, 60}}}, L{{{0, 90}, {50, 70}}}},
    PrepareCase{"FreeEndOutsideTheShownRangeStays", 2, 20,
                L{{{0, 90}, {30, 60}}}, L{{{0, 90}, {30, 60}}}},
    PrepareCase{"FreeEndPulledOntoAnotherLinesEnd", 2, 100,
                L{{{0, 80}, {40, 40}}, {{0, 80}, {45, 42}}},
                L{{{0, 80}, {45, 42}}, {{0, 80}, {45, 42}}}}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(Capacity, AllLinesAndSoundingsAndDamagedCountsStayInsideTheArrays) {
  ZeroedBlock<SectionProfile> p;
  p->mxindex_bodu = -1;
  // Backwards, with two soundings sharing 4 m: the surface line runs forwards
  // with one vertex per chainage.
  for (int k = MaxPointsPerProfile - 1; k >= 0; --k) addPoint(*p, float(k == 5 ? 4 : k), 100, {5});
  p->HBV_pocet = 100000;  // damaged: read as all 200 lines
  for (int i = 0; i < MaxHbvLines; ++i) p->HBV_pocetBodu[i] = i == 7 ? 99999 : 0;
  // Line 7 beyond every sounding and the shown range, so it keeps its shape.
  for (int j = 0; j < MaxHbvVertices; ++j) p->HBV_x[7][j] = float(1000 + j);
  p->points[3].MDLmx = 5000;
  p->terrainBreakCount = 12345;  // the field right after the line arrays
  SectionLayout layout;
  layout.dataMaxChainage = 500;
  SurfaceLine surface;
  prepareBoundaryLines(*p, surface, layout, 2);
  const BoundaryLines lines(*p, surface);
  EXPECT_EQ(lines.userCount(), MaxHbvLines);
  EXPECT_EQ(lines.vertexCount(MaxHbvLines), MaxPointsPerProfile - 1);
  EXPECT_EQ(lines.x(MaxHbvLines, 4), 4.0f);
  EXPECT_EQ(lines.x(MaxHbvLines, 5), 6.0f);
  EXPECT_EQ(lines.x(MaxHbvLines, 418), 419.0f);
  EXPECT_EQ(p->HBV_pocetBodu[7], MaxHbvVertices);
  EXPECT_EQ(p->terrainBreakCount, 12345);
}

TEST(Capacity, AFullLineRefusesTheInsertionAndKeepsItsVertices) {
  for (int n : {MaxHbvVertices - 1, MaxHbvVertices}) {
    PreparedProfile f;
    Line l;
    // Vertices from 0 to 40 m and one at 100 m: the sounding at 50 is
    // crossed 1 m above its interface, far from any vertex.
    for (int j = 0; j < n - 1; ++j) l.push_back({float(j) * 40 / (n - 2), 90});
    l.push_back({100, 92});
    setLines(*f.p, {l});
    prepareBoundaryLines(*f.p, f.surface, f.layout, 2);
    const Line out = lineOf(*f.p, 0);
    if (n == MaxHbvVertices) {
      EXPECT_EQ(out, l);
    } else {
      ASSERT_EQ(int(out.size()), MaxHbvVertices);
      EXPECT_EQ(out[n - 1], (V{50, 89}));
    }
  }
}

struct FindCase {
  bool toRight;
  LineChoice choice;
  int line;
};

TEST(FindLine, TheLowestFromATopAndTheHighestFromABottom) {
  PreparedProfile f;
  // From (50, 89) line 0 runs on low, line 1 high, on both sides.
  setLines(*f.p, {{{0, 80}, {50, 89}, {100, 85}}, {{0, 90}, {50, 89}, {100, 92}}});
  buildSurfaceLine(*f.p, f.surface);
  const BoundaryLines lines(*f.p, f.surface);
  const FindCase cases[] = {{true, LineChoice::Lowest, 0},
                            {true, LineChoice::Highest, 1},
                            {false, LineChoice::Lowest, 0},
                            {false, LineChoice::Highest, 1}};
  for (const FindCase& c : cases) {
    const double xl = c.toRight ? 100.01 : -0.01;
    const LineFound r = c.toRight ? findLineRight(lines, 2, 50.01, 89.005, xl, 0.01, c.choice)
                                  : findLineLeft(lines, 2, 50.01, 89.005, xl, 0.01, c.choice);
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(r.vertex, 1);
    EXPECT_EQ(r.vertexAtLimit, c.toRight ? 2 : 0);
  }
  // The surface is the line after the user lines; a limit no vertex reaches
  // within exaggeration x d gives no vertex there.
  const LineFound s = findLineRight(lines, 2, 0, 100, 49.9, 0.01, LineChoice::Lowest);
  EXPECT_EQ(s.line, 2);
  EXPECT_EQ(s.vertexAtLimit, -1);
  EXPECT_EQ(findLineRight(lines, 2, 50, 95, 100, 0.01, LineChoice::Lowest).line, -1);
}

TEST(LineInterface, SurfaceIsIndexMdlmxAndTheEntryUnderTheHalfSpaceTakesNoPart) {
  PreparedProfile f;
  f.p->points[0].layerDepth[2] = 50;  // under the half-space: at elevation 50
  setLines(*f.p, {{{0, 90}, {0, 80}}, {{0, 50}}, {{0, 100}, {0, 90}}});
  buildSurfaceLine(*f.p, f.surface);
  const BoundaryLines lines(*f.p, f.surface);
  const LineInterface deeper = lineInterfaceAt(lines, 2, 0, 0, 0, 0.01);
  EXPECT_EQ(deeper.interface, 1);
  EXPECT_EQ(deeper.vertex, 1);
  EXPECT_EQ(deeper.elevation, 80);
  const LineInterface none = lineInterfaceAt(lines, 2, 1, 0, 0, 0.01);
  EXPECT_EQ(none.interface, -1);
  EXPECT_EQ(none.nearestVertex, 0);
  EXPECT_EQ(none.elevation, -9999);
  const LineInterface surface = lineInterfaceAt(lines, 2, 2, 0, 0, 0.01);
  EXPECT_EQ(surface.interface, 2);
  EXPECT_EQ(surface.vertex, 0);
  EXPECT_EQ(surface.elevation, 100);
  EXPECT_EQ(lineInterfaceAt(lines, 2, -1, 0, 0, 0.01).nearestVertex, -1);
}

}  // namespace
}  // namespace orv::testing
