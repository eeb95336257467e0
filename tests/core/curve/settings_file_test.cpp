#include "core/curve/settings_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "base/fixed_text.h"
#include "commands/curve/curve_construction.h"
#include "tests/commands/curve/curvebase_fakes.h"
#include "tests/support/file_bytes.h"

namespace orv {
namespace {

using curvebase_test::CurveFixture;
namespace fs = std::filesystem;

// The file a program with default settings writes, spelled out byte by byte
// in Windows-1250 (í ED, č E8, ř F8, ů F9, ě EC, ň F2, š 9A, ó F3, é E9).
const std::string kDefaultFile =
    "soubor nastaven\xED a inicializa\xE8n\xED"
    "ch parametr\xF9 programu ORV\r\n"
    "zpr\xF9m\xECrovat_p\xF8\x65vazy_(true=1_0=false)_1\r\n"
    "implicitn\xED_m\xF3\x64_vstupu_dat(0-KMT_nebo_OAXatd,1-ru\xE8n\xED) 3\r\n"
    "bsplajnovat_v\x9A\x65\x63hny_zobrazovan\xE9_k\xF8ivky_VES_(bspline_krivkyVES=1_implicitn\xEC "
    "1\r\n"
    "stupe\xF2_bsplajnu_(bsplinedegree=3_implicitn\xEC) 3\r\n"
    "rozli\x9A\x65n\xED-bsplajnu_(bsplineresolution=128_implicitn\xEC) 128\r\n"
    "sila_cary_namerene_VES_(1_implicitn\xEC) 1\r\n"
    "sila_cary_snesene_VES_(2_implicitn\xEC) 2\r\n"
    "sila_cary_vypoctene_VES_(2_implicitn\xEC) 2\r\n"
    "sila_cary_model_aktivni_(4_implicitn\xEC) 4\r\n"
    "sila_cary_model_(2_implicitn\xEC) 2\r\n"
    "barva_cary_snesene_VES_(Black_implicitn\xEC) 0\r\n"
    "barva_cary_vypoctene_VES_(clAqua_implicitn\xEC) 16776960\r\n"
    "barva_cary_model_fix_(clYellow_implicitn\xEC) 65535\r\n"
    "barva_cary_model_(clLime_implicitn\xEC) 65280\r\n"
    "barva_cary_vetve[1]_(clNavy_implicitn\xEC) 8388608\r\n"
    "barva_cary_vetve[2]_(clGreen_implicitn\xEC) 32768\r\n"
    "barva_cary_vetve[3]_(clRed_implicitn\xEC) 255\r\n"
    "barva_cary_vetve[4]_(clPurple_implicitn\xEC) 8388736\r\n"
    "barva_cary_vetve[5]_(clYellow_implicitn\xEC) 65535\r\n"
    "kolik_procent_ma_prava_cast_obrazovky(norm60procent) 65\r\n";

using orv_test::readBytes;
using orv_test::writeBytes;

// The default file with line n (1-based) replaced.
std::string withLine(std::string file, int n, const std::string& line) {
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) start = file.find("\r\n", start) + 2;
  std::size_t end = file.find("\r\n", start);
  return file.replace(start, end - start, line);
}

// Runs each test in a fresh, empty current folder.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/orv_settings_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }
  std::string iniPath() const { return dir_ + "/orvwin.ini"; }

  std::string dir_;
  fs::path previous_;
  CurveFixture f;
};

void expectSane(const CurveWindowState& s) {
  EXPECT_GE(s.splineDegree, 1);
  EXPECT_LE(s.splineDegree, 10);
  EXPECT_GE(s.splineResolution, 2);
  EXPECT_LE(s.splineResolution, 400);
  for (int w : {s.lineWidthMeasured, s.lineWidthComposite, s.lineWidthComputed,
                s.lineWidthActiveModel, s.lineWidthModel}) {
    EXPECT_GE(w, 1);
    EXPECT_LE(w, 50);
  }
  for (int c :
       {s.colourComposite, s.colourComputed, s.colourModel, s.colourModelFixed, s.colourBranch[1],
        s.colourBranch[2], s.colourBranch[3], s.colourBranch[4], s.colourBranch[5]})
    EXPECT_EQ(c & ~0x00FFFFFF, 0);
}

