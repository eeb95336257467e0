#include "commands/curve/manual_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "core/curve/grid_index.h"
#include "tests/commands/curve/kmt_test_support.h"

namespace orv {
namespace {

using testing::TestWindow;

class NamedSection : public testing::RecordingSection {
 public:
  std::string currentProfileName() override { return "P7"; }
};

struct ManualWindow : TestWindow {
  NamedSection named;
  CurveSession c{*state, dialogs, canvas, chrome, named};
  void answers(const std::vector<std::string>& texts) {
    for (const std::string& t : texts) dialogs.answer(t);
  }
};

std::string rhoQuestion(int k, const char* ab) {
  return std::string("Zadej rezistivitu:  (konec větve ENTER)|řádek:") + std::to_string(k + 1) +
         ", AB/2=" + ab + " m -> REZISTIVITA: |0";
}

TEST(KeyboardEntry, ThreeReadingsOfOneBranch) {
  ManualWindow w;
  w.answers({"5", "1", "0", "10", "20", "30", "0"});
  keyboardEntry(w.c);
  const CurveWindowState& s = w.s();
  EXPECT_TRUE(w.dialogs.messages().empty());
  EXPECT_EQ(w.dialogs.pendingAnswers(), 0u);
  ASSERT_EQ(w.dialogs.questions().size(), 7u);
  EXPECT_EQ(w.dialogs.questions()[0], "Zadej číslo bodu VES: |číslo bodu: |0");
  EXPECT_EQ(w.dialogs.questions()[3], rhoQuestion(0, "1.00"));
  EXPECT_EQ(w.dialogs.questions()[5], rhoQuestion(2, "1.68"));
  ASSERT_EQ(s.readingCount, 3);
  // 10^(k/8.876) for k = 0, 1, 2.
  const float ab[] = {1.0f, 1.29617f, 1.68007f};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(s.readingAbHalf[i], ab[i], 1e-4f);
    EXPECT_EQ(s.readingMnHalf[i], 0.2f);
    EXPECT_EQ(s.readingRho[i], 10.0f * (i + 1));
  }
  EXPECT_EQ(s.gridMaxIndex, 2);
  EXPECT_EQ(s.pointNumber, 5);
  EXPECT_EQ(textOf(s.instrumentFilePath), "manual pf P7 bod 5");
  EXPECT_EQ(w.chrome.caption, "ORV-program na zpracování VES - otevřen: manual pf P7 bod 5");
  EXPECT_TRUE(s.compositeReady);
  EXPECT_FALSE(s.fromSection);
}

TEST(KeyboardEntry, TheSecondBranchStartsOnTheOverlapAndTheGridEndsAt1000m) {
  ManualWindow w;
  w.answers({"1", "2", "0", "10", "11", "12", "13", "14", "15", "0", "2", "30", "31", "0"});
  keyboardEntry(w.c);
  EXPECT_EQ(w.dialogs.questions()[10], "Zadej počet bodu tohoto prevazu: |počet bodu prevazu: |2");
  EXPECT_EQ(w.dialogs.questions()[11], rhoQuestion(4, "2.82"));
  ASSERT_EQ(w.s().readingCount, 8);
  EXPECT_EQ(w.s().readingBranch[6], 2);
  EXPECT_EQ(w.s().readingMnHalf[6], 1.0f);
  EXPECT_EQ(w.s().readingGridIndex[6], 4);
  EXPECT_EQ(w.s().branchCount, 2);

  // Skipping 25 cells: 655 m and 857 m are taken, 1101 m is not believed.
  ManualWindow far;
  far.answers({"1", "1", "25", "x", "100", "110", "120"});
  keyboardEntry(far.c);
  EXPECT_EQ(far.dialogs.messages(),
            (std::vector<std::string>{"Soustřeďte se (tečka je desetinná čárka)!",
                                      "Nevěř jim - oba figuranti jsou už v nejbližší hospodě!"}));
  EXPECT_EQ(far.s().readingCount, 2);
  EXPECT_EQ(far.s().gridMaxIndex, 26);
}

TEST(KeyboardEntry, BadCountsEndTheInputAndChangeNothing) {
  struct Case {
    std::vector<std::string> answers;
    std::string message;
  } const cases[] = {
      {{"9", "0"}, "Počet větví0 jste asi zadal špatně. Chcete-li to zkusit znovu stlačte Ctrl+R"},
      {{"9", "6"}, "Počet větví6 jste asi zadal špatně. Chcete-li to zkusit znovu stlačte Ctrl+R"},
      {{"9", "1", "26"},
       "Počet vynechaných bodů 26 jste asi zadal špatně. Chcete-li to zkusit znovu stlačte "
       "Ctrl+R"},
  };
  for (const Case& k : cases) {
    ManualWindow w;
    w.answers({"4", "1", "0", "10", "20", "0"});
    keyboardEntry(w.c);
    w.dialogs.clearRecords();
    w.answers(k.answers);
    keyboardEntry(w.c);
    EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{k.message});
    EXPECT_EQ(w.s().readingCount, 2);
    EXPECT_EQ(w.s().pointNumber, 4);
    EXPECT_EQ(w.s().gridMinIndex, 0);
    EXPECT_EQ(textOf(w.s().instrumentFilePath), "manual pf P7 bod 4");
  }
}

