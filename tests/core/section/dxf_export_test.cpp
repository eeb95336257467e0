#include "core/section/dxf_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "commands/section/curve_link.h"
#include "commands/section/dxf_export_command.h"
#include "commands/section/section_session.h"
#include "ui/scripted_dialogs.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

struct Entity {
  std::string type;
  std::vector<std::pair<std::string, std::string>> groups;  // code as written, value
  std::string operator[](const std::string& code) const {
    for (const auto& g : groups)
      if (g.first == code) return g.second;
    return "?";
  }
  double real(const std::string& code) const { return std::stod((*this)[code]); }
};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
    out.push_back(text.substr(from, at - from));
  out.push_back(text.substr(from));
  return out;
}

// The ENTITIES section as entities of their groups.
std::vector<Entity> entitiesOf(const std::string& text) {
  const std::vector<std::string> l = linesOf(text);
  std::vector<Entity> out;
  std::size_t i = 0;
  while (i + 1 < l.size() && !(l[i] == "  2" && l[i + 1] == "ENTITIES")) i += 2;
  for (i += 2; i + 1 < l.size(); i += 2) {
    if (l[i] == "  0") {
      if (l[i + 1] == "ENDSEC") break;
      out.push_back({l[i + 1], {}});
    } else if (!out.empty()) {
      out.back().groups.emplace_back(l[i], l[i + 1]);
    }
  }
  return out;
}

std::vector<Entity> onLayer(const std::vector<Entity>& all, const std::string& type,
                            const std::string& layer) {
  std::vector<Entity> out;
  for (const Entity& e : all)
    if (e.type == type && e["  8"] == layer) out.push_back(e);
  return out;
}

// The vertices of the polyline on layer, in order.
std::vector<std::pair<double, double>> polylineOn(const std::vector<Entity>& all,
                                                  const std::string& layer, int which = 0) {
  std::vector<std::pair<double, double>> out;
  int seen = -1;
  bool inside = false;
  for (const Entity& e : all) {
    if (e.type == "POLYLINE") inside = e["  8"] == layer && ++seen == which;
    if (e.type == "SEQEND") inside = false;
    if (inside && e.type == "VERTEX") out.emplace_back(e.real("  10"), e.real("  20"));
  }
  return out;
}

class DxfExport : public ::testing::Test {
 protected:
  DxfExport() {
    setText(db->localityName, utf8ToCp1250("Lhota"));
    db->currentProfile = 0;
    setText(profile().profileName, utf8ToCp1250("P1"));
    profile().scaleX = 0.001f;
    view.labelBySurfaceChainage = false;
  }
  SectionProfile& profile() { return db->profiles[0]; }
  SectionPoint& addPoint(float chainage, float z, float rho0 = 100.0f) {
    SectionProfile& p = profile();
    SectionPoint& pt = p.points[++p.mxindex_bodu];
    pt.profileChainage = chainage;
    pt.surfaceChainage = chainage;
    pt.pointZ = z;
    pt.ABmx = 20;
    pt.MDLmx = 1;
    pt.layerRho[0] = rho0;
    pt.layerRho[1] = 300.0f;
    pt.layerDepth[0] = 4.0f;
    return pt;
  }
  // The layout of a repaint: 1 px per metre, the frame 5 px inside the
  // picture, which spans -20..330 m and 300 m down to 190 m.
  void layout(double dataMin, double dataMax, double bottom, double top) {
    SectionLayout& l = view.layout;
    l.pxPerMetreX = l.pxPerMetreZ = 1.0;
    l.dataMinChainage = dataMin;
    l.dataMaxChainage = dataMax;
    l.imageLeftChainage = dataMin - 20.0;
    l.imageBottomElevation = bottom;
    l.imageTopElevation = top;
    l.frameLeft = 5;
    l.frameRight = int(dataMax - dataMin) + 35;
    l.frameBottom = int(top - bottom) - 10;
  }
  std::string dxf() { return dxfDocument(*db, view, settings); }

  void SetUp() override { profile().mxindex_bodu = -1; }

  ZeroedBlock<SectionDatabase> db;
  SectionWindowState view;
  DxfSettings settings;
};

