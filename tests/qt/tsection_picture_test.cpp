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

#include "commands/section/database_commands.h"
#include "commands/section/section_painting.h"
#include "core/section/colour_scale_file.h"
#include "core/section/vdb_file.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "tests/core/section/vdb_test_support.h"
#include "tests/qt/section_picture_support.h"
#include "tests/qt/section_qt_support.h"
#include "tests/support/fixture_path.h"

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

int countIn(const DrawnFixture& f, int x0, int y0, int x1, int y1,
            bool (*is)(int r, int g, int b)) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const ui::Colour c = f.canvas.pixel(x, y);
      n += is(c & 255, (c >> 8) & 255, c >> 16);
    }
  return n;
}

// With IP values (17 pixels wide at 100 m) and curves: after a pan that
// leaves two points and the deep layers beyond the view nothing coloured
// lies outside the frame; in the full view the AB/2 label "10" (red) and
// the IP line (yellow) lie over the fills, the resistivity over the IP line.
TEST(SectionPictureTest, TheGroundStaysInTheFrameUnderTheAbHalfScaleAndTheIpLine) {
  for (const bool panned : {true, false}) {
    DrawnFixture f;
    ASSERT_TRUE(f.draw("profil5.vdb"));
    f.view->showIp = f.view->showCurves = true;
    if (panned) f.view->viewMinChainage = 60, f.view->viewMinElevation = 290;
    SectionPoint& pt = f.db->profiles[0].points[2];
    for (int m = 0; m < pt.Mermx; ++m) pt.ipValue[m][0] = 8.0f;
    paintSection(*f.db, *f.view, f.canvas, PictureScreen);
    const SectionLayout& l = f.view->layout;
    auto colourful = [](int r, int g, int b) {
      return std::max({r, g, b}) - std::min({r, g, b}) > 60;
    };
    if (panned) {
      EXPECT_EQ(countIn(f, 0, 0, 1600, 1000, colourful),
                countIn(f, l.frameLeft + 1, l.frameTop, l.frameRight, l.frameBottom, colourful));
      continue;
    }
    const int y10 =
        elevationToPixel(l, f.db->profiles[0].points[4].pointZ - l.curveMetresPerDecade);
    EXPECT_GT(countIn(f, l.frameRight - 3 * l.sectionTextWidth, y10 - 6, l.frameRight - 2, y10 + 6,
                      [](int r, int g, int b) { return r > 200 && g < 90 && b < 90; }),
              3);
    const int x = chainageToPixel(l, pt.profileChainage),
              middle = elevationToPixel(l, pt.pointZ - 16);
    EXPECT_GT(countIn(f, x + 6, middle - 20, x + 7, middle + 20,  // the third layer, blue
                      [](int r, int g, int b) { return r == 255 && g == 255 && b == 0; }),
              25);
    EXPECT_GT(
        countIn(f, x - 8, middle - 4, x + 9, middle + 4, [](int r, int, int) { return r < 90; }),
        5);
  }
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
