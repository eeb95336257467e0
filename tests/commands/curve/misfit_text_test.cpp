#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/zeroed_block.h"
#include "commands/curve/curve_session.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/no_section.h"
#include "core/interpretation/forward_problem.h"
#include "ui/null_canvas.h"
#include "ui/recording_chrome.h"
#include "ui/scripted_dialogs.h"

namespace orv {
namespace {

// Keeps where text and background fills went.
class TextCanvas : public ui::NullCanvas {
 public:
  struct Box {
    int left, top, right, bottom;
  };
  std::vector<Box> fills;
  std::vector<std::pair<int, std::string>> texts;  // left edge, text
  void fillRect(int l, int t, int r, int b) override { fills.push_back({l, t, r, b}); }
  void textOut(int x, int, std::string_view text) override { texts.emplace_back(x, text); }
};

struct MisfitWindow {
  ZeroedBlock<CurveWindowState> state;
  ui::ScriptedDialogs dialogs;
  TextCanvas canvas;
  ui::RecordingChrome chrome;
  NoSection section;
  CurveSession c{*state, dialogs, canvas, chrome, section};

  // One cell whose composite and computed values differ by the factor e^d.
  void misfitOf(double d) {
    CurveWindowState& s = *state;
    s.gridMinIndex = s.gridMaxIndex = 5;
    s.mergedRho[5][0] = 100.0f;
    s.computedRho[5] = static_cast<float>(100.0 * std::exp(d));
  }
};

TEST(MisfitText, AShorterMisfitClearsExactlyTheLettersOfTheLongestOne) {
  MisfitWindow w;
  CurveWindowState& s = *w.state;
  s.plotLeft = 32;
  s.plotRight = 632;
  s.plotBottom = 400;
  w.misfitOf(3.0);  // SSQ = 9, the first text clears nothing beside it
  showSSQ(w.c);
  EXPECT_TRUE(w.canvas.fills.empty());
  w.misfitOf(12.0);  // SSQ = 144, three digits before the point
  showSSQ(w.c);
  w.misfitOf(0.5);  // SSQ = 0.25, one digit
  showSSQ(w.c);
  ASSERT_EQ(w.canvas.texts.size(), 3u);
  EXPECT_EQ(w.canvas.texts[2].second, "SSQ =  0.250000 ");
  const int textLeft = w.canvas.texts[2].first;
  ASSERT_GT(textLeft, w.canvas.texts[1].first);  // the new text starts further right
  ASSERT_EQ(w.canvas.fills.size(), 1u);
  const TextCanvas::Box& f = w.canvas.fills[0];
  EXPECT_EQ(f.left, w.canvas.texts[1].first);  // where the longest text began
  EXPECT_EQ(f.right, textLeft);
  EXPECT_EQ(f.top, 400 + 16 / 2);
  EXPECT_EQ(f.bottom, f.top + 16);
}

TEST(MisfitText, NothingIsClearedWhenTheTextReachesThePlotsLeftEdge) {
  MisfitWindow w;
  CurveWindowState& s = *w.state;
  s.plotLeft = 32;
  s.plotRight = 100;  // the middle lies left of where the text would start
  s.plotBottom = 400;
  w.misfitOf(1.0);
  showSSQ(w.c);
  EXPECT_TRUE(w.canvas.fills.empty());
  ASSERT_EQ(w.canvas.texts.size(), 1u);
}

}  // namespace
}  // namespace orv
