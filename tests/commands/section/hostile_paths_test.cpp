// Names a user may pick in the file dialogs (Czech letters, blanks, an en
// dash, a 200-character name, a path of about 1000 bytes and one longer than
// the name buffers) go through every save and open command that takes its
// path from a dialog; texts typed with characters Windows-1250 has no code
// for are stored with '?' and leave the fields after them whole.
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "base/cp1250.h"
#include "commands/curve/ip_commands.h"
#include "commands/curve/kmt_commands.h"
#include "commands/section/colour_scale_commands.h"
#include "commands/section/contour_grids_command.h"
#include "commands/section/database_commands.h"
#include "commands/section/dxf_export_command.h"
#include "commands/section/point_parameters.h"
#include "core/interpretation/ip_grid_file.h"
#include "core/section/contour_grids.h"
#include "core/section/dxf_export.h"
#include "tests/commands/curve/kmt_test_support.h"
#include "tests/commands/section/section_test_support.h"
#include "tests/support/fixture_path.h"

namespace orv::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const std::string CannotCreate = "Nemožno vytvořit zvolený soubor KMT !";

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every regular file under root.
Strings filesUnder(const std::string& root) {
  Strings out;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) out.push_back(e.path().string());
  return out;
}

struct NameKind {
  const char* name;
  // The chosen path for a file of extension ext under root.
  std::function<std::string(const std::string& root, const std::string& ext)> path;
  bool fitsBuffers;
};

// Folders of 200 bytes down to about total bytes, then the file.
std::string deepPath(const std::string& root, const std::string& ext, std::size_t total) {
  fs::path p(root);
  const std::string stem = "hluboko – ";
  while (p.string().size() + 201 + stem.size() + 10 < total) p /= std::string(200, 'd');
  std::string name =
      stem + std::string(total - p.string().size() - 1 - stem.size() - ext.size(), 'x');
  fs::create_directories(p);
  return (p / (name + ext)).string();
}

const NameKind Names[] = {
    {"czech letters, blanks and an en dash",
     [](const std::string& root, const std::string& ext) {
       fs::create_directories(fs::path(root) / "Profil č. 3");
       return root + "/Profil č. 3/měření – žluťoučký kůň" + ext;
     },
     true},
    {"a name of 200 characters",
     [](const std::string& root, const std::string& ext) {
       return root + "/žluťoučký kůň " + std::string(200 - 14 - ext.size(), 'x') + ext;
     },
     true},
    {"a line break in the name",
     [](const std::string& root, const std::string& ext) { return root + "/zlom\nřádku" + ext; },
     true},
    {"a path of 1000 bytes",
     [](const std::string& root, const std::string& ext) { return deepPath(root, ext, 1000); },
     true},
    {"a path of 1100 bytes",
     [](const std::string& root, const std::string& ext) { return deepPath(root, ext, 1100); },
     false},
};

// --- the curve window: KMT save and open, the IP grid -----------------------------

