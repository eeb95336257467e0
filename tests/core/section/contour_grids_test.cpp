#include "core/section/contour_grids.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/cp1250.h"
#include "commands/section/contour_grids_command.h"
#include "core/section/vdb_file.h"
#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

namespace fs = std::filesystem;

struct Row {
  double x, z, value;
};

template <class Write>
std::string captured(Write write) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* m = open_memstream(&data, &size);
  EXPECT_TRUE(write(m));
  std::fclose(m);
  std::string s(data, size);
  std::free(data);
  return s;
}

// The rows after the first line; every one must be "\r\n%f\t%f\t%f".
std::vector<Row> rowsOf(const std::string& grid) {
  std::vector<Row> rows;
  std::size_t at = grid.find("\r\n");
  while (at != std::string::npos) {
    const std::size_t next = grid.find("\r\n", at + 2);
    const std::string line = grid.substr(at + 2, next == std::string::npos ? next : next - at - 2);
    Row r{};
    int used = 0;
    EXPECT_EQ(cscan(line.c_str(), "%lf\t%lf\t%lf%n", &r.x, &r.z, &r.value, &used), 3) << line;
    EXPECT_EQ(used, int(line.size())) << line;
    rows.push_back(r);
    at = next;
  }
  return rows;
}

// Every grid byte-exact whatever the user's locale.
class ContourGridsTest : public SectionTest, public ::testing::WithParamInterface<const char*> {
 protected:
  ContourGridsTest() {
    setText(db().localityName, utf8ToCp1250("Lhota u Tábora"));
    setText(profile(0).profileName, utf8ToCp1250("Pf-ř1"));
    profile(0).mxindex_bodu = -1;
    saved_ = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, GetParam())) ADD_FAILURE() << "no locale " << GetParam();
  }
  ~ContourGridsTest() override { std::setlocale(LC_ALL, saved_.c_str()); }

  SectionPoint& addPoint(float chainage, float z) {
    SectionPoint& pt = profile(0).points[++profile(0).mxindex_bodu];
    pt = SectionPoint{};
    pt.profileChainage = chainage;
    pt.pointZ = z;
    return pt;
  }
  std::string head(const char* utf8) {
    return utf8ToCp1250(utf8) + utf8ToCp1250("Lhota u Tábora a profilu Pf-ř1");
  }

  std::string saved_;
};

constexpr const char* ModelHead =
    "X\tZ\tR - soubor naměřených křivek VES pro vyzvoření izoohmického řezu lokality: ";

TEST_P(ContourGridsTest, FirstLinesHoldTitleAndUnitsAndRowsAreCFormat) {
  SectionPoint& pt = addPoint(12.5f, 300.0f);
  pt.nABmn = pt.ABmx = 0;  // AB/2 = 1 m: half a metre deep
  pt.compositeRho[0] = 0.1f;
  pt.Mermx = 1;
  pt.AO[0] = 3.0f;
  pt.ipValue[0][2] = -1.25f;
  const std::string unitsR = "[m]\t[m]\t[ohm.m]";
  EXPECT_EQ(captured([&](std::FILE* f) { return writePseudoSectionGrid(db(), f); }),
            head(ModelHead) + unitsR + "\r\n12.500000\t299.500000\t0.100000");
  EXPECT_EQ(captured([&](std::FILE* f) { return writeIpPseudoSectionGrid(db(), 2, f); }),
            head("X\tZ\tVP - soubor naměřených křivek VES pro vyzvoření izoohmického řezu "
                 "lokality: ") +
                "[m]\t[m]\t[%]\r\n12.500000\t298.500000\t-1.250000");
  EXPECT_EQ(gridTitleLine(GridKind::Model, db()), head(ModelHead) + unitsR);
  EXPECT_EQ(gridTitleLine(GridKind::Layers, db()),
            head("X\tZ\tRint - soubor interpretovaných rezistivit interpolovaných ve vrstvách pro "
                 "vyzvoření izoohmického řezu lokality: ") +
                unitsR);
  // A profile without points: the first line alone, without a break.
  profile(0).mxindex_bodu = -1;
  EXPECT_EQ(captured([&](std::FILE* f) { return writeModelGrid(db(), f); }),
            head(ModelHead) + unitsR);
}

