#include "commands/section/boundary_line_commands.h"

#include <optional>
#include <string>
#include <vector>

#include "tests/commands/section/section_test_support.h"
#include "ui/recording_chrome.h"

namespace orv::testing {
namespace {

using Command = void (*)(SectionSession&);
using Counts = std::vector<int>;

class BoundaryLineCommandsTest : public SectionTest {
 protected:
  BoundaryLineCommandsTest() { session.chrome = &chrome; }
  // Fresh window state; lines of the given vertex counts, vertex j of line i
  // at chainage 1000 i + j.
  void start(const Counts& counts) {
    view = SectionWindowState{};
    dialogs.clearRecords();
    chrome.checked.clear();
    sectionRedraws = 0;
    profile(0).HBV_pocet = int(counts.size());
    for (int i = 0; i < int(counts.size()); ++i) {
      profile(0).HBV_pocetBodu[i] = counts[i];
      for (int j = 0; j < MaxHbvVertices; ++j) profile(0).HBV_x[i][j] = 1000.0f * i + j;
    }
  }
  Counts counts() const {
    return Counts(dbBlock->profiles[0].HBV_pocetBodu,
                  dbBlock->profiles[0].HBV_pocetBodu + dbBlock->profiles[0].HBV_pocet);
  }
  ui::RecordingChrome chrome;
};

TEST_F(BoundaryLineCommandsTest, NewLinesOpenOnlyWhileASlotIsFree) {
  const Command define = toggleDefineLayersMode, dbl = defineModeDoubleClick;
  struct Row {
    Command command;
    int lines;
    bool defineBefore;
    Counts after;  // vertex counts from line lines - 1 on
    int active;    // hbvActive and hbvSelected afterwards, -1: left alone
    int redraws;   // 0 with a refusal
  } rows[] = {
      {define, 0, false, {}, 0, 1},  // the first click opens line 0
      {define, 2, false, {4, 0}, 2, 1},
      {define, 199, false, {4}, -1, 0},  // the surface line's slot stays free
      {define, 200, false, {4}, -1, 0},  // as a file may hold
      {define, 3, true, {4}, -1, 1},     // off: the colouring is back
      {dbl, 0, true, {}, -1, 0},
      {dbl, 1, true, {4, HbvLineJustOpened}, 1, 1},
      {dbl, 199, true, {4}, -1, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.lines);
    start(Counts(r.lines, 4));
    view.defineLayersMode = r.defineBefore;
    view.colourLayersMode = !r.defineBefore;
    view.lastMouseX = 40;
    r.command(session);
    const Counts all = counts();
    EXPECT_EQ(Counts(all.begin() + std::max(r.lines - 1, 0), all.end()), r.after);
    EXPECT_EQ(view.hbvActive, r.active);
    EXPECT_EQ(view.hbvSelected, std::max(r.active, 0));
    EXPECT_EQ(view.lastMouseX, r.active >= 0 ? -1 : 40);
    EXPECT_EQ(sectionRedraws, r.redraws);
    const bool refused = r.lines >= 199;
    EXPECT_EQ(dialogs.messages().size(), refused ? 1u : 0u);
    if (refused || r.command != define) continue;
    EXPECT_EQ(view.colourLayersMode, r.defineBefore);
    EXPECT_EQ(chrome.checked.at(DefineLayersItem), !r.defineBefore);
    EXPECT_EQ(chrome.checked.at(DefineLayersPopupItem), !r.defineBefore);
    EXPECT_EQ(chrome.checked.at(ColourLayersItem), r.defineBefore);
  }
  EXPECT_EQ(dialogs.messages().at(0), TooManyHbvLines);
  EXPECT_EQ(std::string(TooManyHbvLines).rfind("Máš už moc zadaných křivek HBV (", 0), 0u);
}

TEST_F(BoundaryLineCommandsTest, RemovalsTakeVerticesAndLines) {
  const Command vertex = removeLastHbvVertex, line = removeLastHbvLine,
                selected = deleteSelectedHbvLine;
  struct Row {
    Command command;
    Counts before;
    int selected;
    Counts after;
    std::vector<float> firstXs;  // of each line afterwards
  } rows[] = {
      {vertex, {3, 1}, 0, {3}, {0}},  // a single vertex takes its line with it
      {vertex, {3, 2}, 0, {3, 1}, {0, 1000}},
      {vertex, {250}, 0, {MaxHbvVertices - 1}, {0}},  // a count past the store
      {vertex, {}, 0, {}, {}},
      {line, {3, 5}, 0, {3}, {0}},
      {line, {}, 0, {}, {}},
      {selected, {3, 4, 5}, 0, {4, 5}, {1000, 2000}},
      {selected, {3, 4, 5}, 2, {3, 4}, {0, 1000}},
      {selected, {3, 4, 5}, 3, {3, 4, 5}, {0, 1000, 2000}},  // no such line
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.before) + " " + std::to_string(r.selected));
    start(r.before);
    view.hbvActive = int(r.before.size()) - 1;
    view.hbvSelected = r.selected;
    view.hbvActiveVertex = 0;
    r.command(session);
    EXPECT_EQ(counts(), r.after);
    for (size_t i = 0; i < r.firstXs.size(); ++i)
      EXPECT_EQ(profile(0).HBV_x[i][2] - 2, r.firstXs[i]);
    // Only the removals without a line to remove leave the picture alone.
    EXPECT_EQ(sectionRedraws, r.before.empty() ? 0 : 1);
    EXPECT_EQ(view.hbvActive, int(r.after.size()) - 1);
  }
}

TEST_F(BoundaryLineCommandsTest, TolerancePromptAndSwitches) {
  const std::optional<std::string> answers[] = {"4,5", "x", "1e60", std::nullopt};
  for (int i = 0; i < 4; ++i) {
    dialogs.clearRecords();
    answers[i] ? dialogs.answer(*answers[i]) : dialogs.cancel();
    askHbvTolerance(session);
    EXPECT_EQ(view.hbvTolerance, 4.5f);  // the first answer, kept after it
    EXPECT_EQ(dialogs.messages().size(), i == 1 || i == 2 ? 1u : 0u);
  }
  EXPECT_EQ(
      dialogs.questions().at(0),
      "Zadej toleranci dPixel snapu HBV k rozhraní VES:  |(nyní je 4.5) HBV tolerance = |4.5");
  EXPECT_EQ(sectionRedraws, 4);  // also after "Cancel" and bad input

  start({2, 2});
  toggleDefineLayersMode(session);
  toggleColourLayers(session);  // on: the define mode ends
  EXPECT_FALSE(view.defineLayersMode || chrome.checked.at(DefineLayersItem));
  toggleDefineLayersMode(session);
  clearBoundaryLines(session);
  EXPECT_EQ(profile(0).HBV_pocet, 0);
  EXPECT_FALSE(view.colourLayersMode || chrome.checked.at(ColourLayersItem));
  toggleDrawLayerBounds(session);
  EXPECT_FALSE(view.drawLayerBounds || chrome.checked.at(DrawLayerBoundsItem));
  view.hbvSelected = view.hbvActiveVertex = 4;
  for (bool on : {true, false}) {
    toggleHbvEditMode(session);
    EXPECT_EQ(chrome.checked.at(HbvEditItem), on);
    EXPECT_EQ(deleteLineItemVisible(view), on);
  }
  EXPECT_EQ(view.hbvSelected + view.hbvActiveVertex, -1);
}

}  // namespace
}  // namespace orv::testing
