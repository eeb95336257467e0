#include "core/section/terrain_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/cp1250.h"
#include "commands/section/terrain_import_command.h"
#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

namespace fs = std::filesystem;

class TerrainImportTest : public SectionTest {
 protected:
  TerrainImportTest() { profile(0).mxindex_bodu = -1; }
  SectionPoint& addPoint(float chainage, float surface, float z = 0.0f) {
    SectionPoint& pt = profile(0).points[++profile(0).mxindex_bodu];
    pt.profileChainage = chainage;
    pt.surfaceChainage = surface;
    pt.pointZ = z;
    return pt;
  }
  void readBreaks(const std::string& text) {
    ASSERT_EQ(readTerrainBreaks(text, profile(0)).status, TerrainReadStatus::Read) << text;
  }
};

TEST_F(TerrainImportTest, TheFileIsReadAsItemsSeparatedByAnyWhiteSpace) {
  struct Case {
    std::string text;
    TerrainReadStatus status;
    std::string title;
    int count;
  } cases[] = {
      {"akce-pf 2\r\n0\t100\r\n100\t110", TerrainReadStatus::Read, "akce-pf", 2},
      {"  pf1\t2 0 100\n\n 100.5 110 ", TerrainReadStatus::Read, "pf1", 2},
      {"pf 010\n", TerrainReadStatus::BadBreak, "pf", 8},  // "%i": octal
      {"pf 0", TerrainReadStatus::Read, "pf", 0},
      {"pf", TerrainReadStatus::NoTitleAndCount, "", 0},
      {"pf x 1 2", TerrainReadStatus::NoTitleAndCount, "", 0},
      {"", TerrainReadStatus::NoTitleAndCount, "", 0},
      {"pf -3 1 2", TerrainReadStatus::NoTitleAndCount, "", 0},
      {"pf 421 1 2", TerrainReadStatus::TooManyBreaks, "pf", 421},
      {"pf 3 0 100 10 110 20", TerrainReadStatus::BadBreak, "pf", 3},
      {"pf 2 0 100 1,5 110", TerrainReadStatus::BadBreak, "pf", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    profile(0).terrainBreakCount = 77;
    const TerrainRead r = readTerrainBreaks(c.text, profile(0));
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.title, c.title);
    EXPECT_EQ(r.count, c.count);
    EXPECT_EQ(profile(0).terrainBreakCount, c.status == TerrainReadStatus::Read ? c.count - 1 : 77);
  }
  // 420 breaks fill the arrays.
  std::string full = "pf 420";
  for (int k = 0; k < 420; ++k) full += cformat(" %d %d.5", k, k);
  readBreaks(full);
  EXPECT_EQ(profile(0).terrainBreakCount, 419);
  EXPECT_EQ(profile(0).terrainBreakElevation[419], 419.5f);
}

TEST_F(TerrainImportTest, HeightsFollowTheTerrainAtTheHorizontalChainage) {
  readBreaks("pf 3 0 100 100 110 200 90");
  struct Case {
    float chainage, z;
  } cases[] = {{50, 105},  {100, 110}, {0, 100}, {150, 100},
               {120, 106}, {200, 90},  {-5, 7},  {200.5f, 7}};  // outside: left as they were
  for (const Case& c : cases) addPoint(c.chainage, 0.0f, 7.0f);
  applyTerrainHeights(profile(0));
  for (int k = 0; k < int(std::size(cases)); ++k) {
    EXPECT_FLOAT_EQ(profile(0).points[k].pointZ, cases[k].z) << cases[k].chainage;
    EXPECT_EQ(profile(0).points[k].profileChainage, cases[k].chainage);
  }
}

TEST_F(TerrainImportTest, PointsArePlacedByTheirChainageAlongTheSurface) {
  readBreaks("pf 3 0 100 30 140 60 140");
  struct Case {
    float chainage, surface;  // before
    float wantChainage, wantZ;
  } cases[] = {
      {0, 0, 0, 100},     // the reference point
      {17, 65, 45, 140},  // 15 m beyond the break at surface chainage 50
      {0, 25, 15, 120},   // half the slope
      {99, 80, 60, 140},  // the last break
      {99, 81, 99, 7},    // beyond it: unchanged
  };
  for (const Case& c : cases) addPoint(c.chainage, c.surface, 7.0f);
  applyTerrainAlongSurface(profile(0));
  for (const Case& c : cases) {
    const SectionPoint& pt = profile(0).points[&c - cases];
    SCOPED_TRACE(c.surface);
    EXPECT_FLOAT_EQ(pt.profileChainage, c.wantChainage);
    EXPECT_FLOAT_EQ(pt.pointZ, c.wantZ);
  }
}

