// The indexed preparation and searches against the plain scans on generated
// profiles: the prepared lines vertex for vertex, every fill of the coloured
// picture, and the searches at points on and beside the lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "base/zeroed_block.h"
#include "tests/commands/curve/recording_canvas.h"
#include "tests/core/section/scanning_line_searches.h"

namespace orv::testing {
namespace {

// Offsets on both sides of every tolerance (0.01 m, exaggeration x 0.01 m).
constexpr float Offsets[] = {0,       0.004f, -0.0099f, 0.0101f, -0.01f, 0.019f,
                             -0.021f, 0.02f,  0.3f,     -2.0f,   7.0f};

// On a coarse profile everything lies on whole metres, so distances tie.
constexpr float CoarseOffsets[] = {0, 1, -1, 2, -3, 4};
// Steps between neighbouring soundings: equal chainages and steps within and
// beyond the horizontal tolerances.
constexpr float Steps[] = {0, 0.015f, 0.025f, 0.04f, 12, 30};

struct Generator {
  std::mt19937 rng;
  bool coarse = false;
  int below(int n) { return int(rng() % unsigned(n)); }
  float between(float lo, float hi) {
    const float v = lo + (hi - lo) * float(rng() % 10000) / 10000;
    return coarse ? std::round(v) : v;
  }
  template <size_t N>
  float oneOf(const float (&values)[N]) {
    return values[below(int(N))];
  }
  float offset() { return coarse ? oneOf(CoarseOffsets) : oneOf(Offsets); }

  void fill(SectionDatabase& db, SectionWindowState& view) {
    SectionProfile& p = db.profiles[0];
    coarse = below(3) == 0;
    const int points = 2 + below(22);
    p.mxindex_bodu = points - 1;
    float x = between(-50, 50);
    for (int k = 0; k < points; ++k) {
      SectionPoint& pt = p.points[(k * 7) % points == k ? k : (k * 7) % points];
      pt.profileChainage = x;
      x += coarse ? float(below(15)) : oneOf(Steps) + between(0, 10) * below(2);
      pt.pointZ = between(95, 105);
      pt.MDLmx = 1 + below(6);
      float depth = 0;
      for (int i = 0; i <= pt.MDLmx; ++i) {
        depth += below(6) == 0 ? 0.0f : between(0.5f, 15);
        pt.layerDepth[i] = below(4) == 0 ? -depth : depth;
        pt.layerRho[i] = between(5, 500) * (below(4) == 0 ? -1 : 1);
      }
    }
    p.HBV_pocet = 1 + below(12);
    for (int i = 0; i < p.HBV_pocet; ++i) {
      int n = 0;
      auto add = [&](float vx, float vz) {
        if (n < MaxMouseHbvVertices) p.HBV_x[i][n] = vx, p.HBV_z[i][n++] = vz;
      };
      const int kind = below(5);
      const int layer = below(4);
      for (int k = below(points); k < points && n < 40; k += 1 + below(2)) {
        const SectionPoint& pt = p.points[k];
        const float e = layer == 0 ? pt.pointZ : float(interfaceElevation(pt, layer - 1));
        add(pt.profileChainage + (kind == 0 ? 0 : offset()), e + (kind == 0 ? 0 : offset()));
        if (kind == 2) add(pt.profileChainage + between(-30, 30), e + between(-8, 8));
        if (kind == 3 && below(3) == 0) add(p.HBV_x[i][n - 1], e - 3);
      }
      if (kind == 4)
        std::reverse(p.HBV_x[i], p.HBV_x[i] + n), std::reverse(p.HBV_z[i], p.HBV_z[i] + n);
      p.HBV_pocetBodu[i] = below(30) == 0 ? -10 : n;
    }
    view.exaggeration = 1 + below(5);
    SectionLayout& l = view.layout;
    l.pxPerMetreX = 3, l.pxPerMetreZ = 7;
    l.imageLeftChainage = -80, l.imageTopElevation = 110;
    l.frameLeft = 10, l.frameRight = 3 * (x + 90);
    l.frameBottom = 7 * (110 - between(20, 90));
    l.dataMinChainage = -50, l.dataMaxChainage = x;
    view.viewMinChainage = below(3) == 0 ? between(-40, 0) : -1e5f;
  }
};

using testing_support::Call;
using testing_support::RecordingCanvas;

struct Coloured {
  ZeroedBlock<SectionDatabase> db;
  std::unique_ptr<SectionWindowState> view = std::make_unique<SectionWindowState>();
  RecordingCanvas canvas{1600, 1000};

