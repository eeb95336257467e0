#include "commands/curve/settings_commands.h"

#include <gtest/gtest.h>

#include "core/curve/settings_file.h"
#include "tests/commands/curve/curvebase_fakes.h"

namespace orv {
namespace {

using curvebase_test::CurveFixture;

const char* const kSplitQuestion =
    "Zadej kolik procent má zabírat pravá cást obrazovky: |"
    "kolik procent má mít implicitne pravá cást obrazovky: |";

struct SplitCase {
  int before;
  const char* answer;  // nullptr: cancelled
  int after;
  bool complains;
};

class ScreenSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ScreenSplit, AsksClampsPlacesAndRedraws) {
  const SplitCase c = GetParam();
  CurveFixture f;
  f.s.screenSplitPercent = c.before;
  f.chrome.screen = {1920, 1080};
  if (c.answer)
    f.dialogs.answer(c.answer);
  else
    f.dialogs.cancel();
  int redraws = 0;
  askScreenSplit(f.session, [&] { ++redraws; });
  ASSERT_EQ(f.dialogs.questions().size(), 1u);
  EXPECT_EQ(f.dialogs.questions()[0], kSplitQuestion + std::to_string(c.before));
  EXPECT_EQ(f.s.screenSplitPercent, c.after);
  EXPECT_EQ(f.chrome.placedWidth, 1920 * c.after / 100);
  if (c.complains) {
    ASSERT_EQ(f.dialogs.messages().size(), 1u);
    EXPECT_EQ(f.dialogs.messages()[0], "Soustřeďte se (celé číslo)!");
  } else {
    EXPECT_TRUE(f.dialogs.messages().empty());
  }
  EXPECT_EQ(redraws, 1);
  EXPECT_EQ(f.section.shown, 1);
  EXPECT_TRUE(f.s.sectionWindowShown);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ScreenSplit,
    ::testing::Values(SplitCase{65, "50", 50, false}, SplitCase{65, "5", 10, false},
                      SplitCase{65, "95", 90, false}, SplitCase{65, " 10 ", 10, false},
                      SplitCase{65, "90", 90, false}, SplitCase{65, "-3", 10, false},
                      SplitCase{40, "abc", 40, true}, SplitCase{40, "", 40, true},
                      SplitCase{40, "55.5", 40, true},
                      // an old value out of range is clamped even so
                      SplitCase{95, "abc", 90, true}, SplitCase{3, nullptr, 10, false}));

TEST(ScreenSplitOnce, TheSectionIsShownOnlyTheFirstTime) {
  CurveFixture f;
  f.s.screenSplitPercent = 65;
  f.s.sectionWindowShown = true;
  f.dialogs.answer("70");
  askScreenSplit(f.session, nullptr);  // no redraw wired: nothing breaks
  EXPECT_EQ(f.section.shown, 0);
  EXPECT_EQ(f.s.screenSplitPercent, 70);
}

DisplayParameterTexts goodTexts() {
  DisplayParameterTexts t;
  t.splineDegree = "4";
  t.splineResolution = "200";
  t.lineWidthMeasured = "3";
  t.lineWidthComposite = "5";
  t.lineWidthComputed = "6";
  t.lineWidthActiveModel = "7";
  t.lineWidthModel = "8";
  t.splineAllCurves = false;
  t.profilePrefix = true;
  t.lockCurveScale = true;
  t.labelBySurfaceChainage = true;
  return t;
}

struct DisplayFixture {
  DisplayFixture() {
    applyDefaultSettings(f.s);
    f.s.lockCurveScale = false;
  }
  CurveFixture f;
  SectionDisplayFlags section{false, false};
};

TEST(DisplayTakeOver, AllEditsAndCheckBoxes) {
  DisplayFixture d;
  DisplayTakeOverResult r = takeOverDisplayParameters(d.f.s, d.section, goodTexts());
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.failed, DisplayEdit::None);
  EXPECT_EQ(d.f.s.splineDegree, 4);
  EXPECT_EQ(d.f.s.splineResolution, 200);
  EXPECT_EQ(d.f.s.lineWidthMeasured, 3);
  EXPECT_EQ(d.f.s.lineWidthComposite, 5);
  EXPECT_EQ(d.f.s.lineWidthComputed, 6);
  EXPECT_EQ(d.f.s.lineWidthActiveModel, 7);
  EXPECT_EQ(d.f.s.lineWidthModel, 8);
  EXPECT_FALSE(d.f.s.splineAllCurves);
  EXPECT_TRUE(d.section.profilePrefix);
  EXPECT_TRUE(d.f.s.lockCurveScale);
  EXPECT_TRUE(d.section.labelBySurfaceChainage);
  EXPECT_EQ(displayTakeOverMessage(r), "");
}