TEST_F(SettingsFile, DefaultsAreWrittenByteExact) {
  applyDefaultSettings(f.s);
  ASSERT_TRUE(writeSettingsFile(f.s, iniPath().c_str()));
  EXPECT_EQ(readBytes(iniPath()), kDefaultFile);
  EXPECT_EQ(settingsFileText(f.s), kDefaultFile);
}

TEST_F(SettingsFile, WithoutAFileTheDefaultsAreTakenAndSaid) {
  f.s.inputMode = 0;
  f.s.screenSplitPercent = 12;
  readSettings(f.s, f.dialogs);
  const std::string cwd = fs::current_path().string();
  ASSERT_EQ(f.dialogs.messages().size(), 1u);
  EXPECT_EQ(f.dialogs.messages()[0],
            "Nenalezen ini soubor! " + cwd + "/orvwin.ini\nBudou načteny implicitní hodnoty");
  EXPECT_EQ(settingsFileText(f.s), kDefaultFile);
  EXPECT_EQ(textOf(f.s.StartFolder), cwd);
  EXPECT_EQ(textOf(f.s.settingsFilePath), cwd + "\\orvwin.INI");
  EXPECT_EQ(settingsIoPath(f.s), cwd + "/orvwin.ini");
}

TEST_F(SettingsFile, DefaultsWrittenAtExitWithoutAFile) {
  readSettings(f.s, f.dialogs);
  ASSERT_TRUE(writeSettings(f.s, f.dialogs));
  EXPECT_EQ(readBytes(iniPath()), kDefaultFile);
  EXPECT_EQ(f.dialogs.messages().size(), 1u);  // only the missing-file message
}

// A file copied from Windows keeps its capitals; it is read, no defaults are
// announced, and the values go back into the same file.
TEST_F(SettingsFile, AFileOfAnotherLetterCaseIsFoundAndWrittenBack) {
  for (const char* name : {"ORVWIN.INI", "OrvWin.Ini", "orvwin.INI"}) {
    SCOPED_TRACE(name);
    CurveFixture g;
    const std::string path = dir_ + "/" + name;
    writeBytes(path, withLine(kDefaultFile, 3, "implicitni_mod 2"));
    readSettings(g.s, g.dialogs);
    EXPECT_TRUE(g.dialogs.messages().empty());
    EXPECT_EQ(g.s.inputMode, 2);
    EXPECT_EQ(settingsIoPath(g.s), path);
    g.s.inputMode = 3;
    ASSERT_TRUE(writeSettings(g.s, g.dialogs));
    EXPECT_EQ(readBytes(path), settingsFileText(g.s));
    EXPECT_FALSE(fs::exists(iniPath()));
    fs::remove(path);
  }
}

TEST_F(SettingsFile, TheExactSpellingWinsAndAFolderIsNoFile) {
  fs::create_directory(dir_ + "/ORVWIN.INI");
  readSettings(f.s, f.dialogs);
  EXPECT_EQ(settingsIoPath(f.s), iniPath());
  writeBytes(dir_ + "/Orvwin.ini", kDefaultFile);
  writeBytes(iniPath(), kDefaultFile);
  EXPECT_EQ(settingsIoPath(f.s), iniPath());
}

struct LineCase {
  int line;
  std::string text;
  int32_t CurveWindowState::*member;
  int32_t expected;
};

class SettingsLine : public SettingsFile, public ::testing::WithParamInterface<LineCase> {};

