#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <map>
#include <string>
#include <vector>

#include "commands/curve/curve_rendering.h"
#include "tests/commands/curve/chart_fixture.h"
#include "tests/commands/curve/recording_canvas.h"

namespace orv {
namespace {

using namespace testing_support;

class ChartGridTest : public ::testing::Test {
 protected:
  ChartGridTest() {
    useDefaultDisplaySettings(*s);
    useChartGeometry(*s, RecordingCanvas::CharWidth, RecordingCanvas::TextHeight, 600, 400);
    canvas.resize(s->imageWidth, s->imageHeight);
  }

  // Texts written on the row of the resistivity labels, by text.
  std::multimap<std::string, int> resistivityLabels() const {
    std::multimap<std::string, int> out;
    const int labelY = s->marginTop / 2 - s->textHeight / 2;
    for (const Call& call : canvas.ofKind(CallKind::Text))
      if (call.points[0].y == labelY) out.emplace(call.text, call.points[0].x);
    return out;
  }

  // AB/2 labels (texts right-aligned against the left margin) by text.
  std::map<std::string, ui::Point> abLabels() const {
    std::map<std::string, ui::Point> out;
    for (const Call& call : canvas.ofKind(CallKind::Text)) {
      const int right =
          call.points[0].x + RecordingCanvas::CharWidth * static_cast<int>(call.text.size());
      if (right == s->marginLeft - s->textWidth) out[call.text] = call.points[0];
    }
    return out;
  }

  std::vector<int> verticalLineColumns(int width) const {
    std::vector<int> out;
    for (const Call& call : canvas.ofKind(CallKind::Line))
      if (call.penColour == 0xC0C0C0 && call.penWidth == width &&
          call.points[0].x == call.points[1].x)
        out.push_back(call.points[0].x);
    return out;
  }

