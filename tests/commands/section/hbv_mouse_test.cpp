#include "commands/section/hbv_mouse.h"

#include <string>
#include <vector>

#include "tests/commands/curve/recording_canvas.h"
#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

using Strings = std::vector<std::string>;

class HbvMouseTest : public SectionTest {
 protected:
  HbvMouseTest() {
    session.canvas = &canvas;
    session.redraw = [this] { drawnAtRedraw = drawn(); };
    // Pixel (x, y) is chainage x, elevation 310 - y / 2.
    view.layout = {.pxPerMetreX = 1, .pxPerMetreZ = 2, .imageTopElevation = 310};
    view.layout.sectionTextHeight = 13;
    setTextFromUtf8(db().localityName, "Žďár");
    setTextFromUtf8(profile(0).profileName, "P1");
    givePoints(3);  // point 0 at 105 m: surface 104, interfaces 100.5, 99.5, 98.5
  }
  void giveLine(int i, const std::vector<ui::Point>& pixels) {
    profile(0).HBV_pocet = std::max(profile(0).HBV_pocet, i + 1);
    profile(0).HBV_pocetBodu[i] = int(pixels.size());
    for (size_t j = 0; j < pixels.size(); ++j) {
      profile(0).HBV_x[i][j] = float(pixels[j].x);
      profile(0).HBV_z[i][j] = 310.0f - pixels[j].y / 2.0f;
    }
  }
  // Each call as "x0,y0 x1,y1 mode pen" (lines: ends; circles and fills: box).
  Strings drawn() const {
    Strings out;
    for (const auto& c : canvas.calls)
      out.push_back(c.text.empty() ? cformat("%d,%d %d,%d %d %06x", c.points[0].x, c.points[0].y,
                                             c.points[1].x, c.points[1].y, int(c.penMode),
                                             unsigned(c.penColour))
                                   : c.text);
    return out;
  }
  testing_support::RecordingCanvas canvas{640, 480};
  std::optional<Strings> drawnAtRedraw;
};

TEST_F(HbvMouseTest, ClickSnapsToTheNearestSoundingWithinTheTolerances) {
  // Tolerance 3 px at 2 px/m: 1.5 m vertically, 1.5 m x exaggeration across.
  const float rows[][5] = {
      {5, 110, 420, 105, 100.5f},  // 5 m beside: within 7.5 m, onto the interface
      {2, 110, 420, 110, 100},     // the same pixel: beyond 3 m
      {2, 107, 417, 105, 100.5f},  // 2 m beside, 1 m above the interface
      {2, 108, 417, 108, 101.5f},  // 3 m is not within 3 m
      {5, 110, 416, 105, 102},     // 1.5 m from interface and surface alike
      {5, 103, 408, 105, 106},    {5, 103, 413, 105, 104},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r[0] << " " << r[1] << " " << r[2]);
    profile(0).HBV_pocet = 0;
    view.exaggeration = int(r[0]);
    defineModeClick(session, int(r[1]), int(r[2]));
    ASSERT_EQ(profile(0).HBV_pocet, 1);
    ASSERT_EQ(profile(0).HBV_pocetBodu[0], 1);
    EXPECT_EQ(profile(0).HBV_x[0][0], r[3]);
    EXPECT_EQ(profile(0).HBV_z[0][0], r[4]);
  }
}

TEST_F(HbvMouseTest, ClickSwallowedAfterADoubleClickRefusedPastTheLimitAndReported) {
  const std::string tooMany =
      "Máš už moc zadaných bodů křivky HBV (Ukonči tuto na rozharaní VES a začni novou křivku "
      "HBV)";
  profile(0).LeadTime = 100;
  profile(0).OnTime = 2000;
  profile(0).num_IPoken = 1;
  profile(0).ipWindowFrom[0] = 2120;
  profile(0).ipWindowTo[0] = 2160;
  const int rows[][3] = {{HbvLineJustOpened, 0, 0},
                         {0, 1, 1},
                         {168, 169, 0},
                         {169, 169, 0},
                         {400, 400, 0}};  // count before, after, show IP
  for (const auto& r : rows) {
    SCOPED_TRACE(r[0]);
    giveLine(0, {{10, 10}, {20, 20}});
    profile(0).HBV_pocet = 2;
    profile(0).HBV_pocetBodu[1] = r[0];
    view.showIp = r[2];
    dialogs.clearRecords();
    canvas.clear();
    drawnAtRedraw.reset();
    defineModeClick(session, 400, 21);  // 400 m, 299.5 m
    const bool added = r[1] == r[0] + 1;
    EXPECT_EQ(profile(0).HBV_pocetBodu[1], r[1]);
    EXPECT_EQ(dialogs.messages(), r[1] == r[0] && r[0] > 0 ? Strings{tooMany} : Strings{});
    // The status comes after the repaint and counts the selected line 0.
    EXPECT_EQ(drawnAtRedraw, added ? std::optional<Strings>(Strings{}) : std::nullopt);
    const std::string ip = r[2] ? " - oknoVP: 20 - 60 ms poOff" : "";
    EXPECT_EQ(drawn(), (Strings{"0,0 640,13 0 000000",
                                "lokalita: Žďár - pf: P1" + ip +
                                    " - klik: metráž: 400.0 m a výška: 299.5 m i_HBV: 2 "
                                    "bod_HBV: 2" +
                                    std::string(30, ' ')}));
  }
}

