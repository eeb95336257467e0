// Boundary lines and the coloured layers as users see them: a stored profile
// of eight soundings and six lines drawn coloured and compared with its
// reference picture, and a line drawn with the mouse through the real window.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <memory>

#include "commands/section/database_commands.h"
#include "commands/section/section_painting.h"
#include "core/section/colour_scale_file.h"
#include "core/section/vdb_file.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "tests/qt/section_picture_support.h"
#include "tests/qt/section_qt_support.h"
#include "tests/support/fixture_path.h"

namespace orv::testing {
namespace {

bool readFixture(SectionDatabase& db, ColourScale& scale) {
  return readPictureFixture(db, scale, "profil8.vdb");
}

TEST(SectionLayersPictureTest, EightSoundingsAndSixLinesMatchTheirReferencePicture) {
  DrawnFixture f;
  ASSERT_TRUE(f.draw("profil8.vdb"));
  EXPECT_TRUE(matchesReference(f, "profil8_layers.png"));
  // Between two soundings the ground is coloured too: midway between 0 and
  // 50 m in the second layer (300 -> 275 ohm.m, orange) and in the third
  // (15 -> 18 ohm.m, blue).
  const SectionPoint& a = f.db->profiles[0].points[0];
  EXPECT_EQ(f.colourAt(25, a.pointZ - 5), 0x0080FF);
  EXPECT_EQ(f.colourAt(25, a.pointZ - 20), 0xFF8000);

  // The lens two lines leave between 250 and 300 m takes the colour of its
  // layer at the nearer sounding (250 m: 175 ohm.m, yellow).
  for (const double x : {258.0, 270.0, 282.0}) EXPECT_EQ(f.colourAt(x, 285.2), 0x00FFFF) << x;
}

class SectionLinesRoadTest : public ::testing::Test {
 protected:
  SectionLinesRoadTest() {
    EXPECT_TRUE(readFixture(w.database(), w.viewState().colourScale));
    SectionProfile& p = w.database().profiles[0];
    p.HBV_pocet = 0;
    setViewForReadDatabase(w.viewState());
    w.resize(1200, 800);
    w.show();
    QApplication::processEvents();
    dialogs.clearRecords();
  }
  void trigger(const char* name) {
    QAction* a = w.action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
    QApplication::processEvents();
  }
  void send(QEvent::Type type, QPoint at) {
    QMouseEvent e(type, QPointF(at), QPointF(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w.image(), &e);
    QApplication::processEvents();
  }
  // A point of the picture a pixel beside interface i of sounding k.
  QPoint besideInterface(int k, int i) {
    const SectionPoint& pt = profile().points[k];
    const SectionLayout& l = w.viewState().layout;
    return QPoint(chainageToPixel(l, pt.profileChainage) + 1,
                  elevationToPixel(l, pt.pointZ - std::fabs(pt.layerDepth[i])) + 1);
  }
  SectionProfile& profile() { return w.database().profiles[0]; }

  ui::ScriptedDialogs dialogs;
  RecordingCurveLink link;
  TSection w{link, 300, nullptr, &dialogs};
};

TEST_F(SectionLinesRoadTest, ALineDrawnWithTheMouseSnapsOntoTheInterfacesAndColoursTheLayers) {
  trigger("Vymezitvrstvyprovybarvendlerezistivit1");
  EXPECT_TRUE(w.viewState().defineLayersMode);
  EXPECT_TRUE(w.action("vymezovatvrstvy1")->isChecked());
  EXPECT_FALSE(w.action("vybarvitvrstvy1")->isChecked());
  for (int k = 0; k < 3; ++k) {
    send(QEvent::MouseButtonPress, besideInterface(k, 0));
    send(QEvent::MouseButtonRelease, besideInterface(k, 0));
  }
  // The line ends with a double click on its last vertex: its second press
  // comes as the double click and opens the next line.
  send(QEvent::MouseButtonPress, besideInterface(3, 0));
  send(QEvent::MouseButtonRelease, besideInterface(3, 0));
  send(QEvent::MouseButtonDblClick, besideInterface(3, 0));
  send(QEvent::MouseButtonRelease, besideInterface(3, 0));
  ASSERT_EQ(profile().HBV_pocet, 2);
  ASSERT_EQ(profile().HBV_pocetBodu[0], 4);
  EXPECT_EQ(profile().HBV_pocetBodu[1], 0) << "the click of the double click is swallowed";
  for (int k = 0; k < 4; ++k) {
    const SectionPoint& pt = profile().points[k];
    EXPECT_EQ(profile().HBV_x[0][k], pt.profileChainage) << k;
    EXPECT_FLOAT_EQ(profile().HBV_z[0][k], pt.pointZ - std::fabs(pt.layerDepth[0])) << k;
  }
  EXPECT_TRUE(dialogs.messages().empty());

  trigger("Vymezitvrstvyprovybarvendlerezistivit1");
  EXPECT_FALSE(w.viewState().defineLayersMode);
  EXPECT_TRUE(w.viewState().colourLayersMode);
  EXPECT_TRUE(w.action("vybarvitvrstvy1")->isChecked());
  // Between the first two soundings the top layer (80 -> 90 ohm.m, green)
  // is coloured above the line.
  const SectionLayout& l = w.viewState().layout;
  const SectionPoint& a = profile().points[0];
  EXPECT_EQ(w.image()->canvas().pixel(chainageToPixel(l, 25), elevationToPixel(l, a.pointZ + 0.5)),
            0x00FF00);
}

TEST_F(SectionLinesRoadTest, TheEditModeShowsTheDeleteItemAndDeletesTheSelectedLine) {
  EXPECT_TRUE(readFixture(w.database(), w.viewState().colourScale));
  w.repaint();
  EXPECT_FALSE(w.action("smazaktivnkivkuHBV1")->isVisible());
  trigger("Fitniez1");
  EXPECT_TRUE(w.viewState().hbvEditMode);
  EXPECT_TRUE(w.action("smazaktivnkivkuHBV1")->isVisible());
  send(QEvent::MouseButtonPress, besideInterface(2, 2));  // line 2 runs along interface 2
  send(QEvent::MouseButtonRelease, besideInterface(2, 2));
  EXPECT_EQ(w.viewState().hbvSelected, 2);
  trigger("smazaktivnkivkuHBV1");
  EXPECT_EQ(profile().HBV_pocet, 5);
  trigger("Fitniez1");
  EXPECT_FALSE(w.action("smazaktivnkivkuHBV1")->isVisible());
}

}  // namespace
}  // namespace orv::testing
