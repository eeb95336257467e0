#include "commands/section/section_click.h"

#include "tests/commands/curve/recording_canvas.h"
#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

using testing_support::CallKind;

class SectionClickTest : public SectionTest {
 protected:
  SectionClickTest() {
    session.canvas = &canvas;
    // One pixel per metre across, two down, from chainage 0 and elevation 310.
    SectionLayout& l = view.layout;
    l.pxPerMetreX = 1;
    l.pxPerMetreZ = 2;
    l.imageLeftChainage = 0;
    l.imageTopElevation = 310;
    l.sectionTextHeight = 13;
    setTextFromUtf8(db().localityName, "Žďár");
    setTextFromUtf8(profile(0).profileName, "P1");
  }
  testing_support::RecordingCanvas canvas{640, 480};
};

TEST_F(SectionClickTest, NearestColumnWinsAndTheFirstOnTies) {
  givePoints(3);  // chainages 105, 205, 305 m: pixel columns 105, 205, 305
  const int clicks[][2] = {{0, 0}, {154, 0}, {155, 0}, {156, 1}, {255, 1}, {256, 2}, {9999, 2}};
  for (const auto& c : clicks) EXPECT_EQ(nearestPointByColumn(db(), view.layout, c[0]), c[1]);
  profile(0).mxindex_bodu = -1;
  EXPECT_EQ(nearestPointByColumn(db(), view.layout, 100), -1);
}

TEST_F(SectionClickTest, StubPointIsRemovedUnlessItIsTheOnlyOne) {
  struct Row {
    int points;
    int clicked;
    int pointsAfter;
    int takeOvers;
  } rows[] = {{3, 1, 3, 0}, {3, 1, 2, 1}, {1, 0, 1, 1}, {2, 0, 1, 1}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.points);
    givePoints(r.points);
    profile(0).points[r.clicked].ABmx = profile(0).points[r.clicked].nABmn;
    link.takeOvers = 0;
    canvas.clear();
    // Asked first; the new current point is loaded after a deletion.
    if (r.points > 1) dialogs.answer(r.pointsAfter < r.points ? "Ano" : "Ne");
    sectionLeftClick(session, 105 + 100 * r.clicked, 40);
    EXPECT_EQ(profile(0).mxindex_bodu + 1, r.pointsAfter);
    EXPECT_EQ(link.takeOvers, r.takeOvers);
    EXPECT_EQ(canvas.ofKind(CallKind::Text).size(), size_t(r.points == 1));
  }
  // The stub's successor moved down into its slot.
  EXPECT_EQ(profile(0).points[0].profileChainage, 205.0f);
}

TEST_F(SectionClickTest, StatusLineTellsDepthAndElevationOfTheClick) {
  givePoints(2);
  profile(0).points[1].pointZ = 300;
  profile(0).LeadTime = 100;
  profile(0).OnTime = 2000;
  profile(0).num_IPoken = 2;
  profile(0).ipWindowFrom[1] = 2120;
  profile(0).ipWindowTo[1] = 2160;
  view.currentIpWindow = 1;
  const std::string blanks(37, ' ');
  const std::string plain = "lokalita: Žďár - pf: P1 - klik: hl.: 10.0 m a výška: 290.0 m" + blanks;
  const std::string withIp =
      "lokalita: Žďár - pf: P1 - oknoVP: 20 - 60 ms poOff - klik: hl.: 10.0 m a výška: 290.0 m" +
      blanks;
  for (bool ip : {false, true}) {
    view.showIp = ip;
    canvas.clear();
    sectionLeftClick(session, 210, 40);  // 290 m, 10 m below the surface of point 1
    EXPECT_EQ(db().currentPoint, 1);
    const auto fills = canvas.ofKind(CallKind::Fill);
    const auto texts = canvas.ofKind(CallKind::Text);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].points[0].x, 0);
    EXPECT_EQ(fills[0].points[0].y, 0);
    EXPECT_EQ(fills[0].points[1].x, 640);
    EXPECT_EQ(fills[0].points[1].y, 13);
    EXPECT_EQ(fills[0].brushColour, 0xFFFFFF);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].points[0].x, 0);
    EXPECT_EQ(texts[0].points[0].y, 0);
    EXPECT_EQ(texts[0].text, ip ? withIp : plain);
    EXPECT_EQ(clickStatusText(db(), ip, 1, 10.0, 290.0), ip ? withIp : plain);
  }
  EXPECT_EQ(clickStatusText(db(), false, 0, -0.05, 1234.56),
            "lokalita: Žďár - pf: P1 - klik: hl.: -0.1 m a výška: 1234.6 m" + blanks);
  profile(0).num_IPoken = -10;  // a profile without IP names no window
  EXPECT_EQ(clickStatusText(db(), true, 1, 10.0, 290.0), plain);
}

TEST_F(SectionClickTest, EmptyProfileIgnoresTheClick) {
  sectionLeftClick(session, 100, 100);
  EXPECT_EQ(sectionRedraws, 0);
  EXPECT_EQ(link.takeOvers, 0);
  EXPECT_TRUE(canvas.calls.empty());
}

}  // namespace
}  // namespace orv::testing