TEST_F(DxfExport, HeadAndEntitiesAreWrittenInTheirFixedFormats) {
  addPoint(100.0f, 250.0f);
  layout(100, 100, 240, 260);
  const std::string text = dxf();
  const std::string head =
      "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$DWGCODEPAGE\r\n  3\r\nANSI_1250\r\n"
      "  9\r\n$LIMMIN\r\n  10\r\n    -981.500\r\n  20\r\n"
      "    -760.000\r\n  9\r\n$LIMMAX\r\n  10\r\n    1021.500\r\n  20\r\n    1260.000\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  const std::vector<std::string> l = linesOf(text);
  EXPECT_EQ(l.back(), "EOF");
  EXPECT_EQ(l[l.size() - 3], "ENDSEC");
  for (const std::string& line : l) ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos);
  // The chainage axis, then the first tick at 105 m (short: labels every 10 m).
  EXPECT_NE(text.find("  0\r\nLINE\r\n  8\r\nosa_X\r\n  62\r\n      256\r\n  10\r\n      18.500\r\n"
                      "  20\r\n     240.000\r\n  11\r\n      21.500\r\n  21\r\n     240.000\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("  0\r\nTEXT\r\n  8\r\npopisOs\r\n  62\r\n      256\r\n  72\r\n      1\r\n"
                      "  73\r\n      3\r\n  10\r\n       0.000\r\n  20\r\n       0.000\r\n"
                      "  11\r\n      20.000\r\n  21\r\n     239.715\r\n  40\r\n       0.100\r\n"
                      "  50\r\n0.000000\r\n  1\r\n100"),
            std::string::npos);
  EXPECT_NE(text.find("  0\r\nPOLYLINE\r\n  8\r\npovrch_terenu_dle_VES\r\n  66\r\n      1\r\n"
                      "  62\r\n      104\r\n  40\r\n       0.015\r\n  41\r\n       0.015\r\n"
                      "  0\r\nVERTEX\r\n  8\r\nosyXY\r\n  10\r\n      20.000\r\n  20\r\n"
                      "     250.000\r\n  0\r\nSEQEND"),
            std::string::npos);
  EXPECT_NE(text.find("  50\r\n90.000000\r\n  1\r\n100.0"), std::string::npos);
  EXPECT_NE(text.find(utf8ToCp1250("  1\r\nlokalita: Lhota, profil: P1\r\n")), std::string::npos);
}

TEST_F(DxfExport, WideProfileForcesTheChainageStepsAndTheyStayInTheSettings) {
  addPoint(0.0f, 250.0f);
  addPoint(300.0f, 250.0f);
  layout(0, 300, 240, 260);
  settings.dxfTickX = 3;
  settings.dxfLabelX = 7;
  const std::vector<Entity> e = entitiesOf(dxf());
  EXPECT_EQ(settings.dxfTickX, 10);
  EXPECT_EQ(settings.dxfLabelX, 50);
  std::vector<std::string> labels;
  for (const Entity& t : onLayer(e, "TEXT", "popisOs")) labels.push_back(t["  1"]);
  EXPECT_EQ(labels, (std::vector<std::string>{"300", "250", "200", "150", "100", "50", "0"}));
  EXPECT_EQ(onLayer(e, "LINE", "osa_X").size(), 1u + 31u);
  EXPECT_EQ(
      dxfSettingsFileText(settings).find("krok_popisu_x_UCM_(int) 50\r\n") != std::string::npos,
      true);
}

struct StepCase {
  double width, height;
  int tickX, labelX, tickZ, labelZ;
};

TEST_F(DxfExport, AutomaticStepsFollowTheDrawingSize) {
  const StepCase cases[] = {
      {100, 49.9, 5, 10, 1, 2}, {100.1, 50, 5, 20, 1, 5},    {200.1, 99, 5, 25, 1, 5},
      {250, 100, 5, 25, 2, 10}, {250.1, 100, 10, 50, 2, 10},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.width);
    DxfSettings s;
    SectionLayout l;
    l.imageBottomElevation = 10;
    applyAutomaticDxfSteps(s, {0, c.width, 0, 10 + c.height}, l);
    EXPECT_EQ(s.dxfTickX, c.tickX);
    EXPECT_EQ(s.dxfLabelX, c.labelX);
    EXPECT_EQ(s.dxfTickZ, c.tickZ);
    EXPECT_EQ(s.dxfLabelZ, c.labelZ);
  }
}

struct LabelCase {
  int tickX, labelX, tickZ, labelZ;
  std::size_t xLabels, zLabels, zLines;
};

TEST_F(DxfExport, LabelsNeedAGreaterChainageStepButAnEqualElevationStep) {
  // Chainage -7.5..27.5, elevation 240..260: ticks 0..25 and 240..260.
  const LabelCase cases[] = {
      {5, 5, 2, 2, 0, 2 * 11, 2 + 2 * 11},
      {5, 10, 5, 10, 3, 2 * 3, 2 + 2 * 5},
      {0, 10, 1, 0, 0, 0, 0},
      // A step of zero would never reach the bottom: the axes stand without ticks.
      {5, 10, 0, 2, 3, 0, 2},
  };
  addPoint(0.0f, 250.0f);
  addPoint(20.0f, 250.0f);
  layout(0, 20, 240, 260);
  for (const LabelCase& c : cases) {
    SCOPED_TRACE(c.tickX * 100 + c.tickZ);
    settings.dxfTickX = c.tickX;
    settings.dxfLabelX = c.labelX;
    settings.dxfTickZ = c.tickZ;
    settings.dxfLabelZ = c.labelZ;
    const std::vector<Entity> e = entitiesOf(dxf());
    EXPECT_EQ(onLayer(e, "TEXT", "popisOs").size(), c.xLabels);
    EXPECT_EQ(onLayer(e, "TEXT", "osa_Z_popis").size(), c.zLabels);
    EXPECT_EQ(onLayer(e, "LINE", "osa_Z").size(), c.zLines);
  }
}