TEST(MouseEntry, AStraightCurveLeftInCompositeEditing) {
  struct Case {
    const char* first;
    const char* last;
    int readings;
    int firstCell;
  } const cases[] = {{"0", "20", 21, 0}, {"3", "250", 197, 3}, {"30", "10", 1, 30}};
  for (const Case& k : cases) {
    ManualWindow w;
    w.answers({"12", "4", k.first, k.last});
    mouseEntry(w.c);
    const CurveWindowState& s = w.s();
    ASSERT_EQ(s.readingCount, k.readings) << k.last;
    EXPECT_EQ(s.gridMinIndex, k.firstCell);
    for (int i = 0; i < s.readingCount; ++i) {
      EXPECT_EQ(s.readingRho[i], s.readingAbHalf[i]);
      EXPECT_EQ(s.readingAbHalf[i], gridValueOf(k.firstCell + i));
      EXPECT_EQ(s.readingBranch[i], 1);
    }
    EXPECT_TRUE(s.editCompositeMode);
    EXPECT_TRUE(s.mouseEntryActive);
    EXPECT_EQ(s.profileNumber, 4);
    EXPECT_EQ(w.chrome.caption,
              "ORV-manuální vstup křivky VES:myší pf 4 bod 12: UPRAV KŘIVKU MYŠÍ POTOM F4 ");
  }
}

TEST(StartPreferredInput, OnlyInsideThePlotAndOutsideTheModesOwnClicks) {
  struct Case {
    const char* name;
    void (*prepare)(CurveWindowState&);
    bool acts;
  } const cases[] = {
      {"inside", [](CurveWindowState&) {}, true},
      {"outside", [](CurveWindowState& s) { s.lastClickOutsidePlot = true; }, false},
      {"model layer", [](CurveWindowState& s) { s.hotLayer = 1; }, false},
      {"interface", [](CurveWindowState& s) { s.hotBoundary = 0; }, false},
      {"building", [](CurveWindowState& s) { s.modelBuildMode = true; }, false},
      {"editing", [](CurveWindowState& s) { s.editCompositeMode = true; }, false},
      {"mode 7", [](CurveWindowState& s) { s.inputMode = 7; }, false},
  };
  for (const Case& k : cases) {
    ManualWindow w;
    w.s().inputMode = 2;
    w.s().lastClickOutsidePlot = false;
    w.s().fromSection = true;
    k.prepare(w.s());
    w.answers({"1", "1", "0", "5"});
    EXPECT_EQ(startPreferredInput(w.c), k.acts) << k.name;
    EXPECT_EQ(w.dialogs.pendingAnswers() == 0, k.acts) << k.name;
    EXPECT_EQ(w.named.shows, k.acts ? 1 : 0) << k.name;
    EXPECT_EQ(w.s().fromSection, !k.acts) << k.name;
  }
  // inputMode 3 asks for an OAX file, 4 reads the next KMT record.
  ManualWindow w;
  w.s().lastClickOutsidePlot = false;
  w.s().inputMode = 3;
  w.dialogs.cancel();
  EXPECT_TRUE(startPreferredInput(w.c));
  EXPECT_EQ(w.dialogs.questions()[0].rfind("open|Otevřít OAX|", 0), 0u);
  w.s().inputMode = 4;
  w.dialogs.cancel();
  EXPECT_TRUE(startPreferredInput(w.c));
  EXPECT_EQ(w.dialogs.questions()[1].rfind("open|Otevřít KMT|", 0), 0u);
}

}  // namespace
}  // namespace orv