TEST_F(HbvMouseTest, RubberBandErasesThePreviousBand) {
  giveLine(0, {{50, 60}, {105, 420}});
  giveLine(1, {});
  profile(0).HBV_pocetBodu[1] = HbvLineJustOpened;
  view.hbvActive = 0;
  view.lastMouseX = -1;
  for (ui::Point m : {ui::Point{200, 300}, ui::Point{200, 300}, ui::Point{210, 310}})
    defineModeMove(session, m.x, m.y);
  // No band from a line that is not there, nor from one without a vertex.
  for (int active : {-1, 1, 2}) {
    view.hbvActive = active;
    defineModeMove(session, 100 + active, 100);
    EXPECT_EQ(view.lastMouseX, -1);
  }
  const std::string xorRed = " 1 ffff00";
  EXPECT_EQ(drawn(), (Strings{"105,420 200,300" + xorRed, "105,420 200,300" + xorRed,
                              "105,420 210,310" + xorRed}));
  EXPECT_EQ(canvas.penMode(), ui::PenMode::Copy);
}

TEST_F(HbvMouseTest, EditModeSelectsHighlightsAndDrags) {
  giveLine(0, {{100, 100}, {200, 100}});
  giveLine(1, {{150, 50}, {300, 300}});
  const int presses[][3] = {{190, 60, 0}, {160, 60, 1}, {0, 0, 0}, {290, 290, 1}};
  for (const auto& p : presses) {
    view.hbvActiveVertex = 1;
    editModeDown(session, p[0], p[1]);
    EXPECT_EQ(view.hbvSelected, p[2]) << p[0];
    EXPECT_EQ(view.hbvActive, p[2]);
    EXPECT_EQ(view.hbvActiveVertex, -1);
  }
  editModeMove(session, 152, 52, true);  // Ctrl+left with no vertex held: highlight
  EXPECT_EQ(view.hbvActiveVertex, 0);
  editModeMove(session, 298, 298, false);
  editModeMove(session, 297, 297, false);  // the same vertex: no drawing
  editModeMove(session, 250, 201, true);
  EXPECT_EQ(profile(0).HBV_x[1][1], 250.0f);
  EXPECT_EQ(profile(0).HBV_z[1][1], 209.5f);
  EXPECT_EQ(profile(0).HBV_x[1][0], 150.0f);
  // Circles of radius 1.5 x 3 px: blue, white over the old, the drag in XOR.
  EXPECT_EQ(drawn(),
            (Strings{"146,46 155,55 0 ff0000", "146,46 155,55 0 ffffff", "296,296 305,305 0 ff0000",
                     "296,296 305,305 1 00ffff", "246,197 255,206 1 00ffff"}));
  editModeUp(session);
  EXPECT_EQ(view.hbvActiveVertex, -1);
  EXPECT_TRUE(drawnAtRedraw);

  // Nothing on a profile without points.
  profile(0).mxindex_bodu = -1;
  view.hbvActiveVertex = 1;
  canvas.clear();
  drawnAtRedraw.reset();
  defineModeClick(session, 100, 100);
  defineModeMove(session, 120, 120);
  editModeDown(session, 100, 100);
  editModeMove(session, 110, 110, true);
  editModeUp(session);
  EXPECT_EQ(profile(0).HBV_pocetBodu[0], 2);
  EXPECT_EQ(view.hbvActiveVertex, 1);
  EXPECT_FALSE(drawnAtRedraw);
  EXPECT_TRUE(canvas.calls.empty());
}

}  // namespace
}  // namespace orv::testing