  ZeroedBlock<CurveWindowState> s;
  RecordingCanvas canvas{656, 452};
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  CountingSection section;
  CurveSession c{*s, dialogs, canvas, chrome, section};
};

TEST_F(ChartGridTest, DecadeLinesAndLabelsStandInsideThePlotOnly) {
  paintCurves(c);
  const auto thick = verticalLineColumns(2);
  // Decades 1, 10, 100, 1000: the first and the last fall on the frame.
  EXPECT_EQ((std::vector<int>{s->marginLeft + 200, s->marginLeft + 400}), thick);
  const auto labels = resistivityLabels();
  EXPECT_EQ(0u, labels.count("1"));
  EXPECT_EQ(0u, labels.count("1000"));
  // "10" once as decade label, once as the first value between 10 and 100.
  ASSERT_EQ(2u, labels.count("10"));
  EXPECT_EQ(s->marginLeft + 200 - 7, labels.find("10")->second);
  EXPECT_EQ(s->marginLeft + 400 - 10, labels.find("100")->second);
}

TEST_F(ChartGridTest, IntermediateResistivityLinesAreAllDrawnAtTheirColumns) {
  paintCurves(c);
  const auto thin = verticalLineColumns(1);
  const double between10and100[] = {10, 15, 20, 25, 30, 35, 40, 45, 50,
                                    55, 60, 65, 70, 75, 80, 85, 90, 95};
  for (double v : between10and100) {
    EXPECT_EQ(1, std::count(thin.begin(), thin.end(), columnOfRho(*s, v))) << v;
  }
  for (int v = 2; v <= 9; ++v)
    EXPECT_EQ(1, std::count(thin.begin(), thin.end(), columnOfRho(*s, v))) << v;
  EXPECT_EQ(0, std::count(thin.begin(), thin.end(), columnOfRho(*s, 105)));
}

// 200 pixels per decade, 7 pixels per character: a label needs 1.15 times its
// width of room after the last label and before the next decade's label.
TEST_F(ChartGridTest, CrowdedResistivityLabelsAreLeftOut) {
  paintCurves(c);
  const auto labels = resistivityLabels();
  const char* written[] = {"2",  "3",  "4",  "5",  "6",  "7",  "8",
                           "15", "20", "25", "35", "45", "55", "70"};
  for (const char* t : written) EXPECT_EQ(1u, labels.count(t)) << t;
  const char* leftOut[] = {"9", "30", "40", "50", "60", "65", "75", "80", "85", "90", "95"};
  for (const char* t : leftOut) EXPECT_EQ(0u, labels.count(t)) << t;
}

struct WideCase {
  float logMin, logMax;
  std::vector<std::string> labels;
};

class WideChartGridTest : public ChartGridTest, public ::testing::WithParamInterface<WideCase> {};

// With room enough every intermediate value is labelled, centred on its line.
TEST_P(WideChartGridTest, EveryIntermediateValueIsLabelled) {
  s->imageWidth = 6000 + s->marginLeft + s->marginRight;
  canvas.resize(s->imageWidth, s->imageHeight);
  s->logRhoMin = GetParam().logMin;
  s->logRhoMax = GetParam().logMax;
  paintCurves(c);
  const auto labels = resistivityLabels();
  for (const std::string& t : GetParam().labels) {
    ASSERT_GE(labels.count(t), 1u) << t;
    const double v = std::stod(t);
    EXPECT_EQ(columnOfRho(*s, v) - 7 * static_cast<int>(t.size()) / 2, labels.find(t)->second) << t;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Decades, WideChartGridTest,
    ::testing::Values(
        WideCase{0.95f,
                 2.05f,
                 {"10", "15", "20", "25", "30", "35", "40", "45", "50", "55", "60", "65", "70",
                  "75", "80", "85", "90", "95"}},
        WideCase{-0.05f, 1.05f, {"2", "3", "4", "5", "6", "7", "8", "9"}},
        WideCase{-1.05f, 0.05f, {"0.20", "0.30", "0.40", "0.50", "0.60", "0.70", "0.80", "0.90"}},
        WideCase{
            -2.05f, -0.95f, {"0.02", "0.03", "0.04", "0.05", "0.06", "0.07", "0.08", "0.09"}}));

TEST_F(ChartGridTest, DecadeLabelsUseTheShortDecimalForm) {
  s->imageWidth = 6000 + s->marginLeft + s->marginRight;
  canvas.resize(s->imageWidth, s->imageHeight);
  s->logRhoMin = -1.5f;
  s->logRhoMax = 2.5f;
  paintCurves(c);
  const auto labels = resistivityLabels();
  for (const char* t : {"0.1", "1", "10", "100"}) EXPECT_GE(labels.count(t), 1u) << t;
  EXPECT_EQ(0u, labels.count("1.0"));
  EXPECT_EQ(0u, labels.count("0.10"));
}

TEST_F(ChartGridTest, AbGridLabelsAreRightAlignedAndCrowdedOnesLeftOut) {
  paintCurves(c);
  const auto labels = abLabels();
  ASSERT_EQ(1u, labels.count("10"));
  EXPECT_EQ(s->marginTop + 200 - 6, labels.at("10").y);
  const char* written[] = {"2", "3", "4", "5", "6", "8", "20", "30", "40", "50", "60", "80"};
  for (const char* t : written) {
    ASSERT_EQ(1u, labels.count(t)) << t;
    EXPECT_EQ(rowOfAbHalf(*s, std::stod(t)) - 6, labels.at(t).y) << t;
  }
  for (const char* t : {"1", "7", "9", "70", "90", "100"}) EXPECT_EQ(0u, labels.count(t)) << t;
}

TEST_F(ChartGridTest, AbGridDrawsEveryIntermediateLineInsideTheRange) {
  paintCurves(c);
  std::vector<int> thin, thick;
  for (const Call& call : canvas.ofKind(CallKind::Line)) {
    if (call.penColour != 0xC0C0C0 || call.points[0].y != call.points[1].y) continue;
    EXPECT_EQ(s->plotLeft, call.points[0].x);
    EXPECT_EQ(s->plotRight, call.points[1].x);
    (call.penWidth == 2 ? thick : thin).push_back(call.points[0].y);
  }
  EXPECT_EQ(std::vector<int>{s->marginTop + 200}, thick);
  std::vector<int> expected;
  for (double base : {1.0, 10.0})
    for (int m = 2; m <= 9; ++m) expected.push_back(rowOfAbHalf(*s, m * base));
  EXPECT_EQ(expected, thin);
}

// Under a locked scale the clicks below the plot raise logAbMax while the
// plot box and the scale stay: the AB/2 grid follows the bounds and runs on
// below the frame into the grown picture, down to 2000 m.
TEST_F(ChartGridTest, LockedScaleDrawsTheAbGridOfTheMovedBoundsBelowThePlot) {
  s->curveLoaded = true;
  paintCurves(c);
  s->lockCurveScale = true;
  canvas.resize(656, 800);
  formResize(c);
  for (int click = 0; click < 3; ++click) moveViewByClick(c, MouseButton::Left, 300, 500);
  canvas.clear();
  moveViewByClick(c, MouseButton::Left, 300, 500);
  ASSERT_EQ(426, s->plotBottom);
  ASSERT_GT(s->logAbMax, 3.33f);
  std::vector<int> thin, thick;
  for (const Call& call : canvas.ofKind(CallKind::Line)) {
    if (call.penColour != 0xC0C0C0 || call.points[0].y != call.points[1].y) continue;
    (call.penWidth == 2 ? thick : thin).push_back(call.points[0].y);
  }
  EXPECT_EQ((std::vector<int>{226, 426, 626}), thick);
  std::vector<int> expected;
  for (double base : {1.0, 10.0, 100.0})
    for (int m = 2; m <= 9; ++m) expected.push_back(rowOfAbHalf(*s, m * base));
  expected.push_back(rowOfAbHalf(*s, 2000));
  EXPECT_EQ(expected, thin);
  EXPECT_EQ(686, rowOfAbHalf(*s, 2000));
  const auto labels = abLabels();
  EXPECT_EQ(1u, labels.count("1000"));
  EXPECT_EQ(1u, labels.count("2000"));
}

TEST_F(ChartGridTest, AxisCaptionsStandAtTheirPlaces) {
  paintCurves(c);
  const Call* rzd = canvas.findText("Rzd->");
  ASSERT_NE(nullptr, rzd);
  EXPECT_EQ(13 / 3, rzd->points[0].x);
  EXPECT_EQ(13 / 2, rzd->points[0].y);
  const Call* unit = canvas.findText("[Ohm.m]");
  ASSERT_NE(nullptr, unit);
  EXPECT_EQ(s->imageWidth - 49, unit->points[0].x);
  const int middle = (s->imageHeight - s->marginTop) / 2 + s->marginTop;
  const std::pair<const char*, int> ab[] = {
      {"AB", middle - 13}, {"/2", middle}, {"[m]", middle + 13}};
  for (const auto& [text, y] : ab) {
    const Call* t = canvas.findText(text);
    ASSERT_NE(nullptr, t) << text;
    EXPECT_EQ(7 / 5, t->points[0].x);
    EXPECT_EQ(y, t->points[0].y);
    EXPECT_EQ(0, t->fontColour);
  }
}

TEST_F(ChartGridTest, FrameIsOneClosedBlackPolyline) {
  paintCurves(c);
  const auto lines = canvas.ofKind(CallKind::Polyline);
  ASSERT_FALSE(lines.empty());
  const Call& frame = lines.front();
  EXPECT_EQ(0, frame.penColour);
  ASSERT_EQ(5u, frame.points.size());
  const int expected[5][2] = {{28, 26}, {628, 26}, {628, 426}, {28, 426}, {28, 26}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(expected[i][0], frame.points[i].x);
    EXPECT_EQ(expected[i][1], frame.points[i].y);
  }
}

TEST_F(ChartGridTest, BackgroundIsFilledWhiteFirst) {
  paintCurves(c);
  ASSERT_FALSE(canvas.calls.empty());
  const Call& fill = canvas.calls.front();
  EXPECT_EQ(CallKind::Fill, fill.kind);
  EXPECT_EQ(0xFFFFFF, fill.brushColour);
  EXPECT_EQ(656, fill.points[1].x);
  EXPECT_EQ(452, fill.points[1].y);
}

// Labels keep the decimal point whatever locale the process runs under.
TEST_F(ChartGridTest, LabelsUseTheDecimalPointUnderACzechLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  const bool czech = std::setlocale(LC_ALL, "cs_CZ.UTF-8") || std::setlocale(LC_ALL, "cs_CZ.utf8");
  EXPECT_TRUE(czech) << "the Czech locale is part of the build machine's set-up";
  s->imageWidth = 6000 + s->marginLeft + s->marginRight;
  canvas.resize(s->imageWidth, s->imageHeight);
  s->logRhoMin = -1.05f;
  s->logRhoMax = 0.05f;
  paintCurves(c);
  std::setlocale(LC_ALL, previous.c_str());
  const auto labels = resistivityLabels();
  EXPECT_EQ(1u, labels.count("0.50"));
  EXPECT_EQ(0u, labels.count("0,50"));
  EXPECT_GE(labels.count("0.1"), 1u);
}

}  // namespace
}  // namespace orv
