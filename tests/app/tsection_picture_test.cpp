// The section picture as users see it: a stored five-point profile drawn at
// the window's default look and compared with its reference picture, and the
// view commands and the mouse through the real section window.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "../section/vdb_test_support.h"
#include "section/database_commands.h"
#include "section/qt/tsection.h"
#include "section/section_painting.h"
#include "section/vdb_file.h"
#include "section_picture_support.h"
#include "section_qt_support.h"
#include "sectionlayers/colour_scale_file.h"
#include "tests/support/fixture_path.h"
#include "ui/qt/image_widget.h"

namespace orv::testing {
namespace {

bool readFixture(SectionDatabase& db, ColourScale& scale) {
  return readPictureFixture(db, scale, "profil5.vdb");
}

TEST(SectionPictureTest, AFivePointProfileMatchesItsReferencePicture) {
  DrawnFixture f;
  ASSERT_TRUE(f.draw("profil5.vdb"));
  EXPECT_TRUE(matchesReference(f, "profil5_section.png"));
  // The layers by their scale colours, sampled mid-layer beside the labels in
  // the columns of points at 50 m (220 ohm.m: orange), 100 m (12 ohm.m: blue)
  // and 150 m (90 ohm.m: green).
  const double beside = 60 / f.view->layout.pxPerMetreX;
  EXPECT_EQ(f.colourAt(50 + beside, 305), 0x0080FF);
  EXPECT_EQ(f.colourAt(100 + beside, 290), 0xFF8000);
  EXPECT_EQ(f.colourAt(150 + beside, 298), 0x00FF00);
}

// How far a colour is from a grey: text, axes and frame are black or grey,
// the ground is coloured.
int colourfulness(ui::Colour c) {
  const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return std::max({r, g, b}) - std::min({r, g, b});
}

// The profile with IP values at the point at 100 m (a stroke 17 pixels wide)
// and with the sounding curves, drawn with the view limits given.
void drawWithIpAndCurves(DrawnFixture& f, float minChainage, float minElevation) {
  SectionWindowState& v = *f.view;
  v.showIp = true;
  v.showCurves = true;
  v.viewMinChainage = minChainage;
  v.viewMinElevation = minElevation;
  SectionPoint& pt = f.db->profiles[0].points[2];
  for (int m = 0; m < pt.Mermx; ++m) pt.ipValue[m][0] = 8.0f;
  paintSection(*f.db, v, f.canvas, PictureScreen);
}

// After a pan that leaves two points beyond the view and with the deep
// layers below its lower limit, the ground (fills, curves, IP line, surface
// line) stays inside the frame: outside it only black and grey remain.
TEST(SectionPictureTest, AfterAPanAndBelowTheViewNothingOfTheGroundLeavesTheFrame) {
  DrawnFixture f;
  ASSERT_TRUE(f.draw("profil5.vdb"));
  drawWithIpAndCurves(f, 60, 290);
  const SectionLayout& l = f.view->layout;
  int outside = 0, inside = 0;
  for (int y = 0; y < PictureScreen.height; ++y)
    for (int x = 0; x < PictureScreen.width; ++x) {
      const bool inFrame =
          x > l.frameLeft && x < l.frameRight && y >= l.frameTop && y < l.frameBottom;
      (inFrame ? inside : outside) += colourfulness(f.canvas.pixel(x, y)) > 60;
    }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(inside, 20000);
}

// With the colours on, the AB/2 scale (red, inside both sides of the frame)
// and the IP line (yellow) lie over the layer fills; the resistivity labels
// stay over the IP line.
TEST(SectionPictureTest, TheAbHalfScaleAndTheIpLineShowOverTheLayerColours) {
  DrawnFixture f;
  ASSERT_TRUE(f.draw("profil5.vdb"));
  drawWithIpAndCurves(f, -1000000, -10000);
  const SectionLayout& l = f.view->layout;
  auto reddish = [](ui::Colour c) {
    return (c & 0xFF) > 200 && ((c >> 8) & 0xFF) < 90 && (c >> 16) < 90;
  };
  const double surface = f.db->profiles[0].points[l.rightmostPoint].pointZ;
  int labelsSeen = 0;
  for (int d = 0; d <= int(l.maxLogAbHalf); ++d) {
    const int y = elevationToPixel(l, surface - d * l.curveMetresPerDecade);
    const int third = l.sectionTextWidth / 3, h = l.sectionTextHeight;
    const int width = f.canvas.textExtent(d == 0 ? "1" : d == 1 ? "10" : "100").width;
    // Only where the ground beside the label is not red itself.
    if (y - h < l.frameTop || y + h > l.frameBottom ||
        reddish(f.canvas.pixel(l.frameRight - third - width - 4, y)))
      continue;
    int red = 0;
    for (int py = y - h / 2; py < y + h / 2; ++py)
      for (int px = l.frameRight - third - width; px < l.frameRight - third; ++px)
        red += reddish(f.canvas.pixel(px, py));
    EXPECT_GT(red, 3) << "AB/2 label " << d;
    ++labelsSeen;
  }
  EXPECT_GE(labelsSeen, 1);

  const SectionPoint& pt = f.db->profiles[0].points[2];
  const int x = chainageToPixel(l, pt.profileChainage);
  // Its third layer: 12 ohm.m, blue.
  const int upper = elevationToPixel(l, pt.pointZ - std::fabs(pt.layerDepth[1]));
  const int lower = elevationToPixel(l, pt.pointZ - std::fabs(pt.layerDepth[2]));
  int yellow = 0, dark = 0;
  for (int y = upper + 2; y < lower - 1; ++y) yellow += f.canvas.pixel(x + 6, y) == 0x00FFFF;
  for (int y = (upper + lower) / 2 - 4; y < (upper + lower) / 2 + 4; ++y)
    for (int px = x - 8; px <= x + 8; ++px) dark += (f.canvas.pixel(px, y) & 0xFF) < 90;
  EXPECT_GT(yellow, (lower - upper) / 2) << "the IP line over the third layer's fill";
  EXPECT_GT(dark, 5) << "its resistivity over the IP line";
}

class SectionWindowRoadTest : public ::testing::Test {
 protected:
  SectionWindowRoadTest() {
    EXPECT_TRUE(readFixture(w.database(), w.viewState().colourScale));
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
  void click(int x, int y) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, y), QPointF(x, y), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.image(), &press);
    QApplication::processEvents();
  }
  SectionProfile& profile() { return w.database().profiles[0]; }
  const SectionLayout& layout() { return w.viewState().layout; }

