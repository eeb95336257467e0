// The IP road in the real curve window: an OAX file with decays opened with
// F11 shows its decay curves, the "VP" switches change the picture, F5 with
// two mouse clicks rescales one outlying decay curve, and a sounding without
// decays shows no IP.
#include <QAction>
#include <QTest>
#include <filesystem>

#include "app/shell.h"
#include "commands/curve/curve_rendering.h"
#include "qt/image_widget.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

constexpr QRgb Yellow = 0xFFFFFF00;

class CurveWindowIpTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    shell_ = std::make_unique<Shell>(&dialogs_, false);
    win().resize(1200, 800);
    win().show();
    QApplication::processEvents();
    dialogs_.clearRecords();
    s().sectionWindowShown = true;
  }
  // An OAX file with decays, or the KMT file of resistivity soundings.
  void open(const char* fixture, const char* item) {
    dialogs_.answer(orv_test::fixturePath(fixture));
    trigger(item);
    ASSERT_TRUE(s().compositeReady);
  }
  void openIpFile() { open("oax-pf2/pf2_100.OAX", "OtevtOAX1"); }
  QImage picture() { return win().image()->canvas().image(); }
  void TearDown() override {
    shell_.reset();
    StartFolderTest::TearDown();
  }
  Tulvakwin& win() { return *shell_->curve(); }
  orv::CurveWindowState& s() { return win().state(); }
  void trigger(const char* name) {
    QAction* a = win().action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  int pixelsOf(QRgb colour) {
    const QImage& image = win().image()->canvas().image();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) | 0xFF000000) == colour;
    return n;
  }
  std::unique_ptr<Shell> shell_;
};

// A resistivity-only sounding read after an IP file is drawn exactly as in
// a fresh window: no panel of zeros, no IP labels, no time texts. Accepting
// the offered window count before any IP file leaves the IP of the file
// that follows shown.
TEST_F(CurveWindowIpTest, OnlyASoundingWithDecaysShowsIp) {
  for (const char* offered : {"-10", "100", "150"}) dialogs_.answer(offered);
  trigger("poetokenprovynesenvybjeckivky1");
  open("lhota-pf1.kmt", "OtevtKMT1");
  const QImage fresh = picture();
  openIpFile();
  EXPECT_GT(pixelsOf(Yellow), 200);
  open("lhota-pf1.kmt", "OtevtKMT1");
  EXPECT_TRUE(picture() == fresh);
  EXPECT_TRUE(dialogs_.messages().empty());
}

TEST_F(CurveWindowIpTest, DecayCurvesShowAndTheSwitchesChangeThePicture) {
  openIpFile();
  // The file's timing gives eleven windows of 150 ms.
  EXPECT_EQ(11, s().ipWindowCount);
  EXPECT_GT(s().ipValue[0][0], 0.0f);
  EXPECT_GT(pixelsOf(Yellow), 200);
  QAction* decay = win().action("zobrazujnezobrazujvybjeckivky1");
  ASSERT_TRUE(decay->isChecked());
  trigger("zobrazujnezobrazujvybjeckivky1");
  EXPECT_FALSE(decay->isChecked());
  EXPECT_EQ(0, pixelsOf(Yellow));
  trigger("zobrazujnezobrazujvybjeckivky1");
  trigger("zobrazformouisolininebovybjeckivky1");
  EXPECT_TRUE(s().ipAsIsolines);
  EXPECT_EQ(0, pixelsOf(Yellow));
  // The last window's isoline in its own grey (0x00BBGGRR).
  const int grey = 0x808080 + 50 * 10;
  EXPECT_GT(pixelsOf(qRgb(grey & 0xFF, (grey >> 8) & 0xFF, (grey >> 16) & 0xFF)), 20);
  EXPECT_TRUE(dialogs_.messages().empty());
}

TEST_F(CurveWindowIpTest, OutlierEditWithTheMouseScalesOneCurve) {
  openIpFile();
  // A sounding read back from the section keeps the values it is given.
  s().fromSection = true;
  trigger("EditovatultlbodykivekokenVP1");
  ASSERT_TRUE(s().editIpOutlierMode);
  QWidget* img = win().image();
  const int row = orv::rowOfLogAbHalf(s(), s().readingLogAbHalf[10]);
  QTest::mouseMove(img, QPoint(s().marginLeft + 40, row));
  QApplication::processEvents();
  ASSERT_EQ(s().readingGridIndex[10], s().editGridIndex);
  const float second = s().ipValue[10][1] / s().ipValue[10][0];
  const int perCent = (s().imageWidth - s().marginLeft - s().marginRight) / s().ipMaxShown;
  QTest::mouseClick(img, Qt::LeftButton, Qt::NoModifier,
                    QPoint(s().marginLeft + 12 * perCent + perCent / 2, row));
  EXPECT_FLOAT_EQ(12.0f, s().ipValue[10][0]);
  EXPECT_NEAR(12.0f * second, s().ipValue[10][1], 1e-4);
  EXPECT_FALSE(s().editIpOutlierMode);
  EXPECT_EQ(-1, s().cursorX);
}

}  // namespace