TEST_P(SettingsLine, TakesTheValueByPosition) {
  const LineCase& c = GetParam();
  writeBytes(iniPath(), withLine(kDefaultFile, c.line, c.text));
  readSettings(f.s, f.dialogs);
  EXPECT_TRUE(f.dialogs.messages().empty());
  EXPECT_EQ(f.s.*c.member, c.expected);
  expectSane(f.s);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsLine,
    ::testing::Values(
        // A double-click then starts the mouse entry.
        LineCase{3, "implicitni_mod 2", &CurveWindowState::inputMode, 2},
        LineCase{3, "x 17", &CurveWindowState::inputMode, 17},  // kept, the dialog shows none
        LineCase{11, "sila_cary_model_(2_implicitn\xEC) 7", &CurveWindowState::lineWidthModel, 7},
        // Keys are ignored: the model width's line at the measured width's place.
        LineCase{7, "sila_cary_model_(2_implicitn\xEC) 9", &CurveWindowState::lineWidthMeasured, 9},
        LineCase{5, "k 5", &CurveWindowState::splineDegree, 5},
        LineCase{5, "k 0", &CurveWindowState::splineDegree, 1},
        LineCase{5, "k 99", &CurveWindowState::splineDegree, 10},
        LineCase{6, "k 1000", &CurveWindowState::splineResolution, 400},
        LineCase{6, "k 1", &CurveWindowState::splineResolution, 2},
        LineCase{6, "k 0x20", &CurveWindowState::splineResolution, 32},  // %i reads hex
        LineCase{6, "k 010", &CurveWindowState::splineResolution, 8},    // and octal
        LineCase{6, "k 12abc", &CurveWindowState::splineResolution, 12},
        LineCase{6, "k abc", &CurveWindowState::splineResolution, 128},
        LineCase{6, "k", &CurveWindowState::splineResolution, 128},
        LineCase{6, "", &CurveWindowState::splineResolution, 128},
        LineCase{6, "k 99999999999", &CurveWindowState::splineResolution, 128},
        LineCase{6, "k1000", &CurveWindowState::splineResolution, 128},
        LineCase{8, "k 0", &CurveWindowState::lineWidthComposite, 1},
        LineCase{9, "k -4", &CurveWindowState::lineWidthComputed, 1},
        LineCase{10, "k 500", &CurveWindowState::lineWidthActiveModel, 50},
        LineCase{12, "k 255", &CurveWindowState::colourComposite, 255},
        LineCase{13, "k -1", &CurveWindowState::colourComputed, 0xFFFFFF},
        LineCase{14, "k 0x7F00FF00", &CurveWindowState::colourModelFixed, 0xFF00},
        LineCase{15, "k 1", &CurveWindowState::colourModel, 1},
        LineCase{21, "k 50", &CurveWindowState::screenSplitPercent, 50},
        // The split is taken unchecked at start-up.
        LineCase{21, "k 5", &CurveWindowState::screenSplitPercent, 5},
        LineCase{21, "k 95", &CurveWindowState::screenSplitPercent, 95},
        LineCase{21, "k 100", &CurveWindowState::screenSplitPercent, 100}));

TEST_F(SettingsFile, BranchColoursAndFlags) {
  std::string file = withLine(kDefaultFile, 4, "b 0");
  for (int b = 1; b <= 5; ++b) file = withLine(file, 15 + b, "c " + std::to_string(b * 1000));
  writeBytes(iniPath(), file);
  f.s.splineAllCurves = true;
  readSettings(f.s, f.dialogs);
  EXPECT_FALSE(f.s.splineAllCurves);
  for (int b = 1; b <= 5; ++b) EXPECT_EQ(f.s.colourBranch[b], b * 1000);
}

TEST_F(SettingsFile, TheAveragingLineHasNoBlankAndSoNoNumber) {
  writeBytes(iniPath(), withLine(kDefaultFile, 2, "zpr\xF9m\xECrovat_p\xF8\x65vazy_0"));
  readSettings(f.s, f.dialogs);
  EXPECT_TRUE(f.s.averageOverlaps);
  writeBytes(iniPath(), withLine(kDefaultFile, 2, "averaging 0"));
  readSettings(f.s, f.dialogs);
  EXPECT_FALSE(f.s.averageOverlaps);  // the construction sets it again afterwards
}

TEST_F(SettingsFile, MissingLinesAtTheEndKeepTheDefaults) {
  // Header and lines 2..5 only, the last one without a line break.
  std::string file = kDefaultFile.substr(0, kDefaultFile.find("rozli"));
  file = withLine(file, 5, "s 4");
  file.resize(file.size() - 2);
  writeBytes(iniPath(), file);
  f.s.splineResolution = 7;
  f.s.screenSplitPercent = 33;
  f.s.colourBranch[5] = 1;
  f.s.lineWidthModel = 0;
  readSettings(f.s, f.dialogs);
  EXPECT_TRUE(f.dialogs.messages().empty());
  EXPECT_EQ(f.s.splineDegree, 4);
  EXPECT_EQ(f.s.splineResolution, 128);
  EXPECT_EQ(f.s.lineWidthModel, 2);
  EXPECT_EQ(f.s.colourBranch[5], 0xFFFF);
  EXPECT_EQ(f.s.screenSplitPercent, 65);
}