  ui::ScriptedDialogs dialogs;
  RecordingCurveLink link;
  TSection w{link, 300, nullptr, &dialogs};
};

TEST_F(SectionWindowRoadTest, AClickLoadsTheNearestPointAndTellsTheDepthUnderTheMouse) {
  const int x = chainageToPixel(layout(), 150) - 3;
  const int y = elevationToPixel(layout(), 295);
  click(x, y);
  EXPECT_EQ(w.database().currentPoint, 3);
  EXPECT_EQ(link.takeOvers, 1);
  // The click's status line, with the depth and elevation under the mouse,
  // reaches further than the repaint's own.
  ui::QImageCanvas& canvas = w.image()->canvas();
  int rightmost = 0;
  for (int py = 0; py < layout().sectionTextHeight; ++py)
    for (int px = 0; px < canvas.width() / 2; ++px)
      if (canvas.pixel(px, py) != 0xFFFFFF) rightmost = std::max(rightmost, px);
  const int repaintStatus = canvas.textExtent("jméno lokality: Lhota - profil: P1").width;
  EXPECT_GT(rightmost, repaintStatus + 40);
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SectionWindowRoadTest, ScaleCommandsAndFittingWorkThroughTheirMenuItems) {
  dialogs.answer("5000");
  trigger("MtkoX1");
  EXPECT_FLOAT_EQ(profile().scaleX, 1.0f / 5000);
  EXPECT_EQ(dialogs.questions().back(), "Zadej X měřítko zobrazení:  |(nyní je 1:2000):1 /|2000");

  trigger("Fitnaku1");
  EXPECT_TRUE(w.action("Fitnaku1")->isChecked());
  EXPECT_NEAR(layout().sectionImageWidth, w.image()->width(), 2);
  trigger("zmenimtkoX2");  // "zmenši měřítko X" ends the fitting
  EXPECT_FALSE(w.viewState().fitWidth);
  EXPECT_FALSE(w.action("Fitnaku1")->isChecked());

  const float before = w.viewState().curvePixelsPerDecade;
  trigger("kivkyVES1");
  EXPECT_TRUE(w.viewState().showCurves);
  EXPECT_TRUE(w.action("kivkyVES1")->isChecked());
  trigger("zvtimtkokivekVES1");
  EXPECT_FLOAT_EQ(w.viewState().curvePixelsPerDecade, before * 1.2f);
  EXPECT_GT(layout().curveMetresPerDecade, 0.0);
}

TEST_F(SectionWindowRoadTest, PanningRightCutsTheLeftmostPointOffAndLeftBringsItBack) {
  const double left = layout().imageLeftChainage;
  int steps = 0;
  while (w.viewState().viewMinChainage < 0.0f && steps++ < 100) trigger("N21");
  EXPECT_NEAR(w.viewState().viewMinChainage, left + 20.0 * steps, 1e-3);
  EXPECT_GT(layout().dataMinChainage, 0.0) << "the point at 0 m is off the picture";
  for (int k = 0; k < steps; ++k) trigger("N20");
  EXPECT_DOUBLE_EQ(layout().dataMinChainage, 0.0);
}

TEST_F(SectionWindowRoadTest, PrintingTheFormWritesThePageOfTheWindow) {
  ScratchFolder scratch;
  const QString pdf = QString::fromStdString(scratch.path() + "formular.pdf");
  w.printer().setOutputFormat(QPrinter::PdfFormat);
  w.printer().setOutputFileName(pdf);
  trigger("Tiskformule1");
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5) == "%PDF-");
  EXPECT_GT(file.size(), 2000);
}

TEST_F(SectionWindowRoadTest, PrintingWithoutAPrinterAsksForAPdfFileAndACancelPrintsNothing) {
  ScratchFolder scratch;
  w.printer().setOutputFormat(QPrinter::PdfFormat);
  w.printer().setOutputFileName(QString());
  dialogs.cancel();
  trigger("Tiskformule1");
  const std::string pdf = scratch.path() + "bez_tiskarny.pdf";
  dialogs.answer(pdf);
  trigger("Tiskformule1");
  ASSERT_EQ(2u, dialogs.questions().size());
  EXPECT_EQ(0u, dialogs.questions()[1].rfind("save|", 0));
  EXPECT_TRUE(dialogs.messages().empty());
  QFile file(QString::fromStdString(pdf));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5) == "%PDF-");
}

}  // namespace
}  // namespace orv::testing