TEST_F(DxfExport, ResistivitiesAreWholeNumbersAndTheHalfSpaceReachesTheEdge) {
  SectionPoint& pt = addPoint(0.0f, 250.0f, 123.9f);
  pt.MDLmx = 2;
  pt.layerRho[1] = -45.7f;  // fixed
  pt.layerRho[2] = 0.99f;
  pt.layerDepth[1] = -10.0f;
  layout(0, 0, 200, 260);
  const std::vector<Entity> e = entitiesOf(dxf());
  const std::vector<Entity> rho = onLayer(e, "TEXT", "rezistivita");
  ASSERT_EQ(rho.size(), 3u);
  EXPECT_EQ(rho[0]["  1"], "123");
  EXPECT_EQ(rho[1]["  1"], "45");
  EXPECT_EQ(rho[2]["  1"], "0");
  EXPECT_DOUBLE_EQ(rho[0].real("  21"), 248.0);
  EXPECT_DOUBLE_EQ(rho[1].real("  21"), 243.0);
  EXPECT_DOUBLE_EQ(rho[2].real("  21"), 220.0);  // between 240 and the edge at 200
  EXPECT_FLOAT_EQ(pt.layerDepth[2], 50.0f);
  EXPECT_EQ(onLayer(e, "LINE", "rozhrani_VES").size(), 4u);
}

TEST_F(DxfExport, PointPolylinesRepeatTheLastVertexForASharedChainage) {
  addPoint(10.0f, 251.0f);
  addPoint(0.0f, 250.0f);
  addPoint(10.0f, 252.0f);
  layout(0, 10, 240, 260);
  int order[MaxPointsPerProfile];
  ASSERT_EQ(dxfPointOrder(profile(), order), 3);
  EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{1, 0, 0}));
  const std::vector<Entity> e = entitiesOf(dxf());
  EXPECT_EQ(polylineOn(e, "povrch_terenu_dle_VES"),
            (std::vector<std::pair<double, double>>{{0, 250}, {2, 251}, {2, 251}}));
  const auto reach = polylineOn(e, "max_hloubkovy_dosah_VES");
  ASSERT_EQ(reach.size(), 3u);
  // ABmx 20: half of 10^(20 / 8.876) m.
  EXPECT_NEAR(reach[0].second, 250.0 - 0.5 * std::pow(10.0, 20 / 8.876), 0.0015);
}

TEST_F(DxfExport, HbvLinesAreClippedWithAVertexOnTheEdge) {
  addPoint(0.0f, 250.0f);
  addPoint(100.0f, 250.0f);
  layout(0, 100, 190, 300);  // frame: xl -15, xr 115, zLow 200, zTop 300
  SectionProfile& p = profile();
  p.HBV_pocet = 2;
  const float line0x[] = {-25, -5, 50, 60, 125};
  const float line0z[] = {230, 240, 194, 195.5f, 260};
  p.HBV_pocetBodu[0] = 5;
  for (int v = 0; v < 5; ++v) {
    p.HBV_x[0][v] = line0x[v];
    p.HBV_z[0][v] = line0z[v];
  }
  p.HBV_pocetBodu[1] = HbvLineJustOpened;
  const std::vector<Entity> e = entitiesOf(dxf());
  // In at the left edge, the vertex 6 m below the drawing left out, out at
  // the right edge: 195.5 + 64.5 * 55 / 65.
  const auto line0 = polylineOn(e, "propojeni_vrstev_VES", 0);
  const std::vector<std::pair<double, double>> expected{
      {-3, 235}, {-1, 240}, {12, 195.5}, {23, 250.077}};
  ASSERT_EQ(line0.size(), expected.size());
  for (std::size_t v = 0; v < expected.size(); ++v) {
    EXPECT_DOUBLE_EQ(line0[v].first, expected[v].first) << v;
    EXPECT_DOUBLE_EQ(line0[v].second, expected[v].second) << v;
  }
  EXPECT_TRUE(polylineOn(e, "propojeni_vrstev_VES", 1).empty());
  // With lines the drawing is the frame: its edges bound the axes.
  EXPECT_DOUBLE_EQ(onLayer(e, "LINE", "osa_X")[0].real("  10"), -3.0);
  EXPECT_DOUBLE_EQ(onLayer(e, "LINE", "osa_X")[0].real("  20"), 200.0);
}