TEST_F(SettingsFile, AnEmptyFileMeansTheDefaults) {
  writeBytes(iniPath(), "");
  f.s.splineDegree = 9;
  readSettings(f.s, f.dialogs);
  EXPECT_TRUE(f.dialogs.messages().empty());
  EXPECT_EQ(settingsFileText(f.s), kDefaultFile);
}

TEST_F(SettingsFile, AnOverlongLineIsReadInPieces) {
  // Line 3 of 300 characters is read as three lines (149 + 149 + 2
  // characters), so every later line moves down by two places.
  std::string longLine = "k 2" + std::string(297, 'x');
  writeBytes(iniPath(), withLine(kDefaultFile, 3, longLine));
  readSettings(f.s, f.dialogs);
  EXPECT_EQ(f.s.inputMode, 2);
  EXPECT_TRUE(f.s.splineAllCurves);            // "xxx..." does not convert
  EXPECT_EQ(f.s.splineDegree, 3);              // "xx" neither
  EXPECT_EQ(f.s.splineResolution, 2);          // the old line 4, value 1
  EXPECT_EQ(f.s.lineWidthMeasured, 3);         // the old line 5
  EXPECT_EQ(f.s.lineWidthComposite, 50);       // the old line 6, 128
  EXPECT_EQ(f.s.screenSplitPercent, 8388736);  // the old line 19
  expectSane(f.s);
}

TEST_F(SettingsFile, GarbageNeverLeavesAnInsaneState) {
  std::mt19937 rng(1250);
  for (int round = 0; round < 50; ++round) {
    std::string bytes;
    const int n = static_cast<int>(rng() % 4000);
    for (int i = 0; i < n; ++i) {
      unsigned r = rng() % 16;
      // Mostly text-like bytes with digits, signs and line breaks, some binary.
      if (r < 5)
        bytes += static_cast<char>('0' + rng() % 10);
      else if (r < 7)
        bytes += ' ';
      else if (r < 8)
        bytes += "\r\n";
      else if (r < 9)
        bytes += '-';
      else if (r < 12)
        bytes += static_cast<char>('a' + rng() % 26);
      else
        bytes += static_cast<char>(rng() % 256);
    }
    writeBytes(iniPath(), bytes);
    CurveFixture g;
    readSettings(g.s, g.dialogs);
    SCOPED_TRACE(round);
    expectSane(g.s);
    EXPECT_TRUE(g.dialogs.messages().empty());
  }
}

TEST_F(SettingsFile, RoundTrip) {
  applyDefaultSettings(f.s);
  f.s.inputMode = 4;
  f.s.splineAllCurves = false;
  f.s.splineDegree = 5;
  f.s.splineResolution = 300;
  f.s.lineWidthMeasured = 3;
  f.s.lineWidthModel = 6;
  f.s.colourComputed = 0x123456;
  f.s.colourBranch[3] = 0x654321;
  f.s.screenSplitPercent = 48;
  setText(f.s.StartFolder, dir_);
  ASSERT_TRUE(writeSettings(f.s, f.dialogs));
  const std::string written = readBytes(iniPath());
  CurveFixture g;
  readSettings(g.s, g.dialogs);
  EXPECT_EQ(settingsFileText(g.s), written);
}

TEST_F(SettingsFile, NumbersStayCLocaleUnderACzechLocale) {
  const char* before = std::setlocale(LC_ALL, nullptr);
  std::string saved = before ? before : "C";
  ASSERT_NE(std::setlocale(LC_ALL, "cs_CZ.UTF-8"), nullptr) << "cs_CZ.UTF-8 must be generated";
  applyDefaultSettings(f.s);
  f.s.colourComputed = 1234567;
  setText(f.s.StartFolder, dir_);
  bool ok = writeSettings(f.s, f.dialogs);
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_TRUE(ok);
  EXPECT_EQ(readBytes(iniPath()),
            withLine(kDefaultFile, 13, "barva_cary_vypoctene_VES_(clAqua_implicitn\xEC) 1234567"));
}

TEST_F(SettingsFile, CannotCreateTheFile) {
  applyDefaultSettings(f.s);
  setText(f.s.StartFolder, dir_ + "/no/such/folder");
  EXPECT_FALSE(writeSettings(f.s, f.dialogs));
  ASSERT_EQ(f.dialogs.messages().size(), 1u);
  EXPECT_EQ(f.dialogs.messages()[0], "Nemožno ukládat do ini souboru!");
}