// Which edit holds a non-integer, and how many members before it (in the
// order stupenbs, pocetbodubs, silanam, silasnes, silavyp, silaaktmod,
// silamodel) have been taken over.
struct FailCase {
  std::string DisplayParameterTexts::*edit;
  DisplayEdit failed;
  int takenBefore;
  const char* message;
};

class DisplayTakeOverStops : public ::testing::TestWithParam<FailCase> {};

TEST_P(DisplayTakeOverStops, AtTheFirstNonInteger) {
  const FailCase c = GetParam();
  DisplayFixture d;
  DisplayParameterTexts t = goodTexts();
  t.*c.edit = "2,5";
  DisplayTakeOverResult r = takeOverDisplayParameters(d.f.s, d.section, t);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.failed, c.failed);
  EXPECT_EQ(r.failedText, "2,5");
  EXPECT_EQ(displayTakeOverMessage(r), c.message);
  const int32_t taken[] = {4, 200, 3, 5, 6, 7, 8};
  const int32_t defaults[] = {3, 128, 1, 2, 2, 4, 2};
  const int32_t values[] = {d.f.s.splineDegree,      d.f.s.splineResolution,
                            d.f.s.lineWidthMeasured, d.f.s.lineWidthComposite,
                            d.f.s.lineWidthComputed, d.f.s.lineWidthActiveModel,
                            d.f.s.lineWidthModel};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(values[i], i < c.takenBefore ? taken[i] : defaults[i]) << i;
  // The check boxes come after the edits and are not taken either.
  EXPECT_TRUE(d.f.s.splineAllCurves);
  EXPECT_FALSE(d.section.profilePrefix);
  EXPECT_FALSE(d.f.s.lockCurveScale);
  EXPECT_FALSE(d.section.labelBySurfaceChainage);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, DisplayTakeOverStops,
    ::testing::Values(
        FailCase{&DisplayParameterTexts::splineDegree, DisplayEdit::SplineDegree, 0,
                 "'2,5' není celé číslo (stupeň B-spline)."},
        FailCase{&DisplayParameterTexts::splineResolution, DisplayEdit::SplineResolution, 1,
                 "'2,5' není celé číslo (počet bodů B-spline)."},
        FailCase{&DisplayParameterTexts::lineWidthMeasured, DisplayEdit::LineWidthMeasured, 2,
                 "'2,5' není celé číslo (síla čáry naměřené křivky)."},
        FailCase{&DisplayParameterTexts::lineWidthComposite, DisplayEdit::LineWidthComposite, 3,
                 "'2,5' není celé číslo (síla čáry snesené křivky)."},
        FailCase{&DisplayParameterTexts::lineWidthComputed, DisplayEdit::LineWidthComputed, 4,
                 "'2,5' není celé číslo (síla čáry vypočtené křivky)."},
        FailCase{&DisplayParameterTexts::lineWidthActiveModel, DisplayEdit::LineWidthActiveModel, 5,
                 "'2,5' není celé číslo (síla aktivní čáry modelu)."},
        FailCase{&DisplayParameterTexts::lineWidthModel, DisplayEdit::LineWidthModel, 6,
                 "'2,5' není celé číslo (síla čáry modelu)."}));

