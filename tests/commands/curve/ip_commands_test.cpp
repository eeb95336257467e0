// The IP commands as the user meets them: the input boxes of the windows,
// the export's file choice, the outlier edit with the mouse, the overlay and
// the panel drawn for a known chart.
#include "commands/curve/ip_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "commands/curve/ip_drawing.h"
#include "core/interpretation/ip_grid_file.h"
#include "tests/commands/curve/chart_fixture.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv {
namespace {

using testing_support::Call;
using testing_support::CallKind;
using testing_support::RecordingCanvas;

class IpCommandsTest : public ::testing::Test {
 protected:
  IpCommandsTest() {
    testing_support::useDefaultDisplaySettings(*s);
    testing_support::useChartGeometry(*s, RecordingCanvas::CharWidth, RecordingCanvas::TextHeight,
                                      600, 400);
    canvas.resize(s->imageWidth, s->imageHeight);
    s->ipOnTime = 2000;
    s->ipWindowLength = 150;
    s->ipWindowDelay = 100;
    s->gridMinIndex = 0;
    s->gridMaxIndex = 17;
  }
  // Two readings on grid index 4 (overlapping branches) and one on 8, each
  // with values in three windows; the values are taken as stored.
  void loadIpSounding() {
    testing_support::addReading(*s, 1, 2.82f, 100, 4);
    testing_support::addReading(*s, 2, 2.82f, 110, 4);
    testing_support::addReading(*s, 2, 7.97f, 150, 8);
    s->ipWindowCount = 3;
    for (int w = 0; w < 3; ++w) {
      s->ipWindowStart[w] = 2100 + 150 * w;
      s->ipWindowEnd[w] = 2250 + 150 * w;
      s->ipWindowMidTime[w] = 2175 + 150 * w;
      for (int j = 0; j < 3; ++j) s->ipValue[j][w] = 5.0f / (w + 1) + j;
    }
    s->fromSection = true;
    s->compositeReady = true;
    s->curveLoaded = true;
    paintCurves(c);
  }
  std::vector<Call> polygons() const { return canvas.ofKind(CallKind::Polygon); }

  ZeroedBlock<CurveWindowState> s;
  RecordingCanvas canvas{656, 452};
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  testing_support::CountingSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};
};

struct PatternCase {
  const char* name;
  std::vector<const char*> answers;  // nullptr: cancel
  int32_t count, delay, length;
  std::vector<std::string> messages;
};

class WindowPatternTest : public IpCommandsTest,
                          public ::testing::WithParamInterface<PatternCase> {};

