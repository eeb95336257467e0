// The section database's capacities reached and passed through the commands
// the section window calls: 20 profiles, 420 points a profile, 169 vertices
// of an HBV line by mouse. Each row fills up to one short of the limit the
// way a user does, then gives the command once or twice more.
#include <functional>
#include <string>
#include <vector>

#include "commands/section/hbv_mouse.h"
#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

using Strings = std::vector<std::string>;

const std::string ProfilesFull =
    "Máš už moc zadaných profilů v lokalitě (změň lokalitu nebo nová databáze)";
const std::string PointsFull =
    "Máš moc bodů VES v jednom pf - založ si nový pf (pravá myš nad levým oknem)!";
const std::string VerticesFull =
    "Máš už moc zadaných bodů křivky HBV (Ukonči tuto na rozharaní VES a začni novou křivku "
    "HBV)";

void interpretedSounding(CurveWindowState& s) {
  s.curveLoaded = s.curveDrawn = s.modelActive = true;
  s.sourceKind = SourceKmt;
  s.fromSection = false;
  s.readingCount = 2;
  for (int m = 0; m < 2; ++m) {
    s.readingAbHalf[m] = 1.0f + m;
    s.readingMnHalf[m] = 0.5f;
    s.readingRho[m] = 40.0f + m;
    s.readingBranch[m] = 1;
  }
  s.gridMaxIndex = 3;
  s.branchCount = 1;
  s.modelBoundaryCount = 1;
  s.modelRho[0] = 40.0f;
  s.modelRho[1] = 90.0f;
  s.modelDepth[0] = 2.5f;
}

// A fresh database for each row, its members within reach of the rows.
struct SectionCapacities : SectionTest {
  SectionCapacities() {
    // Pixel (x, y) is chainage x, elevation 310 - y / 2.
    view.layout = {.pxPerMetreX = 1, .pxPerMetreZ = 2, .imageTopElevation = 310};
    givePoints(3);
  }
  void TestBody() override {}
  using SectionTest::curve;
  using SectionTest::db;
  using SectionTest::dialogs;
  using SectionTest::profile;
  using SectionTest::session;
  int profiles() { return db().mxindex_profilu + 1; }
  int points() { return profile(0).mxindex_bodu + 1; }
  int vertices() { return profile(0).HBV_pocetBodu[0]; }
};

TEST(SectionCapacities, ProfilesPointsAndVerticesThroughTheirCommands) {
  struct Limit {
    const char* name;
    std::function<void(SectionCapacities&, int)> give;
    std::function<void(SectionCapacities&)> command;
    std::function<int(SectionCapacities&)> count;
    const std::string& message;
  };
  const Limit limits[] = {
      {"profiles", [](SectionCapacities& t, int n) { t.db().mxindex_profilu = n - 1; },
       [](SectionCapacities& t) { createProfile(t.session); },
       [](SectionCapacities& t) { return t.profiles(); }, ProfilesFull},
      {"points",
       [](SectionCapacities& t, int n) {
         for (int b = 3; b < n; ++b) fillPoint(t.profile(0).points[b], b + 1);
         t.profile(0).mxindex_bodu = n - 1;
       },
       [](SectionCapacities& t) {
         interpretedSounding(t.curve());
         t.curve().pointNumber = 1000 + t.points();
         transferToSection(t.session);
       },
       [](SectionCapacities& t) { return t.points(); }, PointsFull},
      {"hbv vertices",
       [](SectionCapacities& t, int n) {
         SectionProfile& p = t.profile(0);
         p.HBV_pocet = 1;
         p.HBV_pocetBodu[0] = n;
         for (int j = 0; j < n; ++j) p.HBV_x[0][j] = float(j);
         // The working slot a reversed line uses, and the next line.
         p.HBV_x[0][MaxHbvVertices - 1] = -77;
         p.HBV_x[1][0] = -88;
       },
       [](SectionCapacities& t) { defineModeClick(t.session, 250, 40); },
       [](SectionCapacities& t) { return t.vertices(); }, VerticesFull},
  };
  struct Row {
    int limitIndex;
    int startAt;  // the count given before the commands
    int commands, expected, told;
  } const rows[] = {
      {0, MaxProfiles - 1, 1, MaxProfiles, 0},
      {0, MaxProfiles - 1, 3, MaxProfiles, 2},
      {1, MaxPointsPerProfile - 1, 1, MaxPointsPerProfile, 0},
      {1, MaxPointsPerProfile - 1, 2, MaxPointsPerProfile, 1},
      {1, MaxPointsPerProfile, 1, MaxPointsPerProfile, 1},
      {2, MaxHbvVertices - 2, 1, MaxHbvVertices - 1, 0},
      {2, MaxHbvVertices - 2, 3, MaxHbvVertices - 1, 2},
  };
  for (const Row& r : rows) {
    const Limit& l = limits[r.limitIndex];
    SCOPED_TRACE(::testing::Message() << l.name << " from " << r.startAt << " x" << r.commands);
    SectionCapacities t;
    l.give(t, r.startAt);
    const float scaleX = t.profile(0).scaleX;
    const int nextProfilePoints = t.profile(1).mxindex_bodu;
    for (int c = 0; c < r.commands; ++c) l.command(t);
    EXPECT_EQ(l.count(t), r.expected);
    EXPECT_EQ(t.dialogs.messages(), Strings(r.told, l.message));
    // Beside the arrays filled: the fields that follow them.
    EXPECT_EQ(t.profile(0).scaleX, scaleX);
    if (r.limitIndex == 1) {
      // The last slot holds the point filed into it, or the one given there.
      const float lastChainage = r.startAt < MaxPointsPerProfile ? 1000.0f + MaxPointsPerProfile - 1
                                                                 : 100.0f * MaxPointsPerProfile + 5;
      EXPECT_EQ(t.profile(0).points[MaxPointsPerProfile - 1].profileChainage, lastChainage);
      EXPECT_EQ(t.profile(1).mxindex_bodu, nextProfilePoints);
    }
    if (r.limitIndex == 2) {
      EXPECT_EQ(t.profile(0).HBV_x[0][MaxHbvVertices - 1], -77.0f);
      EXPECT_EQ(t.profile(0).HBV_x[1][0], -88.0f);
      EXPECT_EQ(t.profile(0).HBV_pocet, 1);
      EXPECT_EQ(t.profile(0).HBV_x[0][MaxHbvVertices - 2], 250.0f);
    }
  }
}

}  // namespace
}  // namespace orv::testing