TEST(DisplayTakeOver, ValuesAreKeptInTheirRanges) {
  DisplayFixture d;
  DisplayParameterTexts t = goodTexts();
  t.splineDegree = "0";
  t.splineResolution = "100000";
  t.lineWidthMeasured = "0";
  t.lineWidthModel = "-7";
  t.lineWidthComputed = "999";
  ASSERT_TRUE(takeOverDisplayParameters(d.f.s, d.section, t).ok);
  EXPECT_EQ(d.f.s.splineDegree, 1);
  EXPECT_EQ(d.f.s.splineResolution, 400);
  EXPECT_EQ(d.f.s.lineWidthMeasured, 1);
  EXPECT_EQ(d.f.s.lineWidthModel, 1);
  EXPECT_EQ(d.f.s.lineWidthComputed, 50);
}

TEST(DisplayTakeOver, EmptyAndHugeTextsAreNoIntegers) {
  for (const char* bad : {"", " ", "12x", "99999999999", "x"}) {
    DisplayFixture d;
    DisplayParameterTexts t = goodTexts();
    t.lineWidthComposite = bad;
    DisplayTakeOverResult r = takeOverDisplayParameters(d.f.s, d.section, t);
    EXPECT_EQ(r.failed, DisplayEdit::LineWidthComposite) << bad;
    EXPECT_EQ(d.f.s.lineWidthMeasured, 3) << bad;
    EXPECT_EQ(d.f.s.lineWidthComposite, 2) << bad;
  }
}

TEST(DisplayTexts, ShowTheCurrentValues) {
  DisplayFixture d;
  d.section.labelBySurfaceChainage = true;
  d.f.s.splineResolution = 77;
  DisplayParameterTexts t = displayParameterTexts(d.f.s, d.section);
  EXPECT_EQ(t.splineDegree, "3");
  EXPECT_EQ(t.splineResolution, "77");
  EXPECT_EQ(t.lineWidthActiveModel, "4");
  EXPECT_TRUE(t.splineAllCurves);
  EXPECT_FALSE(t.profilePrefix);
  EXPECT_TRUE(t.labelBySurfaceChainage);
  // Taking the shown texts over changes nothing.
  CurveFixture copy;
  applyDefaultSettings(copy.s);
  copy.s.splineResolution = 77;
  SectionDisplayFlags flags = d.section;
  ASSERT_TRUE(takeOverDisplayParameters(copy.s, flags, t).ok);
  EXPECT_EQ(settingsFileText(copy.s), settingsFileText(d.f.s));
}

TEST(DisplayDefaults, ResolutionIsOneHundredTen) {
  CurveFixture f;
  applyDefaultSettings(f.s);
  f.s.splineAllCurves = false;
  f.s.splineDegree = 7;
  f.s.lineWidthModel = 9;
  f.s.colourBranch[2] = 1;
  f.s.colourModel = 2;
  f.s.inputMode = 1;
  f.s.screenSplitPercent = 30;
  applyDisplayDefaults(f.s);
  EXPECT_TRUE(f.s.splineAllCurves);
  EXPECT_EQ(f.s.splineDegree, 3);
  EXPECT_EQ(f.s.splineResolution, 110);
  EXPECT_EQ(f.s.lineWidthModel, 2);
  EXPECT_EQ(f.s.colourBranch[2], 0x8000);
  EXPECT_EQ(f.s.colourModel, 0xFF00);
  // Not display parameters: untouched.
  EXPECT_EQ(f.s.inputMode, 1);
  EXPECT_EQ(f.s.screenSplitPercent, 30);
}

TEST(PreferenceMapping, RadioIndexAndInputMode) {
  struct Case {
    int mode;
    int radio;
  };
  for (Case c : {Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 3}, Case{4, 4}, Case{5, -1},
                 Case{-1, -1}, Case{1000, -1}})
    EXPECT_EQ(preferenceRadioIndex(c.mode), c.radio) << c.mode;
  EXPECT_EQ(inputModeFromRadio(2, 4), 2);
  EXPECT_EQ(inputModeFromRadio(0, 4), 0);
  EXPECT_EQ(inputModeFromRadio(-1, 4), 4);
  EXPECT_EQ(inputModeFromRadio(-1, 17), 17);
  EXPECT_EQ(inputModeFromRadio(5, 3), 3);
}

}  // namespace
}  // namespace orv
