#include "commands/section/view_commands.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "commands/section/ip_view_commands.h"
#include "tests/commands/section/section_test_support.h"
#include "ui/recording_chrome.h"

namespace orv::testing {
namespace {

constexpr const char* NotAnInteger = "Soustřeďte se (celé číslo)!";

class ViewCommandsTest : public SectionTest {
 protected:
  ViewCommandsTest() {
    session.chrome = &chrome;
    session.redraw = [this] { log += "R"; };
    session.pause = [this](int ms) { log += cformat("P%d", ms); };
  }
  void ask(const std::function<void(SectionSession&)>& command, std::optional<std::string> a) {
    if (a)
      dialogs.answer(*a);
    else
      dialogs.cancel();
    command(session);
  }
  ui::RecordingChrome chrome;
  std::string log;
};

struct NumberPrompt {
  std::function<void(SectionSession&)> command;
  std::function<float&(SectionWindowState&)> field;
  std::optional<std::string> answer;
  const char* question;
  float expected;
  const char* message;  // nullptr: none
  const char* redraws;
};

TEST_F(ViewCommandsTest, NumberPromptsStoreValidAnswersAndKeepTheOldValueOtherwise) {
  using V = SectionWindowState;
  const NumberPrompt rows[] = {
      {askViewMinChainage, [](V& v) -> float& { return v.viewMinChainage; }, "-250,5",
       "Zadej minimální zobrazenou metráž:  |( nyní je -100000 m )|-100000", -250.5f, nullptr, "R"},
      {askViewMaxChainage, [](V& v) -> float& { return v.viewMaxChainage; }, "12 m",
       "Zadej maximální zobrazenou metráž:  |( nyní je: 100000 m )|100000", 100000.0f, NotAnInteger,
       "R"},
      {askViewMinElevation, [](V& v) -> float& { return v.viewMinElevation; }, std::nullopt,
       "Zadej minimální zobrazenou výšku:  |( nyní je -10000 m )|-10000", -10000.0f, nullptr, "R"},
      {askScaleStep, [](V& v) -> float& { return v.scaleStepPercent; }, "7.5",
       "Zadej krok změny měřítka v procentech:  |(nyní je 5%) : /|5", 7.5f, nullptr, ""},
      {askCurvePixelsPerDecade, [](V& v) -> float& { return v.curvePixelsPerDecade; }, "x",
       "Zadej pocet pixelú na dekádu pro zobrazení krivek VES:  |(nyní je :33)|33", 33.0f,
       "Soustřeďte)!", "R"},
      {askIpLineStrength, [](V& v) -> float& { return v.ipLineStrength; }, "",
       "Zadej sílu čáry VP (síla*VP=síla čáry):  |(nyní je 2.20000004768372) síla čáry VP = "
       "|2.20000004768372",
       2.2f, "Soustřeďte se (číslo)!", "R"},
      {askIpLineStrength, [](V& v) -> float& { return v.ipLineStrength; }, "1e300",
       "Zadej sílu čáry VP (síla*VP=síla čáry):  |(nyní je 2.20000004768372) síla čáry VP = "
       "|2.20000004768372",
       2.2f, "Soustřeďte se (číslo)!", "R"},
  };
  for (const NumberPrompt& r : rows) {
    SectionWindowState fresh;
    view = fresh;
    view.fitWidth = view.fitHeight = true;
    dialogs.clearRecords();
    log.clear();
    ask(r.command, r.answer);
    SCOPED_TRACE(r.question);
    ASSERT_EQ(dialogs.questions().size(), 1u);
    EXPECT_EQ(dialogs.questions()[0], r.question);
    EXPECT_EQ(r.field(view), r.expected);
    EXPECT_EQ(dialogs.messages(),
              r.message ? std::vector<std::string>{r.message} : std::vector<std::string>{});
    EXPECT_EQ(log, r.redraws);
  }
}

struct ScaleCase {
  bool z;
  float scale;
  std::optional<std::string> answer;
  const char* offered;
  float denominator;
  bool complaint;
};

TEST_F(ViewCommandsTest, ScalePromptRoundsToTensWhateverTheAnswer) {
  const ScaleCase rows[] = {
      {false, 1.0f / 9996, std::nullopt, "10000", 10000, false},
      {false, 0.0001f, "2500", "10000", 2500, false},
      {false, 1.0f / 1234.4f, "abc", "1230", 1230, true},
      {false, 1.0f / 10000, "0", "10000", 10000, true},
      {true, 0.001f, "-50", "1000", 1000, true},
      {true, 1.0f / 1996, "500", "2000", 500, false},
      {true, 0.0f, std::nullopt, "1000", 1000, false},
  };
  for (const ScaleCase& r : rows) {
    SCOPED_TRACE(r.offered);
    float& scale = r.z ? profile(0).scaleZ : profile(0).scaleX;
    scale = r.scale;
    view.fitWidth = view.fitHeight = true;
    chrome.checked.clear();
    dialogs.clearRecords();
    ask(r.z ? askScaleZ : askScaleX, r.answer);
    const std::string caption =
        r.z ? "Zadej Z měřítko zobrazení:  " : "Zadej X měřítko zobrazení:  ";
    EXPECT_EQ(dialogs.questions().at(0),
              caption + "|(nyní je 1:" + r.offered + "):1 /|" + r.offered);
    EXPECT_FLOAT_EQ(scale, 1.0f / r.denominator);
    EXPECT_EQ(dialogs.messages().size(), r.complaint ? 1u : 0u);
    EXPECT_EQ(view.fitWidth, r.z);  // only the asked axis stops fitting
    EXPECT_EQ(view.fitHeight, !r.z);
    EXPECT_FALSE(chrome.checked.at(FitSectionItem));
    EXPECT_FALSE(chrome.checked.at(r.z ? FitHeightItem : FitWidthItem));
  }
}

TEST_F(ViewCommandsTest, ZoomStepsTheScaleByPerCent) {
  struct Row {
    bool enlarge;
    int times;
    float step;
    double denominator;
  } rows[] = {{true, 2, 5, 9070.3}, {false, 1, 5, 10526.3}, {true, 1, 25, 8000.0}};
  for (const Row& r : rows) {
    profile(0).scaleX = profile(0).scaleZ = InitialScaleX;
    view.scaleStepPercent = r.step;
    for (int i = 0; i < r.times; ++i) {
      zoomScaleX(session, r.enlarge);
      zoomScaleZ(session, r.enlarge);
    }
    EXPECT_NEAR(1.0 / profile(0).scaleX, r.denominator, 0.05);
    EXPECT_NEAR(1.0 / profile(0).scaleZ, r.denominator, 0.05);
  }
  EXPECT_FALSE(view.fitWidth || view.fitHeight);
}

TEST_F(ViewCommandsTest, FittingResetsTheLimitsAndChecksItsItems) {
  view.viewMinChainage = 10;
  view.viewMaxElevation = 20;
  fitToHeight(session);
  EXPECT_EQ(view.viewMinChainage, 10.0f);  // height fitting keeps the limits
  EXPECT_TRUE(view.fitHeight && !view.fitWidth);
  fitSection(session);
  EXPECT_EQ(view.viewMinChainage, -1000000.0f);
  EXPECT_EQ(view.viewMaxChainage, 1000000.0f);
  EXPECT_EQ(view.viewMaxElevation, 10000.0f);
  EXPECT_TRUE(view.fitWidth && view.fitHeight);
  for (const char* item : {FitSectionItem, FitWidthItem, FitHeightItem})
    EXPECT_TRUE(chrome.checked.at(item)) << item;
  panChainage(session, true);
  EXPECT_FALSE(chrome.checked.at(FitSectionItem) || chrome.checked.at(FitWidthItem));
  EXPECT_TRUE(chrome.checked.at(FitHeightItem));
  EXPECT_EQ(log, "RRR");
}

TEST_F(ViewCommandsTest, ExaggerationCouplesScaleZEvenWhenTheAnswerIsRefused) {
  profile(0).scaleX = 0.0001f;
  for (const char* answer : {"3", "0", "x"}) {
    dialogs.clearRecords();
    ask(askExaggeration, answer);
    EXPECT_EQ(view.exaggeration, 3);
    EXPECT_FLOAT_EQ(profile(0).scaleZ, 0.0003f);
    EXPECT_TRUE(view.exaggerationLock && chrome.checked.at(ExaggerationLockItem));
  }
  EXPECT_EQ(dialogs.questions()[0], "Zadej prevýšení rezu:  |(nyní je 1:3):1 /|3");
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{NotAnInteger});
  toggleExaggerationLock(session);
  EXPECT_FALSE(view.exaggerationLock || chrome.checked.at(ExaggerationLockItem));
}

TEST_F(ViewCommandsTest, PanningStartsFromThePictureEdgesAndMovesOnlyTheLeftLimit) {
  view.layout.imageLeftChainage = 37.5;
  view.layout.imageBottomElevation = 100;
  view.layout.imageTopElevation = 300;
  const bool steps[] = {true, true, false};
  const float left[] = {57.5f, 77.5f, 57.5f};
  for (int i = 0; i < 3; ++i) {
    panChainage(session, steps[i]);
    EXPECT_EQ(view.viewMinChainage, left[i]);
    EXPECT_EQ(view.viewMaxChainage, 100000.0f);
  }
  const bool up[] = {false, true, true, true};
  const float bottom[] = {80, 90, 100, 100}, top[] = {280, 290, 300, 300};
  for (int i = 0; i < 4; ++i) {
    panElevation(session, up[i]);
    EXPECT_EQ(view.viewMinElevation, bottom[i]) << i;
    EXPECT_EQ(view.viewMaxElevation, top[i]) << i;
  }
}

TEST_F(ViewCommandsTest, TogglesKeepTheirCheckMarksInStep) {
  toggleCurves(session);
  toggleIp(session);
  toggleOneDecimal(session);
  EXPECT_TRUE(view.showCurves && view.showIp && view.oneDecimal);
  EXPECT_TRUE(chrome.checked.at(CurvesItem));
  EXPECT_TRUE(chrome.checked.at(ShowIpItem) && chrome.checked.at(ShowIpPopupItem));
  toggleIp(session);
  EXPECT_FALSE(chrome.checked.at(ShowIpItem) || chrome.checked.at(ShowIpPopupItem));
  scaleCurves(session, true);
  EXPECT_FLOAT_EQ(view.curvePixelsPerDecade, 39.6f);
  scaleCurves(session, false);
  EXPECT_FLOAT_EQ(view.curvePixelsPerDecade, 33.0f);
}

// --- IP windows --------------------------------------------------------------------

TEST_F(ViewCommandsTest, IpWindowStepsAndRunsWithPausesBetweenThePictures) {
  struct Row {
    int windows, from;
    bool next;
    int to;
    float strength;
    const char* log;
  } rows[] = {
      {4, 0, false, 3, 6, "RP150RP150R"},
      {4, 3, true, 0, -6, "RP150RP150R"},
      {4, 2, false, 1, -2, "R"},
      {4, 2, true, 3, 2, "R"},
      {2, 0, false, 1, 2, "R"},
      {4, 7, false, 2, -2, "R"},
      {1, 0, true, 0, 0, ""},
      {0, 0, false, 0, 0, ""},
      {NoIpInformation, 0, true, 0, 0, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(cformat("%d windows from %d", r.windows, r.from));
    profile(0).num_IPoken = r.windows;
    view.currentIpWindow = r.from;
    view.ipLineStrength = 10;
    log.clear();
    (r.next ? nextIpWindow : previousIpWindow)(session);
    EXPECT_EQ(view.currentIpWindow, r.windows < 2 ? r.from : r.to);
    EXPECT_FLOAT_EQ(view.ipLineStrength, 10 + r.strength);
    EXPECT_EQ(log, r.log);
  }
}

TEST_F(ViewCommandsTest, CurrentIpWindowRefusesIndicesOutsideTheProfileWindows) {
  struct Row {
    int windows;
    const char* answer;
    int expected;
    const char* message;
  } rows[] = {
      {4, "3", 3, nullptr},
      {4, "4", 1, "Nelze -aktuální max. číslo okna je 4 !"},
      {4, "-1", 1, "Nelze -aktuální max. číslo okna je 4 !"},
      {4, "2.5", 1, NotAnInteger},
      {NoIpInformation, "0", 1, "Nelze -aktuální max. číslo okna je 0 !"},
  };
  for (const Row& r : rows) {
    profile(0).num_IPoken = r.windows;
    view.currentIpWindow = 1;
    dialogs.clearRecords();
    ask(askCurrentIpWindow, r.answer);
    EXPECT_EQ(dialogs.questions().at(0),
              "Zadej aktuální index okna VP :  |(nyní je 1) aktuální index okna VP = |1");
    EXPECT_EQ(view.currentIpWindow, r.expected) << r.answer;
    EXPECT_EQ(dialogs.messages(),
              r.message ? std::vector<std::string>{r.message} : std::vector<std::string>{});
  }
}

TEST_F(ViewCommandsTest, RemovingTheFirstIpWindowShiftsThePointsInsideTheInterval) {
  struct Row {
    int windows;
    std::optional<std::string> lower, upper;
    std::vector<int> shifted;  // points at 105, 205, 305 m
    int messages;
  } rows[] = {
      {4, "100", "205", {0, 1}, 0},
      {4, std::nullopt, "x", {1, 2}, 1},  // the picture's edges, 150..400 m
      {MaxIpWindows, "0", "1000", {0, 1, 2}, 0},
      {0, "0", "1000", {}, 0},
      {NoIpInformation, "0", "1000", {}, 0},
  };
  view.layout.imageLeftChainage = 150;
  view.layout.imageRightChainage = 400;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.windows);
    givePoints(3);
    profile(0).points[1].Mermx = 5;
    profile(0).num_IPoken = r.windows;
    dialogs.clearRecords();
    r.lower ? dialogs.answer(*r.lower) : dialogs.cancel();
    r.upper ? dialogs.answer(*r.upper) : dialogs.cancel();
    removeFirstIpWindowInInterval(session);
    EXPECT_EQ(dialogs.questions().at(0),
              "Zadej dolní mez pro smazání prvního okna VP:  | dolní mez [m] = |150");
    EXPECT_EQ(dialogs.questions().at(1),
              "Zadej horní mez pro smazání prvního okna VP:  | horní mez [m] = |400");
    EXPECT_EQ(int(dialogs.messages().size()), r.messages);
    if (r.messages) {
      EXPECT_EQ(dialogs.messages()[0], "Soustřeďte se!");
    }
    EXPECT_EQ(profile(0).num_IPoken, r.windows > 0 ? r.windows - 1 : r.windows);
    for (int b = 0; b < 3; ++b) {
      const bool shifted = std::find(r.shifted.begin(), r.shifted.end(), b) != r.shifted.end();
      const SectionPoint& pt = profile(0).points[b];
      SectionPoint original;
      fillPoint(original, b + 1);
      for (int m = 0; m < MaxReadings; ++m)
        for (int k = 0; k < MaxIpWindows; ++k) {
          float want = original.ipValue[m][k];
          if (shifted && m < pt.Mermx && k < r.windows)
            want = k + 1 < r.windows ? original.ipValue[m][k + 1] : 0.0f;
          ASSERT_EQ(pt.ipValue[m][k], want) << b << " " << m << " " << k;
        }
    }
  }
}

}  // namespace
}  // namespace orv::testing