  Coloured(unsigned seed, const LineSearches& searches) {
    Generator{std::mt19937(seed)}.fill(*db, *view);
    colourLayers(*db, *view, bandFiller(canvas, *view), searches);
  }
  const SectionProfile& profile() const { return db->profiles[0]; }
};

bool sameFill(const Call& a, const Call& b) {
  if (a.kind != b.kind || a.points.size() != b.points.size() || a.brushColour != b.brushColour ||
      a.penColour != b.penColour)
    return false;
  for (size_t i = 0; i < a.points.size(); ++i)
    if (a.points[i].x != b.points[i].x || a.points[i].y != b.points[i].y) return false;
  return true;
}

bool sameLines(const SectionProfile& a, const SectionProfile& b) {
  return std::memcmp(a.HBV_pocetBodu, b.HBV_pocetBodu, sizeof a.HBV_pocetBodu) == 0 &&
         std::memcmp(a.HBV_x, b.HBV_x, sizeof a.HBV_x) == 0 &&
         std::memcmp(a.HBV_z, b.HBV_z, sizeof a.HBV_z) == 0;
}

TEST(IndexedLineSearches, AgreeWithThePlainScansOnGeneratedProfiles) {
  size_t fills = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    const Coloured indexed(seed, {}), scanned(seed, ScanningSearches);
    ASSERT_TRUE(sameLines(indexed.profile(), scanned.profile())) << "seed " << seed;
    const auto& a = indexed.canvas.calls;
    const auto& b = scanned.canvas.calls;
    ASSERT_EQ(a.size(), b.size()) << "seed " << seed;
    for (size_t c = 0; c < a.size(); ++c) ASSERT_TRUE(sameFill(a[c], b[c])) << seed << " " << c;
    fills += a.size();

    // The searches themselves, from every vertex and sounding, on and beside,
    // towards soundings, a point between two, and no finite limit.
    const BoundaryLines lines(indexed.profile(), indexed.view->surfaceLine);
    const int e = indexed.view->exaggeration;
    std::mt19937 rng(seed);
    const SectionProfile& p = indexed.profile();
    const double inf = std::numeric_limits<double>::infinity();
    const double limits[] = {p.points[0].profileChainage,
                             p.points[p.mxindex_bodu].profileChainage,
                             (p.points[0].profileChainage + p.points[1].profileChainage) / 2,
                             inf,
                             -inf,
                             std::nan("")};
    for (int i = 0; i < lines.lineCount(); ++i) {
      for (int j = 0; j < lines.vertexCount(i); ++j) {
        const double x = lines.x(i, j) + Offsets[rng() % std::size(Offsets)];
        const double z = lines.z(i, j) + Offsets[rng() % std::size(Offsets)];
        const double xl = limits[rng() % std::size(limits)];
        // Half a metre puts the tolerances of a coarse profile on its grid.
        const double d = rng() % 2 ? 0.01 : 0.5;
        for (auto choice : {LineChoice::Lowest, LineChoice::Highest}) {
          const LineFound r = findLineRight(lines, e, x, z, xl, d, choice);
          const LineFound rr = scanningFindRight(lines, e, x, z, xl, d, choice);
          const LineFound l = findLineLeft(lines, e, x, z, xl, d, choice);
          const LineFound lr = scanningFindLeft(lines, e, x, z, xl, d, choice);
          ASSERT_TRUE(r.line == rr.line && r.vertex == rr.vertex &&
                      r.vertexAtLimit == rr.vertexAtLimit && l.line == lr.line &&
                      l.vertex == lr.vertex && l.vertexAtLimit == lr.vertexAtLimit)
              << seed << " " << i << " " << j;
        }
      }
      for (int c = 0; c < profilePointCount(p); ++c) {
        const double xc = c % 2 ? p.points[c].profileChainage : limits[rng() % std::size(limits)];
        const double d = rng() % 2 ? 0.01 : 0.5;
        const LineInterface a = lineInterfaceAt(lines, e, i, c, xc, d);
        const LineInterface b = scanningInterfaceAt(lines, e, i, c, xc, d);
        ASSERT_TRUE(a.interface == b.interface && a.vertex == b.vertex &&
                    a.nearestVertex == b.nearestVertex && a.elevation == b.elevation)
            << seed << " " << i << " " << c;
      }
    }
  }
  EXPECT_GT(fills, 5000u) << "the profiles must colour something";
}

struct Sounding {
  float x, z, depth0, depth1;
};
struct TieCase {
  const char* what;
  std::vector<Sounding> soundings;
  std::vector<std::pair<float, float>> line;
};

TEST(IndexedLineSearches, TiesThatHangOnOrderPrepareAsThePlainScans) {
  const TieCase cases[] = {
      // Both vertices left of 50 m lie 25 m^2 from its interfaces: the left
      // one, on 89 m and as far off as its chainage alone, came first.
      {"equal distances",
       {{0, 100, 10, 20}, {50, 100, 11, 30}, {100, 100, 8, 15}},
       {{0, 90}, {45, 89}, {46, 97}, {100, 92}}},
      // The tie at 50 m moves the vertex at 49.985 m past the one at 49.99 m:
      // the line runs back there, and the sounding at 49.995 m, tied later,
      // gets its vertex after 49.99 m.
      {"a move turns the line back",
       {{50, 100, 11, 30}, {49.995f, 97, 5, 25}},
       {{0, 80}, {20, 80}, {49.985f, 89.005f}, {49.99f, 95}, {100, 80}}},
  };
  for (const TieCase& c : cases) {
    ZeroedBlock<SectionProfile> indexed, scanned;
    for (SectionProfile* p : {indexed.get(), scanned.get()}) {
      p->mxindex_bodu = int(c.soundings.size()) - 1;
      for (size_t k = 0; k < c.soundings.size(); ++k) {
        const Sounding& s = c.soundings[k];
        p->points[k].profileChainage = s.x, p->points[k].pointZ = s.z, p->points[k].MDLmx = 2;
        p->points[k].layerDepth[0] = s.depth0, p->points[k].layerDepth[1] = s.depth1;
      }
      p->HBV_pocet = 1, p->HBV_pocetBodu[0] = int(c.line.size());
      for (size_t j = 0; j < c.line.size(); ++j)
        p->HBV_x[0][j] = c.line[j].first, p->HBV_z[0][j] = c.line[j].second;
    }
    SurfaceLine surface;
    SectionLayout layout;
    prepareBoundaryLines(*indexed, surface, layout, 2);
    scanningPrepare(*scanned, surface, layout, 2);
    EXPECT_TRUE(sameLines(*indexed, *scanned)) << c.what;
    EXPECT_EQ(indexed->HBV_pocetBodu[0], int(c.line.size()) + 1) << c.what;
  }
}

}  // namespace
}  // namespace orv::testing