TEST_P(ContourGridsTest, ModelsAreSampledDownToTheDepthReach) {
  // ABmx 16: AB/2 = 63.47 m, the depth reach 31.74 m.
  const double reach = 0.5 * std::pow(10.0, 16 / 8.876);
  struct Case {
    float depth;  // of the one layer above the half-space; negative: fixed
    float rho;
    double upperRows;   // samples of the layer
    double lowerFrom;   // the half-space's first sample
    double lowerUntil;  // and its last one not below this
  } cases[] = {
      {4.0f, 100.0f, 21, 296.0, 300 - reach - 2},
      {-4.0f, -100.0f, 21, 296.0, 300 - reach - 2},
      {50.0f, 100.0f, 251, 250.0, 248.0},  // top below the reach: 2 m of it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.depth);
    profile(0).mxindex_bodu = -1;
    SectionPoint& pt = addPoint(50.0f, 300.0f);
    pt.MDLmx = 1;
    pt.ABmx = 16;
    pt.layerRho[0] = c.rho;
    pt.layerRho[1] = 20.0f;
    pt.layerDepth[0] = c.depth;
    const std::vector<Row> rows =
        rowsOf(captured([&](std::FILE* f) { return writeModelGrid(db(), f); }));
    const int lower = int(std::floor((c.lowerFrom - c.lowerUntil) / 0.2 + 1e-9)) + 1;
    ASSERT_EQ(rows.size(), std::size_t(c.upperRows + lower));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const bool upper = i < c.upperRows;
      const double z = upper ? 300.0 - 0.2 * i : c.lowerFrom - 0.2 * (i - c.upperRows);
      EXPECT_EQ(rows[i].x, 50.0);
      EXPECT_NEAR(rows[i].z, z, 1e-6) << i;
      EXPECT_EQ(rows[i].value, upper ? 100.0 : 20.0) << i;
    }
    EXPECT_GE(rows.back().z, c.lowerUntil);
    EXPECT_LT(rows.back().z - 0.2, c.lowerUntil);
  }
}

TEST_P(ContourGridsTest, DamagedDepthsEndTheirColumns) {
  SectionPoint& pt = addPoint(0.0f, 300.0f);
  pt.MDLmx = 1;
  pt.layerDepth[0] = std::nanf("");
  EXPECT_EQ(rowsOf(captured([&](std::FILE* f) { return writeModelGrid(db(), f); })).size(), 0u);
  pt.layerDepth[0] = 1e30f;
  const std::size_t rows =
      rowsOf(captured([&](std::FILE* f) { return writeModelGrid(db(), f); })).size();
  EXPECT_GT(rows, 1000u);
  EXPECT_LE(rows, 200000u);
}

TEST_P(ContourGridsTest, PseudoSectionPutsEveryCellAtHalfItsSpacing) {
  SectionPoint& a = addPoint(0.0f, 200.0f);
  a.nABmn = 5;
  a.ABmx = 8;
  for (int g = 5; g <= 8; ++g) a.compositeRho[g] = 10.0f * g;
  SectionPoint& b = addPoint(40.0f, 210.0f);
  b.nABmn = GridCells - 1;
  b.ABmx = GridCells + 5;  // cut to the cells there are
  b.compositeRho[GridCells - 1] = 7.0f;
  const std::vector<Row> rows =
      rowsOf(captured([&](std::FILE* f) { return writePseudoSectionGrid(db(), f); }));
  ASSERT_EQ(rows.size(), 5u);
  for (int g = 5; g <= 8; ++g) {
    EXPECT_EQ(rows[g - 5].x, 0.0);
    EXPECT_NEAR(rows[g - 5].z, 200.0 - 0.5 * std::pow(10.0, g / 8.876), 1e-6);
    EXPECT_EQ(rows[g - 5].value, 10.0 * g);
  }
  EXPECT_EQ(rows[4].x, 40.0);
  EXPECT_EQ(rows[4].value, 7.0);
}

INSTANTIATE_TEST_SUITE_P(Locales, ContourGridsTest, ::testing::Values("C", "cs_CZ.UTF-8"));

BandPolygon polygonOf(std::initializer_list<std::pair<double, double>> vertices) {
  BandPolygon p;
  for (auto [x, z] : vertices) p.add(x, z);
  return p;
}

TEST(WriteBandGrid, ColumnsEveryFourMetresAndPointsEveryMetreUpToTheUpperEdge) {
  struct Case {
    const char* what;
    BandPolygon polygon;
    double xa, xb;
    std::vector<Row> rows;
  } cases[] = {
      {"0.5 m high, 0 to 10 m",
       polygonOf({{0, 10.5}, {10, 10.5}, {10, 10}, {0, 10}}),
       0,
       10,
       {{0, 10, 10}, {0, 10.5, 10}, {4, 10, 18}, {4, 10.5, 18}, {8, 10, 26}, {8, 10.5, 26}}},
      {"a wedge closed to its first vertex",
       polygonOf({{0, 5}, {8, 7}, {8, 3}}),
       0,
       10,
       {{0, 5, 10}, {4, 4, 18}, {4, 5, 18}, {4, 6, 18}}},
      {"no width: one resistivity",
       polygonOf({{0, 2}, {5, 2}, {5, 0}, {0, 0}}),
       3,
       3,
       {{0, 0, 10}, {0, 1, 10}, {0, 2, 10}, {4, 0, 10}, {4, 1, 10}, {4, 2, 10}}},
      {"upper chain below the lower one",
       polygonOf({{0, 0}, {2, 0}, {2, 1.2}, {0, 1.2}}),
       0,
       10,
       {{0, 0, 10}, {0, 1, 10}, {0, 1.2, 10}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string out;
    bandGridWriter(out)(c.xa, c.xb, 10.0f, 30.0f, c.polygon);
    const std::vector<Row> rows = rowsOf(out);
    ASSERT_EQ(rows.size(), c.rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].x, c.rows[i].x) << i;
      EXPECT_NEAR(rows[i].z, c.rows[i].z, 1e-9) << i;
      EXPECT_EQ(rows[i].value, c.rows[i].value) << i;
    }
  }
}