TEST_F(TerrainImportTest, SurfaceChainagesRunBothWaysFromTheReference) {
  readBreaks("pf 3 0 140 30 100 60 140");
  // All at surface chainage 0: the horizontal chainages stand in, so on the
  // slopes the points close up towards the reference at chainage 0.
  addPoint(30, 0);
  addPoint(0, 0);
  addPoint(60, 0);
  applyTerrainAlongSurface(profile(0));
  const SectionPoint* p = profile(0).points;
  EXPECT_FLOAT_EQ(p[0].profileChainage, 18);
  EXPECT_FLOAT_EQ(p[0].pointZ, 116);
  EXPECT_FLOAT_EQ(p[1].profileChainage, 0);
  EXPECT_FLOAT_EQ(p[1].pointZ, 140);
  EXPECT_FLOAT_EQ(p[2].profileChainage, 36);
  EXPECT_FLOAT_EQ(p[2].pointZ, 108);
  EXPECT_FLOAT_EQ(p[2].surfaceChainage, 60);

  // The reference stands at its horizontal chainage 30 on the surface: the
  // break behind it is 50 m back, at -20.
  profile(0).mxindex_bodu = -1;
  addPoint(30, 5);
  addPoint(99, 10);
  applyTerrainAlongSurface(profile(0));
  EXPECT_FLOAT_EQ(p[0].profileChainage, 15);
  EXPECT_FLOAT_EQ(p[0].pointZ, 120);
  EXPECT_FLOAT_EQ(p[1].profileChainage, 18);
  EXPECT_FLOAT_EQ(p[1].pointZ, 116);
}

class TerrainCommandsTest : public TerrainImportTest {
 protected:
  TerrainCommandsTest() {
    dir = fs::temp_directory_path() / ("orv_terrain_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    session.showIfNeverShown = [this] { ++shows; };
  }
  ~TerrainCommandsTest() override { fs::remove_all(dir); }
  std::string file(const char* name, const std::string& text) {
    const fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  fs::path dir;
  int shows = 0;
};

TEST_F(TerrainCommandsTest, MessagesInOrderAndNothingChangedOnAnyFailure) {
  const std::string info = "nadpis souboru lomů terénu: ";
  struct Case {
    std::string text;
    std::vector<std::string> messages;
    float z;  // of the point at chainage 50 afterwards
  } cases[] = {
      {utf8ToCp1250("měření 2\r\n0 100\r\n100 110\r\n"),
       {info + "měření počet lomů terénu je 2"},
       105},
      {"pf 421", {info + "pf počet lomů terénu je 421", "Příliš mnoho lomů terénu"}, 7},
      {"2 pf", {"Nejsou dvě data na prvním řádku: akce-pf, ,pocetlomu"}, 7},
      {"pf 2 0 100 100", {info + "pf počet lomů terénu je 2", "Nečte body lomu terénu!"}, 7},
  };
  for (auto command : {importTerrainHeights, importTerrainAlongSurface}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.text);
      profile(0).mxindex_bodu = -1;
      addPoint(50, 50, 7);
      profile(0).terrainBreakCount = -1;
      dialogs.clearRecords();
      sectionRedraws = 0;
      dialogs.answer((dir / "missing.txt").string());
      dialogs.answer(file("lomy.txt", c.text));
      command(session);
      std::vector<std::string> want = {"Soubor" + (dir / "missing.txt").string() +
                                       "nexistuje. Zvolte jiný název!"};
      want.insert(want.end(), c.messages.begin(), c.messages.end());
      EXPECT_EQ(dialogs.messages(), want);
      EXPECT_NEAR(profile(0).points[0].pointZ, c.z, 1e-3);
      EXPECT_EQ(sectionRedraws, c.z == 7 ? 0 : 1);
    }
  }
  dialogs.clearRecords();
  dialogs.cancel();
  importTerrainHeights(session);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Nevybral jste žádný soubor"});
  EXPECT_EQ(shows, 9);
}

}  // namespace
}  // namespace orv::testing