TEST_F(DxfExport, EmptyProfileWritesNothing) {
  layout(0, 0, 0, 10);
  EXPECT_TRUE(dxf().empty());
  EXPECT_EQ(writeDxf(*db, view, settings, nullptr), DxfNoPoint);
}

// --- the command ---------------------------------------------------------------

// The curve window is not asked by these commands; a database dialog that is
// cancelled leaves it alone too.
class IdleCurveLink : public CurveLink {
 public:
  CurveWindowState& state() override { return *state_; }
  void setTransferButtonVisible(bool) override {}
  void takeOverLoadedPoint() override {}
  void redraw() override {}

 private:
  ZeroedBlock<CurveWindowState> state_;
};

class DxfCommand : public DxfExport {
 protected:
  void SetUp() override {
    DxfExport::SetUp();
    dir =
        fs::temp_directory_path() /
        ("orv_dxf_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    addPoint(0.0f, 250.0f);
    layout(0, 0, 240, 260);
  }
  void TearDown() override { fs::remove_all(dir); }
  void run() {
    SectionSession s{*db, view, dialogs, curve, [&] { ++redraws; }, {}};
    dxfExportCommand(s, settings, [&](const std::string& path) {
      pictures.push_back(path);
      coloursOnlyAtPicture = view.coloursOnly;
    });
  }
  fs::path dir;
  ui::ScriptedDialogs dialogs;
  IdleCurveLink curve;
  int redraws = 0;
  std::vector<std::string> pictures;
  bool coloursOnlyAtPicture = false;
};

TEST_F(DxfCommand, CancelWritesNothing) {
  dialogs.cancel();
  run();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Nevybral jste žádný soubor"});
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(DxfCommand, ExistingFileIsNeverOverwrittenAndThePictureFollowsHbvLines) {
  const std::string taken = (dir / "rez.dxf").string(), fresh = (dir / "rez2.dxf").string();
  std::ofstream(taken) << "stary";
  profile().HBV_pocet = 1;
  settings.dxfExaggeration = 3.7f;
  dialogs.answer(taken);
  dialogs.answer(fresh);
  run();
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Soubor" + taken + "existuje. Zvolte jiný název!"});
  ASSERT_EQ(dialogs.questions().size(), 2u);
  EXPECT_EQ(dialogs.questions()[1], "save||" + taken);
  std::ifstream in(taken);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "stary");
  EXPECT_EQ(settings.dxfFileName, fresh);
  EXPECT_GT(fs::file_size(fresh), 1000u);
  EXPECT_EQ(pictures, std::vector<std::string>{fresh + ".JPG"});
  EXPECT_TRUE(coloursOnlyAtPicture);
  EXPECT_FALSE(view.coloursOnly);
  EXPECT_EQ(redraws, 2);
  EXPECT_EQ(view.exaggeration, 3);
  EXPECT_TRUE(view.exaggerationLock);
  EXPECT_FLOAT_EQ(profile().scaleZ, 0.003f);
}

TEST_F(DxfCommand, NoPictureWithoutHbvLinesAndTheDatabaseDialogWithoutPoints) {
  dialogs.answer((dir / "a.dxf").string());
  run();
  EXPECT_TRUE(fs::exists(dir / "a.dxf"));
  EXPECT_TRUE(pictures.empty());
  EXPECT_EQ(redraws, 0);

  profile().mxindex_bodu = -1;
  dialogs.clearRecords();
  dialogs.cancel();
  run();
  ASSERT_EQ(dialogs.questions().size(), 1u);
  EXPECT_EQ(dialogs.questions()[0].rfind("open|", 0), 0u);
}

// The drawing the ezdxf audit of the test suite reads (ORV_DXF_AUDIT_FILE):
// every kind of entity, Czech texts and a clipped line.
TEST_F(DxfExport, AuditSampleIsWritten) {
  const char* target = std::getenv("ORV_DXF_AUDIT_FILE");
  addPoint(0.0f, 250.0f, 123.9f);
  addPoint(40.0f, 248.0f, 80.0f);
  addPoint(80.0f, 251.0f, 45.0f);
  setText(db->localityName, utf8ToCp1250("Žďár"));
  layout(0, 80, 180, 270);
  SectionProfile& p = profile();
  p.HBV_pocet = 1;
  p.HBV_pocetBodu[0] = 3;
  const float x[] = {-40, 40, 80}, z[] = {246, 244, 247};
  for (int v = 0; v < 3; ++v) {
    p.HBV_x[0][v] = x[v];
    p.HBV_z[0][v] = z[v];
  }
  const std::string path = target ? target : (fs::temp_directory_path() / "orv_audit.dxf").string();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(writeDxf(*db, view, settings, f), DxfWritten);
  std::fclose(f);
  if (!target) fs::remove(path);
}

}  // namespace
}  // namespace orv