TEST_F(SettingsFile, AFolderInPlaceOfTheFileReadsAsEmpty) {
  fs::create_directory(iniPath());
  readSettings(f.s, f.dialogs);
  expectSane(f.s);
  EXPECT_EQ(f.s.splineResolution, 128);
  EXPECT_FALSE(writeSettings(f.s, f.dialogs));
  EXPECT_EQ(f.dialogs.messages().back(), "Nemožno ukládat do ini souboru!");
}

TEST_F(SettingsFile, ConstructionWithoutAFile) {
  f.chrome.screen = {1600, 1000};
  f.chrome.optimiseVisible = f.chrome.transferVisible = true;
  constructCurveState(f.session);
  EXPECT_EQ(f.dialogs.messages().size(), 1u);
  EXPECT_EQ(f.chrome.placedWidth, 1040);  // 1600 x 65 / 100
  EXPECT_FALSE(f.chrome.optimiseVisible);
  EXPECT_FALSE(f.chrome.transferVisible);
  EXPECT_TRUE(f.s.averageOverlaps);
  EXPECT_EQ(f.s.inputMode, 3);
  EXPECT_EQ(f.s.previousPointNumber, -25);
  EXPECT_EQ(f.s.profileNumber, 1);
  EXPECT_EQ(f.s.sourceKind, SourceNone);
  EXPECT_EQ(f.s.ipWindowCount, -10);
  EXPECT_EQ(f.s.scaleMarginPercent, 20);
  EXPECT_TRUE(f.s.describeModel);
  EXPECT_TRUE(f.s.lastClickOutsidePlot);
  EXPECT_TRUE(f.s.showDecayCurves);
  EXPECT_DOUBLE_EQ(f.s.filterCoefficients[5], -2.7841);
  EXPECT_EQ(textOf(f.s.soundingFilePath), "ves.kmt");
}

TEST_F(SettingsFile, ConstructionForcesAveragingAndUsesTheSplit) {
  std::string file = withLine(kDefaultFile, 2, "averaging 0");
  file = withLine(file, 21, "split 41");
  writeBytes(iniPath(), file);
  f.chrome.screen = {1366, 768};
  for (int i = 0; i < FlagSlots; ++i) f.s.depthFixed[i] = f.s.rhoFixed[i] = 1;
  constructCurveState(f.session);
  EXPECT_TRUE(f.dialogs.messages().empty());
  EXPECT_TRUE(f.s.averageOverlaps);
  EXPECT_EQ(f.s.screenSplitPercent, 41);
  EXPECT_EQ(f.chrome.placedWidth, 1366 * 41 / 100);
  for (int i = 0; i < FlagSlots; ++i) {
    ASSERT_EQ(f.s.depthFixed[i], 0);
    ASSERT_EQ(f.s.rhoFixed[i], 0);
  }
}

struct SplitCase {
  std::string line;
  int screenWidth;
  int expectedWidth;
};

class SettingsSplitAtStartUp : public SettingsFile,
                               public ::testing::WithParamInterface<SplitCase> {};

// The window is sized with the split as read, without a range check; a
// split whose product does not fit 32 bits gives the largest width, which
// the window framework then bounds to the screen.
TEST_P(SettingsSplitAtStartUp, SizesTheWindowWithTheSplitAsRead) {
  writeBytes(iniPath(), withLine(kDefaultFile, 21, GetParam().line));
  f.chrome.screen = {GetParam().screenWidth, 1000};
  constructCurveState(f.session);
  EXPECT_EQ(f.chrome.placedWidth, GetParam().expectedWidth);
  ASSERT_TRUE(writeSettings(f.s, f.dialogs));
  EXPECT_EQ(readBytes(iniPath()), withLine(kDefaultFile, 21, GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(
    Splits, SettingsSplitAtStartUp,
    ::testing::Values(SplitCase{"kolik_procent_ma_prava_cast_obrazovky(norm60procent) 95", 1600,
                                1520},
                      SplitCase{"kolik_procent_ma_prava_cast_obrazovky(norm60procent) 5", 1600, 80},
                      SplitCase{"kolik_procent_ma_prava_cast_obrazovky(norm60procent) 2000000000",
                                1600, INT32_MAX}));

}  // namespace
}  // namespace orv