TEST(HostilePaths, CurveWindowFilesRoundTripOrAreRefusedWhole) {
  for (const NameKind& n : Names) {
    SCOPED_TRACE(n.name);
    ScratchFolder dir("hostile_curve");
    const std::string root = fs::path(dir.file("x")).parent_path().string();
    TestWindow w;
    w.dialogs.answer(orv_test::fixturePath("lhota-pf1.kmt"));
    openKmtFile(w.session);
    const int readings = w.s().readingCount;
    ASSERT_GT(readings, 0);
    ASSERT_TRUE(w.s().compositeReady);
    w.dialogs.clearRecords();

    const std::string kmt = n.path(root, ".KMT");
    // The path; then operator, locality, point number and profile number,
    // asked only once the file is made.
    w.dialogs.answer(kmt);
    if (n.fitsBuffers)
      for (const char* a : {"Ωmega😀", "Žďár\nnad", "77", "5"}) w.dialogs.answer(a);
    const bool written = writeRecord(w.session, true);
    closeKmtOutput(w.s());
    EXPECT_EQ(w.dialogs.pendingAnswers(), 0u);
    if (!n.fitsBuffers) {
      EXPECT_FALSE(written);
      EXPECT_EQ(w.dialogs.messages(), Strings{CannotCreate});
      EXPECT_EQ(filesUnder(root), Strings{});
    } else {
      ASSERT_TRUE(written);
      EXPECT_EQ(filesUnder(root), Strings{kmt});
      CurveWindowState& s = w.s();
      s.pointNumber = s.profileNumber = 0;
      setText(s.operatorText, "");
      setText(s.localityText, "");
      w.dialogs.clearRecords();
      w.dialogs.answer(kmt);
      openKmtFile(w.session);
      EXPECT_EQ(w.dialogs.messages(), Strings{});
      EXPECT_EQ(shownText(s.operatorText), "?mega?");
      // The line break went out as a blank: the locality is one word.
      EXPECT_EQ(shownText(s.localityText), "Žďár");
      EXPECT_EQ(s.pointNumber, 77);
      EXPECT_EQ(s.profileNumber, 5);
      EXPECT_EQ(s.readingCount, readings);
      EXPECT_EQ(textOf(s.soundingFilePath), kmt);
    }

    // The IP grid has no name buffer: any path the system takes is written.
    CurveWindowState& s = w.s();
    s.ipWindowCount = 2;
    for (int m = 0; m < s.readingCount; ++m)
      for (int k = 0; k < 2; ++k) s.ipValue[m][k] = 1.5f * m + k;
    const std::string grid = n.path(root, ".DAT");
    w.dialogs.clearRecords();
    w.dialogs.answer(grid);
    exportIpGrid(w.session);
    EXPECT_EQ(w.dialogs.messages(), Strings{});
    EXPECT_EQ(w.dialogs.pendingAnswers(), 0u);
    EXPECT_EQ(bytesOf(grid), ipGridText(s));
    EXPECT_FALSE(ipGridText(s).empty());
  }
}

// --- the section window: VDB, colour scale, DXF, grids ----------------------------

struct Section : SectionTest {
  Section() {
    givePoints(2);
    db().currentProfile = 0;
    profile(0).scaleX = 0.001f;
    SectionLayout& l = view.layout;
    l.pxPerMetreX = l.pxPerMetreZ = 1.0;
    l.dataMinChainage = 100;
    l.dataMaxChainage = 220;
    l.imageLeftChainage = 80;
    l.imageBottomElevation = 90;
    l.imageTopElevation = 110;
    l.frameLeft = 5;
    l.frameRight = 160;
    l.frameBottom = 10;
  }
  void TestBody() override {}
  using SectionTest::curve;
  using SectionTest::db;
  using SectionTest::dialogAnswer;
  using SectionTest::dialogs;
  using SectionTest::profile;
  using SectionTest::session;
  using SectionTest::view;
};