TEST_P(WindowPatternTest, AsksCountDelayAndLength) {
  const PatternCase& p = GetParam();
  s->ipWindowCount = 5;
  for (const char* a : p.answers) a ? dialogs.answer(a) : dialogs.cancel();
  editWindowPattern(c);
  EXPECT_EQ(p.count, s->ipWindowCount);
  EXPECT_EQ(p.delay, s->ipWindowDelay);
  EXPECT_EQ(p.length, s->ipWindowLength);
  EXPECT_EQ(p.messages, dialogs.messages());
  if (p.count > 0 && p.answers.size() == 3) {
    EXPECT_EQ(2000 + p.delay, s->ipWindowStart[0]);
    EXPECT_EQ(2000 + p.delay + p.length * p.count, s->ipWindowEnd[p.count - 1]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WindowPatternTest,
    ::testing::Values(PatternCase{"Typed", {"3", "100", "150"}, 3, 100, 150, {}},
                      PatternCase{"CutTo20",
                                  {"25", "50", "80"},
                                  20,
                                  50,
                                  80,
                                  {"Oken VP může být nejvýše 20; počet oken je 20."}},
                      PatternCase{"AllTwenty", {"20", "50", "80"}, 20, 50, 80, {}},
                      // Fewer than none leaves the windows to the next IP file.
                      PatternCase{"BelowZeroIsNone",
                                  {"-4", "100", "150"},
                                  -10,
                                  100,
                                  150,
                                  {"Počet oken VP nemůže být záporný; nebude žádné okno."}},
                      PatternCase{"NotAnIntegerKeepsTheCount",
                                  {"3.5", "100", "150"},
                                  5,
                                  100,
                                  150,
                                  {"Soustřeďte se (celé číslo)!"}},
                      PatternCase{"CancelChangesNothing", {"7", nullptr}, 5, 100, 150, {}}),
    [](const ::testing::TestParamInfo<PatternCase>& i) { return i.param.name; });

TEST_F(IpCommandsTest, WindowPatternOffersTheCurrentValues) {
  s->ipWindowCount = -10;
  dialogs.answer("2");
  dialogs.answer("90");
  dialogs.answer("200");
  editWindowPattern(c);
  const std::vector<std::string> asked = {
      "Zadej počet oken pro vynesení průměrné zdánlivé polarizace (VP): | počet VP oken: |-10",
      "Zadej zpoždění začátku prvního okna po vypnutí Iab: | zpoždění VP 1. okena: |100",
      "Zadej délku oken pro vynesení průměrné zdánlivé polarizace (VP): | délka VP oken: |150"};
  EXPECT_EQ(asked, dialogs.questions());
  EXPECT_EQ(2290, s->ipWindowEnd[0]);
  EXPECT_EQ(2190, s->ipWindowMidTime[0]);
}

TEST_F(IpCommandsTest, WindowTimesAreAskedWithFixedDefaultsAndTakenAsTyped) {
  s->ipWindowCount = 2;
  s->ipWindowMidTime[0] = 777;
  for (const char* a : {"2100", "2250", "x", "2400"}) dialogs.answer(a);
  s->ipWindowStart[1] = 42;
  editWindowTimes(c);
  EXPECT_EQ(2100, s->ipWindowStart[0]);
  EXPECT_EQ(2250, s->ipWindowEnd[0]);
  EXPECT_EQ(42, s->ipWindowStart[1]) << "a text that is no integer keeps the old value";
  EXPECT_EQ(2400, s->ipWindowEnd[1]);
  EXPECT_EQ(777, s->ipWindowMidTime[0]);
  ASSERT_EQ(4u, dialogs.questions().size());
  EXPECT_EQ(
      "Zadej začátek 2. okna pro vynesení průměrné zdánlivé polarizace (VP): |začátek 2. okna [ms "
      "od vypnutí Iab]: |250",
      dialogs.questions()[2]);
  EXPECT_EQ(
      "Zadej konec 2. okna pro vynesení průměrné zdánlivé polarizace (VP): |konec 2. okna [ms od "
      "vypnutí Iab]: |350",
      dialogs.questions()[3]);
}

TEST_F(IpCommandsTest, MaximumShownMustBeAPositiveInteger) {
  for (const char* a : {"0", "abc", "45"}) dialogs.answer(a);
  for (int i = 0; i < 3; ++i) askIpMaxShown(c);
  EXPECT_EQ(45, s->ipMaxShown);
  EXPECT_EQ(2u, dialogs.messages().size());
}

TEST_F(IpCommandsTest, DecayCurveSwitchSetsItsCheckMark) {
  toggleDecayCurves(c);
  EXPECT_FALSE(s->showDecayCurves);
  EXPECT_FALSE(chrome.checked[DecayCurvesItem]);
  toggleDecayCurves(c);
  EXPECT_TRUE(chrome.checked[DecayCurvesItem]);
}

TEST_F(IpCommandsTest, ExportAsksAgainForAnExistingFileAndWritesTheGrid) {
  loadIpSounding();
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) / "orv_ip_export_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string taken = (dir / "taken.DAT").string(), fresh = (dir / "ip.DAT").string();
  std::ofstream(taken) << "keep";
  dialogs.answer(taken);
  dialogs.answer(fresh);
  exportIpGrid(c);
  EXPECT_EQ(std::vector<std::string>{"Soubor" + taken + "existuje. Zvolte jiný název!"},
            dialogs.messages());
  std::ifstream in(fresh, std::ios::binary), kept(taken);
  std::stringstream bytes, old;
  bytes << in.rdbuf();
  old << kept.rdbuf();
  EXPECT_EQ(ipGridText(*s), bytes.str());
  EXPECT_EQ("keep", old.str());
  dialogs.clearRecords();
  dialogs.cancel();
  exportIpGrid(c);
  EXPECT_EQ(std::vector<std::string>{"Nevybral jste žádný soubor"}, dialogs.messages());
}

TEST_F(IpCommandsTest, OutlierEditNeedsTheCompositeCurve) {
  toggleIpOutlierEdit(c);
  EXPECT_FALSE(s->editIpOutlierMode);
  ASSERT_EQ(1u, dialogs.messages().size());
  EXPECT_EQ(0u, dialogs.messages()[0].find("Nejprve si snes jednotlivé větve"));
}

TEST_F(IpCommandsTest, OutlierClickSetsTheFirstWindowAndScalesTheCurve) {
  loadIpSounding();
  toggleIpOutlierEdit(c);
  ASSERT_TRUE(s->editIpOutlierMode);
  // The crosshair snaps to the row of grid index 4.
  const int row = rowOfAbHalf(*s, std::pow(10.0, 4 * AbGridStep));
  ipOutlierMouseMove(c, s->marginLeft + 50, row + 1);
  ASSERT_EQ(4, s->editGridIndex);
  const float before[3] = {s->ipValue[1][0], s->ipValue[1][1], s->ipValue[2][1]};
  // 600 pixels for 30 %: 20 pixels a per cent, so 300 pixels are 15 %.
  applyIpOutlierClick(c, MouseButton::Left, s->marginLeft + 300, 0);
  EXPECT_FLOAT_EQ(15.0f, s->ipValue[0][0]);
  EXPECT_FLOAT_EQ(15.0f / 5.0f * 2.5f, s->ipValue[0][1]);
  EXPECT_FLOAT_EQ(before[0] * 3.0f, s->ipValue[1][0]) << "the other reading at index 4 too";
  EXPECT_FLOAT_EQ(before[1] * 3.0f, s->ipValue[1][1]);
  EXPECT_FLOAT_EQ(before[2], s->ipValue[2][1]) << "index 8 stays";
  EXPECT_FALSE(s->editIpOutlierMode);
  EXPECT_EQ(-1, s->cursorX);
}

TEST_F(IpCommandsTest, OutlierRightClickOnlyLeavesTheMode) {
  loadIpSounding();
  toggleIpOutlierEdit(c);
  ipOutlierMouseMove(c, s->marginLeft + 50, 100);
  const float before = s->ipValue[0][0];
  applyIpOutlierClick(c, MouseButton::Right, s->marginLeft + 300, 100);
  EXPECT_FLOAT_EQ(before, s->ipValue[0][0]);
  EXPECT_FALSE(s->editIpOutlierMode);
  EXPECT_EQ(-1, s->cursorY);
}

TEST_F(IpCommandsTest, OverlayTellsTheWindowsOnlyWhenThereAreSome) {
  s->ipWindowCount = -10;
  showIpInfo(c);
  EXPECT_NE(nullptr, canvas.findText(" počet oken pro zobrazení VP = -10"));
  EXPECT_EQ(6u, canvas.ofKind(CallKind::Text).size() - 1) << "[Ohm.m] and rows 5 to 12";
  canvas.clear();
  loadIpSounding();
  canvas.clear();
  showIpInfo(c);
  const Call* last = canvas.findText(" konec posledního okna po vypnutí proudu Iab = 550 ms");
  ASSERT_NE(nullptr, last);
  EXPECT_EQ(s->imageWidth / 3, last->points[0].x);
  EXPECT_EQ(16 * s->textHeight, last->points[0].y);
}

TEST_F(IpCommandsTest, DecayCurveHangsFromTheReadingsRow) {
  loadIpSounding();
  const std::vector<Call> shapes = polygons();
  ASSERT_EQ(3u, shapes.size());
  const Call& first = shapes[0];
  ASSERT_EQ(6u, first.points.size());
  EXPECT_EQ(0x00FFFF, first.brushColour);
  const int row = rowOfLogAbHalf(*s, s->readingLogAbHalf[0]);
  // 5000 ms after switch-off span the 600 pixels: 175 ms are 21 pixels.
  EXPECT_EQ(s->marginLeft + 21, first.points[0].x);
  EXPECT_EQ(s->marginLeft + 57, first.points[2].x);
  EXPECT_EQ((ui::Point{s->marginLeft + 57, row}).y, first.points[3].y);
  EXPECT_EQ(s->marginLeft + 21, first.points[4].x);
  // Value 5 of 30 lifts the first vertex by 20 * 5 / 30 average grid steps.
  const double lift = 400.0 / 17 / 30 * 20 * 5;
  const double y = (s->readingLogAbHalf[0] - s->logAbMin) * s->pixelsPerDecadeAb - lift;
  EXPECT_EQ(static_cast<int>(y) + s->marginTop, first.points[0].y);
  EXPECT_NE(nullptr, canvas.findText("5.0"));
}

TEST_F(IpCommandsTest, IsolinesJoinTheReadingsOfEachWindowAndLabelTheLargest) {
  s->ipAsIsolines = true;
  loadIpSounding();
  std::vector<Call> lines;
  for (const Call& call : canvas.ofKind(CallKind::Polyline))
    if (call.penColour >= 0x808080 && call.penColour <= 0x808080 + 100 && call.points.size() == 3)
      lines.push_back(call);
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ(0x808080 + 50 * 2, lines[2].penColour);
  // Value 7 (5 + 2) of 30 on 600 pixels.
  EXPECT_EQ(s->marginLeft + 140, lines[0].points[2].x);
  EXPECT_NE(nullptr, canvas.findText("7.0"));
  EXPECT_EQ(nullptr, canvas.findText("5.0"));
  EXPECT_NE(nullptr, canvas.findText("zdánl.pol. 30 [%]     "));
}

}  // namespace
}  // namespace orv