// --- commands --------------------------------------------------------------------

class GridCommandsTest : public SectionTest {
 protected:
  GridCommandsTest() {
    dir = fs::temp_directory_path() / ("orv_grids_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    givePoints(2);
  }
  ~GridCommandsTest() override { fs::remove_all(dir); }
  std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  fs::path dir;
};

TEST_F(GridCommandsTest, AnExistingFileIsNeverOverwrittenAndCancelWritesNothing) {
  const fs::path taken = dir / "taken.DAT", fresh = dir / "fresh.DAT";
  std::ofstream(taken) << "keep";
  for (auto command :
       {exportModelGrid, exportPseudoSection, exportIpPseudoSection, exportLayerGrid}) {
    fs::remove(fresh);
    dialogs.clearRecords();
    dialogs.answer(taken.string());
    dialogs.answer(fresh.string());
    command(session);
    EXPECT_EQ(dialogs.messages(),
              std::vector<std::string>{"Soubor" + taken.string() + "existuje. Zvolte jiný název!"});
    EXPECT_EQ(dialogs.questions(),
              (std::vector<std::string>(2, "save|Uložení dat pro zobrazení ve WINSURFu|")));
    EXPECT_EQ(contents(taken), "keep");
    EXPECT_EQ(contents(fresh).substr(0, 4), "X\tZ\t");

    dialogs.clearRecords();
    dialogs.cancel();
    command(session);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Nevybral jste žádný soubor"});
  }
  dialogs.clearRecords();
  dialogs.answer((dir / "no" / "such.DAT").string());
  exportModelGrid(session);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Cannot open UCM_output file."});
}

TEST_F(GridCommandsTest, AnEmptyProfileOpensADatabaseInstead) {
  profile(0).mxindex_bodu = -1;
  int pictures = 0;
  const PictureWriter save = [&](bool) { ++pictures; };
  for (auto command : {exportModelGrid, exportPseudoSection, exportIpPseudoSection}) {
    dialogs.clearRecords();
    dialogs.cancel();
    command(session);
    ASSERT_EQ(dialogs.questions().size(), 1u);
    EXPECT_EQ(dialogs.questions()[0].rfind("open|", 0), 0u);
  }
  dialogs.clearRecords();
  dialogs.cancel();
  dialogs.cancel();
  savePictureWithLegend(session, save);
  saveColoursOnlyPicture(session, save);
  EXPECT_EQ(pictures, 0);
  EXPECT_EQ(dialogs.questions().size(), 2u);
}

TEST_F(GridCommandsTest, PicturesSetTheirFlagsAroundOneRepaint) {
  std::vector<std::string> road;
  session.redraw = [&] {
    road.push_back(cformat("redraw legend=%d colours=%d", view.drawLegend, view.coloursOnly));
  };
  const PictureWriter save = [&](bool dxf) {
    road.push_back(
        cformat("save dxf=%d legend=%d colours=%d", dxf, view.drawLegend, view.coloursOnly));
  };
  savePictureWithLegend(session, save);
  saveColoursOnlyPicture(session, save);
  saveDxfCompanionPicture(session, save);
  EXPECT_EQ(road, (std::vector<std::string>{
                      "redraw legend=1 colours=0", "save dxf=0 legend=1 colours=0",
                      "redraw legend=1 colours=1", "save dxf=0 legend=1 colours=1",
                      "redraw legend=0 colours=0", "redraw legend=0 colours=1",
                      "save dxf=1 legend=0 colours=1", "redraw legend=0 colours=0"}));
  EXPECT_FALSE(view.drawLegend || view.coloursOnly);

  dialogs.cancel();
  EXPECT_EQ(pictureFileName(dialogs, false, "x.dxf"), "");
  EXPECT_EQ(pictureFileName(dialogs, true, "x.dxf"), "x.dxf.JPG");
}

// Writes the grids of the five-sounding fixture for the contouring check of
// the gridding package; runs only when it names a folder.
TEST(GmtGridFiles, WriteProfil5Grids) {
  const char* out = std::getenv("ORV_GMT_GRID_DIR");
  if (!out) GTEST_SKIP() << "ORV_GMT_GRID_DIR not set";
  ZeroedBlock<SectionDatabase> db;
  setInitialDatabaseState(*db);
  ASSERT_EQ(readVdb(*db, ORV_FIXTURES_DIR "/profil5.vdb").code, 1);
  db->currentProfile = 0;
  const std::pair<const char*, bool (*)(const SectionDatabase&, std::FILE*)> grids[] = {
      {"model.DAT", writeModelGrid}, {"pseudo.DAT", writePseudoSectionGrid}};
  for (auto [name, write] : grids) {
    std::FILE* f = std::fopen((fs::path(out) / name).c_str(), "wb");
    ASSERT_TRUE(f);
    EXPECT_TRUE(write(*db, f));
    std::fclose(f);
  }
}

}  // namespace
}  // namespace orv::testing