TEST(HostilePaths, SectionFilesRoundTripOrAreRefusedWhole) {
  for (const NameKind& n : Names) {
    SCOPED_TRACE(n.name);
    ScratchFolder dir("hostile_section");
    const std::string root = fs::path(dir.file("x")).parent_path().string();
    Section t;

    // A point filed through the point parameters dialog with texts that
    // Windows-1250 cannot hold all of.
    CurveWindowState& s = t.curve();
    s.curveLoaded = s.curveDrawn = s.modelActive = true;
    s.readingCount = 1;
    s.readingAbHalf[0] = 1;
    s.readingMnHalf[0] = 0.5f;
    s.readingRho[0] = 40;
    s.readingBranch[0] = 1;
    s.modelBoundaryCount = 1;
    s.modelRho[0] = 40;
    s.modelRho[1] = 90;
    s.modelDepth[0] = 2.5f;
    PointFields f = fillPointFields(t.db(), s, false);
    f.pointName = "Ωmega 😀 中文 – č";
    f.locality = "Lhota\r\npod Horou";
    f.note = "za textem";
    f.profileChainage = "150";
    t.dialogAnswer = f;
    transferToSection(t.session);
    ASSERT_EQ(t.profile(0).mxindex_bodu, 2);
    t.dialogs.clearRecords();

    const std::string vdb = n.path(root, ".vdb");
    t.dialogs.answer(vdb);
    saveDatabase(t.session, true);
    const std::string rsc = n.path(root, ".rsc");
    ColourScale& scale = t.view.colourScale;
    scale.colResCount = 3;
    for (int k = 0; k < 3; ++k) {
      scale.colResBound[k] = 10 * k;
      scale.colResColor[k] = 0x102030 + k;
    }
    t.dialogs.answer(rsc);
    saveColourScaleAs(t.session);

    if (!n.fitsBuffers) {
      EXPECT_EQ(t.dialogs.messages(), (Strings{CannotCreate, CannotCreate}));
      EXPECT_EQ(filesUnder(root), Strings{});
      // A file of that name made otherwise is not opened under a cut name.
      std::ofstream(vdb, std::ios::binary) << bytesOf(orv_test::fixturePath("profil5.vdb"));
      std::ofstream(rsc, std::ios::binary) << bytesOf(orv_test::fixturePath("profil5.rsc"));
      t.dialogs.clearRecords();
      t.dialogs.answer("Ne");  // the point filed above was never saved
      t.dialogs.answer(vdb);
      readDatabase(t.session);
      t.dialogs.answer(rsc);
      loadColourScaleWithDialog(t.session);
      EXPECT_EQ(t.dialogs.messages(),
                (Strings{"Cannot open input file.", "Cannot open input Color-file."}));
      EXPECT_EQ(t.profile(0).mxindex_bodu, 2);
      EXPECT_EQ(scale.colResCount, 3);
    } else {
      EXPECT_EQ(t.dialogs.messages(), Strings{});
      EXPECT_EQ(textOf(t.db().fileName), vdb);
      ASSERT_TRUE(fs::exists(vdb));
      ASSERT_TRUE(fs::exists(rsc));
      // Inside the file the path is Windows-1250, on its own line.
      std::string inside = utf8ToCp1250(rsc);
      for (char& ch : inside)
        if (ch == '\n') ch = ' ';
      EXPECT_EQ(bytesOf(rsc).find(inside), utf8ToCp1250("název_souboru: ").size());

      setInitialDatabaseState(t.db());
      scale.colResCount = 0;
      scale.colResBound[1] = scale.colResColor[1] = 0;
      t.dialogs.clearRecords();
      t.dialogs.answer(vdb);
      readDatabase(t.session);
      t.dialogs.answer(rsc);
      loadColourScaleWithDialog(t.session);
      EXPECT_EQ(t.dialogs.messages(), Strings{});
      ASSERT_EQ(t.profile(0).mxindex_bodu, 2);
      const SectionPoint& p = t.profile(0).points[2];
      EXPECT_EQ(shownText(p.pointName), "?mega ? ?? – č");
      EXPECT_EQ(shownText(p.pointNote), "za textem");
      EXPECT_EQ(p.profileChainage, 150.0f);
      EXPECT_EQ(p.Rmer[0], 40.0f);
      EXPECT_EQ(shownText(t.db().localityName), "Lhota  pod Horou");
      EXPECT_EQ(shownText(t.profile(0).points[1].pointName), "bod2");
      EXPECT_EQ(scale.colResCount, 3);
      EXPECT_EQ(scale.colResColor[1], 0x102031);
      EXPECT_EQ(textOf(scale.colResFileName), rsc);
    }

    // The exports hold their paths whole: any path the system takes is
    // written.
    t.db().currentProfile = 0;
    DxfSettings settings;
    const std::string dxf = n.path(root, ".dxf");
    t.dialogs.clearRecords();
    t.dialogs.answer(dxf);
    exportDxf(t.session, settings, {});
    t.dialogs.answer(n.path(root, ".DAT"));
    exportModelGrid(t.session);
    EXPECT_EQ(t.dialogs.messages(), Strings{});
    EXPECT_EQ(t.dialogs.pendingAnswers(), 0u);
    EXPECT_EQ(settings.dxfFileName, dxf);
    EXPECT_EQ(bytesOf(dxf), dxfDocument(t.db(), t.view, settings));
    EXPECT_EQ(bytesOf(n.path(root, ".DAT")).substr(0, 4), "X\tZ\t");
  }
}

}  // namespace
}  // namespace orv::testing
